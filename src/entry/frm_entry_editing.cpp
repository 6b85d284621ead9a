// SPDX-License-Identifier: GPL-3.0-or-later

// Editing the class in the main window's grid: the mark editor, the auto
// fill, learning skills, flags, stamping comment codes, the skills view and
// free-form comments.
#include <QActionGroup>
#include <QCheckBox>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>

#include "core/class_document.h"
#include "core/editing_rules.h"
#include "core/messages.h"
#include "core/workspace.h"
#include "entry/entry_widgets.h"
#include "entry/frm_entry.h"
#include "entry/frm_free_form_comment_entry.h"
#include "entry/grid_columns.h"
#include "entry/grid_rules.h"
#include "favourites/stamp_palette.h"
#include "platform/encoding.h"
#include "platform/flex_grid.h"
#include "platform/locations.h"
#include "platform/prompts.h"
#include "platform/spelling.h"

namespace tl {

void frmEntry::buildEditing() {
    palette_ = new StampPalette(lstFavourites, msfgClass, ws_.favourites);
    txtDataEntry = new MarkEditor(msfgClass);
    connect(txtDataEntry, &MarkEditor::committed, this, &frmEntry::commitMarkEntry);

    connect(msfgClass, &FlexGrid::keyPress, this, &frmEntry::msfgClass_KeyPress);
    connect(msfgClass, &FlexGrid::mouseUp, this, &frmEntry::msfgClass_MouseUp);
    connect(msfgClass, &FlexGrid::click, this, &frmEntry::msfgClass_Click);
    connect(msfgClass, &FlexGrid::mouseMove, this, &frmEntry::msfgClass_MouseMove);
    connect(lstFavourites, &QListWidget::itemClicked, this, &frmEntry::lstFavourites_Click);
    connect(lstFavourites, &QListWidget::currentRowChanged, this, [this](int row) {
        // Emptying the list to refill it is no click: a picked code stays.
        if (row >= 0) lstFavourites_Click();
    });
    CommentKeys keys;
    keys.firstCol = grid::kFirstComment;
    keys.count = grid::kCommentCount;
    keys.stamp = [this](int r, int c, const QString& code) { stampCell(r, c, code); };
    keys.pickUp = [this](int r, int c) { pickUp(r, c); };
    keys.takesCodes = [this](int r) {
        return r >= 1 && r <= ws_.studentCount() && !ws_.doc.student(r - 1).freeFormUsed;
    };
    keys.tell = [this](const Notice& notice) { showStatus(toQString(notice.text)); };
    palette_->takeKeys(ws_.phrases, std::move(keys));
    msfgClass->installEventFilter(this);
    cmdSwitch->setEnabled(true);
}

bool frmEntry::msfgClass_KeyDown(const QKeyEvent* key) {
    const int r = msfgClass->row();
    const int c = msfgClass->col();
    if (r < 1 || r > ws_.studentCount() || msfgClass->colWidth(c) == 0) return false;
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    const bool space = key->key() == Qt::Key_Space;
    if (grid::isSkill(c)) {
        // Space steps as the left button, Shift+Space as the right; a rating's
        // digit or letter sets it.
        if (space && (modifiers == Qt::NoModifier || modifiers == Qt::ShiftModifier)) {
            apply(ws_.doc.clickSkill(r - 1, grid::skillIndex(c), modifiers == Qt::NoModifier));
            return true;
        }
        const QString text = key->text();
        if ((modifiers & (Qt::ControlModifier | Qt::AltModifier)) != 0 || text.size() != 1)
            return false;
        const std::string value = skillValueForKey(text[0].toLatin1());
        if (value.empty()) return false;
        apply(ws_.doc.setSkill(r - 1, grid::skillIndex(c), value));
        return true;
    }
    // The Menu key or Shift+F10 on the mark: the student's pronoun menu.
    if (c == grid::kMark && ((key->key() == Qt::Key_Menu && modifiers == Qt::NoModifier) ||
                             (key->key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier))) {
        showPronounMenu(r, msfgClass->mapToGlobal(msfgClass->cellGeometry(r, c).bottomLeft()));
        return true;
    }
    if (grid::isFlag(c) && space) {
        // Space as a click on the flag; Ctrl+Shift+Space and Ctrl+Space as the
        // right and left button on its heading.
        if (modifiers == Qt::NoModifier) {
            toggleFlagCell(r, c);
        } else if (modifiers == (Qt::ControlModifier | Qt::ShiftModifier)) {
            flagColumnSet(c, true);
        } else if (modifiers == Qt::ControlModifier) {
            flagColumnSet(c, false);
        } else {
            return false;
        }
        return true;
    }
    return false;
}

void frmEntry::flagColumnSet(int c, bool on) {
    apply(ws_.doc.setFlagColumn(grid::flagAt(c), on));
}

bool frmEntry::commentsView() const {
    return !skillsView_;
}

void frmEntry::msfgClass_KeyPress(int charCode) {
    if (ws_.studentCount() < 1 || msfgClass->row() < 1 || msfgClass->col() != grid::kMark) return;
    QString text = toQString(markEditorOpening(charCode));
    if (charCode == 13) {
        text.clear();
        if (leaveCellEnabled) msfgClass_LeaveCell();
    }
    txtDataEntry->open(msfgClass->cellGeometry(msfgClass->row(), grid::kMark), text);
}

void frmEntry::commitMarkEntry() {
    if (txtDataEntry->isHidden()) return;
    const int r = msfgClass->row();
    apply(ws_.doc.enterMark(r - 1, fromQString(txtDataEntry->text()), optAutoFill->isChecked()));
    txtDataEntry->hide();
    const int next = r >= msfgClass->rows() - 1 ? 1 : r + 1;
    msfgClass->setCurrentCell(next, grid::kMark);
    msfgClass->setFocus();
}

void frmEntry::msfgClass_MouseUp(Qt::MouseButton button, int x, int y) {
    if (ws_.studentCount() < 1) return;
    const int r = msfgClass->mouseRow();
    const int c = msfgClass->mouseCol();
    const bool student = r >= 1 && r <= ws_.studentCount();
    if (student && c >= 0 && c < grid::kFrozenColumns) {
        // A click on a student's name or number makes that student current,
        // as a click on the MRK cell does, so the next mark goes to them; the
        // right button then offers the student's pronouns.
        msfgClass->setCurrentCell(r, grid::kMark);
        if (button == Qt::RightButton) showPronounMenu(r, msfgClass->mapToGlobal(QPoint(x, y)));
        return;
    }
    if (grid::isSkill(c) && (button == Qt::LeftButton || button == Qt::RightButton)) {
        apply(ws_.doc.clickSkill(r - 1, grid::skillIndex(c), button == Qt::LeftButton));
    } else if (r == 0 && grid::isFlag(c)) {
        flagColumnSet(c, button == Qt::RightButton);
    } else if (student && grid::isComment(c) && button == Qt::RightButton &&
               !ws_.doc.student(r - 1).freeFormUsed) {
        pickUp(r, c);
    }
}

void frmEntry::showPronounMenu(int r, const QPoint& where) {
    auto* menu = new QMenu(this);
    menu->setObjectName("mnuPronouns");
    menu->setAttribute(Qt::WA_DeleteOnClose);
    auto* group = new QActionGroup(menu);
    const int s = r - 1;
    for (const PronounOption& option : pronounOptions(ws_.doc.student(s))) {
        // An access key for each: he, she, they, enrolment.
        QString text = toQString(option.text);
        text.insert(option.choice ? text.indexOf(": ") + 2 : text.indexOf("enrolment"), '&');
        QAction* action = menu->addAction(text);
        action->setCheckable(true);
        action->setChecked(option.checked);
        group->addAction(action);
        const std::optional<PronounSet> choice = option.choice;
        connect(action, &QAction::triggered, this,
                [this, s, choice] { apply(ws_.doc.choosePronouns(s, choice)); });
    }
    menu->popup(where);
}

QString frmEntry::codeToStamp() const {
    return palette_->codeToStamp();
}

void frmEntry::cancelPickedCode() {
    palette_->cancelPickedCode(StampPalette::Cancel::InPlace);
}

void frmEntry::pickUp(int r, int c) {
    palette_->pickUp(r, c, ws_.doc.student(r - 1).comments[grid::commentSlot(c)],
                     StampPalette::Cancel::InPlace);
    msfgClass->setCurrentCell(r, c);
    msfgClass->setCellForeColor(r, c, Qt::black);
}

void frmEntry::msfgClass_Click() {
    const int r = msfgClass->mouseRow();
    const int c = msfgClass->mouseCol();
    if (grid::isFlag(c)) {
        toggleFlagCell(r, c);
    } else if (grid::isComment(c)) {
        stampCell(r, c, codeToStamp());
    }
}

void frmEntry::toggleFlagCell(int r, int c) {
    apply(ws_.doc.clickFlag(r - 1, grid::flagAt(c)));
}

void frmEntry::stampCell(int r, int c, const QString& code) {
    apply(ws_.doc.stampComment(r - 1, grid::commentSlot(c), fromQString(code)));
}

GridStretch frmEntry::pointerZone() const {
    // From just inside the first comment (or skill) column to a little past the
    // last one, wherever the layout puts the columns.
    const bool comments = commentsView();
    const int first = comments ? grid::kFirstComment : grid::kFirstSkill;
    const int last = first + (comments ? grid::kCommentCount : grid::kSkillCount) - 1;
    const int left = msfgClass->colLeft(first) + 2;
    const int right = msfgClass->colLeft(last) + msfgClass->columnWidth(last) + (comments ? 10 : 6);
    return {left, right + 1};
}

void frmEntry::msfgClass_MouseMove(int x, int y) {
    Q_UNUSED(y);
    const int r = msfgClass->mouseRow();
    const int c = msfgClass->mouseCol();
    // A free-form student's comment cells take no stamp.
    const bool freeFormCell = r >= 1 && r <= ws_.studentCount() && grid::isComment(c) &&
                              ws_.doc.student(r - 1).freeFormUsed;
    const GridStretch zone = pointerZone();
    palette_->showPointer(x, commentsView() ? zone : GridStretch{},
                          commentsView() ? GridStretch{} : zone, !freeFormCell);
}

void frmEntry::lstFavourites_Click() {
    palette_->cancelPickedCode(StampPalette::Cancel::AtPickedCell);
}

void frmEntry::showLearningSkills() {
    cmdOpenFavourites->setEnabled(false);
    listPanel_->showLearningSkills();
}

void frmEntry::showView(bool skills) {
    skillsView_ = skills;
    mnuCommentsSkills->setChecked(skills);
    setGridLayout();
    if (skills) {
        showLearningSkills();
    } else {
        showFavourites();
    }
}

void frmEntry::cmdSwitch_Click() {
    showView(!skillsView_);
    msfgClass->announce(skillsView_ ? "Skills view." : "Comments view.");
}

void frmEntry::freeFormCommand() {
    const int s = msfgClass->row() - 1;
    if (ws_.studentCount() < 1 || s < 0 || s >= ws_.studentCount()) return;
    const StudentRecord& student = ws_.doc.student(s);
    const std::string original = freeFormOriginal(student, ws_.phrases);
    std::optional<std::string> draft;
    {
        frmFreeFormCommentEntry dialog(
            ws_, prompts_, this,
            SpellingFolders{locations_.dictionaryFolder, locations_.wordListFolder, dictionary_});
        dialog.setStudent(toQString(student.firstName + " " + student.lastName) + " (" +
                          msfgClass->textMatrix(s + 1, grid::kStudentId) + ")");
        dialog.setComment(toQString(original));
        if (dialog.exec() == QDialog::Accepted) draft = dialog.draft();
    }
    focusMarkCell();
    // Escape and the close box leave the student as the dialog found them.
    if (!draft) return;
    FreeFormEdit outcome = FreeFormEdit::None;
    const Edit edit = ws_.doc.takeFreeFormDraft(s, *draft, original, outcome);
    if (outcome == FreeFormEdit::Unchanged) prompts_.message(msg::freeFormUnchanged());
    apply(edit);
}

}  // namespace tl
