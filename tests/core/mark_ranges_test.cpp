// SPDX-License-Identifier: GPL-3.0-or-later

#include "autofill/mark_ranges.h"

#include <cstdio>

#include "autofill/initial_values_printout.h"
#include "core/test_support.h"
#include "core/text.h"
#include "core/workspace.h"

namespace tl::test {
namespace {

TEST(EnterRanges, AnswersGiveRangesHighestFirstOrTheRefusal) {
    forEachRow("mark_range_answers.tsv", [](const TableRow& row) {
        const RangesParse p = parseMarkRanges(row["answer"]);
        // A refusal's code stands in place of the ranges, and it gives none.
        EXPECT_EQ(
            p.failure ? p.failure->text.substr(0, p.failure->text.find(':')) : rangeMarks(p.ranges),
            row["ranges"]);
        EXPECT_TRUE(!p.failure || p.ranges.empty());
        for (const InitialValueRange& r : p.ranges)
            EXPECT_EQ(joined(r.codes), "||");
    });
}

TEST(InitialValuesPrintout, HeadingFileAndTheDetailLinesOfEachRange) {
    Workspace ws;
    ws.phrases = {{"0012", "Works hard", ""}, {"0020", std::string(80, 'w'), ""}};
    ws.favouritesFile = "/home/t/term1.tlf";
    ws.doc.replaceRanges({defaultRanges().front(),
                          {-5, 79, {"0020", "    ", "0012"}, {"1", "", "2", "3", "4", "x"}}});
    std::tm when{};
    strptime("2026-12-07 04:05:09", "%Y-%m-%d %H:%M:%S", &when);
    const auto lines = initialValuesPrintout(ws, when);
    EXPECT_EQ(expectPrintedLines("initial_values_printout.tsv", lines), lines.size());
    EXPECT_EQ(joined(rangeRowTexts(ws.doc.ranges()[1])), "-5|79|0020|    |0012|1||2|3|4|x");
}

}  // namespace
}  // namespace tl::test
