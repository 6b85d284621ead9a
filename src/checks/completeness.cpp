// SPDX-License-Identifier: GPL-3.0-or-later

#include "checks/completeness.h"

#include <algorithm>

#include "core/editing_rules.h"

namespace tl {

std::string exportComment(const StudentRecord& s, const std::vector<Phrase>& phrases) {
    // The same text the free-form dialog starts with.
    return freeFormOriginal(s, phrases);
}

bool hasComment(const StudentRecord& s, const ComposedComments& composed) {
    if (s.freeFormUsed) return true;
    const auto coded = [](const std::string& code) { return !isEmptyCode(code); };
    const auto some = [](const std::string& text) { return !text.empty(); };
    return std::any_of(s.comments.begin(), s.comments.end(), coded) &&
           std::any_of(composed.texts.begin(), composed.texts.end(), some);
}

BlockingProblems blockingProblems(const StudentRecord& s, const std::vector<Phrase>& phrases) {
    BlockingProblems problems;
    const ComposedComments composed =
        s.freeFormUsed ? ComposedComments{} : composeComments(s, phrases);
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

std::string firstProblem(const StudentRecord& s, const std::vector<Phrase>& phrases) {
    const BlockingProblems problems = blockingProblems(s, phrases);
    if (problems.overLimit) return "  Comments exceed max Trillium length";
    if (problems.noMark) return "  has no mark";
    if (problems.noComment) return "  has no comment";
    if (problems.firstUnratedSkill >= 0) return "  one or more missing Learning Skills";
    return "";
}

}  // namespace tl
