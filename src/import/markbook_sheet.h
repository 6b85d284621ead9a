// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/notice.h"

// A markbook's first sheet as the readers give it, whatever the file's format.
namespace tl {

// What a markbook may be; anything larger is refused before it is read.
inline constexpr std::uint64_t kMarkbookMaxBytes = 20u * 1024 * 1024;
inline constexpr int kMarkbookMaxRows = 10000;
inline constexpr int kMarkbookMaxColumns = 200;
// A part of a zipped spreadsheet, unpacked, and how far it may be compressed.
inline constexpr std::uint64_t kMarkbookMaxPartBytes = 50u * 1024 * 1024;
inline constexpr std::uint64_t kMarkbookMaxRatio = 100;

struct MarkbookCell {
    enum class Kind {
        Text,     // what the cell shows
        Number,   // a spreadsheet number, as the file stores it ("78.5", "3.00039595E8")
        Percent,  // a number formatted as a percentage: a fraction (0.78 shows 78 %)
    };
    Kind kind = Kind::Text;
    std::string text;  // Windows-1252

    bool operator==(const MarkbookCell&) const = default;
};

struct MarkbookRow {
    int number = 0;                   // the sheet's row number, from 1
    std::vector<MarkbookCell> cells;  // from column A; a cell never filled is empty text
};

// The rows that hold anything, in order.
struct MarkbookSheet {
    std::vector<MarkbookRow> rows;
    int columns = 0;  // the widest row's cells
};

enum class MarkbookRefusal {
    None,
    Unreadable,      // the file cannot be opened
    TooLarge,        // over kMarkbookMaxBytes
    TooManyRows,     // a value below row kMarkbookMaxRows
    TooManyColumns,  // a value right of column kMarkbookMaxColumns
    PartTooLarge,    // a zipped part over kMarkbookMaxPartBytes unpacked
    Compression,     // a zipped part compressed more than kMarkbookMaxRatio to 1
    Encrypted,       // protected with a password
    Damaged,         // not a spreadsheet of its kind, or broken
    DocumentType,    // XML with a document type declaration
    NoMatch,         // no row holds a number of the class
};

// A reader's result: the sheet, or why the file is refused.
struct MarkbookRead {
    MarkbookSheet sheet;
    MarkbookRefusal refusal = MarkbookRefusal::None;
};

// The message of a refused markbook, named by its file name.
Notice markbookRefusalNotice(const std::string& fileName, MarkbookRefusal refusal);

// Collects the cells a reader finds, in any order of rows, and refuses a
// value beyond the sheet's limits. Empty cells are passed over.
class SheetBuilder {
  public:
    // Row and column from 1. False once the sheet is refused.
    bool put(int row, int column, MarkbookCell cell);
    MarkbookRefusal refusal() const { return refusal_; }
    // The sheet, or the refusal.
    MarkbookRead finish();

  private:
    MarkbookSheet sheet_;
    MarkbookRefusal refusal_ = MarkbookRefusal::None;
};

// A delimited text (CSV or TXT, already Windows-1252): comma, semicolon or tab,
// whichever splits the first lines consistently; fields in double quotes may
// hold the delimiter, line breaks and doubled quotes.
MarkbookRead splitDelimitedText(std::string_view text);

// A column's letters: 0 is "A", 26 is "AA".
std::string columnLetters(int column);

// A number cell's value as a plain decimal, to the 15 significant digits a
// spreadsheet shows ("3.00039595E8" is "300039595", 0.785 as a percentage
// "78.5"); "" for a text cell or a value that is no number.
std::string plainNumber(const MarkbookCell& cell);

// What the preview's table shows of a cell: a percentage as the sheet shows it.
std::string cellDisplay(const MarkbookCell& cell);

}  // namespace tl
