#include "entry/detail_lines.h"

#include <gtest/gtest.h>

#include "core/test_support.h"

namespace tl {
namespace {

using test::makeStudent;
using test::phraseTable;

// A phrase of exactly n characters once cleaned (n - 2 letters, then ". ").
std::string phraseOfLength(int n) {
    return std::string(static_cast<std::size_t>(n - 2), 'x');
}

StudentRecord panelStudent() {
    StudentRecord s = makeStudent("ENG2D1-01", "Lindqvist", "Mara", "987654321");
    s.mark = "78";
    s.comments[0] = "0001";
    s.skills = {"1", "2", "3", "4", "", "3"};
    s.interview = "Y";
    return s;
}

TEST(DetailPanel, LinesFollowTheLayoutWithoutCourseCodes) {
    const auto phrases = phraseTable({{"0001", "@ reads widely.", "1"}});
    const DetailLines d = buildDetailLines(panelStudent(), phrases, false);
    const std::string text = "[0001] Mara reads widely. ";
    EXPECT_EQ(d.lines[0], std::string("987654321") + std::string(7, ' ') + "Mark  " + text +
                              std::string(75 - text.size(), ' ') + " Learning Skills");
    EXPECT_EQ(d.lines[1], "Lindqvist" + std::string(9, ' ') + "78  " + std::string(75, ' ') +
                              " RE OR IW CO IN SR");
    EXPECT_EQ(d.lines[2],
              "Mara" + std::string(18, ' ') + std::string(75, ' ') + "  1  2  3  4    3");
    EXPECT_EQ(d.lines[3], std::string(22, ' ') + std::string(75, ' ') + " Interview Request: Y");
    EXPECT_EQ(d.lines[4], std::string(22, ' ') + std::string(75, ' '));
    EXPECT_TRUE(d.remainder.empty());
    EXPECT_FALSE(d.tooLong);
}

TEST(DetailPanel, CourseCodesWidenTheNameColumn) {
    const auto phrases = phraseTable({{"0001", "@ reads widely.", "1"}});
    const DetailLines d = buildDetailLines(panelStudent(), phrases, true);
    EXPECT_EQ(d.lines[0].substr(0, 29), "987654321    ENG2D1-01 Mark  ");
    EXPECT_EQ(d.lines[1].substr(0, 29), "Lindqvist" + std::string(16, ' ') + "78  ");
    EXPECT_EQ(d.lines[2].substr(0, 30), "Mara" + std::string(25, ' ') + " ");
    EXPECT_EQ(d.lines[3], std::string(29, ' ') + std::string(75, ' ') + " Interview : Y");
    EXPECT_EQ(d.lines[4].size(), 29u + 75u);
}

TEST(DetailPanel, RemainderOf72IsShortenedAnd71IsNot) {
    StudentRecord s = panelStudent();
    s.freeFormUsed = true;
    // Four full lines of 75 characters (words of 4 + blank), then the remainder.
    std::string four;
    while (four.size() < 300)
        four += "abcd ";
    for (int extra : {71, 72}) {
        s.freeFormText = four + std::string(static_cast<std::size_t>(extra), 'r');
        const DetailLines d = buildDetailLines(s, {}, false);
        ASSERT_EQ(d.remainder.size(), static_cast<std::size_t>(extra));
        if (extra == 72) {
            EXPECT_EQ(d.lines[4], std::string(22, ' ') + std::string(72, 'r') + " ...");
        } else {
            EXPECT_EQ(d.lines[4], std::string(22, ' ') + std::string(71, 'r') + "    ");
        }
    }
}

TEST(DetailPanel, LengthWarningAbove460ButNeverForFreeForm) {
    StudentRecord s = panelStudent();
    s.comments = {"0001", "0002", "", "", ""};
    for (int second : {200, 201}) {
        const auto phrases = phraseTable(
            {{"0001", phraseOfLength(260), "1"}, {"0002", phraseOfLength(second), "1"}});
        EXPECT_EQ(buildDetailLines(s, phrases, false).tooLong, second == 201) << second;
        s.freeFormUsed = true;
        s.freeFormText = std::string(900, 'y');
        EXPECT_FALSE(buildDetailLines(s, phrases, false).tooLong);
        s.freeFormUsed = false;
    }
}

TEST(GridRow, StudentIdAndFreeFormWords) {
    EXPECT_EQ(studentIdCell("987654321"), "987-654-321");
    EXPECT_EQ(studentIdCell("12345"), "123-45-345");
    EXPECT_EQ(studentIdCell(""), "--");

    StudentRecord s = panelStudent();
    s.freeFormUsed = true;
    s.esl = "Y";
    const auto cells = gridRowTexts(s, true);
    EXPECT_EQ(cells[1], "ENG2D1-01: Lindqvist");
    EXPECT_EQ((std::array<std::string, 5>{cells[4], cells[5], cells[6], cells[7], cells[8]}),
              (std::array<std::string, 5>{"Free", "Form", "Code", "Click", "Below"}));
    EXPECT_EQ(cells[9], "1");
    EXPECT_EQ(cells[16], "Y");
    EXPECT_EQ(cells[18], "Y");
    // The record keeps its codes while the words are shown.
    EXPECT_EQ(s.comments[0], "0001");
    EXPECT_EQ(gridRowTexts(s, false)[1], "Lindqvist");
}

}  // namespace
}  // namespace tl
