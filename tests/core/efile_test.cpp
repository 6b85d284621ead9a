#include "export/efile.h"

#include "core/test_support.h"

namespace tl::test {
namespace {

const std::vector<Phrase> kPhrases = phraseTable({
    {"0101", "$ reads closely and cites evidence well.", "1"},
    {"0102", "@ asks thoughtful questions in class.", "1"},
    {"0103", "# lab reports are neat and complete.", "2"},
    {"0104", "\"Homework is, at times, late.\"", "3"},
    {"0201", std::string(298, 'w'), "9"},  // composes to 300 characters
    {"0202", std::string(158, 'w'), "9"},  // 160
    {"0203", std::string(159, 'w'), "9"},  // 161
});

// One student per field rule: coded comments with CM2 empty, six different
// skill values, both language flags; a comma in the last name, a short number
// and flags that are not "Y"; a free-form comment and a dashed number.
std::vector<StudentRecord> fixtureClass() {
    StudentRecord lena = makeStudent("ENG2D1-02", "Brightwater", "Lena", "301200001");
    lena.trilliumField8 = "K2";
    lena.mark = "84";
    lena.comments = {"0101", "", "0102", "", ""};
    lena.skills = {"1", "2", "3", "4", "", "9"};  // RE OR IW CO IN SR
    lena.iep = lena.esl = lena.eld = lena.interview = "Y";

    StudentRecord caspian = makeStudent("ENG2D1-02", "Smith, Jr.", "Caspian", "12345");
    caspian.gender = "M";
    caspian.mark = "71";
    caspian.comments = {"0103", "0104", "", "", ""};
    caspian.esl = "N";
    caspian.eld = "Y";
    caspian.interview = "y";

    StudentRecord tamsin = makeStudent("ENG2D1-02", "Oduya", "Tamsin", "123-456-789");
    tamsin.trilliumField8 = "K2";
    tamsin.mark = "66";
    tamsin.comments = {"0101", "0102", "", "", ""};
    tamsin.skills.fill("4");
    tamsin.freeFormUsed = true;
    tamsin.freeFormText = "Tamsin leads group work, and \"listens\" well.";
    tamsin.interview = "";
    return {lena, caspian, tamsin};
}

const std::string kFixtureEFile =
    "ENG2D1-02,Brightwater,Lena,301200001,,F,K2,1,ESL,84,0,0,G,,S,,0,,"
    "\"Lena reads closely and cites evidence well. She asks thoughtful questions in class. \","
    "N,E,,1,0\r\n"
    "ENG2D1-02,\"Smith, Jr.\",Caspian,12345345,,M,,0,ELD,71,0,0,G,,G,,G,,"
    "\"His lab reports are neat and complete. Homework is, at times, late. \",G,G,G,0,0\r\n"
    "ENG2D1-02,Oduya,Tamsin,123-45789,,F,K2,0,,66,0,0,E,,E,,E,,"
    "\"Tamsin leads group work, and 'listens' well.\",E,E,E,0,0\r\n";

// A student who passes every completeness test.
StudentRecord complete(const std::string& last) {
    StudentRecord s = makeStudent("SCI2D1-03", last, "Ivo");
    s.mark = "75";
    s.comments[0] = "0101";
    return s;
}

class EFileTest : public TempDirTest {};

TEST_F(EFileTest, WritesEveryFieldRuleByteExact) {
    EXPECT_EQ(exportTrilliumClass(file("eng.trc"), fixtureClass(), kPhrases), std::nullopt);
    EXPECT_EQ(readBytes(dir() / "eng.trc"), kFixtureEFile);
    EXPECT_EQ(exportTrilliumClass(file("none.trc"), {}, kPhrases), std::nullopt);
    EXPECT_EQ(readBytes(dir() / "none.trc"), "");
}

TEST_F(EFileTest, FailedWriteGivesTL20AndKeepsTheEarlierFile) {
    const Notice tl20{"TL20: The eFile could not be saved. No .trc file was created."};
    EXPECT_EQ(msg::tl20EFileNotSaved(), tl20);
    writeBytes(dir() / "eng.trc", "earlier eFile\r\n");
    Failure failure;  // the class needs about 9 KB
    withFileSizeLimit(1000, [&] {
        failure =
            exportTrilliumClass(file("eng.trc"), std::vector(60, fixtureClass()[0]), kPhrases);
    });
    EXPECT_EQ(failure, tl20);
    EXPECT_EQ(readBytes(dir() / "eng.trc"), "earlier eFile\r\n");
}

TEST(Completeness, LengthThenMarkThenCommentThenSkills) {
    StudentRecord s = complete("Pell");
    s.comments = {"0201", "0202", "", "", ""};  // 460 characters
    EXPECT_EQ(firstProblem(s, kPhrases), "");
    s.comments[1] = "0203";
    s.mark = "";
    s.skills[kCO] = "";
    EXPECT_EQ(firstProblem(s, kPhrases), "  Comments exceed max Trillium length");
    s.freeFormUsed = true;  // passes the length and comment tests whatever the codes
    EXPECT_EQ(firstProblem(s, kPhrases), "  has no mark");
    s.freeFormUsed = false;
    s.comments.fill("");
    EXPECT_EQ(firstProblem(s, kPhrases), "  has no mark");
    s.mark = "I";
    EXPECT_EQ(firstProblem(s, kPhrases), "  has no comment");
    s.comments.fill("    ");
    EXPECT_EQ(firstProblem(s, kPhrases), "  has no comment");
    s.freeFormUsed = true;
    EXPECT_EQ(firstProblem(s, kPhrases), "  one or more missing Learning Skills");
    s.freeFormUsed = false;
    s.skills[kCO] = "2";
    // Codes that compose to no text (one to three blanks, codes the library
    // lacks) would give the eFile an empty comment; one known code is enough.
    for (const char* unknown : {" ", "  ", "   ", "9999"}) {
        s.comments.fill(unknown);
        EXPECT_EQ(firstProblem(s, kPhrases), "  has no comment") << '"' << unknown << '"';
        s.comments[3] = kPhrases[0].code;
        EXPECT_EQ(firstProblem(s, kPhrases), "") << '"' << unknown << '"';
    }
}

TEST(Reports, ProblemAndDiscrepancyLines) {
    std::vector<StudentRecord> students = {complete("Pell"), complete("Abara"), complete("Voss")};
    EXPECT_TRUE(problemReport(students, kPhrases).empty());
    students[0].skills[kSR] = "";
    students[2].mark = "";
    students[2].comments.fill("");
    EXPECT_EQ(problemReport(students, kPhrases),
              (std::vector<std::string>{
                  "There are problems with your class.", "", "NO EXPORT FILE WILL BE CREATED!", "",
                  "Pell Ivo  one or more missing Learning Skills", "Voss Ivo  has no mark", "",
                  "Return to Mark / Comment Entry and check things again.",
                  "Everyone MUST have a mark, at least one comment and all 6 learning skills."}));

    const std::vector<StudentRecord> left = {makeStudent("A-1", "Farrow", "Nell"),
                                             makeStudent("A-1", "Grist", "Oren")};
    const std::vector<StudentRecord> joined = {makeStudent("A-1", "Hale", "Pim")};
    auto text = [](const std::vector<std::string>& lines) {
        std::string joined;
        for (const auto& line : lines)
            joined += line + "\n";
        return joined;
    };
    const std::string head =
        "There is a discrepancy between your file\nand the current master class list.\n\n"
        "NO EXPORT FILE WILL BE CREATED!\n\n\n";
    const std::string gone =
        "The following students are no longer enrolled in your class(s):\n\nFarrow Nell\n"
        "Grist Oren\n";
    const std::string added =
        "\n\nThe following students have been added to your class(s):\n\nHale Pim\n";
    const std::string tail =
        "\nYour classes HAVE been updated.\nReturn to Mark / Comment Entry and check things "
        "again\nand save this new and accurate class.\n";
    EXPECT_EQ(text(discrepancyReport(left, joined)), head + gone + added + tail);
    EXPECT_EQ(text(discrepancyReport(left, {})), head + gone + tail);
    EXPECT_EQ(text(discrepancyReport({}, joined)), head + added + tail);
}

TEST(Preview, RowsOfShortLongAndFreeFormComments) {
    auto rows = previewRows(fixtureClass()[0], kPhrases);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1], (std::array<std::string, 16>{"ENG2D1-02", "301200001", "Brightwater", "Lena",
                                                    "84", "thoughtful questions in class. ", "1",
                                                    "2", "3", "4", "", "9", "Y", "Y", "Y", "Y"}));
    EXPECT_EQ(rows[0][5], "[0101] Lena reads closely and cites evidence well. [0102] She asks ");
    EXPECT_EQ(rows[2][4] + rows[2][5], "84");
    for (int r : {0, 2})  // the skills and flags only on the second row
        EXPECT_EQ(rows[r][6] + rows[r][11] + rows[r][12] + rows[r][15], "") << r;

    EXPECT_EQ(previewRows(fixtureClass()[2], kPhrases).at(0)[5],
              "[FreeFormComment] Tamsin leads group work, and \"listens\" well.");

    // Five comments of 71 characters: four full rows, then the remainder in a fifth.
    const std::string phrase = "Bryn gathers data with care and shares it with the whole group";
    const std::string line = "[0301] " + phrase + ". ";
    StudentRecord s = makeStudent("SCI2D1-03", "Quell", "Bryn");
    s.comments.fill("0301");
    rows = previewRows(s, phraseTable({{"0301", phrase, "1"}}));
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(rows[0][5] + rows[1][5] + rows[2][5] + rows[3][5], line + line + line + line);
    EXPECT_EQ(rows[4][5] + rows[4][2], line + "Quell");
}

TEST(ExportNotices, TextsBeforeAndAfterSaving) {
    EXPECT_EQ(tl15AboutToSave(),
              (Notice{"TL15: You are now about to be prompted for a folder and file name for this "
                      "eFile.\r\nDepending on your school's established procedures:\r\n"
                      "-  select a special 'submit' folder OR \r\n"
                      "-  save it so you can email it to your designated secretary OR \r\n"
                      "-  save it to a disc or Flash Drive so you can take it to your designated "
                      "secretary."}));
    EXPECT_EQ(eFileSaved(),
              (Notice{"CONGRATULATIONS!!! You have saved your .trc file.\r\n"
                      "Depending on your school's established procedures:\r\n"
                      "-  you're done :-) YIPPEE!   OR \r\n"
                      "-  you must now email your Trillium secretary with the .trc file as an "
                      "attachment OR \r\n-  you must now take your disc or Flash Drive with the "
                      ".trc file to your Trillium secretary."}));
}

}  // namespace
}  // namespace tl::test
