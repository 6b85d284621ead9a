// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QMainWindow>
#include <memory>
#include <vector>

class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListView;
class QListWidget;
class QMenu;
class QPushButton;

namespace tl {

struct Workspace;
class Prompts;
struct Locations;
class CommonDialog;
class FavouritesFileCommands;
class SearchResultsModel;
class ItemWidths;

// "Comment Selection": searches the phrase library (right half) and builds,
// orders, saves and prints the favourites list (left half).
class frmSelection : public QMainWindow {
    Q_OBJECT
  public:
    frmSelection(Workspace& ws, Prompts& prompts, const Locations& locations,
                 QWidget* parent = nullptr);
    ~frmSelection() override;

    // The opening sequence: caption, search lists on "All", show, the list.
    void Form_Load();

  signals:
    // The window has been left; the main window takes the list back.
    void left();

  protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void buildMenus();
    void buildSearch(QWidget* half);
    void buildFavourites(QWidget* half);

    // Search
    void loadCommentList();
    void lstComments_DblClick(int row);

    // Favourites list
    void showFavourites();
    void insertItem(int row, const std::string& entry);
    int selectedFavourite() const;
    void selectFavourite(int row);
    void cmdDeleteFavourite_Click();
    void moveSelected(int (*move)(std::vector<std::string>&, int));
    void cmdInsertDashes_Click();
    void dragTo(int row);

    // File commands
    bool savePrompt();
    void newFavourites();
    void openFavourites();
    void addToFavourites();
    void saveFavourites();
    bool saveAsFavourites();
    void PrintFavourites();
    void cmdWrite_Click();
    void leaveForm();

    QMenu* mnuFile;
    QAction* mnuNew;
    QAction* mnuOpen;
    QAction* mnuAddToFavourites;
    QAction* mnuSave;
    QAction* mnuSaveAs;
    QAction* mnuPrint;
    QAction* mnuExit;

    QComboBox* cmbMarkCat;
    QComboBox* cmbCommentCat;
    QComboBox* cmbLS;
    QComboBox* cmbDept;
    QLineEdit* txtAnd1;
    QLineEdit* txtAnd2;
    QLineEdit* txtOr;
    QLineEdit* txtNot;
    QPushButton* cmdSearch;
    QCheckBox* chkNoDups;
    QListView* lstComments;
    SearchResultsModel* results_;

    QLabel* lblFavouriteFile;
    QListWidget* lstFavourites;
    QPushButton* cmdNew;
    QPushButton* cmdOpen;
    QPushButton* cmdSave;
    QPushButton* cmdSaveAs;
    QPushButton* cmdPrint;
    QPushButton* cmdUp;
    QPushButton* cmdDown;
    QPushButton* cmdDeleteFavourite;
    QPushButton* cmdInsertDashes;
    QPushButton* cmdBack;
    QPushButton* cmdWrite;

    Workspace& ws_;
    Prompts& prompts_;
    const Locations& locations_;
    // Declared before what refers to it, so that it is destroyed after.
    std::unique_ptr<CommonDialog> cdlgFavourites_;
    std::unique_ptr<FavouritesFileCommands> favouritesCommands_;
    std::unique_ptr<ItemWidths> itemWidths_;
    bool dragging_ = false;
    int dragged_ = -1;
    bool left_ = false;
};

}  // namespace tl
