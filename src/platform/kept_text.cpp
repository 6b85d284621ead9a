// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/kept_text.h"

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
};

// Room for the lines of a full class's eFile preview and its grid's codes,
// counted in characters.
constexpr qsizetype kKeptCharacters = 400000;

QCache<KeptKey, KeptLine>* keptLines = nullptr;

// The kept lines go with the application, before its fonts do.
void dropKeptLines() {
    delete keptLines;
    keptLines = nullptr;
}

QCache<KeptKey, KeptLine>& kept() {
    if (keptLines == nullptr) {
        keptLines = new QCache<KeptKey, KeptLine>(kKeptCharacters);
        qAddPostRoutine(dropKeptLines);
    }
    return *keptLines;
}

// The font's key, worked out again only when the font changes.
const QString& fontKey(const QFont& font) {
    static QFont last;
    static QString key;
    if (key.isEmpty() || !(font == last)) {
        last = font;
        key = font.key();
    }
    return key;
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

}  // namespace

void drawKeptText(QPainter* painter, const QRect& rect, int flags, const QString& text) {
    const int single = Qt::TextSingleLine | Qt::AlignLeft;
    const QFont& font = painter->font();
    // Left to right, or as the text has it (which aligns it left all the same).
    const Qt::LayoutDirection direction = painter->layoutDirection();
    if ((flags != (single | Qt::AlignTop) && flags != (single | Qt::AlignVCenter)) ||
        text.isEmpty() || direction == Qt::RightToLeft || font.underline() || font.strikeOut() ||
        font.overline() || !plainLine(text)) {
        painter->drawText(rect, flags, text);
        return;
    }
    const KeptKey key{text, fontKey(font), direction};
    KeptLine* line = kept().object(key);
    if (line == nullptr) {
        line = layOut(text, font, direction);
        if (!kept().insert(key, line, text.size() + 16)) {
            painter->drawText(rect, flags, text);
            return;
        }
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

}  // namespace tl
