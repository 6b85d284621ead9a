// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>
#include <ctime>

class QCheckBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace tl {

struct Workspace;
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
    // The window has closed; the main window redraws and shows itself.
    void returned();

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
    void fillPreview();
    void showNameWarnings();

    Workspace& ws_;
    Prompts& prompts_;
    const Locations& locations_;
    CommonDialog* cdlgGetFile_;
    bool returned_ = false;
};

}  // namespace tl
