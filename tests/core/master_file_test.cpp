// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/master_file.h"

#include <random>

#include "core/class_file.h"
#include "core/test_support.h"

namespace tl::test {
namespace {

TEST(ClassSections, CollectedAbove2001NeverAndMatchedCaseSensitivelyOneRecordPerCode) {
    forEachRow("class_sections.tsv", [](const TableRow& row) {
        const std::vector<std::string> lines = row.parts("lines");
        if (row["codes"].empty()) {
            EXPECT_EQ(joined(collectClassSections(lines).value_or(std::vector<std::string>{})),
                      row["expected"]);
            return;
        }
        const auto matched =
            matchStudentsToSections(lines, row.parts("codes"), row.number("capacity"));
        std::vector<std::string> records;
        for (const StudentRecord& s : matched.value_or(std::vector<StudentRecord>{}))
            records.push_back(classFileLine(s) + " " + s.trilliumField14);
        EXPECT_EQ(matched ? joined(records) : "none", row["expected"]);
    });
    // 2001 sections are the most a file may hold.
    std::vector<std::string> lines;
    for (int i = 0; i < 2001; ++i)
        lines.push_back(masterLine("D", "D", "4", "S10000 S" + std::to_string(10000 + i)));
    EXPECT_EQ(collectClassSections(lines).value_or(std::vector<std::string>{}).size(), 2001u);
    lines.push_back(masterLine("E", "E", "5", "S99999"));
    EXPECT_FALSE(collectClassSections(lines).has_value());
}

// The class's lines are found in the text wherever they stand and however the
// lines end: the same students, in the same order, as line by line; a heading
// that names a section is no student.
TEST(ClassSections, FoundInTheTextAsLineByLine) {
    const std::vector<std::string> lines = {
        masterLine("Adams", "Ann", "100000001", "ENG3U-01 MAT3U-02"),
        masterLine("Cole", "Cy", "100000003", "ENG3C-01"),  // shares the start only
        masterLine("Brown", "Bo", "100000002", "ENG3U-02"), "",
        masterLine("Dunn", "Di", "100000004", "ENG3U-01 ENG3U-02")};
    const std::vector<std::string> codes = {"ENG3U-01", "ENG3U-02"};
    std::vector<std::string> expected;
    const auto matched = matchStudentsToSections(lines, codes, 100);
    ASSERT_TRUE(matched.has_value());
    for (const StudentRecord& s : *matched)
        expected.push_back(s.classCode + s.lastName);
    ASSERT_EQ(expected.size(), 4u);
    for (const std::string end : {"\n", "\r", "\r\n"}) {
        for (const bool closed : {true, false}) {
            std::string text = masterLine("Last", "First", "Number", "ENG3U-01") + end;
            for (const std::string& line : lines)
                text += line + end;
            if (!closed) text.resize(text.size() - end.size());
            std::vector<StudentRecord> students = {
                makeStudent("ENG3U-01", "Adams", "Ann", "100000001"),
                makeStudent("ENG3U-02", "Brown", "Bo", "100000002")};
            ASSERT_FALSE(reconcileWithMasterText(students, text, 100, 100).refused);
            std::vector<std::string> found;
            for (const StudentRecord& s : students)
                found.push_back(s.classCode + s.lastName);
            EXPECT_EQ(found, expected) << "line end " << end.size() << " closed " << closed;
        }
    }
}

// The update's ordinary work is in the golden cases; its refusals without a
// file, of a file with a NUL byte, without the class and too old (in calendar
// days) in export_gate.tsv.
class MasterFileTest : public TempDirTest {
  protected:
    // Writes the enrolment file and updates the students from it.
    ReconcileResult reconcile(std::vector<StudentRecord>& students,
                              const std::vector<std::string>& lines, std::size_t added = 101,
                              std::size_t dropped = 101) {
        writeBytes(dir() / "TLStudentInfo.txt", crlfLines(lines));
        return reconcileWithMaster(students, file("TLStudentInfo.txt"), std::time(nullptr), added,
                                   dropped);
    }
};

// The file is searched chunk by chunk as it is read: whatever the chunk size,
// whatever the line ends, with or without a last line end, a heading that
// names a section, NUL bytes and byte-order marks, the update comes out as it
// does from the file's whole text.
TEST_F(MasterFileTest, ReadInChunksAsFromTheWholeText) {
    const std::vector<std::string> pool = {
        masterLine("Adams", "Ann", "100000001", "ENG3U-01 MAT3U-02"),
        masterLine("Brown", "Bo", "100000002", "ENG3U-02"),
        masterLine("Cole", "Cy", "100000003", "ENG3C-01"),
        masterLine("Dunn", "Di", "100000004", "ENG3U-01 ENG3U-02"),
        masterLine("Egan", "Ed", "100000005", "SCI3U-01"),
        masterLine("Fox", "Flo", "100000006", "MAT3U-02 ENG3U-01"),
        "",
        "\xEF\xBB\xBF" + masterLine("Gray", "Gus", "100000007", "ENG3U-02"),
        masterLine("Hale", "Hu", "100000008", "ENG3U-01") + std::string(1, '\0')};
    const std::vector<std::string> ends = {"\n", "\r", "\r\n"};
    const auto outcome = [](const ReconcileResult& r, const std::vector<StudentRecord>& students) {
        std::string text = r.refused ? "refused " + r.notice.value_or(Notice{}).text : "kept";
        for (const auto* list : {&students, &r.added, &r.dropped}) {
            text += " |";
            for (const StudentRecord& s : *list)
                text += " " + classFileLine(s);
        }
        return text;
    };
    std::mt19937 random(20261209);
    int chunked = 0;
    int updated = 0;
    for (int round = 0; round < 150; ++round) {
        // Mostly plain text; now and then a mark or a NUL byte.
        const std::size_t plain = pool.size() - (round % 5 == 0 ? 0 : 2);
        std::string text = masterLine("Last", "First", "Number", "ENG3U-01");
        const int lines = static_cast<int>(random() % 12);
        for (int i = 0; i < lines; ++i)
            text += ends[random() % ends.size()] + pool[random() % plain];
        if (random() % 2 == 0) text += ends[random() % ends.size()];
        const std::vector<StudentRecord> before = {
            makeStudent("ENG3U-01", "Adams", "Ann", "100000001"),
            makeStudent("ENG3U-02", "Brown", "Bo", "100000002"),
            makeStudent("ENG3U-01", "Zeller", "Zoe", "100000099")};
        std::vector<StudentRecord> whole = before;
        const std::string expected = outcome(reconcileWithMasterText(whole, text, 101, 101), whole);
        writeBytes(dir() / "TLStudentInfo.txt", text);
        for (const std::size_t chunk : {1, 2, 3, 7, 64, 65536}) {
            std::vector<StudentRecord> students = before;
            const ReconcileResult r = reconcileWithMaster(students, file("TLStudentInfo.txt"),
                                                          std::time(nullptr), 101, 101, chunk);
            EXPECT_EQ(outcome(r, students), expected) << "round " << round << " chunk " << chunk;
        }
        updated += expected.starts_with("kept");
        chunked += text.find_first_of(std::string("\xEF\0", 2)) == std::string::npos;
    }
    // An empty file, and one that begins with a byte-order mark, as well.
    for (const std::string& text :
         {std::string(), "\xEF\xBB\xBF" + masterLine("Last", "First", "Number", "X") + "\r\n" +
                             masterLine("Adams", "Ann", "100000001", "ENG3U-01")}) {
        const std::vector<StudentRecord> before = {
            makeStudent("ENG3U-01", "Adams", "Ann", "100000001")};
        std::vector<StudentRecord> whole = before;
        const std::string expected = outcome(reconcileWithMasterText(whole, text, 101, 101), whole);
        writeBytes(dir() / "TLStudentInfo.txt", text);
        std::vector<StudentRecord> students = before;
        EXPECT_EQ(outcome(reconcileWithMaster(students, file("TLStudentInfo.txt"),
                                              std::time(nullptr), 101, 101, 64),
                          students),
                  expected)
            << text.size();
    }
    // A line of a megabyte is read through in small chunks as quickly as the
    // rest, and the lines after it are found.
    {
        const std::string text = masterLine("Last", "First", "Number", "ENG3U-01") + "\r\n" +
                                 std::string(1 << 20, 'x') + "\r\n" +
                                 masterLine("Adams", "Ann", "100000001", "ENG3U-01");
        writeBytes(dir() / "TLStudentInfo.txt", text);
        std::vector<StudentRecord> students = {
            makeStudent("ENG3U-01", "Adams", "Ann", "100000001")};
        const ReconcileResult r = reconcileWithMaster(students, file("TLStudentInfo.txt"),
                                                      std::time(nullptr), 101, 101, 64);
        EXPECT_FALSE(r.refused);
        EXPECT_EQ(students.size(), 1u);
    }
    // Most texts took the chunked way, and many updated the class.
    EXPECT_GT(chunked, 100);
    EXPECT_GT(updated, 50);
}

TEST_F(MasterFileTest, FoundWithoutRegardToCaseAndReadAfterTheHeader) {
    EXPECT_EQ(dataRootFolder("/a/b/prog"), "/a/b");
    EXPECT_EQ(fs::path(findMasterFile(dir().string())), dir() / "data" / "TLStudentInfo.txt");
    fs::create_directory(dir() / "DATA");
    writeBytes(dir() / "DATA" / "tlstudentinfo.TXT", "Last,First\nAdams,Ann\rBrown,Bo\r\n");
    const std::string found = findMasterFile(dir().string());
    EXPECT_EQ(fs::path(found), dir() / "DATA" / "tlstudentinfo.TXT");
    EXPECT_EQ(readMasterStudentLines(found), (std::vector<std::string>{"Adams,Ann", "Brown,Bo"}));
    EXPECT_FALSE(readMasterStudentLines(file("missing.txt")).has_value());
}

// One student number on two enrolment lines under two names: each name keeps
// its own marks, whatever order the class is sorted in.
TEST_F(MasterFileTest, OneNumberUnderTwoNamesKeepsEachNamesMarks) {
    std::vector<StudentRecord> students = {makeStudent("ENG3U-01", "Abel", "Abe", "100000001"),
                                           makeStudent("ENG3U-01", "Zeller", "Zed", "100000001")};
    students[0].mark = "90";
    students[1].mark = "50";
    students[0].pronouns = "T";  // the teacher's choice stays as the gender does
    const ReconcileResult r =
        reconcile(students, {"Last,First", masterLine("Zeller", "Zed", "100000001", "ENG3U-01"),
                             masterLine("Abel", "Abe", "100000001", "ENG3U-01")});
    EXPECT_TRUE(!r.refused && r.added.empty() && r.dropped.empty());
    ASSERT_EQ(students.size(), 2u);
    EXPECT_EQ(students[0].lastName + students[0].mark + students[1].lastName + students[1].mark +
                  students[1].pronouns,
              "Zeller50Abel90T");
}

TEST_F(MasterFileTest, RefusedUpdateLeavesTheClassUnchanged) {
    const std::vector<StudentRecord> students = {
        makeMarkedStudent("ENG3U-01", "Adams", "Ann", "100000001"),
        makeMarkedStudent("ENG3U-01", "Brown", "Bo", "100000002")};
    std::vector<std::string> enrolled = {"Last,First"};
    for (const char* number : {"100000001", "100000005", "100000006", "100000007"})
        enrolled.push_back(masterLine("Adams", "Ann", number, "ENG3U-01"));
    // Bytes that are not UTF-8 after its mark, and more added or dropped than the
    // lists hold: three added and one dropped fit in 3 and 1.
    const std::tuple<std::vector<std::string>, std::size_t, std::size_t, Notice> cases[] = {
        {{"\xEF\xBB\xBFx", "\xE9"}, 101, 101, msg::tl5NoStudentInfo()},
        {enrolled, 2, 101, msg::tl5NoStudentInfo()},
        {enrolled, 101, 0, msg::tl5NoStudentInfo()}};
    for (const auto& [lines, added, dropped, notice] : cases) {
        std::vector<StudentRecord> after = students;
        const ReconcileResult r = reconcile(after, lines, added, dropped);
        EXPECT_TRUE(r.refused && r.added.empty() && r.dropped.empty());
        EXPECT_EQ(r.notice, notice);
        EXPECT_EQ(after, students);
    }
    std::vector<StudentRecord> fits = students;
    EXPECT_FALSE(reconcile(fits, enrolled, 3, 1).refused);
}

}  // namespace
}  // namespace tl::test
