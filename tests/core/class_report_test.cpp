#include "entry/class_report.h"

#include <gtest/gtest.h>

#include "core/test_support.h"

namespace tl {
namespace {

DetailLines detailsWithRemainder(std::size_t remainder, bool course) {
    StudentRecord s = test::makeStudent("SCH3U1-02", "Okonkwo", "Ada", "111222333");
    s.freeFormUsed = true;
    std::string four;
    while (four.size() < 300)
        four += "abcd ";
    s.freeFormText = four + std::string(remainder, 'r');
    return buildDetailLines(s, {}, course);
}

TEST(ClassReport, HeadingCarriesDateAndTime) {
    std::tm when{};
    when.tm_year = 2026 - 1900;
    when.tm_mon = 0;
    when.tm_mday = 5;
    when.tm_hour = 7;
    when.tm_min = 4;
    when.tm_sec = 9;
    EXPECT_EQ(classReportHeading(when),
              "Tallyleaf v3.3 Growing Success ~ Class Report ~ 01-05-2026 ~ 07:04:09");
}

TEST(ClassReport, StudentBlockAddsFlagsAndBlankLine) {
    StudentRecord s = test::makeStudent("SCH3U1-02", "Okonkwo", "Ada", "111222333");
    s.iep = "Y";
    s.eld = "Y";
    const DetailLines d = buildDetailLines(s, {}, false);
    const auto lines = studentReportLines(s, d, false);
    // No comment text: line 4 holds the interview, line 5 is blank and not printed.
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "   " + d.lines[0]);
    EXPECT_EQ(lines[1], "   " + d.lines[1] + " IEP ESL ELD");
    EXPECT_EQ(lines[2], "   " + d.lines[2] + "   Y       Y");
    EXPECT_EQ(lines[3], "   " + d.lines[3]);
    EXPECT_EQ(lines[4], " ");
}

TEST(ClassReport, RemainderLinesSplitAt72And144) {
    struct Case {
        std::size_t remainder;
        std::vector<std::size_t> pieces;
    };
    for (const Case& c : {Case{100, {72, 28}}, Case{150, {72, 72, 6}}, Case{144, {72, 72}}}) {
        for (bool course : {false, true}) {
            const std::size_t indent = course ? 32 : 25;
            const DetailLines d = detailsWithRemainder(c.remainder, course);
            StudentRecord s;
            const auto lines = studentReportLines(s, d, course);
            ASSERT_EQ(lines.size(), 4 + c.pieces.size() + 1) << c.remainder;
            for (std::size_t i = 0; i < c.pieces.size(); ++i) {
                EXPECT_EQ(lines[4 + i], std::string(indent, ' ') + std::string(c.pieces[i], 'r'));
            }
        }
    }
}

TEST(ClassReport, ShortRemainderPrintsTheFifthDetailLine) {
    const DetailLines d = detailsWithRemainder(30, false);
    StudentRecord s;
    const auto lines = studentReportLines(s, d, false);
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[4], "   " + d.lines[4]);
}

}  // namespace
}  // namespace tl
