// SPDX-License-Identifier: GPL-3.0-or-later

// The main window's hand-offs: the class picker's new class, the class list
// update, the export window, Comment Selection, Initial Values Setup, Ready
// for the Office and the about window.
#include <QCheckBox>
#include <QLabel>
#include <QShowEvent>
#include <ctime>

#include "about/frm_help.h"
#include "autofill/frm_auto_fill.h"
#include "checks/class_problems.h"
#include "core/class_document.h"
#include "core/limits.h"
#include "core/messages.h"
#include "core/workspace.h"
#include "entry/entry_widgets.h"
#include "entry/frm_entry.h"
#include "entry/grid_columns.h"
#include "export/frm_export.h"
#include "import/frm_get_trilliumfile.h"
#include "platform/encoding.h"
#include "platform/flex_grid.h"
#include "platform/locations.h"
#include "platform/prompts.h"
#include "ready/frm_ready.h"
#include "selection/frm_selection.h"

namespace tl {

void frmEntry::classBuilt(const Edit& edit) {
    apply(edit);
    startTyping();
    Shape1->clearLines();
    showStatus(
        QString("New class %1 from the enrolment file (%2).")
            .arg(toQString(ws_.doc.student(0).classCode), studentsCount(ws_.studentCount())));
}

void frmEntry::mnuUpdate_Click() {
    if (ws_.studentCount() < 1) return;
    if (!prompts_.askYesNo("Update will update your class(s) with the current students. Some "
                           "students may be dropped and others added. This is NECESSARY in order "
                           "to efile an old class. Proceed?",
                           "Update Class List")) {
        return;
    }
    ReconcileResult result;
    apply(ws_.doc.updateFromEnrolment(locations_.masterFile(), locations_.now(),
                                      kUpdateListCapacity, result));
    if (result.refused && result.notice) prompts_.message(*result.notice);
    if (!result.refused)
        showStatus(QString("Class updated from the enrolment file (%1).")
                       .arg(studentsCount(ws_.studentCount())));
}

void frmEntry::mnuExport_Click() {
    if (ws_.studentCount() < 1 || !exportWindow.isNull()) return;
    hide();
    exportWindow = new frmExport(ws_, prompts_, locations_);
    connect(exportWindow, &frmExport::returned, this, &frmEntry::exportReturned);
    prompts_.setParentWindow(exportWindow);
    exportWindow->Form_Load();
}

void frmEntry::exportReturned(const Edit& edit) {
    prompts_.setParentWindow(this);
    apply(edit);
    show();
    focusMarkCell();
}

void frmEntry::mnuSelection_Click() {
    if (!selectionWindow.isNull()) return;
    hide();
    selectionWindow = new frmSelection(ws_, prompts_, locations_);
    connect(selectionWindow, &frmSelection::left, this, &frmEntry::favouritesWindowLeft);
    prompts_.setParentWindow(selectionWindow);
    selectionWindow->Form_Load();
}

void frmEntry::mnuAutoFill_Click() {
    if (!autoFillWindow.isNull()) return;
    if (ws_.favouritesFile.empty() || ws_.rangeCount() == 0) openFavourites();
    if (ws_.favouritesFile.empty() || ws_.rangeCount() == 0) {
        prompts_.message(msg::tl6AutoFillNeedsFavourites());
        return;
    }
    hide();
    autoFillWindow = new frmAutoFill(ws_, prompts_, locations_);
    connect(autoFillWindow, &frmAutoFill::left, this, &frmEntry::favouritesWindowLeft);
    prompts_.setParentWindow(autoFillWindow);
    autoFillWindow->Form_Load();
}

void frmEntry::favouritesWindowLeft() {
    prompts_.setParentWindow(this);
    showFavourites();
    show();
    if (!ws_.favouritesFile.empty()) {
        optAutoFill->setEnabled(true);
        optAutoFill->setChecked(true);
    }
    focusMarkCell();
}

void frmEntry::mnuhelp_Click() {
    if (helpWindow.isNull()) helpWindow = new frmHelp(this);
    helpWindow->show();
    helpWindow->raise();
}

void frmEntry::mnuReady_Click() {
    if (readyWindow.isNull()) {
        readyWindow = new frmReady(ws_, this);
        readyWindow->setAttribute(Qt::WA_DeleteOnClose);
        connect(readyWindow, &frmReady::problemChosen, this, &frmEntry::goToProblem);
    }
    readyWindow->refresh();
    readyWindow->show();
    readyWindow->raise();
    readyWindow->activateWindow();
}

void frmEntry::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!readyWindow.isNull() && !event->spontaneous()) {
        readyWindow->refresh();
        readyWindow->show();
    }
}

void frmEntry::hideEvent(QHideEvent* event) {
    QMainWindow::hideEvent(event);
    if (!readyWindow.isNull() && !event->spontaneous()) readyWindow->hide();
}

void frmEntry::goToProblem(int student, int cell) {
    if (student < 0 || student >= ws_.studentCount() || isHidden()) return;
    const bool skill = cell >= problemcell::kFirstSkill;
    if (skill != skillsView_) showView(skill);
    msfgClass->setCurrentCell(student + 1, grid::kMark + cell);
    activateWindow();
    raise();
    msfgClass->setFocus(Qt::OtherFocusReason);
}

void frmEntry::goToAdjacentProblem(bool forward) {
    if (ws_.studentCount() < 1) return;
    const std::vector<ClassProblem> problems =
        classProblems(ws_.students(), ws_.phrases, ws_.doc.ranges());
    const int cell = std::clamp(msfgClass->col() - grid::kMark, -1, int(problemcell::kCount));
    const int at = adjacentProblem(problems, msfgClass->row() - 1, cell, forward);
    if (at < 0) {
        showStatus("Nothing left to fix.");
        return;
    }
    const ClassProblem& p = problems[static_cast<std::size_t>(at)];
    goToProblem(p.student, p.cell);
}

}  // namespace tl
