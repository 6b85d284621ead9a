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

// A change of the class counts when a save would write other bytes: the
// record comparison gives what comparing the whole texts gives, also for
// records that differ only in what the file does not hold or writes alike,
// and for a pronoun choice holding a line break that moves the line ends.
TEST_F(ClassFileTest, TheTextDiffersExactlyWhenTheWrittenBytesDo) {
    const StudentRecord plain = makeStudent("ENG3U-01", "Okafor", "Ben", "987654321");
    const StudentRecord marked = makeMarkedStudent("SCI2D-03", "Park", "Mina", "555000111");
    // A line as head + the pronoun choice + rest.
    const auto split = [](StudentRecord s) {
        s.pronouns = "\x01";
        const std::string line = classFileLine(s);
        const std::size_t at = line.find('\x01');
        return std::pair(line.substr(0, at), line.substr(at + 1));
    };
    // One record written as the lines of plain and marked joined by CR LF:
    // plain's fields before the choice, marked's after it.
    StudentRecord joined = marked;
    for (auto field :
         {&StudentRecord::classCode, &StudentRecord::lastName, &StudentRecord::firstName,
          &StudentRecord::studentNumber, &StudentRecord::gender, &StudentRecord::trilliumField8,
          &StudentRecord::iep, &StudentRecord::esl, &StudentRecord::eld, &StudentRecord::mark})
        joined.*field = plain.*field;
    joined.skills = plain.skills;
    joined.pronouns =
        plain.pronouns + split(plain).second + "\r\n" + split(marked).first + marked.pronouns;
    ASSERT_EQ(classFileLine(joined), classFileLine(plain) + "\r\n" + classFileLine(marked));
    EXPECT_FALSE(classFileTextDiffers({joined}, {plain, marked}));
    EXPECT_FALSE(classFileTextDiffers({plain, marked}, {joined}));
    EXPECT_TRUE(classFileTextDiffers({joined}, {plain}));

    // Each variant of plain, written alike or not.
    std::vector<StudentRecord> variants = {plain, marked, joined};
    const auto variant = [&](auto change) {
        StudentRecord s = plain;
        change(s);
        variants.push_back(s);
    };
    variant([](StudentRecord& s) { s.trilliumField14 = "P"; });  // not in the file
    variant([](StudentRecord& s) { s.esl = "a\nb"; });           // written "a b"
    variant([](StudentRecord& s) { s.esl = "a b"; });
    variant([](StudentRecord& s) { s.freeFormText = "\"x\""; });  // written 'x'
    variant([](StudentRecord& s) { s.freeFormText = "'x'"; });
    variant([](StudentRecord& s) { s.skills[0] = "5"; });  // written empty
    variant([](StudentRecord& s) { s.skills[0] = "x"; });
    variant([](StudentRecord& s) { s.iep = "N"; });  // written empty, not 0
    variant([](StudentRecord& s) { s.mark = "71"; });
    variant([](StudentRecord& s) { s.pronouns = "T"; });
    variant([](StudentRecord& s) { s.pronouns = "T\n"; });
    // Every class of up to two of them against every other.
    std::vector<std::vector<StudentRecord>> classes = {{}};
    for (const StudentRecord& a : variants) {
        classes.push_back({a});
        for (const StudentRecord& b : variants)
            classes.push_back({a, b});
    }
    int alike = 0;
    for (const auto& before : classes) {
        for (const auto& after : classes) {
            const bool differs = classFileText(before) != classFileText(after);
            alike += !differs && before != after;
            ASSERT_EQ(classFileTextDiffers(before, after), differs) << classFileText(before) << "\n"
                                                                    << classFileText(after);
        }
    }
    EXPECT_GT(alike, 100);  // records that differ and are written alike were compared
}

}  // namespace
}  // namespace tl::test
