// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/text_printer.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <algorithm>
#include <optional>

#include "platform/encoding.h"

namespace tl {

bool printLines(TextPrinter& printer, const std::vector<PrintedLine>& lines) {
    std::optional<PrintFont> font;
    for (const PrintedLine& line : lines) {
        if (font != line.font) {
            font = line.font;
            printer.setFont(toQString(std::string(line.font.name)), line.font.points);
            printer.setContinuation(continuationFor(line.font));
        }
        printer.printLine(toQString(line.text));
        if (!printer.ok()) return false;
    }
    printer.endDoc();
    return printer.ok();
}

namespace {

const QMarginsF kMargins(kPageMarginPt, kPageMarginPt, kPageMarginPt, kPageMarginPt);

}  // namespace

QPageLayout printPageLayout(const QPageSize& paper, QPageLayout::Orientation orientation) {
    return QPageLayout(paper, orientation, kMargins, QPageLayout::Point);
}

PageLayouter::PageLayouter(const QPageLayout& layout, const QPaintDevice* device)
    : device_(device) {
    setPageLayout(layout);
}

void PageLayouter::setPageLayout(const QPageLayout& layout) {
    if (!empty()) return;
    layout_ = layout;
    paint_ = layout.paintRect(QPageLayout::Point);
    fill_ = PageFill(paint_.height());
}

double PageLayouter::width(const QFont& font, const QString& text) const {
    return QFontMetricsF(font, device_).horizontalAdvance(text) * 72.0 / device_->logicalDpiX();
}

bool PageLayouter::allFit(const std::vector<std::string>& lines, const QFont& font) const {
    return std::all_of(lines.begin(), lines.end(), [&](const std::string& line) {
        return width(font, toQString(line)) <= paint_.width();
    });
}

QStringList PageLayouter::pageLines(const QString& text, const QFont& font,
                                    Continuation continuation) const {
    if (width(font, text) <= paint_.width()) return {text};
    const std::string line = fromQString(text);
    const std::size_t indent = continuationIndent(line, continuation);
    // The most characters a page line can hold, were they all the line's
    // narrowest; fewer until every page line fits (at once in a fixed-pitch font).
    double narrowest = paint_.width();
    for (const QChar ch : text)
        narrowest = std::min(narrowest, width(font, QString(ch)));
    std::size_t fits = line.size() - 1;
    if (narrowest > 0) fits = std::min(fits, static_cast<std::size_t>(paint_.width() / narrowest));
    std::vector<std::string> lines = wrapPrintedLine(line, fits, indent);
    while (fits > 1 && !allFit(lines, font))
        lines = wrapPrintedLine(line, --fits, indent);
    QStringList result;
    for (const std::string& l : lines)
        result << toQString(l);
    return result;
}

int PageLayouter::place(const QString& pageLine, const QFont& font, double points) {
    // Overflow at the bottom of a page goes on the next, as on any printer.
    if (!fill_.fits(points)) {
        ++overflowBreaks_;
        newPage();
    }
    const double top = paint_.top() + fill_.add(points);
    const QFontMetricsF metrics(font, device_);
    const double scale = 72.0 / device_->logicalDpiY();
    const double ascent = metrics.ascent() * scale;
    const double height = ascent + metrics.descent() * scale;
    const QPointF start(paint_.left(), top + ascent);
    pages_.back().push_back(
        {font, start, QRectF(paint_.left(), top, width(font, pageLine), height), pageLine});
    return static_cast<int>(pages_.size());
}

void PageLayouter::newPage() {
    pages_.emplace_back();
    fill_.clear();
}

QtTextPrinter::QtTextPrinter(std::unique_ptr<QPrinter> printer) : printer_(std::move(printer)) {
    printer_->setPageMargins(kMargins, QPageLayout::Point);
    layout_ = std::make_unique<PageLayouter>(printer_->pageLayout(), printer_.get());
}

// Without a successful endDoc() nothing was drawn: the laid-out pages are dropped.
QtTextPrinter::~QtTextPrinter() = default;

void QtTextPrinter::setLandscape() {
    if (!layout_->empty()) return;
    printer_->setPageOrientation(QPageLayout::Landscape);
    layout_->setPageLayout(printer_->pageLayout());
}

void QtTextPrinter::setFont(const QString& name, double points) {
    fontName_ = name;
    fontSize_ = points;
}

void QtTextPrinter::setFontSize(double points) {
    fontSize_ = points;
}

void QtTextPrinter::printLine(const QString& text) {
    if (ended_) return;
    QFont font = fontName_.isEmpty() ? QFont() : QFont(fontName_);
    font.setPointSizeF(fontSize_);
    for (const QString& line : layout_->pageLines(text, font, continuation_))
        layout_->place(line, font, fontSize_);
}

void QtTextPrinter::newPage() {
    if (ended_) return;
    layout_->newPage();
}

void QtTextPrinter::endDoc() {
    if (ended_) return;
    ended_ = true;
    const bool toPdf = printer_->outputFormat() == QPrinter::PdfFormat;
    ok_ = toPdf ? printToPdf(printer_->outputFileName()) : printOnPrinter();
}

// The painter's origin is the top left corner of the page's printable area.
void QtTextPrinter::drawPage(QPainter& painter, const PlacedPage& page,
                             double pixelsPerPoint) const {
    const QPointF origin = layout_->pageLayout().paintRect(QPageLayout::Point).topLeft();
    for (const PlacedLine& line : page) {
        painter.setFont(line.font);
        painter.drawText((line.start - origin) * pixelsPerPoint, line.text);
    }
}

bool QtTextPrinter::printOnPrinter() {
    QPainter painter;
    if (!painter.begin(printer_.get())) return false;
    const auto& pages = layout_->pages();
    for (std::size_t p = 0; p < pages.size(); ++p) {
        if (p > 0 && !printer_->newPage()) {
            // Some print systems cannot take back what they were sent; the
            // job is cut short there rather than completed.
            printer_->abort();
            painter.end();
            return false;
        }
        drawPage(painter, pages[p], printer_->resolution() / 72.0);
    }
    return painter.end() && printer_->printerState() != QPrinter::Error;
}

bool QtTextPrinter::printToPdf(const QString& path) {
    if (path.isEmpty()) return false;
    // The temporary file is removed unless commit() succeeds; an earlier file
    // of that name stays as it was.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return false;
    QPdfWriter writer(&file);
    writer.setPdfVersion(printer_->pdfVersion());
    writer.setResolution(printer_->resolution());
    writer.setPageLayout(layout_->pageLayout());
    writer.setTitle(printer_->docName());
    writer.setCreator(printer_->creator());
    QPainter painter;
    if (!painter.begin(&writer)) return false;
    const auto& pages = layout_->pages();
    for (std::size_t p = 0; p < pages.size(); ++p) {
        if (p > 0 && !writer.newPage()) {
            painter.end();
            return false;
        }
        drawPage(painter, pages[p], writer.resolution() / 72.0);
    }
    if (!painter.end()) return false;
    // commit() does not see a write that fails while it flushes the last bytes.
    return file.flush() && file.error() == QFileDevice::NoError && file.commit();
}

}  // namespace tl
