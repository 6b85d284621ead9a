// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/text.h"

#include <charconv>
#include <clocale>

#include "core/comment_text.h"
#include "core/file_text.h"
#include "core/test_support.h"

namespace tl::test {
namespace {

TEST(CsvFields, AMissingClosingQuoteTakesTheRestOfTheLine) {
    std::string_view line = "x,\"open,y";
    bool open = true;
    EXPECT_EQ(nextCsvField(line, &open), "x");
    EXPECT_FALSE(open);
    EXPECT_EQ(nextCsvField(line, &open), "open,y");
    EXPECT_TRUE(open && line.empty());
    EXPECT_EQ(nextCsvField(line), "");  // once the line is used up
}

// The golden case placeholders holds the composed comments of every placeholder
// and gender, and first-problems the length with the name at the limit of 460.

// What the case's routine gives for its input, as text.
std::string run(const TableRow& row) {
    const std::string &routine = row["routine"], &in = row["input"], &argument = row["argument"];
    if (routine == "alphanumericOnly") return alphanumericOnly(in);
    if (routine == "padLeftZeros") return padLeftZeros(in, std::stoi(argument));
    if (routine == "padRight") return padRight(in, std::stoi(argument));
    if (routine == "trimBlanks") return std::string(trimBlanks(in));
    if (routine == "findIgnoreCase") return std::to_string(findIgnoreCase(in, argument));
    if (routine == "toUpperCp1252") return toUpperCp1252(in);
    if (routine == "cleanPhrase") return cleanPhrase(in);
    if (routine == "bracketCode") return bracketCode(in);
    if (routine == "sanitizeFreeForm") return sanitizeFreeForm(in);
    if (routine == "decodeDataFile") return decodeDataFile(in).value_or("unreadable");
    if (routine == "wrapText") {
        const WrappedText w = wrapText(in, 75);
        return joined(w.lines) + "|" + w.remainder;
    }
    if (int value = 0; routine == "parseInt16")
        return parseInt16(in, value) ? std::to_string(value) : "refused";
    if (routine == "csvField") {
        // Every value is written so that it reads back as one field.
        const std::string written = csvField(in);
        std::string line = written + ",next";
        const std::string field = nextCsvField(line);
        EXPECT_TRUE(line == "next" && (field == written || '"' + field + '"' == written));
        return written;
    }
    std::string out;
    if (routine == "splitLines") {
        for (const std::string_view l : splitLines(in))
            out += std::string(l) + "|";
        return out;
    }
    EXPECT_EQ(routine, "leadingNumber");
    char number[32];
    return out.assign(number, std::to_chars(number, number + 32, leadingNumber(in)).ptr);
}

TEST(TextRoutines, GiveTheTableResultsAndNumbersTheSameUnderEveryLocale) {
    // The window toolkit switches the C library to the user's locale.
    ASSERT_NE(std::setlocale(LC_ALL, "fr_CA.UTF-8"), nullptr)
        << "the fr_CA.UTF-8 locale is missing; the test scripts generate it";
    forEachRow("text_routines.tsv",
               [](const TableRow& row) { EXPECT_EQ(run(row), row["expected"]); });
    std::setlocale(LC_ALL, "C");
}

}  // namespace
}  // namespace tl::test
