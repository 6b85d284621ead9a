// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/pronouns.h"

#include <set>

#include "core/comment_text.h"
#include "core/test_support.h"
#include "core/text.h"

namespace tl::test {
namespace {

const KnowsWord kDictionary = [](std::string_view word) {
    static const std::set<std::string_view> words{"try",   "pass", "watch", "echo", "complete",
                                                  "focus", "fix",  "buzz",  "wish", "apply"};
    return words.contains(word);
};

std::vector<Phrase> library(const std::vector<std::string>& texts, const KnowsWord& knows) {
    std::vector<Phrase> phrases;
    for (std::size_t i = 0; i < texts.size(); ++i)
        phrases.push_back({padLeftZeros(std::to_string(i + 1), 4), texts[i], ""});
    prepareTheyForms(phrases, knows);
    return phrases;
}

TEST(TheyForms, ComposeWithVerbsThatAgree) {
    forEachRow("they_forms.tsv", [](const TableRow& row) {
        StudentRecord s = makeStudent("ENG2D1-01", "Ng", "Sam");
        s.gender = row["gender"];
        s.pronouns = row["choice"];
        const std::vector<std::string> texts = row.parts("phrases");
        for (std::size_t i = 0; i < texts.size(); ++i)
            s.comments[i] = padLeftZeros(std::to_string(i + 1), 4);
        const ComposedComments composed =
            composeComments(s, library(texts, row["dictionary"] == "yes" ? kDictionary : nullptr));
        const std::vector<std::string> expected = row.parts("expected");
        EXPECT_EQ(std::vector(composed.texts.begin(), composed.texts.begin() + texts.size()),
                  expected);
    });
}

TEST(TheyForms, ALibraryNotPreparedAgreesByTheRulesAlone) {
    StudentRecord s = makeStudent("ENG2D1-01", "Ng", "Sam");
    s.gender = "X";
    s.comments = {"0001", "0002", "", "", ""};
    const std::vector<Phrase> raw{{"0001", "$ joined", ""}, {"0002", "\"@ watches.\"", ""}};
    EXPECT_EQ(composeComments(s, raw).texts[1], "They watche. ");
}

TEST(TheyForms, TheCheckListsThePhrasesTheRulesCannotVouchFor) {
    const std::vector<Phrase> phrases = library(
        {"@ tries hard.", "Well done, @", "$ said @ blorfs.", "@ has # book", "Great work"}, {});
    const std::string listed =
        "0002\tWell done, @.\tWell done, they.\n"
        "0003\t$ said @ blorfs.\t$ said they blorf.\n";
    EXPECT_EQ(theyCheckReport(phrases, kDictionary),
              listed + "2 of 5 phrases need a look for they/them.\n");
    // Without a dictionary every verb in "s" outside the table needs a look.
    EXPECT_EQ(theyCheckReport(phrases, {}), "0001\t@ tries hard.\tThey trie hard.\n" + listed +
                                                "3 of 5 phrases need a look for they/them.\n");
}

// The menu's entries for a student, the one in use checked, and the label.
TEST(PronounChoice, OffersEachSetAndTheEnrolmentsDefault) {
    auto menu = [](const std::string& gender, const std::string& choice) {
        StudentRecord s;
        s.gender = gender;
        s.pronouns = choice;
        std::string out;
        for (const PronounOption& option : pronounOptions(s))
            out += option.text + (option.checked ? "*" : "") + "|";
        return out + pronounLabel(s);
    };
    EXPECT_EQ(menu("M", ""),
              "Pronouns: he|Pronouns: she|Pronouns: they|Pronouns: from the enrolment (he)*|"
              "Pronouns: he");
    EXPECT_EQ(menu("X", "S"),
              "Pronouns: he|Pronouns: she*|Pronouns: they|Pronouns: from the enrolment (they)|"
              "Pronouns: she");
    EXPECT_EQ(menu("", "?"),
              "Pronouns: he|Pronouns: she|Pronouns: they|Pronouns: from the enrolment (she)*|"
              "Pronouns: she");
}

}  // namespace
}  // namespace tl::test
