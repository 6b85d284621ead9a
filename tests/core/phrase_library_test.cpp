#include "core/phrase_library.h"

#include "core/test_support.h"

namespace tl::test {
namespace {

// The golden case library-forms loads a library with every line ending, comment
// lines, a short code, quoted texts and a missing category, and writes its sorted
// copy; the other cases load theirs.
const std::vector<Phrase> kPhrases = {{"0012", "Shows steady progress.", "AB"},
                                      {"0020", "\"Works well, and often, with others.\"", "CD"},
                                      {"0030", "Speaks clearly", ""},
                                      {"0050", "\"@ asks thoughtful questions.\"", "E"}};

std::string library(std::vector<std::string> lines) {
    lines.insert(lines.begin(), "Code,Phrase,Category");
    return crlfLines(lines);
}

class PhraseLibraryTest : public TempDirTest {
  protected:
    std::vector<Phrase> phrases_;

    LibraryLoad load(const std::string& bytes) {
        writeBytes(dir() / "TLPhraseLibrary.csv", bytes);
        return loadPhraseLibrary(dir().string(), phrases_);
    }
};

TEST(PhraseLookup, FindsExactCodesOnly) {
    // Too short, empty, a separator, between two codes, before and after every code.
    for (const char* absent : {"12", "", "    ", "0015", "0001", "0099"})
        EXPECT_EQ(findPhrase(kPhrases, absent), -1) << '"' << absent << '"';
    EXPECT_EQ(findPhrase(kPhrases, "0030"), 2);
    EXPECT_EQ(lookupPhrase({}, "0012"), "");
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
    forEachRow("phrase_library_fatal.tsv", [this](const TableRow& row) {
        const LibraryLoad result = load(row["bytes"]);
        EXPECT_EQ(result.status, LibraryStatus::Fatal);
        EXPECT_EQ(result.notice, row["message"] == "tl1" ? msg::tl1PhraseLibraryCorrupt()
                                                         : msg::tl2PhraseLibraryMissing());
    });
    const std::string bom = "\xEF\xBB\xBF";
    ASSERT_EQ(load(bom + library({"0010,Caf\xC3\xA9.,A"})).status, LibraryStatus::Loaded);
    EXPECT_EQ(phrases_, (std::vector<Phrase>{{"0010", "Caf\xE9.", "A"}}));
    fs::remove(dir() / "TLPhraseLibrary.csv");
    const LibraryLoad missing = loadPhraseLibrary(dir().string(), phrases_);
    EXPECT_EQ(missing.status, LibraryStatus::Fatal);
    EXPECT_EQ(missing.notice, msg::tl2PhraseLibraryMissing());

    fs::create_directory(dir() / "TLPhraseLibrary.csv");
    phrases_ = {{"0001", "Kept.", "A"}};
    const LibraryLoad hidden = loadPhraseLibrary(dir().string(), phrases_);
    EXPECT_EQ(hidden.status, LibraryStatus::Hidden);
    EXPECT_EQ(hidden.notice, msg::tl3PhraseLibraryHidden());
    EXPECT_EQ(phrases_, (std::vector<Phrase>{{"0001", "Kept.", "A"}}));
}

TEST_F(PhraseLibraryTest, SortedCopyThatCannotBeWrittenGivesItsMessage) {
    EXPECT_EQ(writeSortedPhraseLibrary(file("missing"), kPhrases), msg::tlTempPhraseFileNotSaved());
}

}  // namespace
}  // namespace tl::test
