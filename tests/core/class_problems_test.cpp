// SPDX-License-Identifier: GPL-3.0-or-later

#include "checks/class_problems.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "checks/completeness.h"
#include "core/test_support.h"
#include "export/efile.h"

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

// Adams Ann as a row of class_problems.tsv has her, beside the complete Tanaka Sakura.
std::vector<StudentRecord> annAndSakura(const TableRow& row) {
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
    return {ann, sakura};
}

std::vector<InitialValueRange> rangesOf(const TableRow& row) {
    return row["ranges"] == "on" ? kRanges : std::vector<InitialValueRange>{};
}

TEST(ClassProblemsTest, EachProblemAndWhereItIsNotRaised) {
    const std::vector<Phrase> phrases = problemLibrary();
    forEachRow("class_problems.tsv", [&](const TableRow& row) {
        const auto problems = classProblems(annAndSakura(row), phrases, rangesOf(row));
        std::string shown;
        for (const ClassProblem& p : problems) {
            EXPECT_EQ(p.student, 0);
            shown += (shown.empty() ? "" : "; ") + std::to_string(p.cell) + " " + p.text;
        }
        EXPECT_EQ(shown, row["problems"]);
    });
}

// The export refuses the class exactly when the list holds one of the four
// problems that keep a student from the eFile.
TEST(ClassProblemsTest, TheExportRefusesExactlyWhenTheListShowsABlockingProblem) {
    const std::vector<Phrase> phrases = problemLibrary();
    const auto blocks = [](const ClassProblem& p) {
        return p.text == "no mark" || p.text == "no comment" ||
               p.text == "learning skills not all rated" ||
               (p.text.starts_with("comments are ") &&
                p.text.ends_with(" characters, 460 at most"));
    };
    forEachRow("class_problems.tsv", [&](const TableRow& row) {
        const std::vector<StudentRecord> students = annAndSakura(row);
        const auto problems = classProblems(students, phrases, rangesOf(row));
        const bool listed = std::any_of(problems.begin(), problems.end(), blocks);
        EXPECT_EQ(!firstProblem(students[0], phrases).empty(), listed);
        EXPECT_EQ(!problemReport(students, phrases).empty(), listed);
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

// The list student by student: every slice as the class's list holds it,
// with or without the index of names, and an edit changes only its student's.
TEST(ClassProblemsTest, EachStudentsProblemsAreTheirSliceOfTheClassList) {
    const std::vector<Phrase> phrases = problemLibrary();
    std::vector<StudentRecord> students = {makeStudent("ENG2D1-01", "Adams", "Ann", "1"),
                                           makeStudent("ENG2D1-01", "Brook", "Bo", "2"),
                                           makeStudent("ENG2D1-01", "Chen", "Cyrus", "3"),
                                           makeStudent("ENG2D1-01", "Dorsey", "Dana", "4")};
    for (StudentRecord& s : students) {
        s.mark = "70";
        s.comments[0] = "0005";
    }
    students[0].mark = "";
    students[1].freeFormUsed = true;
    students[1].freeFormText = "Works well with Cyrus.";
    students[2].comments[0] = "0004";
    students[3].comments[1] = "9999";
    students[3].skills[2] = "";
    const auto slices = [&] {
        const NameIndex names(students, phrases);
        std::vector<std::vector<ClassProblem>> byStudent;
        std::vector<ClassProblem> all;
        for (int n = 0; n < static_cast<int>(students.size()); ++n) {
            byStudent.push_back(studentProblems(students, n, phrases, names, RangeIndex(kRanges)));
            EXPECT_EQ(studentProblems(students, n, phrases, kRanges), byStudent.back()) << n;
            all.insert(all.end(), byStudent.back().begin(), byStudent.back().end());
        }
        EXPECT_EQ(all, classProblems(students, phrases, kRanges));
        return byStudent;
    };
    const auto before = slices();
    ASSERT_EQ(before.size(), 4u);
    EXPECT_EQ(before[1].at(0).text,
              "comment names Cyrus in \"Works well with \xAB"
              "Cyrus\xBB.\"");
    EXPECT_EQ(before[2].at(0).text, "comment 0004 is meant for marks 80-100, the mark is 70");
    EXPECT_EQ(before[3].size(), 2u);

    students[2].mark = "90";
    students[2].skills[0] = "";
    const auto after = slices();
    for (std::size_t n = 0; n < before.size(); ++n)
        EXPECT_EQ(after[n] == before[n], n != 2) << n;
}

}  // namespace
}  // namespace tl::test
