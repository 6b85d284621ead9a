// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/phrase_library.h"
#include "core/student_record.h"

// The pronouns a student's comments use: he, she or they. By default they
// follow the gender; the teacher may choose another set for a student.
namespace tl {

enum class PronounSet { He, She, They };

// "M" he, "X" they, anything else she.
PronounSet defaultPronouns(const std::string& gender);
// The teacher's choice when one is kept, otherwise the default.
PronounSet pronounsOf(const StudentRecord& student);
// "he", "she" or "they".
const char* pronounWord(PronounSet set);

// The class file's column 19: "H", "S" or "T"; "" keeps the default. Any
// other text reads as the default.
std::string pronounChoiceCode(PronounSet set);
std::optional<PronounSet> pronounChoice(std::string_view code);

// What is kept for a choice: nothing when it is the default (nullopt) or the
// set the default already gives.
std::string storedPronounChoice(const StudentRecord& student, std::optional<PronounSet> choice);

// One entry of the pronoun menu.
struct PronounOption {
    std::string text;                  // "Pronouns: they"
    std::optional<PronounSet> choice;  // nullopt: from the enrolment
    bool checked = false;
};
// "Pronouns: he", "Pronouns: she", "Pronouns: they" and "Pronouns: from the
// enrolment (he)", the student's current one checked.
std::array<PronounOption, 4> pronounOptions(const StudentRecord& student);
// "Pronouns: they", for the label beside the detail panel.
std::string pronounLabel(const StudentRecord& student);

// A phrase body with every verb after "@" made to agree with "they".
struct TheyForm {
    std::string text;
    // The rules cannot vouch for it: "@" followed by no word, or a verb in
    // "s" that no candidate of the dictionary confirms.
    bool doubtful = false;
};
TheyForm agreeWithThey(std::string_view body, const KnowsWord& knows);

// The they-forms of the library are made with this dictionary from now on,
// each when first needed; none made before stays.
void useDictionary(std::vector<Phrase>& phrases, KnowsWord knows);
// A phrase's they-form, made now when it was not made yet.
const std::string& theyForm(const Phrase& phrase);
// Every they-form of the library made now.
void prepareTheyForms(const std::vector<Phrase>& phrases);

// The library check for the administrator: one line per phrase whose
// they-form needs a look (code, tab, phrase, tab, they-form), then
// "N of M phrases need a look for they/them."; Windows-1252, lines ended by LF.
std::string theyCheckReport(const std::vector<Phrase>& phrases, const KnowsWord& knows);

}  // namespace tl
