#include "core/class_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/messages.h"
#include "core/test_support.h"

namespace tl {
namespace {

using test::crlfLines;
using test::makeMarkedStudent;
using test::makeStudent;
using test::readBytes;
using test::writeBytes;

// The 27 fields of a plain line: no flags, skills N S G E 0 G, no free-form text.
const std::vector<std::string> kFields = {
    "ENG3U-01", "Okafor", "Ben", "987654321", "M", "", "0", "", "", "", "",  "",      "N", "S",
    "G",        "E",      "0",   "G",         "",  "", "",  "", "", "", "0", "False", ""};

// The first count fields of the plain line, joined by commas.
std::string fieldsLine(std::size_t count) {
    std::string line;
    for (std::size_t i = 0; i < count; ++i)
        line += (i ? "," : "") + kFields[i];
    return line;
}

std::vector<StudentRecord> sampleClass() {
    StudentRecord ada = makeMarkedStudent("ENG3U-01", "Nguyen", "Ada", "123456789");
    ada.trilliumField14 = "Z9";
    StudentRecord ben = makeStudent("ENG3U-01", "Okafor", "Ben", "987654321");
    ben.gender = "M";
    ben.skills = {"1", "2", "3", "4", "", "3"};
    return {ada, ben};
}

class ClassFileTest : public test::TempDirTest {
  protected:
    // A class open before each refused file; it must survive the refusal.
    std::vector<StudentRecord> open_ = {makeMarkedStudent("SCI2D-03", "Park", "Mina", "555000111")};

    void expectRefused(const std::string& path, const Notice& expected) {
        const auto before = open_;
        const Failure failure = openClass(path, open_);
        ASSERT_TRUE(failure.has_value()) << path;
        EXPECT_EQ(*failure, expected);
        EXPECT_EQ(open_, before);
    }
    void expectRefusedContent(const std::string& bytes) {
        writeBytes(dir() / "bad.tlc", bytes);
        expectRefused(file("bad.tlc"), msg::tl8ClassFileInvalid());
    }
};

TEST(ClassFileCodes, MapValuesToFileLettersAndBack) {
    const std::vector<std::pair<std::string, std::string>> pairs = {
        {"1", "N"}, {"2", "S"}, {"3", "G"}, {"4", "E"}, {"", "0"}, {"Y", "1"}};
    for (const auto& [memory, letter] : pairs) {
        EXPECT_EQ(toFileCode(memory), letter) << memory;
        EXPECT_EQ(fromFileCode(letter), memory) << letter;
    }
    for (const char* other : {"5", "y", "n", "g", "x"}) {
        EXPECT_EQ(toFileCode(other), "") << other;
        EXPECT_EQ(fromFileCode(other), "") << other;
    }
}

TEST_F(ClassFileTest, SaveWritesTheExactBytes) {
    ASSERT_FALSE(saveClass(file("c.tlc"), sampleClass()).has_value());
    EXPECT_EQ(readBytes(dir() / "c.tlc"),
              "ENG3U-01,Nguyen,Ada,123456789,F,K7,1,,Y,78,,,E,G,S,N,0,E,,0012,0034,    ,,0056,Y,"
              "True,Reads widely, writes with care, asks good questions.\r\n"
              "ENG3U-01,Okafor,Ben,987654321,M,,0,,,,,,N,S,G,E,0,G,,,,,,,0,False,\r\n");
}

TEST_F(ClassFileTest, SaveThenOpenGivesTheSameClassWithoutField14) {
    auto students = sampleClass();
    ASSERT_FALSE(saveClass(file("c.tlc"), students).has_value());
    std::vector<StudentRecord> reopened;
    ASSERT_FALSE(openClass(file("c.tlc"), reopened).has_value());
    students[0].trilliumField14.clear();
    EXPECT_EQ(reopened, students);
}

TEST_F(ClassFileTest, CommaInNamesIsQuotedAndReadsBack) {
    StudentRecord s = makeMarkedStudent("ENG3U-01", "Smith, Jr.", "Lee, Ann", "111222333");
    ASSERT_FALSE(saveClass(file("q.tlc"), {s}).has_value());
    const std::string bytes = readBytes(dir() / "q.tlc");
    EXPECT_EQ(bytes.rfind("ENG3U-01,\"Smith, Jr.\",\"Lee, Ann\",111222333,F,K7,1,", 0), 0u)
        << bytes;
    std::vector<StudentRecord> reopened;
    ASSERT_FALSE(openClass(file("q.tlc"), reopened).has_value());
    ASSERT_EQ(reopened.size(), 1u);
    EXPECT_EQ(reopened[0], s);
}

TEST_F(ClassFileTest, ShortStudentNumberIsWrittenUnchanged) {
    StudentRecord s = makeStudent("ENG3U-01", "Okafor", "Ben", "12345");
    ASSERT_FALSE(saveClass(file("n.tlc"), {s}).has_value());
    EXPECT_NE(readBytes(dir() / "n.tlc").find(",Ben,12345,F,"), std::string::npos);
    std::vector<StudentRecord> reopened;
    ASSERT_FALSE(openClass(file("n.tlc"), reopened).has_value());
    ASSERT_EQ(reopened.size(), 1u);
    EXPECT_EQ(reopened[0].studentNumber, "12345");
}

TEST_F(ClassFileTest, OpenAcceptsEveryLineEndingAndReplacesTheTable) {
    writeBytes(dir() / "e.tlc", fieldsLine(27) + "\n" + fieldsLine(27) + "\r" + fieldsLine(27));
    ASSERT_FALSE(openClass(file("e.tlc"), open_).has_value());
    ASSERT_EQ(open_.size(), 3u);
    EXPECT_EQ(open_[2].lastName, "Okafor");
    EXPECT_EQ(open_[2].skills, (std::array<std::string, 6>{"1", "2", "3", "4", "", "3"}));
}

TEST_F(ClassFileTest, TwentyFiveCommasGiveAnEmptyFreeFormText) {
    writeBytes(dir() / "s.tlc", crlfLines({fieldsLine(26)}));
    ASSERT_FALSE(openClass(file("s.tlc"), open_).has_value());
    ASSERT_EQ(open_.size(), 1u);
    EXPECT_FALSE(open_[0].freeFormUsed);
    EXPECT_EQ(open_[0].freeFormText, "");
    EXPECT_EQ(open_[0].interview, "0");
}

TEST_F(ClassFileTest, Column26ConvertsWordsInAnyCaseAndNumbers) {
    const std::vector<std::pair<std::string, bool>> cases = {
        {"true", true}, {"FALSE", false}, {"True", true}, {"1", true}, {"0", false}, {"2", true}};
    for (const auto& [text, expected] : cases) {
        writeBytes(dir() / "b.tlc", crlfLines({fieldsLine(25) + "," + text + ",Kind, fair."}));
        ASSERT_FALSE(openClass(file("b.tlc"), open_).has_value()) << text;
        ASSERT_EQ(open_.size(), 1u);
        EXPECT_EQ(open_[0].freeFormUsed, expected) << text;
        EXPECT_EQ(open_[0].freeFormText, "Kind, fair.");
    }
}

TEST_F(ClassFileTest, FiveHundredOneLinesOpen) {
    std::string bytes;
    for (int i = 0; i < 501; ++i)
        bytes += fieldsLine(27) + "\r\n";
    writeBytes(dir() / "big.tlc", bytes);
    ASSERT_FALSE(openClass(file("big.tlc"), open_).has_value());
    EXPECT_EQ(open_.size(), 501u);
}

TEST_F(ClassFileTest, RefusedTypeKeepsTheOpenClass) {
    writeBytes(dir() / "x.TLC", crlfLines({fieldsLine(27)}));
    writeBytes(dir() / "x.txt", crlfLines({fieldsLine(27)}));
    expectRefused(file("x.TLC"), msg::tl7ClassFileType());
    expectRefused(file("x.txt"), msg::tl7ClassFileType());
    // The message word for word.
    EXPECT_EQ(msg::tl7ClassFileType().text, "TL7: Invalid Tallyleaf Class File Type");
    EXPECT_EQ(msg::tl7ClassFileType().title, "Tallyleaf");
}

TEST_F(ClassFileTest, RefusedContentKeepsTheOpenClass) {
    const std::string good = fieldsLine(27);
    expectRefusedContent("");
    expectRefusedContent(crlfLines({good, fieldsLine(23)}));  // 22 commas after a good line
    expectRefusedContent(crlfLines({fieldsLine(24)}));        // 23 commas
    expectRefusedContent(crlfLines({fieldsLine(25)}));        // 24 commas
    expectRefusedContent(crlfLines({fieldsLine(25) + ",yes,"}));
    expectRefusedContent(crlfLines({fieldsLine(25) + ",T,"}));
    std::string unclosed = good;
    unclosed.replace(unclosed.find("Okafor"), 6, "\"Okafor");
    expectRefusedContent(crlfLines({good, unclosed}));
    expectRefusedContent(crlfLines({fieldsLine(25) + ",\"False"}));
    std::string tooMany;
    for (int i = 0; i < 502; ++i)
        tooMany += good + "\r\n";
    expectRefusedContent(tooMany);
    expectRefused(file("missing.tlc"), msg::tl8ClassFileInvalid());
    EXPECT_EQ(msg::tl8ClassFileInvalid().text,
              "TL8: Invalid Tallyleaf Class File (Perhaps it is an .tlc file created by an earlier "
              "version of TL. Due to changes in Ministry reporting you must use current files "
              "with the current version of TL.)");
}

TEST_F(ClassFileTest, UnwritableTargetGivesTL19) {
    const auto students = sampleClass();
    const Failure missingFolder = saveClass(file("no/such/folder/c.tlc"), students);
    ASSERT_TRUE(missingFolder.has_value());
    EXPECT_EQ(*missingFolder, msg::tl19ClassNotSaved());
    EXPECT_EQ(missingFolder->text,
              "TL19: Class file could not be saved. \r\n"
              "It is likely that your disk is full or the folder cannot be written to.");

    writeBytes(dir() / "plain", "not a folder");
    EXPECT_EQ(saveClass(file("plain/c.tlc"), students), msg::tl19ClassNotSaved());
    EXPECT_EQ(readBytes(dir() / "plain"), "not a folder");
}

TEST_F(ClassFileTest, FailedWriteLeavesTheEarlierFileUnchanged) {
    const std::string earlier = crlfLines({fieldsLine(27)});
    writeBytes(dir() / "c.tlc", earlier);
    std::vector<StudentRecord> large(40, sampleClass()[0]);
    Failure failure;
    {
        test::FileSizeLimit limit(1000);  // the class needs about 6 KB
        failure = saveClass(file("c.tlc"), large);
    }
    EXPECT_EQ(failure, msg::tl19ClassNotSaved());
    EXPECT_EQ(readBytes(dir() / "c.tlc"), earlier);
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir()))
        ++entries;
    EXPECT_EQ(entries, 1u) << "a temporary file was left behind";
}

}  // namespace
}  // namespace tl
