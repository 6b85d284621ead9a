// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/editing_rules.h"
#include "core/master_file.h"
#include "core/pronouns.h"
#include "core/student_record.h"

// The open class changes through these alone, so that undo follows one rule:
// an edit of one student can be taken back until the table is reordered or
// replaced.
namespace tl {

struct Workspace;

// A new class: built from the enrolment file or opened from a class file. It
// is not unsaved until it changes.
void replaceClass(Workspace& ws, std::vector<StudentRecord> students);

// A class brought back from a recovery copy: unsaved until it is saved.
void restoreClass(Workspace& ws, std::vector<StudentRecord> students);

// The class in another order (the sorts). A sort that changes the file's
// order is a change; one that leaves it as it was is not.
void reorderClass(Workspace& ws, void (*sort)(std::vector<StudentRecord>&));

// The class list update and the export window: the class rebuilt from the
// enrolment file; refused, it stays as it was. A change when the file's text
// changes.
ReconcileResult reconcileClass(Workspace& ws, const std::string& masterPath, std::time_t now,
                               std::size_t listCapacity);

// Before an edit of a student: the record as it was goes on the undo stack.
void recordEdit(Workspace& ws, int studentIndex);

// Takes back the newest edit: the index of the student restored, or -1.
int undoEdit(Workspace& ws);

// The edits of one student in the class grid. Each is one call: it records
// the undo entry the edit takes, changes the record and counts the change. A
// student index outside the class does nothing.

// A typed mark, then the auto fill from the initial values when it is on: one
// undo entry for both. Returns what the auto fill changed; nothing for an
// empty mark, which changes nothing.
std::optional<AutoFillChange> enterMark(Workspace& ws, int studentIndex, const std::string& mark,
                                        bool autoFill);

// A left click on comment slot `slot`: one undo entry, also when there is no
// code to stamp (""). A student with a free-form comment takes nothing and
// records nothing. True when the click was recorded.
bool stampComment(Workspace& ws, int studentIndex, std::size_t slot, const std::string& code);

// A click on learning skill `skill`: cycled by the left or the right button.
bool clickSkill(Workspace& ws, int studentIndex, std::size_t skill, bool leftButton);

// A key that sets learning skill `skill` to value ("1" to "4") directly: one
// undo entry, also when the skill held that value. Any other value does nothing.
bool setSkill(Workspace& ws, int studentIndex, std::size_t skill, const std::string& value);

// A click on one student's flag, free-form comment or not.
bool clickFlag(Workspace& ws, int studentIndex, Flag flag);

// A click on a flag's heading: set for everyone (on) or cleared. No undo
// entry, but a change of the class.
void setFlagColumn(Workspace& ws, Flag flag, bool on);

// The teacher's pronoun choice for a student (nullopt: from the enrolment).
// Nothing is recorded when what is kept stays the same: the default, or the
// set the default already gives, keeps nothing.
bool choosePronouns(Workspace& ws, int studentIndex, std::optional<PronounSet> choice);

enum class FreeFormEdit {
    None,       // nothing changed (an empty draft for a student without one)
    Unchanged,  // the draft is the starting text: the comment is not used
    Replaced,   // a new free-form text: a change that cannot be undone
    Removed     // back to the coded comments: one undo entry
};

// The free-form dialog's accepted draft for a student whose dialog started
// with `original`.
FreeFormEdit takeFreeFormDraft(Workspace& ws, int studentIndex, std::string_view draft,
                               std::string_view original);

// An edit and its undo count as a change of the class; so does an edit that
// cannot be undone (a free-form comment, a flag set for everyone).
void noteChange(Workspace& ws);
// The class as it is now has been saved.
void markSaved(Workspace& ws);
// A class is open with changes that no save holds.
bool hasUnsavedChanges(const Workspace& ws);

}  // namespace tl
