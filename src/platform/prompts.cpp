// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/prompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>

#include "platform/encoding.h"

namespace tl {

namespace {

// Runs a dialog made on the heap for the window that asked. Should that
// window go while the dialog runs, the dialog goes with it and counts as
// cancelled; it is never deleted twice.
template <typename Dialog>
class Running {
  public:
    explicit Running(Dialog* dialog) : dialog_(dialog) {}
    ~Running() { delete dialog_.data(); }
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;
    Dialog* operator->() const { return dialog_.data(); }
    bool alive() const { return !dialog_.isNull(); }
    // True when the dialog was accepted and is still there to be read.
    bool accepted() {
        const int result = dialog_->exec();
        return alive() && result == QDialog::Accepted;
    }

  private:
    QPointer<Dialog> dialog_;
};

}  // namespace

QString qtFilter(const QString& filter) {
    return filter.section('|', 0, 0);
}

QString filterExtension(const QString& filter) {
    const QString pattern = filter.section('|', 1, 1);
    const qsizetype dot = pattern.lastIndexOf('.');
    return dot < 0 ? QString() : pattern.mid(dot + 1);
}

void QtPrompts::message(const Notice& notice) {
    Running box(new QMessageBox(parent_));
    box->setWindowTitle(toQString(notice.title));
    box->setText(toQString(notice.text));
    switch (notice.icon) {
        case NoticeIcon::Information:
            box->setIcon(QMessageBox::Information);
            break;
        case NoticeIcon::Exclamation:
            box->setIcon(QMessageBox::Warning);
            break;
        case NoticeIcon::Critical:
            box->setIcon(QMessageBox::Critical);
            break;
        case NoticeIcon::None:
            break;
    }
    box->setStandardButtons(QMessageBox::Ok);
    box.accepted();
}

bool QtPrompts::askYesNo(const QString& text, const QString& title) {
    Running box(new QMessageBox(QMessageBox::Question, title, text,
                                QMessageBox::Yes | QMessageBox::No, parent_));
    box->setDefaultButton(QMessageBox::Yes);
    // A message box reports the button pressed, not Accepted.
    box.accepted();
    return box.alive() && box->clickedButton() == box->button(QMessageBox::Yes);
}

QString QtPrompts::inputBox(const QString& prompt, const QString& title, const QString& text) {
    Running dialog(new QInputDialog(parent_));
    dialog->setObjectName("inputBox");
    dialog->setWindowTitle(title);
    dialog->setLabelText(prompt);
    dialog->setTextValue(text);
    return dialog.accepted() ? dialog->textValue() : QString();
}

QString QtPrompts::openFile(const FileRequest& request) {
    Running dialog(
        new QFileDialog(parent_, QString(), request.initialFolder, qtFilter(request.filter)));
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setFileMode(QFileDialog::ExistingFile);
    if (!request.fileName.isEmpty()) dialog->selectFile(request.fileName);
    if (!dialog.accepted() || dialog->selectedFiles().isEmpty()) return QString();
    return dialog->selectedFiles().constFirst();
}

QString QtPrompts::saveFile(const FileRequest& request) {
    Running dialog(
        new QFileDialog(parent_, QString(), request.initialFolder, qtFilter(request.filter)));
    // Qt's own dialog adds the extension before it looks for an existing file,
    // so the overwrite question is asked for the name actually written.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setDefaultSuffix(filterExtension(request.filter));
    dialog->selectFile(request.fileName);
    if (!request.confirmOverwrite) dialog->setOption(QFileDialog::DontConfirmOverwrite);
    if (!dialog.accepted() || dialog->selectedFiles().isEmpty()) return QString();
    return dialog->selectedFiles().constFirst();
}

std::unique_ptr<TextPrinter> QtPrompts::choosePrinter() {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    Running dialog(new QPrintDialog(printer.get(), parent_));
    if (!dialog.accepted()) return nullptr;
    return std::make_unique<QtTextPrinter>(std::move(printer));
}

void QtPrompts::endProgram(int status) {
    for (QWidget* window : QApplication::topLevelWidgets())
        window->hide();
    QCoreApplication::exit(status);
}

QString CommonDialog::remember(const QString& chosen) {
    if (!chosen.isEmpty()) initDir = QFileInfo(chosen).absolutePath();
    return chosen;
}

void CommonDialog::prepare(const QString& folder, const QString& name, const QString& fileFilter,
                           bool confirm) {
    if (!folder.isEmpty()) initDir = folder;
    fileName = name;
    filter = fileFilter;
    confirmOverwrite = confirm;
}

QString CommonDialog::showOpen() {
    return remember(prompts_.openFile(FileRequest{initDir, fileName, filter, false}));
}

QString CommonDialog::showSave() {
    QString chosen = prompts_.saveFile(FileRequest{initDir, fileName, filter, confirmOverwrite});
    const QString extension = filterExtension(filter);
    if (!chosen.isEmpty() && QFileInfo(chosen).suffix().isEmpty() && !extension.isEmpty()) {
        if (!chosen.endsWith('.')) chosen += '.';
        chosen += extension;
    }
    return remember(chosen);
}

}  // namespace tl
