#include "export/efile_check.h"

#include <unistd.h>

#include "core/file_io.h"
#include "core/test_support.h"
#include "export/efile.h"

namespace tl::test {
namespace {

std::vector<StudentRecord> threeStudents() {
    std::vector<StudentRecord> students = {
        makeStudent("ENG2D1,02", "Adeyemi", "Kiran", "312000001"),
        makeStudent("ENG2D1-02", "Brightwater", "Lio", "312000002"),
        makeStudent("ENG2D1,02", "Osei", "Tamsin", "312000003")};
    const char* const marks[] = {"78", "64", "91"};
    const char* const comments[] = {"Reads widely.", "Writes with care.", "Asks questions."};
    for (std::size_t n = 0; n < students.size(); ++n) {
        students[n].mark = marks[n];
        students[n].freeFormUsed = true;
        students[n].freeFormText = comments[n];
    }
    students[0].skills = {"4", "3", "2", "1", "4", "3"};
    return students;
}

TEST(EFileReadBack, NamesTheFirstDifferenceFromTheClass) {
    const std::vector<StudentRecord> students = threeStudents();
    const std::string text = eFileText(students, {});
    forEachRow("efile_read_back.tsv", [&](const TableRow& row) {
        std::string corrupted = text;
        if (!row["find"].empty()) {
            const std::size_t at = corrupted.find(row["find"]);
            ASSERT_NE(at, std::string::npos) << text;
            corrupted.replace(at, row["find"].size(), row["replace"]);
        }
        EXPECT_EQ(eFileDifference(corrupted, students, {}), row["difference"]);
    });
    const std::size_t thirdLine = text.rfind("\"ENG2D1,02\",Osei");
    EXPECT_EQ(eFileDifference(text.substr(0, thirdLine), students, {}),
              "line 3 (Osei Tamsin): missing");
    EXPECT_EQ(eFileDifference(text + "x\r\n", students, {}),
              "the file goes on after the class's 3 lines");
    EXPECT_EQ(eFileDifference("", {}, {}), "");
}

// Writer doubles: the write call reports every byte written while the file
// gets other bytes, which the atomic writer cannot see.
long writeWithMarkChanged(int fd, const void* data, std::size_t size) {
    std::string bytes(static_cast<const char*>(data), size);
    const std::size_t at = bytes.find(",64,");
    if (at != std::string::npos) bytes[at + 1] = '4';
    return ::write(fd, bytes.data(), bytes.size()) < 0 ? -1 : static_cast<long>(size);
}

long writeWithoutLastLineEnd(int fd, const void* data, std::size_t size) {
    const std::size_t kept = size >= 2 ? size - 2 : size;
    return ::write(fd, data, kept) < 0 ? -1 : static_cast<long>(size);
}

class EFileWrittenTest : public TempDirTest {};

TEST_F(EFileWrittenTest, ReadsBackTheWrittenFileNotTheTextMeantForIt) {
    const std::vector<StudentRecord> students = threeStudents();
    const std::string path = file("eng.trc");
    const WriteCall real = writeCall;
    const std::pair<WriteCall, std::string> doubles[] = {
        {real, ""},
        {writeWithMarkChanged, "line 2 (Brightwater Lio): the mark reads \"44\" instead of \"64\""},
        {writeWithoutLastLineEnd, "line 3 (Osei Tamsin): has no line end"}};
    for (const auto& [write, difference] : doubles) {
        writeCall = write;
        const WriteOutcome written = exportTrilliumClass(path, students, {}).outcome;
        writeCall = real;
        EXPECT_EQ(written, WriteOutcome::Written);
        EXPECT_EQ(writtenEFileDifference(path, students, {}), difference);
    }
    EXPECT_EQ(writtenEFileDifference(file("none.trc"), students, {}), "the file cannot be read");
}

}  // namespace
}  // namespace tl::test
