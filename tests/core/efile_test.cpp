#include "export/efile.h"

#include "core/test_support.h"

namespace tl::test {
namespace {

const std::vector<Phrase> kPhrases = {
    {"0101", "$ reads closely and cites evidence well.", "1"},
    {"0102", "@ asks thoughtful questions in class.", "1"},
    {"0201", std::string(298, 'w'), "9"},  // composes to 300 characters
    {"0202", std::string(158, 'w'), "9"},  // 160
    {"0203", std::string(159, 'w'), "9"},  // 161
};

// A student who passes every completeness test.
StudentRecord complete(const std::string& last) {
    StudentRecord s = makeStudent("SCI2D1-03", last, "Ivo");
    s.mark = "75";
    s.comments[0] = "0101";
    return s;
}

class EFileTest : public TempDirTest {};

// The golden cases hold the eFile of whole classes; this student brings the
// field rules they lack: a dashed number, ESL "N" beside ELD, an interview
// request in lower case, a skill outside 1 to 4 and double quotes in a
// free-form comment.
TEST_F(EFileTest, WritesTheFieldRulesTheGoldenClassesLackAndTL20WhenItCannot) {
    StudentRecord s = makeStudent("ENG2D1-02", "Oduya", "Tamsin", "123-456-789");
    s.trilliumField8 = "K2";
    s.mark = "66";
    s.esl = "N";
    s.eld = "Y";
    s.interview = "y";
    s.skills[kSR] = "9";
    s.freeFormUsed = true;
    s.freeFormText = "Tamsin leads group work, and \"listens\" well.";
    EXPECT_EQ(exportTrilliumClass(file("eng.trc"), {s}, kPhrases), std::nullopt);
    EXPECT_EQ(readBytes(dir() / "eng.trc"),
              "ENG2D1-02,Oduya,Tamsin,123-45789,,F,K2,0,ELD,66,0,0,G,,G,,G,,"
              "\"Tamsin leads group work, and 'listens' well.\",G,G,,0,0\r\n");
    EXPECT_EQ(exportTrilliumClass(file("none.trc"), {}, kPhrases), std::nullopt);
    EXPECT_EQ(readBytes(dir() / "none.trc"), "");
    EXPECT_EQ(saveWhileWritesFail(dir() / "eng.trc",
                                  [&] { return exportTrilliumClass(file("eng.trc"), {s}, {}); }),
              msg::tl20EFileNotSaved());
}

TEST(ExportChecks, LengthThenMarkThenCommentThenSkillsAndTheReports) {
    StudentRecord s = complete("Pell");
    s.comments = {"0201", "0202", "", "", ""};  // 460 characters
    EXPECT_EQ(firstProblem(s, kPhrases), "");
    s.comments[1] = "0203";
    s.mark = "";
    s.skills[kCO] = "";
    EXPECT_EQ(firstProblem(s, kPhrases), "  Comments exceed max Trillium length");
    s.freeFormUsed = true;  // passes the length and comment tests whatever the codes
    EXPECT_EQ(firstProblem(s, kPhrases), "  has no mark");
    s.mark = "I";
    EXPECT_EQ(firstProblem(s, kPhrases), "  one or more missing Learning Skills");
    s.freeFormUsed = false;
    // Codes that compose to no text (blanks, codes the library lacks) would give
    // the eFile an empty comment; one known code is enough.
    for (const char* unknown : {"", " ", "  ", "   ", "    ", "9999"}) {
        s.comments.fill(unknown);
        s.skills[kCO] = "";
        EXPECT_EQ(firstProblem(s, kPhrases), "  has no comment") << '"' << unknown << '"';
        s.comments[3] = kPhrases[0].code;
        s.skills[kCO] = "2";
        EXPECT_EQ(firstProblem(s, kPhrases), "") << '"' << unknown << '"';
    }
    // The golden cases hold the wording of both reports.
    EXPECT_TRUE(problemReport({complete("Pell"), complete("Abara")}, kPhrases).empty());
    const std::vector<StudentRecord> gone = {makeStudent("A-1", "Farrow", "Nell"),
                                             makeStudent("A-1", "Grist", "Oren")};
    const std::vector<StudentRecord> added = {makeStudent("A-1", "Hale", "Pim")};
    const std::vector<std::string> full = discrepancyReport(gone, added);
    ASSERT_EQ(full.size(), 19u);
    EXPECT_EQ(full[6] + "|" + full[8] + "|" + full[9] + "|" + full[14],
              "The following students are no longer enrolled in your class(s):|Farrow Nell|"
              "Grist Oren|Hale Pim");
    // Without one of the lists, its block (lines 7 to 10, or 11 to 15) is left out.
    auto without = [&](int from, int to) {
        std::vector<std::string> lines = full;
        lines.erase(lines.begin() + from, lines.begin() + to);
        return lines;
    };
    EXPECT_EQ(discrepancyReport(gone, {}), without(10, 15));
    EXPECT_EQ(discrepancyReport({}, added), without(6, 10));
}

TEST(Preview, RowsOfShortLongAndFreeFormComments) {
    StudentRecord lena = makeStudent("ENG2D1-02", "Brightwater", "Lena", "301200001");
    lena.mark = "84";
    lena.comments = {"0101", "", "0102", "", ""};
    lena.skills = {"1", "2", "3", "4", "", "9"};
    lena.iep = lena.eld = "Y";
    auto rows = previewRows(lena, kPhrases);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1], (PreviewRow{"ENG2D1-02", "301200001", "Brightwater", "Lena", "84",
                                   "thoughtful questions in class. ", "1", "2", "3", "4", "", "9",
                                   "Y", "", "Y", "0"}));
    EXPECT_EQ(rows[0][5], "[0101] Lena reads closely and cites evidence well. [0102] She asks ");
    EXPECT_EQ(rows[2][4] + rows[2][5], "84");
    for (int r : {0, 2})  // the skills and flags only on the second row
        EXPECT_EQ(rows[r][6] + rows[r][11] + rows[r][12] + rows[r][14] + rows[r][15], "") << r;
    lena.freeFormUsed = true;
    lena.freeFormText = "Lena leads group work, and \"listens\" well.";
    EXPECT_EQ(previewRows(lena, kPhrases).at(0)[5],
              "[FreeFormComment] Lena leads group work, and \"listens\" well.");

    // Five comments of 71 characters: four full rows, then the remainder in a fifth.
    const std::string phrase = "Bryn gathers data with care and shares it with the whole group";
    const std::string line = "[0301] " + phrase + ". ";
    StudentRecord s = makeStudent("SCI2D1-03", "Quell", "Bryn");
    s.comments.fill("0301");
    rows = previewRows(s, {{"0301", phrase, "1"}});
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0][5] + rows[1][5] + rows[2][5] + rows[3][5], line + line + line + line);
    EXPECT_EQ(rows[4][5] + rows[4][2], line + "Quell");
}

}  // namespace
}  // namespace tl::test
