#include "core/class_document.h"

#include "core/class_file.h"
#include "core/workspace.h"

namespace tl {

namespace {

// A change is what a save would write differently.
void countIfChanged(Workspace& ws, const std::string& before) {
    if (classFileText(ws.students) != before) ++ws.classChanges;
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
    if (studentIndex < 0 || studentIndex >= ws.studentCount()) return;
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
