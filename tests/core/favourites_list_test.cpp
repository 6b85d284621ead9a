#include "selection/favourites_list.h"

#include <functional>

#include "core/limits.h"
#include "core/test_support.h"
#include "core/text.h"
#include "core/workspace.h"
#include "selection/favourites_printout.h"

namespace tl::test {
namespace {

using Entries = std::vector<std::string>;

const std::vector<Phrase> kPhrases = {{"0012", "Works hard", ""}, {"12345", "Asks for help.", ""}};

TEST(FavouritesList, ItemTexts) {
    EXPECT_EQ(favouriteItemText(kPhrases, "0012"), "0012 Works hard. ");
    EXPECT_EQ(favouriteItemText(kPhrases, "12345"), "12345 Asks for help. ");
    EXPECT_EQ(favouriteItemText(kPhrases, "0099"), "0099 ");
    EXPECT_EQ(favouriteItemText(kPhrases, "    "), "           ---------------");
}

TEST(FavouritesList, EditsAndTheRowTheySelect) {
    const Entries start = {"0012", "12345", "    ", "0034"};
    struct Row {
        const char* what;
        std::function<int(Entries&)> edit;
        Entries after;
        int row;
    };
    const Row rows[] = {
        {"insert after 3rd",
         [](Entries& e) { return *insertFavourite(e, 2, "0056"); },
         {"0012", "12345", "    ", "0056", "0034"},
         3},
        {"insert at end",
         [](Entries& e) { return *insertFavourite(e, -1, "0056"); },
         {"0012", "12345", "    ", "0034", "0056"},
         4},
        {"separator",
         [](Entries& e) { return *insertSeparator(e, 0); },
         {"0012", "    ", "12345", "    ", "0034"},
         1},
        {"remove", [](Entries& e) { return removeFavourite(e, 1); }, {"0012", "    ", "0034"}, 1},
        {"remove last",
         [](Entries& e) { return removeFavourite(e, 3); },
         {"0012", "12345", "    "},
         2},
        {"remove none", [](Entries& e) { return removeFavourite(e, -1); }, start, -1},
        {"up",
         [](Entries& e) { return moveFavouriteUp(e, 1); },
         {"12345", "0012", "    ", "0034"},
         0},
        {"up first", [](Entries& e) { return moveFavouriteUp(e, 0); }, start, 0},
        {"down",
         [](Entries& e) { return moveFavouriteDown(e, 1); },
         {"0012", "    ", "12345", "0034"},
         2},
        {"down last", [](Entries& e) { return moveFavouriteDown(e, 3); }, start, 3},
        {"down none", [](Entries& e) { return moveFavouriteDown(e, -1); }, start, -1},
        {"drag 4th to 2nd",
         [](Entries& e) { return moveFavourite(e, 3, 1); },
         {"0012", "0034", "12345", "    "},
         1},
        {"drag 1st to 3rd",
         [](Entries& e) { return moveFavourite(e, 0, 2); },
         {"12345", "    ", "0012", "0034"},
         2},
    };
    for (const Row& r : rows) {
        Entries e = start;
        EXPECT_EQ(r.edit(e), r.row) << r.what;
        EXPECT_EQ(e, r.after) << r.what;
    }
    Entries one = {"0012"};
    EXPECT_EQ(removeFavourite(one, 0), -1);
    EXPECT_TRUE(one.empty());
}

TEST(FavouritesList, AFullListRefusesInsertsUnchanged) {
    Entries full(kMaxFavourites, "0012");
    const Entries before = full;
    EXPECT_EQ(insertFavourite(full, 3, "0034"), std::nullopt);
    EXPECT_EQ(insertSeparator(full, -1), std::nullopt);
    EXPECT_EQ(full, before);
    full.pop_back();
    EXPECT_EQ(insertFavourite(full, -1, "0034"), kMaxFavourites - 1);
}

TEST(FavouritesPrintout, EmptyListWithTheFirstDefaultRange) {
    Workspace ws;
    ws.initialValues = {defaultRanges().front()};
    std::tm when{};
    strptime("2026-12-07 14:05:09", "%Y-%m-%d %H:%M:%S", &when);
    const PrintFont arial{"Arial", 14}, courier{"Courier New", 9};
    const std::string blanks75(75, ' ');
    const std::vector<PrintedLine> expected = {
        {PrintFont{"", 10}, ""},
        {arial, "Tallyleaf ~ v3.3 Growing Success ~ 12-07-2026 ~ 14:05:09"},
        {arial, "Favourites: "},
        {arial, " "},
        {courier, " "},
        {courier, " "},
        {courier, "Current Initial Values for this Favourites File"},
        {courier, " "},
        {courier, "   Range   " + blanks75 + "Learning Skills"},
        {courier, "   80-100  " + blanks75 + " RE OR IW CO IN SR"},
        {courier, std::string(11, ' ') + blanks75 + "  4  4  4  4  4  4"},
        {courier, " "},
    };
    EXPECT_EQ(favouritesPrintout(ws, when), expected);
}

TEST(FavouritesPrintout, EntriesAndACodeColumnThatOverflowsMovesTheRestRight) {
    Workspace ws;
    const std::string longText(80, 'w');
    ws.phrases = {kPhrases[0], {"0020", longText, ""}};
    ws.favouritesFile = "/home/t/term1.tlf";
    ws.favourites = {"0012", "    ", "0099"};
    ws.initialValues = {{-5, 49, {"0020", "    ", "0012"}, {"1", "", "2", "3", "4", "1"}}};
    const auto lines = favouritesPrintout(ws, std::tm{});
    ASSERT_EQ(lines.size(), 15u);
    EXPECT_EQ(lines[2].text, "Favourites: /home/t/term1.tlf");
    const std::string entries[] = {"0012 Works hard. ", "     ", "0099 "};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(lines[4 + i], (PrintedLine{{"Times New Roman", 12}, entries[i]}));
    // "0020 " and the text with ". " are 87 characters: Learning Skills moves 12 to the right.
    EXPECT_EQ(lines[11].text, "   Range   0020 " + longText + ". Learning Skills");
    EXPECT_EQ(lines[12].text, "   -5-49   " + std::string(75, ' ') + " RE OR IW CO IN SR");
    EXPECT_EQ(lines[13].text,
              std::string(11, ' ') + padRight("0012 Works hard. ", 75) + "  1    2  3  4  1");
}

}  // namespace
}  // namespace tl::test
