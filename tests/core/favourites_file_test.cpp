#include "core/favourites_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/messages.h"
#include "core/test_support.h"
#include "core/workspace.h"

namespace tl {
namespace {

using test::crlfLines;
using test::readBytes;
using test::writeBytes;

const std::string kDefaultRangeLines =
    "80,100,,,,4,4,4,4,4,4\r\n70,79,,,,3,3,3,3,3,3\r\n60,69,,,,3,3,3,3,3,3\r\n"
    "50,59,,,,2,2,2,2,2,2\r\n40,49,,,,1,1,1,1,1,1\r\n20,39,,,,1,1,1,1,1,1\r\n"
    "0,19,,,,1,1,1,1,1,1\r\n";

InitialValueRange range(int low, int high, std::array<std::string, 3> codes,
                        std::array<std::string, 6> skills) {
    return InitialValueRange{low, high, std::move(codes), std::move(skills)};
}

class FavouritesTest : public test::TempDirTest {
  protected:
    Workspace ws_;

    void SetUp() override {
        TempDirTest::SetUp();
        ws_.phrases = test::phraseTable({{"0012", "Works hard.", "A"},
                                         {"0034", "Helps others.", "B"},
                                         {"0056", "Listens well.", "C"},
                                         {"1234", "Asks for help.", "D"}});
    }
    // Reads bytes written as name; the workspace starts with entries to be replaced.
    Failure read(const std::string& bytes, const std::string& name = "f.tlf") {
        writeBytes(dir() / name, bytes);
        ws_.favouritesFile = file(name);
        ws_.favourites = {"0056"};
        ws_.initialValues = defaultRanges();
        return readFavouritesFile(ws_);
    }
    void expectRefused(const std::string& bytes) {
        SCOPED_TRACE(bytes);
        EXPECT_EQ(read(bytes), msg::tl17FavouritesInvalid());
        EXPECT_TRUE(ws_.favourites.empty());
        EXPECT_TRUE(ws_.initialValues.empty());
        EXPECT_EQ(ws_.favouritesFile, file("f.tlf"));
    }
};

TEST(FavouritesDefaults, SevenRangesOfTheNewList) {
    const std::vector<InitialValueRange> expected = {
        range(80, 100, {"", "", ""}, {"4", "4", "4", "4", "4", "4"}),
        range(70, 79, {"", "", ""}, {"3", "3", "3", "3", "3", "3"}),
        range(60, 69, {"", "", ""}, {"3", "3", "3", "3", "3", "3"}),
        range(50, 59, {"", "", ""}, {"2", "2", "2", "2", "2", "2"}),
        range(40, 49, {"", "", ""}, {"1", "1", "1", "1", "1", "1"}),
        range(20, 39, {"", "", ""}, {"1", "1", "1", "1", "1", "1"}),
        range(0, 19, {"", "", ""}, {"1", "1", "1", "1", "1", "1"})};
    EXPECT_EQ(defaultRanges(), expected);

    Workspace ws;
    ws.favouritesFile = "old.tlf";
    ws.favourites = {"0012"};
    newFavourites(ws);
    EXPECT_EQ(ws.favouritesFile, "");
    EXPECT_TRUE(ws.favourites.empty());
    EXPECT_EQ(ws.initialValues, expected);
}

TEST_F(FavouritesTest, WritesTheExactBytes) {
    newFavourites(ws_);
    ws_.favourites = {"0012", "    ", "0034"};
    const std::string expected = " 7 \r\n" + kDefaultRangeLines + "0012\r\n    \r\n0034\r\n";
    EXPECT_EQ(favouritesFileText(ws_.initialValues, ws_.favourites), expected);
    ws_.favouritesFile = file("new.tlf");
    ASSERT_FALSE(writeFavouritesFile(ws_).has_value());
    EXPECT_EQ(readBytes(dir() / "new.tlf"), expected);
}

TEST_F(FavouritesTest, RoundTripKeepsRangesAndEntries) {
    ws_.initialValues = {range(-5, 100, {"0012", "    ", "1234"}, {"4", "", "3", "2", "1", "4"}),
                         range(50, 59, {"", "", ""}, {"2", "2", "2", "2", "3", ""})};
    ws_.favourites = {"    ", "1234", "0056", "    "};
    ws_.favouritesFile = file("r.tlf");
    ASSERT_FALSE(writeFavouritesFile(ws_).has_value());
    // Eleven fields joined by commas: an empty SR leaves the line ending in a comma.
    EXPECT_EQ(readBytes(dir() / "r.tlf"),
              " 2 \r\n-5,100,0012,    ,1234,4,,3,2,1,4\r\n50,59,,,,2,2,2,2,3,\r\n"
              "    \r\n1234\r\n0056\r\n    \r\n");

    const auto ranges = ws_.initialValues;
    const auto entries = ws_.favourites;
    ws_.initialValues.clear();
    ws_.favourites.clear();
    ASSERT_FALSE(readFavouritesFile(ws_).has_value());
    auto expected = ranges;
    expected[1].skills[kSR] = "3";  // an empty SR is read as IN's value
    EXPECT_EQ(ws_.initialValues, expected);
    EXPECT_EQ(ws_.favourites, entries);
}

TEST_F(FavouritesTest, ReadsWhatWritingDoesNotProduce) {
    ASSERT_FALSE(read(crlfLines({"  2", "50,59,,,,2,2,2,2,3",
                                 "\"60\",69,\"0012\",0099,    ,4,4,4,4,4,", "0034"}))
                     .has_value());
    ASSERT_EQ(ws_.initialValues.size(), 2u);
    EXPECT_EQ(ws_.initialValues[0], range(50, 59, {"", "", ""}, {"2", "2", "2", "2", "3", "3"}));
    EXPECT_EQ(ws_.initialValues[1],
              range(60, 69, {"0012", "", "    "}, {"4", "4", "4", "4", "4", "4"}));
    EXPECT_EQ(ws_.favourites, std::vector<std::string>{"0034"});

    ASSERT_FALSE(read(" 0 \n0012\n    \n0056").has_value());
    EXPECT_TRUE(ws_.initialValues.empty());
    EXPECT_EQ(ws_.favourites, (std::vector<std::string>{"0012", "    ", "0056"}));
}

TEST_F(FavouritesTest, UnknownCodesAreDropped) {
    ASSERT_FALSE(
        read(crlfLines({" 0 ", "0012", "12345", "0099", "0098", "0034", "7", "    ", "1234"}))
            .has_value());
    EXPECT_EQ(ws_.favourites, (std::vector<std::string>{"0012", "0034", "    ", "1234"}));
}

TEST_F(FavouritesTest, WrongTypeClearsTheName) {
    const std::string good = crlfLines({" 0 ", "0012"});
    EXPECT_EQ(read(good, "f.TLF"), msg::tl16FavouritesType());
    EXPECT_EQ(ws_.favouritesFile, "");
    EXPECT_TRUE(ws_.favourites.empty());
    EXPECT_TRUE(ws_.initialValues.empty());
    EXPECT_EQ(read(good, "f.txt"), msg::tl16FavouritesType());
    EXPECT_EQ(msg::tl16FavouritesType().text, "TL16: Invalid Favourites file type.");
}

TEST_F(FavouritesTest, InvalidFilesAreRefusedWithEmptyTables) {
    EXPECT_EQ(msg::tl17FavouritesInvalid().text, "TL17: Invalid Favourites file.");
    expectRefused(crlfLines({" 0 ", "0012", "", "0034"}));
    expectRefused(crlfLines({" 0 ", "0012", "ABCD"}));
    expectRefused(crlfLines({" 0 ", "000"}));
    expectRefused(crlfLines({" 0 ", "99999"}));
    expectRefused(crlfLines({" -1 ", "0012"}));
    expectRefused(crlfLines({"x", "0012"}));
    expectRefused(crlfLines({"70000"}));
    expectRefused(crlfLines({" 1 ", "abc,59,,,,1,1,1,1,1,1"}));
    expectRefused(crlfLines({" 1 ", "50,40000,,,,1,1,1,1,1,1"}));
    expectRefused(crlfLines({" 3 ", "50,59,,,,1,1,1,1,1,1", "60,69,,,,1,1,1,1,1,1"}));
    expectRefused("");

    std::filesystem::remove(dir() / "f.tlf");
    ws_.favourites = {"0012"};
    EXPECT_EQ(readFavouritesFile(ws_), msg::tl17FavouritesInvalid());
    EXPECT_TRUE(ws_.favourites.empty());
}

TEST_F(FavouritesTest, AtMostOneHundredRangesAndOneThousandEntries) {
    std::string ranges;
    for (int i = 0; i < 100; ++i)
        ranges += "0,1,,,,1,1,1,1,1,1\r\n";
    std::string entries;
    for (int i = 0; i < 1000; ++i)
        entries += "0012\r\n";
    ASSERT_FALSE(read(" 100 \r\n" + ranges + entries).has_value());
    EXPECT_EQ(ws_.initialValues.size(), 100u);
    EXPECT_EQ(ws_.favourites.size(), 1000u);

    expectRefused(" 101 \r\n" + ranges + "0,1,,,,1,1,1,1,1,1\r\n");
    expectRefused(" 0 \r\n" + entries + "0034\r\n");
}

TEST_F(FavouritesTest, FailedWriteGivesTL18AndKeepsTheEarlierFile) {
    newFavourites(ws_);
    ws_.favourites = {"0012"};
    ws_.favouritesFile = file("missing/f.tlf");
    const Failure failure = writeFavouritesFile(ws_);
    EXPECT_EQ(failure, msg::tl18FavouritesNotSaved());
    EXPECT_EQ(msg::tl18FavouritesNotSaved().text,
              "TL18: Favourites file could not be saved. \r\n"
              "It is likely that your disk is full or the floppy is not in the drive.\r\n"
              "You should fix the problem and save your favourites in the Comment Selection "
              "window.");

    const std::string earlier = crlfLines({" 0 ", "0034"});
    writeBytes(dir() / "f.tlf", earlier);
    ws_.favouritesFile = file("f.tlf");
    ws_.favourites.assign(300, "0012");
    Failure limited;
    {
        test::FileSizeLimit limit(200);
        limited = writeFavouritesFile(ws_);
    }
    EXPECT_EQ(limited, msg::tl18FavouritesNotSaved());
    EXPECT_EQ(readBytes(dir() / "f.tlf"), earlier);
    EXPECT_EQ(ws_.favourites.size(), 300u);
}

TEST_F(FavouritesTest, AddAppendsEntriesAndLeavesTheRest) {
    newFavourites(ws_);
    ws_.favouritesFile = file("mine.tlf");
    ws_.favourites = {"0012", "    "};
    const auto ranges = ws_.initialValues;
    writeBytes(dir() / "other.txt",
               crlfLines({" 1 ", "10,20,,,,1,1,1,1,1,1", "0034", "    ", "0099", "ABCD", "0056"}));
    ASSERT_FALSE(addFavouritesFromFile(ws_, file("other.txt")).has_value());
    EXPECT_EQ(ws_.favourites,
              (std::vector<std::string>{"0012", "    ", "0034", "    ", "0099", "ABCD", "0056"}));
    EXPECT_EQ(ws_.initialValues, ranges);
    EXPECT_EQ(ws_.favouritesFile, file("mine.tlf"));
}

TEST_F(FavouritesTest, AddStopsWhenTheListIsFull) {
    ws_.favourites.assign(998, "0012");
    writeBytes(dir() / "other.tlf", crlfLines({" 0 ", "0034", "    ", "0056", "1234"}));
    const Failure full = addFavouritesFromFile(ws_, file("other.tlf"));
    EXPECT_EQ(full, msg::favouritesFull());
    EXPECT_EQ(msg::favouritesFull().text,
              "The favourites list is full: it holds at most 1000 entries.");
    ASSERT_EQ(ws_.favourites.size(), 1000u);
    EXPECT_EQ(ws_.favourites[998], "0034");
    EXPECT_EQ(ws_.favourites[999], "    ");
}

}  // namespace
}  // namespace tl
