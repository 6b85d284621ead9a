// SPDX-License-Identifier: GPL-3.0-or-later

#include "checks/class_advice.h"

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>
#include <utility>

#include "checks/class_problems.h"
#include "core/comment_text.h"
#include "core/pronouns.h"
#include "core/text.h"

namespace tl {

namespace {

// Students sharing their comments with this many others or more are told.
constexpr std::size_t kSameCommentsOthers = 3;
// Others named in the note before "and J more".
constexpr std::size_t kOthersNamed = 3;

// Windows-1252 letters and digits.
constexpr bool isWordByte(unsigned char c) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
    if (c >= 0xC0) return c != 0xD7 && c != 0xF7;
    return c == 0x8A || c == 0x8C || c == 0x8E || c == 0x9A || c == 0x9C || c == 0x9E || c == 0x9F;
}

// Calls found(word, position) for each run of letters and digits.
template <typename Found>
void forEachWord(std::string_view text, Found found) {
    std::size_t i = 0;
    while (i < text.size()) {
        if (!isWordByte(static_cast<unsigned char>(text[i]))) {
            ++i;
            continue;
        }
        const std::size_t from = i;
        while (i < text.size() && isWordByte(static_cast<unsigned char>(text[i])))
            ++i;
        found(text.substr(from, i - from), from);
    }
}

struct PronounWord {
    std::string_view word;
    PronounSet set;
};
constexpr std::array<PronounWord, 14> kPronounWords{{
    {"he", PronounSet::He},
    {"him", PronounSet::He},
    {"his", PronounSet::He},
    {"himself", PronounSet::He},
    {"she", PronounSet::She},
    {"her", PronounSet::She},
    {"hers", PronounSet::She},
    {"herself", PronounSet::She},
    {"they", PronounSet::They},
    {"them", PronounSet::They},
    {"their", PronounSet::They},
    {"theirs", PronounSet::They},
    {"themselves", PronounSet::They},
    {"themself", PronounSet::They},
}};
// The words "~" gives, set aside with the pronouns.
constexpr std::array<std::string_view, 3> kChildWords{"son", "daughter", "child"};

// The ASCII word lowered; "" for a word too long to be a pronoun.
std::string loweredShort(std::string_view word) {
    if (word.size() > 10) return "";
    std::string out(word);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

std::optional<PronounSet> pronounSetOf(std::string_view word) {
    const std::string lower = loweredShort(word);
    for (const PronounWord& p : kPronounWords)
        if (p.word == lower) return p.set;
    return std::nullopt;
}

bool isChildWord(std::string_view word) {
    const std::string lower = loweredShort(word);
    return std::find(kChildWords.begin(), kChildWords.end(), lower) != kChildWords.end();
}

// A free-form text with the student's own names as "$" (a name of several
// words as one) and every pronoun as "#".
std::string setAsideNamesAndPronouns(std::string_view text, const StudentRecord& student) {
    std::vector<std::string> names;
    for (const std::string* name : {&student.firstName, &student.lastName})
        forEachWord(*name, [&](std::string_view word, std::size_t) {
            names.push_back(toUpperCp1252(word));
        });
    std::string out;
    std::size_t copied = 0;     // text copied into out up to here
    std::size_t afterName = 0;  // out's size after its last "$"
    bool named = false;
    forEachWord(text, [&](std::string_view word, std::size_t at) {
        out.append(text.substr(copied, at - copied));
        copied = at + word.size();
        if (std::find(names.begin(), names.end(), toUpperCp1252(word)) != names.end()) {
            // "Van Oosten" or "Anna-Sofia" is one name, as "Ann" is.
            const bool joined =
                named && out.find_first_not_of(" -'", afterName) == std::string::npos;
            if (joined) {
                out.resize(afterName);
            } else {
                out += '$';
            }
            afterName = out.size();
            named = true;
        } else if (pronounSetOf(word) || isChildWord(word)) {
            out += '#';
        } else {
            out.append(word);
        }
    });
    out.append(text.substr(copied));
    return out;
}

// "free-form comment says "her"; the student's pronouns are they/them", or "".
std::string pronounNote(const StudentRecord& student) {
    if (!student.freeFormUsed) return "";
    const PronounSet own = pronounsOf(student);
    std::string note;
    forEachWord(student.freeFormText, [&](std::string_view word, std::size_t) {
        if (!note.empty()) return;
        const std::optional<PronounSet> set = pronounSetOf(word);
        if (!set || *set == own) return;
        static constexpr std::array<const char*, 3> kPairs{"he/him", "she/her", "they/them"};
        note = "free-form comment says \"" + std::string(word) + "\"; the student's pronouns are " +
               kPairs[static_cast<std::size_t>(own)];
    });
    return note;
}

bool isNextStep(const std::string& code, const std::vector<Phrase>& phrases) {
    const int position = findPhrase(phrases, code);
    return position >= 0 &&
           phrases[static_cast<std::size_t>(position)].category.find('&') != std::string::npos;
}

}  // namespace

std::string sameCommentsKey(const StudentRecord& student, const std::vector<Phrase>& phrases) {
    if (!student.freeFormUsed) return composeWithPlaceholders(student, phrases);
    if (trimBlanks(student.freeFormText).empty()) return "";
    return setAsideNamesAndPronouns(student.freeFormText, student);
}

ClassAdvice::ClassAdvice(const std::vector<StudentRecord>& students,
                         const std::vector<Phrase>& phrases) {
    keys_.reserve(students.size());
    for (std::size_t n = 0; n < students.size(); ++n) {
        keys_.push_back(sameCommentsKey(students[n], phrases));
        if (!keys_.back().empty()) sharing_[keys_.back()].push_back(static_cast<int>(n));
    }
    nextStepsInLibrary_ = std::any_of(phrases.begin(), phrases.end(), [](const Phrase& p) {
        return p.category.find('&') != std::string::npos;
    });
}

std::vector<int> ClassAdvice::commentsChanged(const std::vector<StudentRecord>& students,
                                              const std::vector<Phrase>& phrases,
                                              const std::vector<int>& changed) {
    std::vector<int> touched;
    // Everyone of a group that is, or was, large enough to be told.
    const auto told = [&touched](const std::vector<int>& group, std::size_t toldFrom) {
        if (group.size() >= toldFrom) touched.insert(touched.end(), group.begin(), group.end());
    };
    for (const int student : changed) {
        if (student < 0 || std::size_t(student) >= keys_.size() ||
            std::size_t(student) >= students.size())
            continue;
        touched.push_back(student);
        std::string key = sameCommentsKey(students[std::size_t(student)], phrases);
        std::string& old = keys_[std::size_t(student)];
        if (key == old) continue;
        if (!old.empty()) {
            const auto group = sharing_.find(old);
            std::vector<int>& members = group->second;
            told(members, kSameCommentsOthers + 1);
            members.erase(std::find(members.begin(), members.end(), student));
            if (members.empty()) sharing_.erase(group);
        }
        if (!key.empty()) {
            std::vector<int>& members = sharing_[key];
            members.insert(std::lower_bound(members.begin(), members.end(), student), student);
            told(members, kSameCommentsOthers + 1);
        }
        old = std::move(key);
    }
    std::sort(touched.begin(), touched.end());
    touched.erase(std::unique(touched.begin(), touched.end()), touched.end());
    return touched;
}

std::vector<AdviceNote> ClassAdvice::notesOf(const std::vector<StudentRecord>& students,
                                             const std::vector<Phrase>& phrases,
                                             int student) const {
    std::vector<AdviceNote> notes;
    const auto n = static_cast<std::size_t>(student);
    if (student < 0 || n >= students.size() || n >= keys_.size()) return notes;
    const StudentRecord& s = students[n];
    const auto add = [&](std::string text) {
        notes.push_back({student, problemcell::kFirstComment, std::move(text)});
    };
    if (!keys_[n].empty()) {
        const std::vector<int>& members = sharing_.at(keys_[n]);
        if (members.size() > kSameCommentsOthers) {
            std::string named;
            std::size_t listed = 0;
            for (const int other : members) {
                if (other == student || listed == kOthersNamed) continue;
                const StudentRecord& o = students[static_cast<std::size_t>(other)];
                named += (listed++ == 0 ? "" : ", ") + o.lastName + " " + o.firstName;
            }
            const std::size_t others = members.size() - 1;
            if (others > listed) named += " and " + std::to_string(others - listed) + " more";
            add("the same comments as " + std::to_string(others) + " other students (" + named +
                ")");
        }
    }
    if (std::string note = pronounNote(s); !note.empty()) add(std::move(note));
    if (nextStepsInLibrary_ && !s.freeFormUsed && !keys_[n].empty() &&
        std::none_of(s.comments.begin(), s.comments.end(),
                     [&](const std::string& code) { return isNextStep(code, phrases); }))
        add("no next-steps comment");
    return notes;
}

std::vector<AdviceNote> classAdvice(const std::vector<StudentRecord>& students,
                                    const std::vector<Phrase>& phrases) {
    const ClassAdvice advice(students, phrases);
    std::vector<AdviceNote> notes;
    for (int n = 0; n < static_cast<int>(students.size()); ++n) {
        for (AdviceNote& note : advice.notesOf(students, phrases, n))
            notes.push_back(std::move(note));
    }
    return notes;
}

std::string adviceLine(const std::vector<StudentRecord>& students, const AdviceNote& note) {
    const StudentRecord& s = students[static_cast<std::size_t>(note.student)];
    return s.lastName + " " + s.firstName + ": " + note.text;
}

std::string adviceCountText(const std::vector<AdviceNote>& notes) {
    if (notes.empty()) return "No advice.";
    std::size_t studentsWith = 0;
    for (std::size_t i = 0; i < notes.size(); ++i) {
        if (i == 0 || notes[i].student != notes[i - 1].student) ++studentsWith;
    }
    const auto counted = [](std::size_t n, const char* word) {
        return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
    };
    return counted(notes.size(), "note") + " for " + counted(studentsWith, "student");
}

}  // namespace tl
