// SPDX-License-Identifier: GPL-3.0-or-later

#include "selection/phrase_search.h"

#include <set>

#include "core/test_support.h"
#include "core/text.h"

namespace tl::test {
namespace {

std::vector<Phrase> phrasesWithTexts(const std::vector<std::string>& texts) {
    std::vector<Phrase> phrases;
    for (const std::string& text : texts)
        phrases.push_back({padLeftZeros(std::to_string(phrases.size() + 1), 4), text, "K"});
    return phrases;
}

TEST(PhraseSearch, ListsSelectTheirCategoryKeysAndWordsAreA1AndA2OrOThenNot) {
    // É C9 and é E9, Œ 8C and œ 9C in Windows-1252.
    auto phrases =
        phrasesWithTexts({"alpha beta", "alpha only", "beta only", "gamma here", "alpha gamma",
                          "Le CAF\xC9", std::string("\xE9") + "cole", "C\x8CUR"});
    const char* categories[] = {"13!L", "3&L)", "&K", "\\6", "l&", "7L&?"};
    for (int i = 0; i < 6; ++i)
        phrases[i].category = categories[i];
    forEachRow("phrase_search.tsv", [&](const TableRow& row) {
        SearchCriteria c;
        c.markCat = row.number("markCat"), c.commentCat = row.number("commentCat");
        c.learningSkill = row.number("skill"), c.dept = row.number("dept");
        c.and1 = row["and1"], c.and2 = row["and2"], c.orText = row["or"], c.notText = row["not"];
        std::vector<int> found;
        for (const std::string& position : row.parts("found", ' '))
            found.push_back(std::stoi(position));
        EXPECT_EQ(search(phrases, c), found);
    });
    // Each list item selects a key of its own.
    std::set<char> keys;
    std::string sizes;
    for (const auto list : {gradeStreamCategories(), commentCategories(), learningSkillCategories(),
                            departmentCategories()}) {
        sizes += list[0].item + std::to_string(list.size()) + " ";
        for (const SearchCategory& category : list.subspan(1))
            EXPECT_TRUE(keys.insert(category.key).second) << category.item;
    }
    EXPECT_EQ(sizes, "All10 All5 All7 All35 ");
    EXPECT_STREQ(departmentCategories()[13].item, "ESL / ELD");
}

TEST(PhraseSearch, RepeatedTextsGoOnlyBelow400Candidates) {
    // Trimmed, case-sensitive; the first of each text stays.
    auto phrases = phrasesWithTexts({" Same text. ", "Same text.", "same text.", "Same text.  "});
    EXPECT_EQ(search(phrases, {}), (std::vector<int>{1, 3}));
    SearchCriteria keepAll;
    keepAll.noDups = false;
    EXPECT_EQ(search(phrases, keepAll).size(), 4u);

    phrases = phrasesWithTexts(std::vector<std::string>(400, "Repeated."));
    EXPECT_EQ(search(phrases, {}).size(), 400u);
    phrases[7].category = "F";  // 399 left under English
    SearchCriteria english;
    english.dept = 12;
    EXPECT_EQ(search(phrases, english), std::vector<int>{1});
}

}  // namespace
}  // namespace tl::test
