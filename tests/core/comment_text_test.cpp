#include "core/comment_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/limits.h"
#include "core/test_support.h"

namespace tl {
namespace {

using test::makeStudent;

const std::vector<Phrase> kPhrases = test::phraseTable({
    {"0001", "Completes every task.", "A"},
    {"0002", "@ reads with care.", "A"},
    {"0003", "\"@ writes clearly.\"", "A"},
    {"0004", "We value % effort.", "A"},
    {"0005", "% notebook is tidy.", "A"},
    {"0006", "# work shows care.", "A"},
    {"0007", "Ask * about # project and ~ goals.", "A"},
    {"0008", "* peers trust her.", "A"},
    {"0009", "~ of the month: $!", "A"},
    {"0010", "$ leads the group.", "A"},
});

StudentRecord student(const std::string& gender, std::array<std::string, 5> codes) {
    StudentRecord s = makeStudent("ENG3U-01", "Nguyen", "Ada");
    s.gender = gender;
    s.comments = std::move(codes);
    return s;
}

TEST(CleanPhrase, TrimsUnquotesAndEndsWithOneFullStop) {
    EXPECT_EQ(cleanPhrase("  \"Sets goals and meets them.\"  "), "Sets goals and meets them. ");
    EXPECT_EQ(cleanPhrase("Great work!"), "Great work!. ");
    EXPECT_EQ(cleanPhrase("Plain text"), "Plain text. ");
    EXPECT_EQ(cleanPhrase("Trails off.."), "Trails off.. ");
    EXPECT_EQ(cleanPhrase("\"Opens a quote"), "Opens a quote. ");
}

TEST(CommentComposition, NameStandsInTheFirstCommentThatMayUseIt) {
    const auto c = composeComments(student("F", {"0001", "0002", "0002", "", ""}), kPhrases);
    EXPECT_EQ(c.texts[0], "Completes every task. ");
    EXPECT_EQ(c.texts[1], "Ada reads with care. ");
    EXPECT_EQ(c.texts[2], "She reads with care. ");
    EXPECT_EQ(c.texts[3], "");
    const auto m = composeComments(student("M", {"0002", "0003", "", "", ""}), kPhrases);
    EXPECT_EQ(m.texts[0], "Ada reads with care. ");
    EXPECT_EQ(m.texts[1], "He writes clearly. ");
}

TEST(CommentComposition, PossessiveGivesNameThenPronoun) {
    const auto c = composeComments(student("F", {"0004", "0004", "0005", "", ""}), kPhrases);
    EXPECT_EQ(c.texts[0], "We value Ada's effort. ");
    EXPECT_EQ(c.texts[1], "We value her effort. ");
    EXPECT_EQ(c.texts[2], "Her notebook is tidy. ");
    const auto m = composeComments(student("M", {"0010", "0004", "0005", "", ""}), kPhrases);
    EXPECT_EQ(m.texts[1], "We value his effort. ");
    EXPECT_EQ(m.texts[2], "His notebook is tidy. ");
}

TEST(CommentComposition, DollarAlwaysGivesTheNameAndUsesIt) {
    const auto c = composeComments(student("M", {"0010", "0002", "0010", "0009", ""}), kPhrases);
    EXPECT_EQ(c.texts[0], "Ada leads the group. ");
    EXPECT_EQ(c.texts[1], "He reads with care. ");
    EXPECT_EQ(c.texts[2], "Ada leads the group. ");
    EXPECT_EQ(c.texts[3], "Son of the month: Ada!. ");
}

TEST(CommentComposition, PronounsAreCapitalisedOnlyAtTheStart) {
    // The name is still allowed here: # * ~ are capitalised at the start all the same.
    const auto f = composeComments(student("F", {"0006", "0007", "0008", "0009", ""}), kPhrases);
    EXPECT_EQ(f.texts[0], "Her work shows care. ");
    EXPECT_EQ(f.texts[1], "Ask her about her project and daughter goals. ");
    EXPECT_EQ(f.texts[2], "Her peers trust her. ");
    EXPECT_EQ(f.texts[3], "Daughter of the month: Ada!. ");
    const auto m = composeComments(student("M", {"0006", "0007", "0008", "", ""}), kPhrases);
    EXPECT_EQ(m.texts[0], "His work shows care. ");
    EXPECT_EQ(m.texts[1], "Ask him about his project and son goals. ");
    EXPECT_EQ(m.texts[2], "Him peers trust her. ");
}

TEST(CommentComposition, OnlyAnUpperCaseMIsMale) {
    for (const char* gender : {"", "F", "m", "X"}) {
        const auto c = composeComments(student(gender, {"0010", "0002", "0006", "", ""}), kPhrases);
        EXPECT_EQ(c.texts[1], "She reads with care. ") << '"' << gender << '"';
        EXPECT_EQ(c.texts[2], "Her work shows care. ") << '"' << gender << '"';
    }
}

TEST(CommentComposition, SubstitutionReportsWhetherTheNameWasUsed) {
    const StudentRecord s = student("F", {"", "", "", "", ""});
    std::string result = "stale";
    EXPECT_TRUE(substitutePlaceholders("@ and @ again", s, true, result));
    EXPECT_EQ(result, "Ada and Ada again");
    EXPECT_FALSE(substitutePlaceholders("@ and @ again", s, false, result));
    EXPECT_EQ(result, "She and she again");
    EXPECT_TRUE(substitutePlaceholders("Well done, $", s, false, result));
    EXPECT_EQ(result, "Well done, Ada");
    EXPECT_FALSE(substitutePlaceholders("# and * and ~", s, true, result));
    EXPECT_EQ(result, "Her and her and daughter");
    EXPECT_FALSE(substitutePlaceholders("", s, true, result));
    EXPECT_EQ(result, "");
}

TEST(CommentLength, EmptySlotsGiveNothing) {
    const auto c = composeComments(student("F", {"", "    ", "", "9999", ""}), kPhrases);
    for (const auto& text : c.texts)
        EXPECT_EQ(text, "");
    EXPECT_EQ(c.totalLength, 0);
}

TEST(CommentLength, LimitIsFourHundredSixtyComposedCharacters) {
    // Four comments of 100 characters and one holding the name ("$" gives 3 characters).
    const std::string hundred = std::string(98, 'w') + ".";  // cleaned: 98 + ". "
    auto phrases = test::phraseTable({{"0100", hundred, "A"},
                                      {"0200", "$" + std::string(55, 'v'), "A"},
                                      {"0201", "$" + std::string(56, 'v'), "A"}});
    const auto within =
        composeComments(student("F", {"0100", "0100", "0100", "0100", "0200"}), phrases);
    EXPECT_EQ(within.texts[0].size(), 100u);
    EXPECT_EQ(within.texts[4].size(), 60u);  // "Ada" + 55 + ". "
    EXPECT_EQ(within.totalLength, 460);
    EXPECT_FALSE(exceedsCommentLimit(within.totalLength));

    const auto over =
        composeComments(student("F", {"0100", "0100", "0100", "0100", "0201"}), phrases);
    EXPECT_EQ(over.totalLength, 461);
    EXPECT_TRUE(exceedsCommentLimit(over.totalLength));
    EXPECT_EQ(kCommentLimit, 460);
}

TEST(WrapText, ShortTextIsTheFirstLine) {
    const std::string text(75, 'a');
    const WrappedText w = wrapText(text, 75);
    EXPECT_EQ(w.lines[0], text);
    EXPECT_EQ(w.lines[1], "");
    EXPECT_EQ(w.remainder, "");
}

TEST(WrapText, BreaksAfterTheLastBlankWithinWidth) {
    const std::string text = std::string(39, 'a') + " " + std::string(36, 'b');  // 76
    const WrappedText w = wrapText(text, 75);
    EXPECT_EQ(w.lines[0], std::string(39, 'a') + " ");
    EXPECT_EQ(w.lines[1], std::string(36, 'b'));
    EXPECT_EQ(w.lines[2], "");

    const std::string atWidth = "aaa " + std::string(70, 'a') + " " + std::string(10, 'b');
    EXPECT_EQ(wrapText(atWidth, 75).lines[0], atWidth.substr(0, 75));
    const std::string pastWidth = std::string(75, 'a') + " " + std::string(10, 'b');
    EXPECT_EQ(wrapText(pastWidth, 75).lines[0], std::string(75, 'a'));
}

TEST(WrapText, TextWithoutBlankIsCutAtWidth) {
    const std::string text(200, 'z');
    const WrappedText w = wrapText(text, 75);
    EXPECT_EQ(w.lines[0], std::string(75, 'z'));
    EXPECT_EQ(w.lines[1], std::string(75, 'z'));
    EXPECT_EQ(w.lines[2], std::string(50, 'z'));
    EXPECT_EQ(w.remainder, "");
}

TEST(WrapText, LongTextFillsFourLinesAndLeavesTheRest) {
    std::string text;
    const char* words[] = {"steady ", "progress ", "in ", "reading ", "and ", "writing "};
    for (int i = 0; text.size() < 400; ++i)
        text += words[i % 6];
    text.resize(400);
    const WrappedText w = wrapText(text, 75);
    std::string joined;
    for (const auto& line : w.lines) {
        EXPECT_LE(line.size(), 75u);
        EXPECT_GT(line.size(), 60u);
        EXPECT_EQ(line.back(), ' ');
        joined += line;
    }
    EXPECT_GT(w.remainder.size(), 75u);
    EXPECT_EQ(joined + w.remainder, text);
}

TEST(BracketCode, ShowsCodesAndNothingForEmptySlots) {
    EXPECT_EQ(bracketCode("0012"), "[0012] ");
    for (const char* empty : {"", " ", "  ", "   ", "    "}) {
        EXPECT_EQ(bracketCode(empty), "") << '"' << empty << '"';
    }
}

TEST(SanitizeFreeForm, KeepsLettersDigitsAndSixMarks) {
    EXPECT_EQ(sanitizeFreeForm("Ada's \"work\" - 10/10!\r\nGood; fine: yes, ok."),
              "Ada's  work    10 10!  Good; fine: yes, ok.");
    EXPECT_EQ(sanitizeFreeForm("caf\xE9\t(x)"), "caf   x ");
}

}  // namespace
}  // namespace tl
