// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/favourites_file.h"
#include "core/notice.h"

// The ranges table of the Initial Values Setup window, without Qt: the Enter
// Ranges answer and the range grid's cells. Grid row r (r >= 1) shows
// ranges[r - 1]; row 0 is the header.
namespace tl {

namespace rangegrid {

inline constexpr int kLow = 0;
inline constexpr int kHigh = 1;
inline constexpr int kFirstCode = 2;  // CM1 to CM3
inline constexpr int kCodeCount = 3;
inline constexpr int kFirstSkill = 5;  // RE, OR, IW, CO, IN, SR
inline constexpr int kSkillCount = 6;
inline constexpr int kColumnCount = 11;
inline constexpr int kFixedColumns = 2;  // Low and High

inline constexpr const char* kHeaders[kColumnCount] = {"Low", "High", "CM1", "CM2", "CM3", "R",
                                                       "O",   "W",    "C",   "I",   "S"};

// The columns as a screen reader names them.
inline constexpr const char* kSpokenHeaders[kColumnCount] = {
    "Low mark",      "High mark",      "Comment 1",      "Comment 2",
    "Comment 3",     "Responsibility", "Organization",   "Independent Work",
    "Collaboration", "Initiative",     "Self-regulation"};

// Column widths in pixels: 545 twips for the marks and codes, 290 for the skills.
constexpr int columnWidth(int col) {
    return col < kFirstSkill ? 36 : 19;
}
constexpr bool isCode(int col) {
    return col >= kFirstCode && col < kFirstCode + kCodeCount;
}
constexpr bool isSkill(int col) {
    return col >= kFirstSkill && col < kFirstSkill + kSkillCount;
}

}  // namespace rangegrid

// The cell texts of a range's grid row.
std::array<std::string, rangegrid::kColumnCount> rangeRowTexts(const InitialValueRange& range);

// Enter Ranges --------------------------------------------------------------

inline constexpr const char* kEnterRangesTitle = "Input Mark Ranges";
inline constexpr const char* kEnterRangesPrompt =
    "Please enter the ranges (low-high), separated by spaces.\r\n"
    "(Eg: 0-49 50-59 60-84, 85-100)\r\n"
    "Do not overlap ranges such as 50-60 60-70\r\n"
    "WARNING: This will delete all comment codes.";
inline constexpr int kMaxEnteredRanges = 50;

// The items of lstLearningSkills, the reference list of skill values.
inline constexpr const char* kSkillValueItems[4] = {"1    Needs Improvement", "2    Satisfactory\t",
                                                    "3    Good", "4    Excellent!"};

struct RangesParse {
    std::vector<InitialValueRange> ranges;  // the new table, highest low mark first
    Failure failure;                        // TL11 to TL14: the table stays as it is
};

// Reads the answer of the Enter Ranges input box. Ranges are "low-high",
// separated by blanks; a mark is read as a decimal number and rounded half to
// even. Each range gets no codes and the default skills of its marks. The
// ranges are empty after a failure and for an empty answer, which leaves the
// table as it is too.
RangesParse parseMarkRanges(std::string_view answer);

// The range grid's cells as a range's slots ---------------------------------

// The code slot (0 to 2) of a column, or -1 for any other column.
constexpr int rangeCodeSlot(int col) {
    return rangegrid::isCode(col) ? col - rangegrid::kFirstCode : -1;
}
// The skill (0 to 5) of a column, or -1 for any other column.
constexpr int rangeSkillIndex(int col) {
    return rangegrid::isSkill(col) ? col - rangegrid::kFirstSkill : -1;
}

}  // namespace tl
