#include "core/editing_rules.h"

#include <algorithm>
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
    if (routine == "skillValueForKey") {
        std::string out;
        for (const char key : in)
            out += skillValueForKey(key).empty() ? "-" : skillValueForKey(key);
        return out;
    }
    if (routine == "typedCommentCode") {
        const TypedCode typed = typedCommentCode(
            in, {{"0012", "Works hard.", ""}, {"0120", "Asks.", ""}, {"12345", "Leads.", ""}});
        return typed.code + (typed.refusal ? "|" + typed.refusal->text : "");
    }
    if (auto slots = fields<5>(in); routine == "stampCode") {
        stampCode(slots, row.number("slot"), row["code"]);
        return joined(slots);
    }
    if (routine == "toggleFlag" || routine == "setFlagForAll") {
        const char* names[] = {"Iep", "Esl", "Eld", "Interview"};
        const auto flag = static_cast<Flag>(std::find(names, names + 4, row["code"]) - names);
        std::vector<StudentRecord> all;
        std::istringstream students(in);
        for (std::string text; students >> text;) {
            StudentRecord& s = all.emplace_back(makeStudent("X", "Y", "Z"));
            const auto f = fields<4>(text);
            s.iep = f[0], s.esl = f[1], s.eld = f[2], s.interview = f[3];
        }
        routine == "toggleFlag" ? toggleFlag(all[0], flag)
                                : setFlagForAll(all, flag, row["slot"] == "on");
        std::string out;
        for (const StudentRecord& s : all)
            for (int i = 0; i < 4; ++i)
                out += (i ? "|" : out.empty() ? "" : " ") + flagValue(s, static_cast<Flag>(i));
        return out;
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
