#include "core/text.h"

#include <charconv>
#include <clocale>

#include "core/comment_text.h"
#include "core/file_text.h"
#include "core/test_support.h"

namespace tl::test {
namespace {

TEST(CsvFields, CutAtCommasAndQuotedFieldsKeepThem) {
    std::string line = "\"Smith, Jr.\",,Ada";
    bool open = true;
    std::string fields = nextCsvField(line, &open);
    fields += open ? " open|" : "|";
    // The last field, then an empty one once the line is used up.
    for (int i = 0; i < 3; ++i)
        fields += nextCsvField(line) + "|";
    EXPECT_EQ(fields + line, "Smith, Jr.||Ada||");
    // A missing closing quote takes the rest of the line and sets the flag.
    std::string_view view = "x,\"open,y";
    EXPECT_EQ(nextCsvField(view, &open), "x");
    EXPECT_EQ(nextCsvField(view, &open), "open,y");
    EXPECT_TRUE(open && view.empty());
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
        std::string line = csvField(in) + ",next";
        nextCsvField(line);
        EXPECT_EQ(line, "next");
        return csvField(in);
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
