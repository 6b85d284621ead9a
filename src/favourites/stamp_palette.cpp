#include "favourites/stamp_palette.h"

#include <QCursor>
#include <QHeaderView>
#include <QListWidget>
#include <QPixmap>

#include "core/editing_rules.h"
#include "core/limits.h"
#include "platform/encoding.h"
#include "platform/flex_grid.h"

namespace tl {

namespace {

const QColor kPickedBack(110, 150, 210);

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
