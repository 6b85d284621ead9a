// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/phrase_library.h"
#include "core/student_record.h"

// Composition of a student's comment text from the five codes.
namespace tl {

// The phrase trimmed, one pair of surrounding quotes and one final full stop removed.
std::string_view phraseBody(std::string_view text);

// Trimmed, one pair of surrounding quotes and one final full stop removed, ". " appended.
std::string cleanPhrase(std::string_view text);

// Replaces the placeholders $ @ % # * ~ for the student; true when the first
// name was inserted.
bool substitutePlaceholders(std::string_view phrase, const StudentRecord& student, bool nameAllowed,
                            std::string& result);

struct ComposedComments {
    std::array<std::string, 5> texts;
    int totalLength = 0;
};

// The five personalised comment texts of the student's CM1 to CM5.
ComposedComments composeComments(const StudentRecord& student, const std::vector<Phrase>& phrases);

// The five comments joined as composed with their placeholders left in, for
// comparing students' comments whoever they are written for: "" when no code
// is in the library.
std::string composeWithPlaceholders(const StudentRecord& student,
                                    const std::vector<Phrase>& phrases);

// The five composed comments, each after its code in brackets ("[0012] "),
// as the detail panel and the export preview show them; length counts the
// comment texts only.
struct BracketedComments {
    std::string text;
    int length = 0;
};
BracketedComments bracketedComments(const StudentRecord& student,
                                    const std::vector<Phrase>& phrases);
// The same of the student's comments composed already.
BracketedComments bracketedComments(const StudentRecord& student, const ComposedComments& composed);

// True when a composed length is above the Trillium limit of 460 characters.
bool exceedsCommentLimit(int totalLength);

struct WrappedText {
    std::array<std::string, 4> lines;
    std::string remainder;
};

// Splits text into four lines of at most width characters, broken after a
// blank, and the remainder.
WrappedText wrapText(std::string_view text, int width);

// "[code] ", or "" for a slot without a comment.
std::string bracketCode(std::string_view code);

// Every character but letters, digits, . , ; : ! ' and blank becomes a blank.
std::string sanitizeFreeForm(std::string_view text);

}  // namespace tl
