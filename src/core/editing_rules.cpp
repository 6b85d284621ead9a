// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/editing_rules.h"

#include <algorithm>

#include "core/comment_text.h"
#include "core/messages.h"
#include "core/text.h"

namespace tl {

std::string nextSkillValue(const std::string& value, bool leftButton) {
    int d = 3;
    if (value.size() == 1 && value[0] >= '1' && value[0] <= '4') d = value[0] - '0';
    if (leftButton) return value == "1" ? "4" : std::to_string((d - 1) & 3);
    return std::to_string((d & 3) + 1);
}

void cycleSkill(std::array<std::string, 6>& skills, std::size_t index, bool leftButton) {
    skills.at(index) = nextSkillValue(skills.at(index), leftButton);
}

std::string skillValueForKey(char key) {
    if (key >= '1' && key <= '4') return std::string(1, key);
    switch (key) {
        case 'N':
        case 'n':
            return "1";
        case 'S':
        case 's':
            return "2";
        case 'G':
        case 'g':
            return "3";
        case 'E':
        case 'e':
            return "4";
        default:
            return "";
    }
}

bool isSkillValue(const std::string& value) {
    return value.size() == 1 && value[0] >= '1' && value[0] <= '4';
}

std::string skillWord(const std::string& value) {
    static constexpr const char* kWords[4] = {"Needs Improvement", "Satisfactory", "Good",
                                              "Excellent"};
    return isSkillValue(value) ? kWords[value[0] - '1'] : "";
}

bool skillsAllThree(const std::array<std::string, 6>& skills) {
    return std::all_of(skills.begin(), skills.end(), [](const std::string& s) { return s == "3"; });
}

double markValue(const std::string& mark) {
    return leadingNumber(mark);
}

int findAutoFillRange(const std::vector<InitialValueRange>& ranges, const std::string& mark) {
    const double m = markValue(mark);
    for (std::size_t k = 0; k < ranges.size(); ++k) {
        if (ranges[k].lowMark <= m && m <= ranges[k].highMark) return static_cast<int>(k);
    }
    return -1;
}

AutoFillChange autoFillStudent(StudentRecord& student,
                               const std::vector<InitialValueRange>& ranges) {
    AutoFillChange change;
    const int k = findAutoFillRange(ranges, student.mark);
    if (k < 0) return change;
    const InitialValueRange& range = ranges[k];
    // A free-form student's slots show words, so they are not vacant.
    const bool vacant = !student.freeFormUsed &&
                        std::all_of(student.comments.begin(), student.comments.begin() + 3,
                                    [](const std::string& code) { return isVacantSlot(code); });
    if (vacant) {
        std::copy(range.codes.begin(), range.codes.end(), student.comments.begin());
        change.comments = true;
    }
    if (skillsAllThree(student.skills)) {
        student.skills = range.skills;
        change.skills = true;
    }
    return change;
}

void stampCode(std::span<std::string> slots, std::size_t slot, const std::string& code) {
    if (code != kSeparatorEntry) {
        for (std::size_t k = 0; k < slots.size(); ++k) {
            if (k != slot && slots[k] == code) slots[k].clear();
        }
    }
    slots[slot] = code;
}

PickUp pickUpCode(const std::string& slotCode, const std::vector<std::string>& favourites) {
    if (isEmptyCode(slotCode)) return PickUp{};
    const auto found = std::find(favourites.begin(), favourites.end(), slotCode);
    if (found != favourites.end()) {
        return PickUp{PickUp::Kind::Favourite, static_cast<int>(found - favourites.begin()),
                      slotCode};
    }
    return PickUp{PickUp::Kind::Picked, -1, slotCode};
}

TypedCode typedCommentCode(std::string_view typed, const std::vector<Phrase>& phrases) {
    if (typed.empty()) return {};
    const bool digits = typed.size() <= 5 && std::all_of(typed.begin(), typed.end(), [](char c) {
                            return c >= '0' && c <= '9';
                        });
    std::string code(typed);
    if (digits && code.size() < 4) code.insert(0, 4 - code.size(), '0');
    if (!digits || findPhrase(phrases, code) < 0) return {"", msg::codeNotInLibrary(code)};
    return {code, {}};
}

namespace {
template <typename Record>
auto& flagField(Record& s, Flag flag) {
    switch (flag) {
        case Flag::Iep:
            return s.iep;
        case Flag::Esl:
            return s.esl;
        case Flag::Eld:
            return s.eld;
        case Flag::Interview:
            break;
    }
    return s.interview;
}

// Trillium takes at most one of ESL and ELD.
void clearOtherLanguage(StudentRecord& s, Flag flag) {
    if (flag == Flag::Esl) s.eld.clear();
    if (flag == Flag::Eld) s.esl.clear();
}
}  // namespace

const std::string& flagValue(const StudentRecord& student, Flag flag) {
    return flagField(student, flag);
}

void toggleFlag(StudentRecord& student, Flag flag) {
    std::string& value = flagField(student, flag);
    value = value.empty() ? "Y" : "";
    clearOtherLanguage(student, flag);
}

void setFlagForAll(std::vector<StudentRecord>& students, Flag flag, bool on) {
    for (StudentRecord& s : students) {
        flagField(s, flag) = on ? "Y" : "";
        clearOtherLanguage(s, flag);
    }
}

std::string freeFormOriginal(const StudentRecord& student, const std::vector<Phrase>& phrases) {
    if (student.freeFormUsed) return student.freeFormText;
    std::string text;
    for (const std::string& part : composeComments(student, phrases).texts)
        text += part;
    return text;
}

FreeFormOutcome applyFreeFormDraft(StudentRecord& student, std::string_view draft,
                                   std::string_view original) {
    const std::string_view trimmed = trimBlanks(draft);
    const std::string taken(trimBlanks(sanitizeFreeForm(draft)));
    // A draft of nothing but blanks or line breaks returns to the coded comments.
    if (trimmed.empty() || taken.empty()) {
        student.freeFormUsed = false;
        student.freeFormText.clear();
        return FreeFormOutcome::Restored;
    }
    if (trimmed == trimBlanks(original)) return FreeFormOutcome::Unchanged;
    student.freeFormUsed = true;
    student.freeFormText = taken;
    return FreeFormOutcome::Replaced;
}

}  // namespace tl
