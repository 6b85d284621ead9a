// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/printed_page.h"

#include "core/test_support.h"

namespace tl::test {
namespace {

TEST(PrintedLineWrap, LinesTooWideGoOnIndentedToTheirColumn) {
    forEachRow("printed_line_wrap.tsv", [](const TableRow& row) {
        const std::string& line = row["line"];
        const std::string& kind = row["continuation"];  // a number of blanks, or "code"
        const Continuation continuation{kind == "code" ? 0 : std::stoul(kind), kind == "code"};
        const auto fits = static_cast<std::size_t>(row.number("fits"));
        EXPECT_EQ(wrapPrintedLine(line, fits, continuationIndent(line, continuation)),
                  row.parts("pages"));
    });
    // An empty line still takes a line of the page.
    EXPECT_EQ(wrapPrintedLine("", 10, 0), std::vector<std::string>{""});
}

}  // namespace
}  // namespace tl::test
