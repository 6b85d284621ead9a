#include "core/undo.h"

namespace tl {

void UndoStack::push(int studentIndex, const StudentRecord& record) {
    if (entries_.size() >= static_cast<std::size_t>(kMaxUndo)) entries_.pop_front();
    entries_.push_back(UndoEntry{record, studentIndex});
}

UndoEntry UndoStack::pop() {
    UndoEntry entry = std::move(entries_.back());
    entries_.pop_back();
    return entry;
}

}  // namespace tl
