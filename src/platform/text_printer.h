// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFont>
#include <QPageLayout>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

#include "core/printed_page.h"

class QPaintDevice;
class QPainter;
class QPrinter;

namespace tl {

// A page-oriented text printer: each printed line advances one line.
class TextPrinter {
  public:
    virtual ~TextPrinter() = default;
    virtual void setLandscape() = 0;
    // An empty name keeps the printer's default font.
    virtual void setFont(const QString& name, double points) = 0;
    virtual void setFontSize(double points) = 0;
    // How the lines printed from here on go on when they are too wide for the
    // page; until it is set they go on at the left margin.
    virtual void setContinuation(Continuation continuation) = 0;
    virtual void printLine(const QString& text) = 0;
    virtual void newPage() = 0;
    // Sends the document. A printer destroyed before endDoc() abandons it.
    virtual void endDoc() = 0;
    // False once the printer failed; the printout then stops.
    virtual bool ok() const { return true; }
};

// Prints the lines, setting each font and its continuation where the font
// changes, and ends the document; false when the printer failed part-way
// (the printout is then abandoned).
bool printLines(TextPrinter& printer, const std::vector<PrintedLine>& lines);

// The page of a printout: the paper in the orientation asked for, with the
// margins every printout keeps.
QPageLayout printPageLayout(const QPageSize& paper, QPageLayout::Orientation orientation);

// A page line on its page, in points from the page's top left corner.
struct PlacedLine {
    QFont font;
    QPointF start;  // the left end of its baseline
    QRectF box;     // its text's advance across, its font's ascent and descent down
    QString text;
};
using PlacedPage = std::vector<PlacedLine>;

// Lays printed lines out as the printers print them: one below the other
// inside the page's margins, on a new page where a line no longer fits, and a
// line too wide for the page continued on the next page lines, with as many
// characters on each as fit in its font (wrapPrintedLine). Text is measured
// as the device draws it.
class PageLayouter {
  public:
    PageLayouter(const QPageLayout& layout, const QPaintDevice* device);
    // Takes effect only before the first line.
    void setPageLayout(const QPageLayout& layout);
    // The page lines of a printed line in that font.
    QStringList pageLines(const QString& text, const QFont& font, Continuation continuation) const;
    // Places a page line below the last, on a new page when it does not fit
    // on this one; returns its page, from 1.
    int place(const QString& pageLine, const QFont& font, double points);
    void newPage();
    bool empty() const { return pages_.size() == 1 && pages_.front().empty(); }
    const std::vector<PlacedPage>& pages() const { return pages_; }
    QPageLayout pageLayout() const { return layout_; }
    // The pages it had to start itself, for lines that did not fit.
    int overflowBreaks() const { return overflowBreaks_; }

  private:
    double width(const QFont& font, const QString& text) const;
    bool allFit(const std::vector<std::string>& lines, const QFont& font) const;

    QPageLayout layout_;
    const QPaintDevice* device_;
    QRectF paint_;  // in points
    std::vector<PlacedPage> pages_{1};
    PageFill fill_{0};
    int overflowBreaks_ = 0;
};

// Prints on a QPrinter chosen in the Print dialog (a printer or a PDF file).
// The pages are laid out in memory and drawn only by endDoc(), so a printout
// abandoned part-way sends nothing. A PDF goes to a temporary file that
// replaces the chosen file only once it is complete; a printer that refuses a
// page is told to abort the job.
class QtTextPrinter : public TextPrinter {
  public:
    explicit QtTextPrinter(std::unique_ptr<QPrinter> printer);
    ~QtTextPrinter() override;
    void setLandscape() override;
    void setFont(const QString& name, double points) override;
    void setFontSize(double points) override;
    void setContinuation(Continuation continuation) override { continuation_ = continuation; }
    void printLine(const QString& text) override;
    void newPage() override;
    void endDoc() override;
    bool ok() const override { return ok_; }
    // The pages as laid out, also after the end of the document.
    const PageLayouter& layout() const { return *layout_; }

  private:
    bool printOnPrinter();
    bool printToPdf(const QString& path);
    void drawPage(QPainter& painter, const PlacedPage& page, double pixelsPerPoint) const;

    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<PageLayouter> layout_;
    QString fontName_;
    double fontSize_ = 10;
    Continuation continuation_;
    bool ok_ = true;
    bool ended_ = false;
};

}  // namespace tl
