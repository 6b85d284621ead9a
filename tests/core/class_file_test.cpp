// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/class_file.h"

#include <algorithm>
#include <random>

#include "core/test_support.h"

namespace tl::test {
namespace {

// A plain line of 27 fields: no flags, skills N S G E 0 G, no free-form text.
const std::string kLine = "ENG3U-01,Okafor,Ben,987654321,M,,0,,,,,,N,S,G,E,0,G,,,,,,,0,False,";

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

// The golden case file-forms reads every line ending, each form of column 26
// and a file in UTF-8.

TEST_F(ClassFileTest, RefusedFilesKeepTheOpenClass) {
    forEachRow("class_file_refused.tsv", [this](const TableRow& row) {
        writeBytes(dir() / row["file"], row["bytes"]);
        expectRefused(row["file"], row["file"].ends_with(".tlc") ? msg::tl8ClassFileInvalid()
                                                                 : msg::tl7ClassFileType());
    });
    expectRefused("missing.tlc", msg::tl8ClassFileInvalid());
    // 502 students are too many; the test below opens 501.
    writeBytes(dir() / "big.tlc", repeated(kLine + "\r\n", 502));
    expectRefused("big.tlc", msg::tl8ClassFileInvalid());
}

// The fields of a record that hold any text.
std::vector<std::string*> textFields(StudentRecord& s) {
    return {&s.classCode,      &s.lastName,        &s.firstName,   &s.studentNumber, &s.gender,
            &s.trilliumField8, &s.trilliumField14, &s.esl,         &s.eld,           &s.mark,
            &s.interview,      &s.freeFormText,    &s.comments[0], &s.comments[1],   &s.comments[2],
            &s.comments[3],    &s.comments[4]};
}

TEST_F(ClassFileTest, EverySavedClassOpensAgainWithQuotesAsApostrophes) {
    // Records as the program holds them: any text without a line break in the
    // text fields, skills and flags as the grid sets them.
    std::mt19937 random(20261207);
    const std::string alphabet = "Ab9 ,\"'-.\x80\xE9\xFF";
    const char* skills[] = {"1", "2", "3", "4", ""};
    std::vector<StudentRecord> saved(501);
    for (StudentRecord& s : saved) {
        for (std::string* field : textFields(s)) {
            field->resize(random() % 4 == 0 ? 0 : random() % 13);
            for (char& ch : *field)
                ch = alphabet[random() % alphabet.size()];
        }
        for (std::string& skill : s.skills)
            skill = skills[random() % 5];
        s.iep = random() % 2 ? "Y" : "";
        s.freeFormUsed = random() % 2;
        s.pronouns = std::array{"", "", "H", "S", "T"}[random() % 5];
    }
    ASSERT_EQ(saveClass(file("r.tlc"), saved).outcome, WriteOutcome::Written);
    ASSERT_EQ(openClass(file("r.tlc"), open_), std::nullopt) << readBytes(dir() / "r.tlc");
    for (StudentRecord& s : saved) {
        // A field cannot escape a double quote: it is written as an apostrophe.
        for (std::string* field : textFields(s))
            std::replace(field->begin(), field->end(), '"', '\'');
        s.trilliumField14.clear();  // kept in memory only
    }
    EXPECT_EQ(open_, saved);
}

// Column 19 holds the pronoun choice; any other text there reads as none and
// is written empty, as a class without choices always was.
TEST_F(ClassFileTest, ColumnNineteenHoldsThePronounChoice) {
    const std::size_t column19 = kLine.find(",G,,") + 3;
    std::string bytes;
    for (const char* text : {"T", "H", "S", "x", "t", ""})
        bytes += std::string(kLine).insert(column19, text) + "\r\n";
    writeBytes(dir() / "c.tlc", bytes);
    ASSERT_EQ(openClass(file("c.tlc"), open_), std::nullopt);
    std::string read;
    for (const StudentRecord& s : open_)
        read += s.pronouns + "|";
    EXPECT_EQ(read, "T|H|S||||");
    EXPECT_EQ(classFileLine(open_[0]), std::string(kLine).insert(column19, "T"));
    EXPECT_EQ(classFileLine(open_[3]), kLine);
}

}  // namespace
}  // namespace tl::test
