#include "platform/prompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

#include "platform/encoding.h"

namespace tl {

QString qtFilter(const QString& filter) {
    return filter.section('|', 0, 0);
}

QString filterExtension(const QString& filter) {
    const QString pattern = filter.section('|', 1, 1);
    const qsizetype dot = pattern.lastIndexOf('.');
    return dot < 0 ? QString() : pattern.mid(dot + 1);
}

void QtPrompts::message(const Notice& notice) {
    QMessageBox box(parent_);
    box.setWindowTitle(toQString(notice.title));
    box.setText(toQString(notice.text));
    switch (notice.icon) {
        case NoticeIcon::Information:
            box.setIcon(QMessageBox::Information);
            break;
        case NoticeIcon::Exclamation:
            box.setIcon(QMessageBox::Warning);
            break;
        case NoticeIcon::Critical:
            box.setIcon(QMessageBox::Critical);
            break;
        case NoticeIcon::None:
            break;
    }
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

bool QtPrompts::askYesNo(const QString& text, const QString& title) {
    return QMessageBox::question(parent_, title, text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::Yes) == QMessageBox::Yes;
}

QString QtPrompts::inputBox(const QString& prompt, const QString& title, const QString& text) {
    QInputDialog dialog(parent_);
    dialog.setObjectName("inputBox");
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setTextValue(text);
    return dialog.exec() == QDialog::Accepted ? dialog.textValue() : QString();
}

QString QtPrompts::openFile(const FileRequest& request) {
    const QString start = QDir(request.initialFolder).filePath(request.fileName);
    return QFileDialog::getOpenFileName(parent_, QString(), start, qtFilter(request.filter),
                                        nullptr, QFileDialog::DontUseNativeDialog);
}

QString QtPrompts::saveFile(const FileRequest& request) {
    QFileDialog dialog(parent_, QString(), request.initialFolder, qtFilter(request.filter));
    // Qt's own dialog adds the extension before it looks for an existing file,
    // so the overwrite question is asked for the name actually written.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(filterExtension(request.filter));
    dialog.selectFile(request.fileName);
    if (!request.confirmOverwrite) dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
    return dialog.selectedFiles().constFirst();
}

std::unique_ptr<TextPrinter> QtPrompts::choosePrinter() {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    QPrintDialog dialog(printer.get(), parent_);
    if (dialog.exec() != QDialog::Accepted) return nullptr;
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
