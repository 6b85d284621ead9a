// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDialog>
#include <vector>

#include "core/class_document.h"
#include "import/mark_import.h"
#include "import/markbook_sheet.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTableWidget;

namespace tl {

struct Workspace;
class Prompts;

// "Import Marks": a markbook's first rows, the columns of the student number,
// the mark and the name, and every change before it is made. Accepted
// (Import), it holds the marks to set; rejected (Cancel, Escape, the close
// box), nothing is decided.
class frmImportMarks : public QDialog {
    Q_OBJECT
  public:
    frmImportMarks(const Workspace& ws, Prompts& prompts, QWidget* parent = nullptr);

    // Reads the markbook at path and presets its columns; false, after the
    // refusal's message, when its marks cannot be imported.
    bool Form_Load(const QString& path);
    // The markbook's file name, as the status line names it.
    const QString& fileName() const { return fileName_; }
    // The marks to set, once Import was pressed.
    const std::vector<MarkForStudent>& chosenMarks() const { return chosen_; }

  private:
    // The preview of the columns chosen, made anew.
    void showPreview();
    void showSummary();
    void cmdImport_Click();
    MarkbookColumns chosenColumns() const;
    std::vector<bool> tickedLines() const;

    QLabel* lblSheet;
    QTableWidget* msfgSheet;
    QLabel* lblNumberColumn;
    QComboBox* cmbNumberColumn;
    QLabel* lblMarkColumn;
    QComboBox* cmbMarkColumn;
    QLabel* lblNameColumn;
    QComboBox* cmbNameColumn;
    QLabel* lblImportSummary;
    QListWidget* lstImportPreview;
    QPushButton* cmdImport;
    QPushButton* cmdCancel;

    const Workspace& ws_;
    Prompts& prompts_;
    QString fileName_;
    MarkbookSheet sheet_;
    std::vector<PreviewLine> lines_;
    std::vector<MarkForStudent> chosen_;
};

}  // namespace tl
