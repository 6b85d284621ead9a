// SPDX-License-Identifier: GPL-3.0-or-later

#include "import/mark_import.h"

#include <algorithm>
#include <array>
#include <map>
#include <unordered_map>
#include <unordered_set>

#include "core/text.h"

namespace tl {

namespace {

using Kind = PreviewLine::Kind;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\xA0';
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// A character as names and headings are compared: a letter in lower case and
// without its accent; "" for blanks, hyphens and apostrophes.
std::string folded(char c) {
    // 0xC0 to 0xFF.
    static constexpr std::array<std::string_view, 64> kLatin = {
        "a", "a", "a", "a", "a", "a", "ae", "c",    "e", "e", "e", "e", "i", "i", "i",  "i",
        "d", "n", "o", "o", "o", "o", "o",  "\xD7", "o", "u", "u", "u", "u", "y", "th", "ss",
        "a", "a", "a", "a", "a", "a", "ae", "c",    "e", "e", "e", "e", "i", "i", "i",  "i",
        "d", "n", "o", "o", "o", "o", "o",  "\xF7", "o", "u", "u", "u", "u", "y", "th", "y"};
    const auto u = static_cast<unsigned char>(c);
    switch (u) {
        case ' ':
        case '\t':
        case '-':
        case '\'':
        case 0x91:  // quotation marks that stand for apostrophes
        case 0x92:
        case 0x96:  // en dash
        case 0xA0:  // no-break space
            return "";
        case 0x8A:
        case 0x9A:
            return "s";
        case 0x8C:
        case 0x9C:
            return "oe";
        case 0x8E:
        case 0x9E:
            return "z";
        case 0x9F:
            return "y";
        default:
            break;
    }
    if (u >= 0xC0) return std::string(kLatin[u - 0xC0]);
    if (c >= 'A' && c <= 'Z') return std::string(1, static_cast<char>(c - 'A' + 'a'));
    return std::string(1, c);
}

std::string foldName(std::string_view name) {
    std::string out;
    for (const char c : name)
        out += folded(c);
    return out;
}

// A mark from a plain decimal ("78.5"): 0 to 100, rounded half up.
std::optional<std::string> markOfDecimal(const std::string& number) {
    if (number.empty() || number.front() == '-') return std::nullopt;
    const std::size_t point = number.find('.');
    const std::string whole = number.substr(0, point);
    const std::string fraction = point == std::string::npos ? "" : number.substr(point + 1);
    if (whole.size() > 3) return std::nullopt;
    int value = std::stoi(whole);
    // Trailing zeros are gone: any fraction is more than none.
    if (value > 100 || (value == 100 && !fraction.empty())) return std::nullopt;
    if (!fraction.empty() && fraction.front() >= '5') ++value;
    return std::to_string(value);
}

// A heading in words: lower case, without accents, "#" as the word
// "number", anything else but letters, digits and "%" as blanks, between
// blanks (" student no ").
std::string headingWords(std::string_view text) {
    std::string out = " ";
    for (const char c : text) {
        const std::string f = c == '#' ? " number " : folded(c);
        const bool kept = !f.empty() && ((f[0] >= 'a' && f[0] <= 'z') || isDigit(c) || c == '%');
        if (c == '#') {
            out += out.back() == ' ' ? f.substr(1) : f;
        } else if (kept) {
            out += f;
        } else if (out.back() != ' ') {
            out += ' ';
        }
    }
    if (out.back() != ' ') out += ' ';
    return out;
}

// A heading names a column when it holds the keyword's words, the last of
// them also in the plural ("Marks").
bool headingHas(const std::string& words, std::string_view keyword) {
    if (keyword == "%") return words.find('%') != std::string::npos;
    const std::string sought = " " + std::string(keyword);
    return words.find(sought + " ") != std::string::npos ||
           words.find(sought + "s ") != std::string::npos;
}

constexpr std::array<std::string_view, 6> kNumberHeadings = {
    "student number", "student no", "student id", "number", "oen", "id"};
constexpr std::array<std::string_view, 6> kMarkHeadings = {"final", "mark",  "report",
                                                           "term",  "grade", "%"};
constexpr std::array<std::string_view, 3> kNameHeadings = {"name", "last", "surname"};

const MarkbookCell* cellAt(const MarkbookRow& row, int column) {
    if (column < 0 || static_cast<std::size_t>(column) >= row.cells.size()) return nullptr;
    return &row.cells[static_cast<std::size_t>(column)];
}

std::string cellText(const MarkbookRow& row, int column) {
    const MarkbookCell* cell = cellAt(row, column);
    return cell ? std::string(trimmed(cellDisplay(*cell))) : std::string();
}

// The words of a cell that may be a heading: text that is neither a mark nor
// a student number; "" otherwise.
std::string headingOf(const MarkbookRow& row, int column) {
    const MarkbookCell* cell = cellAt(row, column);
    if (!cell || cell->kind != MarkbookCell::Kind::Text || markOfCell(*cell) ||
        numberDigits(*cell).size() > 4) {
        return "";
    }
    return headingWords(cell->text);
}

// The first column whose heading holds the first keyword that any holds.
template <std::size_t N>
int columnByHeading(const MarkbookSheet& sheet, int heading,
                    const std::array<std::string_view, N>& keywords,
                    std::initializer_list<int> taken, bool forName = false) {
    if (heading < 0) return -1;
    const MarkbookRow& row = sheet.rows[static_cast<std::size_t>(heading)];
    for (const std::string_view keyword : keywords) {
        for (int c = 0; c < static_cast<int>(row.cells.size()); ++c) {
            if (std::find(taken.begin(), taken.end(), c) != taken.end()) continue;
            const std::string words = headingOf(row, c);
            // A first name alone is no name to check against.
            const bool firstOnly = (headingHas(words, "first") || headingHas(words, "given")) &&
                                   !headingHas(words, "last") && !headingHas(words, "surname");
            if (forName && firstOnly) continue;
            if (headingHas(words, keyword)) return c;
        }
    }
    return -1;
}

std::string classDigits(const StudentRecord& student) {
    std::string digits;
    for (const char c : student.studentNumber)
        if (isDigit(c)) digits += c;
    return digits;
}

// How many of the class's students a column's numbers name; classNumbers
// counts the students of each number.
int studentsNamed(const MarkbookSheet& sheet, int heading, int column,
                  const std::unordered_map<std::string, int>& classNumbers) {
    std::unordered_set<std::string> seen;
    int named = 0;
    for (std::size_t r = static_cast<std::size_t>(heading + 1); r < sheet.rows.size(); ++r) {
        const MarkbookCell* cell = cellAt(sheet.rows[r], column);
        if (cell == nullptr) continue;
        std::string digits = numberDigits(*cell);
        const auto found = classNumbers.find(digits);
        if (found != classNumbers.end() && seen.insert(std::move(digits)).second)
            named += found->second;
    }
    return named;
}

// A name from the file as the class's lines show names: "Last, First" as
// "Last First".
std::string shownName(const std::string& name) {
    const std::size_t comma = name.find(',');
    if (comma == std::string::npos) return name;
    const std::string_view first = trimmed(std::string_view(name).substr(comma + 1));
    const std::string last(trimmed(std::string_view(name).substr(0, comma)));
    return first.empty() ? last : last + " " + std::string(first);
}

std::string who(const StudentRecord& student) {
    return student.lastName + " " + student.firstName;
}

std::string rowList(const std::vector<int>& rows) {
    std::string out;
    for (std::size_t k = 0; k < rows.size(); ++k) {
        if (k > 0) out += k + 1 == rows.size() ? " and " : ", ";
        out += std::to_string(rows[k]);
    }
    return out;
}

std::string counted(int n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

std::optional<std::string> markOfCell(const MarkbookCell& cell) {
    if (cell.kind != MarkbookCell::Kind::Text) return markOfDecimal(plainNumber(cell));
    std::string_view text = trimmed(cell.text);
    if (text == "I" || text == "i") return "I";
    if (text.ends_with('%')) text = trimmed(text.substr(0, text.size() - 1));
    // Digits with one decimal point or comma, nothing else.
    std::string number;
    bool separator = false;
    for (const char c : text) {
        if (isDigit(c)) {
            number += c;
        } else if ((c == '.' || c == ',') && !separator) {
            separator = true;
            number += '.';
        } else {
            return std::nullopt;
        }
    }
    if (number.find_first_of("0123456789") == std::string::npos) return std::nullopt;
    return markOfDecimal(plainNumber({MarkbookCell::Kind::Number, number}));
}

std::string numberDigits(const MarkbookCell& cell) {
    if (cell.kind != MarkbookCell::Kind::Text) {
        const std::string number = plainNumber({MarkbookCell::Kind::Number, cell.text});
        const bool whole =
            !number.empty() && number.find_first_not_of("0123456789") == std::string::npos;
        return whole ? number : std::string();
    }
    const std::string_view text = trimmed(cell.text);
    // A number written out with a decimal point and zeros ("300039595.0").
    const std::size_t point = text.find('.');
    if (point != std::string_view::npos && point > 0 && point + 1 < text.size() &&
        text.substr(0, point).find_first_not_of("0123456789") == std::string_view::npos &&
        text.substr(point + 1).find_first_not_of('0') == std::string_view::npos) {
        return std::string(text.substr(0, point));
    }
    std::string digits;
    for (const char c : text)
        if (isDigit(c)) digits += c;
    return digits;
}

bool namesAgree(std::string_view fileName, const StudentRecord& student) {
    const std::string last = foldName(student.lastName);
    const std::string first = foldName(student.firstName);
    const std::string name = foldName(fileName);
    if (name.empty() || name == last || name == last + first || name == first + last) return true;
    // "Last, First" at any comma, for a last name that holds one ("Smith, Jr.").
    for (std::size_t comma = fileName.find(','); comma != std::string_view::npos;
         comma = fileName.find(',', comma + 1)) {
        const std::string given = foldName(fileName.substr(comma + 1));
        if (foldName(fileName.substr(0, comma)) == last && (given.empty() || given == first))
            return true;
    }
    return false;
}

int headingRow(const MarkbookSheet& sheet) {
    constexpr std::size_t kRowsLooked = 20;
    int best = -1;
    int bestCount = 0;
    for (std::size_t r = 0; r < std::min(kRowsLooked, sheet.rows.size()); ++r) {
        int count = 0;
        for (int c = 0; c < static_cast<int>(sheet.rows[r].cells.size()); ++c) {
            const std::string words = headingOf(sheet.rows[r], c);
            const auto holds = [&words](std::string_view k) { return headingHas(words, k); };
            if (std::any_of(kNumberHeadings.begin(), kNumberHeadings.end(), holds) ||
                std::any_of(kMarkHeadings.begin(), kMarkHeadings.end(), holds)) {
                ++count;
            }
        }
        if (count > bestCount) {
            best = static_cast<int>(r);
            bestCount = count;
        }
    }
    return best;
}

std::vector<std::string> columnCaptions(const MarkbookSheet& sheet) {
    const int heading = headingRow(sheet);
    std::vector<std::string> captions;
    for (int c = 0; c < sheet.columns; ++c) {
        const std::string text =
            heading < 0 ? "" : cellText(sheet.rows[static_cast<std::size_t>(heading)], c);
        captions.push_back(columnLetters(c) + (text.empty() ? "" : ": " + text));
    }
    return captions;
}

MarkbookColumns presetColumns(const MarkbookSheet& sheet,
                              const std::vector<StudentRecord>& students) {
    const int heading = headingRow(sheet);
    std::unordered_map<std::string, int> classNumbers;
    for (const StudentRecord& s : students) {
        std::string digits = classDigits(s);
        if (!digits.empty()) ++classNumbers[std::move(digits)];
    }

    MarkbookColumns chosen;
    chosen.number = columnByHeading(sheet, heading, kNumberHeadings, {});
    if (chosen.number < 0 || studentsNamed(sheet, heading, chosen.number, classNumbers) == 0) {
        chosen.number = -1;
        int most = 0;
        for (int c = 0; c < sheet.columns; ++c) {
            const int named = studentsNamed(sheet, heading, c, classNumbers);
            if (named > most) {
                most = named;
                chosen.number = c;
            }
        }
    }
    chosen.mark = columnByHeading(sheet, heading, kMarkHeadings, {chosen.number});
    if (chosen.mark < 0) {
        // The column holding the most marks; the rightmost of equals, where
        // a markbook keeps its final mark.
        int most = 0;
        for (int c = 0; c < sheet.columns; ++c) {
            if (c == chosen.number) continue;
            int marks = 0;
            for (std::size_t r = static_cast<std::size_t>(heading + 1); r < sheet.rows.size();
                 ++r) {
                const MarkbookCell* cell = cellAt(sheet.rows[r], c);
                if (cell && markOfCell(*cell)) ++marks;
            }
            if (marks > 0 && marks >= most) {
                most = marks;
                chosen.mark = c;
            }
        }
    }
    chosen.name =
        columnByHeading(sheet, heading, kNameHeadings, {chosen.number, chosen.mark}, true);
    return chosen;
}

std::vector<PreviewLine> previewImport(const MarkbookSheet& sheet, const MarkbookColumns& columns,
                                       const std::vector<StudentRecord>& students) {
    const int heading = headingRow(sheet);
    // The rows of each number, from below the headings.
    std::map<std::string, std::vector<std::size_t>> rowsOf;
    std::vector<std::size_t> numbered;
    for (std::size_t r = static_cast<std::size_t>(heading + 1); r < sheet.rows.size(); ++r) {
        const MarkbookCell* cell = cellAt(sheet.rows[r], columns.number);
        const std::string digits = cell ? numberDigits(*cell) : std::string();
        if (digits.empty()) continue;
        rowsOf[digits].push_back(r);
        numbered.push_back(r);
    }
    std::vector<bool> matched(sheet.rows.size(), false);
    std::vector<PreviewLine> lines;
    for (std::size_t s = 0; s < students.size(); ++s) {
        const StudentRecord& student = students[s];
        PreviewLine line;
        line.student = static_cast<int>(s);
        line.text = who(student) + ": ";
        const std::string digits = classDigits(student);
        const auto found = digits.empty() ? rowsOf.end() : rowsOf.find(digits);
        if (found == rowsOf.end()) {
            line.kind = Kind::NotInFile;
            line.text += "not in the file";
            lines.push_back(std::move(line));
            continue;
        }
        std::vector<int> rowNumbers;
        for (const std::size_t r : found->second) {
            matched[r] = true;
            rowNumbers.push_back(sheet.rows[r].number);
        }
        if (rowNumbers.size() > 1) {
            line.kind = Kind::Twice;
            line.text += (rowNumbers.size() == 2 ? std::string("twice")
                                                 : std::to_string(rowNumbers.size()) + " times") +
                         " in the file, rows " + rowList(rowNumbers);
            lines.push_back(std::move(line));
            continue;
        }
        const MarkbookRow& row = sheet.rows[found->second.front()];
        const MarkbookCell* cell = cellAt(row, columns.mark);
        const std::optional<std::string> mark = cell ? markOfCell(*cell) : std::nullopt;
        const std::string name = cellText(row, columns.name);
        if (!mark) {
            const std::string shown = cellText(row, columns.mark);
            line.kind = Kind::NotAMark;
            line.text += shown.empty() ? "not a mark (blank)" : "not a mark \"" + shown + "\"";
        } else if (*mark == student.mark) {
            line.kind = Kind::Stays;
            line.text += "stays " + *mark;
        } else if (columns.name >= 0 && !namesAgree(name, student)) {
            line.kind = Kind::NameDiffers;
            line.mark = *mark;
            line.text += "name differs: " + shownName(name);
        } else {
            line.kind = Kind::Change;
            line.mark = *mark;
            line.text += student.mark.empty() ? "no mark" : student.mark;
            line.arrowTo = *mark;
        }
        lines.push_back(std::move(line));
    }
    for (const std::size_t r : numbered) {
        if (matched[r]) continue;
        const MarkbookRow& row = sheet.rows[r];
        const std::string digits =
            numberDigits(row.cells[static_cast<std::size_t>(columns.number)]);
        const std::string name = cellText(row, columns.name);
        PreviewLine line;
        line.kind = Kind::NotInClass;
        line.text =
            "not in the class: " +
            (digits.size() == 9 ? threePartNumber(digits, "-") : cellText(row, columns.number)) +
            (name.empty() ? "" : " " + shownName(name));
        lines.push_back(std::move(line));
    }
    return lines;
}

std::vector<MarkForStudent> marksToImport(const std::vector<PreviewLine>& lines,
                                          const std::vector<bool>& ticked) {
    std::vector<MarkForStudent> marks;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const PreviewLine& line = lines[i];
        const bool tickedLine = i < ticked.size() && ticked[i];
        if (line.kind == Kind::Change || (line.kind == Kind::NameDiffers && tickedLine))
            marks.push_back({line.student, line.mark});
    }
    return marks;
}

std::string importSummary(const std::vector<PreviewLine>& lines, const std::vector<bool>& ticked) {
    std::map<Kind, int> count;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        Kind kind = lines[i].kind;
        if (kind == Kind::NameDiffers && i < ticked.size() && ticked[i]) kind = Kind::Change;
        ++count[kind];
    }
    std::string text =
        counted(count[Kind::Change], "mark will change", "marks will change") + ", " +
        counted(count[Kind::Stays], "stays the same", "stay the same") + ", " +
        counted(count[Kind::NotInFile], "student not in the file", "students not in the file") +
        ", " + counted(count[Kind::NotInClass], "row not in the class", "rows not in the class");
    if (count[Kind::NotAMark] > 0)
        text += ", " + counted(count[Kind::NotAMark], "cell not a mark", "cells not marks");
    if (count[Kind::NameDiffers] > 0)
        text += ", " + counted(count[Kind::NameDiffers], "name differs", "names differ");
    if (count[Kind::Twice] > 0)
        text += ", " + counted(count[Kind::Twice], "number twice in the file",
                               "numbers twice in the file");
    return text + ".";
}

}  // namespace tl
