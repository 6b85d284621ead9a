#include "core/editing_rules.h"

#include <sstream>

#include "core/test_support.h"

namespace tl::test {
namespace {

// "0012||0034" as an array of its fields, the missing ones empty.
template <std::size_t N>
std::array<std::string, N> fields(const std::string& text) {
    std::array<std::string, N> out;
    std::istringstream in(text);
    for (auto& field : out)
        std::getline(in, field, '|');
    return out;
}

// What the case's routine gives for its input, as text.
std::string run(const TableRow& row) {
    const std::string &routine = row["routine"], &in = row["input"];
    if (routine == "nextSkillValue")
        return nextSkillValue(in, true) + "|" + nextSkillValue(in, false);
    auto range = [](int low, int high) { return InitialValueRange{low, high, {}, {}}; };
    if (routine == "findAutoFillRange")
        return std::to_string(
            findAutoFillRange({range(70, 79), range(80, 100), range(85, 90), range(0, 49)}, in));
    if (auto slots = fields<5>(in); routine == "stampCode") {
        stampCode(slots, row.number("slot"), row["code"]);
        return joined(slots);
    }
    EXPECT_EQ(routine, "pickUpCode");
    const PickUp p = pickUpCode(in, {"0012", "    ", "12345", "0034"});
    const char* kinds[] = {"NoComment", "Favourite", "Picked"};
    return kinds[static_cast<int>(p.kind)] + (" " + std::to_string(p.favouriteIndex)) + " " +
           p.code;
}

// A stamp into a range's three slots: range_grid_edits.tsv.
TEST(EditingRules, SkillCyclesAutoFillRangesStampsAndPickUps) {
    forEachRow("editing_rules.tsv",
               [](const TableRow& row) { EXPECT_EQ(run(row), row["expected"]); });
    EXPECT_EQ(findAutoFillRange({{80, 100, {}, {}}}, "I"), -1);
    EXPECT_EQ(findAutoFillRange({}, "85"), -1);
}

TEST(AutoFill, CodesIntoVacantSlotsAndSkillsOverAllThrees) {
    const std::vector<InitialValueRange> ranges = {
        {80, 100, {"0001", "0002", "0003"}, fields<6>("4|4|4|4|4|4")},
        {50, 79, {"0004", "", "    "}, fields<6>("2|2|2|2|2|1")}};
    forEachRow("auto_fill.tsv", [&](const TableRow& row) {
        StudentRecord s = makeStudent("X", "Y", "Z");
        s.mark = row["mark"];
        s.comments = fields<5>(row["codes"]);
        s.skills = fields<6>(row["skills"]);
        s.freeFormUsed = row["freeForm"] == "yes";
        const AutoFillChange change = autoFillStudent(s, ranges);
        EXPECT_EQ(s.comments, fields<5>(row["codesAfter"]));
        EXPECT_EQ(s.skills, fields<6>(row["skillsAfter"]));
        EXPECT_EQ(change.comments, row["codes"] != row["codesAfter"]);
        EXPECT_EQ(change.skills, row["skills"] != row["skillsAfter"]);
    });
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
