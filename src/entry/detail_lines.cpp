// SPDX-License-Identifier: GPL-3.0-or-later

#include "entry/detail_lines.h"

#include "core/comment_text.h"
#include "core/editing_rules.h"
#include "core/limits.h"
#include "core/text.h"

namespace tl {

std::string studentIdCell(const std::string& studentNumber) {
    return threePartNumber(studentNumber, "-");
}

DetailLines buildDetailLines(const StudentRecord& s, const std::vector<Phrase>& phrases,
                             bool showCourse) {
    DetailLines out;
    std::string text;
    if (!s.freeFormUsed) {
        const BracketedComments comments = bracketedComments(s, phrases);
        out.tooLong = exceedsCommentLimit(comments.length);
        text = comments.text;
    } else {
        text = s.freeFormText;
    }
    const WrappedText wrapped = wrapText(text, kDetailWidth);
    out.remainder = wrapped.remainder;
    const int w = showCourse ? 29 : 22;
    std::string skills;
    for (const std::string& skill : s.skills)
        skills += "  " + skill;
    if (showCourse) {
        out.lines[0] = padRight(s.studentNumber, 13) + padRight(s.classCode, 10) +
                       padRight("Mark", 6) + padRight(wrapped.lines[0], 75) + " Learning Skills";
        out.lines[1] = padRight(s.lastName, 25) + padRight(s.mark, 4) +
                       padRight(wrapped.lines[1], 75) + " RE OR IW CO IN SR";
        out.lines[3] =
            padRight("  ", 29) + padRight(wrapped.lines[3], 75) + " Interview : " + s.interview;
    } else {
        out.lines[0] = padRight(s.studentNumber, 16) + padRight("Mark", 6) +
                       padRight(wrapped.lines[0], 75) + " Learning Skills";
        out.lines[1] = padRight(s.lastName, 18) + padRight(s.mark, 4) +
                       padRight(wrapped.lines[1], 75) + " RE OR IW CO IN SR";
        out.lines[3] = padRight("  ", 22) + padRight(wrapped.lines[3], 75) +
                       " Interview Request: " + s.interview;
    }
    out.lines[2] = padRight(s.firstName, w) + padRight(wrapped.lines[2], 75) + skills;
    const std::string& r = out.remainder;
    const std::string f = r.size() >= 72 ? r.substr(0, 72) + " ..." : padRight(r, 75);
    out.lines[4] = padRight("  ", w) + f;
    return out;
}

std::array<std::string, grid::kColumnCount> gridRowTexts(const StudentRecord& s, bool showCourse) {
    std::array<std::string, grid::kColumnCount> cells;
    cells[grid::kStudentId] = studentIdCell(s.studentNumber);
    cells[grid::kLastName] = showCourse ? s.classCode + ": " + s.lastName : s.lastName;
    cells[grid::kFirstName] = s.firstName;
    cells[grid::kMark] = s.mark;
    for (int i = 0; i < grid::kCommentCount; ++i)
        cells[grid::kFirstComment + i] = s.freeFormUsed ? kFreeFormWords[i] : s.comments[i];
    for (int i = 0; i < grid::kSkillCount; ++i)
        cells[grid::kFirstSkill + i] = s.skills[i];
    for (int i = 0; i < grid::kFlagCount; ++i)
        cells[grid::kFirstFlag + i] = flagValue(s, static_cast<Flag>(i));
    return cells;
}

std::string cellMeaning(const StudentRecord& s, int col, const std::vector<Phrase>& phrases) {
    if (grid::isComment(col)) {
        const int slot = grid::commentSlot(col);
        if (s.freeFormUsed) return slot == 0 ? "free-form comment: " + s.freeFormText : "";
        if (s.comments[slot].empty()) return "";
        const std::string text = composeComments(s, phrases).texts[slot];
        return text.empty() ? "not in the phrase library" : std::string(trimBlanks(text));
    }
    if (grid::isSkill(col)) return skillWord(s.skills[grid::skillIndex(col)]);
    if (grid::isFlag(col)) return flagValue(s, grid::flagAt(col)) == "Y" ? "yes" : "no";
    return "";
}

}  // namespace tl
