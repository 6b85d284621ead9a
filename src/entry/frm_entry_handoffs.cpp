// SPDX-License-Identifier: GPL-3.0-or-later

// The main window's hand-offs: the class picker's new class, the class list
// update, the export window, Comment Selection and Initial Values Setup.
#include <QCheckBox>
#include <QLabel>
#include <ctime>

#include "autofill/frm_auto_fill.h"
#include "core/class_document.h"
#include "core/limits.h"
#include "core/messages.h"
#include "core/sorting.h"
#include "core/workspace.h"
#include "entry/entry_widgets.h"
#include "entry/frm_entry.h"
#include "export/frm_export.h"
#include "import/frm_get_trilliumfile.h"
#include "platform/encoding.h"
#include "platform/locations.h"
#include "platform/prompts.h"
#include "selection/frm_selection.h"

namespace tl {

void frmEntry::classBuilt() {
    lblCourse->setText(toQString(ws_.students[0].classCode));
    refreshUndo();
    fillflexGrid();
    if (ws_.studentCount() > 0) enableClassCommands(true);
    startTyping();
    Shape1->clearLines();
    showStatus(QString("New class %1 from the enrolment file (%2).")
                   .arg(toQString(ws_.students[0].classCode), studentsCount(ws_.studentCount())));
}

void frmEntry::mnuUpdate_Click() {
    if (ws_.studentCount() < 1) return;
    if (!prompts_.askYesNo("Update will update your class(s) with the current students. Some "
                           "students may be dropped and others added. This is NECESSARY in order "
                           "to efile an old class. Proceed?",
                           "Update Class List")) {
        return;
    }
    reorderClass(ws_, sortByName);
    const ReconcileResult result =
        reconcileClass(ws_, locations_.masterFile(), locations_.now(), kUpdateListCapacity);
    if (result.refused && result.notice) prompts_.message(*result.notice);
    reorderClass(ws_, sortByName);
    refreshUndo();
    fillflexGrid();
    if (!result.refused)
        showStatus(QString("Class updated from the enrolment file (%1).")
                       .arg(studentsCount(ws_.studentCount())));
}

void frmEntry::mnuExport_Click() {
    if (ws_.studentCount() < 1 || !exportWindow.isNull()) return;
    reorderClass(ws_, sortByName);
    refreshUndo();
    fillflexGrid();
    hide();
    exportWindow = new frmExport(ws_, prompts_, locations_);
    connect(exportWindow, &frmExport::returned, this, &frmEntry::exportReturned);
    prompts_.setParentWindow(exportWindow);
    exportWindow->Form_Load();
}

void frmEntry::exportReturned() {
    prompts_.setParentWindow(this);
    refreshUndo();
    fillflexGrid();
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
    if (ws_.favouritesFile.empty() || ws_.initialValues.empty()) openFavourites();
    if (ws_.favouritesFile.empty() || ws_.initialValues.empty()) {
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

}  // namespace tl
