#include "entry/grid_rules.h"

#include "core/test_support.h"

namespace tl::test {
namespace {

InitialValueRange range(int low, int high) {
    return InitialValueRange{low, high, {}, {"3", "3", "3", "3", "3", "3"}};
}

TEST(SkillCycle, LeftStepsDownRightStepsUpAndOtherCellsCountAsThree) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"4", "3", "1"}, {"3", "2", "4"}, {"2", "1", "3"}, {"1", "4", "2"},  {"", "2", "4"},
        {"0", "2", "4"}, {"5", "2", "4"}, {"x", "2", "4"}, {"33", "2", "4"}, {" ", "2", "4"}};
    for (const auto& [cell, left, right] : cases) {
        EXPECT_EQ(nextSkillValue(cell, true), left) << '"' << cell << '"';
        EXPECT_EQ(nextSkillValue(cell, false), right) << '"' << cell << '"';
    }
}

// The editor's text after each key of a sequence, as the key-release rule
// leaves it (the typed character is appended first, as the text box does).
std::string typed(const std::string& keys) {
    std::string text;
    for (char k : keys) {
        text += k;
        const MarkKey group = k == 'i' || k == 'I'     ? MarkKey::LetterI
                              : (k >= '0' && k <= '9') ? MarkKey::Digit
                                                       : MarkKey::Other;
        text = markEditorAfterKey(text, group);
    }
    return text;
}

TEST(MarkEditor, OpensWithADigitOrCapitalIAndKeepsAMarkUpTo100OrI) {
    for (const auto& [key, text] : std::vector<std::pair<int, const char*>>{
             {'5', "5"}, {'0', "0"}, {'I', "I"}, {'i', ""}, {'x', ""}, {13, ""}})
        EXPECT_EQ(markEditorOpening(key), text) << key;
    const std::pair<const char*, const char*> sequences[] = {
        {"100", "100"}, {"101", ""}, {"07", "07"}, {"i", "I"},
        {"8i", "I"},    {"i5", ""},  {"8.", ""},   {"99x", ""}};
    for (const auto& [keys, text] : sequences)
        EXPECT_EQ(typed(keys), text) << keys;
    // Shift counts with the digits: it leaves a valid text alone.
    for (const char* text : {"42", "I", ""})
        EXPECT_EQ(markEditorAfterKey(text, MarkKey::Digit), text);
}

TEST(AutoFillRange, FirstRangeHoldingTheMarkWins) {
    const std::vector<InitialValueRange> ranges = {range(70, 79), range(80, 100), range(85, 90),
                                                   range(0, 49)};
    const std::pair<const char*, int> cases[] = {{"85", 1}, {"80", 1}, {"100", 1}, {"79", 0},
                                                 {"07", 3}, {"I", 3},  {"", 3},    {"65", -1}};
    for (const auto& [mark, index] : cases)
        EXPECT_EQ(findAutoFillRange(ranges, mark), index) << '"' << mark << '"';
    EXPECT_EQ(findAutoFillRange({range(80, 100)}, "I"), -1);
    EXPECT_EQ(findAutoFillRange({}, "85"), -1);
}

TEST(SkillsAllThree, OnlySixCellsHoldingThree) {
    EXPECT_TRUE(skillsAllThree({"3", "3", "3", "3", "3", "3"}));
    EXPECT_FALSE(skillsAllThree({"3", "3", "3", "3", "3", "4"}));
    EXPECT_FALSE(skillsAllThree({"3", "3", "", "3", "3", "3"}));
    EXPECT_FALSE(skillsAllThree({"3", "3", "3", "3", "3"}));
}

}  // namespace
}  // namespace tl::test
