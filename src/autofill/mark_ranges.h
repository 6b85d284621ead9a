// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/favourites_file.h"
#include "core/notice.h"
#include "core/undo.h"

// The ranges table of the Initial Values Setup window, without Qt: the Enter
// Ranges answer, Split and Delete, the range grid's cells and edits with their
// undo. Grid row r (r >= 1) shows ranges[r - 1]; row 0 is the header.
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

// Split Range and Delete Range ----------------------------------------------

struct RangeEdit {
    bool changed = false;  // the table changed: redraw the grid and empty the undo stack
    int detailsRow = 0;    // the row whose details to show; 0 for none
};

// Splits the range of the row into an upper half, which keeps the row, and a
// lower half in the row below; both keep the codes and skills. A range of one
// mark, or a table of 100 ranges, is left as it is.
RangeEdit splitRange(std::vector<InitialValueRange>& ranges, int row);

// Merges the range of the row into the range below, which keeps its codes and
// skills, takes the deleted range's high mark and moves up into the row. The
// last row, and the only range, are left as they are.
RangeEdit deleteRange(std::vector<InitialValueRange>& ranges, int row);

// Code stamps and skill clicks, with their undo -----------------------------

struct RangeUndoEntry {
    int row = 0;
    InitialValueRange range;  // as it was before the edit
};

using RangeUndoStack = BoundedUndo<RangeUndoEntry>;

// A left click with a code to stamp (a picked code or the selected list
// entry's, four blanks for "no comment") on a code cell: the range goes on the
// undo stack, then the code is stamped as into a student's slots. False when
// the cell is not a code cell of a range or there is no code.
bool stampRangeCode(std::vector<InitialValueRange>& ranges, RangeUndoStack& undo, int row, int col,
                    const std::string& code);

enum class SkillClick { Left, Right, Other };

// A click on a skill cell: the range goes on the undo stack, then the left and
// right buttons cycle the skill as in the class grid. Any other button only
// makes a value other than "1" to "4" a "3". False when the cell is not a
// skill cell of a range.
bool clickRangeSkill(std::vector<InitialValueRange>& ranges, RangeUndoStack& undo, int row, int col,
                     SkillClick button);

// A key that sets a skill cell to value ("1" to "4") directly: the range goes
// on the undo stack, then the skill takes the value. False when the cell is not
// a skill cell of a range or the value is no rating.
bool setRangeSkill(std::vector<InitialValueRange>& ranges, RangeUndoStack& undo, int row, int col,
                   const std::string& value);

// Takes back the newest edit: the codes and skills of its range as they were.
// Returns the row restored, or 0 when there was nothing to undo.
int undoRangeEdit(std::vector<InitialValueRange>& ranges, RangeUndoStack& undo);

}  // namespace tl
