#pragma once

#include <ctime>
#include <string>
#include <vector>

#include "core/master_file.h"
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

// An edit and its undo count as a change of the class; so does an edit that
// cannot be undone (a free-form comment, a flag set for everyone).
void noteChange(Workspace& ws);
// The class as it is now has been saved.
void markSaved(Workspace& ws);
// A class is open with changes that no save holds.
bool hasUnsavedChanges(const Workspace& ws);

}  // namespace tl
