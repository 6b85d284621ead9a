#include "core/master_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/messages.h"
#include "core/test_support.h"

namespace tl {
namespace {

namespace fs = std::filesystem;
using test::makeMarkedStudent;
using test::writeBytes;

std::string masterLine(const std::string& last, const std::string& first, const std::string& number,
                       const std::string& timetable, const std::string& gender = "F",
                       const std::string& f14 = "P") {
    return last + "," + first + "," + gender + "," + number + ",u5,u6,u7,Q1,u9,u10,u11,u12,u13," +
           f14 + "," + timetable;
}

std::time_t localTime(int year, int month, int day, int hour, int minute) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_isdst = -1;
    return std::mktime(&t);
}

// No mark, no comments, no flags, every skill "3", interview "0".
void expectDefaults(const StudentRecord& s) {
    StudentRecord fresh = test::makeStudent(s.classCode, s.lastName, s.firstName, s.studentNumber);
    fresh.gender = s.gender;
    fresh.trilliumField8 = s.trilliumField8;
    fresh.trilliumField14 = s.trilliumField14;
    EXPECT_EQ(s, fresh);
}

TEST(MasterLine, QuotedNameWithCommaKeepsTheColumns) {
    const std::string line =
        masterLine("\"Smith, Jr.\"", "Lee", "123456789", "ENG3U-01 MTH4U-02", "M", "P9") + ",x";
    EXPECT_EQ(timetableField(line), "ENG3U-01 MTH4U-02");
    const MasterStudent m = parseMasterLine(line);
    EXPECT_EQ(m.lastName, "Smith, Jr.");
    EXPECT_EQ(m.firstName, "Lee");
    EXPECT_EQ(m.gender, "M");
    EXPECT_EQ(m.studentNumber, "123456789");
    EXPECT_EQ(m.field8, "Q1");
    EXPECT_EQ(m.field14, "P9");
    EXPECT_EQ(m.rest, "ENG3U-01 MTH4U-02,x");
    EXPECT_TRUE(studentInSection(m.rest, "MTH4U"));
    EXPECT_FALSE(studentInSection(m.rest, "mth4u"));
}

TEST(ClassSections, SkipsNonSectionWordsAndSortsByCharacterCode) {
    EXPECT_TRUE(isNonSectionWord("LUNCH2"));
    EXPECT_TRUE(isNonSectionWord("SH1A"));
    EXPECT_TRUE(isNonSectionWord("ZSTUDY"));
    EXPECT_FALSE(isNonSectionWord("lunch"));
    EXPECT_FALSE(isNonSectionWord("SH2"));
    EXPECT_FALSE(isNonSectionWord("AZ"));
    const std::vector<std::string> lines = {
        masterLine("A", "A", "1", "MTH4U-02 LUNCH1 ENG3U-01"),
        masterLine("B", "B", "2", "ENG3U-01 SH1X ZSTUDY MTH4U-02 MTH4U-02"),
        masterLine("C", "C", "3", "  sci2d-01 lunch ZZ SCI2D-01 MTH10 "),
    };
    const auto sections = collectClassSections(lines);
    ASSERT_TRUE(sections.has_value());
    EXPECT_EQ(*sections, (std::vector<std::string>{"ENG3U-01", "MTH10", "MTH4U-02", "SCI2D-01",
                                                   "lunch", "sci2d-01"}));
}

TEST(ClassSections, MoreThan2001SectionsGiveNothing) {
    std::vector<std::string> lines;
    std::string timetable;
    for (int i = 0; i < 2001; ++i)
        timetable += "S" + std::to_string(10000 + i) + " ";
    lines.push_back(masterLine("A", "A", "1", timetable));
    lines.push_back(masterLine("B", "B", "2", "S10000 S12000"));  // repeats only
    const auto all = collectClassSections(lines);
    ASSERT_TRUE(all.has_value());
    EXPECT_EQ(all->size(), 2001u);
    lines.push_back(masterLine("C", "C", "3", "S99999"));
    EXPECT_FALSE(collectClassSections(lines).has_value());
}

TEST(SectionMatching, SubstringMatchGivesOneRecordPerCodeInFileOrder) {
    const std::vector<std::string> lines = {
        masterLine("Adams", "Ann", "101", "ENG3U-01 MTH4U-02"),
        masterLine("Brown", "Bo", "102", "ENG3U-02", "M", "P2"),
        masterLine("Chen", "Cy", "103", "MTH4U-02"),
        masterLine("Diaz", "Di", "104", "SCI2D-01"),
    };
    const auto records = matchStudentsToSections(lines, {"ENG3U", "MTH4U-02"}, 501);
    ASSERT_TRUE(records.has_value());
    ASSERT_EQ(records->size(), 4u);
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"ENG3U", "Adams"}, {"MTH4U-02", "Adams"}, {"ENG3U", "Brown"}, {"MTH4U-02", "Chen"}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ((*records)[i].classCode, expected[i].first) << i;
        EXPECT_EQ((*records)[i].lastName, expected[i].second) << i;
        expectDefaults((*records)[i]);
    }
    const StudentRecord& bo = (*records)[2];
    EXPECT_EQ(bo.firstName, "Bo");
    EXPECT_EQ(bo.studentNumber, "102");
    EXPECT_EQ(bo.gender, "M");
    EXPECT_EQ(bo.trilliumField8, "Q1");
    EXPECT_EQ(bo.trilliumField14, "P2");

    EXPECT_TRUE(matchStudentsToSections(lines, {"ENG3U", "MTH4U-02"}, 4).has_value());
    EXPECT_FALSE(matchStudentsToSections(lines, {"ENG3U", "MTH4U-02"}, 3).has_value());
}

TEST(MasterAge, CountsCalendarDays) {
    EXPECT_EQ(calendarDaysBetween(localTime(2024, 3, 9, 23, 59), localTime(2024, 3, 10, 0, 1)), 1);
    EXPECT_EQ(calendarDaysBetween(localTime(2024, 3, 9, 0, 1), localTime(2024, 3, 9, 23, 59)), 0);
    EXPECT_EQ(calendarDaysBetween(localTime(2024, 1, 31, 12, 0), localTime(2024, 3, 1, 9, 0)), 30);
    EXPECT_FALSE(masterFileTooOld(30));
    EXPECT_TRUE(masterFileTooOld(31));
}

class MasterFileTest : public test::TempDirTest {
  protected:
    std::string master_;
    void SetUp() override {
        TempDirTest::SetUp();
        master_ = file("TLStudentInfo.txt");
    }
    void writeMaster(std::initializer_list<std::string> lines) {
        std::string bytes = "Last,First,Gender,Number,...\r\n";
        for (const auto& line : lines)
            bytes += line + "\r\n";
        writeBytes(master_, bytes);
    }
    ReconcileResult reconcile(std::vector<StudentRecord>& students, std::size_t added = 101,
                              std::size_t dropped = 101) {
        return reconcileWithMaster(students, master_, std::time(nullptr), added, dropped);
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

TEST_F(MasterFileTest, FindsTheFileWithoutRegardToCase) {
    EXPECT_EQ(dataRootFolder("/a/b/prog"), "/a/b");
    EXPECT_EQ(fs::path(findMasterFile(dir().string())).lexically_normal(),
              (dir() / "data" / "TLStudentInfo.txt").lexically_normal());
    fs::create_directory(dir() / "DATA");
    writeBytes(dir() / "DATA" / "tlstudentinfo.TXT", "header\r\n");
    EXPECT_EQ(fs::path(findMasterFile(dir().string())).lexically_normal(),
              (dir() / "DATA" / "tlstudentinfo.TXT").lexically_normal());
}

TEST_F(MasterFileTest, StudentLinesFollowTheHeader) {
    writeBytes(master_, "Last,First\nAdams,Ann\rBrown,Bo\r\n");
    EXPECT_EQ(readMasterStudentLines(master_), (std::vector<std::string>{"Adams,Ann", "Brown,Bo"}));
    EXPECT_FALSE(readMasterStudentLines(file("missing.txt")).has_value());
}

TEST_F(MasterFileTest, AgeComesFromTheLastModification) {
    writeMaster({});
    const std::time_t now = std::time(nullptr);
    test::setFileAgeDays(master_, 30);
    EXPECT_EQ(masterFileAgeDays(master_, now), 30);
    test::setFileAgeDays(master_, 31);
    EXPECT_EQ(masterFileAgeDays(master_, now), 31);
    EXPECT_FALSE(masterFileAgeDays(file("missing.txt"), now).has_value());
}

TEST_F(MasterFileTest, EmptyClassIsNotReconciled) {
    std::vector<StudentRecord> none;
    const ReconcileResult r = reconcile(none);  // no master file at all
    EXPECT_FALSE(r.refused);
    EXPECT_FALSE(r.notice.has_value());
    EXPECT_TRUE(r.added.empty());
    EXPECT_TRUE(r.dropped.empty());
    EXPECT_TRUE(none.empty());
}

TEST_F(MasterFileTest, StudentsWhoStayKeepEveryEntryInMasterOrder) {
    StudentRecord ann = makeMarkedStudent("ENG3U-01", "Adams", "Ann", "100000001");
    ann.gender = "X";  // changed by the teacher
    StudentRecord bo = makeMarkedStudent("ENG3U-01", "Brown", "Bo", "100000002");
    bo.mark = "91";
    bo.comments = {"0100", "", "", "", ""};
    StudentRecord cy = makeMarkedStudent("ENG3U-02", "Chen", "Cy", "100000003");
    cy.skills = {"1", "1", "2", "2", "3", "3"};
    std::vector<StudentRecord> students = {ann, bo, cy};
    writeMaster({masterLine("Browne", "Bob", "100000002", "LUNCH ENG3U-01", "M", "P2"),
                 masterLine("Chen", "Cy", "100000003", "ENG3U-02", "F", "P3"),
                 masterLine("Adams", "Ann", "100000001", "ENG3U-01", "F", "P1")});

    const ReconcileResult r = reconcile(students);
    EXPECT_FALSE(r.refused);
    EXPECT_FALSE(r.notice.has_value());
    EXPECT_TRUE(r.added.empty());
    EXPECT_TRUE(r.dropped.empty());
    bo.lastName = "Browne";
    bo.firstName = "Bob";
    bo.trilliumField14 = "P2";
    cy.trilliumField14 = "P3";
    ann.trilliumField14 = "P1";
    EXPECT_EQ(students, (std::vector<StudentRecord>{bo, cy, ann}));
}

TEST_F(MasterFileTest, MovedStudentIsDroppedAndAdded) {
    const StudentRecord ann = makeMarkedStudent("ENG3U-01", "Adams", "Ann", "100000001");
    const StudentRecord bo = makeMarkedStudent("ENG3U-01", "Brown", "Bo", "100000002");
    const StudentRecord cy = makeMarkedStudent("ENG3U-02", "Chen", "Cy", "100000003");
    std::vector<StudentRecord> students = {ann, bo, cy};
    writeMaster({masterLine("Adams", "Ann", "100000001", "ENG3U-01"),
                 masterLine("Brown", "Bo", "100000002", "ENG3U-02", "M"),
                 masterLine("Chen", "Cy", "100000003", "ENG3U-02")});

    const ReconcileResult r = reconcile(students);
    EXPECT_FALSE(r.refused);
    ASSERT_EQ(r.dropped.size(), 1u);
    EXPECT_EQ(r.dropped[0], bo);
    ASSERT_EQ(r.added.size(), 1u);
    EXPECT_EQ(r.added[0].classCode, "ENG3U-02");
    EXPECT_EQ(r.added[0].gender, "M");
    expectDefaults(r.added[0]);
    StudentRecord annAfter = ann, cyAfter = cy;
    annAfter.trilliumField14 = cyAfter.trilliumField14 = "P";
    EXPECT_EQ(students, (std::vector<StudentRecord>{annAfter, r.added[0], cyAfter}));
}

TEST_F(MasterFileTest, StudentWhoLeftIsDroppedWithEveryEntry) {
    const StudentRecord ann = makeMarkedStudent("ENG3U-01", "Adams", "Ann", "100000001");
    StudentRecord bo = makeMarkedStudent("ENG3U-01", "Brown", "Bo", "100000002");
    bo.mark = "-1";  // a mark like any other, not a marker
    std::vector<StudentRecord> students = {ann, bo};
    writeMaster({masterLine("Adams", "Ann", "100000001", "ENG3U-01"),
                 masterLine("Brown", "Bo", "100000002", "SCI2D-01")});
    const ReconcileResult r = reconcile(students);
    EXPECT_FALSE(r.refused);
    EXPECT_EQ(r.dropped, std::vector<StudentRecord>{bo});
    EXPECT_TRUE(r.added.empty());
    ASSERT_EQ(students.size(), 1u);
    EXPECT_EQ(students[0].lastName, "Adams");
    EXPECT_EQ(students[0].mark, "78");
}

TEST_F(MasterFileTest, SecondLineForTheSameStudentAndSectionIsAdded) {
    const StudentRecord ann = makeMarkedStudent("ENG3U-01", "Adams", "Ann", "100000001");
    std::vector<StudentRecord> students = {ann};
    const std::string line = masterLine("Adams", "Ann", "100000001", "ENG3U-01");
    writeMaster({line, line});
    const ReconcileResult r = reconcile(students);
    EXPECT_FALSE(r.refused);
    EXPECT_TRUE(r.dropped.empty());
    ASSERT_EQ(students.size(), 2u);
    StudentRecord annAfter = ann;
    annAfter.trilliumField14 = "P";
    EXPECT_EQ(students[0], annAfter);
    expectDefaults(students[1]);
    ASSERT_EQ(r.added.size(), 1u);
    EXPECT_EQ(r.added[0], students[1]);
}

TEST_F(MasterFileTest, RefusedUpdateLeavesTheClassUnchanged) {
    const std::vector<StudentRecord> students = {
        makeMarkedStudent("ENG3U-01", "Adams", "Ann", "100000001"),
        makeMarkedStudent("ENG3U-01", "Brown", "Bo", "100000002")};

    expectRefused(students, msg::tl5NoStudentInfo());  // no master file
    EXPECT_EQ(msg::tl5NoStudentInfo().text,
              "TL5: You need to be at school to have access to the current student info.");

    writeMaster({masterLine("Adams", "Ann", "100000001", "ENG3U-01"),
                 masterLine("Evans", "Eve", "100000005", "ENG3U-01"),
                 masterLine("Fox", "Fay", "100000006", "ENG3U-01"),
                 masterLine("Gill", "Gus", "100000007", "ENG3U-01")});
    expectRefused(students, msg::tl5NoStudentInfo(), 2, 101);  // three added
    expectRefused(students, msg::tl5NoStudentInfo(), 101, 0);  // one dropped
    std::vector<StudentRecord> fits = students;
    EXPECT_FALSE(reconcile(fits, 3, 1).refused);

    test::setFileAgeDays(master_, 31);
    expectRefused(students, msg::tl4MasterTooOld(31));
    EXPECT_EQ(msg::tl4MasterTooOld(31).text,
              "TL4: The Trillium class data file is 31 days old. A more recent copy needs to be "
              "created. \r\nPlease contact the Tallyleaf Administrator in your school.");
    EXPECT_EQ(msg::tl4MasterTooOld(31).title, "Trillium Class File Too Old");
    test::setFileAgeDays(master_, 30);
    fits = students;
    EXPECT_FALSE(reconcile(fits, 3, 1).refused);
}

}  // namespace
}  // namespace tl
