#include "core/phrase_library.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/messages.h"
#include "core/test_support.h"

namespace tl {
namespace {

using test::readBytes;
using test::writeBytes;

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

class PhraseLibraryTest : public test::TempDirTest {
  protected:
    std::vector<Phrase> phrases_;

    LibraryLoad load(const std::string& bytes) {
        writeBytes(dir() / "TLPhraseLibrary.csv", bytes);
        return loadPhraseLibrary(dir().string(), phrases_);
    }
    void expectFatal(const std::string& bytes, const Notice& expected) {
        const LibraryLoad result = load(bytes);
        EXPECT_EQ(result.status, LibraryStatus::Fatal);
        EXPECT_EQ(result.notice, expected);
    }
};

TEST_F(PhraseLibraryTest, LoadsCodesTextsAndCategories) {
    const LibraryLoad result = load(library(kLines));
    EXPECT_EQ(result.status, LibraryStatus::Loaded);
    EXPECT_FALSE(result.notice.has_value());
    EXPECT_EQ(phrases_, kExpected);
}

TEST_F(PhraseLibraryTest, EveryLineEndingReads) {
    for (const char* ending : {"\n", "\r"}) {
        EXPECT_EQ(load(library(kLines, ending)).status, LibraryStatus::Loaded);
        EXPECT_EQ(phrases_, kExpected);
    }
}

TEST_F(PhraseLibraryTest, OutOfOrderLibraryFindsEveryCode) {
    ASSERT_EQ(load(library({"0300,Third.,A", "0100,First.,A", "0200,Second.,A"})).status,
              LibraryStatus::Loaded);
    EXPECT_EQ(lookupPhrase(phrases_, "0100"), "First. ");
    EXPECT_EQ(lookupPhrase(phrases_, "0200"), "Second. ");
    EXPECT_EQ(lookupPhrase(phrases_, "0300"), "Third. ");
    EXPECT_EQ(findPhrase(phrases_, "0100"), 0);
    EXPECT_EQ(findPhrase(phrases_, "0300"), 2);
}

TEST_F(PhraseLibraryTest, TenThousandPhrasesIsTheLimitAndCommentLinesDoNotCount) {
    std::vector<std::string> lines = {"# comment lines take no position #"};
    for (int i = 0; i < 10000; ++i)
        lines.push_back(std::to_string(i) + ",Phrase.,A");
    lines.push_back("#");
    EXPECT_EQ(load(library(lines)).status, LibraryStatus::Loaded);
    EXPECT_EQ(phrases_.size(), 10000u);
    EXPECT_EQ(lookupPhrase(phrases_, "9999"), "Phrase. ");

    lines.push_back("10000,One too many.,A");
    expectFatal(library(lines), msg::tl2PhraseLibraryMissing());
}

TEST_F(PhraseLibraryTest, FaultyLibrariesAreFatal) {
    expectFatal(library({"0010,Fine.,A", "\"0012\",Quoted code.,A"}),
                msg::tl1PhraseLibraryCorrupt());
    expectFatal(library({"0010,Fine.,A", "", "0020,Fine.,A"}), msg::tl2PhraseLibraryMissing());
    expectFatal(library({"0010,Fine.,A", "0020 no comma"}), msg::tl2PhraseLibraryMissing());

    std::filesystem::remove(dir() / "TLPhraseLibrary.csv");
    const LibraryLoad missing = loadPhraseLibrary(dir().string(), phrases_);
    EXPECT_EQ(missing.status, LibraryStatus::Fatal);
    EXPECT_EQ(missing.notice, msg::tl2PhraseLibraryMissing());
}

TEST_F(PhraseLibraryTest, LibraryThatIsNotAPlainFileIsHidden) {
    std::filesystem::create_directory(dir() / "TLPhraseLibrary.csv");
    phrases_ = {{"0001", "Kept.", "A"}};
    const LibraryLoad result = loadPhraseLibrary(dir().string(), phrases_);
    EXPECT_EQ(result.status, LibraryStatus::Hidden);
    ASSERT_TRUE(result.notice.has_value());
    EXPECT_EQ(result.notice->text,
              "TL3: Tallyleaf Phrase Libary Source File, TLPhraseLibrary.csv, cannot be found.");
    EXPECT_EQ(phrases_, (std::vector<Phrase>{{"0001", "Kept.", "A"}}));
}

TEST(PhraseLookup, FindsOnlyExactFourCharacterCodes) {
    const std::vector<Phrase> table = kExpected;
    EXPECT_EQ(lookupPhrase(table, "0012"), "Shows steady progress. ");
    EXPECT_EQ(lookupPhrase(table, "0020"), "Works well, and often, with others. ");
    EXPECT_EQ(lookupPhrase(table, "0030"), "Speaks clearly. ");
    EXPECT_EQ(lookupPhrase(table, "0050"), "@ asks thoughtful questions. ");
    EXPECT_EQ(lookupPhrase(table, "12"), "");
    EXPECT_EQ(lookupPhrase(table, ""), "");
    EXPECT_EQ(lookupPhrase(table, "    "), "");
    EXPECT_EQ(lookupPhrase(table, "0015"), "");  // between two codes
    EXPECT_EQ(lookupPhrase(table, "0001"), "");
    EXPECT_EQ(lookupPhrase(table, "0099"), "");
    EXPECT_EQ(lookupPhrase({}, "0012"), "");
    EXPECT_EQ(findPhrase(table, "0030"), 2);
    EXPECT_EQ(findPhrase(table, "0015"), -1);
}

TEST_F(PhraseLibraryTest, SortedCopyWritesEveryPhraseWithoutHeader) {
    ASSERT_FALSE(writeSortedPhraseLibrary(dir().string(), kExpected).has_value());
    EXPECT_EQ(readBytes(dir() / "TLPhraseLibrarySORTED.csv"),
              "0012,Shows steady progress.,AB\r\n"
              "0020,\"Works well, and often, with others.\",CD\r\n"
              "0030,Speaks clearly,\r\n"
              "0050,\"@ asks thoughtful questions.\",E\r\n");

    EXPECT_EQ(writeSortedPhraseLibrary(file("missing"), kExpected),
              msg::tlTempPhraseFileNotSaved());
}

}  // namespace
}  // namespace tl
