#include "core/text.h"

#include <clocale>
#include <cmath>

#include "core/test_support.h"

namespace tl::test {
namespace {

TEST(CsvFields, CutAtCommasQuotedFieldsKeepThemAndWrittenValuesReadBack) {
    std::string line = "\"Smith, Jr.\",,Ada";
    bool open = true;
    EXPECT_EQ(nextCsvField(line, &open), "Smith, Jr.");
    EXPECT_FALSE(open);
    EXPECT_EQ(nextCsvField(line), "");
    EXPECT_EQ(nextCsvField(line), "Ada");
    EXPECT_EQ(line, "");
    EXPECT_EQ(nextCsvField(line), "");
    // A missing closing quote takes the rest of the line and sets the flag.
    std::string_view view = "x,\"open,y";
    EXPECT_EQ(nextCsvField(view, &open), "x");
    EXPECT_EQ(nextCsvField(view, &open), "open,y");
    EXPECT_TRUE(open && view.empty());
    // Every value is written so that it reads back as one field.
    const std::pair<const char*, const char*> values[] = {
        {"plain", "plain"},    {"Smith, Jr.", "\"Smith, Jr.\""}, {"\"Kit\"", "'Kit'"},
        {"\"a,b", "\"'a,b\""}, {"two\r\nlines", "two  lines"},   {"", ""}};
    for (const auto& [value, written] : values) {
        EXPECT_EQ(csvField(value), written);
        line = csvField(value) + ",next";
        nextCsvField(line);
        EXPECT_EQ(line, "next") << value;
    }
}

TEST(TextRoutines, StripPadAndFindWithoutRegardToCase) {
    EXPECT_EQ(alphanumericOnly("ENG 3U-01/b\xE9_x"), "ENG3U01bx");
    EXPECT_EQ(padLeftZeros("12", 4) + padLeftZeros("12345", 4), "001212345");
    EXPECT_EQ(padRight("ab", 5) + padRight("abcdef", 5), "ab   abcdef");
    EXPECT_EQ(trimBlanks("  a b  "), "a b");
    const std::tuple<const char*, const char*, int> finds[] = {
        {"Works Well with Others", "well", 7}, {"abc", "ABC", 1}, {"abc", "abcd", 0}, {"", "x", 0},
        {"une \xE9l\xE8ve", "\xC9L\xC8VE", 5},  // "ÉLÈVE" in "une élève"
        {"\xC9t\xE9", "\xE9T\xC9", 1}};
    for (const auto& [text, sought, position] : finds)
        EXPECT_EQ(findIgnoreCase(text, sought), position) << text << " / " << sought;
    EXPECT_EQ(toUpperCp1252("a\xE9\xFF\x9A\x9C\xF7z"), "A\xC9\x9F\x8A\x8C\xF7Z");
}

TEST(SplitLines, AcceptsEveryLineEnding) {
    using Lines = std::vector<std::string_view>;
    EXPECT_EQ(splitLines("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(splitLines("a\r\n\r\nb\n\nc\r\rd\r\n"), (Lines{"a", "", "b", "", "c", "", "d"}));
    EXPECT_EQ(splitLines("x\r\n\r\n"), (Lines{"x", ""}));
    EXPECT_TRUE(splitLines("").empty());
}

TEST(Numbers, SixteenBitWholeNumbersAndDecimalsTheSameUnderEveryLocale) {
    int value = 0;
    for (const auto& [text, expected] : std::vector<std::pair<const char*, int>>{
             {" 7 ", 7}, {"-5", -5}, {"32767", 32767}, {"-32768", -32768}}) {
        EXPECT_TRUE(parseInt16(text, value)) << text;
        EXPECT_EQ(value, expected);
    }
    for (const char* bad :
         {"70000", "32768", "-32769", "x", "", "   ", "7x", "+-5", "-+5", "--5", "+", "1.5", "5 5"})
        EXPECT_FALSE(parseInt16(bad, value)) << '"' << bad << '"';
    // The window toolkit switches the C library to the user's locale.
    ASSERT_NE(std::setlocale(LC_ALL, "fr_CA.UTF-8"), nullptr)
        << "the fr_CA.UTF-8 locale is missing; the test scripts generate it";
    const std::pair<const char*, double> decimals[] = {
        {"79.5", 79.5}, {" -0.25x", -0.25}, {"+7", 7}, {"I", 0}, {"1e400", 1}, {".5", 0.5}};
    for (const auto& [text, number] : decimals)
        EXPECT_EQ(leadingNumber(text), number) << text;
    EXPECT_EQ(leadingNumber(std::string(400, '9')), HUGE_VAL);
    EXPECT_EQ(leadingNumber("0." + std::string(400, '0') + "1"), 0.0);
    std::setlocale(LC_ALL, "C");
}

}  // namespace
}  // namespace tl::test
