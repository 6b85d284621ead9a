#include "core/comment_text.h"

#include "core/test_support.h"
#include "core/text.h"

namespace tl::test {
namespace {

using Texts = std::array<std::string, 5>;

const std::vector<Phrase> kPhrases = {{"0001", "Completes every task.", "A"},
                                      {"0002", "@ reads with care.", "A"},
                                      {"0003", "\"@ writes clearly.\"", "A"},
                                      {"0004", "We value % effort.", "A"},
                                      {"0005", "% notebook is tidy.", "A"},
                                      {"0006", "# work shows care.", "A"},
                                      {"0007", "Ask * about # project and ~ goals.", "A"},
                                      {"0008", "* peers trust her.", "A"},
                                      {"0009", "~ of the month: $!", "A"},
                                      {"0010", "$ leads the group.", "A"}};

StudentRecord student(const std::string& gender, Texts codes) {
    StudentRecord s = makeStudent("ENG3U-01", "Nguyen", "Ada");
    s.gender = gender;
    s.comments = std::move(codes);
    return s;
}

TEST(DisplayText, CleanPhrasesBracketedCodesAndFreeFormCharacters) {
    const std::pair<const char*, const char*> cases[] = {
        {"  \"Sets goals and meets them.\"  ", "Sets goals and meets them. "},
        {"Great work!", "Great work!. "},
        {"Trails off..", "Trails off.. "},
        {"\"Opens a quote", "Opens a quote. "}};
    for (const auto& [raw, clean] : cases)
        EXPECT_EQ(cleanPhrase(raw), clean) << raw;
    EXPECT_EQ(bracketCode("0012"), "[0012] ");
    for (const char* empty : {"", " ", "  ", "   ", "    "})
        EXPECT_EQ(bracketCode(empty), "") << '"' << empty << '"';
    EXPECT_EQ(sanitizeFreeForm("Ada's \"work\" - 10/10!\r\nGood; fine: yes, ok."),
              "Ada's  work    10 10!  Good; fine: yes, ok.");
    EXPECT_EQ(sanitizeFreeForm("caf\xE9\t(x)"), "caf   x ");
}

TEST(CommentComposition, PlaceholdersNameRuleCapitalsGenderAndLength) {
    // Gender, the codes joined by ",", and the five composed texts joined by "|".
    const std::tuple<const char*, const char*, const char*> cases[] = {
        // @ gives the name in the first comment that may use it, a pronoun after it.
        {"F", "0001,0002,0002",
         "Completes every task. |Ada reads with care. |She reads with care. ||"},
        {"M", "0002,0003", "Ada reads with care. |He writes clearly. |||"},
        // % gives the name's possessive, then the possessive pronoun.
        {"F", "0004,0004,0005",
         "We value Ada's effort. |We value her effort. |Her notebook is tidy. ||"},
        {"M", "0010,0004,0005",
         "Ada leads the group. |We value his effort. |His notebook is tidy. ||"},
        // $ always gives the name, and uses it up for @ and %.
        {"M", "0010,0002,0010,0009",
         "Ada leads the group. |He reads with care. |Ada leads the group. |"
         "Son of the month: Ada!. |"},
        // # * ~ take capitals at the start even while the name may still be used, and leave it.
        {"F", "0006,0007,0008,0002,0009",
         "Her work shows care. |Ask her about her project and daughter goals. |"
         "Her peers trust her. |Ada reads with care. |Daughter of the month: Ada!. "},
        {"M", "0006,0007,0008",
         "His work shows care. |Ask him about his project and son goals. |Him peers trust her. ||"},
        // Empty slots, separators and unknown codes give nothing.
        {"F", ",    ,,9999,", "||||"}};
    auto composed = [](const char* gender, std::string codes) {
        Texts slots;
        for (auto& slot : slots)
            slot = nextCsvField(codes);
        const auto t = composeComments(student(gender, slots), kPhrases).texts;
        return t[0] + "|" + t[1] + "|" + t[2] + "|" + t[3] + "|" + t[4];
    };
    for (const auto& [gender, codes, expected] : cases)
        EXPECT_EQ(composed(gender, codes), expected) << gender;
    // Only an upper-case M is male.
    for (const char* gender : {"", "m", "X"})
        EXPECT_EQ(composed(gender, "0010,0002,0006"),
                  "Ada leads the group. |She reads with care. |Her work shows care. ||");
    // Four comments of 100 characters and one holding the name ("$" gives 3 characters).
    const std::vector<Phrase> phrases = {{"0100", std::string(98, 'w') + ".", "A"},
                                         {"0200", "$" + std::string(55, 'v'), "A"},
                                         {"0201", "$" + std::string(56, 'v'), "A"}};
    for (const auto& [fifth, total] : {std::pair{"0200", 460}, std::pair{"0201", 461}}) {
        const int length =
            composeComments(student("F", {"0100", "0100", "0100", "0100", fifth}), phrases)
                .totalLength;
        EXPECT_EQ(length, total);
        EXPECT_EQ(exceedsCommentLimit(length), total == 461);
    }
}

TEST(WrapText, BoundariesAtTheWidth) {
    const std::string a39(39, 'a'), a70(70, 'a'), a75(75, 'a'), b10(10, 'b'), z75(75, 'z');
    const std::string words = repeated("abcd ", 15);  // 75 characters, the last a blank
    // Name, text, and the four lines and the remainder joined by "|".
    const std::tuple<const char*, std::string, std::string> cases[] = {
        {"75 with a blank", a70 + " bbbb", a70 + " bbbb||||"},
        {"76, blank at 40", a39 + " " + std::string(36, 'b'),
         a39 + " |" + std::string(36, 'b') + "|||"},
        {"blank at 75", "aaa " + a70 + " " + b10, "aaa " + a70 + " |" + b10 + "|||"},
        {"blank at 76", a75 + " " + b10, a75 + "| " + b10 + "|||"},
        {"no blank", std::string(200, 'z'), z75 + "|" + z75 + "|" + std::string(50, 'z') + "||"},
        {"400 characters", repeated("abcd ", 80),
         repeated(words + "|", 4) + repeated("abcd ", 20)}};
    for (const auto& [name, text, joined] : cases) {
        const WrappedText w = wrapText(text, 75);
        EXPECT_EQ(
            w.lines[0] + "|" + w.lines[1] + "|" + w.lines[2] + "|" + w.lines[3] + "|" + w.remainder,
            joined)
            << name;
    }
}

}  // namespace
}  // namespace tl::test
