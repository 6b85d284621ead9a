// SPDX-License-Identifier: GPL-3.0-or-later

#include "checks/class_problems.h"

#include <algorithm>
#include <utility>

#include "checks/completeness.h"
#include "checks/name_check.h"
#include "core/comment_text.h"
#include "core/editing_rules.h"
#include "core/limits.h"

namespace tl {

namespace {

// A mark that is a number through and through: digits with at most one point.
bool isNumberMark(const std::string& mark) {
    if (mark.empty() || mark == ".") return false;
    bool point = false;
    for (const char c : mark) {
        if (c == '.' && !point) {
            point = true;
        } else if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

// "comment NNNN is meant for marks LOW-HIGH, the mark is M" when the ranges
// give the code only to ranges without the mark; "" otherwise.
std::string rangeProblem(const std::string& code, const std::string& mark,
                         const RangeIndex& ranges) {
    const std::vector<std::pair<int, int>>* giving = ranges.rangesOf(code);
    if (giving == nullptr) return "";
    const double value = markValue(mark);
    std::string meant;
    for (const auto& [low, high] : *giving) {
        if (low <= value && value <= high) return "";
        if (!meant.empty()) meant += ", ";
        meant += std::to_string(low) + "-" + std::to_string(high);
    }
    return "comment " + code + " is meant for marks " + meant + ", the mark is " + mark;
}

// The problems of one student, the warnings of its comment's names given.
std::vector<ClassProblem> problemsOf(const std::vector<StudentRecord>& students, int student,
                                     const std::vector<Phrase>& phrases, const RangeIndex& ranges,
                                     const std::vector<NameWarning>& named) {
    const StudentRecord& s = students[static_cast<std::size_t>(student)];
    std::vector<ClassProblem> problems;
    const auto add = [&](int cell, std::string text) {
        problems.push_back({student, cell, std::move(text)});
    };
    const BlockingProblems blocking = blockingProblems(s, phrases);
    if (blocking.noMark) add(problemcell::kMark, "no mark");
    if (blocking.noComment) add(problemcell::kFirstComment, "no comment");
    if (blocking.overLimit) {
        add(problemcell::kFirstComment, "comments are " + std::to_string(blocking.commentLength) +
                                            " characters, " + std::to_string(kCommentLimit) +
                                            " at most");
    }
    if (blocking.firstUnratedSkill >= 0) {
        add(problemcell::kFirstSkill + blocking.firstUnratedSkill, "learning skills not all rated");
    }
    // The codes left in a free-form student's record are not sent.
    for (std::size_t k = 0; !s.freeFormUsed && k < s.comments.size(); ++k) {
        const std::string& code = s.comments[k];
        if (!isEmptyCode(code) && findPhrase(phrases, code) < 0) {
            add(problemcell::kFirstComment + static_cast<int>(k),
                "comment code " + code + " is not in the phrase library");
        }
    }
    for (const NameWarning& w : named)
        add(problemcell::kFirstComment, "comment names " + w.written + " in \"" + w.context + "\"");
    for (std::size_t k = 0; !s.freeFormUsed && isNumberMark(s.mark) && k < 3; ++k) {
        if (isEmptyCode(s.comments[k])) continue;
        std::string text = rangeProblem(s.comments[k], s.mark, ranges);
        if (!text.empty()) add(problemcell::kFirstComment + static_cast<int>(k), std::move(text));
    }
    // Cell by cell, each cell's problems in the order of the checks.
    std::stable_sort(problems.begin(), problems.end(),
                     [](const ClassProblem& a, const ClassProblem& b) { return a.cell < b.cell; });
    return problems;
}

}  // namespace

RangeIndex::RangeIndex(const std::vector<InitialValueRange>& ranges) {
    for (const InitialValueRange& range : ranges) {
        for (std::size_t k = 0; k < range.codes.size(); ++k) {
            const std::string& code = range.codes[k];
            // A code a range holds twice gives that range once.
            if (std::find(range.codes.begin(), range.codes.begin() + k, code) !=
                range.codes.begin() + static_cast<std::ptrdiff_t>(k))
                continue;
            byCode_[code].emplace_back(range.lowMark, range.highMark);
        }
    }
}

const std::vector<std::pair<int, int>>* RangeIndex::rangesOf(const std::string& code) const {
    const auto found = byCode_.find(code);
    return found == byCode_.end() ? nullptr : &found->second;
}

std::vector<ClassProblem> studentProblems(const std::vector<StudentRecord>& students, int index,
                                          const std::vector<Phrase>& phrases,
                                          const NameIndex& names, const RangeIndex& ranges) {
    const auto n = static_cast<std::size_t>(index);
    return problemsOf(students, index, phrases, ranges,
                      studentNameWarnings(students, n, phrases, names));
}

std::vector<ClassProblem> studentProblems(const std::vector<StudentRecord>& students, int index,
                                          const std::vector<Phrase>& phrases,
                                          const std::vector<InitialValueRange>& ranges) {
    const auto n = static_cast<std::size_t>(index);
    return problemsOf(students, index, phrases, RangeIndex(ranges),
                      studentNameWarnings(students, n, phrases));
}

std::vector<ClassProblem> classProblems(const std::vector<StudentRecord>& students,
                                        const std::vector<Phrase>& phrases,
                                        const std::vector<InitialValueRange>& ranges) {
    const NameIndex names(students, phrases);
    const RangeIndex byCode(ranges);
    std::vector<ClassProblem> problems;
    for (std::size_t n = 0; n < students.size(); ++n) {
        for (ClassProblem& p :
             studentProblems(students, static_cast<int>(n), phrases, names, byCode))
            problems.push_back(std::move(p));
    }
    return problems;
}

std::string problemLine(const std::vector<StudentRecord>& students, const ClassProblem& problem) {
    const StudentRecord& s = students[static_cast<std::size_t>(problem.student)];
    return s.lastName + " " + s.firstName + ": " + problem.text;
}

std::string problemCountText(const std::vector<ClassProblem>& problems) {
    if (problems.empty()) return "Nothing left to fix: the class is ready for the office.";
    std::size_t studentsWith = 0;
    for (std::size_t i = 0; i < problems.size(); ++i) {
        if (i == 0 || problems[i].student != problems[i - 1].student) ++studentsWith;
    }
    const auto counted = [](std::size_t n, const char* word) {
        return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
    };
    return counted(problems.size(), "problem") + " in " + counted(studentsWith, "student");
}

CommentMeter commentMeter(const StudentRecord& s, const std::vector<Phrase>& phrases) {
    const int length = s.freeFormUsed ? static_cast<int>(s.freeFormText.size())
                                      : composeComments(s, phrases).totalLength;
    return {std::string(s.freeFormUsed ? "Free-form: " : "Comments: ") + std::to_string(length) +
                "/" + std::to_string(kCommentLimit) + " characters",
            length > kCommentLimit};
}

int adjacentProblem(const std::vector<ClassProblem>& problems, int student, int cell,
                    bool forward) {
    // Problems ordered by (student, cell): the first after the cell going
    // forward, the first of the last cell before it going back; round the
    // class when there is none.
    const auto key = [](const ClassProblem& p) { return std::pair(p.student, p.cell); };
    const std::pair<int, int> at(student, cell);
    const auto begin = problems.begin();
    if (forward) {
        const auto next =
            std::find_if(begin, problems.end(), [&](const ClassProblem& p) { return key(p) > at; });
        return problems.empty() ? -1 : next == problems.end() ? 0 : int(next - begin);
    }
    auto end =
        std::find_if(begin, problems.end(), [&](const ClassProblem& p) { return key(p) >= at; });
    if (end == begin) end = problems.end();
    if (end == begin) return -1;
    const std::pair<int, int> target = key(*(end - 1));
    return int(std::find_if(begin, end, [&](const ClassProblem& p) { return key(p) == target; }) -
               begin);
}

}  // namespace tl
