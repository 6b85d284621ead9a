// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/class_document.h"

#include "core/class_file.h"
#include "core/limits.h"
#include "core/sorting.h"

namespace tl {

namespace {

constexpr std::size_t kSkills = 6;

void setFields(FieldSet& cells, int first, std::size_t count, auto differs) {
    for (std::size_t k = 0; k < count; ++k)
        cells[static_cast<std::size_t>(first) + k] = differs(k);
}

FieldSet changedRangeFields(const InitialValueRange& before, const InitialValueRange& after) {
    FieldSet cells;
    cells[field::kMark] = before.lowMark != after.lowMark || before.highMark != after.highMark;
    setFields(cells, field::kFirstComment, before.codes.size(),
              [&](std::size_t k) { return before.codes[k] != after.codes[k]; });
    setFields(cells, field::kFirstSkill, before.skills.size(),
              [&](std::size_t k) { return before.skills[k] != after.skills[k]; });
    return cells;
}

}  // namespace

Edit Edit::wholeClass() {
    Edit edit;
    edit.scope = Scope::Class;
    edit.cells.set();
    return edit;
}

Edit Edit::rangeTable() {
    Edit edit;
    edit.scope = Scope::RangeTable;
    edit.cells.set();
    return edit;
}

FieldSet changedFields(const StudentRecord& before, const StudentRecord& after) {
    FieldSet cells;
    cells[field::kMark] = before.mark != after.mark;
    setFields(cells, field::kFirstComment, before.comments.size(),
              [&](std::size_t k) { return before.comments[k] != after.comments[k]; });
    setFields(cells, field::kFirstSkill, before.skills.size(),
              [&](std::size_t k) { return before.skills[k] != after.skills[k]; });
    const Flag flags[] = {Flag::Iep, Flag::Esl, Flag::Eld, Flag::Interview};
    setFields(cells, field::kFirstFlag, 4, [&](std::size_t k) {
        return flagValue(before, flags[k]) != flagValue(after, flags[k]);
    });
    cells[field::kPronouns] = before.pronouns != after.pronouns || before.gender != after.gender;
    cells[field::kFreeForm] =
        before.freeFormUsed != after.freeFormUsed || before.freeFormText != after.freeFormText;
    return cells;
}

bool ClassDocument::hasUnsavedChanges() const {
    return !students_.empty() && changes_ != saved_;
}

void ClassDocument::markSaved() {
    saved_ = changes_;
}

void ClassDocument::countIfChanged(const std::vector<StudentRecord>& before) {
    if (classFileTextDiffers(before, students_)) ++changes_;
}

Edit ClassDocument::replaceClass(std::vector<StudentRecord> students) {
    students_ = std::move(students);
    undo_.clear();
    ++changes_;
    // What was opened or built is on disk or can be built again.
    saved_ = changes_;
    return Edit::wholeClass();
}

Edit ClassDocument::restoreClass(std::vector<StudentRecord> students) {
    Edit edit = replaceClass(std::move(students));
    ++changes_;
    return edit;
}

Edit ClassDocument::reorder(void (*sort)(std::vector<StudentRecord>&)) {
    const std::vector<StudentRecord> before = students_;
    sort(students_);
    // An entry knows its student by position.
    undo_.clear();
    countIfChanged(before);
    return Edit::wholeClass();
}

Edit ClassDocument::updateFromEnrolment(const std::string& masterPath, std::time_t now,
                                        std::size_t listCapacity, ReconcileResult& report) {
    const std::vector<StudentRecord> before = students_;
    report = reconcileWithMaster(students_, masterPath, now, listCapacity, listCapacity);
    if (report.refused) return {};
    // The file's order becomes the names' order; the dropped students are
    // listed in that order too, whatever order the class was in.
    sortByName(students_);
    sortByName(report.dropped);
    undo_.clear();
    countIfChanged(before);
    return Edit::wholeClass();
}

Edit ClassDocument::recordEdit(int student, int aimed) {
    undo_.push({student, students_[static_cast<std::size_t>(student)], {}});
    ++changes_;
    Edit edit;
    edit.scope = Edit::Scope::Students;
    edit.items = {student};
    edit.aimed = aimed;
    edit.undoAdded = true;
    return edit;
}

Edit ClassDocument::enterMark(int student, const std::string& mark, bool autoFill) {
    if (!isStudent(student) || mark.empty()) return {};
    StudentRecord& record = students_[static_cast<std::size_t>(student)];
    const StudentRecord before = record;
    Edit edit = recordEdit(student, field::kMark);
    record.mark = mark;
    if (autoFill) edit.filled = autoFillStudent(record, ranges_);
    edit.cells = changedFields(before, record);
    return edit;
}

Edit ClassDocument::stampComment(int student, std::size_t slot, const std::string& code) {
    if (!isStudent(student)) return {};
    StudentRecord& record = students_[static_cast<std::size_t>(student)];
    // A free-form student's cells show words, not codes.
    if (slot >= record.comments.size() || record.freeFormUsed) return {};
    const StudentRecord before = record;
    Edit edit =
        recordEdit(student, code.empty() ? -1 : field::kFirstComment + static_cast<int>(slot));
    if (!code.empty()) stampCode(record.comments, slot, code);
    edit.cells = changedFields(before, record);
    return edit;
}

Edit ClassDocument::choosePronouns(int student, std::optional<PronounSet> choice) {
    if (!isStudent(student)) return {};
    StudentRecord& record = students_[static_cast<std::size_t>(student)];
    std::string kept = storedPronounChoice(record, choice);
    if (kept == record.pronouns) return {};
    Edit edit = recordEdit(student, field::kPronouns);
    record.pronouns = std::move(kept);
    edit.cells[field::kPronouns] = true;
    return edit;
}

Edit ClassDocument::clickSkill(int student, std::size_t skill, bool leftButton) {
    if (!isStudent(student) || skill >= kSkills) return {};
    auto& skills = students_[static_cast<std::size_t>(student)].skills;
    const std::string before = skills[skill];
    Edit edit = recordEdit(student, field::kFirstSkill + static_cast<int>(skill));
    cycleSkill(skills, skill, leftButton);
    edit.cells[static_cast<std::size_t>(edit.aimed)] = skills[skill] != before;
    return edit;
}

Edit ClassDocument::setSkill(int student, std::size_t skill, const std::string& value) {
    if (!isStudent(student) || !isSkillValue(value) || skill >= kSkills) return {};
    auto& skills = students_[static_cast<std::size_t>(student)].skills;
    Edit edit = recordEdit(student, field::kFirstSkill + static_cast<int>(skill));
    edit.cells[static_cast<std::size_t>(edit.aimed)] = skills[skill] != value;
    skills[skill] = value;
    return edit;
}

Edit ClassDocument::clickFlag(int student, Flag flag) {
    if (!isStudent(student)) return {};
    StudentRecord& record = students_[static_cast<std::size_t>(student)];
    const StudentRecord before = record;
    Edit edit = recordEdit(student, field::kFirstFlag + static_cast<int>(flag));
    toggleFlag(record, flag);
    edit.cells = changedFields(before, record);
    return edit;
}

Edit ClassDocument::setFlagColumn(Flag flag, bool on) {
    if (students_.empty()) return {};
    const std::vector<StudentRecord> before = students_;
    setFlagForAll(students_, flag, on);
    ++changes_;
    Edit edit;
    edit.scope = Edit::Scope::Students;
    for (std::size_t i = 0; i < students_.size(); ++i) {
        edit.items.push_back(static_cast<int>(i));
        edit.cells |= changedFields(before[i], students_[i]);
    }
    return edit;
}

Edit ClassDocument::takeFreeFormDraft(int student, std::string_view draft,
                                      std::string_view original, FreeFormEdit& outcome) {
    outcome = FreeFormEdit::None;
    if (!isStudent(student)) return {};
    StudentRecord& record = students_[static_cast<std::size_t>(student)];
    StudentRecord after = record;
    const FreeFormOutcome applied = applyFreeFormDraft(after, draft, original);
    if (applied == FreeFormOutcome::Unchanged) {
        outcome = FreeFormEdit::Unchanged;
        return {};
    }
    if (after == record) return {};
    // Removing a free-form comment can be taken back; a new text cannot.
    Edit edit;
    if (applied == FreeFormOutcome::Restored) {
        edit = recordEdit(student, field::kFreeForm);
        outcome = FreeFormEdit::Removed;
    } else {
        ++changes_;
        edit.scope = Edit::Scope::Students;
        edit.items = {student};
        edit.aimed = field::kFreeForm;
        outcome = FreeFormEdit::Replaced;
    }
    edit.cells = changedFields(record, after);
    record = std::move(after);
    return edit;
}

Edit ClassDocument::importMarks(const std::vector<MarkForStudent>& marks, bool autoFill) {
    UndoEntry entry;
    Edit edit;
    std::vector<bool> done(students_.size(), false);
    for (const MarkForStudent& m : marks) {
        if (!isStudent(m.student) || m.mark.empty()) continue;
        const auto s = static_cast<std::size_t>(m.student);
        StudentRecord& record = students_[s];
        // A student's first mark is the one; a later one for the same student is not.
        if (done[s]) continue;
        done[s] = true;
        if (record.mark == m.mark) continue;
        if (edit.items.empty()) {
            entry.studentIndex = m.student;
            entry.record = record;
        } else {
            entry.others.emplace_back(m.student, record);
        }
        const StudentRecord before = record;
        record.mark = m.mark;
        edit.filledEach.push_back(autoFill ? autoFillStudent(record, ranges_) : AutoFillChange{});
        edit.items.push_back(m.student);
        edit.cells |= changedFields(before, record);
    }
    if (edit.items.empty()) return {};
    undo_.push(std::move(entry));
    ++changes_;
    edit.scope = Edit::Scope::Students;
    edit.aimed = field::kMark;
    if (edit.items.size() == 1) edit.filled = edit.filledEach.front();
    edit.undoAdded = true;
    return edit;
}

Edit ClassDocument::undo() {
    if (undo_.empty()) return {};
    UndoEntry entry = undo_.pop();
    Edit edit;
    edit.undoTaken = true;
    entry.others.emplace(entry.others.begin(), entry.studentIndex, std::move(entry.record));
    for (auto& [index, before] : entry.others) {
        if (!isStudent(index)) continue;
        StudentRecord& record = students_[static_cast<std::size_t>(index)];
        edit.scope = Edit::Scope::Students;
        edit.items.push_back(index);
        edit.cells |= changedFields(record, before);
        record = std::move(before);
    }
    if (!edit.items.empty()) ++changes_;
    return edit;
}

Edit ClassDocument::replaceRanges(std::vector<InitialValueRange> ranges) {
    ranges_ = std::move(ranges);
    rangeUndo_.clear();
    return Edit::rangeTable();
}

Edit ClassDocument::splitRange(int index) {
    if (!isRange(index)) return {};
    InitialValueRange& range = ranges_[static_cast<std::size_t>(index)];
    if (range.lowMark >= range.highMark || rangeCount() >= kMaxRanges) return {};
    // Half of low + high + 1, rounded down also for the negative marks a file may hold.
    const int sum = range.lowMark + range.highMark + 1;
    const int middle = sum / 2 - (sum < 0 && sum % 2 != 0 ? 1 : 0);
    InitialValueRange lower = range;
    lower.highMark = middle - 1;
    range.lowMark = middle;
    ranges_.insert(ranges_.begin() + index + 1, std::move(lower));
    rangeUndo_.clear();
    Edit edit = Edit::rangeTable();
    edit.items = {index, index + 1};
    return edit;
}

Edit ClassDocument::deleteRange(int index) {
    // The last range has no range below it; the only range is also the last.
    if (index < 0 || index + 1 >= rangeCount()) return {};
    const int high = ranges_[static_cast<std::size_t>(index)].highMark;
    ranges_.erase(ranges_.begin() + index);
    ranges_[static_cast<std::size_t>(index)].highMark = high;
    rangeUndo_.clear();
    Edit edit = Edit::rangeTable();
    edit.items = {index};
    return edit;
}

Edit ClassDocument::recordRangeEdit(int range, int aimed) {
    rangeUndo_.push({range, ranges_[static_cast<std::size_t>(range)]});
    Edit edit;
    edit.scope = Edit::Scope::Ranges;
    edit.items = {range};
    edit.aimed = aimed;
    edit.undoAdded = true;
    return edit;
}

Edit ClassDocument::stampRangeCode(int index, std::size_t slot, const std::string& code) {
    if (!isRange(index) || slot >= 3 || code.empty()) return {};
    InitialValueRange& range = ranges_[static_cast<std::size_t>(index)];
    const InitialValueRange before = range;
    Edit edit = recordRangeEdit(index, field::kFirstComment + static_cast<int>(slot));
    stampCode(range.codes, slot, code);
    edit.cells = changedRangeFields(before, range);
    return edit;
}

Edit ClassDocument::clickRangeSkill(int index, std::size_t skill, Button button) {
    if (!isRange(index) || skill >= kSkills) return {};
    InitialValueRange& range = ranges_[static_cast<std::size_t>(index)];
    const InitialValueRange before = range;
    Edit edit = recordRangeEdit(index, field::kFirstSkill + static_cast<int>(skill));
    if (button == Button::Other) {
        std::string& value = range.skills[skill];
        if (!isSkillValue(value)) value = "3";
    } else {
        cycleSkill(range.skills, skill, button == Button::Left);
    }
    edit.cells = changedRangeFields(before, range);
    return edit;
}

Edit ClassDocument::setRangeSkill(int index, std::size_t skill, const std::string& value) {
    if (!isRange(index) || skill >= kSkills || !isSkillValue(value)) return {};
    InitialValueRange& range = ranges_[static_cast<std::size_t>(index)];
    const InitialValueRange before = range;
    Edit edit = recordRangeEdit(index, field::kFirstSkill + static_cast<int>(skill));
    range.skills[skill] = value;
    edit.cells = changedRangeFields(before, range);
    return edit;
}

Edit ClassDocument::undoRange() {
    if (rangeUndo_.empty()) return {};
    const RangeUndoEntry entry = rangeUndo_.pop();
    Edit edit;
    edit.undoTaken = true;
    if (!isRange(entry.range)) return edit;
    // Every change of the marks empties the stack, so only codes and skills differ.
    InitialValueRange& range = ranges_[static_cast<std::size_t>(entry.range)];
    const InitialValueRange before = range;
    range.codes = entry.before.codes;
    range.skills = entry.before.skills;
    edit.scope = Edit::Scope::Ranges;
    edit.items = {entry.range};
    edit.cells = changedRangeFields(before, range);
    return edit;
}

Edit ClassDocument::forgetRangeUndo() {
    Edit edit;
    edit.undoTaken = !rangeUndo_.empty();
    rangeUndo_.clear();
    return edit;
}

}  // namespace tl
