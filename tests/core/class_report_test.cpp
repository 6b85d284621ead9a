// SPDX-License-Identifier: GPL-3.0-or-later

#include "entry/class_report.h"

#include "core/printed_page.h"
#include "core/test_support.h"
#include "entry/detail_lines.h"

namespace tl::test {
namespace {

// The golden cases hold the panel lines, grid rows, heading and report of whole
// classes in both layouts; these are the boundaries and limits they lack.

// The panel lines of a free-form comment that fills four lines of 75 characters
// and leaves remainder characters.
DetailLines detailsWithRemainder(std::size_t remainder, bool course) {
    StudentRecord s = makeStudent("SCH3U1-02", "Okonkwo", "Ada", "111222333");
    s.freeFormUsed = true;
    s.freeFormText = repeated("abcd ", 60) + std::string(remainder, 'r');
    return buildDetailLines(s, {}, course);
}

TEST(ClassReport, ThePanelShortensARemainderOf72WhichTheReportPrintsIn72CharacterLines) {
    // The remainder and the lengths of the report's lines for it; up to 71
    // characters the report prints the panel's fifth line.
    const std::pair<std::size_t, std::vector<std::size_t>> cases[] = {
        {71, {}}, {72, {72, 0}}, {100, {72, 28}}, {144, {72, 72}}, {145, {72, 72, 1}}};
    for (const auto& [remainder, pieces] : cases) {
        for (const bool course : {false, true}) {
            SCOPED_TRACE(std::to_string(remainder) + (course ? " course" : ""));
            const DetailLines d = detailsWithRemainder(remainder, course);
            const std::string rest(remainder, 'r');
            EXPECT_EQ(d.remainder, rest);
            EXPECT_EQ(d.lines[4], std::string(course ? 29 : 22, ' ') + rest.substr(0, 72) +
                                      (remainder < 72 ? "    " : " ..."));
            std::vector<std::string> expected;
            for (const std::size_t piece : pieces)
                expected.push_back(std::string(course ? 32 : 25, ' ') + std::string(piece, 'r'));
            if (pieces.empty()) expected = {"   " + d.lines[4]};
            const auto lines = studentReportLines(StudentRecord{}, d, course);
            ASSERT_GT(lines.size(), 4u);
            EXPECT_EQ(std::vector(lines.begin() + 4, lines.end() - 1), expected);
        }
    }
}

TEST(DetailPanel, CodedCommentsAreWarnedAbove460CharactersButAFreeFormCommentIsNot) {
    StudentRecord s = makeStudent("ENG2D1-01", "Lindqvist", "Mara", "987654321");
    s.comments = {"0001", "0002", "", "", ""};
    for (const std::size_t second : {200, 201}) {
        // 260 and 200 or 201 characters once cleaned.
        const std::vector<Phrase> phrases = {{"0001", std::string(258, 'x'), "1"},
                                             {"0002", std::string(second - 2, 'x'), "1"}};
        s.freeFormUsed = false;
        EXPECT_EQ(buildDetailLines(s, phrases, false).tooLong, second == 201) << second;
        s.freeFormUsed = true;
        s.freeFormText = std::string(900, 'y');
        EXPECT_FALSE(buildDetailLines(s, phrases, false).tooLong);
    }
}

// The golden class demo-class holds the order of the blocks and the two empty
// lines that open each later page.
TEST(ClassReport, PagesBreakOnceTheCounterPassesItsLimitAndFitTheLandscapePage) {
    // A new class code for each student; no comment or a remainder of one to three
    // lines gives blocks of six to nine lines, so that the counter lands on every value.
    std::vector<StudentRecord> students;
    for (int i = 0; i < 40; ++i) {
        students.push_back(makeStudent("SCH3U1-" + std::to_string(i), "Okonkwo", "Ada"));
        students.back().freeFormUsed = i % 4 != 0;
        students.back().freeFormText = repeated("abcd ", 60) + std::string(50 * (i % 4), 'r');
    }
    const auto pages = classReportPages(students, {}, true);
    ASSERT_GT(pages.size(), 3u);
    for (std::size_t p = 0; p < pages.size(); ++p) {
        // The heading: a 10-point line, two of 12 points and a blank of 9.
        // Every line fits, glyphs and all, on landscape A4, lower than Letter.
        PageFill fill(printableHeight(kA4LandscapeHeightPt));
        for (const double size : {10.0, 12.0, 12.0, 9.0})
            if (p == 0) fill.add(size);
        int counted = p == 0 ? 3 : 0;
        for (const ReportBlock& block : pages[p]) {
            EXPECT_LE(counted, kReportPageLines) << "a block began above the counter's limit";
            counted += static_cast<int>(block.lines.size());
            for (std::size_t i = 0; i < block.lines.size(); ++i) {
                EXPECT_TRUE(fill.fits(9)) << p;
                fill.add(9);
            }
        }
        EXPECT_TRUE(p + 1 == pages.size() || counted > kReportPageLines);
    }
}

}  // namespace
}  // namespace tl::test
