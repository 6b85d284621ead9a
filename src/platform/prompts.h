// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>
#include <memory>

#include "core/notice.h"
#include "platform/text_printer.h"

namespace tl {

// What a file dialog is asked: where it starts, the proposed name, the filter
// in the form "Tallyleaf Classes (*.tlc)|*.tlc".
struct FileRequest {
    QString initialFolder;  // "" keeps the dialog's own default folder
    QString fileName;
    QString filter;
    bool confirmOverwrite = false;
};

// Every modal question the program asks goes through here, so that tests can
// answer them from a script.
class Prompts {
  public:
    virtual ~Prompts() = default;

    virtual void message(const Notice& notice) = 0;
    // Yes/No question; true for Yes.
    virtual bool askYesNo(const QString& text, const QString& title) = 0;
    // The chosen path, or "" when cancelled.
    virtual QString openFile(const FileRequest& request) = 0;
    virtual QString saveFile(const FileRequest& request) = 0;
    // The input box, opened holding text: the typed text, or "" when cancelled.
    virtual QString inputBox(const QString& prompt, const QString& title, const QString& text) = 0;
    // The Print dialog: a printer (or PDF file) to print on, or nothing when cancelled.
    virtual std::unique_ptr<TextPrinter> choosePrinter() = 0;
    // Ends the program after a fatal message, with a non-zero status.
    virtual void endProgram(int status) = 0;

    // Windows that own dialogs set themselves as the parent of what is shown.
    void setParentWindow(QWidget* parent) { parent_ = parent; }

  protected:
    // A window may be gone by the time the next question is asked.
    QPointer<QWidget> parent_;
};

// The "Description (*.ext)" part of a filter, for Qt's file dialogs.
QString qtFilter(const QString& filter);
// The extension ("tlc") of a filter's pattern.
QString filterExtension(const QString& filter);

// The real prompts: message boxes and file dialogs.
class QtPrompts : public Prompts {
  public:
    void message(const Notice& notice) override;
    bool askYesNo(const QString& text, const QString& title) override;
    QString openFile(const FileRequest& request) override;
    QString saveFile(const FileRequest& request) override;
    QString inputBox(const QString& prompt, const QString& title, const QString& text) override;
    std::unique_ptr<TextPrinter> choosePrinter() override;
    void endProgram(int status) override;
};

// A file dialog as a window keeps it: its initial folder stays between uses
// and follows the folder of the last chosen file.
class CommonDialog {
  public:
    explicit CommonDialog(Prompts& prompts) : prompts_(prompts) {}

    QString initDir;
    QString fileName;
    QString filter;
    bool confirmOverwrite = false;

    // Sets the dialog up for its next use; an empty folder keeps the last one.
    void prepare(const QString& folder, const QString& name, const QString& fileFilter,
                 bool confirm);
    // The chosen path, or "" when cancelled.
    QString showOpen();
    // As showOpen; a name typed without an extension gets the filter's one.
    QString showSave();

  private:
    QString remember(const QString& chosen);
    Prompts& prompts_;
};

}  // namespace tl
