// SPDX-License-Identifier: GPL-3.0-or-later

// The main window's File > Import Marks...: a markbook's marks, every change
// shown first, set as one edit of the class that one undo takes back.
#include <QCheckBox>
#include <algorithm>

#include "core/class_document.h"
#include "core/workspace.h"
#include "entry/frm_entry.h"
#include "entry/grid_columns.h"
#include "import/frm_import_marks.h"
#include "platform/flex_grid.h"
#include "platform/locations.h"
#include "platform/prompts.h"
#include "platform/recovery.h"
#include "platform/widgets.h"

namespace tl {

namespace {
const QString kMarkbookFilter = "Spreadsheets (*.csv *.txt *.xlsx *.ods)|*.csv;*.txt;*.xlsx;*.ods";
}  // namespace

void frmEntry::mnuImportMarks_Click() {
    if (ws_.studentCount() < 1 || dialogRunning(this)) return;
    if (!markbookDialog_) {
        // The first markbook is looked for at home; later ones where the last one was.
        markbookDialog_ = std::make_unique<CommonDialog>(prompts_);
        if (locations_.homePresent()) markbookDialog_->initDir = locations_.homeFolder;
    }
    markbookDialog_->prepare(QString(), QString(), kMarkbookFilter, false);
    const QString path = markbookDialog_->showOpen();
    if (path.isEmpty()) {
        focusMarkCell();
        return;
    }
    frmImportMarks window(ws_, prompts_, this);
    if (!window.Form_Load(path) || window.exec() != QDialog::Accepted) {
        focusMarkCell();
        return;
    }
    const Edit edit = ws_.doc.importMarks(window.chosenMarks(), optAutoFill->isChecked());
    apply(edit);
    // A whole markbook's marks are worth a recovery copy at once.
    recovery_->keepUp();
    const auto n = static_cast<int>(edit.items.size());
    showStatus((n == 1 ? QString("1 mark") : QString("%1 marks").arg(n)) + " imported from " +
               window.fileName() + ".");
    focusMarkCell();
}

void frmEntry::colourImported(int row, const AutoFillChange& filled) {
    // A cell already in its colour is left alone: a class of changes redraws
    // no cell twice.
    const auto colour = [this, row](int col, Qt::GlobalColor to) {
        if (msfgClass->cellForeColor(row, col) != QColor(to))
            msfgClass->setCellForeColor(row, col, to);
    };
    colour(grid::kMark, Qt::black);
    for (int i = 0; filled.comments && i < 3; ++i)
        colour(grid::kFirstComment + i, Qt::red);
    for (int i = 0; filled.skills && i < grid::kSkillCount; ++i)
        colour(grid::kFirstSkill + i, Qt::red);
}

void frmEntry::showImportedStudent(const Edit& edit) {
    // A flag set from its heading for everyone is neither added nor taken as
    // an undo entry, and leaves the panel as it is.
    const int current = msfgClass->row() - 1;
    if ((edit.undoAdded || edit.undoTaken) &&
        std::find(edit.items.begin(), edit.items.end(), current) != edit.items.end()) {
        displayDetails(current);
    }
}

}  // namespace tl
