// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/favourites_file.h"

#include "core/test_support.h"
#include "core/workspace.h"

namespace tl::test {
namespace {

class FavouritesTest : public TempDirTest {
  protected:
    Workspace ws_;

    FavouritesTest() {
        ws_.phrases = {{"0012", "Works hard.", "A"},
                       {"0034", "Helps others.", "B"},
                       {"0056", "Listens well.", "C"},
                       {"1234", "Asks for help.", "D"}};
    }
    // Reads bytes written as name; the workspace starts with entries to be replaced.
    Failure read(const std::string& bytes, const std::string& name = "f.tlf") {
        writeBytes(dir() / name, bytes);
        ws_.favouritesFile = file(name);
        ws_.favourites = {"0056"};
        ws_.doc.replaceRanges(defaultRanges());
        return readFavouritesFile(ws_);
    }
};

TEST_F(FavouritesTest, ListIsWrittenByteExactAndReadsBackAsWritten) {
    ws_.favouritesFile = "old.tlf";
    newFavourites(ws_);
    EXPECT_EQ(ws_.favouritesFile + joined(ws_.favourites), "");
    EXPECT_EQ(ws_.doc.ranges(), defaultRanges());
    // Negative marks down to the lowest, codes and a separator, skill texts as a file may
    // bring them (a comma, a double quote, a Windows-1252 byte) and an empty SR.
    ws_.doc.replaceRanges(
        {{-32768, -5, {"0012", "    ", ""}, {"a,b", "", "\"x", "\xE9", "1", ""}}});
    ws_.favourites = {"0012", "    ", "0034"};
    ws_.favouritesFile = file("new.tlf");
    ASSERT_EQ(writeFavouritesFile(ws_).outcome, WriteOutcome::Written);
    // Eleven fields joined by commas: an empty SR leaves the line ending in a comma.
    EXPECT_EQ(readBytes(dir() / "new.tlf"),
              " 1 \r\n-32768,-5,0012,    ,,\"a,b\",,'x,\xE9,1,\r\n0012\r\n    \r\n0034\r\n");
    auto expected = ws_.doc.ranges();
    expected.back().skills = {"a,b", "", "'x", "\xE9", "1", "1"};  // an empty SR reads as IN
    const auto entries = ws_.favourites;
    ASSERT_EQ(readFavouritesFile(ws_), std::nullopt);
    EXPECT_TRUE(ws_.doc.ranges() == expected && ws_.favourites == entries);
    // What writing does not produce, read and then written as writing puts it.
    ASSERT_EQ(read("\xEF\xBB\xBF  2\n50,59,,,,2,2,2,2,3\r\"60\",69,\"0012\",0099,    "
                   ",4,4,4,4,4,,9\r\n0012\n12345\n0099\n0034\n7\n    \n1234"),
              std::nullopt);
    EXPECT_EQ(favouritesFileText(ws_.doc.ranges(), ws_.favourites),
              crlfLines({" 2 ", "50,59,,,,2,2,2,2,3,3", "60,69,0012,,    ,4,4,4,4,4,4", "0012",
                         "0034", "    ", "1234"}));
}

TEST_F(FavouritesTest, RefusedFilesLeaveEmptyTablesAndAddNothing) {
    auto expectRefused = [this](const std::string& name, const std::string& bytes) {
        // A refused file is no longer the current file: no later save writes into it.
        const bool wrongType = !name.ends_with(".tlf");
        EXPECT_EQ(read(bytes, name),
                  wrongType ? msg::tl16FavouritesType() : msg::tl17FavouritesInvalid());
        EXPECT_EQ(ws_.favouritesFile + joined(ws_.favourites), "");
        EXPECT_TRUE(ws_.doc.ranges().empty());
        if (wrongType) return;
        // Adding its entries checks every line as reading does: nothing is appended.
        ws_.favourites = {"0012"};
        ws_.favouritesFile = file("mine.tlf");
        EXPECT_EQ(addFavouritesFromFile(ws_, file(name)), msg::tl17FavouritesInvalid());
        EXPECT_EQ(joined(ws_.favourites) + " " + ws_.favouritesFile, "0012 " + file("mine.tlf"));
    };
    forEachRow("favourites_refused.tsv",
               [&](const TableRow& row) { expectRefused(row["file"], row["bytes"]); });
    fs::remove(dir() / "f.tlf");  // gone since it was chosen
    ws_.favouritesFile = file("f.tlf");
    EXPECT_EQ(readFavouritesFile(ws_), msg::tl17FavouritesInvalid());
    // 100 ranges and 1000 entries are the most a file holds.
    const std::string ranges = repeated("0,1,,,,1,1,1,1,1,1\r\n", 100);
    const std::string entries = repeated("0012\r\n", 1000);
    expectRefused("f.tlf", " 101 \r\n" + ranges + "0,1,,,,1,1,1,1,1,1\r\n");
    expectRefused("f.tlf", " 0 \r\n" + entries + "0034\r\n");
    ASSERT_EQ(read(" 100 \r\n" + ranges + entries), std::nullopt);
    EXPECT_EQ(ws_.doc.ranges().size() + ws_.favourites.size(), 1100u);
}

TEST_F(FavouritesTest, AddAppendsCheckedEntriesUpToTheLimit) {
    ws_.favouritesFile = file("mine.tlf");
    ws_.doc.replaceRanges(defaultRanges());
    ws_.favourites.assign(996, "0012");
    // Its type is not checked; a code the library lacks stays in the list.
    writeBytes(dir() / "other.txt",
               "\xEF\xBB\xBF" + crlfLines({" 1 ", "10,20,,,,1,1,1,1,1,1", "0034", "    ", "0099"}));
    ASSERT_EQ(addFavouritesFromFile(ws_, file("other.txt")), std::nullopt);
    EXPECT_EQ(joined(std::vector(ws_.favourites.begin() + 996, ws_.favourites.end())),
              "0034|    |0099");
    EXPECT_EQ(addFavouritesFromFile(ws_, file("other.txt")), msg::favouritesFull());
    // The first entry fits; the rest is left out.
    EXPECT_EQ(joined(std::vector(ws_.favourites.begin() + 996, ws_.favourites.end())),
              "0034|    |0099|0034");
    EXPECT_TRUE(ws_.favouritesFile == file("mine.tlf") && ws_.doc.ranges() == defaultRanges());
}

}  // namespace
}  // namespace tl::test
