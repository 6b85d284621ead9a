#include "core/master_file.h"

#include "core/class_file.h"
#include "core/test_support.h"

namespace tl::test {
namespace {

// A local time, "2024-03-09 23" (day and hour).
std::time_t at(const char* when) {
    std::tm t{};
    strptime(when, "%Y-%m-%d %H", &t);
    t.tm_isdst = -1;
    return std::mktime(&t);
}

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
    // Eight sections and 1993 more are the most a file may hold.
    std::string timetable;
    for (int i = 0; i < 1993; ++i)
        timetable += "S" + std::to_string(10000 + i) + " ";
    std::vector<std::string> lines = {
        masterLine("A", "A", "1", "AZ ENG3U-01 MTH10 MTH4U-02 SCI2D-01 SH2 lunch x"),
        masterLine("D", "D", "4", timetable + "S10000")};
    ASSERT_EQ(collectClassSections(lines).value_or(std::vector<std::string>{}).size(), 2001u);
    lines.push_back(masterLine("E", "E", "5", "S99999"));
    EXPECT_FALSE(collectClassSections(lines).has_value());
}

const std::string kHeader = "Last,First,Gender,Number,...";

// The update as the golden cases show it: a student moved to another section,
// a name changed in a file in UTF-8, a line repeated, a class code that is
// empty, the teacher's entries, gender and field 8 kept over those of the file.
// The update's refusals without a file, of a file with a NUL byte, of one
// without the class and of one too old: export_gate.tsv.
class MasterFileTest : public TempDirTest {
  protected:
    std::string master() const { return file("TLStudentInfo.txt"); }
    ReconcileResult reconcile(std::vector<StudentRecord>& students, std::size_t added = 101,
                              std::size_t dropped = 101) {
        return reconcileWithMaster(students, master(), std::time(nullptr), added, dropped);
    }
};

TEST_F(MasterFileTest, FoundWithoutRegardToCaseAndReadAfterTheHeader) {
    EXPECT_EQ(dataRootFolder("/a/b/prog"), "/a/b");
    EXPECT_EQ(fs::path(findMasterFile(dir().string())), dir() / "data" / "TLStudentInfo.txt");
    fs::create_directory(dir() / "DATA");
    writeBytes(dir() / "DATA" / "tlstudentinfo.TXT", "Last,First\nAdams,Ann\rBrown,Bo\r\n");
    const std::string found = findMasterFile(dir().string());
    EXPECT_EQ(fs::path(found), dir() / "DATA" / "tlstudentinfo.TXT");
    EXPECT_EQ(readMasterStudentLines(found), (std::vector<std::string>{"Adams,Ann", "Brown,Bo"}));
    EXPECT_FALSE(readMasterStudentLines(file("missing.txt")).has_value());
    // Calendar days in local time, not periods of 24 hours.
    EXPECT_EQ(calendarDaysBetween(at("2024-03-09 23"), at("2024-03-10 00")), 1);
    EXPECT_EQ(calendarDaysBetween(at("2024-03-09 00"), at("2024-03-09 23")), 0);
}

// One student number on two enrolment lines under two names: each name keeps
// its own marks, whatever order the class is sorted in.
TEST_F(MasterFileTest, OneNumberUnderTwoNamesKeepsEachNamesMarks) {
    StudentRecord abe = makeMarkedStudent("ENG3U-01", "Abel", "Abe", "100000001");
    StudentRecord zed = makeMarkedStudent("ENG3U-01", "Zeller", "Zed", "100000001");
    abe.mark = "90";
    zed.mark = "50";
    std::vector<StudentRecord> students = {abe, zed};
    writeBytes(master(), crlfLines({kHeader, masterLine("Zeller", "Zed", "100000001", "ENG3U-01"),
                                    masterLine("Abel", "Abe", "100000001", "ENG3U-01")}));
    const ReconcileResult r = reconcile(students);
    EXPECT_TRUE(!r.refused && r.added.empty() && r.dropped.empty());
    ASSERT_EQ(students.size(), 2u);
    EXPECT_EQ(students[0].lastName + students[0].mark, "Zeller50");
    EXPECT_EQ(students[1].lastName + students[1].mark, "Abel90");
}

TEST_F(MasterFileTest, RefusedUpdateLeavesTheClassUnchanged) {
    const std::vector<StudentRecord> students = {
        makeMarkedStudent("ENG3U-01", "Adams", "Ann", "100000001"),
        makeMarkedStudent("ENG3U-01", "Brown", "Bo", "100000002")};
    auto expectRefused = [&](const Notice& expected, std::size_t added, std::size_t dropped) {
        std::vector<StudentRecord> after = students;
        const ReconcileResult r = reconcile(after, added, dropped);
        EXPECT_TRUE(r.refused && r.added.empty() && r.dropped.empty());
        EXPECT_EQ(r.notice, expected);
        EXPECT_EQ(after, students);
    };
    // Bytes that are not UTF-8 after its mark, and lines without a timetable.
    writeBytes(master(), "\xEF\xBB\xBFx\r\n\xE9");
    expectRefused(msg::tl5NoStudentInfo(), 101, 101);
    writeBytes(master(), crlfLines({kHeader, "Adams,Ann,F,100000001,u5,u6,u7,Q1"}));
    expectRefused(msg::tl21NoneEnrolled(), 101, 101);
    // More added or dropped than the lists hold: three added and one dropped fit in 3 and 1.
    writeBytes(master(), crlfLines({kHeader, masterLine("Adams", "Ann", "100000001", "ENG3U-01"),
                                    masterLine("Evans", "Eve", "100000005", "ENG3U-01"),
                                    masterLine("Fox", "Fay", "100000006", "ENG3U-01"),
                                    masterLine("Gill", "Gus", "100000007", "ENG3U-01")}));
    expectRefused(msg::tl5NoStudentInfo(), 2, 101);
    expectRefused(msg::tl5NoStudentInfo(), 101, 0);
    std::vector<StudentRecord> fits = students;
    EXPECT_FALSE(reconcile(fits, 3, 1).refused);
    // Names and field 14 come from the file (field 14 is in no file the program writes).
    EXPECT_EQ(fits[0].lastName + fits[0].trilliumField14, "AdamsP");
}

}  // namespace
}  // namespace tl::test
