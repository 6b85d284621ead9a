#include "core/comment_text.h"

#include "core/test_support.h"

namespace tl::test {
namespace {

// The golden case placeholders holds the composed comments of every placeholder
// and gender, and first-problems the length with the name at the limit of 460.

// What the case's routine gives for its input, as text.
std::string run(const TableRow& row) {
    const std::string &routine = row["routine"], &in = row["input"];
    if (routine == "cleanPhrase") return cleanPhrase(in);
    if (routine == "bracketCode") return bracketCode(in);
    if (routine == "sanitizeFreeForm") return sanitizeFreeForm(in);
    EXPECT_EQ(routine, "wrapText");
    const WrappedText w = wrapText(in, 75);
    return joined(w.lines) + "|" + w.remainder;
}

TEST(CommentText, CleanPhrasesBracketedCodesFreeFormCharactersAndWrapping) {
    forEachRow("comment_text.tsv",
               [](const TableRow& row) { EXPECT_EQ(run(row), row["expected"]); });
}

}  // namespace
}  // namespace tl::test
