// SPDX-License-Identifier: GPL-3.0-or-later

#include "import/mark_import.h"

#include "core/test_support.h"
#include "import/markbook_sheet.h"

namespace tl::test {
namespace {

std::string rowsText(const MarkbookRead& read) {
    if (read.refusal != MarkbookRefusal::None)
        return "refused " + std::to_string(static_cast<int>(read.refusal));
    std::string out;
    for (const MarkbookRow& row : read.sheet.rows) {
        std::vector<std::string> cells;
        for (const MarkbookCell& cell : row.cells)
            cells.push_back(cell.text);
        out += (out.empty() ? "" : " / ") + std::to_string(row.number) + ":" + joined(cells);
    }
    return out;
}

TEST(MarkImport, CellsAsMarksNumbersAndNames) {
    forEachRow("markbook_cells.tsv", [](const TableRow& row) {
        using Kind = MarkbookCell::Kind;
        const MarkbookCell cell{row["kind"] == "text"     ? Kind::Text
                                : row["kind"] == "number" ? Kind::Number
                                                          : Kind::Percent,
                                row["text"]};
        const std::string& routine = row["routine"];
        std::string got;
        if (routine == "mark") got = markOfCell(cell).value_or("-");
        if (routine == "digits") got = numberDigits(cell);
        if (routine == "digits" && got.empty()) got = "-";
        if (routine == "display") got = cellDisplay(cell);
        if (routine == "names") {
            const std::vector<std::string> names = row.parts("student");
            StudentRecord s = makeStudent("ENG", names.at(0), names.at(1));
            got = namesAgree(cell.text, s) ? "yes" : "no";
        }
        EXPECT_EQ(got, row["expected"]);
    });
}

TEST(MarkImport, DelimitedTextSplitsIntoRowsWithinTheLimits) {
    forEachRow("markbook_text.tsv", [](const TableRow& row) {
        EXPECT_EQ(rowsText(splitDelimitedText(row["text"])), row["rows"]);
    });
    // A value in column 201 or row 10001 refuses the sheet; blanks there do not.
    const std::string wide = repeated(",", kMarkbookMaxColumns);
    EXPECT_EQ(splitDelimitedText(wide + "\n").refusal, MarkbookRefusal::None);
    EXPECT_EQ(splitDelimitedText(wide + "x\n").refusal, MarkbookRefusal::TooManyColumns);
    const std::string tall = repeated("1\n", kMarkbookMaxRows);
    EXPECT_EQ(splitDelimitedText(tall + "\n\n").sheet.rows.size(), 10000u);
    EXPECT_EQ(splitDelimitedText(tall + "1").refusal, MarkbookRefusal::TooManyRows);
    EXPECT_EQ(columnLetters(0) + columnLetters(25) + columnLetters(26) + columnLetters(199),
              "AZAAGR");
}

TEST(MarkImport, ThePreviewShowsEveryStudentAndEveryRowOfNobody) {
    std::vector<StudentRecord> students;
    const char* const names[][3] = {{"Tremblay", "Tess", "72"}, {"Roy", "\xC9lodie", ""},
                                    {"O'Neil", "Sam", "79"},    {"Lee", "Kim", "60"},
                                    {"Nguyen", "An", ""},       {"Singh", "Ravi", "55"}};
    for (int i = 0; i < 6; ++i) {
        students.push_back(
            makeStudent("ENG2D1-01", names[i][0], names[i][1], std::to_string(300039595 + i)));
        students.back().mark = names[i][2];
    }
    forEachRow("markbook_preview.tsv", [&](const TableRow& row) {
        const MarkbookSheet sheet = splitDelimitedText(row["sheet"]).sheet;
        const MarkbookColumns preset = presetColumns(sheet, students);
        EXPECT_EQ(std::to_string(preset.number) + " " + std::to_string(preset.mark) + " " +
                      std::to_string(preset.name),
                  row["preset"]);
        MarkbookColumns columns = preset;
        if (row["columns"] != "preset") {
            const std::vector<std::string> chosen = row.parts("columns", ' ');
            columns = {std::stoi(chosen.at(0)), std::stoi(chosen.at(1)), std::stoi(chosen.at(2))};
        }
        const std::vector<PreviewLine> lines = previewImport(sheet, columns, students);
        std::vector<bool> ticked(lines.size(), false);
        for (const std::string& at : row.parts("ticked", ' '))
            ticked.at(std::stoul(at)) = true;
        std::string shown, marks;
        for (const PreviewLine& line : lines)
            shown += (shown.empty() ? "" : " / ") + line.text +
                     (line.arrowTo.empty() ? "" : " -> " + line.arrowTo);
        for (const MarkForStudent& m : marksToImport(lines, ticked))
            marks += (marks.empty() ? "" : " ") + std::to_string(m.student) + ":" + m.mark;
        EXPECT_EQ(shown, row["lines"]);
        EXPECT_EQ(importSummary(lines, ticked), row["summary"]);
        EXPECT_EQ(marks, row["marks"]);
    });
}

}  // namespace
}  // namespace tl::test
