// SPDX-License-Identifier: GPL-3.0-or-later

#include "checks/completeness.h"

#include <algorithm>

#include "core/editing_rules.h"

namespace tl {

namespace {
// What a free-form comment has composed: nothing.
const ComposedComments kNothingComposed{};
}  // namespace

std::string exportComment(const StudentRecord& s, const std::vector<Phrase>& phrases) {
    // The same text the free-form dialog starts with.
    return freeFormOriginal(s, phrases);
}

std::string exportComment(const StudentRecord& s, const ComposedComments& composed) {
    // freeFormOriginal, of the texts composed already.
    if (s.freeFormUsed) return s.freeFormText;
    std::string text;
    for (const std::string& part : composed.texts)
        text += part;
    return text;
}

StudentComments studentComments(const StudentRecord& s, const std::vector<Phrase>& phrases) {
    StudentComments out;
    if (!s.freeFormUsed) out.composed = composeComments(s, phrases);
    out.exported = exportComment(s, out.composed);
    return out;
}

std::vector<StudentComments> classComments(const std::vector<StudentRecord>& students,
                                           const std::vector<Phrase>& phrases) {
    std::vector<StudentComments> out;
    out.reserve(students.size());
    for (const StudentRecord& s : students)
        out.push_back(studentComments(s, phrases));
    return out;
}

bool hasComment(const StudentRecord& s, const ComposedComments& composed) {
    if (s.freeFormUsed) return true;
    const auto coded = [](const std::string& code) { return !isEmptyCode(code); };
    const auto some = [](const std::string& text) { return !text.empty(); };
    return std::any_of(s.comments.begin(), s.comments.end(), coded) &&
           std::any_of(composed.texts.begin(), composed.texts.end(), some);
}

BlockingProblems blockingProblems(const StudentRecord& s, const std::vector<Phrase>& phrases) {
    return blockingProblems(s, s.freeFormUsed ? kNothingComposed : composeComments(s, phrases));
}

BlockingProblems blockingProblems(const StudentRecord& s, const ComposedComments& given) {
    BlockingProblems problems;
    const ComposedComments& composed = s.freeFormUsed ? kNothingComposed : given;
    problems.noMark = s.mark.empty();
    problems.noComment = !hasComment(s, composed);
    problems.overLimit = !s.freeFormUsed && exceedsCommentLimit(composed.totalLength);
    problems.commentLength = composed.totalLength;
    const auto unrated = std::find(s.skills.begin(), s.skills.end(), std::string());
    if (unrated != s.skills.end()) {
        problems.firstUnratedSkill = static_cast<int>(unrated - s.skills.begin());
    }
    return problems;
}

namespace {
std::string firstProblemOf(const BlockingProblems& problems) {
    if (problems.overLimit) return "  Comments exceed max Trillium length";
    if (problems.noMark) return "  has no mark";
    if (problems.noComment) return "  has no comment";
    if (problems.firstUnratedSkill >= 0) return "  one or more missing Learning Skills";
    return "";
}
}  // namespace

std::string firstProblem(const StudentRecord& s, const std::vector<Phrase>& phrases) {
    return firstProblemOf(blockingProblems(s, phrases));
}

std::string firstProblem(const StudentRecord& s, const ComposedComments& composed) {
    return firstProblemOf(blockingProblems(s, composed));
}

}  // namespace tl
