// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/class_document.h"

#include "core/class_file.h"
#include "core/workspace.h"

namespace tl {

namespace {

// A change is what a save would write differently.
void countIfChanged(Workspace& ws, const std::string& before) {
    if (classFileText(ws.students) != before) ++ws.classChanges;
}

bool isStudent(const Workspace& ws, int studentIndex) {
    return studentIndex >= 0 && studentIndex < ws.studentCount();
}

}  // namespace

void replaceClass(Workspace& ws, std::vector<StudentRecord> students) {
    ws.students = std::move(students);
    ws.undo.clear();
    ++ws.classChanges;
    // What was opened or built is on disk or can be built again.
    ws.savedChanges = ws.classChanges;
}

void restoreClass(Workspace& ws, std::vector<StudentRecord> students) {
    replaceClass(ws, std::move(students));
    ++ws.classChanges;
}

void reorderClass(Workspace& ws, void (*sort)(std::vector<StudentRecord>&)) {
    const std::string before = classFileText(ws.students);
    sort(ws.students);
    // An entry knows its student by position.
    ws.undo.clear();
    countIfChanged(ws, before);
}

ReconcileResult reconcileClass(Workspace& ws, const std::string& masterPath, std::time_t now,
                               std::size_t listCapacity) {
    const std::string before = classFileText(ws.students);
    ReconcileResult result =
        reconcileWithMaster(ws.students, masterPath, now, listCapacity, listCapacity);
    if (!result.refused) {
        ws.undo.clear();
        countIfChanged(ws, before);
    }
    return result;
}

void recordEdit(Workspace& ws, int studentIndex) {
    if (!isStudent(ws, studentIndex)) return;
    ws.undo.push({studentIndex, ws.students[studentIndex]});
    ++ws.classChanges;
}

int undoEdit(Workspace& ws) {
    if (ws.undo.empty()) return -1;
    const UndoEntry entry = ws.undo.pop();
    if (entry.studentIndex < 0 || entry.studentIndex >= ws.studentCount()) return -1;
    ws.students[entry.studentIndex] = entry.record;
    ++ws.classChanges;
    return entry.studentIndex;
}

std::optional<AutoFillChange> enterMark(Workspace& ws, int studentIndex, const std::string& mark,
                                        bool autoFill) {
    if (!isStudent(ws, studentIndex) || mark.empty()) return std::nullopt;
    recordEdit(ws, studentIndex);
    StudentRecord& student = ws.students[studentIndex];
    student.mark = mark;
    return autoFill ? autoFillStudent(student, ws.initialValues) : AutoFillChange{};
}

bool stampComment(Workspace& ws, int studentIndex, std::size_t slot, const std::string& code) {
    if (!isStudent(ws, studentIndex)) return false;
    StudentRecord& student = ws.students[studentIndex];
    // A free-form student's cells show words, not codes.
    if (slot >= student.comments.size() || student.freeFormUsed) return false;
    recordEdit(ws, studentIndex);
    if (!code.empty()) stampCode(student.comments, slot, code);
    return true;
}

bool choosePronouns(Workspace& ws, int studentIndex, std::optional<PronounSet> choice) {
    if (!isStudent(ws, studentIndex)) return false;
    StudentRecord& student = ws.students[studentIndex];
    std::string kept = storedPronounChoice(student, choice);
    if (kept == student.pronouns) return false;
    recordEdit(ws, studentIndex);
    student.pronouns = std::move(kept);
    return true;
}

bool clickSkill(Workspace& ws, int studentIndex, std::size_t skill, bool leftButton) {
    if (!isStudent(ws, studentIndex)) return false;
    auto& skills = ws.students[studentIndex].skills;
    if (skill >= skills.size()) return false;
    recordEdit(ws, studentIndex);
    cycleSkill(skills, skill, leftButton);
    return true;
}

bool setSkill(Workspace& ws, int studentIndex, std::size_t skill, const std::string& value) {
    if (!isStudent(ws, studentIndex) || !isSkillValue(value)) return false;
    auto& skills = ws.students[studentIndex].skills;
    if (skill >= skills.size()) return false;
    recordEdit(ws, studentIndex);
    skills[skill] = value;
    return true;
}

bool clickFlag(Workspace& ws, int studentIndex, Flag flag) {
    if (!isStudent(ws, studentIndex)) return false;
    recordEdit(ws, studentIndex);
    toggleFlag(ws.students[studentIndex], flag);
    return true;
}

void setFlagColumn(Workspace& ws, Flag flag, bool on) {
    if (ws.students.empty()) return;
    setFlagForAll(ws.students, flag, on);
    noteChange(ws);
}

FreeFormEdit takeFreeFormDraft(Workspace& ws, int studentIndex, std::string_view draft,
                               std::string_view original) {
    if (!isStudent(ws, studentIndex)) return FreeFormEdit::None;
    StudentRecord& student = ws.students[studentIndex];
    StudentRecord after = student;
    const FreeFormOutcome outcome = applyFreeFormDraft(after, draft, original);
    if (outcome == FreeFormOutcome::Unchanged) return FreeFormEdit::Unchanged;
    if (after == student) return FreeFormEdit::None;
    // Removing a free-form comment can be taken back; a new text cannot.
    if (outcome == FreeFormOutcome::Restored) {
        recordEdit(ws, studentIndex);
    } else {
        noteChange(ws);
    }
    student = std::move(after);
    return outcome == FreeFormOutcome::Restored ? FreeFormEdit::Removed : FreeFormEdit::Replaced;
}

void noteChange(Workspace& ws) {
    ++ws.classChanges;
}

void markSaved(Workspace& ws) {
    ws.savedChanges = ws.classChanges;
}

bool hasUnsavedChanges(const Workspace& ws) {
    return !ws.students.empty() && ws.classChanges != ws.savedChanges;
}

}  // namespace tl
