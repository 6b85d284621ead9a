// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>
#include <vector>

#include <QWidget>

#include "checks/class_problems.h"

class QLabel;
class QListWidget;

namespace tl {

struct Workspace;
struct Edit;

// Ready for the Office: every problem of the open class in one list, beside
// the main window. Enter or a double click on a line asks the main window to
// go to the problem's cell.
class frmReady : public QWidget {
    Q_OBJECT
  public:
    explicit frmReady(const Workspace& ws, QWidget* parent = nullptr);

    // The list rebuilt from the class; the chosen line stays where it can.
    void refresh();
    // After a change of the class: the lines of the students it changed are
    // made anew, the others stay; a change of the whole class or the ranges
    // rebuilds the list.
    void apply(const Edit& edit);

  signals:
    // A problem was chosen: the student's index and its cell (a problemcell value).
    void problemChosen(int student, int cell);

  private:
    const Workspace& ws_;
    // Replaces the lines of one student with its problems now.
    void replaceStudent(int student);
    std::vector<ClassProblem> problems_;  // by student, as the lines
    // The class's names and the ranges' codes, built again when the whole
    // class or the ranges change.
    std::optional<NameIndex> names_;
    std::optional<RangeIndex> ranges_;
    QLabel* lblProblemCount;
    QListWidget* lstProblems;
};

}  // namespace tl
