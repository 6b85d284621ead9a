#pragma once

#include <QString>
#include <memory>
#include <vector>

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
    virtual void endDoc() = 0;
    // False once the printer failed; the printout then stops.
    virtual bool ok() const { return true; }
};

// Draws on a QPrinter chosen in the Print dialog (a printer or a PDF file).
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
    bool begin();
    std::unique_ptr<QPrinter> printer_;
    std::unique_ptr<QPainter> painter_;
    QString fontName_;
    double fontSize_ = 10;
    double y_ = 0;
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
    std::vector<Line> lines;
};

class RecordingPrinter : public TextPrinter {
  public:
    explicit RecordingPrinter(std::shared_ptr<PrintRecord> record) : record_(std::move(record)) {}
    void setLandscape() override { record_->landscape = true; }
    void setFont(const QString& name, double points) override {
        font_ = name;
        size_ = points;
    }
    void setFontSize(double points) override { size_ = points; }
    void printLine(const QString& text) override {
        record_->lines.push_back({text, font_, size_, record_->pages});
    }
    void newPage() override { ++record_->pages; }
    void endDoc() override { record_->ended = true; }

  private:
    std::shared_ptr<PrintRecord> record_;
    QString font_;
    double size_ = 0;
};

}  // namespace tl
