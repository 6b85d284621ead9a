// SPDX-License-Identifier: GPL-3.0-or-later

#include "favourites/stamp_palette.h"

#include <QCursor>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>

#include "core/editing_rules.h"
#include "core/limits.h"
#include "platform/encoding.h"
#include "platform/flex_grid.h"

namespace tl {

namespace {

const QColor kPickedBack(110, 150, 210);

bool isEnter(const QKeyEvent* key) {
    return key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
}

// The modifiers that change what a key means; the keypad's does not.
Qt::KeyboardModifiers chord(const QKeyEvent* key) {
    return key->modifiers() & ~Qt::KeypadModifier;
}

// A key that moves through a list's entries.
bool isListMove(const QKeyEvent* key) {
    if (chord(key) != Qt::NoModifier) return false;
    switch (key->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            return true;
        default:
            return false;
    }
}

}  // namespace

StampPalette::StampPalette(QListWidget* list, FlexGrid* grid,
                           const std::vector<std::string>& favourites)
    : QObject(grid), list_(list), grid_(grid), favourites_(favourites) {}

QString StampPalette::codeToStamp() const {
    if (!pickedCode_.isEmpty()) return pickedCode_;
    return selectedEntryCode();
}

QString StampPalette::selectedEntryCode() const {
    const QListWidgetItem* item = list_->currentItem();
    if (item == nullptr || !item->isSelected() || list_->isHidden()) return QString();
    const auto row = static_cast<std::size_t>(list_->currentRow());
    return row >= favourites_.size() ? QString(kSeparatorEntry) : toQString(favourites_[row]);
}

void StampPalette::pickUp(int row, int col, const std::string& cellCode, Cancel cancel) {
    cancelPickedCode(cancel);
    const PickUp picked = pickUpCode(cellCode, favourites_);
    switch (picked.kind) {
        case PickUp::Kind::NoComment:
            list_->setCurrentRow(list_->count() - 1);
            return;
        case PickUp::Kind::Favourite:
            list_->setCurrentRow(picked.favouriteIndex);
            return;
        case PickUp::Kind::Picked:
            list_->clearSelection();
            grid_->setCurrentCell(row, col);
            grid_->setCellBackColor(row, col, kPickedBack);
            pickedCode_ = toQString(picked.code);
            pickedRow_ = row;
            pickedCol_ = col;
            return;
    }
}

void StampPalette::cancelPickedCode(Cancel cancel) {
    if (pickedCode_.isEmpty()) return;
    if (cancel == Cancel::AtPickedCell) grid_->setCurrentCell(pickedRow_, pickedCol_);
    grid_->setCellBackColor(pickedRow_, pickedCol_, Qt::white);
    pickedCode_.clear();
    pickedRow_ = -1;
    pickedCol_ = -1;
}

void StampPalette::takeKeys(const std::vector<Phrase>& phrases, CommentKeys keys) {
    phrases_ = &phrases;
    keys_ = std::move(keys);
    codeEditor_ = new QLineEdit(grid_);
    codeEditor_->setObjectName("txtCodeEntry");
    codeEditor_->setAccessibleName("Comment code");
    codeEditor_->setFrame(false);
    codeEditor_->setMaxLength(5);
    codeEditor_->setValidator(
        new QRegularExpressionValidator(QRegularExpression("[0-9]*"), codeEditor_));
    codeEditor_->hide();
    codeEditor_->installEventFilter(this);
    grid_->installEventFilter(this);
    list_->installEventFilter(this);
    // Moving away discards what was typed, as in the mark editor.
    connect(grid_, &FlexGrid::leaveCell, this, [this] {
        if (!codeEditor_->isHidden()) closeCodeEditor();
    });
    // Choosing an entry with the keyboard ends a picked code as a click does.
    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && list_->hasFocus()) cancelPickedCode(Cancel::AtPickedCell);
    });
}

bool StampPalette::isCommentCell(int row, int col) const {
    return row >= 1 && row < grid_->rows() && col >= keys_.firstCol &&
           col < keys_.firstCol + keys_.count && grid_->colWidth(col) > 0;
}

bool StampPalette::takesCodes(int row) const {
    return !keys_.takesCodes || keys_.takesCodes(row);
}

bool StampPalette::eventFilter(QObject* watched, QEvent* event) {
    // Tab or a click elsewhere leaves the code editor: what was typed is dropped.
    if (watched == codeEditor_ && event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            closeCodeEditor();
        return false;
    }
    // The list's first focus makes its first entry current, which is no choice
    // of the teacher's: a picked code stays picked.
    if (watched == list_ && event->type() == QEvent::FocusIn && !pickedCode_.isEmpty() &&
        list_->currentItem() == nullptr && list_->count() > 0) {
        const QSignalBlocker quiet(list_);
        list_->setCurrentRow(0, QItemSelectionModel::NoUpdate);
        return false;
    }
    const bool override = event->type() == QEvent::ShortcutOverride;
    if (!override && event->type() != QEvent::KeyPress) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const bool escape = key->key() == Qt::Key_Escape && chord(key) == Qt::NoModifier;
    if (watched == grid_) {
        // Escape ends a picked code before the window sees it.
        if (override) {
            if (!escape || pickedCode_.isEmpty()) return false;
            event->accept();
            return true;
        }
        return gridKey(key);
    }
    if (watched == list_ || watched == codeEditor_) {
        if (override) {
            if (!escape && !(watched == codeEditor_ && isEnter(key))) return false;
            event->accept();
            return true;
        }
        if (watched == list_ && !override && pickedCode_.isEmpty() && isListMove(key)) {
            // The entry the keyboard's frame is on counts as chosen before an
            // arrow moves on from it, so Up or Home on it chooses it too.
            if (QListWidgetItem* current = list_->currentItem()) current->setSelected(true);
            return false;
        }
        if (escape && watched == list_) {
            // A picked code ends first; then Escape goes back to the grid.
            if (pickedCode_.isEmpty()) {
                grid_->setFocus(Qt::ShortcutFocusReason);
            } else {
                cancelPickedCode(Cancel::InPlace);
            }
            return true;
        }
        if (watched == codeEditor_ && (escape || isEnter(key))) {
            if (escape) {
                closeCodeEditor();
            } else {
                commitTypedCode();
            }
            return true;
        }
    }
    return false;
}

bool StampPalette::gridKey(const QKeyEvent* key) {
    const Qt::KeyboardModifiers modifiers = chord(key);
    if (key->key() == Qt::Key_Escape && modifiers == Qt::NoModifier && !pickedCode_.isEmpty()) {
        cancelPickedCode(Cancel::InPlace);
        return true;
    }
    if (key->key() == Qt::Key_1 && modifiers == Qt::AltModifier) {
        if (!list_->isHidden()) list_->setFocus(Qt::ShortcutFocusReason);
        return true;
    }
    const int row = grid_->row();
    const int col = grid_->col();
    if (!isCommentCell(row, col)) return false;
    const bool plain = modifiers == Qt::NoModifier;
    if (plain && (key->key() == Qt::Key_Space || isEnter(key))) {
        keys_.stamp(row, col, codeToStamp());
        // Enter goes on down the column, student after student.
        if (isEnter(key) && row + 1 < grid_->rows()) grid_->setCurrentCell(row + 1, col);
        return true;
    }
    if (plain && key->key() == Qt::Key_Delete) {
        keys_.stamp(row, col, QString(kSeparatorEntry));
        return true;
    }
    if ((plain && key->key() == Qt::Key_Menu) ||
        (modifiers == Qt::ShiftModifier && key->key() == Qt::Key_F10)) {
        if (takesCodes(row)) keys_.pickUp(row, col);
        return true;
    }
    const QString text = key->text();
    if ((modifiers & (Qt::ControlModifier | Qt::AltModifier)) == 0 && text.size() == 1 &&
        text[0].isDigit() && text[0].unicode() < 128) {
        if (takesCodes(row)) openCodeEditor(text);
        return true;
    }
    return false;
}

void StampPalette::openCodeEditor(const QString& digit) {
    codeEditor_->setGeometry(grid_->cellGeometry(grid_->row(), grid_->col()));
    codeEditor_->setText(digit);
    codeEditor_->show();
    codeEditor_->raise();
    codeEditor_->setFocus(Qt::OtherFocusReason);
}

void StampPalette::closeCodeEditor() {
    const bool hadFocus = codeEditor_->hasFocus();
    codeEditor_->hide();
    codeEditor_->clear();
    if (hadFocus) grid_->setFocus(Qt::OtherFocusReason);
}

void StampPalette::commitTypedCode() {
    const TypedCode typed = typedCommentCode(fromQString(codeEditor_->text()), *phrases_);
    const int row = grid_->row();
    const int col = grid_->col();
    closeCodeEditor();
    if (typed.refusal) {
        if (keys_.tell) keys_.tell(*typed.refusal);
    } else if (!typed.code.empty()) {
        keys_.stamp(row, col, toQString(typed.code));
    }
}

void StampPalette::showPointer(int x, GridStretch codes, GridStretch skills, bool stampable) const {
    QCursor pointer(Qt::ArrowCursor);
    if (codes.holds(x) && !codeToStamp().isEmpty()) {
        if (stampable) pointer = QCursor(QPixmap(":/stamp.png"), 16, 31);
    } else if (skills.holds(x)) {
        pointer = QCursor(Qt::SizeBDiagCursor);
    }
    grid_->viewport()->setCursor(pointer);
    grid_->horizontalHeader()->viewport()->setCursor(pointer);
}

}  // namespace tl
