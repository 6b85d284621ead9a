#include "core/comment_text.h"

#include "core/test_support.h"

namespace tl::test {
namespace {

// The golden case placeholders holds the composed comments of every placeholder
// and gender, and first-problems the length with the name at the limit of 460.

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
    for (const auto& [name, text, expected] : cases) {
        const WrappedText w = wrapText(text, 75);
        EXPECT_EQ(joined(w.lines) + "|" + w.remainder, expected) << name;
    }
}

}  // namespace
}  // namespace tl::test
