// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/class_document.h"
#include "core/student_record.h"
#include "import/markbook_sheet.h"

// Marks from a markbook: which row is which student, what a cell's mark is,
// and every change shown before it is made.
namespace tl {

// The mark a cell holds: a number from 0 to 100 rounded half up to a whole
// number ("78.5", "78%", "78,00 %", a percentage cell's 0.785), or "I" for
// "I" and "i"; nothing for anything else.
std::optional<std::string> markOfCell(const MarkbookCell& cell);

// The digits of a student number ("300-039-595" and the number 300039595.0
// give "300039595").
std::string numberDigits(const MarkbookCell& cell);

// True when the file's name is the student's, letter case, accents, blanks,
// hyphens and apostrophes aside: "Last, First" (also when the last name holds
// a comma), the last name alone, or both names in either order. A blank name
// says nothing against the student.
bool namesAgree(std::string_view fileName, const StudentRecord& student);

// The columns chosen (from 0), or -1 for none.
struct MarkbookColumns {
    int number = -1;
    int mark = -1;
    int name = -1;
    bool operator==(const MarkbookColumns&) const = default;
};

// The row of column headings (an index into sheet.rows), or -1: the first of
// the first rows with a heading for the student number or the mark.
int headingRow(const MarkbookSheet& sheet);

// The columns as the drop-downs offer them: letters and heading ("C: Final").
std::vector<std::string> columnCaptions(const MarkbookSheet& sheet);

// The columns preset from the headings ("student number", "final", "name",
// ...), else from the values: the column whose numbers match most of the
// class's, the column that holds the most marks.
MarkbookColumns presetColumns(const MarkbookSheet& sheet,
                              const std::vector<StudentRecord>& students);

// One line of the preview.
struct PreviewLine {
    enum class Kind {
        Change,       // the file's mark replaces the student's
        Stays,        // the file holds the mark the student has
        NotInFile,    // no row holds the student's number
        NotAMark,     // the row's mark cell holds something else
        NameDiffers,  // imported only when the teacher ticks the line
        Twice,        // more than one row holds the number: not imported
        NotInClass,   // a row whose number is no student's
    };
    Kind kind = Kind::Change;
    int student = -1;     // the class's student, or -1 for a row
    std::string mark;     // the file's mark for a change or a name that differs
    std::string text;     // what the line says, up to an arrow
    std::string arrowTo;  // after the arrow: the new mark of a change
};

// Every class student's line in class order, then a line for each row that is
// no student's, in file order.
std::vector<PreviewLine> previewImport(const MarkbookSheet& sheet, const MarkbookColumns& columns,
                                       const std::vector<StudentRecord>& students);

// The marks to set: the changes, and the name-differs lines ticked (ticked
// holds one entry per line).
std::vector<MarkForStudent> marksToImport(const std::vector<PreviewLine>& lines,
                                          const std::vector<bool>& ticked);

// "23 marks will change, 5 stay the same, 2 students not in the file, 1 row
// not in the class.", with what else the lines hold.
std::string importSummary(const std::vector<PreviewLine>& lines, const std::vector<bool>& ticked);

}  // namespace tl
