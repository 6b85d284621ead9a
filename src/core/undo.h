#pragma once

#include <deque>

#include "core/limits.h"
#include "core/student_record.h"

namespace tl {

// A copy of one student's record as it was before an edit, and where it stood.
struct UndoEntry {
    StudentRecord record;
    int studentIndex = 0;
};

// Whole-record undo, newest first. Holds at most 500 entries: a further push
// drops the oldest, so that an edit is never refused.
class UndoStack {
  public:
    void push(int studentIndex, const StudentRecord& record);
    // Takes the newest entry; the stack must not be empty.
    UndoEntry pop();
    void clear() { entries_.clear(); }
    int count() const { return static_cast<int>(entries_.size()); }
    bool empty() const { return entries_.empty(); }

  private:
    std::deque<UndoEntry> entries_;
};

}  // namespace tl
