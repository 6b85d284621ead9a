#include "core/class_document.h"

#include "core/workspace.h"

namespace tl {

void replaceClass(Workspace& ws, std::vector<StudentRecord> students) {
    ws.students = std::move(students);
    ws.undo.clear();
    ++ws.classChanges;
}

void reorderClass(Workspace& ws, void (*sort)(std::vector<StudentRecord>&)) {
    sort(ws.students);
    // An entry knows its student by position.
    ws.undo.clear();
    ++ws.classChanges;
}

ReconcileResult reconcileClass(Workspace& ws, const std::string& masterPath, std::time_t now,
                               std::size_t listCapacity) {
    ReconcileResult result =
        reconcileWithMaster(ws.students, masterPath, now, listCapacity, listCapacity);
    if (!result.refused) {
        ws.undo.clear();
        ++ws.classChanges;
    }
    return result;
}

void recordEdit(Workspace& ws, int studentIndex) {
    if (studentIndex < 0 || studentIndex >= ws.studentCount()) return;
    ws.undo.push(studentIndex, ws.students[studentIndex]);
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
