// SPDX-License-Identifier: GPL-3.0-or-later

#include "export/efile_check.h"

#include <unistd.h>

#include "core/file_io.h"
#include "core/test_support.h"
#include "export/efile.h"

namespace tl::test {
namespace {

// The golden cases hold the eFile, the export checks, both reports and the
// preview rows of whole classes; this student brings the field rules they
// lack: a dashed number, ESL "N" beside ELD, an interview request in lower
// case and a skill outside 1 to 4 (a favourites range may bring one).
TEST(EFile, WritesTheFieldRulesTheGoldenClassesLack) {
    StudentRecord s = makeStudent("ENG2D1-02", "Oduya", "Tamsin", "123-456-789");
    s.trilliumField8 = "K2";
    s.mark = "66";
    s.esl = "N";
    s.eld = "Y";
    s.interview = "y";
    s.skills[kSR] = "9";
    s.freeFormUsed = true;
    s.freeFormText = "Tamsin leads group work, and \"listens\" well.";
    EXPECT_EQ(eFileText({s}, {}),
              "ENG2D1-02,Oduya,Tamsin,123-45789,,F,K2,0,ELD,66,0,0,G,,G,,G,,"
              "\"Tamsin leads group work, and 'listens' well.\",G,G,,0,0\r\n");
}

// Class codes with a comma and without, marks, free-form comments and the first one's skills.
std::vector<StudentRecord> threeStudents() {
    const char* const rows[][5] = {{"ENG2D1,02", "Adeyemi", "Kiran", "78", "Reads widely."},
                                   {"ENG2D1-02", "Brightwater", "Lio", "64", "Writes with care."},
                                   {"ENG2D1,02", "Osei", "Tamsin", "91", "Asks questions."}};
    std::vector<StudentRecord> students;
    for (const auto& [code, last, first, mark, comment] : rows) {
        const std::string number = "31200000" + std::to_string(students.size() + 1);
        StudentRecord& s = students.emplace_back(makeStudent(code, last, first, number));
        s.mark = mark;
        s.freeFormUsed = true;
        s.freeFormText = comment;
    }
    students[0].skills = {"4", "3", "2", "1", "4", "3"};
    return students;
}

TEST(EFileReadBack, NamesTheFirstDifferenceFromTheClass) {
    const std::vector<StudentRecord> students = threeStudents();
    const std::string text = eFileText(students, {});
    forEachRow("efile_read_back.tsv", [&](const TableRow& row) {
        std::string changed = text;
        if (const std::size_t at = changed.find(row["find"]); !row["find"].empty()) {
            ASSERT_NE(at, std::string::npos) << text;
            changed.replace(at, row["find"].size(), row["replace"]);
        }
        EXPECT_EQ(eFileDifference(changed, students, {}), row["difference"]);
    });
    EXPECT_EQ(eFileDifference("", {}, {}), "");
}

// A writer double: the write call reports every byte written while the file
// gets another mark, which the atomic writer cannot see.
long writeWithMarkChanged(int fd, const void* data, std::size_t size) {
    std::string bytes(static_cast<const char*>(data), size);
    const std::size_t at = bytes.find(",64,");
    if (at != std::string::npos) bytes[at + 1] = '4';
    return ::write(fd, bytes.data(), bytes.size()) < 0 ? -1 : static_cast<long>(size);
}

class EFileWrittenTest : public TempDirTest {};

TEST_F(EFileWrittenTest, ReadsBackTheWrittenFileNotTheTextMeantForIt) {
    const std::vector<StudentRecord> students = threeStudents();
    const std::string path = file("eng.trc");
    ASSERT_EQ(exportTrilliumClass(path, students, {}).outcome, WriteOutcome::Written);
    EXPECT_EQ(writtenEFileDifference(path, students, {}), "");
    const WriteCall real = writeCall;
    writeCall = writeWithMarkChanged;
    const WriteOutcome written = exportTrilliumClass(path, students, {}).outcome;
    writeCall = real;
    EXPECT_EQ(written, WriteOutcome::Written);
    EXPECT_EQ(writtenEFileDifference(path, students, {}),
              "line 2 (Brightwater Lio): the mark reads \"44\" instead of \"64\"");
    EXPECT_EQ(writtenEFileDifference(file("none.trc"), students, {}), "the file cannot be read");
    ASSERT_EQ(exportTrilliumClass(path, {}, {}).outcome, WriteOutcome::Written);
    EXPECT_EQ(readBytes(path), "");
}

}  // namespace
}  // namespace tl::test
