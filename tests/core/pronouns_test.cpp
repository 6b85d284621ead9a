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
    useDictionary(phrases, knows);
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

// The dictionary is asked only when a they-student's comments are composed,
// once per phrase; a they-form made stays as it was made.
TEST(TheyForms, AreMadeWithTheDictionaryWhenFirstNeeded) {
    int asked = 0;
    std::set<std::string> known = {"watch"};
    std::vector<Phrase> phrases{{"0001", "@ watches.", ""}, {"0002", "@ fixes it.", ""}};
    useDictionary(phrases, [&](std::string_view word) {
        ++asked;
        return known.contains(std::string(word));
    });
    StudentRecord s = makeStudent("ENG2D1-01", "Ng", "Sam");
    s.comments = {"0002", "0001", "", "", ""};
    composeComments(s, phrases);  // she: no they-form needed
    EXPECT_EQ(asked, 0);
    s.gender = "X";
    EXPECT_EQ(composeComments(s, phrases).texts[1], "They watch. ");
    const int once = asked;
    EXPECT_GT(once, 0);
    composeComments(s, phrases);
    EXPECT_EQ(asked, once);
    // Made for the whole library, then the dictionary learns a word that
    // would change a they-form: the one made stays.
    prepareTheyForms(phrases);
    const std::string made = theyForm(phrases[1]);
    known.insert("fix");
    EXPECT_NE(agreeWithThey("@ fixes it", *phrases[1].dictionary).text, made);
    EXPECT_EQ(theyForm(phrases[1]), made);
    EXPECT_EQ(theyForm(phrases[0]), "@ watch");
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
