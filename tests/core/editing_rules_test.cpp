// SPDX-License-Identifier: GPL-3.0-or-later

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

// What the case's routine gives for its input, as text. Flags and free-form
// drafts, as the class grid applies them: class_edits.tsv.
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
        EXPECT_EQ(joined(s.comments) + " " + joined(s.skills),
                  joined(fields<5>(row["codesAfter"])) + " " + row["skillsAfter"]);
        EXPECT_EQ(change.comments, row["codes"] != row["codesAfter"]);
        EXPECT_EQ(change.skills, row["skills"] != row["skillsAfter"]);
    });
}

}  // namespace
}  // namespace tl::test
