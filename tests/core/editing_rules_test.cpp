#include "core/editing_rules.h"

#include "core/test_support.h"
#include "core/text.h"

namespace tl::test {
namespace {

// "0012,,0034" as an array of its comma-separated fields.
template <std::size_t N>
std::array<std::string, N> fields(std::string csv) {
    std::array<std::string, N> out;
    for (auto& field : out)
        field = nextCsvField(csv);
    return out;
}

TEST(SkillCycle, LeftStepsDownRightStepsUpAndOtherCellsCountAsThree) {
    // The cell, then the values a left click and a right click give it.
    const std::pair<const char*, const char*> cases[] = {
        {"4", "31"}, {"3", "24"}, {"2", "13"}, {"1", "42"},  {"", "24"},
        {"0", "24"}, {"5", "24"}, {"x", "24"}, {"33", "24"}, {" ", "24"}};
    for (const auto& [cell, leftRight] : cases)
        EXPECT_EQ(nextSkillValue(cell, true) + nextSkillValue(cell, false), leftRight) << cell;
}

TEST(AutoFillRange, FirstRangeHoldingTheMarkWins) {
    auto range = [](int low, int high) { return InitialValueRange{low, high, {}, {}}; };
    const std::vector<InitialValueRange> ranges = {range(70, 79), range(80, 100), range(85, 90),
                                                   range(0, 49)};
    const std::pair<const char*, int> cases[] = {{"85", 1}, {"80", 1}, {"100", 1}, {"79", 0},
                                                 {"07", 3}, {"I", 3},  {"", 3},    {"65", -1}};
    for (const auto& [mark, index] : cases)
        EXPECT_EQ(findAutoFillRange(ranges, mark), index) << '"' << mark << '"';
    EXPECT_EQ(findAutoFillRange({range(80, 100)}, "I"), -1);
    EXPECT_EQ(findAutoFillRange({}, "85"), -1);
}

TEST(AutoFill, CodesIntoVacantSlotsAndSkillsOverAllThrees) {
    const std::vector<InitialValueRange> ranges = {
        {80, 100, {"0001", "0002", "0003"}, fields<6>("4,4,4,4,4,4")},
        {50, 79, {"0004", "", "    "}, fields<6>("2,2,2,2,2,1")}};
    const char* threes = "3,3,3,3,3,3";
    struct Case {
        const char *what, *mark, *codes, *skills, *codesAfter, *skillsAfter;
        bool freeForm = false;
    };
    const Case cases[] = {
        {"both", "85", "", threes, "0001,0002,0003", "4,4,4,4,4,4"},
        {"CM4 and CM5 do not count", "60", ",,,0009,0008", threes, "0004,,    ,0009,0008",
         "2,2,2,2,2,1"},
        // Four blanks put there by the teacher count as filled in.
        {"four blanks fill a slot", "85", ",    ", threes, ",    ", "4,4,4,4,4,4"},
        {"a rated skill keeps all six", "85", "", "3,3,3,3,3,4", "0001,0002,0003", "3,3,3,3,3,4"},
        {"an unrated skill is no 3", "85", "", "3,3,,3,3,3", "0001,0002,0003", "3,3,,3,3,3"},
        {"free-form slots are not vacant", "85", "", threes, "", "4,4,4,4,4,4", true},
        {"no range", "40", "", threes, "", threes},
        {"no mark", "", "", threes, "", threes}};
    for (const Case& c : cases) {
        StudentRecord s = makeStudent("X", "Y", "Z");
        s.mark = c.mark;
        s.comments = fields<5>(c.codes);
        s.skills = fields<6>(c.skills);
        s.freeFormUsed = c.freeForm;
        const AutoFillChange change = autoFillStudent(s, ranges);
        EXPECT_EQ(s.comments, fields<5>(c.codesAfter)) << c.what;
        EXPECT_EQ(s.skills, fields<6>(c.skillsAfter)) << c.what;
        EXPECT_EQ(change.comments, std::string_view(c.codes) != c.codesAfter) << c.what;
        EXPECT_EQ(change.skills, std::string_view(c.skills) != c.skillsAfter) << c.what;
    }
}

TEST(CommentCodes, AStampedCodeMovesWithinTheRowAndAPickedCodeIsFoundByEntry) {
    const std::tuple<const char*, const char*, int, const char*, const char*> cases[] = {
        {"into an empty slot", "", 2, "0012", ",,0012"},
        {"moves from CM1", "0012,0034", 3, "0012", ",0034,,0012"},
        {"onto itself", "0012", 0, "0012", "0012"},
        {"over another code", "0012,0034", 1, "0056", "0012,0056"},
        {"blanks stay elsewhere", "    ,    ", 4, "    ", "    ,    ,,,    "}};
    for (auto [what, before, slot, code, after] : cases) {
        auto slots = fields<5>(before);
        stampCode(slots, slot, code);
        EXPECT_EQ(slots, fields<5>(after)) << what;
    }
    // A range's three slots follow the same rule.
    std::array<std::string, 3> range = {"0012", "", "0034"};
    stampCode(range, 1, "0034");
    EXPECT_EQ(range, (std::array<std::string, 3>{"0012", "0034", ""}));
    // A right click picks up the favourite by its entry, not by its first characters.
    const std::vector<std::string> favourites = {"0012", "    ", "12345", "0034"};
    using Kind = PickUp::Kind;
    const std::tuple<const char*, Kind, int> picks[] = {
        {"", Kind::NoComment, -1},     {"    ", Kind::NoComment, -1}, {"0034", Kind::Favourite, 3},
        {"12345", Kind::Favourite, 2}, {"1234", Kind::Picked, -1},    {"0099", Kind::Picked, -1}};
    for (const auto& [code, kind, index] : picks) {
        const PickUp p = pickUpCode(code, favourites);
        EXPECT_EQ(std::tie(p.kind, p.favouriteIndex, p.code),
                  std::tuple(kind, index, std::string(kind == Kind::NoComment ? "" : code)))
            << code;
    }
}

TEST(Flags, ToggleAndSetForAllKeepOneOfEslAndEld) {
    auto flags = [](const StudentRecord& s) {
        return s.iep + "|" + s.esl + "|" + s.eld + "|" + s.interview;
    };
    StudentRecord s = makeStudent("X", "Y", "Z");
    const std::pair<Flag, const char*> clicks[] = {
        {Flag::Iep, "Y|||0"}, {Flag::Esl, "Y|Y||0"},     {Flag::Eld, "Y||Y|0"},
        {Flag::Eld, "Y|||0"}, {Flag::Interview, "Y|||"}, {Flag::Interview, "Y|||Y"},
        {Flag::Iep, "|||Y"}};
    for (const auto& [flag, after] : clicks) {
        toggleFlag(s, flag);
        EXPECT_EQ(flags(s), after);
    }
    std::vector<StudentRecord> all(2, s);
    all[1].eld = "Y";
    setFlagForAll(all, Flag::Esl, true);
    EXPECT_EQ(flags(all[0]) + " " + flags(all[1]), "|Y||Y |Y||Y");
    setFlagForAll(all, Flag::Eld, false);
    EXPECT_EQ(flags(all[0]) + " " + flags(all[1]), "|||Y |||Y");
    setFlagForAll(all, Flag::Interview, false);
    EXPECT_EQ(flagValue(all[1], Flag::Interview), "");
}

TEST(FreeForm, DraftReplacesRestoresOrLeavesTheComments) {
    StudentRecord s = makeStudent("X", "Cole", "Ida");
    s.comments[0] = "0012";
    const std::string original = freeFormOriginal(s, {{"0012", "$ works hard.", "A"}});
    EXPECT_EQ(original, "Ida works hard. ");
    EXPECT_EQ(applyFreeFormDraft(s, "  Ida works hard.  ", original), FreeFormOutcome::Unchanged);
    EXPECT_FALSE(s.freeFormUsed);
    EXPECT_EQ(applyFreeFormDraft(s, " Ida reads \"a lot\"\r\nat home. ", original),
              FreeFormOutcome::Replaced);
    EXPECT_TRUE(s.freeFormUsed);
    EXPECT_EQ(s.freeFormText, "Ida reads  a lot   at home.");
    EXPECT_EQ(freeFormOriginal(s, {}), s.freeFormText);
    for (const char* empty : {"", "   ", "\r\n\t", "\"\""}) {
        s.freeFormUsed = true;
        s.freeFormText = "kept";
        EXPECT_EQ(applyFreeFormDraft(s, empty, original), FreeFormOutcome::Restored) << empty;
        EXPECT_EQ(std::tie(s.freeFormUsed, s.freeFormText, s.comments[0]),
                  std::tuple(false, "", "0012"));
    }
}

}  // namespace
}  // namespace tl::test
