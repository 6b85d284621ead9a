#include "entry/class_report.h"

#include "core/test_support.h"

namespace tl::test {
namespace {

// The panel lines of a free-form comment that fills four lines and leaves remainder characters.
DetailLines detailsWithRemainder(std::size_t remainder, bool course) {
    StudentRecord s = makeStudent("SCH3U1-02", "Okonkwo", "Ada", "111222333");
    s.freeFormUsed = true;
    s.freeFormText = repeated("abcd ", 60) + std::string(remainder, 'r');
    return buildDetailLines(s, {}, course);
}

TEST(ClassReport, HeadingCarriesDateAndTime) {
    std::tm when{};
    when.tm_year = 2026 - 1900;
    when.tm_mday = 5;
    when.tm_hour = 7;
    when.tm_min = 4;
    when.tm_sec = 9;
    EXPECT_EQ(classReportHeading(when),
              "Tallyleaf v3.3 Growing Success ~ Class Report ~ 01-05-2026 ~ 07:04:09");
}

TEST(ClassReport, StudentBlockAddsFlagsAndBlankLine) {
    StudentRecord s = makeStudent("SCH3U1-02", "Okonkwo", "Ada", "111222333");
    s.iep = s.eld = "Y";
    const DetailLines d = buildDetailLines(s, {}, false);
    // No comment text: line 4 holds the interview, line 5 is blank and not printed.
    EXPECT_EQ(
        studentReportLines(s, d, false),
        (std::vector<std::string>{"   " + d.lines[0], "   " + d.lines[1] + " IEP ESL ELD",
                                  "   " + d.lines[2] + "   Y       Y", "   " + d.lines[3], " "}));
    const DetailLines shortRest = detailsWithRemainder(71, false);
    EXPECT_EQ(studentReportLines(s, shortRest, false).at(4), "   " + shortRest.lines[4]);
}

TEST(ClassReport, RemainderLinesSplitAt72And145) {
    struct Case {
        std::size_t remainder;
        std::vector<std::size_t> pieces;
    };
    for (const Case& c :
         {Case{72, {72, 0}}, Case{100, {72, 28}}, Case{144, {72, 72}}, Case{145, {72, 72, 1}}}) {
        for (const bool course : {false, true}) {
            SCOPED_TRACE(std::to_string(c.remainder) + (course ? " course" : ""));
            const std::string indent(course ? 32 : 25, ' ');
            const auto lines = studentReportLines(
                StudentRecord{}, detailsWithRemainder(c.remainder, course), course);
            ASSERT_EQ(lines.size(), 4 + c.pieces.size() + 1);
            for (std::size_t i = 0; i < c.pieces.size(); ++i)
                EXPECT_EQ(lines[4 + i], indent + std::string(c.pieces[i], 'r'));
        }
    }
}

}  // namespace
}  // namespace tl::test
