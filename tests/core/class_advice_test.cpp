// SPDX-License-Identifier: GPL-3.0-or-later

#include "checks/class_advice.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "core/pronouns.h"
#include "core/test_support.h"

namespace tl::test {
namespace {

std::vector<Phrase> adviceLibrary(bool nextSteps) {
    return {{"0001", "@ completes # work.", "!"},
            {"0002", "$ reads widely.", "^"},
            {"0003", "Next, @ should review % notes daily.", nextSteps ? "&2" : "^2"},
            {"0004", "% lab reports are thorough.", "("}};
}

// "Last;First;P;codes;free-form text" as a student.
StudentRecord adviceStudent(const std::string& entry) {
    std::istringstream in(entry);
    std::string last, first, pronouns, codes, free;
    std::getline(in, last, ';');
    std::getline(in, first, ';');
    std::getline(in, pronouns, ';');
    std::getline(in, codes, ';');
    std::getline(in, free);
    StudentRecord s = makeStudent("ENG2D1-01", last, first);
    s.pronouns = pronouns;
    std::istringstream slots(codes);
    std::string code;
    for (std::size_t k = 0; k < s.comments.size() && slots >> code; ++k)
        s.comments[k] = code == "-" ? "" : code;
    s.freeFormUsed = !free.empty();
    s.freeFormText = free;
    return s;
}

std::vector<AdviceNote> notesOfAll(const ClassAdvice& advice,
                                   const std::vector<StudentRecord>& students,
                                   const std::vector<Phrase>& phrases) {
    std::vector<AdviceNote> notes;
    for (int n = 0; n < static_cast<int>(students.size()); ++n) {
        for (const AdviceNote& note : advice.notesOf(students, phrases, n))
            notes.push_back(note);
    }
    return notes;
}

TEST(ClassAdviceTest, EachNoteAndWhereItIsNotRaised) {
    forEachRow("class_advice.tsv", [](const TableRow& row) {
        const std::vector<Phrase> phrases = adviceLibrary(row["library"] == "next");
        std::vector<StudentRecord> students;
        for (const std::string& entry : row.parts("students"))
            students.push_back(adviceStudent(entry));
        const std::vector<AdviceNote> notes = classAdvice(students, phrases);
        std::vector<std::string> lines;
        for (const AdviceNote& note : notes) {
            EXPECT_EQ(note.cell, 1);
            lines.push_back(adviceLine(students, note));
        }
        EXPECT_EQ(joined(lines), row["notes"]);
        EXPECT_EQ(adviceCountText(notes), row["count"]);

        // The same class reached comment by comment from a class without
        // any, and back: after each change, the notes kept up to date are the
        // class's, and every student whose notes changed is among those named.
        std::vector<StudentRecord> now = students;
        for (StudentRecord& s : now) {
            s.comments = {};
            s.freeFormUsed = false;
        }
        ClassAdvice advice(now, phrases);
        const auto change = [&](std::size_t n, const StudentRecord& to) {
            std::vector<std::vector<AdviceNote>> before;
            for (int k = 0; k < static_cast<int>(now.size()); ++k)
                before.push_back(advice.notesOf(now, phrases, k));
            now[n] = to;
            const std::vector<int> named = advice.commentsChanged(now, phrases, {int(n)});
            EXPECT_EQ(notesOfAll(advice, now, phrases), classAdvice(now, phrases)) << n;
            for (int k = 0; k < static_cast<int>(now.size()); ++k) {
                if (std::find(named.begin(), named.end(), k) == named.end()) {
                    EXPECT_EQ(advice.notesOf(now, phrases, k), before[std::size_t(k)]) << n << k;
                }
            }
        };
        const std::vector<StudentRecord> none = now;
        for (std::size_t n = 0; n < students.size(); ++n)
            change(n, students[n]);
        for (std::size_t n = 0; n < students.size(); ++n)
            change(n, none[n]);
    });
}

}  // namespace
}  // namespace tl::test
