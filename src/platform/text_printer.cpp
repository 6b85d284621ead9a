#include "platform/text_printer.h"

#include <QFontMetricsF>
#include <QPageLayout>
#include <QPainter>
#include <QPrinter>

namespace tl {

QtTextPrinter::QtTextPrinter(std::unique_ptr<QPrinter> printer) : printer_(std::move(printer)) {}

QtTextPrinter::~QtTextPrinter() {
    if (painter_ && painter_->isActive()) painter_->end();
}

void QtTextPrinter::setLandscape() {
    if (!painter_) printer_->setPageOrientation(QPageLayout::Landscape);
}

void QtTextPrinter::setFont(const QString& name, double points) {
    fontName_ = name;
    fontSize_ = points;
}

void QtTextPrinter::setFontSize(double points) {
    fontSize_ = points;
}

bool QtTextPrinter::begin() {
    if (painter_) return ok_;
    painter_ = std::make_unique<QPainter>();
    ok_ = painter_->begin(printer_.get());
    return ok_;
}

void QtTextPrinter::printLine(const QString& text) {
    if (!begin()) return;
    QFont font = fontName_.isEmpty() ? QFont() : QFont(fontName_);
    font.setPointSizeF(fontSize_);
    painter_->setFont(font);
    const QFontMetricsF metrics(font, printer_.get());
    const double pageHeight =
        printer_->pageLayout().paintRectPixels(printer_->resolution()).height();
    if (y_ + metrics.lineSpacing() > pageHeight) newPage();
    painter_->drawText(QPointF(0, y_ + metrics.ascent()), text);
    y_ += metrics.lineSpacing();
}

void QtTextPrinter::newPage() {
    if (!begin()) return;
    ok_ = printer_->newPage();
    y_ = 0;
}

void QtTextPrinter::endDoc() {
    if (ended_) return;
    ended_ = true;
    if (painter_ && painter_->isActive()) ok_ = painter_->end() && ok_;
}

}  // namespace tl
