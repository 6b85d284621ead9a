#include "entry/grid_rules.h"

#include <gtest/gtest.h>

namespace tl {
namespace {

InitialValueRange range(int low, int high, const char* code) {
    InitialValueRange r;
    r.lowMark = low;
    r.highMark = high;
    r.codes = {code, "", ""};
    r.skills = {"3", "3", "3", "3", "3", "3"};
    return r;
}

TEST(SkillCycle, LeftButtonStepsDownAndWrapsFromOneToFour) {
    std::string value = "4";
    std::vector<std::string> seen;
    for (int i = 0; i < 4; ++i) {
        value = nextSkillValue(value, true);
        seen.push_back(value);
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"3", "2", "1", "4"}));
}

TEST(SkillCycle, RightButtonStepsUpAndWrapsFromFourToOne) {
    std::string value = "1";
    std::vector<std::string> seen;
    for (int i = 0; i < 4; ++i) {
        value = nextSkillValue(value, false);
        seen.push_back(value);
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"2", "3", "4", "1"}));
}

TEST(SkillCycle, CellWithoutARatingCountsAsThree) {
    for (const char* cell : {"", "0", "5", "x", "33", " "}) {
        EXPECT_EQ(nextSkillValue(cell, true), "2") << '"' << cell << '"';
        EXPECT_EQ(nextSkillValue(cell, false), "4") << '"' << cell << '"';
    }
}

TEST(MarkEditor, OpensWithADigitOrCapitalIOnly) {
    EXPECT_EQ(markEditorOpening('5'), "5");
    EXPECT_EQ(markEditorOpening('0'), "0");
    EXPECT_EQ(markEditorOpening('I'), "I");
    EXPECT_EQ(markEditorOpening('i'), "");
    EXPECT_EQ(markEditorOpening('x'), "");
    EXPECT_EQ(markEditorOpening(13), "");
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

TEST(MarkEditor, KeyReleaseKeepsAMarkUpTo100OrI) {
    EXPECT_EQ(typed("100"), "100");
    EXPECT_EQ(typed("101"), "");
    EXPECT_EQ(typed("07"), "07");
    EXPECT_EQ(typed("i"), "I");
    EXPECT_EQ(typed("8i"), "I");
    EXPECT_EQ(typed("i5"), "");
    EXPECT_EQ(typed("8."), "");
    EXPECT_EQ(typed("99x"), "");
    // Shift counts with the digits: it leaves a valid text alone.
    EXPECT_EQ(markEditorAfterKey("42", MarkKey::Digit), "42");
    EXPECT_EQ(markEditorAfterKey("I", MarkKey::Digit), "I");
    EXPECT_EQ(markEditorAfterKey("", MarkKey::Digit), "");
}

TEST(AutoFillRange, FirstMatchingRangeWins) {
    const std::vector<InitialValueRange> ranges = {range(70, 79, "0002"), range(80, 100, "0004"),
                                                   range(85, 90, "0009"), range(0, 49, "0008")};
    EXPECT_EQ(findAutoFillRange(ranges, "85"), 1);
    EXPECT_EQ(findAutoFillRange(ranges, "80"), 1);
    EXPECT_EQ(findAutoFillRange(ranges, "100"), 1);
    EXPECT_EQ(findAutoFillRange(ranges, "79"), 0);
    EXPECT_EQ(findAutoFillRange(ranges, "07"), 3);
}

TEST(AutoFillRange, IAndAnEmptyMarkUseTheRangeHoldingZero) {
    const std::vector<InitialValueRange> ranges = {range(80, 100, "0004"), range(0, 49, "0008")};
    EXPECT_EQ(findAutoFillRange(ranges, "I"), 1);
    EXPECT_EQ(findAutoFillRange(ranges, "0"), 1);
    EXPECT_EQ(findAutoFillRange(ranges, ""), 1);
}

TEST(AutoFillRange, MarkOutsideEveryRangeFindsNone) {
    const std::vector<InitialValueRange> ranges = {range(80, 100, "0004"), range(70, 79, "0005")};
    EXPECT_EQ(findAutoFillRange(ranges, "65"), -1);
    EXPECT_EQ(findAutoFillRange(ranges, "I"), -1);
    EXPECT_EQ(findAutoFillRange({}, "85"), -1);
}

TEST(SkillsAllThree, OnlySixCellsHoldingThree) {
    EXPECT_TRUE(skillsAllThree({"3", "3", "3", "3", "3", "3"}));
    EXPECT_FALSE(skillsAllThree({"3", "3", "3", "3", "3", "4"}));
    EXPECT_FALSE(skillsAllThree({"3", "3", "", "3", "3", "3"}));
    EXPECT_FALSE(skillsAllThree({"3", "3", "3", "3", "3"}));
}

}  // namespace
}  // namespace tl
