#include "platform/text_printer.h"

#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QSaveFile>
#include <optional>

#include "platform/encoding.h"

namespace tl {

bool printLines(TextPrinter& printer, const std::vector<PrintedLine>& lines) {
    std::optional<PrintFont> font;
    for (const PrintedLine& line : lines) {
        if (font != line.font) {
            font = line.font;
            printer.setFont(toQString(std::string(line.font.name)), line.font.points);
        }
        printer.printLine(toQString(line.text));
        if (!printer.ok()) return false;
    }
    printer.endDoc();
    return printer.ok();
}

QtTextPrinter::QtTextPrinter(std::unique_ptr<QPrinter> printer) : printer_(std::move(printer)) {
    printer_->setPageMargins(QMarginsF(kPageMarginMm, kPageMarginMm, kPageMarginMm, kPageMarginMm),
                             QPageLayout::Millimeter);
}

// Without a successful endDoc() nothing was drawn: the laid-out pages are dropped.
QtTextPrinter::~QtTextPrinter() = default;

void QtTextPrinter::setLandscape() {
    if (pages_.size() == 1 && pages_.front().empty()) {
        printer_->setPageOrientation(QPageLayout::Landscape);
    }
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
    if (pages_.back().empty()) {
        fill_ = PageFill(printer_->pageLayout().paintRect(QPageLayout::Point).height());
    }
    // Overflow at the bottom of a page goes on the next, as on any printer.
    if (!fill_.fits(fontSize_)) newPage();
    const double top = fill_.add(fontSize_);
    const double pixelsPerPoint = printer_->resolution() / 72.0;
    const double baseline = (top + PageFill::advance(fontSize_) * 0.8) * pixelsPerPoint;
    pages_.back().push_back({font, QPointF(0, baseline), text});
}

void QtTextPrinter::newPage() {
    if (ended_) return;
    pages_.emplace_back();
    fill_.clear();
}

void QtTextPrinter::endDoc() {
    if (ended_) return;
    ended_ = true;
    const bool toPdf = printer_->outputFormat() == QPrinter::PdfFormat;
    ok_ = toPdf ? printToPdf(printer_->outputFileName()) : printOnPrinter();
    pages_.clear();
}

void QtTextPrinter::drawPage(QPainter& painter, const Page& page) {
    for (const PlacedLine& line : page) {
        painter.setFont(line.font);
        painter.drawText(line.at, line.text);
    }
}

bool QtTextPrinter::printOnPrinter() {
    QPainter painter;
    if (!painter.begin(printer_.get())) return false;
    for (std::size_t p = 0; p < pages_.size(); ++p) {
        if (p > 0 && !printer_->newPage()) {
            // Some print systems cannot take back what they were sent; the
            // job is cut short there rather than completed.
            printer_->abort();
            painter.end();
            return false;
        }
        drawPage(painter, pages_[p]);
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
    writer.setPageLayout(printer_->pageLayout());
    writer.setTitle(printer_->docName());
    writer.setCreator(printer_->creator());
    QPainter painter;
    if (!painter.begin(&writer)) return false;
    for (std::size_t p = 0; p < pages_.size(); ++p) {
        if (p > 0 && !writer.newPage()) {
            painter.end();
            return false;
        }
        drawPage(painter, pages_[p]);
    }
    if (!painter.end()) return false;
    // commit() does not see a write that fails while it flushes the last bytes.
    return file.flush() && file.error() == QFileDevice::NoError && file.commit();
}

}  // namespace tl
