// SPDX-License-Identifier: GPL-3.0-or-later

// The main window's class commands: new, open, save, print, sort, leaving the
// program and the offer of a class left after a crash.
#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <ctime>

#include "core/class_document.h"
#include "core/class_file.h"
#include "core/messages.h"
#include "core/sorting.h"
#include "core/text.h"
#include "core/workspace.h"
#include "entry/class_report.h"
#include "entry/frm_entry.h"
#include "import/frm_get_trilliumfile.h"
#include "platform/encoding.h"
#include "platform/locations.h"
#include "platform/prompts.h"
#include "platform/recovery.h"
#include "platform/text_printer.h"
#include "platform/widgets.h"

namespace tl {

namespace {

const char* const kClassFilter = "Tallyleaf Classes (*.tlc)|*.tlc";

}  // namespace

void frmEntry::offerRecovery() {
    for (const LeftCopy& copy : leftCopies(locations_.recoveryFolder)) {
        std::vector<StudentRecord> students;
        if (openClass(toPath(copy.path), students)) {
            // Kept for a closer look, and said once.
            prompts_.message(
                msg::tl23RecoveryCopyUnreadable(fromQString(setAsideUnreadable(copy.path))));
            continue;
        }
        const bool restore = prompts_.askYesNo(
            restoreQuestion(toQString(students[0].classCode), copy.written), "Tallyleaf");
        if (!restore) {
            QFile::remove(copy.path);
            continue;
        }
        // The class comes back unsaved: this program keeps its own copy of it now.
        apply(ws_.doc.restoreClass(std::move(students)));
        startTyping();
        if (!recovery_->takeOver(copy.path))
            prompts_.message(msg::tl24RecoveryCopyNotRemoved(fromQString(copy.path)));
        return;
    }
}

QString frmEntry::classFolder() const {
    // Until a class file has been chosen, class dialogs start at home.
    return firstDialog_ && locations_.homePresent() ? locations_.homeFolder : QString();
}

bool frmEntry::saveas() {
    if (ws_.studentCount() < 1) return false;
    cdlgGetFile_->prepare(classFolder(), toQString(alphanumericOnly(ws_.doc.student(0).classCode)),
                          kClassFilter, true);
    const QString chosen = cdlgGetFile_->showSave();
    if (chosen.isEmpty()) return false;
    firstDialog_ = false;
    const SaveResult saved = saveClass(toPath(chosen), ws_.students());
    if (saved.notice) prompts_.message(*saved.notice);
    if (!saved.written()) return false;
    ws_.doc.markSaved();
    recovery_->keepUp();
    std::tm local{};
    const std::time_t now = locations_.now();
    localtime_r(&now, &local);
    showStatus(QString("Saved %1 at %2:%3 (%4).")
                   .arg(QFileInfo(chosen).fileName())
                   .arg(local.tm_hour, 2, 10, QChar('0'))
                   .arg(local.tm_min, 2, 10, QChar('0'))
                   .arg(studentsCount(ws_.studentCount())));
    return true;
}

bool frmEntry::offerSave(const char* question, const char* title) {
    if (ws_.studentCount() < 1 || !prompts_.askYesNo(question, title)) return true;
    // Yes and then a cancelled dialog or a failed write: the class stays.
    return saveas();
}

bool frmEntry::leave() {
    if (leaving_) return true;
    if (dialogRunning(this)) return false;
    if (!offerSave("Do you want to save the class?", "Exit Tallyleaf")) return false;
    leaving_ = true;
    recovery_->discard();
    QApplication::closeAllWindows();
    QCoreApplication::quit();
    return true;
}

void frmEntry::newTrillium() {
    if (!offerSave("Do you want to save the current class?", "Load New Trillium Class")) return;
    // A picker still loaded is not loaded again; after a read failure it stays hidden.
    if (!classPicker.isNull()) {
        if (!classPicker->readFailed()) {
            classPicker->raise();
            classPicker->activateWindow();
        }
        return;
    }
    classPicker = new frmGetTrilliumfile(ws_, prompts_, locations_, this);
    classPicker->installEventFilter(this);
    connect(classPicker, &frmGetTrilliumfile::classBuilt, this, &frmEntry::classBuilt);
    placeBeside(classPicker, this);
    classPicker->Form_Load();
}

void frmEntry::OpenClassFile() {
    if (!offerSave("Do you want to save the current class?", "Open New Class")) return;
    cdlgGetFile_->prepare(classFolder(), {}, kClassFilter, false);
    const QString chosen = cdlgGetFile_->showOpen();
    if (!chosen.isEmpty()) {
        firstDialog_ = false;
        std::vector<StudentRecord> opened;
        if (const Failure failure = openClass(toPath(chosen), opened)) {
            // The class that was open stays open.
            prompts_.message(*failure);
        } else {
            apply(ws_.doc.replaceClass(std::move(opened)));
            startTyping();
            showStatus(QString("Opened %1 (%2).")
                           .arg(QFileInfo(chosen).fileName(), studentsCount(ws_.studentCount())));
        }
    }
    if (ws_.studentCount() > 0) enableClassCommands(true);
}

void frmEntry::cmdSave_Click() {
    if (ws_.studentCount() < 1) return;
    apply(ws_.doc.reorder(sortByName));
    saveas();
}

void frmEntry::sortCommand(void (*sort)(std::vector<StudentRecord>&), const QString& done) {
    if (ws_.studentCount() < 1) return;
    apply(ws_.doc.reorder(sort));
    showStatus(done);
}

void frmEntry::printClassReport() {
    if (ws_.studentCount() < 1) return;
    std::unique_ptr<TextPrinter> printer = prompts_.choosePrinter();
    if (!printer) return;
    printer->setLandscape();
    printer->setFont(QString(), 10);
    printer->printLine("");
    printer->setFont("Courier New", 12);
    printer->printLine("");
    const std::time_t now = locations_.now();
    std::tm local{};
    localtime_r(&now, &local);
    printer->printLine(toQString(classReportHeading(local)));
    printer->setFontSize(9);
    printer->printLine("");
    const auto pages = classReportPages(ws_.students(), ws_.phrases, showingCourse());
    for (std::size_t p = 0; p < pages.size(); ++p) {
        if (p > 0) printer->newPage();
        for (const ReportBlock& block : pages[p]) {
            // The panel follows the report, with its length warning.
            if (block.student >= 0) displayDetails(block.student);
            for (const std::string& line : block.lines)
                printer->printLine(toQString(line));
            if (!printer->ok()) return;
        }
    }
    printer->endDoc();
    if (printer->ok()) displayDetails(0);
}

}  // namespace tl
