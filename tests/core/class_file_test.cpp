#include "core/class_file.h"

#include <algorithm>
#include <random>

#include "core/test_support.h"

namespace tl::test {
namespace {

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

class ClassFileTest : public TempDirTest {
  protected:
    // A class open before each refused file; it must survive the refusal.
    std::vector<StudentRecord> open_ = {makeMarkedStudent("SCI2D-03", "Park", "Mina", "555000111")};

    void expectRefused(const std::string& name, const Notice& expected) {
        const auto before = open_;
        EXPECT_EQ(openClass(file(name), open_), expected);
        EXPECT_EQ(open_, before);
    }
};

TEST_F(ClassFileTest, SaveWritesTheExactBytesAndOpenReadsThemBack) {
    // A comma in a name, a short number, every skill letter, flags and free-form text.
    StudentRecord ada = makeMarkedStudent("ENG3U-01", "Smith, Jr.", "Ada", "123456789");
    ada.trilliumField14 = "Z9";  // kept in memory only
    StudentRecord ben = makeStudent("ENG3U-01", "Okafor", "Ben", "12345");
    ben.gender = "M";
    ben.skills = {"1", "2", "3", "4", "", "3"};
    std::vector<StudentRecord> students = {ada, ben};
    ASSERT_FALSE(saveClass(file("c.tlc"), students).has_value());
    EXPECT_EQ(readBytes(dir() / "c.tlc"),
              "ENG3U-01,\"Smith, Jr.\",Ada,123456789,F,K7,1,,Y,78,,,E,G,S,N,0,E,,0012,0034,    ,,"
              "0056,Y,True,Reads widely, writes with care, asks good questions.\r\n"
              "ENG3U-01,Okafor,Ben,12345,M,,0,,,,,,N,S,G,E,0,G,,,,,,,0,False,\r\n");
    ASSERT_FALSE(openClass(file("c.tlc"), open_).has_value());
    students[0].trilliumField14.clear();
    EXPECT_EQ(open_, students);
}

TEST_F(ClassFileTest, OpenAcceptsEveryLineEndingAndEachFormOfColumn26) {
    const std::pair<std::string, bool> forms[] = {{"False", false},   {"true,Kind, fair.", true},
                                                  {"FALSE,x", false}, {"1", true},
                                                  {"0", false},       {"2,", true}};
    std::string bytes;
    const char* endings[] = {"\r\n", "\n", "\r"};
    for (std::size_t i = 0; i < std::size(forms); ++i)
        bytes += (i ? endings[i % 3] : "") + fieldsLine(25) + "," + forms[i].first;
    writeBytes(dir() / "e.tlc", bytes);
    ASSERT_FALSE(openClass(file("e.tlc"), open_).has_value());
    ASSERT_EQ(open_.size(), std::size(forms));
    for (std::size_t i = 0; i < std::size(forms); ++i) {
        SCOPED_TRACE(forms[i].first);
        EXPECT_EQ(open_[i].freeFormUsed, forms[i].second);
        EXPECT_EQ(open_[i].lastName, "Okafor");
        EXPECT_EQ(open_[i].skills, (std::array<std::string, 6>{"1", "2", "3", "4", "", "3"}));
    }
    EXPECT_EQ(open_[0].freeFormText, "");
    EXPECT_EQ(open_[1].freeFormText, "Kind, fair.");
}

TEST_F(ClassFileTest, RefusedFilesKeepTheOpenClass) {
    const std::string good = fieldsLine(27);
    std::string unclosed = good;
    unclosed.replace(unclosed.find("Okafor"), 6, "\"Okafor");
    const std::pair<const char*, std::string> shapes[] = {
        {"empty file", ""},
        {"22 commas after a good line", crlfLines({good, fieldsLine(23)})},
        {"23 commas", crlfLines({fieldsLine(24)})},
        {"24 commas", crlfLines({fieldsLine(25)})},
        {"column 26 a word", crlfLines({fieldsLine(25) + ",yes,"})},
        {"column 26 a letter", crlfLines({fieldsLine(25) + ",T,"})},
        {"unclosed quote in a name", crlfLines({good, unclosed})},
        {"unclosed quote in column 26", crlfLines({fieldsLine(25) + ",\"False"})},
        {"502 lines", repeated(fieldsLine(27) + "\r\n", 502)},
        {"NUL in a name",
         crlfLines({good, std::string("A,B\0b", 5) + good.substr(good.find(",Ben"))})},
        {"byte-order mark before bytes that are not UTF-8",
         "\xEF\xBB\xBF" + crlfLines({"\xE9" + good})}};
    for (const auto& [shape, bytes] : shapes) {
        SCOPED_TRACE(shape);
        writeBytes(dir() / "bad.tlc", bytes);
        expectRefused("bad.tlc", msg::tl8ClassFileInvalid());
    }
    expectRefused("missing.tlc", msg::tl8ClassFileInvalid());
    writeBytes(dir() / "x.TLC", crlfLines({good}));
    writeBytes(dir() / "x.txt", crlfLines({good}));
    expectRefused("x.TLC", msg::tl7ClassFileType());
    expectRefused("x.txt", msg::tl7ClassFileType());

    writeBytes(dir() / "big.tlc", repeated(fieldsLine(27) + "\r\n", 501));
    ASSERT_FALSE(openClass(file("big.tlc"), open_).has_value());
    EXPECT_EQ(open_.size(), 501u);

    EXPECT_EQ(msg::tl7ClassFileType(), (Notice{"TL7: Invalid Tallyleaf Class File Type"}));
    EXPECT_EQ(msg::tl8ClassFileInvalid(),
              (Notice{"TL8: Invalid Tallyleaf Class File (Perhaps it is an .tlc file created by an "
                      "earlier version of TL. Due to changes in Ministry reporting you must use "
                      "current files with the current version of TL.)"}));
}

TEST_F(ClassFileTest, FileWithUtf8ByteOrderMarkIsReadAsUtf8) {
    std::string good = fieldsLine(27);
    good.replace(good.find("Ben"), 3, "Jos\xC3\xA9 \xE2\x86\x92");  // "José →" in UTF-8
    writeBytes(dir() / "bom.tlc", "\xEF\xBB\xBF" + crlfLines({good, good}));
    ASSERT_FALSE(openClass(file("bom.tlc"), open_).has_value());
    ASSERT_EQ(open_.size(), 2u);
    EXPECT_EQ(open_[0].classCode, "ENG3U-01");
    EXPECT_EQ(open_[0].firstName, "Jos\xE9 ?");  // Windows-1252 lacks the arrow
}

// Records as the program holds them: any text without a line break in the
// text fields, skills and flags as the grid sets them.
std::vector<StudentRecord> randomClass(std::mt19937& random, std::size_t size) {
    const std::string alphabet = "Ab9 ,\"'-.\x80\xE9\xFF";
    auto text = [&](std::size_t maxLength) {
        std::string out(random() % (maxLength + 1), ' ');
        for (char& ch : out)
            ch = alphabet[random() % alphabet.size()];
        return out;
    };
    const char* skills[] = {"1", "2", "3", "4", ""};
    std::vector<StudentRecord> students(size);
    for (StudentRecord& s : students) {
        for (std::string* field :
             {&s.classCode, &s.lastName, &s.firstName, &s.studentNumber, &s.gender,
              &s.trilliumField8, &s.esl, &s.eld, &s.mark, &s.interview, &s.freeFormText})
            *field = text(random() % 4 == 0 ? 0 : 12);
        for (std::string& code : s.comments)
            code = text(4);
        for (std::string& skill : s.skills)
            skill = skills[random() % 5];
        s.iep = random() % 2 ? "Y" : "";
        s.freeFormUsed = random() % 2;
    }
    return students;
}

TEST_F(ClassFileTest, EverySavedClassOpensAgainWithQuotesAsApostrophes) {
    std::mt19937 random(20261207);
    for (std::size_t size : {1u, 2u, 17u, 501u}) {
        const std::vector<StudentRecord> saved = randomClass(random, size);
        ASSERT_FALSE(saveClass(file("r.tlc"), saved).has_value());
        ASSERT_EQ(openClass(file("r.tlc"), open_), std::nullopt) << readBytes(dir() / "r.tlc");
        std::vector<StudentRecord> expected = saved;
        for (StudentRecord& s : expected) {
            // A field cannot escape a double quote: it is written as an apostrophe.
            for (std::string* field :
                 {&s.classCode, &s.lastName, &s.firstName, &s.studentNumber, &s.gender,
                  &s.trilliumField8, &s.esl, &s.eld, &s.mark, &s.interview, &s.freeFormText})
                std::replace(field->begin(), field->end(), '"', '\'');
            for (std::string& code : s.comments)
                std::replace(code.begin(), code.end(), '"', '\'');
        }
        EXPECT_EQ(open_, expected);
    }
}

TEST_F(ClassFileTest, FailedSaveGivesTL19AndKeepsTheEarlierFile) {
    EXPECT_EQ(msg::tl19ClassNotSaved(),
              (Notice{"TL19: Class file could not be saved. \r\nIt is likely that your disk is "
                      "full or the folder cannot be written to."}));
    const std::string earlier = crlfLines({fieldsLine(27)});
    writeBytes(dir() / "c.tlc", earlier);
    Failure failure;  // the class needs about 6 KB
    withFileSizeLimit(1000, [&] { failure = saveClass(file("c.tlc"), std::vector(40, open_[0])); });
    EXPECT_EQ(failure, msg::tl19ClassNotSaved());
    EXPECT_EQ(readBytes(dir() / "c.tlc"), earlier);
}

}  // namespace
}  // namespace tl::test
