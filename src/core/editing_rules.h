// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/favourites_file.h"
#include "core/notice.h"
#include "core/phrase_library.h"
#include "core/student_record.h"

// The editing rules of the class grid and of the initial-values grid, on the
// records themselves; the windows only show what these leave.
namespace tl {

// Learning skills -----------------------------------------------------------

// The value a click gives a learning-skill value: the left button steps
// 4, 3, 2, 1, 4 and the right button 1, 2, 3, 4, 1. A value other than "1" to
// "4" counts as "3".
std::string nextSkillValue(const std::string& value, bool leftButton);

// Cycles skills[index] as a click does (a student's six skills or a range's).
void cycleSkill(std::array<std::string, 6>& skills, std::size_t index, bool leftButton);

// The value a key sets a learning skill to: 1 to 4, or N, S, G, E in either
// case (Needs Improvement, Satisfactory, Good, Excellent); "" for any other key.
std::string skillValueForKey(char key);
// True for a rating: "1" to "4".
bool isSkillValue(const std::string& value);
// A rating's word ("Good" for "3"); "" for no rating.
std::string skillWord(const std::string& value);

// True when all six skills hold "3"; an unrated skill is not taken for a 3.
bool skillsAllThree(const std::array<std::string, 6>& skills);

// Auto fill -----------------------------------------------------------------

// The numeric value of a mark for the ranges: its leading number, "I" and ""
// giving 0.
double markValue(const std::string& mark);

// The first range holding the mark, or -1.
int findAutoFillRange(const std::vector<InitialValueRange>& ranges, const std::string& mark);

// What the auto fill changed, so that the window can colour it.
struct AutoFillChange {
    bool comments = false;  // CM1 to CM3
    bool skills = false;    // all six
};

// Fills a student from the range holding the student's mark: CM1 to CM3 when
// all three slots are vacant, the skills when all six hold "3".
AutoFillChange autoFillStudent(StudentRecord& student,
                               const std::vector<InitialValueRange>& ranges);

// Comment codes -------------------------------------------------------------

// Puts code into slots[slot]. A code that stands in another slot of the row
// moves here instead of appearing twice; a separator is put as it is.
void stampCode(std::span<std::string> slots, std::size_t slot, const std::string& code);

// What a right click on a comment slot picks up.
struct PickUp {
    enum class Kind {
        NoComment,  // the slot holds no comment: the list's "no comment" entry
        Favourite,  // the slot's code is in the favourites list, at favouriteIndex
        Picked      // a code the list lacks is picked up itself
    };
    Kind kind = Kind::NoComment;
    int favouriteIndex = -1;
    std::string code;
};
PickUp pickUpCode(const std::string& slotCode, const std::vector<std::string>& favourites);

// The code typed into a comment cell's code editor: its digits, fewer than four
// padded with leading zeros as codes are held ("12" is 0012), five for a
// five-digit code. Stamped only when the phrase library holds it; otherwise
// the refusal says so. An empty text gives neither.
struct TypedCode {
    std::string code;
    Failure refusal;
};
TypedCode typedCommentCode(std::string_view typed, const std::vector<Phrase>& phrases);

// Flags ---------------------------------------------------------------------

enum class Flag { Iep, Esl, Eld, Interview };

const std::string& flagValue(const StudentRecord& student, Flag flag);

// A click on a flag: set ("Y") when it holds nothing, cleared otherwise. ESL
// and ELD exclude each other: a click on one clears the other.
void toggleFlag(StudentRecord& student, Flag flag);

// A click on a flag's heading sets it for everyone (on) or clears it; setting
// ESL or ELD clears the other for everyone.
void setFlagForAll(std::vector<StudentRecord>& students, Flag flag, bool on);

// Free-form comments --------------------------------------------------------

// The text the free-form dialog starts with: the free-form comment, or the
// composed coded comments.
std::string freeFormOriginal(const StudentRecord& student, const std::vector<Phrase>& phrases);

enum class FreeFormOutcome {
    Unchanged,  // the draft is the original: nothing changes
    Replaced,   // the student now has the cleaned draft as free-form comment
    Restored    // an empty draft: the student has the coded comments again
};

// Applies the dialog's draft to the student.
FreeFormOutcome applyFreeFormDraft(StudentRecord& student, std::string_view draft,
                                   std::string_view original);

}  // namespace tl
