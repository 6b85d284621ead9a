#pragma once

#include <QFont>
#include <QPointF>
#include <QString>
#include <memory>
#include <vector>

#include "core/printed_page.h"

class QPrinter;
class QPainter;

namespace tl {

// A page-oriented text printer: each printed line advances one line.
class TextPrinter {
  public:
    virtual ~TextPrinter() = default;
    virtual void setLandscape() = 0;
    // An empty name keeps the printer's default font.
    virtual void setFont(const QString& name, double points) = 0;
    virtual void setFontSize(double points) = 0;
    virtual void printLine(const QString& text) = 0;
    virtual void newPage() = 0;
    // Sends the document. A printer destroyed before endDoc() abandons it.
    virtual void endDoc() = 0;
    // False once the printer failed; the printout then stops.
    virtual bool ok() const { return true; }
};

// Prints the lines, setting each font where it changes, and ends the
// document; false when the printer failed part-way (the printout is then
// abandoned).
bool printLines(TextPrinter& printer, const std::vector<PrintedLine>& lines);

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
    void printLine(const QString& text) override;
    void newPage() override;
    void endDoc() override;
    bool ok() const override { return ok_; }

  private:
    struct PlacedLine {
        QFont font;
        QPointF at;
        QString text;
    };
    using Page = std::vector<PlacedLine>;
    bool printOnPrinter();
    bool printToPdf(const QString& path);
    static void drawPage(QPainter& painter, const Page& page);

    std::unique_ptr<QPrinter> printer_;
    std::vector<Page> pages_{1};
    QString fontName_;
    double fontSize_ = 10;
    PageFill fill_{0};
    bool ok_ = true;
    bool ended_ = false;
};

}  // namespace tl
