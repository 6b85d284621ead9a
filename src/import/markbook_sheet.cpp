// SPDX-License-Identifier: GPL-3.0-or-later

#include "import/markbook_sheet.h"

#include <algorithm>
#include <array>

#include "core/messages.h"

namespace tl {

namespace {

const char* refusalReason(MarkbookRefusal refusal) {
    switch (refusal) {
        case MarkbookRefusal::None:
            return "";
        case MarkbookRefusal::Unreadable:
            return "the file cannot be read";
        case MarkbookRefusal::TooLarge:
            return "the file is larger than 20 MB";
        case MarkbookRefusal::TooManyRows:
            return "the sheet has more than 10000 rows";
        case MarkbookRefusal::TooManyColumns:
            return "the sheet has more than 200 columns";
        case MarkbookRefusal::PartTooLarge:
            return "a part of the file unpacks to more than 50 MB";
        case MarkbookRefusal::Compression:
            return "a part of the file is compressed more than 100 to 1";
        case MarkbookRefusal::Encrypted:
            return "the file is protected with a password; save it without one and import it "
                   "again";
        case MarkbookRefusal::Damaged:
            return "the file is damaged or is not a spreadsheet of its kind";
        case MarkbookRefusal::DocumentType:
            return "the file holds a document type declaration, which no spreadsheet holds";
        case MarkbookRefusal::NoMatch:
            return "no row of its first sheet holds the student number of a student of this "
                   "class";
    }
    return "";
}

// Reads one record after another from a delimited text. A record holds at
// most one field past the widest sheet: a later value stands in that field,
// so that the sheet is refused for it.
class DelimitedRecords {
  public:
    DelimitedRecords(std::string_view text, char delimiter) : text_(text), delimiter_(delimiter) {}

    bool next(std::vector<std::string>& fields) {
        if (at_ >= text_.size()) return false;
        fields.clear();
        std::string field;
        bool quoted = false;
        bool inQuotes = false;
        const auto endField = [&] {
            if (fields.size() <= static_cast<std::size_t>(kMarkbookMaxColumns)) {
                fields.push_back(std::move(field));
            } else if (!field.empty()) {
                fields.back() = std::move(field);
            }
            field.clear();
            quoted = false;
        };
        while (at_ < text_.size()) {
            const char c = text_[at_++];
            if (inQuotes) {
                if (c != '"') {
                    field += c;
                } else if (at_ < text_.size() && text_[at_] == '"') {
                    field += '"';
                    ++at_;
                } else {
                    inQuotes = false;
                }
            } else if (c == '"' && !quoted && field.find_first_not_of(' ') == std::string::npos) {
                // Blanks before an opening quote are no part of the field.
                field.clear();
                inQuotes = quoted = true;
            } else if (c == delimiter_) {
                endField();
            } else if (c == '\r' || c == '\n') {
                if (c == '\r' && at_ < text_.size() && text_[at_] == '\n') ++at_;
                break;
            } else {
                field += c;
            }
        }
        endField();
        return true;
    }

  private:
    std::string_view text_;
    char delimiter_;
    std::size_t at_ = 0;
};

bool isEmptyRecord(const std::vector<std::string>& fields) {
    return std::all_of(fields.begin(), fields.end(),
                       [](const std::string& f) { return f.empty(); });
}

// The delimiter that splits the first lines into the same number of fields,
// the most of them; failing that, the one that splits them most.
char chooseDelimiter(std::string_view text) {
    // On a tie the rarer delimiter wins: names hold commas.
    constexpr std::array<char, 3> kDelimiters = {'\t', ';', ','};
    constexpr int kLinesLooked = 20;
    char best = kDelimiters.back();
    std::size_t bestFields = 0;
    bool bestConsistent = false;
    for (const char delimiter : kDelimiters) {
        DelimitedRecords records(text, delimiter);
        std::vector<std::string> fields;
        std::size_t first = 0;
        std::size_t total = 0;
        bool consistent = true;
        for (int looked = 0; looked < kLinesLooked && records.next(fields);) {
            if (isEmptyRecord(fields)) continue;
            if (looked++ == 0) first = fields.size();
            consistent = consistent && fields.size() == first;
            total += fields.size();
        }
        consistent = consistent && first > 1;
        const std::size_t score = consistent ? first : total;
        if ((consistent && !bestConsistent) ||
            (consistent == bestConsistent && score > bestFields)) {
            best = delimiter;
            bestFields = score;
            bestConsistent = consistent;
        }
    }
    return best;
}

}  // namespace

Notice markbookRefusalNotice(const std::string& fileName, MarkbookRefusal refusal) {
    return msg::tl26MarksNotImported(fileName, refusalReason(refusal));
}

bool SheetBuilder::put(int row, int column, MarkbookCell cell) {
    if (refusal_ != MarkbookRefusal::None) return false;
    if (cell.text.empty() || row < 1 || column < 1) return true;
    if (row > kMarkbookMaxRows) refusal_ = MarkbookRefusal::TooManyRows;
    if (column > kMarkbookMaxColumns) refusal_ = MarkbookRefusal::TooManyColumns;
    if (refusal_ != MarkbookRefusal::None) return false;
    std::vector<MarkbookRow>& rows = sheet_.rows;
    auto at = rows.end();
    if (rows.empty() || rows.back().number < row) {
        at = rows.insert(rows.end(), MarkbookRow{row, {}});
    } else {
        at = std::lower_bound(rows.begin(), rows.end(), row,
                              [](const MarkbookRow& r, int n) { return r.number < n; });
        if (at->number != row) at = rows.insert(at, MarkbookRow{row, {}});
    }
    auto& cells = at->cells;
    if (cells.size() < static_cast<std::size_t>(column)) cells.resize(column);
    cells[column - 1] = std::move(cell);
    sheet_.columns = std::max(sheet_.columns, column);
    return true;
}

MarkbookRead SheetBuilder::finish() {
    if (refusal_ != MarkbookRefusal::None) return {{}, refusal_};
    return {std::move(sheet_), MarkbookRefusal::None};
}

MarkbookRead splitDelimitedText(std::string_view text) {
    DelimitedRecords records(text, chooseDelimiter(text));
    SheetBuilder sheet;
    std::vector<std::string> fields;
    for (int row = 1; records.next(fields); ++row) {
        for (std::size_t c = 0; c < fields.size(); ++c) {
            if (!sheet.put(row, static_cast<int>(c) + 1, {MarkbookCell::Kind::Text, fields[c]}))
                return sheet.finish();
        }
    }
    return sheet.finish();
}

std::string columnLetters(int column) {
    std::string letters;
    for (int n = column + 1; n > 0; n = (n - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % 26));
    return letters;
}

std::string plainNumber(const MarkbookCell& cell) {
    if (cell.kind == MarkbookCell::Kind::Text) return "";
    const std::string_view text = cell.text;
    std::size_t i = 0;
    const bool negative = i < text.size() && text[i] == '-';
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
    // The value is digits times ten to the power -scale.
    std::string digits;
    int scale = 0;
    bool point = false;
    for (; i < text.size() && ((text[i] >= '0' && text[i] <= '9') || (text[i] == '.' && !point));
         ++i) {
        if (text[i] == '.') {
            point = true;
        } else {
            digits += text[i];
            if (point) ++scale;
        }
    }
    if (digits.empty()) return "";
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        const bool down = i < text.size() && text[i] == '-';
        if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
        int exponent = 0;
        const std::size_t from = i;
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9' && exponent < 1000; ++i)
            exponent = exponent * 10 + (text[i] - '0');
        if (i == from) return "";
        scale += down ? exponent : -exponent;
    }
    if (i != text.size()) return "";
    if (cell.kind == MarkbookCell::Kind::Percent) scale -= 2;
    digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size()));
    constexpr std::size_t kShown = 15;
    if (digits.size() > kShown) {
        const bool up = digits[kShown] >= '5';
        scale -= static_cast<int>(digits.size() - kShown);
        digits.resize(kShown);
        for (std::size_t k = kShown; up && k-- > 0;) {
            if (digits[k] == '9') {
                digits[k] = '0';
                if (k == 0) digits.insert(digits.begin(), '1');
                continue;
            }
            ++digits[k];
            break;
        }
    }
    while (scale > 0 && !digits.empty() && digits.back() == '0') {
        digits.pop_back();
        --scale;
    }
    if (digits.empty()) return "0";
    // Numbers far from any mark or student number are not written out.
    const int whole = static_cast<int>(digits.size()) - scale;
    if (whole > 40 || scale > 40) return "";
    std::string out;
    if (scale <= 0) {
        out = digits + std::string(static_cast<std::size_t>(-scale), '0');
    } else if (whole <= 0) {
        out = "0." + std::string(static_cast<std::size_t>(-whole), '0') + digits;
    } else {
        out = digits.substr(0, static_cast<std::size_t>(whole)) + "." +
              digits.substr(static_cast<std::size_t>(whole));
    }
    return negative ? "-" + out : out;
}

std::string cellDisplay(const MarkbookCell& cell) {
    if (cell.kind == MarkbookCell::Kind::Text) return cell.text;
    const std::string number = plainNumber(cell);
    if (number.empty()) return cell.text;
    return cell.kind == MarkbookCell::Kind::Percent ? number + "%" : number;
}

}  // namespace tl
