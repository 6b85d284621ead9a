// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <memory>

#include "core/class_document.h"

#include <QWidget>
#include <ctime>

class QCheckBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace tl {

struct Workspace;
struct StudentComments;
class Prompts;
struct Locations;
class FlexGrid;
class CommonDialog;

// "eFile Confirmation and Verification": reconciles the class with the master
// class list, checks it, previews it and writes the eFile.
class frmExport : public QWidget {
    Q_OBJECT
  public:
    frmExport(Workspace& ws, Prompts& prompts, const Locations& locations,
              QWidget* parent = nullptr);
    ~frmExport() override;

    // The opening sequence: reconcile, check, preview.
    void Form_Load();

  signals:
    // The window has closed; the main window shows what the window changed
    // (the class list update) and shows itself.
    void returned(const tl::Edit& edit);

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    QLabel* lblNameWarnings;
    QListWidget* lstNameWarnings;
    QPlainTextEdit* picOut;
    FlexGrid* msfgClass;
    QPushButton* cmdReturn;
    QCheckBox* chkConfirm;
    QPushButton* cmdExport;

    void chkConfirm_Click();
    void cmdExport_Click();
    void cmdReturn_Click();
    void exportFile();

    void printLines(const std::vector<std::string>& lines);
    // Of the class's comments composed by the export checks.
    void fillPreview(const std::vector<StudentComments>& comments);
    void showNameWarnings(const std::vector<StudentComments>& comments);

    Workspace& ws_;
    Prompts& prompts_;
    const Locations& locations_;
    // Declared before what refers to it, so that it is destroyed after.
    std::unique_ptr<CommonDialog> cdlgGetFile_;
    bool returned_ = false;
    Edit update_;  // what bringing the class into line with the enrolment changed
};

}  // namespace tl
