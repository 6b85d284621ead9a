// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/phrase_library.h"

#include "core/test_support.h"

namespace tl::test {
namespace {

// The golden case library-forms loads a library with every line ending, comment
// lines, a short code, quoted texts and a missing category, and writes its sorted
// copy; the other cases load theirs.
TEST(PhraseLookup, FindsExactCodesOnly) {
    const std::vector<Phrase> phrases = {{"0012", "a", ""}, {"0020", "b", ""}, {"0030", "c", ""}};
    // Too short, empty, a separator, between two codes, before and after every code.
    for (const char* absent : {"12", "", "    ", "0015", "0001", "0099"})
        EXPECT_EQ(findPhrase(phrases, absent), -1) << '"' << absent << '"';
    EXPECT_EQ(findPhrase(phrases, "0030"), 2);
    EXPECT_EQ(lookupPhrase({}, "0012"), "");
    EXPECT_EQ(writeSortedPhraseLibrary("/missing/folder", phrases),
              msg::tlTempPhraseFileNotSaved());
}

class PhraseLibraryTest : public TempDirTest {
  protected:
    std::vector<Phrase> phrases_;

    void write(const std::string& bytes) { writeBytes(dir() / "TLPhraseLibrary.csv", bytes); }
    void expectLoad(LibraryStatus status, const Failure& notice) {
        const LibraryLoad got = loadPhraseLibrary(dir().string(), phrases_);
        EXPECT_EQ(got.status, status);
        EXPECT_EQ(got.notice, notice);
    }
};

TEST_F(PhraseLibraryTest, TenThousandPhrasesIsTheLimitAndCommentLinesDoNotCount) {
    std::vector<std::string> lines = {"Code,Phrase,Category", "# comment lines take no position #"};
    for (int i = 0; i < 10000; ++i)
        lines.push_back(std::to_string(i) + ",Phrase.,A");
    lines.push_back("#");
    write(crlfLines(lines));
    expectLoad(LibraryStatus::Loaded, std::nullopt);
    EXPECT_EQ(phrases_.size(), 10000u);
    lines.push_back("10000,One too many.,A");
    write(crlfLines(lines));
    expectLoad(LibraryStatus::Fatal, msg::tl2PhraseLibraryMissing());
}

// A byte-order mark anywhere in a line is dropped; a library out of order is
// sorted by code (equal codes kept in file order), one in order kept as it is.
TEST_F(PhraseLibraryTest, MarksInsideLinesAreDroppedAndEveryCodeIsFoundInAnyOrder) {
    write(
        "Code,Phrase,Category\r\n0030,Works \xEF\xBB\xBFhard.,A\r\n\xEF\xBB\xBF"
        "0010,First.,B\r\n20,Helps.,C\xEF\xBB\xBF\r\n10,Second.,D\r\n");
    expectLoad(LibraryStatus::Loaded, std::nullopt);
    EXPECT_EQ(phrases_, (std::vector<Phrase>{{"0010", "First.", "B"},
                                             {"0010", "Second.", "D"},
                                             {"0020", "Helps.", "C"},
                                             {"0030", "Works hard.", "A"}}));
    for (const char* code : {"0010", "0020", "0030"})
        EXPECT_GE(findPhrase(phrases_, code), 0) << code;
    write("Code,Phrase,Category\r\n10,First.,B\r\n0010,Second.,D\r\n0020,Helps.,C\r\n");
    expectLoad(LibraryStatus::Loaded, std::nullopt);
    EXPECT_EQ(phrases_,
              (std::vector<Phrase>{
                  {"0010", "First.", "B"}, {"0010", "Second.", "D"}, {"0020", "Helps.", "C"}}));
}

TEST_F(PhraseLibraryTest, FaultyLibrariesAreFatalAndAHiddenOneKeepsTheTable) {
    forEachRow("phrase_library_fatal.tsv", [this](const TableRow& row) {
        write(row["bytes"]);
        expectLoad(LibraryStatus::Fatal, row["message"] == "tl1" ? msg::tl1PhraseLibraryCorrupt()
                                                                 : msg::tl2PhraseLibraryMissing());
    });
    write(
        "\xEF\xBB\xBF"
        "Code,Phrase,Category\r\n0010,Caf\xC3\xA9.,A\r\n");
    expectLoad(LibraryStatus::Loaded, std::nullopt);
    EXPECT_EQ(phrases_, (std::vector<Phrase>{{"0010", "Caf\xE9.", "A"}}));
    fs::remove(dir() / "TLPhraseLibrary.csv");
    expectLoad(LibraryStatus::Fatal, msg::tl2PhraseLibraryMissing());
    fs::create_directory(dir() / "TLPhraseLibrary.csv");
    phrases_ = {{"0001", "Kept.", "A"}};
    expectLoad(LibraryStatus::Hidden, msg::tl3PhraseLibraryHidden());
    EXPECT_EQ(phrases_, (std::vector<Phrase>{{"0001", "Kept.", "A"}}));
}

}  // namespace
}  // namespace tl::test
