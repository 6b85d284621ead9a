// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <deque>
#include <utility>
#include <vector>

#include "core/limits.h"
#include "core/student_record.h"

namespace tl {

// Undo entries, newest first. Holds at most 500 entries: a further push drops
// the oldest, so that an edit is never refused.
template <typename Entry>
class BoundedUndo {
  public:
    static constexpr int kCapacity = kMaxUndo;

    void push(Entry entry) {
        if (entries_.size() >= static_cast<std::size_t>(kCapacity)) entries_.pop_front();
        entries_.push_back(std::move(entry));
    }
    // Takes the newest entry; the stack must not be empty.
    Entry pop() {
        Entry entry = std::move(entries_.back());
        entries_.pop_back();
        return entry;
    }
    void clear() { entries_.clear(); }
    int count() const { return static_cast<int>(entries_.size()); }
    bool empty() const { return entries_.empty(); }

  private:
    std::deque<Entry> entries_;
};

// A copy of one student's record as it was before an edit, and where it stood.
// An edit of several students (an import) keeps the others' copies with it,
// so that they are taken back together.
struct UndoEntry {
    int studentIndex = 0;
    StudentRecord record;
    std::vector<std::pair<int, StudentRecord>> others;
};

// Whole-record undo of the open class.
using UndoStack = BoundedUndo<UndoEntry>;

}  // namespace tl
