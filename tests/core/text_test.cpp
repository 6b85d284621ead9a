#include "core/text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tl {
namespace {

TEST(CsvField, PlainFieldsAreCutAtCommas) {
    std::string line = "ENG3U-01,Smith,,Ada";
    EXPECT_EQ(nextCsvField(line), "ENG3U-01");
    EXPECT_EQ(line, "Smith,,Ada");
    EXPECT_EQ(nextCsvField(line), "Smith");
    EXPECT_EQ(nextCsvField(line), "");
    EXPECT_EQ(nextCsvField(line), "Ada");
    EXPECT_EQ(line, "");
    EXPECT_EQ(nextCsvField(line), "");
    EXPECT_EQ(line, "");
}

TEST(CsvField, QuotedFieldKeepsCommasAndDropsQuoteAndComma) {
    bool unterminated = true;
    std::string line = "\"Smith, Jr.\",Ada,M";
    EXPECT_EQ(nextCsvField(line, &unterminated), "Smith, Jr.");
    EXPECT_FALSE(unterminated);
    EXPECT_EQ(line, "Ada,M");

    std::string_view view = "\"a,b\"";
    EXPECT_EQ(nextCsvField(view, &unterminated), "a,b");
    EXPECT_FALSE(unterminated);
    EXPECT_EQ(view, "");
}

TEST(CsvField, MissingClosingQuoteTakesTheRestAndSetsTheFlag) {
    bool unterminated = false;
    std::string line = "\"Smith, Ada,M";
    EXPECT_EQ(nextCsvField(line, &unterminated), "Smith, Ada,M");
    EXPECT_TRUE(unterminated);
    EXPECT_EQ(line, "");

    unterminated = false;
    std::string_view view = "\"open,x";
    nextCsvField(view, &unterminated);
    EXPECT_TRUE(unterminated);
}

TEST(SmallTextRoutines, CountStripAndPad) {
    EXPECT_EQ(countChar(",,a,\"b,c\",", ','), 5);
    EXPECT_EQ(countChar("abc", ','), 0);
    EXPECT_EQ(alphanumericOnly("ENG 3U-01/b\xE9_x"), "ENG3U01bx");
    EXPECT_EQ(padLeftZeros("12", 4), "0012");
    EXPECT_EQ(padLeftZeros("12345", 4), "12345");
    EXPECT_EQ(padRight("ab", 5), "ab   ");
    EXPECT_EQ(padRight("abcdef", 5), "abcdef");
    EXPECT_EQ(trimBlanks("  a b  "), "a b");
}

TEST(FindIgnoreCase, FindsWithoutRegardToCase) {
    EXPECT_EQ(findIgnoreCase("Works Well with Others", "well"), 7);
    EXPECT_EQ(findIgnoreCase("abc", "ABC"), 1);
    EXPECT_EQ(findIgnoreCase("abc", "abcd"), 0);
    EXPECT_EQ(findIgnoreCase("abc", "x"), 0);
    EXPECT_EQ(findIgnoreCase("", "x"), 0);
}

TEST(FindIgnoreCase, AccentedLettersMatchTheirCapitals) {
    // "ÉLÈVE" sought in "une élève" (Windows-1252 bytes).
    EXPECT_EQ(findIgnoreCase("une \xE9l\xE8ve", "\xC9L\xC8VE"), 5);
    EXPECT_EQ(findIgnoreCase("\xC9t\xE9", "\xE9T\xC9"), 1);
    EXPECT_EQ(toUpperCp1252("a\xE9\xFF\x9A\x9C\xF7z"), "A\xC9\x9F\x8A\x8C\xF7Z");
}

TEST(NextWord, TakesBlankSeparatedWords) {
    std::string timetable = "  ENG3U-01   MTH4U-02 LUNCH  ";
    EXPECT_EQ(nextWord(timetable), "ENG3U-01");
    EXPECT_EQ(nextWord(timetable), "MTH4U-02");
    EXPECT_EQ(nextWord(timetable), "LUNCH");
    EXPECT_EQ(timetable, "");
    EXPECT_EQ(nextWord(timetable), "");

    std::string single = "SCI";
    EXPECT_EQ(nextWord(single), "SCI");
    EXPECT_EQ(single, "");
}

TEST(SplitLines, AcceptsEveryLineEnding) {
    using Lines = std::vector<std::string_view>;
    EXPECT_EQ(splitLines("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(splitLines("a\r\nb\r\n"), (Lines{"a", "b"}));
    EXPECT_EQ(splitLines("a\r\n\r\nb\n\nc\r\rd"), (Lines{"a", "", "b", "", "c", "", "d"}));
    EXPECT_EQ(splitLines("x\r\n\r\n"), (Lines{"x", ""}));
    EXPECT_TRUE(splitLines("").empty());
}

TEST(ParseInt16, AcceptsWholeNumbersThatFitSixteenBits) {
    for (const auto& [text, expected] : std::vector<std::pair<const char*, int>>{
             {" 7 ", 7}, {"-5", -5}, {"32767", 32767}, {"-32768", -32768}}) {
        int value = 0;
        EXPECT_TRUE(parseInt16(text, value)) << text;
        EXPECT_EQ(value, expected);
    }
    int value = 0;
    for (const char* bad : {"70000", "32768", "-32769", "x", "", "   ", "7x"}) {
        EXPECT_FALSE(parseInt16(bad, value)) << '"' << bad << '"';
    }
}

TEST(LeadingNumber, ReadsTheLeadingDecimalNumber) {
    EXPECT_EQ(leadingNumber(" 85abc"), 85);
    EXPECT_EQ(leadingNumber("abc"), 0);
    EXPECT_EQ(leadingNumber(""), 0);
    EXPECT_EQ(leadingNumber("I"), 0);
    EXPECT_LT(leadingNumber("9"), leadingNumber("100"));
    EXPECT_EQ(leadingNumber("100"), 100);
}

}  // namespace
}  // namespace tl
