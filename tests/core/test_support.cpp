// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/test_support.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include <stdlib.h>

#include "core/class_file.h"
#include "core/file_io.h"

namespace tl {

void PrintTo(const Notice& notice, std::ostream* out) {
    *out << "Notice{\"" << notice.text << "\", title \"" << notice.title << "\"}";
}

// The class-file line, and field 14, which the file leaves out.
void PrintTo(const StudentRecord& s, std::ostream* out) {
    *out << classFileLine(s) << " (field 14 \"" << s.trilliumField14 << "\")";
}

void PrintTo(const PrintedLine& line, std::ostream* out) {
    *out << line.font.name << " " << line.font.points << " \"" << line.text << "\"";
}

}  // namespace tl

namespace tl::test {

void TempDirTest::SetUp() {
    std::string pattern = (fs::temp_directory_path() / "tl_core_XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot create " + pattern);
    dir_ = pattern;
}

void writeBytes(const fs::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())))
        throw std::runtime_error("cannot write " + path.string());
}

std::string readBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    return {std::istreambuf_iterator<char>(in), {}};
}

std::string crlfLines(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines)
        text += line + "\r\n";
    return text;
}

std::string repeated(const std::string& text, int count) {
    return count > 0 ? text + repeated(text, count - 1) : "";
}

namespace {

std::vector<std::string> cut(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::istringstream in(text + separator);
    for (std::string part; std::getline(in, part, separator);)
        parts.push_back(part);
    return parts;
}

std::string decodeCell(const std::string& cell) {
    std::string out;
    for (std::size_t i = 0; i < cell.size(); ++i) {
        if (cell[i] != '\\') {
            out += cell[i];
        } else if (const auto k = std::string_view("rnt\\").find(cell.at(++i));
                   k != std::string_view::npos) {
            out += "\r\n\t\\"[k];
        } else {
            // \xHH: exactly two hex digits.
            unsigned char byte = 0;
            const char* hex = cell.data() + i + 1;
            if (cell[i] != 'x' || i + 2 >= cell.size() ||
                std::from_chars(hex, hex + 2, byte, 16).ptr != hex + 2)
                throw std::runtime_error("bad escape in " + cell);
            out += static_cast<char>(byte);
            i += 2;
        }
    }
    return out;
}

}  // namespace

const std::string& TableRow::operator[](const std::string& column) const {
    const auto found = cells.find(column);
    if (found == cells.end()) throw std::runtime_error("the table has no column " + column);
    return found->second;
}

std::vector<std::string> TableRow::parts(const std::string& column, char separator) const {
    return (*this)[column].empty() ? std::vector<std::string>{} : cut((*this)[column], separator);
}

void forEachRow(const std::string& name, const std::function<void(const TableRow&)>& check) {
    const auto lines = cut(readBytes(fs::path(TL_TEST_DATA) / "tables" / name), '\n');
    std::vector<std::string> columns;
    int cases = 0;
    for (std::size_t n = 0; n < lines.size(); ++n) {
        if (lines[n].empty() || lines[n][0] == '#') continue;
        const std::vector<std::string> cells = cut(lines[n], '\t');
        const std::string where = name + ":" + std::to_string(n + 1) + ": ";
        if (columns.empty()) {
            columns = cells;
            ASSERT_EQ(columns.back(), "comment") << where << "the last column names the case";
            continue;
        }
        ASSERT_EQ(cells.size(), columns.size()) << where << lines[n];
        TableRow row;
        for (std::size_t i = 0; i < cells.size(); ++i)
            row.cells[columns[i]] = decodeCell(cells[i]);
        SCOPED_TRACE(where + row["comment"]);
        ++cases;
        check(row);
    }
    EXPECT_GT(cases, 0) << "no cases in " << name;
}

std::size_t expectPrintedLines(const std::string& name, const std::vector<PrintedLine>& lines) {
    std::size_t i = 0;
    forEachRow(name, [&](const TableRow& row) {
        ASSERT_LT(i, lines.size());
        const PrintFont font{row["font"], std::stod(row["points"])};
        EXPECT_EQ(lines[i++], (PrintedLine{font, row["text"]}));
    });
    return i;
}

std::string masterLine(const std::string& last, const std::string& first, const std::string& number,
                       const std::string& timetable, const std::string& gender,
                       const std::string& f14) {
    return last + "," + first + "," + gender + "," + number + ",u5,u6,u7,Q1,u9,u10,u11,u12,u13," +
           f14 + "," + timetable;
}

StudentRecord makeStudent(const std::string& classCode, const std::string& lastName,
                          const std::string& firstName, const std::string& number) {
    StudentRecord s;
    s.classCode = classCode;
    s.studentNumber = number;
    s.lastName = lastName;
    s.firstName = firstName;
    s.skills.fill("3");
    s.gender = "F";
    s.interview = "0";
    return s;
}

StudentRecord makeMarkedStudent(const std::string& classCode, const std::string& lastName,
                                const std::string& firstName, const std::string& number) {
    StudentRecord s = makeStudent(classCode, lastName, firstName, number);
    s.mark = "78";
    s.comments = {"0012", "0034", "    ", "", "0056"};
    s.skills = {"4", "3", "2", "1", "", "4"};
    s.iep = s.eld = s.interview = "Y";
    s.trilliumField8 = "K7";
    s.freeFormUsed = true;
    s.freeFormText = "Reads widely, writes with care, asks good questions.";
    return s;
}

std::string rangeMarks(const std::vector<InitialValueRange>& ranges) {
    std::string out;
    for (const InitialValueRange& r : ranges)
        out += std::to_string(r.lowMark) + "-" + std::to_string(r.highMark) + ":" + r.skills[0] +
               (&r == &ranges.back() ? "" : " ");
    return out;
}

}  // namespace tl::test
