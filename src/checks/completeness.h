// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <vector>

#include "core/comment_text.h"
#include "core/phrase_library.h"
#include "core/student_record.h"

// The export's completeness tests, shared by the export window and the Ready
// for the Office list.
namespace tl {

// The comment of a student as exported: the five composed texts joined, or
// the free-form text.
std::string exportComment(const StudentRecord& student, const std::vector<Phrase>& phrases);
// The same of the student's comments composed already (ignored for a
// free-form comment).
std::string exportComment(const StudentRecord& student, const ComposedComments& composed);

// A student's comments composed once, for every check and view that needs them.
struct StudentComments {
    ComposedComments composed;  // the five texts; none for a free-form comment
    std::string exported;       // exportComment
};
StudentComments studentComments(const StudentRecord& student, const std::vector<Phrase>& phrases);

// The comments of every student of a class, in class order, each composed once.
std::vector<StudentComments> classComments(const std::vector<StudentRecord>& students,
                                           const std::vector<Phrase>& phrases);

// A free-form comment counts; a coded comment only when it composes to some
// text: codes the phrase library lacks would give the eFile an empty comment.
bool hasComment(const StudentRecord& student, const ComposedComments& composed);

// Which completeness tests a student fails; the comments are composed once.
struct BlockingProblems {
    bool noMark = false;
    bool noComment = false;
    bool overLimit = false;      // coded comments composed to over 460 characters
    int commentLength = 0;       // the composed length; 0 for a free-form comment
    int firstUnratedSkill = -1;  // an index in StudentRecord::skills, or -1
};
BlockingProblems blockingProblems(const StudentRecord& student, const std::vector<Phrase>& phrases);
// The same with the student's comments composed already (ignored for a
// free-form comment).
BlockingProblems blockingProblems(const StudentRecord& student, const ComposedComments& composed);

// The first failing completeness test of a student ("  has no mark", ...), or
// "" when the student is complete.
std::string firstProblem(const StudentRecord& student, const std::vector<Phrase>& phrases);
std::string firstProblem(const StudentRecord& student, const ComposedComments& composed);

}  // namespace tl
