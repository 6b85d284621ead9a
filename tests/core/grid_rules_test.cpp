#include "entry/grid_rules.h"

#include "core/test_support.h"

namespace tl::test {
namespace {

// The editor's text after each key of a sequence, as the key-release rule
// leaves it (the typed character is appended first, as the text box does).
std::string typed(const std::string& keys) {
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
    for (const auto& [key, text] : std::vector<std::pair<int, const char*>>{
             {'5', "5"}, {'0', "0"}, {'I', "I"}, {'i', ""}, {'x', ""}, {13, ""}})
        EXPECT_EQ(markEditorOpening(key), text) << key;
    const std::pair<const char*, const char*> sequences[] = {
        {"100", "100"}, {"101", ""}, {"07", "07"}, {"i", "I"},
        {"8i", "I"},    {"i5", ""},  {"8.", ""},   {"99x", ""}};
    for (const auto& [keys, text] : sequences)
        EXPECT_EQ(typed(keys), text) << keys;
    // Shift counts with the digits: it leaves a valid text alone.
    for (const char* text : {"42", "I", ""})
        EXPECT_EQ(markEditorAfterKey(text, MarkKey::Digit), text);
}

}  // namespace
}  // namespace tl::test
