#pragma once

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "core/messages.h"
#include "core/notice.h"
#include "core/phrase_library.h"
#include "core/student_record.h"

namespace tl {
// Readable failure output for the core's types.
void PrintTo(const Notice& notice, std::ostream* out);
void PrintTo(const StudentRecord& student, std::ostream* out);
}  // namespace tl

namespace tl::test {

namespace fs = std::filesystem;

// A fresh, empty folder for each test, removed afterwards.
class TempDirTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    const fs::path& dir() const { return dir_; }
    // dir()/name as a string, the form the core procedures take.
    std::string file(const std::string& name) const { return (dir_ / name).string(); }
    // How many entries the folder holds: a left-behind temporary file shows here.
    std::size_t entries() const;

  private:
    fs::path dir_;
};

void writeBytes(const fs::path& path, std::string_view bytes);
std::string readBytes(const fs::path& path);

// Sets the last modification of path to the same time of day, days calendar days ago.
void setFileAgeDays(const fs::path& path, int days);

// Runs write while files of this process cannot grow beyond the given size: a write
// fails even for root, for whom a read-only file is no obstacle.
void withFileSizeLimit(unsigned long bytes, const std::function<void()>& write);

// The lines, each ended by CR LF.
std::string crlfLines(std::initializer_list<std::string> lines);
// The text count times over.
std::string repeated(const std::string& text, int count);

// A phrase table sorted by code, as the loaded library is.
std::vector<Phrase> phraseTable(std::initializer_list<Phrase> phrases);

// A student as the class picker makes one: no mark, no comments, every skill "3".
StudentRecord makeStudent(const std::string& classCode, const std::string& lastName,
                          const std::string& firstName, const std::string& number = "123456789");

// A student with an entry in every field the teacher fills in.
StudentRecord makeMarkedStudent(const std::string& classCode, const std::string& lastName,
                                const std::string& firstName, const std::string& number);

}  // namespace tl::test
