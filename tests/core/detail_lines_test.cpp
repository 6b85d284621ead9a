#include "entry/detail_lines.h"

#include "core/test_support.h"

namespace tl::test {
namespace {

const std::string kBlank75(75, ' ');

StudentRecord panelStudent() {
    StudentRecord s = makeStudent("ENG2D1-01", "Lindqvist", "Mara", "987654321");
    s.mark = "78";
    s.comments[0] = "0001";
    s.skills = {"1", "2", "3", "4", "", "3"};
    s.interview = "Y";
    return s;
}

TEST(DetailPanel, LinesFollowTheLayoutOfBothWidths) {
    const std::vector<Phrase> phrases = {{"0001", "@ reads widely.", "1"}};
    const std::string text = "[0001] Mara reads widely. ";
    const std::string comment = text + std::string(75 - text.size(), ' ');
    DetailLines d = buildDetailLines(panelStudent(), phrases, false);
    EXPECT_EQ(d.lines,
              (std::array<std::string, 5>{
                  "987654321" + std::string(7, ' ') + "Mark  " + comment + " Learning Skills",
                  "Lindqvist" + std::string(9, ' ') + "78  " + kBlank75 + " RE OR IW CO IN SR",
                  "Mara" + std::string(18, ' ') + kBlank75 + "  1  2  3  4    3",
                  std::string(22, ' ') + kBlank75 + " Interview Request: Y",
                  std::string(22, ' ') + kBlank75}));
    EXPECT_TRUE(d.remainder.empty());
    EXPECT_FALSE(d.tooLong);

    d = buildDetailLines(panelStudent(), phrases, true);
    EXPECT_EQ(
        d.lines,
        (std::array<std::string, 5>{
            "987654321    ENG2D1-01 Mark  " + comment + " Learning Skills",
            "Lindqvist" + std::string(16, ' ') + "78  " + kBlank75 + " RE OR IW CO IN SR",
            "Mara" + std::string(25, ' ') + kBlank75 + "  1  2  3  4    3",
            std::string(29, ' ') + kBlank75 + " Interview : Y", std::string(29, ' ') + kBlank75}));
}

TEST(DetailPanel, RemainderOf72IsShortenedAndLengthWarnedAbove460ButNotForFreeForm) {
    StudentRecord s = panelStudent();
    s.freeFormUsed = true;
    for (const bool course : {false, true}) {
        for (const std::size_t rest : {71, 72}) {
            // Four full lines of 75 characters, then the rest.
            s.freeFormText = repeated("abcd ", 60) + std::string(rest, 'r');
            const DetailLines d = buildDetailLines(s, {}, course);
            EXPECT_EQ(d.remainder, std::string(rest, 'r'));
            EXPECT_EQ(d.lines[4], std::string(course ? 29 : 22, ' ') + std::string(rest, 'r') +
                                      (rest == 72 ? " ..." : "    "));
        }
    }
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

TEST(GridRow, StudentIdAndFreeFormWords) {
    StudentRecord s = panelStudent();
    s.freeFormUsed = true;
    s.esl = "Y";
    const auto cells = gridRowTexts(s, true);
    EXPECT_EQ((std::vector<std::string>(cells.begin(), cells.begin() + 10)),
              (std::vector<std::string>{"987-654-321", "ENG2D1-01: Lindqvist", "Mara", "78", "Free",
                                        "Form", "Code", "Click", "Below", "1"}));
    EXPECT_EQ(cells[16] + cells[18], "YY");
    EXPECT_EQ(gridRowTexts(s, false)[1], "Lindqvist");
}

}  // namespace
}  // namespace tl::test
