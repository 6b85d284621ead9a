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
std::string marksAndSkill(const Ranges& ranges) {
    std::string out;
    for (const InitialValueRange& r : ranges) {
        out += (out.empty() ? "" : " ") + std::to_string(r.lowMark) + "-" +
               std::to_string(r.highMark) + ":" + r.skills[0];
    }
    return out;
}

// "n-n+1 " count times from 0: count ranges that neither overlap nor leave 0 to 100.
std::string pairs(int count) {
    std::string out;
    for (int k = 0; k < count; ++k)
        out += std::to_string(2 * k) + "-" + std::to_string(2 * k + 1) + " ";
    return out;
}

TEST(EnterRanges, AcceptedAnswersSortedHighestFirstWithDefaultSkills) {
    const std::pair<const char*, const char*> cases[] = {
        {"0-49 50-59 60-84, 85-100", "85-100:4 60-84:3 50-59:2 0-49:1"},
        {"70-79 80-100 0-69", "80-100:3 70-79:3 0-69:3"},
        {"0-50 51-60 61-80 81-100", "81-100:4 61-80:3 51-60:2 0-50:1"},
        {"50-59 60-70", "60-70:3 50-59:2"},
        {"-50", "0-50:1"},
        {"   0-49     50-59  ", "50-59:2 0-49:1"},
        {"+10-20abc 0-+9.4", "10-20:1 0-9:1"},
        {"0-1e3", "0-1:1"},
        // Halves go to the even neighbour; every decimal counts.
        {"0.5-99.5", "0-100:3"},
        {"1.5-100.5", "2-100:3"},
        {"2.5-3.5", "2-4:1"},
        {"0.49-2.5", "0-2:1"},
        {"0.50000000000000001-3", "1-3:1"}};
    for (const auto& [answer, expected] : cases) {
        const RangesParse p = parseMarkRanges(answer);
        ASSERT_FALSE(p.failure) << answer;
        EXPECT_EQ(marksAndSkill(p.ranges), expected) << answer;
        for (const InitialValueRange& r : p.ranges)
            EXPECT_EQ(r.codes, (std::array<std::string, 3>{})) << answer;
    }
    // Fifty ranges of two marks fill 0 to 99.
    const RangesParse fifty = parseMarkRanges(pairs(kMaxEnteredRanges));
    EXPECT_TRUE(!fifty.failure && fifty.ranges.size() == 50u && fifty.ranges[0].lowMark == 98);
    // An empty answer (a cancelled box too) gives nothing to replace the table with.
    const RangesParse none = parseMarkRanges("");
    EXPECT_TRUE(none.ranges.empty() && !none.failure);
}

TEST(EnterRanges, RefusalsDiscardEveryRange) {
    const Notice tl11 = msg::tl11MissingDash(), tl12 = msg::tl12InvalidFormat(),
                 tl13 = msg::tl13MarkOutOfRange(), tl14 = msg::tl14OverlappingRanges();
    const std::pair<std::string, Notice> cases[] = {
        {"49", tl11},
        {"0-49 50", tl11},
        {"   ", tl11},
        {"0 -49", tl12},
        {"0-49 50 -59", tl12},
        {"50-", tl13},
        {"60-60", tl13},
        {"70-60", tl13},
        {"0-101", tl13},
        {"5--3", tl13},
        {"0-99999999999999999999", tl13},
        {"0- 49", tl13},
        {"50-60 60-70", tl14},
        {"0-100 10-20", tl14},
        {"10-20 0-100", tl14},
        {"0-49 0-49", tl14},
        {"1.5-3 2.5-5", tl14},
        // The 51st range is refused when it would be stored: after its own
        // checks, before the overlap test.
        {pairs(kMaxEnteredRanges) + "101-102", tl13},
        {pairs(kMaxEnteredRanges) + "0-1", tl12}};
    for (const auto& [answer, notice] : cases) {
        const RangesParse p = parseMarkRanges(answer);
        EXPECT_EQ(p.failure, notice) << answer;
        EXPECT_TRUE(p.ranges.empty()) << answer;
    }
}

InitialValueRange range(int low, int high, std::array<std::string, 3> codes = {},
                        const char* skill = "3") {
    InitialValueRange r{low, high, std::move(codes), {}};
    r.skills.fill(skill);
    return r;
}

TEST(SplitAndDelete, HalvesAndMergesWithTheRangeBelow) {
    struct Case {
        const char* what;
        Ranges before;
        bool split;
        int row;
        const char* after;  // "" for unchanged
        RangeEdit edit;
    };
    const Ranges defaults = defaultRanges();
    const Case cases[] = {
        {"80-100",
         defaults,
         true,
         1,
         "90-100:4 80-89:4 70-79:3 60-69:3 50-59:2 40-49:1 20-39:1 0-19:1",
         {true, 1}},
        {"0-49", {range(50, 59), range(0, 49)}, true, 2, "50-59:3 25-49:3 0-24:3", {true, 2}},
        {"50-51", {range(50, 51)}, true, 1, "51-51:3 50-50:3", {true, 1}},
        {"one mark", {range(50, 50)}, true, 1, "", {false, 1}},
        {"low above high", {range(60, 50)}, true, 1, "", {false, 1}},
        {"negative marks",
         {range(-5, -3), range(-5, 49)},
         true,
         1,
         "-4--3:3 -5--5:3 -5-49:3",
         {true, 1}},
        {"header row", defaults, true, 0, "", {}},
        {"below the table", defaults, true, 8, "", {}},
        {"delete merges",
         defaults,
         false,
         1,
         "70-100:3 60-69:3 50-59:2 40-49:1 20-39:1 0-19:1",
         {true, 1}},
        {"delete above the last",
         defaults,
         false,
         6,
         "80-100:4 70-79:3 60-69:3 50-59:2 40-49:1 0-39:1",
         {true, 6}},
        {"delete the last", defaults, false, 7, "", {}},
        {"delete the only range", {range(0, 100)}, false, 1, "", {}},
        {"delete the header", defaults, false, 0, "", {}}};
    for (const Case& c : cases) {
        Ranges ranges = c.before;
        const RangeEdit edit = c.split ? splitRange(ranges, c.row) : deleteRange(ranges, c.row);
        EXPECT_EQ(std::pair(edit.changed, edit.detailsRow),
                  std::pair(c.edit.changed, c.edit.detailsRow))
            << c.what;
        EXPECT_EQ(marksAndSkill(ranges), *c.after ? c.after : marksAndSkill(c.before)) << c.what;
    }
}

TEST(SplitAndDelete, HalvesKeepTheCodesAndTheMergedRangeThoseBelow) {
    Ranges ranges = {range(85, 100), range(60, 84, {"0012", "", "    "}, "2"), range(0, 59)};
    ASSERT_TRUE(splitRange(ranges, 2).changed);
    EXPECT_EQ(ranges[1], range(72, 84, {"0012", "", "    "}, "2"));
    EXPECT_EQ(ranges[2], range(60, 71, {"0012", "", "    "}, "2"));
    ranges[2].codes[1] = "0034";
    ranges[2].skills[5] = "4";
    const InitialValueRange lowerHalf = ranges[2];
    ASSERT_TRUE(deleteRange(ranges, 2).changed);
    ASSERT_EQ(ranges.size(), 3u);
    InitialValueRange merged = lowerHalf;
    merged.highMark = 84;
    EXPECT_EQ(ranges[1], merged);

    // A table of 100 ranges is not split; one of 99 is.
    Ranges full(kMaxRanges - 1, range(0, 10));
    EXPECT_TRUE(splitRange(full, 1).changed);
    EXPECT_EQ(full.size(), static_cast<std::size_t>(kMaxRanges));
    const Ranges before = full;
    const RangeEdit refused = splitRange(full, 1);
    EXPECT_TRUE(!refused.changed && refused.detailsRow == 1);
    EXPECT_EQ(full, before);
}

TEST(RangeGridEdits, StampsAndSkillClicksOnlyOnTheirCellsAndUndoRestoresThem) {
    Ranges ranges = {range(80, 100, {"0012", "", ""}), range(0, 79, {"", "", ""}, "")};
    const Ranges start = ranges;
    RangeUndoStack undo;
    // A code moves within a range; four blanks ("no comment") empty a cell.
    EXPECT_TRUE(stampRangeCode(ranges, undo, 1, 4, "0012"));
    EXPECT_EQ(ranges[0].codes, (std::array<std::string, 3>{"", "", "0012"}));
    EXPECT_TRUE(stampRangeCode(ranges, undo, 1, 2, "    "));
    EXPECT_TRUE(stampRangeCode(ranges, undo, 1, 3, "    "));
    EXPECT_EQ(ranges[0].codes, (std::array<std::string, 3>{"    ", "    ", "0012"}));
    // An empty skill cell is a 3 that the click cycles; any other button only makes it 3.
    const std::tuple<int, SkillClick, const char*> clicks[] = {
        {5, SkillClick::Left, "2"}, {6, SkillClick::Right, "4"}, {7, SkillClick::Other, "3"}};
    for (const auto& [col, button, value] : clicks) {
        EXPECT_TRUE(clickRangeSkill(ranges, undo, 2, col, button));
        EXPECT_EQ(ranges[1].skills[col - 5], value);
    }
    ranges[1].skills[3] = "x";
    EXPECT_TRUE(clickRangeSkill(ranges, undo, 2, 8, SkillClick::Other));
    EXPECT_TRUE(clickRangeSkill(ranges, undo, 2, 5, SkillClick::Other));
    EXPECT_EQ(ranges[1].skills[3] + ranges[1].skills[0], "32");

    // Cells that are not a range's code or skill cells change nothing.
    const Ranges edited = ranges;
    EXPECT_FALSE(stampRangeCode(ranges, undo, 1, 1, "0034"));
    EXPECT_FALSE(stampRangeCode(ranges, undo, 1, 5, "0034"));
    EXPECT_FALSE(stampRangeCode(ranges, undo, 0, 2, "0034"));
    EXPECT_FALSE(stampRangeCode(ranges, undo, 3, 2, "0034"));
    EXPECT_FALSE(stampRangeCode(ranges, undo, 1, 2, ""));
    EXPECT_FALSE(clickRangeSkill(ranges, undo, 1, 4, SkillClick::Left));
    EXPECT_FALSE(clickRangeSkill(ranges, undo, 1, 11, SkillClick::Left));
    EXPECT_FALSE(clickRangeSkill(ranges, undo, 3, 5, SkillClick::Left));
    EXPECT_EQ(ranges, edited);
    EXPECT_EQ(undo.count(), 8);

    const int rows[] = {2, 2, 2, 2, 2, 1, 1, 1};
    for (const int row : rows)
        EXPECT_EQ(undoRangeEdit(ranges, undo), row);
    EXPECT_EQ(ranges, start);
    EXPECT_EQ(undoRangeEdit(ranges, undo), 0);
}

TEST(RangeGridEdits, A501stEditDropsTheOldestUndoEntry) {
    Ranges ranges = {range(0, 100)};
    RangeUndoStack undo;
    for (int i = 0; i <= kMaxUndo; ++i)
        clickRangeSkill(ranges, undo, 1, 5, SkillClick::Right);
    EXPECT_EQ(undo.count(), kMaxUndo);
    while (!undo.empty())
        undoRangeEdit(ranges, undo);
    // Back to the value after the first click (3 to 4), not the 3 before it.
    EXPECT_EQ(ranges[0].skills[0], "4");

    // An entry for a row the table no longer has restores nothing.
    undo.push(2, range(0, 49));
    EXPECT_EQ(undoRangeEdit(ranges, undo), 0);
    EXPECT_EQ(ranges.size(), 1u);
}

const std::vector<Phrase> kPhrases = {{"0012", "Works hard", ""},
                                      {"0020", std::string(80, 'w'), ""}};

TEST(RangeDetails, CellsAndDetailLines) {
    const std::string blanks75(75, ' ');
    const auto plain = rangeDetailLines(defaultRanges().front(), kPhrases);
    EXPECT_EQ(plain[0], "Range" + std::string(78, ' ') + "Learning Skills");
    EXPECT_EQ(plain[1], "80-100  " + blanks75 + " RE OR IW CO IN SR");
    EXPECT_EQ(plain[2], std::string(8, ' ') + blanks75 + "  4  4  4  4  4  4");

    // A code column longer than 75 moves the rest of its line right.
    const InitialValueRange r{-5, 100, {"0020", "    ", "0012"}, {"1", "", "2", "3", "4", "x"}};
    const auto lines = rangeDetailLines(r, kPhrases);
    EXPECT_EQ(lines[0], "Range   0020 " + std::string(80, 'w') + ". Learning Skills");
    EXPECT_EQ(lines[1], "-5-100  " + blanks75 + " RE OR IW CO IN SR");
    EXPECT_EQ(lines[2],
              std::string(8, ' ') + padRight("0012 Works hard. ", 75) + "  1    2  3  4  x");
    EXPECT_EQ(joined(rangeRowTexts(r)), "-5|100|0020|    |0012|1||2|3|4|x");
}

TEST(InitialValuesPrintout, HeadingFileAndThreeLinesPerRange) {
    Workspace ws;
    ws.phrases = kPhrases;
    ws.favouritesFile = "/home/t/term1.tlf";
    ws.initialValues = {defaultRanges().front(), range(0, 79, {"", "0012", ""}, "2")};
    std::tm when{};
    when.tm_year = 126;
    when.tm_mon = 11;
    when.tm_mday = 7;
    when.tm_hour = 4;
    when.tm_min = 5;
    when.tm_sec = 9;
    const PrintFont courier{"Courier New", 9};
    const std::string blanks(8 + 75, ' ');
    const std::vector<PrintedLine> expected = {
        {PrintFont{"", 10}, ""},
        {courier, "Tallyleaf v3.3 Growing Success"},
        {courier, "12-07-2026 ~ 04:05:09"},
        {courier, "Initial Values for: /home/t/term1.tlf"},
        {courier, " "},
        {courier, "   Range" + std::string(78, ' ') + "Learning Skills"},
        {courier, "   80-100  " + std::string(75, ' ') + " RE OR IW CO IN SR"},
        {courier, "   " + blanks + "  4  4  4  4  4  4"},
        {courier, " "},
        {courier, "   Range" + std::string(78, ' ') + "Learning Skills"},
        {courier, "   0-79    " + padRight("0012 Works hard. ", 75) + " RE OR IW CO IN SR"},
        {courier, "   " + blanks + "  2  2  2  2  2  2"},
        {courier, " "}};
    EXPECT_EQ(initialValuesPrintout(ws, when), expected);
}

}  // namespace
}  // namespace tl::test
