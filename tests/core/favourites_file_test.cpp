#include "core/favourites_file.h"

#include <algorithm>
#include <random>

#include "core/test_support.h"
#include "core/workspace.h"

namespace tl::test {
namespace {

class FavouritesTest : public TempDirTest {
  protected:
    Workspace ws_;

    void SetUp() override {
        TempDirTest::SetUp();
        ws_.phrases = phraseTable({{"0012", "Works hard.", "A"},
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
};

TEST_F(FavouritesTest, NewListWritesTheSevenDefaultRangesByteExact) {
    ws_.favouritesFile = "old.tlf";
    ws_.favourites = {"0012"};
    newFavourites(ws_);
    EXPECT_EQ(ws_.favouritesFile, "");
    EXPECT_TRUE(ws_.favourites.empty());
    ws_.favourites = {"0012", "    ", "0034"};
    ws_.favouritesFile = file("new.tlf");
    ASSERT_FALSE(writeFavouritesFile(ws_).has_value());
    EXPECT_EQ(readBytes(dir() / "new.tlf"),
              " 7 \r\n80,100,,,,4,4,4,4,4,4\r\n70,79,,,,3,3,3,3,3,3\r\n60,69,,,,3,3,3,3,3,3\r\n"
              "50,59,,,,2,2,2,2,2,2\r\n40,49,,,,1,1,1,1,1,1\r\n20,39,,,,1,1,1,1,1,1\r\n"
              "0,19,,,,1,1,1,1,1,1\r\n0012\r\n    \r\n0034\r\n");
}

TEST_F(FavouritesTest, RoundTripKeepsRangesAndEntries) {
    ws_.initialValues = {
        InitialValueRange{-5, 100, {"0012", "    ", "1234"}, {"4", "", "3", "2", "1", "4"}},
        InitialValueRange{50, 59, {"", "", ""}, {"2", "2", "2", "2", "3", ""}}};
    ws_.favourites = {"    ", "1234", "0056", "    "};
    ws_.favouritesFile = file("r.tlf");
    ASSERT_FALSE(writeFavouritesFile(ws_).has_value());
    // Eleven fields joined by commas: an empty SR leaves the line ending in a comma.
    EXPECT_EQ(readBytes(dir() / "r.tlf"),
              " 2 \r\n-5,100,0012,    ,1234,4,,3,2,1,4\r\n50,59,,,,2,2,2,2,3,\r\n"
              "    \r\n1234\r\n0056\r\n    \r\n");
    auto expected = ws_.initialValues;
    const auto entries = ws_.favourites;
    ws_.initialValues.clear();
    ws_.favourites.clear();
    ASSERT_FALSE(readFavouritesFile(ws_).has_value());
    expected[1].skills[kSR] = "3";  // an empty SR is read as IN's value
    EXPECT_EQ(ws_.initialValues, expected);
    EXPECT_EQ(ws_.favourites, entries);
}

TEST_F(FavouritesTest, EverySavedListOpensAgain) {
    std::mt19937 random(1207);
    const std::string codes[] = {"", "    ", "0012", "0034", "1234"};
    // Skill texts as a file may bring them in: quoted commas, quotes, Windows-1252 bytes.
    const std::string skills[] = {"1", "2", "3", "4", "", "a,b", "\"x", "\xE9"};
    ws_.favouritesFile = file("p.tlf");
    for (std::size_t size : {0u, 1u, 100u}) {
        std::vector<InitialValueRange> ranges(size);
        for (InitialValueRange& r : ranges) {
            r.lowMark = static_cast<int>(random() % 65536) - 32768;
            r.highMark = static_cast<int>(random() % 201) - 50;
            for (std::string& code : r.codes)
                code = codes[random() % std::size(codes)];
            for (std::string& skill : r.skills)
                skill = skills[random() % std::size(skills)];
        }
        std::vector<std::string> entries(size * 10);
        for (std::string& entry : entries)
            entry = codes[1 + random() % 4];
        ws_.initialValues = ranges;
        ws_.favourites = entries;
        ASSERT_FALSE(writeFavouritesFile(ws_).has_value());
        ASSERT_EQ(readFavouritesFile(ws_), std::nullopt) << readBytes(dir() / "p.tlf");
        for (InitialValueRange& r : ranges) {
            for (std::string& skill : r.skills)
                std::replace(skill.begin(), skill.end(), '"', '\'');
            if (r.skills[kSR].empty()) r.skills[kSR] = r.skills[kIN];  // the file's own rule
        }
        EXPECT_EQ(ws_.initialValues, ranges);
        EXPECT_EQ(ws_.favourites, entries);
    }
}

TEST_F(FavouritesTest, ReadsWhatWritingDoesNotProduceAndDropsUnknownCodes) {
    ASSERT_FALSE(read("\xEF\xBB\xBF  2\n50,59,,,,2,2,2,2,3\r\"60\",69,\"0012\",0099,    "
                      ",4,4,4,4,4,,9\r\n0012\n"
                      "12345\n0099\n0034\n7\n    \n1234")
                     .has_value());
    EXPECT_EQ(ws_.initialValues,
              (std::vector<InitialValueRange>{
                  {50, 59, {"", "", ""}, {"2", "2", "2", "2", "3", "3"}},
                  {60, 69, {"0012", "", "    "}, {"4", "4", "4", "4", "4", "4"}}}));
    EXPECT_EQ(ws_.favourites, (std::vector<std::string>{"0012", "0034", "    ", "1234"}));
}

TEST_F(FavouritesTest, RefusedFilesLeaveEmptyTables) {
    const std::string ranges = repeated("0,1,,,,1,1,1,1,1,1\r\n", 100);
    const std::string entries = repeated("0012\r\n", 1000);
    const std::pair<const char*, std::string> shapes[] = {
        {"f.TLF", crlfLines({" 0 ", "0012"})},
        {"f.txt", crlfLines({" 0 ", "0012"})},
        {"empty line", crlfLines({" 0 ", "0012", "", "0034"})},
        {"letters", crlfLines({" 0 ", "0012", "ABCD"})},
        {"three digits", crlfLines({" 0 ", "000"})},
        {"five digits", crlfLines({" 0 ", "99999"})},
        {"negative count", crlfLines({" -1 ", "0012"})},
        {"count not a number", crlfLines({"x", "0012"})},
        {"count above 16 bits", crlfLines({"70000"})},
        {"two signs in a mark", crlfLines({" 1 ", "+-5,59,,,,1,1,1,1,1,1"})},
        {"NUL in an entry", std::string(" 0 \r\n00\0"
                                        "12\r\n",
                                        12)},
        {"mark then bytes that are not UTF-8", "\xEF\xBB\xBF 0 \r\n\xE9\r\n"},
        {"low mark not a number", crlfLines({" 1 ", "abc,59,,,,1,1,1,1,1,1"})},
        {"high mark above 16 bits", crlfLines({" 1 ", "50,40000,,,,1,1,1,1,1,1"})},
        {"fewer ranges than counted", crlfLines({" 3 ", "50,59,,,,1,1,1,1,1,1"})},
        {"101 ranges", " 101 \r\n" + ranges + "0,1,,,,1,1,1,1,1,1\r\n"},
        {"1001 entries", " 0 \r\n" + entries + "0034\r\n"},
        {"empty file", ""}};
    for (const auto& [shape, bytes] : shapes) {
        SCOPED_TRACE(shape);
        // A refused file is no longer the current file: no later save writes into it.
        const bool wrongType = std::string_view(shape).starts_with("f.");
        EXPECT_EQ(read(bytes, wrongType ? shape : "f.tlf"),
                  wrongType ? msg::tl16FavouritesType() : msg::tl17FavouritesInvalid());
        EXPECT_EQ(ws_.favouritesFile, "");
        EXPECT_TRUE(ws_.favourites.empty());
        EXPECT_TRUE(ws_.initialValues.empty());
    }
    fs::remove(dir() / "f.tlf");
    ws_.favouritesFile = file("f.tlf");
    EXPECT_EQ(readFavouritesFile(ws_), msg::tl17FavouritesInvalid());

    ASSERT_FALSE(read(" 100 \r\n" + ranges + entries).has_value());
    EXPECT_EQ(ws_.initialValues.size(), 100u);
    EXPECT_EQ(ws_.favourites.size(), 1000u);

    EXPECT_EQ(msg::tl16FavouritesType(), (Notice{"TL16: Invalid Favourites file type."}));
    EXPECT_EQ(msg::tl17FavouritesInvalid(), (Notice{"TL17: Invalid Favourites file."}));
}

TEST_F(FavouritesTest, FailedWriteGivesTL18AndKeepsTheEarlierFile) {
    EXPECT_EQ(msg::tl18FavouritesNotSaved(),
              (Notice{"TL18: Favourites file could not be saved. \r\nIt is likely that your disk "
                      "is full or the floppy is not in the drive.\r\nYou should fix the problem "
                      "and save your favourites in the Comment Selection window."}));
    const std::string earlier = crlfLines({" 0 ", "0034"});
    writeBytes(dir() / "f.tlf", earlier);
    ws_.favouritesFile = file("f.tlf");
    ws_.favourites.assign(300, "0012");
    Failure failure;
    withFileSizeLimit(200, [&] { failure = writeFavouritesFile(ws_); });
    EXPECT_EQ(failure, msg::tl18FavouritesNotSaved());
    EXPECT_EQ(readBytes(dir() / "f.tlf"), earlier);
}

TEST_F(FavouritesTest, AddAppendsCheckedEntriesUpToTheLimit) {
    newFavourites(ws_);
    ws_.favouritesFile = file("mine.tlf");
    ws_.favourites = {"0012", "    "};
    // Its type is not checked; a code the library lacks stays in the list.
    writeBytes(dir() / "other.txt",
               "\xEF\xBB\xBF" + crlfLines({" 1 ", "10,20,,,,1,1,1,1,1,1", "0034", "    ", "0099"}));
    ASSERT_FALSE(addFavouritesFromFile(ws_, file("other.txt")).has_value());
    EXPECT_EQ(ws_.favourites, (std::vector<std::string>{"0012", "    ", "0034", "    ", "0099"}));
    EXPECT_EQ(ws_.initialValues, defaultRanges());
    EXPECT_EQ(ws_.favouritesFile, file("mine.tlf"));

    ws_.favourites.assign(998, "0012");
    EXPECT_EQ(addFavouritesFromFile(ws_, file("other.txt")), msg::favouritesFull());
    EXPECT_EQ(ws_.favourites.size(), 1000u);
    EXPECT_EQ(ws_.favourites[998] + ws_.favourites[999], "0034    ");
    EXPECT_EQ(msg::favouritesFull(),
              (Notice{"The favourites list is full: it holds at most 1000 entries."}));

    // A line that reading refuses refuses the whole merge: nothing is appended.
    const std::pair<const char*, std::string> refused[] = {
        {"letters", crlfLines({" 0 ", "0034", "ABCD"})},
        {"empty line", crlfLines({" 0 ", "0034", "", "0056"})},
        {"bad range", crlfLines({" 1 ", "x,20,,,,1,1,1,1,1,1", "0034"})},
        {"fewer ranges than counted", crlfLines({" 2 ", "0034"})},
        {"1001 entries", " 0 \r\n" + repeated("0034\r\n", 1001)},
        {"NUL", std::string(" 0 \r\n0034\0\r\n", 12)}};
    for (const auto& [shape, bytes] : refused) {
        SCOPED_TRACE(shape);
        ws_.favourites = {"0012"};
        writeBytes(dir() / "bad.tlf", bytes);
        EXPECT_EQ(addFavouritesFromFile(ws_, file("bad.tlf")), msg::tl17FavouritesInvalid());
        EXPECT_EQ(ws_.favourites, std::vector<std::string>{"0012"});
        EXPECT_EQ(ws_.favouritesFile, file("mine.tlf"));
    }
}

}  // namespace
}  // namespace tl::test
