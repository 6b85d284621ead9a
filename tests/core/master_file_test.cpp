#include "core/master_file.h"

#include "core/test_support.h"

namespace tl::test {
namespace {

std::string masterLine(const std::string& last, const std::string& first, const std::string& number,
                       const std::string& timetable, const std::string& gender = "F",
                       const std::string& f14 = "P") {
    return last + "," + first + "," + gender + "," + number + ",u5,u6,u7,Q1,u9,u10,u11,u12,u13," +
           f14 + "," + timetable;
}

// A new record taken from a master line made by masterLine.
StudentRecord fromMaster(const std::string& code, const std::string& last, const std::string& first,
                         const std::string& number, const std::string& gender = "F",
                         const std::string& f14 = "P") {
    StudentRecord s = makeStudent(code, last, first, number);
    s.gender = gender;
    s.trilliumField8 = "Q1";
    s.trilliumField14 = f14;
    return s;
}

TEST(ClassSections, SkipsNonSectionWordsSortsByCharacterCodeAndStopsAbove2001) {
    std::vector<std::string> lines = {
        masterLine("\"A, Jr.\"", "A", "1", "MTH4U-02 LUNCH1 ENG3U-01 SH2 AZ"),
        masterLine("B", "B", "2", "ENG3U-01 SH1X ZSTUDY MTH4U-02 MTH4U-02"),
        masterLine("C", "C", "3", "  sci2d-01 lunch ZZ SCI2D-01 MTH10 ")};
    EXPECT_EQ(collectClassSections(lines),
              (std::vector<std::string>{"AZ", "ENG3U-01", "MTH10", "MTH4U-02", "SCI2D-01", "SH2",
                                        "lunch", "sci2d-01"}));
    std::string timetable;
    for (int i = 0; i < 1993; ++i)
        timetable += "S" + std::to_string(10000 + i) + " ";
    lines.push_back(masterLine("D", "D", "4", timetable + "S10000"));
    ASSERT_EQ(collectClassSections(lines).value_or(std::vector<std::string>{}).size(), 2001u);
    lines.push_back(masterLine("E", "E", "5", "S99999"));
    EXPECT_FALSE(collectClassSections(lines).has_value());
}

TEST(SectionMatching, CaseSensitiveSubstringGivesOneRecordPerCodeInFileOrder) {
    const std::vector<std::string> lines = {
        masterLine("Adams", "Ann", "101", "ENG3U-01 MTH4U-02"),
        masterLine("\"Brown, Jr.\"", "Bo", "102", "ENG3U-02", "M", "P2"),
        masterLine("Chen", "Cy", "103", "MTH4U-02"), masterLine("Diaz", "Di", "104", "eng3u-01")};
    EXPECT_EQ(matchStudentsToSections(lines, {"ENG3U", "MTH4U-02"}, 4),
              (std::vector<StudentRecord>{fromMaster("ENG3U", "Adams", "Ann", "101"),
                                          fromMaster("MTH4U-02", "Adams", "Ann", "101"),
                                          fromMaster("ENG3U", "Brown, Jr.", "Bo", "102", "M", "P2"),
                                          fromMaster("MTH4U-02", "Chen", "Cy", "103")}));
    EXPECT_FALSE(matchStudentsToSections(lines, {"ENG3U", "MTH4U-02"}, 3).has_value());
}

TEST(MasterAge, CountsCalendarDaysAndRefusesFrom31) {
    auto at = [](int month, int day, int hour) {
        std::tm t{};
        t.tm_year = 2024 - 1900;
        t.tm_mon = month - 1;
        t.tm_mday = day;
        t.tm_hour = hour;
        t.tm_isdst = -1;
        return std::mktime(&t);
    };
    EXPECT_EQ(calendarDaysBetween(at(3, 9, 23), at(3, 10, 0)), 1);
    EXPECT_EQ(calendarDaysBetween(at(3, 9, 0), at(3, 9, 23)), 0);
    EXPECT_EQ(calendarDaysBetween(at(1, 31, 12), at(3, 1, 9)), 30);
    EXPECT_FALSE(masterFileTooOld(30));
    EXPECT_TRUE(masterFileTooOld(31));
}

const std::string kHeader = "Last,First,Gender,Number,...";

class MasterFileTest : public TempDirTest {
  protected:
    std::string master() const { return file("TLStudentInfo.txt"); }
    ReconcileResult reconcile(std::vector<StudentRecord>& students, std::size_t added = 101,
                              std::size_t dropped = 101) {
        return reconcileWithMaster(students, master(), std::time(nullptr), added, dropped);
    }
    void expectRefused(std::vector<StudentRecord> students, const Notice& expected,
                       std::size_t added = 101, std::size_t dropped = 101) {
        const auto before = students;
        const ReconcileResult r = reconcile(students, added, dropped);
        EXPECT_TRUE(r.refused);
        EXPECT_EQ(r.notice, expected);
        EXPECT_EQ(students, before);
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
}

TEST_F(MasterFileTest, UpdateKeepsTeacherEntriesDropsTheGoneAndAddsTheNew) {
    StudentRecord ann = makeMarkedStudent("ENG3U-01", "Adams", "Ann", "100000001");
    ann.gender = "X";  // changed by the teacher; gender and field 8 stay from the class
    StudentRecord bo = makeMarkedStudent("ENG3U-01", "Brown", "Bo", "100000002");
    StudentRecord cy = makeMarkedStudent("ENG3U-02", "Chen", "Cy", "100000003");
    cy.skills = {"1", "1", "2", "2", "3", "3"};
    StudentRecord di = makeMarkedStudent("ENG3U-01", "Diaz", "Di", "100000004");
    di.mark = "-1";  // a mark like any other, not a marker
    std::vector<StudentRecord> students = {ann, bo, cy, di};
    writeBytes(
        master(),
        crlfLines({kHeader, masterLine("Brown", "Bo", "100000002", "ENG3U-02", "M"),  // moved
                   masterLine("Chen-Li", "Cyrus", "100000003", "LUNCH ENG3U-02", "M", "P3"),
                   masterLine("Adams", "Ann", "100000001", "ENG3U-01", "F", "P1"),
                   masterLine("Adams", "Ann", "100000001", "ENG3U-01"),   // the same line again
                   masterLine("Diaz", "Di", "100000004", "SCI2D-01")}));  // left

    const ReconcileResult r = reconcile(students);
    EXPECT_FALSE(r.refused);
    EXPECT_FALSE(r.notice.has_value());
    EXPECT_EQ(r.dropped, (std::vector<StudentRecord>{bo, di}));
    const StudentRecord boNew = fromMaster("ENG3U-02", "Brown", "Bo", "100000002", "M");
    const StudentRecord annAgain = fromMaster("ENG3U-01", "Adams", "Ann", "100000001");
    EXPECT_EQ(r.added, (std::vector<StudentRecord>{boNew, annAgain}));
    cy.lastName = "Chen-Li";
    cy.firstName = "Cyrus";
    cy.trilliumField14 = "P3";
    ann.trilliumField14 = "P1";
    EXPECT_EQ(students, (std::vector<StudentRecord>{boNew, cy, ann, annAgain}));

    std::vector<StudentRecord> none;
    EXPECT_FALSE(reconcile(none).refused);
    EXPECT_TRUE(none.empty());
}

TEST_F(MasterFileTest, ASecondUpdateFindsNothingNewWhateverTheFileRepeats) {
    StudentRecord ann = makeMarkedStudent("ENG3U-01", "Adams", "Ann", "100000001");
    StudentRecord nocode = makeMarkedStudent("", "Brown", "Bo", "100000002");
    std::vector<StudentRecord> students = {ann, nocode};
    // Ann's line twice; an empty class code is no section and takes in no one.
    writeBytes(master(), crlfLines({kHeader, masterLine("Adams", "Ann", "100000001", "ENG3U-01"),
                                    masterLine("Adams", "Ann", "100000001", "ENG3U-01"),
                                    masterLine("Brown", "Bo", "100000002", "ENG3U-02")}));
    ReconcileResult r = reconcile(students);
    ASSERT_FALSE(r.refused);
    EXPECT_EQ(r.added.size(), 1u);
    EXPECT_EQ(r.dropped, std::vector<StudentRecord>{nocode});
    ASSERT_EQ(students.size(), 2u);
    students[1].mark = "71";  // the teacher marks the second copy
    const auto before = students;
    r = reconcile(students);
    EXPECT_TRUE(r.added.empty() && r.dropped.empty());
    EXPECT_EQ(students, before);
}

TEST_F(MasterFileTest, RefusedUpdateLeavesTheClassUnchanged) {
    const std::vector<StudentRecord> students = {
        makeMarkedStudent("ENG3U-01", "Adams", "Ann", "100000001"),
        makeMarkedStudent("ENG3U-01", "Brown", "Bo", "100000002")};
    expectRefused(students, msg::tl5NoStudentInfo());  // no master file

    writeBytes(master(), crlfLines({kHeader, masterLine("Adams", "Ann", "100000001", "ENG3U-01"),
                                    masterLine("Evans", "Eve", "100000005", "ENG3U-01"),
                                    masterLine("Fox", "Fay", "100000006", "ENG3U-01"),
                                    masterLine("Gill", "Gus", "100000007", "ENG3U-01")}));
    // Not one of the class enrolled (lines without a timetable, another school's file).
    const std::string noTimetable = crlfLines(
        {kHeader, "Adams,Ann,F,100000001,u5,u6,u7,Q1", "Brown,Bo,M,100000002,u5,u6,u7,Q1"});
    const Notice tl21{
        "TL21: None of this class's students are in the enrolment file. The class "
        "was not changed."};
    std::vector<StudentRecord> kept = students;
    ReconcileResult r = reconcileWithMasterText(kept, noTimetable, 501, 501);
    EXPECT_TRUE(r.refused && r.added.empty() && r.dropped.empty());
    EXPECT_EQ(r.notice, tl21);
    EXPECT_EQ(kept, students);
    for (const std::string& unreadable :
         {std::string("x\r\nAdams,\0", 10), std::string("\xEF\xBB\xBFx\r\n\xE9")}) {
        r = reconcileWithMasterText(kept, unreadable, 501, 501);
        EXPECT_EQ(r.notice, msg::tl5NoStudentInfo());
        EXPECT_EQ(kept, students);
    }
    const std::string utf8 =
        "\xEF\xBB\xBF" + crlfLines({kHeader, masterLine("Adams", "Ann", "100000001", "ENG3U-01"),
                                    masterLine("\xC3\x89vans", "Eve", "100000005", "ENG3U-01")});
    EXPECT_FALSE(reconcileWithMasterText(kept, utf8, 1, 1).refused);
    ASSERT_EQ(kept.size(), 2u);
    EXPECT_EQ(kept[0].mark, students[0].mark);
    EXPECT_EQ(kept[1].lastName, "\xC9vans");

    expectRefused(students, msg::tl5NoStudentInfo(), 2, 101);  // three added
    expectRefused(students, msg::tl5NoStudentInfo(), 101, 0);  // one dropped
    test::setFileAgeDays(master(), 31);
    expectRefused(students, msg::tl4MasterTooOld(31));
    test::setFileAgeDays(master(), 30);
    std::vector<StudentRecord> fits = students;
    EXPECT_FALSE(reconcile(fits, 3, 1).refused);

    EXPECT_EQ(
        msg::tl5NoStudentInfo(),
        (Notice{"TL5: You need to be at school to have access to the current student info."}));
    EXPECT_EQ(msg::tl4MasterTooOld(31),
              (Notice{"TL4: The Trillium class data file is 31 days old. A more recent copy needs "
                      "to be created. \r\nPlease contact the Tallyleaf Administrator in your "
                      "school.",
                      "Trillium Class File Too Old"}));
}

}  // namespace
}  // namespace tl::test
