// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <vector>

#include <QWidget>

#include "checks/class_problems.h"

class QLabel;
class QListWidget;

namespace tl {

struct Workspace;

// Ready for the Office: every problem of the open class in one list, beside
// the main window. Enter or a double click on a line asks the main window to
// go to the problem's cell.
class frmReady : public QWidget {
    Q_OBJECT
  public:
    explicit frmReady(const Workspace& ws, QWidget* parent = nullptr);

    // The list rebuilt from the class; the chosen line stays where it can.
    void refresh();

  signals:
    // A problem was chosen: the student's index and its cell (a problemcell value).
    void problemChosen(int student, int cell);

  private:
    const Workspace& ws_;
    std::vector<ClassProblem> problems_;
    QLabel* lblProblemCount;
    QListWidget* lstProblems;
};

}  // namespace tl
