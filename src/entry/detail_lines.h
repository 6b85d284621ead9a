// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/phrase_library.h"
#include "core/student_record.h"
#include "entry/grid_columns.h"

// The detail panel below the class grid and the grid's cell texts, without Qt.
namespace tl {

struct DetailLines {
    std::array<std::string, 5> lines;
    std::string remainder;  // comment text left after the four wrapped lines
    bool tooLong = false;   // coded comments above the Trillium limit
};

// The five panel lines of a student; showCourse widens the name column.
DetailLines buildDetailLines(const StudentRecord& student, const std::vector<Phrase>& phrases,
                             bool showCourse);

// The Student ID column: characters 1-3, "-", 4-6, "-", the last three.
std::string studentIdCell(const std::string& studentNumber);

// The cell texts of a student's grid row.
std::array<std::string, grid::kColumnCount> gridRowTexts(const StudentRecord& student,
                                                         bool showCourse);

// What a cell of a student's row means, which a screen reader says after its
// text: a comment code's phrase as composed for the student, a rating's word,
// a flag's "yes" or "no"; "" where the text says it all or the cell is empty.
std::string cellMeaning(const StudentRecord& student, int col, const std::vector<Phrase>& phrases);

// The words shown in CM1 to CM5 while a free-form comment is in use.
inline constexpr const char* kFreeFormWords[5] = {"Free", "Form", "Code", "Click", "Below"};

}  // namespace tl
