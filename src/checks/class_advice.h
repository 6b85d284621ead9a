// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "core/phrase_library.h"
#include "core/student_record.h"

// Advice for the Ready for the Office list: what parents or the office may
// notice in the comments but does not keep the class from the office.
namespace tl {

struct AdviceNote {
    int student = 0;   // index in the class
    int cell = 0;      // a problemcell value
    std::string text;  // "no next-steps comment", ...
    bool operator==(const AdviceNote&) const = default;
};

// Every note of the class, student by student in class order; a student's in
// this order: the same comments as three or more others, a pronoun of another
// set in a free-form comment, no next-steps phrase among coded comments.
std::vector<AdviceNote> classAdvice(const std::vector<StudentRecord>& students,
                                    const std::vector<Phrase>& phrases);

// A student's comments as compared with the others': the coded comments
// composed with their placeholders left in, or the free-form text with the
// student's own names as "$" and every pronoun as "#"; "" for no comment.
std::string sameCommentsKey(const StudentRecord& student, const std::vector<Phrase>& phrases);

// The advice of a class kept up to date edit by edit: the students are
// grouped by their comments' key, so that a changed comment regroups one
// student instead of the class.
class ClassAdvice {
  public:
    ClassAdvice(const std::vector<StudentRecord>& students, const std::vector<Phrase>& phrases);
    // After the comments of the students named changed: their keys taken
    // anew. Returns the students whose notes may have changed with them (those
    // named and those who shared a key with one before or share it now), in
    // class order.
    std::vector<int> commentsChanged(const std::vector<StudentRecord>& students,
                                     const std::vector<Phrase>& phrases,
                                     const std::vector<int>& changed);
    // The notes of students[student] alone, as classAdvice gives them.
    std::vector<AdviceNote> notesOf(const std::vector<StudentRecord>& students,
                                    const std::vector<Phrase>& phrases, int student) const;

  private:
    std::vector<std::string> keys_;                              // by student
    std::unordered_map<std::string, std::vector<int>> sharing_;  // by key, in class order
    bool nextStepsInLibrary_ = false;
};

// "Achebe Hana: no next-steps comment".
std::string adviceLine(const std::vector<StudentRecord>& students, const AdviceNote& note);

// "N notes for M students", or "No advice.".
std::string adviceCountText(const std::vector<AdviceNote>& notes);

}  // namespace tl
