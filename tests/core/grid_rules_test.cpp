// SPDX-License-Identifier: GPL-3.0-or-later

#include "entry/grid_rules.h"

#include "core/test_support.h"

namespace tl::test {
namespace {

// The editor's text for the row (see the table's opening comment).
std::string editorText(const TableRow& row) {
    const std::string& keys = row["keys"];
    if (row["rule"] == "opening") return markEditorOpening(keys.at(0));
    if (row["rule"] == "shift") return markEditorAfterKey(keys, MarkKey::Digit);
    EXPECT_EQ(row["rule"], "typed");
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

TEST(MarkEditor, OpensWithADigitOrCapitalIAndKeepsAMarkUpTo100OrI) {
    forEachRow("mark_editor.tsv",
               [](const TableRow& row) { EXPECT_EQ(editorText(row), row["text"]); });
}

}  // namespace
}  // namespace tl::test
