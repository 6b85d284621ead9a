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

std::string firstProblem(const StudentRecord& s, const std::vector<Phrase>& phrases) {
    const ComposedComments composed =
        s.freeFormUsed ? ComposedComments{} : composeComments(s, phrases);
    if (!s.freeFormUsed && exceedsCommentLimit(composed.totalLength)) {
        return "  Comments exceed max Trillium length";
    }
    if (s.mark.empty()) return "  has no mark";
    if (!hasComment(s, composed)) return "  has no comment";
    for (const std::string& skill : s.skills) {
        if (skill.empty()) return "  one or more missing Learning Skills";
    }
    return "";
}

}  // namespace tl
