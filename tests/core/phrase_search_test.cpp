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

SearchCriteria words(const char* a1, const char* a2, const char* o, const char* no) {
    SearchCriteria c;
    c.and1 = a1, c.and2 = a2, c.orText = o, c.notText = no;
    return c;
}

SearchCriteria lists(int mark, int comment, int skill, int dept) {
    SearchCriteria c;
    c.markCat = mark, c.commentCat = comment, c.learningSkill = skill, c.dept = dept;
    return c;
}

TEST(PhraseSearch, WordTableIsA1AndA2OrOThenNotWithCaseFolded) {
    // é E9 and É C9, œ 9C and Œ 8C in Windows-1252.
    const auto phrases = phrasesWithTexts({"alpha beta", "alpha only", "beta only", "gamma here",
                                           "alpha gamma", "Le CAF\xC9",
                                           "\xE9"
                                           "cole",
                                           "C\x8CUR"});
    const std::pair<SearchCriteria, std::vector<int>> rows[] = {
        {words("", "", "", ""), {1, 2, 3, 4, 5, 6, 7, 8}},
        {words("alpha", "", "", ""), {1, 2, 5}},
        {words("", "beta", "", ""), {1, 3}},
        {words("alpha", "beta", "", ""), {1}},
        {words("", "", "gamma", ""), {4, 5}},
        {words("alpha", "", "gamma", ""), {1, 2, 4, 5}},
        {words("", "beta", "gamma", ""), {1, 3, 4, 5}},
        {words("alpha", "beta", "gamma", ""), {1, 4, 5}},
        {words("alpha", "beta", "gamma", "here"), {1, 5}},
        {words("", "", "", "only"), {1, 4, 5, 6, 7, 8}},
        {words("only alpha", "", "", ""), {}},  // one string, not split into words
        {words(" ", "", "", ""), {1, 2, 3, 4, 5, 6}},
        {words("A BE", "", "", ""), {1}},
        {words("caf\xE9", "", "", ""), {6}},
        {words("",
               "\xC9"
               "COLE",
               "", ""),
         {7}},
        {words("", "", "c\x9Cur", ""), {8}},
    };
    for (const auto& [c, found] : rows) {
        SCOPED_TRACE("(" + c.and1 + " AND " + c.and2 + ") OR " + c.orText + " NOT " + c.notText);
        EXPECT_EQ(search(phrases, c), found);
    }
}

TEST(PhraseSearch, CategoryListsSelectTheirOwnKeysAndCombine) {
    const std::span<const SearchCategory> all[] = {gradeStreamCategories(), commentCategories(),
                                                   learningSkillCategories(),
                                                   departmentCategories()};
    const std::size_t sizes[] = {10, 5, 7, 35};
    std::set<char> keys;
    for (std::size_t l = 0; l < 4; ++l) {
        ASSERT_EQ(all[l].size(), sizes[l]);
        EXPECT_STREQ(all[l][0].item, "All");
        for (std::size_t i = 1; i < all[l].size(); ++i)
            EXPECT_TRUE(keys.insert(all[l][i].key).second) << all[l][i].item;
    }
    EXPECT_STREQ(departmentCategories()[13].item, "ESL / ELD");
    EXPECT_STREQ(departmentCategories()[32].item, "Technological  Design");

    const std::vector<Phrase> phrases = {{"0001", "a", "13!L"}, {"0002", "b", "3&L)"},
                                         {"0003", "c", "&K"},   {"0004", "d", "\\6"},
                                         {"0005", "e", "l&"},   {"0006", "f", "7L&?"}};
    const std::pair<SearchCriteria, std::vector<int>> rows[] = {
        {lists(0, 0, 0, 13), {1, 2, 6}},  // ESL / ELD "L", case-sensitive
        {lists(0, 3, 0, 13), {2, 6}},     // and Next Steps "&"
        {lists(3, 3, 0, 13), {2}},        // and 9/10 Academic "3"
        {lists(0, 0, 6, 0), {6}},         // Self-Regulation "?"
        {lists(0, 0, 0, 32), {4}},        // Technological  Design "\"
        {lists(-1, -1, -1, -1), {1, 2, 3, 4, 5, 6}},
    };
    for (const auto& [c, found] : rows)
        EXPECT_EQ(search(phrases, c), found)
            << c.markCat << c.commentCat << c.learningSkill << c.dept;
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
    EXPECT_EQ(search(phrases, lists(0, 0, 0, 12)), std::vector<int>{1});
}

}  // namespace
}  // namespace tl::test
