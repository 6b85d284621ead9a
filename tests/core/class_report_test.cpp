#include "entry/class_report.h"

#include <algorithm>

#include "core/printed_page.h"
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

TEST(ClassReport, HeadingAndAStudentBlockWithFlagsAndBlankLine) {
    std::tm when{};
    strptime("2026-01-05 07:04:09", "%Y-%m-%d %H:%M:%S", &when);
    EXPECT_EQ(classReportHeading(when),
              "Tallyleaf v3.3 Growing Success ~ Class Report ~ 01-05-2026 ~ 07:04:09");
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
    const std::pair<std::size_t, std::vector<std::size_t>> cases[] = {
        {72, {72, 0}}, {100, {72, 28}}, {144, {72, 72}}, {145, {72, 72, 1}}};
    for (const auto& [remainder, pieces] : cases) {
        for (const bool course : {false, true}) {
            SCOPED_TRACE(std::to_string(remainder) + (course ? " course" : ""));
            const std::string indent(course ? 32 : 25, ' ');
            const auto lines = studentReportLines(StudentRecord{},
                                                  detailsWithRemainder(remainder, course), course);
            ASSERT_EQ(lines.size(), 4 + pieces.size() + 1);
            for (std::size_t i = 0; i < pieces.size(); ++i)
                EXPECT_EQ(lines[4 + i], indent + std::string(pieces[i], 'r'));
        }
    }
}

TEST(ClassReport, PagesBreakOnlyBetweenStudentsAndFitTheLandscapePage) {
    // The longest blocks: a new class code for each student and a remainder of three lines.
    // Short blocks of six lines in between make the counter land on every value.
    std::vector<StudentRecord> students;
    for (int i = 0; i < 40; ++i) {
        students.push_back(makeStudent("SCH3U1-" + std::to_string(i), "Okonkwo", "Ada"));
        students.back().freeFormUsed = i % 3 != 0;
        students.back().freeFormText = repeated("abcd ", 60) + std::string(150, 'r');
    }
    const auto pages = classReportPages(students, {}, true);
    ASSERT_GT(pages.size(), 3u);
    int next = 0;
    double fullest = 0;
    for (std::size_t p = 0; p < pages.size(); ++p) {
        // The heading: a 10-point line, two of 12 points and a blank of 9.
        double height =
            p == 0 ? PageFill::advance(10) + 2 * PageFill::advance(12) + PageFill::advance(9) : 0;
        int counted = p == 0 ? 3 : 0;
        // A later page opens with the two empty lines.
        EXPECT_EQ(p > 0, pages[p].front().student == -1);
        for (const ReportBlock& block : pages[p]) {
            if (block.student < 0) {
                EXPECT_TRUE(p > 0 && &block == &pages[p].front());
                EXPECT_EQ(block.lines, (std::vector<std::string>{"", ""}));
            } else {
                EXPECT_EQ(block.student, next++);
                EXPECT_LE(counted, kReportPageLines) << "a block began above the counter's limit";
                EXPECT_LE(block.lines.size(), static_cast<std::size_t>(kLongestReportBlock));
            }
            counted += static_cast<int>(block.lines.size());
            height += block.lines.size() * PageFill::advance(9);
        }
        EXPECT_TRUE(p + 1 == pages.size() || counted > kReportPageLines);
        fullest = std::max(fullest, height);
    }
    EXPECT_EQ(next, 40);
    EXPECT_LE(fullest, printableHeight(kA4LandscapeHeightPt));
    EXPECT_LE(fullest, printableHeight(kLetterLandscapeHeightPt));
}

}  // namespace
}  // namespace tl::test
