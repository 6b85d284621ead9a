// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "checks/name_check.h"
#include "core/favourites_file.h"
#include "core/phrase_library.h"
#include "core/student_record.h"

// What still keeps a class from the office, problem by problem, for the Ready
// for the Office list and F8. Advisory: nothing is changed.
namespace tl {

// The cells a problem can concern, in the grid's column order: the mark, the
// five comment slots, the six learning skills.
namespace problemcell {
inline constexpr int kMark = 0;
inline constexpr int kFirstComment = 1;
inline constexpr int kFirstSkill = 6;
inline constexpr int kCount = 12;
}  // namespace problemcell

struct ClassProblem {
    int student = 0;   // index in the class
    int cell = 0;      // a problemcell value
    std::string text;  // "no mark", "no comment", ...
    bool operator==(const ClassProblem&) const = default;
};

// Every problem of the class, student by student in class order and cell by
// cell within a student; problems of one cell in the order of their checks:
// no mark, no comment, over 460 characters, skills not all rated, a code the
// library lacks, another student's name, a code meant for other marks. The
// first four are the export's completeness tests.
std::vector<ClassProblem> classProblems(const std::vector<StudentRecord>& students,
                                        const std::vector<Phrase>& phrases,
                                        const std::vector<InitialValueRange>& ranges);

// The marks of the ranges that give each code, in the table's order, so that
// a student's codes are looked up rather than searched for. Built again when
// the ranges change.
class RangeIndex {
  public:
    explicit RangeIndex(const std::vector<InitialValueRange>& ranges);
    // (low, high) of each range holding the code; nothing when none does.
    const std::vector<std::pair<int, int>>* rangesOf(const std::string& code) const;

  private:
    std::unordered_map<std::string, std::vector<std::pair<int, int>>> byCode_;
};

// The problems of students[index] alone, as classProblems gives them. The
// indexes of the class's names and of the ranges may be built once for many
// students.
std::vector<ClassProblem> studentProblems(const std::vector<StudentRecord>& students, int index,
                                          const std::vector<Phrase>& phrases,
                                          const std::vector<InitialValueRange>& ranges);
std::vector<ClassProblem> studentProblems(const std::vector<StudentRecord>& students, int index,
                                          const std::vector<Phrase>& phrases,
                                          const NameIndex& names, const RangeIndex& ranges);

// "Achebe Hana: no mark".
std::string problemLine(const std::vector<StudentRecord>& students, const ClassProblem& problem);

// "N problems in M students", or that the class is ready.
std::string problemCountText(const std::vector<ClassProblem>& problems);

// The index of the first problem at a cell after (student, cell), or before
// it going back, wrapping round the class; -1 when there is none. A cell
// before the mark is -1, after the last skill problemcell::kCount.
int adjacentProblem(const std::vector<ClassProblem>& problems, int student, int cell, bool forward);

// The meter beside the detail panel: "Comments: N/460 characters", or
// "Free-form: N/460 characters" for a free-form comment; over is set above 460.
struct CommentMeter {
    std::string text;
    bool over = false;
};
CommentMeter commentMeter(const StudentRecord& student, const std::vector<Phrase>& phrases);

}  // namespace tl
