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

// What a recording printer received, for tests.
struct PrintRecord {
    struct Line {
        QString text;
        QString font;
        double size = 0;
        int page = 1;
    };
    bool landscape = false;
    bool ended = false;
    int pages = 1;
    int overflowBreaks = 0;  // pages the printer had to start itself
    std::vector<Line> lines;
};

// Records what is printed on pages of a given height in points, breaking a
// page itself, as a real printer does, when a line does not fit.
class RecordingPrinter : public TextPrinter {
  public:
    explicit RecordingPrinter(std::shared_ptr<PrintRecord> record,
                              double pageHeightPt = kA4LandscapeHeightPt)
        : record_(std::move(record)), fill_(printableHeight(pageHeightPt)) {}
    void setLandscape() override { record_->landscape = true; }
    void setFont(const QString& name, double points) override {
        font_ = name;
        size_ = points;
    }
    void setFontSize(double points) override { size_ = points; }
    void printLine(const QString& text) override {
        if (!fill_.fits(size_)) {
            ++record_->overflowBreaks;
            newPage();
        }
        fill_.add(size_);
        record_->lines.push_back({text, font_, size_, record_->pages});
    }
    void newPage() override {
        ++record_->pages;
        fill_.clear();
    }
    void endDoc() override { record_->ended = true; }

  private:
    std::shared_ptr<PrintRecord> record_;
    PageFill fill_;
    QString font_;
    double size_ = 0;
};

}  // namespace tl
