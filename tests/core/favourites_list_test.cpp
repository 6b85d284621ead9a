// SPDX-License-Identifier: GPL-3.0-or-later

#include "selection/favourites_list.h"

#include "autofill/initial_values_printout.h"
#include "core/limits.h"
#include "core/test_support.h"
#include "core/workspace.h"
#include "favourites/favourites_text.h"
#include "selection/favourites_printout.h"

namespace tl::test {
namespace {

using Entries = std::vector<std::string>;

const std::vector<Phrase> kPhrases = {{"0012", "Works hard", ""}, {"12345", "Asks for help.", ""}};

// The items both kinds of favourites list show: the main window's and Initial
// Values Setup's end with "no comment"; Comment Selection's items are the same
// without it.
TEST(FavouritesItems, CodesWithTheirPhrasesSeparatorsAndNoCommentLast) {
    const std::string noComment = "           no comment (delete existing comment)";
    EXPECT_EQ(
        joined(favouritesListItems({"0012", "12345", "    ", "0099"}, kPhrases)),
        "0012 Works hard. |12345 Asks for help. |           ---------------|0099 |" + noComment);
    EXPECT_EQ(joined(favouritesListItems({}, kPhrases)), noComment);
}

// The row's edit on the entries; the row it selects, -2 for a refusal.
int edit(Entries& entries, const TableRow& row) {
    const std::string& op = row["op"];
    const int selected = row.number("selected");
    if (op == "insert") return insertFavourite(entries, selected, row["argument"]).value_or(-2);
    if (op == "separator") return insertSeparator(entries, selected).value_or(-2);
    if (op == "remove") return removeFavourite(entries, selected);
    if (op == "up") return moveFavouriteUp(entries, selected);
    if (op == "down") return moveFavouriteDown(entries, selected);
    EXPECT_EQ(op, "drag");
    return moveFavourite(entries, selected, row.number("argument"));
}

TEST(FavouritesList, EditsAndTheRowTheySelect) {
    forEachRow("favourites_edits.tsv", [](const TableRow& row) {
        Entries entries = row.parts("before");
        EXPECT_EQ(edit(entries, row), row.number("row"));
        EXPECT_EQ(entries, row.parts("after"));
    });
    Entries full(kMaxFavourites, "0012");
    EXPECT_FALSE(insertFavourite(full, 3, "0034") || insertSeparator(full, -1));
    EXPECT_EQ(full, Entries(kMaxFavourites, "0012"));
    full.pop_back();
    EXPECT_EQ(insertFavourite(full, -1, "0034"), kMaxFavourites - 1);
}

TEST(FavouritesPrintout, HeadingEntriesThenTheRangesAsTheInitialValuesPrintoutHasThem) {
    Workspace ws;
    ws.phrases = {kPhrases[0], {"0020", std::string(80, 'w'), ""}};  // wider than the column
    ws.favouritesFile = "/home/t/term1.tlf";
    ws.favourites = {"0012", "    ", "0099"};
    ws.doc.replaceRanges(
        {defaultRanges().front(), {-5, 49, {"0020", "    ", "0012"}, {"1", "", "2"}}});
    std::tm when{};
    strptime("2026-12-07 14:05:09", "%Y-%m-%d %H:%M:%S", &when);
    const auto lines = favouritesPrintout(ws, when);
    const auto ranges = initialValuesPrintout(ws, when);
    const std::size_t head = expectPrintedLines("favourites_printout.tsv", lines);
    ASSERT_EQ(lines.size(), head + ranges.size() - 5);
    EXPECT_EQ(std::vector(lines.begin() + head, lines.end()),
              std::vector(ranges.begin() + 5, ranges.end()));
}

}  // namespace
}  // namespace tl::test
