// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QString>
#include <QWidget>
#include <array>
#include <memory>

#include "autofill/mark_ranges.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace tl {

struct Workspace;
struct Edit;
class Prompts;
struct Locations;
class CommonDialog;
class FavouritesFileCommands;
class FlexGrid;
class RangeDetailLine;
class StampPalette;

// "Initial Values Setup": the mark ranges of the favourites file with their
// comment codes and learning skills, entered, split, merged, stamped, undone
// and printed.
class frmAutoFill : public QWidget {
    Q_OBJECT
  public:
    frmAutoFill(Workspace& ws, Prompts& prompts, const Locations& locations,
                QWidget* parent = nullptr);
    ~frmAutoFill() override;

    // The opening sequence: caption, the favourites list, the grid, range 1.
    void Form_Load();

  signals:
    // The window has been left; the main window takes the favourites back.
    void left();

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void fillflexGrid();
    void writeRow(int row);
    void displayDetails(int range);
    void showFavourites();
    void openFavourites();
    void printInitialValues();
    void leave();
    void escapePressed();
    // Every change of the ranges is shown here, and only here: the rows it
    // names, the details of its range and the undo button; a new table also
    // ends a picked code.
    void apply(const Edit& edit);

    void cmdEnterRanges_Click();
    void cmdSplit_Click();
    void cmdDelete_Click();
    void cmdOpenFavourites_Click();
    void msfgClass_MouseUp(Qt::MouseButton button, int x, int y);
    void msfgClass_MouseMove(int x, int y);
    void lstFavourites_Click();
    QString codeToStamp() const;
    // A left click on a code cell with the code to stamp ("" for none).
    void stampCell(int row, int col, const QString& code);
    void pickUp(int row, int col);
    void cancelPickedCode();
    void refreshUndo();

    FlexGrid* msfgClass;
    QPushButton* cmdEnterRanges;
    QPushButton* cmdSplit;
    QPushButton* cmdDelete;
    QPushButton* cmdUndo;
    QPushButton* cmdPrint;
    QPushButton* cmdOpenFavourites;
    QPushButton* cmdBack;
    QListWidget* lstFavourites;
    QLabel* lblFavouriteFile;
    QListWidget* lstLearningSkills;
    QLabel* Label1;
    QWidget* Shape1;
    std::array<RangeDetailLine*, 3> lblDetail{};

    Workspace& ws_;
    Prompts& prompts_;
    const Locations& locations_;
    // Declared before what refers to it, so that it is destroyed after.
    std::unique_ptr<CommonDialog> cdlgGetFile_;
    std::unique_ptr<FavouritesFileCommands> favouritesCommands_;
    // The favourites list's codes and a code picked up from the grid.
    StampPalette* palette_ = nullptr;
    bool left_ = false;
};

}  // namespace tl
