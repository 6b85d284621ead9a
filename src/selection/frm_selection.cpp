// SPDX-License-Identifier: GPL-3.0-or-later

#include "selection/frm_selection.h"

#include <QAbstractListModel>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <array>
#include <cmath>
#include <ctime>

#include "core/favourites_file.h"
#include "core/limits.h"
#include "core/messages.h"
#include "core/phrase_library.h"
#include "core/workspace.h"
#include "favourites/favourites_commands.h"
#include "favourites/favourites_text.h"
#include "platform/accessibility.h"
#include "platform/encoding.h"
#include "platform/kept_text.h"
#include "platform/locations.h"
#include "platform/prompts.h"
#include "platform/text_printer.h"
#include "platform/widgets.h"
#include "selection/favourites_list.h"
#include "selection/favourites_printout.h"
#include "selection/phrase_search.h"

namespace tl {

namespace {

constexpr int kDesignedWidth = 1180;
constexpr int kDesignedHeight = 720;
constexpr int kSmallScreenCut = 168;  // 2520 twips

void fillCombo(QComboBox* combo, std::span<const SearchCategory> items) {
    for (const SearchCategory& category : items)
        combo->addItem(category.item);
}

}  // namespace

// The result list's rows, made when shown: a search that lists the whole
// library fills the list without building ten thousand items. Every row
// reports the widest row measured, which the view takes as its scroll extent.
class SearchResultsModel : public QAbstractListModel {
  public:
    SearchResultsModel(const std::vector<Phrase>& phrases, QObject* parent)
        : QAbstractListModel(parent), phrases_(phrases), widths_(phrases.size(), -1) {}

    void setResults(std::vector<int> positions, const QFontMetrics& metrics) {
        beginResetModel();
        positions_ = std::move(positions);
        ItemWidths widths(metrics);
        extent_ = 0;
        for (const int position : positions_)
            extent_ = std::max(extent_, width(position, widths));
        rowHeight_ = metrics.height() + 2;
        endResetModel();
    }
    // The phrase code shown in a row.
    std::string code(int row) const {
        return phrases_[static_cast<std::size_t>(positions_[static_cast<std::size_t>(row)] - 1)]
            .code;
    }
    int rowCount(const QModelIndex& parent = QModelIndex()) const override {
        return parent.isValid() ? 0 : static_cast<int>(positions_.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= rowCount()) return {};
        if (role == Qt::DisplayRole)
            return itemText(positions_[static_cast<std::size_t>(index.row())]);
        if (role == Qt::SizeHintRole) return QSize(extent_, rowHeight_);
        return {};
    }

  private:
    QString itemText(int position) const {
        return toQString(searchResultItemText(phrases_[static_cast<std::size_t>(position - 1)]));
    }
    // Measured once per phrase and kept.
    int width(int position, ItemWidths& widths) {
        int& kept = widths_[static_cast<std::size_t>(position - 1)];
        if (kept < 0)
            kept = widths.extentOf(
                searchResultItemText(phrases_[static_cast<std::size_t>(position - 1)]));
        return kept;
    }

    const std::vector<Phrase>& phrases_;
    std::vector<int> widths_;
    std::vector<int> positions_;
    int extent_ = 0;
    int rowHeight_ = 16;
};

frmSelection::frmSelection(Workspace& ws, Prompts& prompts, const Locations& locations,
                           QWidget* parent)
    : QMainWindow(parent),
      ws_(ws),
      prompts_(prompts),
      locations_(locations),
      cdlgFavourites_(std::make_unique<CommonDialog>(prompts)),
      favouritesCommands_(std::make_unique<FavouritesFileCommands>(
          ws, prompts, locations, FavouritesStart::HomeHoldsFile, *cdlgFavourites_)) {
    setObjectName("frmSelection");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(pictureIcon(":/tallyleaf.png"));
    buildMenus();
    auto* central = new QWidget(this);
    setCentralWidget(central);
    auto* favouritesHalf = new QWidget(central);
    auto* searchHalf = new QWidget(central);
    buildFavourites(favouritesHalf);
    buildSearch(searchHalf);
    auto* halves = new QHBoxLayout(central);
    halves->addWidget(favouritesHalf, 1);
    halves->addWidget(searchHalf, 1);
    // The search from its criteria to its results, the favourites list with
    // its editing buttons, the file buttons, and Back.
    chainTabOrder({cmbMarkCat,      cmbCommentCat, cmbLS,   cmbDept,   txtAnd1,
                   txtAnd2,         txtOr,         txtNot,  cmdSearch, chkNoDups,
                   lstComments,     lstFavourites, cmdUp,   cmdDown,   cmdDeleteFavourite,
                   cmdInsertDashes, cmdNew,        cmdOpen, cmdSave,   cmdSaveAs,
                   cmdPrint,        cmdWrite,      cmdBack});
    // Escape leaves as Back does, saving the list.
    onEscape(this, [this] { close(); });
    fitToScreen(this, QSize(kDesignedWidth, kDesignedHeight));
}

void frmSelection::buildMenus() {
    const auto ctrl = [](Qt::Key key) { return QKeySequence(Qt::CTRL | key); };
    mnuFile = addMenu(menuBar(), "mnuFile", "&File");
    mnuNew = addMenuItem(mnuFile, "mnuNew", "&New Favourites", ctrl(Qt::Key_N), [this] {
        if (savePrompt()) newFavourites();
    });
    mnuOpen = addMenuItem(mnuFile, "mnuOpen", "&Open Favourites", ctrl(Qt::Key_O), [this] {
        if (savePrompt()) openFavourites();
    });
    mnuAddToFavourites = addMenuItem(mnuFile, "mnuAddToFavourites", "A&dd to Favourites", {},
                                     [this] { addToFavourites(); });
    mnuFile->addSeparator();
    mnuSave = addMenuItem(mnuFile, "mnuSave", "&Save Favourites", ctrl(Qt::Key_S),
                          [this] { saveFavourites(); });
    mnuSaveAs = addMenuItem(mnuFile, "mnuSaveAs", "Save&As Favourites", ctrl(Qt::Key_A),
                            [this] { saveAsFavourites(); });
    mnuFile->addSeparator();
    mnuPrint =
        addMenuItem(mnuFile, "mnuPrint", "&Print", ctrl(Qt::Key_P), [this] { PrintFavourites(); });
    mnuFile->addSeparator();
    mnuExit = addMenuItem(mnuFile, "mnuExit", "E&xit", {}, [this] { close(); });
    openMenuBarOnF10(this);
}

void frmSelection::buildSearch(QWidget* half) {
    auto* criteria = new QGroupBox("Search Criteria: Select All That Apply", half);
    auto* lists = new QGridLayout(criteria);
    const struct {
        QComboBox** combo;
        const char* name;
        const char* label;
        std::span<const SearchCategory> items;
    } combos[] = {{&cmbMarkCat, "cmbMarkCat", "Grade/Stream", gradeStreamCategories()},
                  {&cmbCommentCat, "cmbCommentCat", "Category", commentCategories()},
                  {&cmbLS, "cmbLS", "Learning Skill", learningSkillCategories()},
                  {&cmbDept, "cmbDept", "Department ", departmentCategories()}};
    int slot = 0;
    for (const auto& c : combos) {
        *c.combo = new KeptSizeCombo(criteria);
        (*c.combo)->setObjectName(c.name);
        auto* label = new QLabel(c.label, criteria);
        nameByLabel(label, *c.combo);
        (*c.combo)->setMaxVisibleItems(20);
        fillCombo(*c.combo, c.items);
        lists->addWidget(label, (slot / 2) * 2, slot % 2);
        lists->addWidget(*c.combo, (slot / 2) * 2 + 1, slot % 2);
        ++slot;
    }

    auto* keywords = new QGroupBox("Keyword Search", half);
    auto* words = new QHBoxLayout(keywords);
    QFont bracketFont = font();
    bracketFont.setBold(true);
    bracketFont.setPointSize(bracketFont.pointSize() * 2);
    const auto bracket = [&](const char* text) {
        auto* label = new QLabel(text, keywords);
        label->setFont(bracketFont);
        return label;
    };
    const auto wordBox = [&](const char* name, const char* spoken) {
        auto* box = new QLineEdit(keywords);
        box->setObjectName(name);
        nameControl(box, spoken);
        box->setMinimumWidth(box->fontMetrics().horizontalAdvance(QString(10, 'x')));
        // Enter searches, as the Search button does.
        connect(box, &QLineEdit::returnPressed, this, [this] { cmdSearch->click(); });
        return box;
    };
    txtAnd1 = wordBox("txtAnd1", "First word");
    txtAnd2 = wordBox("txtAnd2", "AND word");
    txtOr = wordBox("txtOr", "OR word");
    txtNot = wordBox("txtNot", "NOT word");
    // The word before a box is its label.
    const auto wordLabel = [&](const char* text, QLineEdit* box) {
        auto* label = new QLabel(text, keywords);
        label->setBuddy(box);
        return label;
    };
    words->addWidget(bracket("("));
    words->addWidget(txtAnd1, 1);
    words->addWidget(wordLabel("AND", txtAnd2));
    words->addWidget(txtAnd2, 1);
    words->addWidget(bracket(")"));
    words->addWidget(wordLabel("OR", txtOr));
    words->addWidget(txtOr, 1);
    words->addWidget(wordLabel("and NOT", txtNot));
    words->addWidget(txtNot, 1);

    cmdSearch = textButton(half, "cmdSearch", "&Search", [this] { loadCommentList(); });
    chkNoDups = new QCheckBox("&Don't Show Dups", half);
    chkNoDups->setObjectName("chkNoDups");
    chkNoDups->setChecked(true);
    chkNoDups->hide();
    auto* hint = new QLabel("Double click a comment to move it to Favourites", half);

    lstComments = new QListView(half);
    lstComments->setObjectName("lstComments");
    nameControl(lstComments, "Search results");
    lstComments->setAccessibleDescription(hint->text());
    lstComments->setUniformItemSizes(true);
    lstComments->setItemDelegate(new KeptTextItems(lstComments));
    lstComments->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lstComments->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    results_ = new SearchResultsModel(ws_.phrases, lstComments);
    lstComments->setModel(results_);
    connect(lstComments, &QListView::doubleClicked, this,
            [this](const QModelIndex& index) { lstComments_DblClick(index.row()); });
    // Enter on a result adds it too, for a teacher at the keyboard.
    lstComments->installEventFilter(this);

    auto* layout = new QVBoxLayout(half);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(criteria);
    layout->addWidget(keywords);
    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(cmdSearch);
    searchRow->addWidget(hint, 1);
    layout->addLayout(searchRow);
    layout->addWidget(lstComments, 1);
}

void frmSelection::buildFavourites(QWidget* half) {
    lblFavouriteFile = new ElidedLabel("Favourite List: ", half);
    lblFavouriteFile->setObjectName("lblFavouriteFile");
    lstFavourites = new QListWidget(half);
    lstFavourites->setObjectName("lstFavourites");
    nameControl(lstFavourites, "Favourite List");
    lstFavourites->setItemDelegate(new KeptTextItems(lstFavourites));
    lblFavouriteFile->setBuddy(lstFavourites);
    lstFavourites->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    lstFavourites->setMinimumWidth(
        lstFavourites->fontMetrics().horizontalAdvance(QString(30, 'x')));
    lstFavourites->viewport()->installEventFilter(this);

    const auto standard = [this](QPushButton* button, QStyle::StandardPixmap pixmap) {
        button->setIcon(standardIcon(this, pixmap));
        return button;
    };
    cmdNew = pictureButton(half, "cmdNew", ":/new_class.png", "New Favourites List", [this] {
        if (savePrompt()) newFavourites();
    });
    cmdOpen = pictureButton(half, "cmdOpen", ":/open_favourites.png", "OpenFavourites", [this] {
        if (savePrompt()) openFavourites();
    });
    cmdSave = pictureButton(half, "cmdSave", ":/save_class.png", "Save Favourites",
                            [this] { saveFavourites(); });
    cmdSaveAs = standard(
        pictureButton(half, "cmdSaveAs", "", "Save As Favourites", [this] { saveAsFavourites(); }),
        QStyle::SP_DialogSaveButton);
    cmdPrint = pictureButton(half, "cmdPrint", ":/print_class.png", "Print Favourites",
                             [this] { PrintFavourites(); });
    cmdUp = standard(pictureButton(half, "cmdUp", "", "Move Comment Up in the List",
                                   [this] { moveSelected(moveFavouriteUp); }),
                     QStyle::SP_ArrowUp);
    cmdDown = standard(pictureButton(half, "cmdDown", "", "Move Comment Down in the List",
                                     [this] { moveSelected(moveFavouriteDown); }),
                       QStyle::SP_ArrowDown);
    cmdDeleteFavourite =
        standard(pictureButton(half, "cmdDeleteFavourite", "", "Remove Comment from Favourites",
                               [this] { cmdDeleteFavourite_Click(); }),
                 QStyle::SP_DialogDiscardButton);
    cmdInsertDashes =
        textButton(half, "cmdInsertDashes", "&-----", [this] { cmdInsertDashes_Click(); });
    cmdInsertDashes->setToolTip("Insert Separator into List");
    cmdBack = standard(
        pictureButton(half, "cmdBack", "", "Back to Mark / Comment Entry", [this] { close(); }),
        QStyle::SP_ArrowBack);
    cmdWrite = textButton(half, "cmdWrite", "&Write", [this] { cmdWrite_Click(); });
    cmdWrite->hide();

    auto* buttons = new QVBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{cmdNew, cmdOpen, cmdSave, cmdSaveAs, cmdPrint,
                                                      nullptr, cmdUp, cmdDown, cmdDeleteFavourite,
                                                      cmdInsertDashes, nullptr, cmdBack}) {
        if (w == nullptr) {
            buttons->addStretch(1);
        } else {
            buttons->addWidget(w);
        }
    }
    auto* listAndButtons = new QHBoxLayout;
    listAndButtons->addLayout(buttons);
    listAndButtons->addWidget(lstFavourites, 1);
    auto* layout = new QVBoxLayout(half);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(lblFavouriteFile);
    layout->addLayout(listAndButtons, 1);
}

void frmSelection::Form_Load() {
    setWindowTitle(QString("Tallyleaf v") + kVersion + " ~ Comment Selection");
    for (QComboBox* combo : {cmbMarkCat, cmbCommentCat, cmbLS, cmbDept})
        combo->setCurrentIndex(0);
    if (screenIsSmall()) fitToScreen(this, QSize(width(), kDesignedHeight - kSmallScreenCut));
    show();
    txtAnd1->setFocus();  // ready to search by a word
    if (!ws_.favouritesFile.empty() || ws_.favouriteCount() > 0) {
        showFavourites();
    } else {
        newFavourites();
    }
    dragging_ = false;
}

void frmSelection::loadCommentList() {
    SearchCriteria criteria;
    criteria.markCat = cmbMarkCat->currentIndex();
    criteria.commentCat = cmbCommentCat->currentIndex();
    criteria.learningSkill = cmbLS->currentIndex();
    criteria.dept = cmbDept->currentIndex();
    criteria.and1 = fromQString(txtAnd1->text());
    criteria.and2 = fromQString(txtAnd2->text());
    criteria.orText = fromQString(txtOr->text());
    criteria.notText = fromQString(txtNot->text());
    criteria.noDups = chkNoDups->isChecked();
    results_->setResults(search(ws_.phrases, criteria), lstComments->fontMetrics());
}

void frmSelection::lstComments_DblClick(int row) {
    if (row < 0 || row >= results_->rowCount()) return;
    const std::optional<int> added =
        insertFavourite(ws_.favourites, selectedFavourite(), results_->code(row));
    if (!added) {
        prompts_.message(msg::favouritesFull());
        return;
    }
    insertItem(*added, ws_.favourites[static_cast<std::size_t>(*added)]);
    selectFavourite(*added);
}

void frmSelection::showFavourites() {
    lblFavouriteFile->setText("Favourite List: " + fromPath(ws_.favouritesFile));
    std::vector<std::string> items;
    items.reserve(ws_.favourites.size());
    for (const std::string& entry : ws_.favourites)
        items.push_back(favouriteItemText(ws_.phrases, entry));
    setListItems(lstFavourites, items, lstFavourites->fontMetrics().height() + 2);
}

void frmSelection::insertItem(int row, const std::string& entry) {
    const std::string text = favouriteItemText(ws_.phrases, entry);
    auto* item = new QListWidgetItem(toQString(text));
    // Each item's width, so that a long phrase widens the scroll extent.
    const QFontMetrics metrics = lstFavourites->fontMetrics();
    if (!itemWidths_) itemWidths_ = std::make_unique<ItemWidths>(metrics);
    item->setSizeHint(QSize(itemWidths_->extentOf(text), metrics.height() + 2));
    lstFavourites->insertItem(row, item);
}

int frmSelection::selectedFavourite() const {
    const QList<QListWidgetItem*> selected = lstFavourites->selectedItems();
    return selected.isEmpty() ? -1 : lstFavourites->row(selected.first());
}

void frmSelection::selectFavourite(int row) {
    if (row < 0) {
        lstFavourites->clearSelection();
        lstFavourites->setCurrentRow(-1);
        return;
    }
    lstFavourites->setCurrentRow(row);
    lstFavourites->scrollToItem(lstFavourites->item(row));
}

void frmSelection::cmdDeleteFavourite_Click() {
    const int selected = selectedFavourite();
    if (selected < 0) return;
    const int next = removeFavourite(ws_.favourites, selected);
    delete lstFavourites->takeItem(selected);
    selectFavourite(next);
}

void frmSelection::moveSelected(int (*move)(std::vector<std::string>&, int)) {
    const int selected = selectedFavourite();
    if (selected < 0) return;
    const int moved = move(ws_.favourites, selected);
    if (moved == selected) return;
    lstFavourites->insertItem(moved, lstFavourites->takeItem(selected));
    selectFavourite(moved);
}

void frmSelection::cmdInsertDashes_Click() {
    const std::optional<int> added = insertSeparator(ws_.favourites, selectedFavourite());
    if (!added) {
        prompts_.message(msg::favouritesFull());
        return;
    }
    insertItem(*added, kSeparatorEntry);
    selectFavourite(*added);
}

void frmSelection::dragTo(int row) {
    if (row < 0 || row == dragged_ || dragged_ < 0 || dragged_ >= lstFavourites->count()) return;
    const int now = moveFavourite(ws_.favourites, dragged_, row);
    lstFavourites->insertItem(now, lstFavourites->takeItem(dragged_));
    selectFavourite(now);
    dragged_ = now;
}

bool frmSelection::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lstComments && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) &&
            lstComments->currentIndex().isValid()) {
            lstComments_DblClick(lstComments->currentIndex().row());
            return true;
        }
    }
    if (watched != lstFavourites->viewport()) return QMainWindow::eventFilter(watched, event);
    // Dragging an entry: pressed on it, it follows the mouse while the button
    // is held, and stays where the button is let go.
    switch (event->type()) {
        case QEvent::MouseButtonPress: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() != Qt::LeftButton) break;
            const QModelIndex at = lstFavourites->indexAt(mouse->position().toPoint());
            dragging_ = true;
            dragged_ = at.isValid() ? at.row() : selectedFavourite();
            break;
        }
        case QEvent::MouseMove: {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (!dragging_ || !(mouse->buttons() & Qt::LeftButton)) break;
            dragTo(lstFavourites->indexAt(mouse->position().toPoint()).row());
            return true;
        }
        case QEvent::MouseButtonRelease:
            dragging_ = false;
            break;
        default:
            break;
    }
    return QMainWindow::eventFilter(watched, event);
}

bool frmSelection::savePrompt() {
    return favouritesCommands_->savePrompt();
}

void frmSelection::newFavourites() {
    tl::newFavourites(ws_);
    lblFavouriteFile->setText("Favourite List: ");
    lstFavourites->clear();
}

void frmSelection::openFavourites() {
    // Cancelling the dialog discards the list too.
    if (!favouritesCommands_->open()) newFavourites();
    showFavourites();
}

void frmSelection::addToFavourites() {
    favouritesCommands_->add();
    showFavourites();
}

void frmSelection::saveFavourites() {
    if (ws_.favouritesFile.empty()) {
        saveAsFavourites();
    } else {
        favouritesCommands_->save();
    }
}

bool frmSelection::saveAsFavourites() {
    const bool written = favouritesCommands_->saveAs();
    lblFavouriteFile->setText("Favourite List: " + fromPath(ws_.favouritesFile));
    return written;
}

void frmSelection::PrintFavourites() {
    std::unique_ptr<TextPrinter> printer = prompts_.choosePrinter();
    if (!printer) return;
    const std::time_t now = locations_.now();
    std::tm local{};
    localtime_r(&now, &local);
    printLines(*printer, favouritesPrintout(ws_, local));
}

void frmSelection::cmdWrite_Click() {
    if (const Failure failure =
            writeSortedPhraseLibrary(locations_.programFolderPath(), ws_.phrases)) {
        prompts_.message(*failure);
    }
}

void frmSelection::leaveForm() {
    if (left_) return;
    left_ = true;
    // An empty list is not saved, even when it has a file.
    if (ws_.favouriteCount() > 0) favouritesCommands_->saveOnLeaving(UnnamedList::AskForName);
    emit left();
}

void frmSelection::closeEvent(QCloseEvent* event) {
    if (dialogRunning(this)) {
        event->ignore();
        return;
    }
    leaveForm();
    event->accept();
}

frmSelection::~frmSelection() = default;

}  // namespace tl
