// SPDX-License-Identifier: GPL-3.0-or-later

#include "checks/name_check.h"

#include <sstream>

#include "core/test_support.h"

namespace tl::test {
namespace {

TEST(NameCheck, FindsAnotherStudentsNameAsAWholeWord) {
    forEachRow("name_check.tsv", [](const TableRow& row) {
        std::vector<StudentRecord> students;
        for (const std::string& entry : row.parts("students")) {
            std::istringstream in(entry);
            StudentRecord& s = students.emplace_back(makeStudent("ENG2D1-02", "", ""));
            std::getline(std::getline(in, s.lastName, ';'), s.firstName, ';');
            std::getline(in, s.freeFormText);
            s.freeFormUsed = true;
        }
        std::vector<Phrase> library;
        for (const std::string& text : row.parts("library"))
            library.push_back({"0001", text, "A"});
        const std::vector<NameWarning> warnings = nameWarnings(students, library);
        std::vector<std::string> found;
        for (const NameWarning& w : warnings)
            found.push_back(w.student + ":" + w.name);
        EXPECT_EQ(joined(found), row["warnings"]);
        // Student by student, the library read only for the names found.
        std::vector<NameWarning> oneByOne;
        for (std::size_t n = 0; n < students.size(); ++n) {
            for (const NameWarning& w : studentNameWarnings(students, n, library))
                oneByOne.push_back(w);
        }
        EXPECT_EQ(oneByOne, warnings);
        // The same of the comments composed once, as the export window checks them.
        EXPECT_EQ(nameWarnings(students, library, classComments(students, library)), warnings);
    });
}

// The library's words are read once and kept while the library stays the
// same: another library of as many phrases is read anew.
TEST(NameCheck, AChangedLibraryIsReadAgain) {
    StudentRecord rose = makeStudent("ENG2D1-02", "Ito", "Rose");
    StudentRecord lio = makeStudent("ENG2D1-02", "Brightwater", "Lio");
    lio.freeFormUsed = true;
    lio.freeFormText = "Rose and Lio planted a garden.";
    const std::vector<Phrase> withRose = {{"0001", "Grows like a rose.", "A"}};
    const std::vector<Phrase> without = {{"0001", "Grows like a tree.", "A"}};
    for (int round = 0; round < 2; ++round) {
        EXPECT_TRUE(nameWarnings({rose, lio}, withRose).empty());
        EXPECT_EQ(nameWarnings({rose, lio}, without).size(), 1u);
    }
    EXPECT_EQ(nameWarnings({rose, lio}, {}).size(), 1u);
    EXPECT_TRUE(nameWarnings({rose, lio}, withRose).empty());
}

// Coded comments are checked as composed: the placeholders' own first name
// and pronouns are no one else's name; the warning shows the comment around the name.
TEST(NameCheck, ChecksCodedCommentsAfterCompositionAndShowsTheNamesContext) {
    StudentRecord kiran = makeStudent("ENG2D1-02", "Adeyemi", "Kiran");
    kiran.gender = "M";
    kiran.comments[0] = "0001";
    StudentRecord son = makeStudent("ENG2D1-02", "Tran", "Son");
    son.freeFormUsed = true;
    son.freeFormText = "Kiran and Son built the bridge model together over three weeks of work.";
    const auto warnings =
        nameWarnings({kiran, son}, {{"0001", "$ is a fine ~ of the school.", "A"}});
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(nameWarningLine(warnings[0]),
              "Tran Son: \"Kiran\" in \"\xABKiran\xBB and Son built the bridge mode...\"");
}

}  // namespace
}  // namespace tl::test
