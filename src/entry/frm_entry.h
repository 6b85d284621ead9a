// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <memory>

#include <QMainWindow>
#include <QPointer>

#include "entry/detail_lines.h"

class QAction;
class QColor;
class QCheckBox;
class QFrame;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;

namespace tl {

struct Workspace;
struct Edit;
struct AutoFillChange;
class Prompts;
struct Locations;
class CommonDialog;
class FavouritesFileCommands;
class FlexGrid;
class frmHelp;
class frmGetTrilliumfile;
class frmExport;
class frmSelection;
class frmAutoFill;
class frmReady;
class RecoveryKeeper;
class SharedDictionary;
class MarkEditor;
class DetailPanel;
class ListPanel;
class StampPalette;
struct GridStretch;

// The main window, "Mark / Phrase Entry": the class grid, the detail panel,
// the favourites list and every class command.
class frmEntry : public QMainWindow {
    Q_OBJECT
  public:
    frmEntry(Workspace& ws, Prompts& prompts, const Locations& locations,
             QWidget* parent = nullptr);
    ~frmEntry() override;

    // The load step: start-up window, phrase library, layout, favourites.
    // False when the program must end (the phrase library is missing or corrupt).
    bool Form_Load();

    // The grid redrawn from the class; the detail panel shows the first student.
    void fillflexGrid();
    // Shows a student in the detail panel, with the length warning when due.
    DetailLines displayDetails(int studentIndex);
    // The favourites list beside the grid redrawn from the favourites.
    void showFavourites();

  protected:
    void closeEvent(QCloseEvent* event) override;
    // Ready for the Office hides and comes back with the main window.
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private slots:
    void msfgClass_EnterCell();
    void msfgClass_LeaveCell();
    void msfgClass_KeyPress(int charCode);
    void msfgClass_MouseUp(Qt::MouseButton button, int x, int y);
    void msfgClass_Click();
    void msfgClass_MouseMove(int x, int y);

  private:
    // Menus and their items.
    QMenu* mnuFile;
    QAction* mnuOpenFavourites;
    QAction* mnuNewTrillium;
    QAction* mnuOpenClass;
    QAction* mnuSave;
    QAction* mnuUpdate;
    QAction* mnuImportMarks;
    QAction* mnuPrint;
    QAction* mnuExit;
    QMenu* mnuEdit;
    QAction* mnuUndo;
    QMenu* nmuView;
    QAction* mnuShowCourse;
    QAction* mnuCommentsSkills;
    QAction* mnuInitialValues;
    QAction* mnuReady;
    QMenu* mnuSort;
    QAction* mnuSortNames;
    QAction* mnuSortMarks;
    QAction* mnuSortCourse;
    QMenu* mnuMode;
    QAction* mnuAutoFill;
    QAction* mnuSelection;
    QAction* mnuMark;
    QMenu* mnueFile;
    QAction* mnuExport;
    QAction* mnuhelp;

    // Buttons and controls.
    QPushButton* cmdNew;
    QPushButton* cmdOpen;
    QPushButton* cmdSave;
    QPushButton* cmdPrint;
    QPushButton* cmdUndo;
    QPushButton* cmdOpenFavourites;
    QPushButton* cmdSwitch;
    QPushButton* cmdSwitchCommentSelection;
    QCheckBox* optAutoFill;
    QLabel* lblCourse;
    QLabel* lblClassSize;
    QLabel* lblFavouriteFile;
    QListWidget* lstFavourites;
    QListWidget* lstLearningSkills;
    FlexGrid* msfgClass;
    DetailPanel* Shape1;
    QLabel* lblDetail1;
    QLabel* lblDetail2;
    QLabel* lblDetail3;
    QLabel* lblDetail4;
    QLabel* lblDetail5;
    QLabel* lblFreeFormComment;
    QLabel* lblStatus;         // the status line's text
    QLabel* lblCommentLength;  // the current student's comment length
    QLabel* lblPronouns;       // the current student's pronouns
    MarkEditor* txtDataEntry;  // the mark editor laid over the MRK cell

    bool enterCellEnabled = false;
    bool leaveCellEnabled = false;

    // Grid and detail panel.
    void Highlight();
    void unHighlight();

    // Class commands.
    void newTrillium();
    void OpenClassFile();
    void cmdSave_Click();
    // The Save dialog and the class file; true when the class was saved,
    // false when the dialog was cancelled or the file could not be written.
    bool saveas();
    // Asks whether to save an open class before a command replaces it or the
    // program ends; false when the teacher said Yes and nothing was saved, so
    // that the command stops and the class stays.
    bool offerSave(const char* question, const char* title);
    // Offers to save, then ends the program; false when the class was not
    // saved after Yes and the program stays open so that the class is not lost.
    bool leave();
    void openFavourites();
    void mnuShowCourse_Click();
    void mnuhelp_Click();
    void printClassReport();

    // Every change of the class is shown here, and only here: the rows and
    // cells it names with their colours, the undo commands, the detail panel
    // with the meter and the pronouns, and Ready for the Office.
    void apply(const Edit& edit);
    // The undo commands are available while there is an edit to take back.
    void refreshUndo();

    // Editing in the grid.
    void commitMarkEntry();
    void showLearningSkills();
    void cmdSwitch_Click();
    void lstFavourites_Click();
    void freeFormCommand();
    // True while the grid shows the comment columns.
    bool commentsView() const;
    // Where the pointer takes the stamp or the sizing arrow: the comment
    // columns, or the skill columns in the skills view.
    GridStretch pointerZone() const;
    void startTyping();
    // The keyboard back on the grid, at the current student's MRK cell, so
    // that the next digits typed become a mark.
    void focusMarkCell();
    // A short message at the foot of the window that needs no answer.
    void showStatus(const QString& text);
    // "1 student", "29 students".
    static QString studentsCount(int n);
    // After a crash: offers the classes left in the recovery folder.
    void offerRecovery();
    // The code a left click on a comment cell puts there, or "" when none.
    QString codeToStamp() const;

    // True while "Show Course Codes" is ticked.
    bool showingCourse() const;

    // The about window while it is open.
    QPointer<frmHelp> helpWindow;
    // The class picker while it is loaded (also while hidden after a read failure).
    QPointer<frmGetTrilliumfile> classPicker;
    // The export window while it is open.
    QPointer<frmExport> exportWindow;
    // Comment Selection and Initial Values Setup while they are open.
    QPointer<frmSelection> selectionWindow;
    QPointer<frmAutoFill> autoFillWindow;
    // Ready for the Office while the teacher has it open (closed, it is
    // deleted); it hides while another window takes the main window's place.
    QPointer<frmReady> readyWindow;
    void mnuReady_Click();
    // The student's cell of a problem current, the keyboard on it.
    void goToProblem(int student, int cell);
    // F8 and Shift+F8: the next or previous problem after the current cell.
    void goToAdjacentProblem(bool forward);

    // File > Import Marks...: a markbook's marks, shown first, as one edit.
    void mnuImportMarks_Click();
    // An imported student's row: the mark black, what the auto fill put in red.
    void colourImported(int row, const AutoFillChange& filled);
    // After an import or its undo, the current student's details anew.
    void showImportedStudent(const Edit& edit);
    // Its Open dialog, which keeps the folder of the last markbook.
    std::unique_ptr<CommonDialog> markbookDialog_;

    // Class list update, export and the class picker's result.
    void mnuUpdate_Click();
    void mnuExport_Click();
    void classBuilt(const Edit& edit);
    void exportReturned(const Edit& edit);
    void mnuSelection_Click();
    void mnuAutoFill_Click();
    // Back from Comment Selection or Initial Values Setup: the favourites list
    // is redrawn, and a current favourites file switches the auto fill on.
    void favouritesWindowLeft();

    void buildMenus();
    void buildControls();
    // The View items of the button and check box, and the order of Tab.
    void buildKeys();
    void applySmallScreen();
    // Column widths and frozen columns of the comments view.
    void setGridLayout();
    void enableClassCommands(bool enabled);
    void sortCommand(void (*sort)(std::vector<StudentRecord>&), const QString& done);
    // A student's row redrawn from the record; the columns whose text changed.
    std::vector<int> writeRow(int studentIndex);
    void setGridBackground();
    // Colours the current row's three frozen cells.
    void colourIdentityCells(const QColor& back, const QColor& text);
    // The identity cells' texts of a grid row, by which a student is found again.
    QStringList identityOf(int row) const;
    void buildEditing();
    // A right click on a comment cell picks its code up.
    void pickUp(int row, int col);
    // The pronoun menu of grid row r at a point of the screen; its choice is
    // an edit of that student.
    void showPronounMenu(int r, const QPoint& where);
    // A left click on a comment cell with the code to stamp ("" for none).
    void stampCell(int row, int col, const QString& code);
    void toggleFlagCell(int row, int col);
    // A flag set (on) or cleared for everyone, as from its heading.
    void flagColumnSet(int col, bool on);
    // The keys of the skill and flag cells; true when the key was taken.
    bool msfgClass_KeyDown(const QKeyEvent* key);
    void cancelPickedCode();
    // The comments view (favourites beside the grid) or the skills view.
    void showView(bool skills);
    void readChosenFavourites();
    // Where a class file dialog starts ("" keeps its own folder).
    QString classFolder() const;

    Workspace& ws_;
    Prompts& prompts_;
    const Locations& locations_;
    // Declared before what refers to it, so that it is destroyed after.
    std::unique_ptr<CommonDialog> cdlgGetFile_;
    // Open Favourites, through the dialog class files use too.
    std::unique_ptr<FavouritesFileCommands> favouritesCommands_;
    std::unique_ptr<RecoveryKeeper> recovery_;
    // Canadian English, opened when first needed and kept.
    std::shared_ptr<SharedDictionary> dictionary_;
    bool leaving_ = false;
    // Until a class file has been chosen, class dialogs start at home.
    bool firstDialog_ = true;
    bool skillsView_ = false;
    ListPanel* listPanel_;
    // The favourites list's codes and a code picked up from the grid.
    StampPalette* palette_ = nullptr;
};

}  // namespace tl
