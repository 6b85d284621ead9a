// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/program_style.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QPixmapCache>
#include <QScrollBar>
#include <QStyleFactory>
#include <QStyleOptionSlider>
#include <algorithm>
#include <array>

namespace tl {

namespace {

// Larger scroll bars are drawn each time rather than kept.
constexpr qint64 kLargestCopy = 64 * 4096;

// Qt hands a drawing of 96 lines or more to its drawing threads and waits for
// them; for a scroll bar's copy or a frame's edges the hand-over costs more
// than the drawing. Such drawings go in bands of fewer lines.
constexpr int kBandLines = 64;

// What a scroll bar's look depends on in Fusion: its option and the colour
// behind it, which Fusion takes from the scroll area around it.
QString copyKey(const QStyleOptionSlider& bar, const QWidget* widget) {
    const QWidget* area = nullptr;
    if (qobject_cast<const QScrollBar*>(widget) != nullptr && widget->parentWidget() != nullptr)
        area = qobject_cast<const QAbstractScrollArea*>(widget->parentWidget()->parentWidget());
    const std::array<qint64, 17> fields{
        bar.rect.width(),
        bar.rect.height(),
        static_cast<qint64>(bar.state.toInt()),
        bar.direction,
        static_cast<qint64>(bar.subControls.toInt()),
        static_cast<qint64>(bar.activeSubControls.toInt()),
        bar.orientation,
        bar.minimum,
        bar.maximum,
        bar.sliderPosition,
        bar.sliderValue,
        bar.singleStep,
        bar.pageStep,
        bar.upsideDown ? 1 : 0,
        static_cast<qint64>(bar.palette.cacheKey()),
        static_cast<qint64>(bar.palette.currentColorGroup()),
        area != nullptr ? static_cast<qint64>(area->palette().cacheKey()) : -1};
    QString key = QStringLiteral("tl-scroll-bar:");
    key.append(reinterpret_cast<const QChar*>(fields.data()),
               static_cast<qsizetype>(sizeof fields / sizeof(QChar)));
    return key;
}

// Whether a copy lands on the painter's pixels exactly as drawing would.
bool copiesExactly(const QPainter* painter) {
    const QTransform t = painter->deviceTransform();
    return painter->device() != nullptr && painter->device()->devicePixelRatio() == 1.0 &&
           t.type() <= QTransform::TxTranslate && t.dx() == qRound(t.dx()) &&
           t.dy() == qRound(t.dy()) && painter->opacity() == 1.0 &&
           painter->compositionMode() == QPainter::CompositionMode_SourceOver;
}

}  // namespace

ProgramStyle::ProgramStyle(QStyle* base)
    : QProxyStyle(base), fusion_(baseStyle()->name().compare("fusion", Qt::CaseInsensitive) == 0) {}

void ProgramStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                      QPainter* painter, const QWidget* widget) const {
    const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option);
    // Only Fusion's bars, which do not fade or swell as the mouse nears.
    if (control != CC_ScrollBar || bar == nullptr || !fusion_ ||
        styleHint(SH_ScrollBar_Transient, option, widget) != 0 || bar->rect.isEmpty() ||
        qint64(bar->rect.width()) * bar->rect.height() > kLargestCopy || !copiesExactly(painter)) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    const QString key = copyKey(*bar, widget);
    QPixmap copy;
    if (!QPixmapCache::find(key, &copy)) {
        copy = QPixmap(bar->rect.size());
        copy.fill(Qt::transparent);
        QStyleOptionSlider atOrigin = *bar;
        atOrigin.rect.moveTo(0, 0);
        QPainter onCopy(&copy);
        QProxyStyle::drawComplexControl(control, &atOrigin, &onCopy, widget);
        onCopy.end();
        QPixmapCache::insert(key, copy);
    }
    for (int y = 0; y < copy.height(); y += kBandLines) {
        const QRect band(0, y, copy.width(), std::min(kBandLines, copy.height() - y));
        painter->drawPixmap(bar->rect.topLeft() + band.topLeft(), copy, band);
    }
}

void ProgramStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                 QPainter* painter, const QWidget* widget) const {
    if (element != PE_FrameGroupBox || !fusion_ || option->rect.height() < kBandLines) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    // The bands cover a margin too: nothing drawn past the frame's edge is cut.
    const QRect reach = option->rect.adjusted(-8, -8, 8, 8);
    for (int y = reach.top(); y <= reach.bottom(); y += kBandLines) {
        painter->save();
        painter->setClipRect(QRect(reach.left(), y, reach.width(), kBandLines), Qt::IntersectClip);
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        painter->restore();
    }
}

QIcon ProgramStyle::standardIcon(StandardPixmap icon, const QStyleOption* option,
                                 const QWidget* widget) const {
    // Without an option the icon depends on the program's direction alone.
    if (option != nullptr) return QProxyStyle::standardIcon(icon, option, widget);
    const int key = 2 * int(icon) + (QGuiApplication::isRightToLeft() ? 1 : 0);
    const auto found = icons_.constFind(key);
    if (found != icons_.constEnd()) return *found;
    return *icons_.insert(key, QProxyStyle::standardIcon(icon, option, widget));
}

void useQtEventLoop() {
    qputenv("QT_NO_GLIB", "1");
}

void installProgramStyle() {
    QStyle* style = QStyleFactory::create(QApplication::style()->name());
    if (style != nullptr) QApplication::setStyle(new ProgramStyle(style));
}

}  // namespace tl
