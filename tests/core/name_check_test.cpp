#include "checks/name_check.h"

#include "core/test_support.h"

namespace tl::test {
namespace {

TEST(NameCheck, FindsAnotherStudentsNameAsAWholeWord) {
    forEachRow("name_check.tsv", [](const TableRow& row) {
        std::vector<StudentRecord> students;
        for (const std::string& entry : row.parts("students")) {
            const std::size_t first = entry.find(';');
            const std::size_t comment = entry.find(';', first + 1);
            ASSERT_NE(comment, std::string::npos) << entry;
            StudentRecord s = makeStudent("ENG2D1-02", entry.substr(0, first),
                                          entry.substr(first + 1, comment - first - 1));
            s.freeFormUsed = true;
            s.freeFormText = entry.substr(comment + 1);
            students.push_back(s);
        }
        std::vector<Phrase> library;
        for (const std::string& text : row.parts("library"))
            library.push_back({"0001", text, "A"});
        std::vector<std::string> found;
        for (const NameWarning& w : nameWarnings(students, library))
            found.push_back(w.student + ":" + w.name);
        EXPECT_EQ(joined(found), row["warnings"]);
    });
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
    const std::vector<Phrase> library = {{"0001", "$ is a fine ~ of the school.", "A"}};
    const std::vector<NameWarning> warnings = nameWarnings({kiran, son}, library);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0], (NameWarning{"Tran Son", "Kiran", 1, "Kiran",
                                        "\xABKiran\xBB and Son built the bridge mode..."}));
    EXPECT_EQ(nameWarningLine(warnings[0]),
              "Tran Son: \"Kiran\" in \"\xABKiran\xBB and Son built the bridge mode...\"");
    EXPECT_EQ(namePartsOf("Anna-Sofia de la Cruz"),
              (std::vector<std::string>{"anna", "sofia", "cruz"}));
}

}  // namespace
}  // namespace tl::test
