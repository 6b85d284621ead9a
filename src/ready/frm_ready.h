// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <memory>
#include <optional>
#include <vector>

#include <QWidget>

#include "checks/class_advice.h"
#include "checks/class_problems.h"

class QLabel;
class QListWidget;

namespace tl {

struct Workspace;
struct Edit;
class SizedLines;

// Ready for the Office: every problem of the open class in one list, beside
// the main window, and the advice below it. Enter or a double click on a line
// asks the main window to go to its cell. While the teacher works in another
// window the lists change without taking the keyboard or moving a screen
// reader to a line.
class frmReady : public QWidget {
    Q_OBJECT
  public:
    explicit frmReady(const Workspace& ws, QWidget* parent = nullptr);
    ~frmReady() override;

    // The list rebuilt from the class; the chosen line stays where it can.
    void refresh();
    // After a change of the class: the lines of the students it changed are
    // made anew, the others stay; a change of the whole class or the ranges
    // rebuilds the list.
    void apply(const Edit& edit);
    QSize sizeHint() const override;

  signals:
    // A problem or a note was chosen: the student's index and its cell (a
    // problemcell value).
    void problemChosen(int student, int cell);

  private:
    const Workspace& ws_;
    // Replaces the lines of one student with its problems, or its notes, now.
    void replaceStudent(int student);
    void replaceNotes(int student);
    // The count above a list, also the list's description for screen readers.
    void showCounts();
    std::vector<ClassProblem> problems_;  // by student, as the lines
    std::vector<AdviceNote> notes_;       // by student, as the advice lines
    // The class's names and the ranges' codes, built again when the whole
    // class or the ranges change.
    std::optional<NameIndex> names_;
    std::optional<RangeIndex> ranges_;
    // The students grouped by their comments, built again with the class.
    std::optional<ClassAdvice> advice_;
    QLabel* lblProblemCount;
    QListWidget* lstProblems;
    QLabel* lblAdviceCount;
    QListWidget* lstAdvice;
    // Each list's lines with their sizes given.
    std::unique_ptr<SizedLines> problemSizes_;
    std::unique_ptr<SizedLines> adviceSizes_;
};

}  // namespace tl
