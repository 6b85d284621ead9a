// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QRect>
#include <QString>
#include <QStyledItemDelegate>

class QPainter;

namespace tl {

// Draws text as painter->drawText(rect, flags, text) does, keeping the text's
// laid-out line for the next time it is drawn in the same font: laying a text
// out (shaping it) is the dearest part of drawing it, and a grid draws the
// same texts again on every scroll and every opening. Kept are single lines
// aligned left, at the top or in the middle, in a font without lines through
// or under it; anything else is drawn by the painter alone.
void drawKeptText(QPainter* painter, const QRect& rect, int flags, const QString& text);

// A list's items drawn as the style draws them, their texts from kept lines.
class KeptTextItems : public QStyledItemDelegate {
  public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
};

}  // namespace tl
