#include "core/phrase_library.h"

#include "core/test_support.h"

namespace tl::test {
namespace {

const std::vector<std::string> kLines = {
    "12,Shows steady progress.,AB",        "0020,\"Works well, and often, with others.\",CD",
    "# the next group is for oral work #", "0030,Speaks clearly",
    "0040,Retired phrase,A #   ",          "0050,\"@ asks thoughtful questions.\",E",
};

const std::vector<Phrase> kExpected = {
    {"0012", "Shows steady progress.", "AB"},
    {"0020", "\"Works well, and often, with others.\"", "CD"},
    {"0030", "Speaks clearly", ""},
    {"0050", "\"@ asks thoughtful questions.\"", "E"},
};

std::string library(const std::vector<std::string>& lines, const std::string& ending = "\r\n") {
    std::string bytes = "Code,Phrase,Category" + ending;
    for (const auto& line : lines)
        bytes += line + ending;
    return bytes;
}

class PhraseLibraryTest : public TempDirTest {
  protected:
    std::vector<Phrase> phrases_;

    LibraryLoad load(const std::string& bytes) {
        writeBytes(dir() / "TLPhraseLibrary.csv", bytes);
        return loadPhraseLibrary(dir().string(), phrases_);
    }
};

TEST_F(PhraseLibraryTest, LoadsCodesTextsAndCategoriesWithEveryLineEnding) {
    for (const char* ending : {"\r\n", "\n", "\r"}) {
        EXPECT_EQ(load(library(kLines, ending)).status, LibraryStatus::Loaded);
        EXPECT_EQ(phrases_, kExpected);
    }
}

TEST_F(PhraseLibraryTest, OutOfOrderLibraryFindsEveryCode) {
    ASSERT_EQ(load(library({"0300,Third.,A", "0100,First.,A", "0200,Second.,A"})).status,
              LibraryStatus::Loaded);
    EXPECT_EQ(lookupPhrase(phrases_, "0100"), "First. ");
    EXPECT_EQ(lookupPhrase(phrases_, "0200"), "Second. ");
    EXPECT_EQ(findPhrase(phrases_, "0300"), 2);
}

TEST_F(PhraseLibraryTest, TenThousandPhrasesIsTheLimitAndCommentLinesDoNotCount) {
    std::vector<std::string> lines = {"# comment lines take no position #"};
    for (int i = 0; i < 10000; ++i)
        lines.push_back(std::to_string(i) + ",Phrase.,A");
    lines.push_back("#");
    EXPECT_EQ(load(library(lines)).status, LibraryStatus::Loaded);
    EXPECT_EQ(phrases_.size(), 10000u);
    lines.push_back("10000,One too many.,A");
    EXPECT_EQ(load(library(lines)).notice, msg::tl2PhraseLibraryMissing());
}

TEST_F(PhraseLibraryTest, FaultyLibrariesAreFatalAndAHiddenOneKeepsTheTable) {
    const std::pair<std::vector<std::string>, Notice> faulty[] = {
        {{"0010,Fine.,A", "\"0012\",Quoted code.,A"}, msg::tl1PhraseLibraryCorrupt()},
        {{"0010,Fine.,A", "", "0020,Fine.,A"}, msg::tl2PhraseLibraryMissing()},
        {{"0010,Fine.,A", "0020 no comma"}, msg::tl2PhraseLibraryMissing()}};
    for (const auto& [lines, notice] : faulty) {
        SCOPED_TRACE(lines.back());
        const LibraryLoad result = load(library(lines));
        EXPECT_EQ(result.status, LibraryStatus::Fatal);
        EXPECT_EQ(result.notice, notice);
    }
    // No first line to discard, a NUL, a byte-order mark before bytes that are not UTF-8.
    for (const std::string& bytes : {std::string(), library({std::string("0010,Fi\0ne.,A", 13)}),
                                     "\xEF\xBB\xBF" + library({"0010,Caf\xE9.,A"})}) {
        const LibraryLoad result = load(bytes);
        EXPECT_EQ(result.status, LibraryStatus::Fatal);
        EXPECT_EQ(result.notice, msg::tl2PhraseLibraryMissing());
    }
    ASSERT_EQ(load("\xEF\xBB\xBF" + library({"0010,Caf\xC3\xA9.,A"})).status,
              LibraryStatus::Loaded);
    EXPECT_EQ(phrases_, (std::vector<Phrase>{{"0010", "Caf\xE9.", "A"}}));
    fs::remove(dir() / "TLPhraseLibrary.csv");
    const LibraryLoad missing = loadPhraseLibrary(dir().string(), phrases_);
    EXPECT_EQ(missing.status, LibraryStatus::Fatal);
    EXPECT_EQ(missing.notice, msg::tl2PhraseLibraryMissing());

    fs::create_directory(dir() / "TLPhraseLibrary.csv");
    phrases_ = {{"0001", "Kept.", "A"}};
    const LibraryLoad hidden = loadPhraseLibrary(dir().string(), phrases_);
    EXPECT_EQ(hidden.status, LibraryStatus::Hidden);
    EXPECT_EQ(hidden.notice, (Notice{"TL3: Tallyleaf Phrase Libary Source File, "
                                     "TLPhraseLibrary.csv, cannot be found."}));
    EXPECT_EQ(phrases_, (std::vector<Phrase>{{"0001", "Kept.", "A"}}));
}

TEST(PhraseLookup, FindsOnlyExactFourCharacterCodes) {
    EXPECT_EQ(lookupPhrase(kExpected, "0020"), "Works well, and often, with others. ");
    EXPECT_EQ(lookupPhrase(kExpected, "0050"), "@ asks thoughtful questions. ");
    // Too short, empty, a separator, between two codes, before and after every code.
    for (const char* absent : {"12", "", "    ", "0015", "0001", "0099"})
        EXPECT_EQ(findPhrase(kExpected, absent), -1) << '"' << absent << '"';
    EXPECT_EQ(lookupPhrase(kExpected, "0015"), "");
    EXPECT_EQ(lookupPhrase({}, "0012"), "");
    EXPECT_EQ(findPhrase(kExpected, "0030"), 2);
}

TEST_F(PhraseLibraryTest, SortedCopyWritesEveryPhraseWithoutHeader) {
    ASSERT_FALSE(writeSortedPhraseLibrary(dir().string(), kExpected).has_value());
    EXPECT_EQ(readBytes(dir() / "TLPhraseLibrarySORTED.csv"),
              crlfLines({"0012,Shows steady progress.,AB",
                         "0020,\"Works well, and often, with others.\",CD", "0030,Speaks clearly,",
                         "0050,\"@ asks thoughtful questions.\",E"}));
    EXPECT_EQ(writeSortedPhraseLibrary(file("missing"), kExpected),
              msg::tlTempPhraseFileNotSaved());
}

}  // namespace
}  // namespace tl::test
