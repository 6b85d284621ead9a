// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QWidget>
#include <ctime>
#include <string>
#include <vector>

#include "core/class_document.h"
#include "core/notice.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace tl {

struct Workspace;
class Prompts;
struct Locations;

// The class picker "Get New Class File": lists the class sections of the
// master class data file and builds a new class from the chosen ones.
class frmGetTrilliumfile : public QWidget {
    Q_OBJECT
  public:
    frmGetTrilliumfile(Workspace& ws, Prompts& prompts, const Locations& locations,
                       QWidget* parent = nullptr);

    // Shows the window and fills the lists; false when the program must end.
    bool Form_Load();

    // True after the master file could not be read: the picker stays hidden.
    bool readFailed() const { return readFailed_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  signals:
    // A new class is in the workspace's table: the edit that put it there.
    void classBuilt(const tl::Edit& edit);

  private:
    bool readFailed_ = false;
    QLabel* lblSelect;
    QComboBox* cboClasses;
    QListWidget* lstMultiSelect;
    QCheckBox* chkMultiCourse;
    QPushButton* cmdGetClass;
    QLabel* lblWarning;
    QListWidget* lsttest;  // diagnostic lines, never shown

    bool fillClassListCombo();
    void chkMultiCourse_Click();
    void cmdGetClass_Click();

    std::vector<std::string> chosenSections() const;
    // The box or the list the sections are chosen in, in the current mode.
    QWidget* sectionsControl() const;
    // A refused choice: its message, then the keyboard back on the sections.
    void refuse(const Notice& notice);

    Workspace& ws_;
    Prompts& prompts_;
    const Locations& locations_;
};

}  // namespace tl
