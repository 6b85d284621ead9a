// SPDX-License-Identifier: GPL-3.0-or-later

// The markbook readers under arbitrary bytes: the input as a delimited text,
// an XLSX and an ODS file, and as the XML parts by themselves ("sheet\0shared
// strings\0styles"; a part not given is the sheet's bytes again). Each sheet
// read keeps the limits and goes through the matching and the import into a
// small class, with their invariants checked. Built for libFuzzer with clang
// (-DTL_FUZZ=ON), and otherwise as a test that runs mutations of seed files.
#include <QByteArray>
#include <QList>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/class_document.h"
#include "import/mark_import.h"
#include "import/markbook_readers.h"

namespace {

using tl::MarkbookRead;

[[noreturn]] void broken() {
    __builtin_trap();
}

std::vector<tl::StudentRecord> fuzzClass() {
    std::vector<tl::StudentRecord> students(6);
    const char* const numbers[] = {"300039595", "300039596", "300-039-597", "300039597", "", "123"};
    for (std::size_t i = 0; i < students.size(); ++i) {
        students[i].lastName = "Name" + std::to_string(i);
        students[i].firstName = "Pat";
        students[i].studentNumber = numbers[i];
        students[i].mark = i % 2 == 0 ? "72" : "";
        students[i].skills.fill("3");
    }
    return students;
}

bool isMark(const std::string& mark) {
    if (mark == "I") return true;
    if (mark.empty() || mark.size() > 3 || (mark.size() > 1 && mark[0] == '0')) return false;
    for (const char c : mark)
        if (c < '0' || c > '9') return false;
    return std::stoi(mark) <= 100;
}

// What the teacher would see and import, for the columns chosen.
void importWith(const tl::MarkbookSheet& sheet, const tl::MarkbookColumns& columns) {
    static const std::vector<tl::StudentRecord> students = fuzzClass();
    const std::vector<tl::PreviewLine> lines = tl::previewImport(sheet, columns, students);
    // Every student once, in class order, then the rows of nobody.
    if (lines.size() < students.size()) broken();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const bool student = i < students.size();
        if (lines[i].student != (student ? static_cast<int>(i) : -1)) broken();
        if (student == (lines[i].kind == tl::PreviewLine::Kind::NotInClass)) broken();
    }
    const std::vector<bool> ticked(lines.size(), true);
    const std::vector<tl::MarkForStudent> marks = tl::marksToImport(lines, ticked);
    for (const tl::MarkForStudent& m : marks)
        if (!isMark(m.mark)) broken();
    if (tl::importSummary(lines, ticked).empty()) broken();
    // One edit, the same marks again change nothing, one undo takes it back.
    tl::ClassDocument doc;
    doc.replaceClass(students);
    doc.replaceRanges({{50, 100, {"0001", "0002", "0003"}, {"4", "4", "4", "4", "4", "4"}}});
    const tl::Edit edit = doc.importMarks(marks, true);
    if (edit.items.size() != marks.size() || doc.undoCount() != (marks.empty() ? 0 : 1)) broken();
    if (doc.importMarks(marks, true).scope != tl::Edit::Scope::None) broken();
    doc.undo();
    if (doc.students() != students) broken();
}

void check(const MarkbookRead& read) {
    if (read.refusal != tl::MarkbookRefusal::None) {
        if (!read.sheet.rows.empty()) broken();
        return;
    }
    const tl::MarkbookSheet& sheet = read.sheet;
    int last = 0;
    int widest = 0;
    for (const tl::MarkbookRow& row : sheet.rows) {
        if (row.number <= last || row.number > tl::kMarkbookMaxRows) broken();
        if (row.cells.empty() || row.cells.size() > tl::kMarkbookMaxColumns) broken();
        if (row.cells.back().text.empty()) broken();
        for (const tl::MarkbookCell& cell : row.cells)
            tl::cellDisplay(cell);
        last = row.number;
        widest = std::max(widest, static_cast<int>(row.cells.size()));
    }
    if (widest != sheet.columns) broken();
    if (tl::columnCaptions(sheet).size() != static_cast<std::size_t>(sheet.columns)) broken();
    importWith(sheet, tl::presetColumns(sheet, fuzzClass()));
    importWith(sheet, {sheet.columns - 1, 0, sheet.columns / 2});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    check(tl::readDelimited(bytes));
    check(tl::readMarkbook(bytes, tl::MarkbookFormat::Xlsx));
    check(tl::readMarkbook(bytes, tl::MarkbookFormat::Ods));
    const QList<QByteArray> parts = bytes.split('\0');
    const auto part = [&](int i) { return i < parts.size() ? parts[i] : parts[0]; };
    check(tl::readXlsxParts(part(0), part(1), part(2)));
    check(tl::readOdsContent(bytes));
    return 0;
}

#ifndef TL_LIBFUZZER
#include "mutation.h"

// Without libFuzzer: mutations of the seed files named on the command line.
int main(int argc, char** argv) {
    const std::string pieces[] = {"\"",
                                  ",",
                                  ";",
                                  "\t",
                                  "\n",
                                  "%",
                                  "<",
                                  "/>",
                                  "I",
                                  "0",
                                  ".5",
                                  "\r",
                                  "99",
                                  std::string(1, '\0'),
                                  "&amp;",
                                  " r=\"ZZ99\"",
                                  "<c r=\"GS2\"><v>1</v></c>",
                                  " table:number-columns-repeated=\"300\"",
                                  " table:number-rows-repeated=\"20000\""};
    return runMutatedSeeds(argc, argv, 20261209, 60000, 60, pieces, LLVMFuzzerTestOneInput);
}
#endif
