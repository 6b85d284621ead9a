#pragma once

#include <QString>
#include <memory>
#include <vector>

#include "core/printed_page.h"
#include "platform/text_printer.h"

namespace tl {

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
