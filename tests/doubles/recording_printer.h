// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QBuffer>
#include <QPageSize>
#include <QPdfWriter>
#include <QString>
#include <memory>
#include <vector>

#include "core/printed_page.h"
#include "platform/text_printer.h"

namespace tl {

// What a recording printer received, for tests: the page lines as paper gets
// them, a line too wide for the page continued on the next.
struct PrintRecord {
    struct Line {
        QString text;
        QString font;
        double size = 0;
        int page = 1;
    };
    bool landscape = false;
    bool ended = false;
    int overflowBreaks = 0;  // pages the printer had to start itself
    std::vector<Line> lines;
};

// Records what is printed, laid out as the real printer lays it out on A4
// printed as a PDF: the same page breaks, and a line too wide for the page
// continued the same way.
class RecordingPrinter : public TextPrinter {
  public:
    explicit RecordingPrinter(std::shared_ptr<PrintRecord> record)
        : record_(std::move(record)),
          metrics_(&device_),
          layout_(printPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait), &metrics_) {}
    void setLandscape() override {
        record_->landscape = true;
        layout_.setPageLayout(printPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape));
    }
    void setFont(const QString& name, double points) override {
        font_ = name;
        size_ = points;
    }
    void setFontSize(double points) override { size_ = points; }
    void setContinuation(Continuation continuation) override { continuation_ = continuation; }
    void printLine(const QString& text) override {
        QFont font = font_.isEmpty() ? QFont() : QFont(font_);
        font.setPointSizeF(size_);
        for (const QString& line : layout_.pageLines(text, font, continuation_)) {
            const int page = layout_.place(line, font, size_);
            record_->lines.push_back({line, font_, size_, page});
        }
        record_->overflowBreaks = layout_.overflowBreaks();
    }
    void newPage() override { layout_.newPage(); }
    void endDoc() override { record_->ended = true; }

  private:
    std::shared_ptr<PrintRecord> record_;
    QBuffer device_;
    QPdfWriter metrics_;  // measures text as a PDF printer draws it; never written
    PageLayouter layout_;
    QString font_;
    double size_ = 0;
    Continuation continuation_;
};

}  // namespace tl
