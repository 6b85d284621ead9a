// SPDX-License-Identifier: GPL-3.0-or-later

#include "autofill/mark_ranges.h"

#include <cstdio>

#include "autofill/initial_values_printout.h"
#include "core/limits.h"
#include "core/test_support.h"
#include "core/text.h"
#include "core/workspace.h"

namespace tl::test {
namespace {

using Ranges = std::vector<InitialValueRange>;

// "85-100:4 60-84:3": each range's marks and its RE skill.
std::string marks(const Ranges& ranges) {
    std::string out;
    for (const InitialValueRange& r : ranges)
        out += std::to_string(r.lowMark) + "-" + std::to_string(r.highMark) + ":" + r.skills[0] +
               (&r == &ranges.back() ? "" : " ");
    return out;
}

InitialValueRange range(int low, int high, std::array<std::string, 3> codes = {},
                        const char* skill = "3") {
    InitialValueRange r{low, high, std::move(codes), {}};
    r.skills.fill(skill);
    return r;
}

TEST(EnterRanges, AnswersGiveRangesHighestFirstOrTheRefusal) {
    forEachRow("mark_range_answers.tsv", [](const TableRow& row) {
        const RangesParse p = parseMarkRanges(row["answer"]);
        // A refusal's code stands in place of the ranges, and it gives none.
        EXPECT_EQ(
            p.failure ? p.failure->text.substr(0, p.failure->text.find(':')) : marks(p.ranges),
            row["ranges"]);
        EXPECT_TRUE(!p.failure || p.ranges.empty());
        for (const InitialValueRange& r : p.ranges)
            EXPECT_EQ(joined(r.codes), "||");
    });
}

TEST(SplitAndDelete, HalvesAndMergesWithTheRangeBelow) {
    forEachRow("range_split_delete.tsv", [](const TableRow& row) {
        Ranges ranges;
        for (const std::string& text : row.parts("before", ' ')) {
            InitialValueRange& r = ranges.emplace_back();
            char skill[2] = {};
            std::sscanf(text.c_str(), "%d-%d:%1s", &r.lowMark, &r.highMark, skill);
            r.skills.fill(skill);
        }
        const int at = row.number("row");
        const RangeEdit edit =
            row["op"] == "split" ? splitRange(ranges, at) : deleteRange(ranges, at);
        EXPECT_EQ(edit.changed, row["changed"] == "yes");
        EXPECT_EQ(edit.detailsRow, row.number("details"));
        EXPECT_EQ(marks(ranges), row["after"]);
    });
    // Both halves keep the codes; the merged range keeps those of the range below.
    Ranges ranges = {range(60, 84, {"0012", "", "    "}, "2"), range(0, 59)};
    splitRange(ranges, 1);
    EXPECT_EQ(ranges[1], range(60, 71, {"0012", "", "    "}, "2"));
    ranges[1].codes[1] = "0034";
    deleteRange(ranges, 1);
    EXPECT_EQ(ranges[0], range(60, 84, {"0012", "0034", "    "}, "2"));
    // A table of 99 ranges is split; a full one is not.
    Ranges full(kMaxRanges - 1, range(0, 10));
    EXPECT_TRUE(splitRange(full, 1).changed);
    EXPECT_FALSE(splitRange(full, 1).changed || full.size() != 100u);
}

TEST(RangeGridEdits, StampsAndSkillClicksOnTheirCellsAndUndoFromTheNewest) {
    Ranges ranges = {range(80, 100, {"0012", "", ""}), range(0, 79, {}, "")};
    ranges[1].skills[4] = "x";
    const Ranges start = ranges;
    RangeUndoStack undo;
    forEachRow("range_grid_edits.tsv", [&](const TableRow& row) {
        const int r = row.number("row"), col = row.number("col");
        const std::string& button = row["button"];
        const SkillClick click = button == "Left"    ? SkillClick::Left
                                 : button == "Right" ? SkillClick::Right
                                                     : SkillClick::Other;
        const bool changed = button.empty() ? stampRangeCode(ranges, undo, r, col, row["code"])
                             : button[0] == '='
                                 ? setRangeSkill(ranges, undo, r, col, button.substr(1))
                                 : clickRangeSkill(ranges, undo, r, col, click);
        EXPECT_EQ(changed, row["changed"] == "yes");
        EXPECT_EQ(joined(ranges[0].codes) + " " + joined(ranges[1].skills),
                  row["codes1"] + " " + row["skills2"]);
    });
    std::string rows;
    while (int row = undoRangeEdit(ranges, undo))
        rows += std::to_string(row);
    EXPECT_EQ(rows, "222222211");
    EXPECT_EQ(ranges, start);
    undo.push({3, range(0, 49)});  // a row the table no longer has
    EXPECT_EQ(undoRangeEdit(ranges, undo), 0);
}

TEST(InitialValuesPrintout, HeadingFileAndTheDetailLinesOfEachRange) {
    Workspace ws;
    ws.phrases = {{"0012", "Works hard", ""}, {"0020", std::string(80, 'w'), ""}};
    ws.favouritesFile = "/home/t/term1.tlf";
    ws.initialValues = {defaultRanges().front(),
                        {-5, 79, {"0020", "    ", "0012"}, {"1", "", "2", "3", "4", "x"}}};
    std::tm when{};
    strptime("2026-12-07 04:05:09", "%Y-%m-%d %H:%M:%S", &when);
    const auto lines = initialValuesPrintout(ws, when);
    EXPECT_EQ(expectPrintedLines("initial_values_printout.tsv", lines), lines.size());
    EXPECT_EQ(joined(rangeRowTexts(ws.initialValues[1])), "-5|79|0020|    |0012|1||2|3|4|x");
}

}  // namespace
}  // namespace tl::test
