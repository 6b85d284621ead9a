#include "autofill/mark_ranges.h"

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
    std::string fifty;  // 0-1 2-3 ... 98-99: the most ranges 0 to 100 can hold
    for (int k = 0; k < kMaxEnteredRanges; ++k)
        fifty += std::to_string(2 * k) + "-" + std::to_string(2 * k + 1) + " ";
    const std::pair<std::string, std::string> cases[] = {
        {"0-49 50-59 60-84, 85-100", "85-100:4 60-84:3 50-59:2 0-49:1"},
        {"70-79 80-100 0-69", "80-100:3 70-79:3 0-69:3"},
        {"0-50 51-60 61-80 81-100", "81-100:4 61-80:3 51-60:2 0-50:1"},
        {"-50   ", "0-50:1"},
        {"   0-49     50-59", "50-59:2 0-49:1"},
        {"+10-20abc 0-+9.4", "10-20:1 0-9:1"},
        {"0.5-99.5", "0-100:3"},  // halves to the even neighbour
        {"1.5-100.5 0.49-1.4", "2-100:3 0-1:1"},
        {"0.50000000000000001-3", "1-3:1"},  // exactly as written, not as a double
        {fifty, "98-99:4 96-97:4"},
        {"0-49 50", "TL11"},
        {"   ", "TL11"},
        {"0 -49", "TL12"},
        {"50-", "TL13"},
        {"60-60", "TL13"},
        {"0-101", "TL13"},
        {"21-1e3", "TL13"},
        {"0-99999999999999999999", "TL13"},
        {"50-60 60-70", "TL14"},
        {"10-20 0-100", "TL14"},
        // The 51st range: its own checks first, then the count, then overlaps.
        {fifty + "101-102", "TL13"},
        {fifty + "0-1", "TL12"}};
    for (const auto& [answer, expected] : cases) {
        const RangesParse p = parseMarkRanges(answer);
        if (expected.starts_with("TL")) {
            EXPECT_TRUE(p.failure && p.failure->text.starts_with(expected + ":")) << answer;
            EXPECT_TRUE(p.ranges.empty()) << answer;
        } else {
            ASSERT_FALSE(p.failure) << answer;
            EXPECT_EQ(marks(p.ranges).substr(0, expected.size()), expected) << answer;
            EXPECT_EQ(p.ranges.size(),
                      answer == fifty ? 50u : std::size_t(countChar(expected, ':')));
            for (const InitialValueRange& r : p.ranges)
                EXPECT_EQ(joined(r.codes), "||") << answer;
        }
    }
    EXPECT_TRUE(parseMarkRanges("").ranges.empty() && !parseMarkRanges("").failure);
}

TEST(SplitAndDelete, HalvesAndMergesWithTheRangeBelow) {
    const Ranges three = {range(80, 100, {}, "4"), range(60, 79), range(0, 59, {}, "1")};
    const std::tuple<Ranges, char, int, const char*, RangeEdit> cases[] = {
        {three, 'S', 1, "90-100:4 80-89:4 60-79:3 0-59:1", {true, 1}},
        {three, 'S', 3, "80-100:4 60-79:3 30-59:1 0-29:1", {true, 3}},
        {{range(50, 51)}, 'S', 1, "51-51:3 50-50:3", {true, 1}},
        {{range(-5, -3)}, 'S', 1, "-4--3:3 -5--5:3", {true, 1}},
        {{range(50, 50)}, 'S', 1, "", {false, 1}},
        {{range(60, 50)}, 'S', 1, "", {false, 1}},
        {three, 'S', 0, "", {}},
        {three, 'S', 4, "", {}},
        {three, 'D', 1, "60-100:3 0-59:1", {true, 1}},
        {three, 'D', 2, "80-100:4 0-79:1", {true, 2}},
        {three, 'D', 3, "", {}},
        {three, 'D', 0, "", {}},
        {{range(0, 100)}, 'D', 1, "", {}}};
    for (const auto& [before, op, row, after, expected] : cases) {
        Ranges ranges = before;
        const RangeEdit edit = op == 'S' ? splitRange(ranges, row) : deleteRange(ranges, row);
        EXPECT_EQ(std::pair(edit.changed, edit.detailsRow),
                  std::pair(expected.changed, expected.detailsRow));
        EXPECT_EQ(marks(ranges), *after ? after : marks(before)) << op << row;
    }
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
    const Ranges start = ranges;
    RangeUndoStack undo;
    EXPECT_TRUE(stampRangeCode(ranges, undo, 1, 4, "0012"));  // moves from CM1
    EXPECT_TRUE(stampRangeCode(ranges, undo, 1, 2, "    "));  // "no comment"
    EXPECT_EQ(joined(ranges[0].codes), "    ||0012");
    // An empty cell is a 3 that left and right cycle; another button only makes it a 3.
    ranges[1].skills[4] = "x";
    for (auto [col, button] : {std::pair(5, SkillClick::Left),
                               {6, SkillClick::Right},
                               {7, SkillClick::Other},
                               {9, SkillClick::Other},
                               {5, SkillClick::Other}})
        EXPECT_TRUE(clickRangeSkill(ranges, undo, 2, col, button));
    EXPECT_EQ(joined(ranges[1].skills), "2|4|3||3|");
    // Other cells and rows change nothing and record nothing.
    const Ranges edited = ranges;
    EXPECT_FALSE(
        stampRangeCode(ranges, undo, 1, 1, "0034") || stampRangeCode(ranges, undo, 1, 5, "0034") ||
        stampRangeCode(ranges, undo, 3, 2, "0034") || stampRangeCode(ranges, undo, 1, 2, "") ||
        clickRangeSkill(ranges, undo, 1, 4, SkillClick::Left) ||
        clickRangeSkill(ranges, undo, 0, 5, SkillClick::Left));
    EXPECT_EQ(ranges, edited);
    std::string rows;
    while (int row = undoRangeEdit(ranges, undo))
        rows += std::to_string(row);
    EXPECT_EQ(rows, "2222211");
    ranges[1].skills[4] = "";
    EXPECT_EQ(ranges, start);
    // A 501st edit drops the oldest entry: undoing all gives the range after the first.
    for (int i = 0; i <= kMaxUndo; ++i)
        clickRangeSkill(ranges, undo, 1, 5, SkillClick::Right);
    EXPECT_EQ(undo.count(), kMaxUndo);
    while (undoRangeEdit(ranges, undo) != 0) {
    }
    EXPECT_EQ(ranges[0].skills[0], "4");
    undo.push(3, range(0, 49));  // a row the table no longer has
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
    const PrintFont courier{"Courier New", 9};
    const std::string b75(75, ' '), b83(83, ' ');
    const std::vector<PrintedLine> expected = {
        {PrintFont{"", 10}, ""},
        {courier, "Tallyleaf v3.3 Growing Success"},
        {courier, "12-07-2026 ~ 04:05:09"},
        {courier, "Initial Values for: /home/t/term1.tlf"},
        {courier, " "},
        {courier, "   Range" + std::string(78, ' ') + "Learning Skills"},
        {courier, "   80-100  " + b75 + " RE OR IW CO IN SR"},
        {courier, "   " + b83 + "  4  4  4  4  4  4"},
        {courier, " "},
        // A code column over 75 characters moves the rest of its line right.
        {courier, "   Range   0020 " + std::string(80, 'w') + ". Learning Skills"},
        {courier, "   -5-79   " + b75 + " RE OR IW CO IN SR"},
        {courier, "           " + padRight("0012 Works hard. ", 75) + "  1    2  3  4  x"},
        {courier, " "}};
    EXPECT_EQ(initialValuesPrintout(ws, when), expected);
    EXPECT_EQ(joined(rangeRowTexts(ws.initialValues[1])), "-5|79|0020|    |0012|1||2|3|4|x");
}

}  // namespace
}  // namespace tl::test
