// SPDX-License-Identifier: GPL-3.0-or-later

#include "checks/class_problems.h"

#include <gtest/gtest.h>

#include "core/test_support.h"

namespace tl::test {
namespace {

std::vector<Phrase> problemLibrary() {
    std::vector<Phrase> phrases;
    for (const char* code : {"0004", "0005", "0006", "0007"})
        phrases.push_back({code, "@ reads widely.", ""});
    for (const char* code : {"0900", "0901", "0902"})
        phrases.push_back({code, std::string(199, 'a'), ""});
    return phrases;
}

const std::vector<InitialValueRange> kRanges = {
    {80, 100, {"0004", "0005", ""}, {"4", "4", "4", "4", "4", "4"}},
    {50, 79, {"0005", "0006", ""}, {"3", "3", "3", "3", "3", "3"}},
    {0, 49, {"0006", "0007", ""}, {"2", "2", "2", "2", "2", "2"}}};

TEST(ClassProblemsTest, EachProblemAndWhereItIsNotRaised) {
    const std::vector<Phrase> phrases = problemLibrary();
    forEachRow("class_problems.tsv", [&](const TableRow& row) {
        StudentRecord ann = makeStudent("ENG2D1-01", "Adams", "Ann", "100000001");
        StudentRecord sakura = makeStudent("ENG2D1-01", "Tanaka", "Sakura", "100000002");
        sakura.comments = {"0005", "", "", "", ""};
        sakura.mark = "70";
        ann.mark = row["mark"];
        std::vector<std::string> comments = row.parts("comments");
        comments.resize(5);
        std::copy(comments.begin(), comments.end(), ann.comments.begin());
        const std::vector<std::string> skills = row.parts("skills");
        std::copy(skills.begin(), skills.end(), ann.skills.begin());
        ann.freeFormUsed = !row["free"].empty();
        ann.freeFormText = row["free"];
        const std::vector<StudentRecord> students = {ann, sakura};
        const auto problems = classProblems(
            students, phrases, row["ranges"] == "on" ? kRanges : std::vector<InitialValueRange>{});
        std::string shown;
        for (const ClassProblem& p : problems) {
            EXPECT_EQ(p.student, 0);
            shown += (shown.empty() ? "" : "; ") + std::to_string(p.cell) + " " + p.text;
        }
        EXPECT_EQ(shown, row["problems"]);
    });
}

// Three students with problems at the mark, CM1 (twice) and a skill: the
// count, the lines, and F8 and Shift+F8 from any cell, round the class.
TEST(ClassProblemsTest, CountLinesAndTheNextProblemEitherWay) {
    std::vector<StudentRecord> students = {makeStudent("ENG2D1-01", "Adams", "Ann", "1"),
                                           makeStudent("ENG2D1-01", "Brook", "Bo", "2"),
                                           makeStudent("ENG2D1-01", "Chen", "Cy", "3")};
    for (StudentRecord& s : students) {
        s.mark = "70";
        s.comments[0] = "0004";
    }
    students[0].mark = "";
    students[0].skills[3] = "";
    students[2].comments[0] = "9999";
    const auto problems = classProblems(students, problemLibrary(), {});
    std::vector<std::string> lines;
    for (const ClassProblem& p : problems)
        lines.push_back(problemLine(students, p));
    EXPECT_EQ(joined(lines),
              "Adams Ann: no mark|Adams Ann: learning skills not all rated|Chen Cy: no "
              "comment|Chen Cy: comment code 9999 is not in the phrase library");
    EXPECT_EQ(problemCountText(problems), "4 problems in 2 students");
    EXPECT_EQ(problemCountText({problems[0]}), "1 problem in 1 student");
    EXPECT_EQ(problemCountText({}), "Nothing left to fix: the class is ready for the office.");

    // From (student, cell): the problem F8 and Shift+F8 go to.
    const std::tuple<int, int, int, int> steps[] = {
        {0, -1, 0, 2},  // before Adams's mark: the mark; back round to Chen's CM1
        {0, 0, 1, 2},   // on the mark: the skill; back round to Chen
        {0, 9, 2, 0},   // on the skill: Chen's CM1 (its first problem); back to the mark
        {1, 3, 2, 1},   // a student without problems
        {2, 1, 0, 1},   // on Chen's CM1: round to Adams's mark; back to the skill
        {2, 12, 0, 2}};
    for (const auto& [student, cell, next, previous] : steps) {
        EXPECT_EQ(adjacentProblem(problems, student, cell, true), next) << student << "," << cell;
        EXPECT_EQ(adjacentProblem(problems, student, cell, false), previous)
            << student << "," << cell;
    }
    EXPECT_EQ(adjacentProblem({}, 0, 0, true), -1);
}

}  // namespace
}  // namespace tl::test
