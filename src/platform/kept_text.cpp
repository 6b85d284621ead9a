// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/kept_text.h"

#include <QApplication>
#include <QCache>
#include <QCoreApplication>
#include <QFont>
#include <QPainter>
#include <QTextLayout>
#include <QTextOption>

namespace tl {

namespace {

struct KeptKey {
    QString text;
    QString font;
    Qt::LayoutDirection direction;
    bool operator==(const KeptKey& other) const {
        return text == other.text && font == other.font && direction == other.direction;
    }
};

size_t qHash(const KeptKey& key, size_t seed = 0) {
    return qHashMulti(seed, key.text, key.font, int(key.direction));
}

// A text laid out on one line, as the painter lays it out for drawText.
struct KeptLine {
    QTextLayout layout;
    qreal width = 0;
    qreal height = 0;
    // Where the style put the text and the focus frame in the last list item
    // of this text, from the item's corner: the style lays the text out to
    // find them.
    struct {
        const QStyle* style = nullptr;
        QSize item;
        bool decorationSelected = false;
        QRect text;
        QRect focus;
    } places;
};

// Room for the lines of a full class's eFile preview and its grid's codes,
// counted in characters.
constexpr qsizetype kKeptCharacters = 400000;

// The kept lines, and the key of the font they were last asked for (worked
// out again only when the font changes).
struct Kept {
    QCache<KeptKey, KeptLine> lines{kKeptCharacters};
    QFont lastFont;
    QString lastFontKey;
};

Kept* keptLines = nullptr;

// The kept lines and fonts go with the application, before its fonts do.
void dropKeptLines() {
    delete keptLines;
    keptLines = nullptr;
}

Kept& kept() {
    if (keptLines == nullptr) {
        keptLines = new Kept;
        qAddPostRoutine(dropKeptLines);
    }
    return *keptLines;
}

const QString& fontKey(const QFont& font) {
    Kept& k = kept();
    if (k.lastFontKey.isEmpty() || !(font == k.lastFont)) {
        k.lastFont = font;
        k.lastFontKey = font.key();
    }
    return k.lastFontKey;
}

// Whether the painter would lay the text out as one line of its own
// characters: it turns line breaks and tabs into blanks and breaks at a line
// separator.
bool plainLine(const QString& text) {
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == u'\n' || u == u'\r' || u == u'\t' || u == 0x9C || u == 0x2028 || u == 0x2029)
            return false;
    }
    return true;
}

KeptLine* layOut(const QString& text, const QFont& font, Qt::LayoutDirection direction) {
    auto* kept = new KeptLine;
    kept->layout.setText(text);
    kept->layout.setFont(font);
    QTextOption option;
    option.setTextDirection(direction);
    option.setAlignment(Qt::AlignLeft);
    kept->layout.setTextOption(option);
    kept->layout.beginLayout();
    QTextLine line = kept->layout.createLine();
    line.setLineWidth(0x01000000);
    line.setPosition(QPointF(0., 0.));
    // The painter places the text by its unrounded height.
    kept->height = line.ascent() + line.descent();
    kept->width = line.naturalTextWidth();
    kept->layout.endLayout();
    return kept;
}

KeptLine* keptLine(const QString& text, const QFont& font, Qt::LayoutDirection direction) {
    const KeptKey key{text, fontKey(font), direction};
    KeptLine* line = kept().lines.object(key);
    if (line != nullptr) return line;
    line = layOut(text, font, direction);
    return kept().lines.insert(key, line, text.size() + 16) ? line : nullptr;
}

// Whether the font draws no lines with its letters.
bool plainFont(const QFont& font) {
    return !font.underline() && !font.strikeOut() && !font.overline();
}

}  // namespace

void drawKeptText(QPainter* painter, const QRect& rect, int flags, const QString& text) {
    const int single = Qt::TextSingleLine | Qt::AlignLeft;
    const QFont& font = painter->font();
    // Left to right, or as the text has it (which aligns it left all the same).
    const Qt::LayoutDirection direction = painter->layoutDirection();
    KeptLine* line = nullptr;
    if ((flags == (single | Qt::AlignTop) || flags == (single | Qt::AlignVCenter)) &&
        !text.isEmpty() && direction != Qt::RightToLeft && plainFont(font) && plainLine(text))
        line = keptLine(text, font, direction);
    if (line == nullptr) {
        painter->drawText(rect, flags, text);
        return;
    }
    // Placed and clipped as the painter places and clips it.
    const QRectF r(rect);
    qreal top = 0;
    if (flags & Qt::AlignVCenter) {
        top = (r.height() - line->height) / 2;
        const QTransform& transform = painter->transform();
        if (transform.type() <= QTransform::TxScale && transform.m22() != 0)
            top = -qRound(-top * transform.m22()) / transform.m22();
    }
    const bool clip = !r.contains(QRectF(r.x(), r.y() + top, line->width, line->height));
    if (clip) {
        painter->save();
        painter->setClipRect(r, Qt::IntersectClip);
    }
    line->layout.lineAt(0).draw(painter, QPointF(r.x(), r.y() + top));
    if (clip) painter->restore();
}

void KeptTextItems::paint(QPainter* painter, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const {
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    const QWidget* widget = item.widget;
    const QStyle* style = widget != nullptr ? widget->style() : QApplication::style();
    // One line of plain text, left and centred, not cut short with dots.
    KeptLine* line = nullptr;
    QRect textRect;
    if (item.direction == Qt::LeftToRight && item.features == QStyleOptionViewItem::HasDisplay &&
        item.displayAlignment == (Qt::AlignLeft | Qt::AlignVCenter) && plainFont(item.font) &&
        !item.text.isEmpty() && plainLine(item.text)) {
        line = keptLine(item.text, item.font, Qt::LeftToRight);
    }
    if (line != nullptr) {
        auto& places = line->places;
        if (places.style != style || places.item != item.rect.size() ||
            places.decorationSelected != item.showDecorationSelected) {
            const QPoint corner = item.rect.topLeft();
            places.style = style;
            places.item = item.rect.size();
            places.decorationSelected = item.showDecorationSelected;
            places.text = style->subElementRect(QStyle::SE_ItemViewItemText, &item, widget)
                              .translated(-corner);
            places.focus = style->subElementRect(QStyle::SE_ItemViewItemFocusRect, &item, widget)
                               .translated(-corner);
        }
        const int margin = style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, widget) + 1;
        textRect = places.text.translated(item.rect.topLeft()).adjusted(margin, 0, -margin, 0);
        if (line->width > textRect.width()) line = nullptr;
    }
    if (line == nullptr) {
        style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);
        return;
    }
    // The item without its text and focus frame, then the text as the style
    // places it, then the frame over it.
    QStyleOptionViewItem bare = item;
    bare.text.clear();
    bare.state &= ~QStyle::State_HasFocus;
    style->drawControl(QStyle::CE_ItemViewItem, &bare, painter, widget);
    QPalette::ColorGroup group =
        item.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled;
    if (group == QPalette::Normal && !(item.state & QStyle::State_Active))
        group = QPalette::Inactive;
    painter->save();
    painter->setClipRect(item.rect);
    painter->setPen(item.palette.color(
        group, item.state & QStyle::State_Selected ? QPalette::HighlightedText : QPalette::Text));
    const QTextLine first = line->layout.lineAt(0);
    const QRect placed =
        QStyle::alignedRect(Qt::LeftToRight, item.displayAlignment,
                            QSize(textRect.width(), int(first.height())), textRect);
    first.draw(painter, placed.topLeft());
    if (item.state & QStyle::State_HasFocus) {
        QStyleOptionFocusRect frame;
        frame.QStyleOption::operator=(item);
        frame.rect = line->places.focus.translated(item.rect.topLeft());
        frame.state |= QStyle::State_KeyboardFocusChange | QStyle::State_Item;
        frame.backgroundColor = item.palette.color(
            item.state & QStyle::State_Enabled ? QPalette::Normal : QPalette::Disabled,
            item.state & QStyle::State_Selected ? QPalette::Highlight : QPalette::Window);
        style->drawPrimitive(QStyle::PE_FrameFocusRect, &frame, painter, widget);
    }
    painter->restore();
}

}  // namespace tl
