#include "export/efile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/messages.h"
#include "core/test_support.h"

namespace tl {
namespace {

using test::makeStudent;
using test::readBytes;
using test::writeBytes;

const std::vector<Phrase> kPhrases = test::phraseTable({
    {"0101", "$ reads closely and cites evidence well.", "1"},
    {"0102", "@ asks thoughtful questions in class.", "1"},
    {"0103", "# lab reports are neat and complete.", "2"},
    {"0104", "\"Homework is, at times, late.\"", "3"},
    {"0201", std::string(298, 'w'), "9"},  // composes to 300 characters
    {"0202", std::string(158, 'w'), "9"},  // 160
    {"0203", std::string(159, 'w'), "9"},  // 161
});

// One student per field rule: coded comments with CM2 empty, six different
// skill values, both language flags; a comma in the last name and a short
// number; a free-form comment and a dashed number.
std::vector<StudentRecord> fixtureClass() {
    StudentRecord lena = makeStudent("ENG2D1-02", "Brightwater", "Lena", "301200001");
    lena.trilliumField8 = "K2";
    lena.mark = "84";
    lena.comments = {"0101", "", "0102", "", ""};
    lena.skills = {"1", "2", "3", "4", "", "9"};  // RE OR IW CO IN SR
    lena.iep = "Y";
    lena.esl = "Y";
    lena.eld = "Y";
    lena.interview = "Y";

    StudentRecord caspian = makeStudent("ENG2D1-02", "Smith, Jr.", "Caspian", "12345");
    caspian.gender = "M";
    caspian.mark = "71";
    caspian.comments = {"0103", "0104", "", "", ""};
    caspian.eld = "Y";

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
    "\"Tamsin leads group work, and \"listens\" well.\",E,E,E,0,0\r\n";

// A student who passes every completeness test.
StudentRecord complete(const std::string& last) {
    StudentRecord s = makeStudent("SCI2D1-03", last, "Ivo");
    s.mark = "75";
    s.comments[0] = "0101";
    return s;
}

class EFileTest : public test::TempDirTest {};

TEST_F(EFileTest, WritesEveryFieldRuleByteExact) {
    const std::vector<StudentRecord> students = fixtureClass();
    EXPECT_EQ(exportTrilliumClass(file("eng.trc"), students, kPhrases), std::nullopt);
    EXPECT_EQ(readBytes(dir() / "eng.trc"), kFixtureEFile);
    EXPECT_EQ(eFileText(students, kPhrases), kFixtureEFile);
    // The export leaves the class as it was.
    EXPECT_EQ(students, fixtureClass());
}

TEST_F(EFileTest, FlagsAndInterviewValues) {
    StudentRecord s = complete("Pell");
    auto fieldsOf = [](const std::string& line) {
        std::vector<std::string> fields;
        std::size_t start = 0;
        for (std::size_t comma; (comma = line.find(',', start)) != std::string::npos;) {
            fields.push_back(line.substr(start, comma - start));
            start = comma + 1;
        }
        fields.push_back(line.substr(start));
        return fields;
    };
    for (const char* interview : {"0", "", "N", "y"}) {
        s.interview = interview;
        EXPECT_EQ(fieldsOf(eFileLine(s, kPhrases)).at(22), "0") << '"' << interview << '"';
    }
    s.esl = "N";
    s.eld = "";
    EXPECT_EQ(fieldsOf(eFileLine(s, kPhrases)).at(8), "");
    s.iep = "";
    EXPECT_EQ(fieldsOf(eFileLine(s, kPhrases)).at(7), "0");
    EXPECT_EQ(fieldsOf(eFileLine(s, kPhrases)).size(), 24u);
}

TEST_F(EFileTest, EmptyClassGivesAnEmptyFile) {
    EXPECT_EQ(exportTrilliumClass(file("none.trc"), {}, kPhrases), std::nullopt);
    EXPECT_EQ(std::filesystem::file_size(dir() / "none.trc"), 0u);
}

TEST_F(EFileTest, FailedWriteIsReportedAndKeepsTheEarlierFile) {
    const Notice tl20{"TL20: The eFile could not be saved. No .trc file was created.", "Tallyleaf",
                      NoticeIcon::None};
    EXPECT_EQ(exportTrilliumClass(file("gone/eng.trc"), fixtureClass(), kPhrases), tl20);
    EXPECT_FALSE(std::filesystem::exists(dir() / "gone"));

    writeBytes(dir() / "eng.trc", "earlier eFile\r\n");
    const std::vector<StudentRecord> large(60, fixtureClass()[0]);
    Failure failure;
    {
        test::FileSizeLimit limit(1000);  // the class needs about 9 KB
        failure = exportTrilliumClass(file("eng.trc"), large, kPhrases);
    }
    EXPECT_EQ(failure, tl20);
    EXPECT_EQ(readBytes(dir() / "eng.trc"), "earlier eFile\r\n");
}

TEST(Completeness, LengthIsTestedFirstAndOnlyForCodedComments) {
    StudentRecord s = complete("Pell");
    s.comments = {"0201", "0202", "", "", ""};
    EXPECT_EQ(firstProblem(s, kPhrases), "");
    s.comments[1] = "0203";
    EXPECT_EQ(firstProblem(s, kPhrases), "  Comments exceed max Trillium length");
    s.mark = "";
    s.skills[kCO] = "";
    EXPECT_EQ(firstProblem(s, kPhrases), "  Comments exceed max Trillium length");

    // A free-form comment passes the length and comment tests whatever the codes.
    s.mark = "80";
    s.skills[kCO] = "2";
    s.comments = {"0201", "0203", "0203", "", ""};
    s.freeFormUsed = true;
    EXPECT_EQ(firstProblem(s, kPhrases), "");
    s.comments.fill("");
    EXPECT_EQ(firstProblem(s, kPhrases), "");
}

TEST(Completeness, MarkThenCommentThenSkills) {
    StudentRecord s = complete("Pell");
    s.mark = "";
    s.comments.fill("");
    EXPECT_EQ(firstProblem(s, kPhrases), "  has no mark");
    s.mark = "I";
    EXPECT_EQ(firstProblem(s, kPhrases), "  has no comment");
    s.comments.fill("    ");
    EXPECT_EQ(firstProblem(s, kPhrases), "  has no comment");
    // One to three blanks count as a comment, although nothing is composed.
    for (const char* blanks : {" ", "  ", "   "}) {
        s.comments[4] = blanks;
        EXPECT_EQ(firstProblem(s, kPhrases), "") << '"' << blanks << '"';
    }
    s.skills[kIN] = "";
    EXPECT_EQ(firstProblem(s, kPhrases), "  one or more missing Learning Skills");
}

TEST(Reports, ProblemReportListsTheFirstFailureOfEachStudentInTableOrder) {
    std::vector<StudentRecord> students = {complete("Pell"), complete("Abara"), complete("Voss")};
    EXPECT_TRUE(problemReport(students, kPhrases).empty());
    students[0].skills[kSR] = "";
    students[2].mark = "";
    students[2].comments.fill("");
    const std::vector<std::string> expected = {
        "There are problems with your class.",
        "",
        "NO EXPORT FILE WILL BE CREATED!",
        "",
        "Pell Ivo  one or more missing Learning Skills",
        "Voss Ivo  has no mark",
        "",
        "Return to Mark / Comment Entry and check things again.",
        "Everyone MUST have a mark, at least one comment and all 6 learning skills."};
    EXPECT_EQ(problemReport(students, kPhrases), expected);
}

TEST(Reports, DiscrepancyReportListsDroppedBeforeAdded) {
    const std::vector<StudentRecord> dropped = {makeStudent("A-1", "Farrow", "Nell"),
                                                makeStudent("A-1", "Grist", "Oren")};
    const std::vector<StudentRecord> added = {makeStudent("A-1", "Hale", "Pim")};
    const std::vector<std::string> head = {"There is a discrepancy between your file",
                                           "and the current master class list.",
                                           "",
                                           "NO EXPORT FILE WILL BE CREATED!",
                                           "",
                                           ""};
    const std::vector<std::string> droppedLines = {
        "The following students are no longer enrolled in your class(s):", "", "Farrow Nell",
        "Grist Oren"};
    const std::vector<std::string> addedLines = {
        "", "", "The following students have been added to your class(s):", "", "Hale Pim"};
    const std::vector<std::string> tail = {"", "Your classes HAVE been updated.",
                                           "Return to Mark / Comment Entry and check things again",
                                           "and save this new and accurate class."};
    auto joined = [&](std::initializer_list<const std::vector<std::string>*> parts) {
        std::vector<std::string> lines;
        for (const auto* part : parts)
            lines.insert(lines.end(), part->begin(), part->end());
        return lines;
    };
    EXPECT_EQ(discrepancyReport(dropped, added),
              joined({&head, &droppedLines, &addedLines, &tail}));
    EXPECT_EQ(discrepancyReport(dropped, {}), joined({&head, &droppedLines, &tail}));
    EXPECT_EQ(discrepancyReport({}, added), joined({&head, &addedLines, &tail}));
}

// The comment cells of the rows, joined: the display comment again.
std::string commentColumn(const std::vector<std::array<std::string, 16>>& rows) {
    std::string text;
    for (const auto& row : rows)
        text += row[5];
    return text;
}

TEST(Preview, ShortCommentGivesThreeRowsWithSkillsOnTheSecond) {
    StudentRecord s = fixtureClass()[0];
    const auto rows = previewRows(s, kPhrases);
    ASSERT_EQ(rows.size(), 3u);
    const std::array<std::string, 16> second = {
        "ENG2D1-02", "301200001", "Brightwater", "Lena", "84", "thoughtful questions in class. ",
        "1",         "2",         "3",           "4",    "",   "9",
        "Y",         "Y",         "Y",           "Y"};
    EXPECT_EQ(rows[1], second);
    EXPECT_EQ(rows[0][5], "[0101] Lena reads closely and cites evidence well. [0102] She asks ");
    for (int r : {0, 2}) {
        EXPECT_EQ(rows[r][4], "84");
        for (int c = 6; c < 16; ++c)
            EXPECT_EQ(rows[r][c], "") << "row " << r << " col " << c;
    }
    EXPECT_EQ(rows[2][5], "");
}

TEST(Preview, LongCommentsUseTheFourthRowAndTheRemainder) {
    const std::vector<Phrase> words = test::phraseTable({
        {"0301", "Bryn gathers data with care and shares it with the whole group", "1"},
    });
    StudentRecord s = makeStudent("SCI2D1-03", "Quell", "Bryn");
    s.comments = {"0301", "0301", "0301", "0301", ""};  // four full lines of 71 characters
    auto rows = previewRows(s, words);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_FALSE(rows[3][5].empty());
    std::string display;
    for (int i = 0; i < 4; ++i)
        display += "[0301] Bryn gathers data with care and shares it with the whole group. ";
    EXPECT_EQ(commentColumn(rows), display);

    s.comments[4] = "0301";
    display += "[0301] Bryn gathers data with care and shares it with the whole group. ";
    rows = previewRows(s, words);
    ASSERT_EQ(rows.size(), 5u);
    EXPECT_EQ(commentColumn(rows), display);
    for (std::size_t r = 0; r < 4; ++r) {
        EXPECT_LE(rows[r][5].size(), 75u);
        EXPECT_EQ(rows[r][2], "Quell");
    }
    EXPECT_GT(rows[4][5].size(), 0u);
}

TEST(Preview, FreeFormCommentIsTagged) {
    const auto rows = previewRows(fixtureClass()[2], kPhrases);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0][5], "[FreeFormComment] Tamsin leads group work, and \"listens\" well.");
    EXPECT_EQ(rows[0][1], "123-456-789");
    EXPECT_EQ(rows[1][15], "");
}

TEST(ExportNotices, TextsBeforeAndAfterSaving) {
    const Notice before{
        "TL15: You are now about to be prompted for a folder and file name for this eFile.\r\n"
        "Depending on your school's established procedures:\r\n"
        "-  select a special 'submit' folder OR \r\n"
        "-  save it so you can email it to your designated secretary OR \r\n"
        "-  save it to a disc or Flash Drive so you can take it to your designated secretary.",
        "Tallyleaf", NoticeIcon::None};
    const Notice after{
        "CONGRATULATIONS!!! You have saved your .trc file.\r\n"
        "Depending on your school's established procedures:\r\n"
        "-  you're done :-) YIPPEE!   OR \r\n"
        "-  you must now email your Trillium secretary with the .trc file as an attachment OR \r\n"
        "-  you must now take your disc or Flash Drive with the .trc file to your Trillium "
        "secretary.",
        "Tallyleaf", NoticeIcon::None};
    EXPECT_EQ(tl15AboutToSave(), before);
    EXPECT_EQ(eFileSaved(), after);
}

}  // namespace
}  // namespace tl
