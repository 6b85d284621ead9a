// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>

#include "core/class_document.h"
#include "core/editing_rules.h"

// The columns of the main window's class grid; row 0 is the header row and
// row r shows student r - 1.
namespace tl::grid {

inline constexpr int kStudentId = 0;
inline constexpr int kLastName = 1;  // with the class code while course codes are shown
inline constexpr int kFirstName = 2;
inline constexpr int kMark = 3;
inline constexpr int kFirstComment = 4;  // CM1 to CM5
inline constexpr int kCommentCount = 5;
inline constexpr int kFirstSkill = 9;  // RE, OR, IW, CO, IN, SR
inline constexpr int kSkillCount = 6;
inline constexpr int kFirstFlag = 15;  // IEP, ESL, ELD, interview
inline constexpr int kFlagCount = 4;
inline constexpr int kColumnCount = 19;
inline constexpr int kFrozenColumns = 3;  // the identity columns stay in view

inline constexpr const char* kHeaders[kColumnCount] = {
    "Student ID", "LAST", "FIRST", "MRK", "  CM1", "  CM2", "  CM3", "  CM4", "  CM5", " R",
    " O",         " W",   " C",    "  I", " S",    " P",    " E",    " D",    " T"};

// The columns as a screen reader names them.
inline constexpr const char* kSpokenHeaders[kColumnCount] = {"Student ID",
                                                             "Last name",
                                                             "First name",
                                                             "Mark",
                                                             "Comment 1",
                                                             "Comment 2",
                                                             "Comment 3",
                                                             "Comment 4",
                                                             "Comment 5",
                                                             "Responsibility",
                                                             "Organization",
                                                             "Independent Work",
                                                             "Collaboration",
                                                             "Initiative",
                                                             "Self-regulation",
                                                             "Individual Education Plan",
                                                             "English as a Second Language",
                                                             "English Literacy Development",
                                                             "Interview requested"};

// Column widths in pixels (15 twips each); the comments view hides the skills
// and flags, the skills view the comments.
constexpr int columnWidth(int col, bool skillsView) {
    constexpr int kIdentityWidths[kFirstComment] = {67, 133, 100, 31};  // 1005 to 465 twips
    if (col < kFirstComment) return kIdentityWidths[col];
    const bool comment = col < kFirstSkill;
    if (comment) return skillsView ? 0 : 35;  // 525 twips
    return skillsView ? 19 : 0;               // 290 twips
}

constexpr bool isComment(int col) {
    return col >= kFirstComment && col < kFirstComment + kCommentCount;
}
constexpr bool isSkill(int col) {
    return col >= kFirstSkill && col < kFirstSkill + kSkillCount;
}
constexpr bool isFlag(int col) {
    return col >= kFirstFlag && col < kFirstFlag + kFlagCount;
}
// The comment slot, skill or flag of a column of that kind.
constexpr int commentSlot(int col) {
    return col - kFirstComment;
}
constexpr int skillIndex(int col) {
    return col - kFirstSkill;
}
constexpr Flag flagAt(int col) {
    return static_cast<Flag>(col - kFirstFlag);
}
// The column that shows a field of a student (core/class_document.h), or -1:
// the fields from the mark to the flags stand in the grid's order.
constexpr int columnOf(int studentField) {
    return studentField >= 0 && studentField < field::kPronouns ? kMark + studentField : -1;
}
static_assert(columnOf(field::kFirstComment) == kFirstComment &&
              columnOf(field::kFirstSkill) == kFirstSkill &&
              columnOf(field::kFirstFlag) == kFirstFlag);

}  // namespace tl::grid
