// SPDX-License-Identifier: GPL-3.0-or-later

#include "selection/phrase_search.h"

#include <algorithm>
#include <array>
#include <string_view>
#include <unordered_set>

#include "core/limits.h"
#include "core/text.h"

namespace tl {

namespace {

constexpr SearchCategory kGradeStream[] = {
    {"All", 0},
    {"9/10 Open", '1'},
    {"9/10 Applied", '2'},
    {"9/10 Academic", '3'},
    {"9/10 Locally Developed", '4'},
    {"11/12 Open", '5'},
    {"11/12 University", '6'},
    {"11/12 University/College", '7'},
    {"11/12 College", '8'},
    {"11/12 Workplace", '9'},
};

constexpr SearchCategory kComment[] = {
    {"All", 0}, {"Learned", '!'}, {"Strength", '^'}, {"Next Steps", '&'}, {"Evidence", '('},
};

// Not the order of the skill columns elsewhere.
constexpr SearchCategory kLearningSkill[] = {
    {"All", 0},
    {"Responsibility", ')'},
    {"Organization", '='},
    {"Initiative", '+'},
    {"Collaboration", ':'},
    {"Independent Work", '-'},
    {"Self-Regulation", '?'},
};

constexpr SearchCategory kDepartment[] = {
    {"All", 0},
    {"Business Studies", 'F'},
    {"Classic Studies", 'X'},
    {"Communications Technology", 'Z'},
    {"Computer Studies", 'J'},
    {"Computer Technology", '<'},
    {"Construction Technology", '>'},
    {"Co-operative Education", 'O'},
    {"Core French", 'Y'},
    {"Dance", 'A'},
    {"Drama", 'B'},
    {"Economics, Law & Politics", 'W'},
    {"English", 'K'},
    {"ESL / ELD", 'L'},
    {"Family Studies", 'U'},
    {"French Immersion", 'M'},
    {"Geography", 'H'},
    {"Guidance and Career Education", 'N'},
    {"Hairstyling and Aesthetics", '{'},
    {"Health and Physical Education", 'P'},
    {"Health Care", '}'},
    {"History", 'G'},
    {"Hospitality and Tourism", '['},
    {"International Languages", 'I'},
    {"Manufacturing Technology", ']'},
    {"Mathematics", 'Q'},
    {"Media Arts", 'D'},
    {"Music", 'C'},
    {"Native Languages", 'R'},
    {"Native Studies", 'S'},
    {"Science", 'T'},
    {"Senior Social Studies", 'V'},
    {"Technological  Design", '\\'},
    {"Transportation Technology", '/'},
    {"Visual Arts", 'E'},
};

// The key of the selected position; "All", no selection or a position past
// the list give none.
char keyAt(std::span<const SearchCategory> list, int position) {
    if (position < 1 || position >= static_cast<int>(list.size())) return 0;
    return list[static_cast<std::size_t>(position)].key;
}

// The Windows-1252 upper case of every byte, from the shared routine.
const std::array<char, 256>& upperTable() {
    static const std::array<char, 256> table = [] {
        std::array<char, 256> t{};
        for (int b = 0; b < 256; ++b)
            t[static_cast<std::size_t>(b)] = toUpperCp1252(std::string(1, static_cast<char>(b)))[0];
        return t;
    }();
    return table;
}

// A text box's string in upper case.
class Word {
  public:
    explicit Word(std::string_view typed) : upper_(toUpperCp1252(typed)) {}
    bool used() const { return !upper_.empty(); }
    bool in(std::string_view upperText) const {
        return upperText.find(upper_) != std::string_view::npos;
    }

  private:
    std::string upper_;
};

// Below this many candidates repeated texts are removed.
constexpr std::size_t kDuplicateWindow = 400;

}  // namespace

std::span<const SearchCategory> gradeStreamCategories() {
    return kGradeStream;
}
std::span<const SearchCategory> commentCategories() {
    return kComment;
}
std::span<const SearchCategory> learningSkillCategories() {
    return kLearningSkill;
}
std::span<const SearchCategory> departmentCategories() {
    return kDepartment;
}

std::vector<int> search(const std::vector<Phrase>& phrases, const SearchCriteria& c) {
    const char keys[] = {keyAt(kGradeStream, c.markCat), keyAt(kComment, c.commentCat),
                         keyAt(kLearningSkill, c.learningSkill), keyAt(kDepartment, c.dept)};
    const Word and1(c.and1), and2(c.and2), orWord(c.orText), notWord(c.notText);
    const bool wordFilter = and1.used() || and2.used() || orWord.used();

    std::vector<int> results;
    const std::array<char, 256>& table = upperTable();
    std::string upper;  // the text in upper case, reused from phrase to phrase
    const std::size_t count = std::min<std::size_t>(phrases.size(), kMaxPhrases);
    for (std::size_t i = 0; i < count; ++i) {
        const Phrase& p = phrases[i];
        bool kept = true;
        for (const char key : keys)
            kept = kept && (key == 0 || p.category.find(key) != std::string::npos);
        if (!kept) continue;
        if (wordFilter || notWord.used()) {
            upper.resize(p.text.size());
            std::transform(p.text.begin(), p.text.end(), upper.begin(),
                           [&table](char ch) { return table[static_cast<unsigned char>(ch)]; });
            if (notWord.used() && notWord.in(upper)) continue;
            if (wordFilter) {
                const bool both = (and1.used() || and2.used()) &&
                                  (!and1.used() || and1.in(upper)) &&
                                  (!and2.used() || and2.in(upper));
                if (!both && !(orWord.used() && orWord.in(upper))) continue;
            }
        }
        results.push_back(static_cast<int>(i) + 1);
    }

    if (c.noDups && results.size() >= 2 && results.size() < kDuplicateWindow) {
        std::unordered_set<std::string_view> seen;
        std::vector<int> unique;
        for (const int position : results) {
            if (seen.insert(trimBlanks(phrases[static_cast<std::size_t>(position) - 1].text))
                    .second)
                unique.push_back(position);
        }
        results.swap(unique);
    }
    return results;
}

std::string searchResultItemText(const Phrase& phrase) {
    return phrase.code + " " + phrase.text;
}

}  // namespace tl
