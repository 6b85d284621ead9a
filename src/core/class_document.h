// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <bitset>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/editing_rules.h"
#include "core/favourites_file.h"
#include "core/master_file.h"
#include "core/pronouns.h"
#include "core/student_record.h"
#include "core/undo.h"

namespace tl {

// The cells of a student an edit can concern, in the grid's order. A range
// uses the comment cells for its three codes and the skill cells.
namespace field {
inline constexpr int kMark = 0;
inline constexpr int kFirstComment = 1;  // five comment slots
inline constexpr int kFirstSkill = 6;    // six learning skills
inline constexpr int kFirstFlag = 12;    // IEP, ESL, ELD, interview
inline constexpr int kPronouns = 16;
inline constexpr int kFreeForm = 17;
inline constexpr int kCount = 18;
}  // namespace field

using FieldSet = std::bitset<field::kCount>;

// What one change of the open class did, so that a window redraws exactly that.
struct Edit {
    enum class Scope {
        None,        // nothing changed
        Students,    // the students in items
        Class,       // the whole class: replaced, reordered or updated
        Ranges,      // the ranges in items
        RangeTable,  // the whole table of ranges
    };
    Scope scope = Scope::None;
    std::vector<int> items;  // indices of the students or ranges changed
    FieldSet cells;          // the fields that changed in them
    int aimed = -1;          // the field the teacher acted on, or -1
    AutoFillChange filled;   // what the auto fill put in
    // For an edit of several students (an import): what the auto fill put
    // into each of items.
    std::vector<AutoFillChange> filledEach;
    bool undoAdded = false;
    bool undoTaken = false;

    // The whole class, or the whole table of ranges, as one change.
    static Edit wholeClass();
    static Edit rangeTable();

    bool concernsStudents() const { return scope == Scope::Students || scope == Scope::Class; }
    bool concernsRanges() const { return scope == Scope::Ranges || scope == Scope::RangeTable; }
    // The one student an edit of one student concerns, or -1.
    int student() const {
        return scope == Scope::Students && items.size() == 1 ? items.front() : -1;
    }
};

// The fields in which two records differ.
FieldSet changedFields(const StudentRecord& before, const StudentRecord& after);

// A mark for a student of the class, as an import sets it.
struct MarkForStudent {
    int student = 0;
    std::string mark;
};

enum class FreeFormEdit {
    None,       // nothing changed (an empty draft for a student without one)
    Unchanged,  // the draft is the starting text: the comment is not used
    Replaced,   // a new free-form text: a change that cannot be undone
    Removed     // back to the coded comments: one undo entry
};

// The open class and the mark ranges of the favourites file, with their undo
// stacks and the count of changes. Everything that changes them is a member
// and says what it changed; an edit of one student can be taken back until
// the table is reordered or replaced. A student or range index outside the
// table does nothing.
class ClassDocument {
  public:
    const std::vector<StudentRecord>& students() const { return students_; }
    const StudentRecord& student(int index) const {
        return students_[static_cast<std::size_t>(index)];
    }
    int studentCount() const { return static_cast<int>(students_.size()); }
    bool isStudent(int index) const { return index >= 0 && index < studentCount(); }
    const std::vector<InitialValueRange>& ranges() const { return ranges_; }
    int rangeCount() const { return static_cast<int>(ranges_.size()); }
    bool canUndo() const { return !undo_.empty(); }
    int undoCount() const { return undo_.count(); }
    bool canUndoRange() const { return !rangeUndo_.empty(); }

    // Changes of the class so far; a save holds those up to markSaved.
    std::uint64_t changes() const { return changes_; }
    // A class is open with changes that no save holds.
    bool hasUnsavedChanges() const;
    void markSaved();

    // The whole class --------------------------------------------------------

    // A new class: built from the enrolment file or opened from a class file.
    // It is not unsaved until it changes.
    Edit replaceClass(std::vector<StudentRecord> students);
    // A class brought back from a recovery copy: unsaved until it is saved.
    Edit restoreClass(std::vector<StudentRecord> students);
    // The class in another order (the sorts). A sort that changes the file's
    // order is a change; one that leaves it as it was is not.
    Edit reorder(void (*sort)(std::vector<StudentRecord>&));
    // The class list update and the export window: the class rebuilt from the
    // enrolment file, then sorted by name; refused, it stays as it was. The
    // report says who was added and dropped, or why it was refused.
    Edit updateFromEnrolment(const std::string& masterPath, std::time_t now,
                             std::size_t listCapacity, ReconcileResult& report);

    // One student -------------------------------------------------------------

    // A typed mark, then the auto fill from the ranges when it is on: one undo
    // entry for both. An empty mark changes nothing.
    Edit enterMark(int student, const std::string& mark, bool autoFill);
    // A left click on comment slot `slot`: one undo entry, also when there is
    // no code to stamp (""). A free-form student's cells take nothing.
    Edit stampComment(int student, std::size_t slot, const std::string& code);
    // A click on learning skill `skill`: cycled by the left or the right button.
    Edit clickSkill(int student, std::size_t skill, bool leftButton);
    // A key that sets a learning skill to value ("1" to "4"): one undo entry,
    // also when the skill held that value. Any other value does nothing.
    Edit setSkill(int student, std::size_t skill, const std::string& value);
    // A click on one student's flag, free-form comment or not.
    Edit clickFlag(int student, Flag flag);
    // A flag's heading: set for everyone (on) or cleared. No undo entry, but a
    // change of the class.
    Edit setFlagColumn(Flag flag, bool on);
    // The teacher's pronoun choice (nullopt: from the enrolment). Nothing is
    // recorded when what is kept stays the same.
    Edit choosePronouns(int student, std::optional<PronounSet> choice);
    // The free-form dialog's accepted draft for a student whose dialog started
    // with `original`; outcome says what became of it.
    Edit takeFreeFormDraft(int student, std::string_view draft, std::string_view original,
                           FreeFormEdit& outcome);
    // Marks from a markbook, each set as a typed mark is (with the auto fill
    // when it is on), all taken back by one undo. A student who has the mark
    // already is left as they are; nothing to change adds no undo entry.
    Edit importMarks(const std::vector<MarkForStudent>& marks, bool autoFill);
    // Takes back the newest edit, of one student or of several.
    Edit undo();

    // The mark ranges --------------------------------------------------------

    // A new table of ranges (entered, or read from a favourites file); their
    // undo entries go with the old table.
    Edit replaceRanges(std::vector<InitialValueRange> ranges);
    // Splits a range into an upper half, which keeps its place, and a lower
    // half below it; both keep the codes and skills. A range of one mark, or a
    // table of 100 ranges, is left as it is.
    Edit splitRange(int range);
    // Merges a range into the one below, which keeps its codes and skills,
    // takes the deleted range's high mark and moves up into its place. The
    // last range, and the only one, are left as they are.
    Edit deleteRange(int range);
    // A code stamped into a range's code slot (0 to 2); "" stamps nothing.
    Edit stampRangeCode(int range, std::size_t slot, const std::string& code);
    // A click on a range's skill: left and right cycle it as in the class
    // grid; any other button only makes a value other than "1" to "4" a "3".
    enum class Button { Left, Right, Other };
    Edit clickRangeSkill(int range, std::size_t skill, Button button);
    // A key that sets a range's skill to a rating ("1" to "4").
    Edit setRangeSkill(int range, std::size_t skill, const std::string& value);
    // Takes back the newest edit of a range's codes and skills.
    Edit undoRange();
    // The range edits made so far can no longer be taken back.
    Edit forgetRangeUndo();

  private:
    struct RangeUndoEntry {
        int range = 0;
        InitialValueRange before;
    };

    bool isRange(int index) const { return index >= 0 && index < rangeCount(); }
    // Before an edit of a student: the record as it was goes on the undo stack.
    Edit recordEdit(int student, int aimed);
    Edit recordRangeEdit(int range, int aimed);
    // A change is what a save would write differently than for before.
    void countIfChanged(const std::vector<StudentRecord>& before);

    std::vector<StudentRecord> students_;
    UndoStack undo_;
    std::vector<InitialValueRange> ranges_;
    BoundedUndo<RangeUndoEntry> rangeUndo_;
    std::uint64_t changes_ = 0;
    std::uint64_t saved_ = 0;
};

}  // namespace tl
