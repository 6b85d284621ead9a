// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "core/favourites_file.h"
#include "core/messages.h"
#include "core/phrase_library.h"
#include "core/printed_page.h"
#include "core/student_record.h"

namespace tl {
// Readable failure output for the core's types.
void PrintTo(const Notice& notice, std::ostream* out);
void PrintTo(const StudentRecord& student, std::ostream* out);
void PrintTo(const PrintedLine& line, std::ostream* out);
}  // namespace tl

namespace tl::test {

namespace fs = std::filesystem;

// A fresh, empty folder for each test, removed afterwards.
class TempDirTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override { fs::remove_all(dir_, ignored_); }
    const fs::path& dir() const { return dir_; }
    // dir()/name as a string, the form the core procedures take.
    std::string file(const std::string& name) const { return (dir_ / name).string(); }

  private:
    fs::path dir_;
    std::error_code ignored_;
};

void writeBytes(const fs::path& path, std::string_view bytes);
std::string readBytes(const fs::path& path);

// The lines, each ended by CR LF.
std::string crlfLines(const std::vector<std::string>& lines);
// The text count times over.
std::string repeated(const std::string& text, int count);

// The texts joined by "|", so that a table row can hold them on one line.
template <typename Texts>
std::string joined(const Texts& texts) {
    std::string out;
    for (std::size_t i = 0; i < std::size(texts); ++i)
        out += (i ? "|" : "") + std::string(texts[i]);
    return out;
}

// A case of a table under data/tables (see README.md there), escapes decoded.
struct TableRow {
    std::map<std::string, std::string> cells;
    // A column the table lacks throws, which fails the test.
    const std::string& operator[](const std::string& column) const;
    int number(const std::string& column) const { return std::stoi((*this)[column]); }
    // The cell cut at each separator; an empty cell gives no parts.
    std::vector<std::string> parts(const std::string& column, char separator = '|') const;
};

// Runs check on every case of data/tables/name, each traced by its line and
// its comment. A missing or empty table, or a case with the wrong number of
// cells, fails the test.
void forEachRow(const std::string& name, const std::function<void(const TableRow&)>& check);

// Expects the printed lines to begin with those of the table, in order: font,
// points and text; returns how many the table holds.
std::size_t expectPrintedLines(const std::string& name, const std::vector<PrintedLine>& lines);

// A line of the enrolment file: field 8 "Q1", the timetable last.
std::string masterLine(const std::string& last, const std::string& first, const std::string& number,
                       const std::string& timetable, const std::string& gender = "F",
                       const std::string& f14 = "P");

// A student as the class picker makes one: no mark, no comments, every skill "3".
// "85-100:4 60-84:3": each range's marks and its RE skill.
std::string rangeMarks(const std::vector<InitialValueRange>& ranges);

StudentRecord makeStudent(const std::string& classCode, const std::string& lastName,
                          const std::string& firstName, const std::string& number = "123456789");

// A student with an entry in every field the teacher fills in.
StudentRecord makeMarkedStudent(const std::string& classCode, const std::string& lastName,
                                const std::string& firstName, const std::string& number);

}  // namespace tl::test
