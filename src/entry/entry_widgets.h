// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <array>

#include "entry/detail_lines.h"

class QListWidget;
class QPushButton;

namespace tl {

// The mark editor laid over a MRK cell: it holds a mark up to 100 or "I" as
// the teacher types, and Enter commits it.
class MarkEditor : public QLineEdit {
    Q_OBJECT
  public:
    explicit MarkEditor(QWidget* parent);
    // Opens the editor over the cell with the text a key on the grid gives.
    void open(const QRect& cell, const QString& text);

  signals:
    void committed();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;

  private:
    bool keyPressedHere_ = false;
};

// The transparent label laid over the detail panel (lblFreeFormComment): a
// click, or Enter or F2 while it has the keyboard, asks for a free-form
// comment. Screen readers see a button with a press action.
class PanelButton : public QLabel {
    Q_OBJECT
  public:
    explicit PanelButton(QWidget* parent);
    void press() { emit clicked(); }

  signals:
    void clicked();

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

// The detail panel below the grid (Shape1): five lines of the current student
// in a fixed-pitch font, and a transparent label over them that takes the
// click for a free-form comment.
class DetailPanel : public QFrame {
    Q_OBJECT
  public:
    explicit DetailPanel(QWidget* parent);
    void showDetails(const DetailLines& details);
    void clearLines();
    std::array<QLabel*, 5> lines{};        // lblDetail1 to lblDetail5
    PanelButton* freeFormLabel = nullptr;  // lblFreeFormComment

  signals:
    void clicked();

  protected:
    void resizeEvent(QResizeEvent* event) override;

  private:
    static constexpr double kLargestPointSize = 9.75;
    static constexpr double kSmallestPointSize = 6.5;
    static constexpr int kWidestLine = 123;  // characters, with course codes
    void fitFont(double pointSize);
};

// The list beside the grid (favourites, or the learning skills reference in
// the skills view) under its label, and the switch to Comment Selection.
class ListPanel : public QWidget {
    Q_OBJECT
  public:
    explicit ListPanel(QWidget* parent);
    // The favourites list items under "Favourite List: " and the file's path.
    void showFavourites(const QString& file, const std::vector<std::string>& items);
    void showLearningSkills();
    QLabel* fileLabel;            // lblFavouriteFile
    QListWidget* favourites;      // lstFavourites
    QListWidget* learningSkills;  // lstLearningSkills
    QPushButton* switchButton;    // cmdSwitchCommentSelection
};

}  // namespace tl
