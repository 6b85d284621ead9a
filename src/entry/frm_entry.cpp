// SPDX-License-Identifier: GPL-3.0-or-later

#include "entry/frm_entry.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QShowEvent>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <ctime>

#include "about/frm_help.h"
#include "checks/class_problems.h"
#include "core/class_document.h"
#include "core/class_file.h"
#include "core/favourites_file.h"
#include "core/messages.h"
#include "core/phrase_library.h"
#include "core/pronouns.h"
#include "core/sorting.h"
#include "core/text.h"
#include "core/workspace.h"
#include "entry/class_report.h"
#include "entry/entry_widgets.h"
#include "entry/frm_splash.h"
#include "entry/grid_columns.h"
#include "favourites/favourites_commands.h"
#include "favourites/favourites_text.h"
#include "import/frm_get_trilliumfile.h"
#include "platform/accessibility.h"
#include "platform/encoding.h"
#include "platform/flex_grid.h"
#include "platform/locations.h"
#include "platform/prompts.h"
#include "platform/recovery.h"
#include "platform/spelling.h"
#include "platform/widgets.h"
#include "ready/frm_ready.h"

namespace tl {

namespace {

constexpr int kDesignedWidth = 1320;
constexpr int kDesignedHeight = 720;
constexpr int kSmallScreenCut = 168;  // 2520 twips

}  // namespace

frmEntry::frmEntry(Workspace& ws, Prompts& prompts, const Locations& locations, QWidget* parent)
    : QMainWindow(parent),
      ws_(ws),
      prompts_(prompts),
      locations_(locations),
      cdlgGetFile_(std::make_unique<CommonDialog>(prompts)),
      favouritesCommands_(std::make_unique<FavouritesFileCommands>(
          ws, prompts, locations, FavouritesStart::HomePresent, *cdlgGetFile_)),
      recovery_(std::make_unique<RecoveryKeeper>(ws, locations.recoveryFolder)),
      dictionary_(std::make_shared<SharedDictionary>(locations.dictionaryFolder)) {
    setObjectName("frmEntry");
    setWindowIcon(QIcon(":/tallyleaf.png"));
    buildMenus();
    buildControls();
    buildEditing();
    buildKeys();
    fitToScreen(this, QSize(kDesignedWidth, kDesignedHeight));
    recovery_->setStatusLine([this] { return lblStatus; });
}

void frmEntry::buildMenus() {
    QMenuBar* bar = menuBar();
    const auto ctrl = [](Qt::Key key) { return QKeySequence(Qt::CTRL | key); };
    mnuFile = addMenu(bar, "mnuFile", "&File");
    mnuOpenFavourites = addMenuItem(mnuFile, "mnuOpenFavourites", "&Open Favourites",
                                    ctrl(Qt::Key_O), [this] { openFavourites(); });
    mnuFile->addSeparator();
    mnuNewTrillium = addMenuItem(mnuFile, "mnuNewTrillium", "&New Class File From Trillium",
                                 ctrl(Qt::Key_N), [this] { newTrillium(); });
    mnuOpenClass = addMenuItem(mnuFile, "mnuOpenClass", "Open Existing &Class File", {},
                               [this] { OpenClassFile(); });
    mnuSave = addMenuItem(mnuFile, "mnuSave", "&Save Class File", ctrl(Qt::Key_S),
                          [this] { cmdSave_Click(); });
    mnuImportMarks = addMenuItem(mnuFile, "mnuImportMarks", "&Import Marks...", ctrl(Qt::Key_M),
                                 [this] { mnuImportMarks_Click(); });
    mnuFile->addSeparator();
    mnuUpdate =
        addMenuItem(mnuFile, "mnuUpdate", "&Update Class File", {}, [this] { mnuUpdate_Click(); });
    mnuFile->addSeparator();
    mnuPrint =
        addMenuItem(mnuFile, "mnuPrint", "&Print", ctrl(Qt::Key_P), [this] { printClassReport(); });
    mnuFile->addSeparator();
    mnuExit = addMenuItem(mnuFile, "mnuExit", "E&xit", {}, [this] { leave(); });

    mnuEdit = addMenu(bar, "mnuEdit", "E&dit");
    mnuUndo = addMenuItem(mnuEdit, "mnuUndo", "&Undo", ctrl(Qt::Key_U),
                          [this] { apply(ws_.doc.undo()); });
    mnuUndo->setShortcuts({ctrl(Qt::Key_U), ctrl(Qt::Key_Z)});
    nmuView = addMenu(bar, "nmuView", "&View");
    mnuShowCourse = addMenuItem(nmuView, "mnuShowCourse", "&Show Course Codes", {},
                                [this] { mnuShowCourse_Click(); });
    mnuShowCourse->setCheckable(true);
    nmuView->addSeparator();
    // They do what the Comments/Skills button and the Initial Values check box do.
    mnuCommentsSkills = addMenuItem(nmuView, "mnuCommentsSkills", "&Comments/Skills",
                                    ctrl(Qt::Key_K), [this] { cmdSwitch_Click(); });
    mnuInitialValues =
        addMenuItem(nmuView, "mnuInitialValues", "&Initial Values", ctrl(Qt::Key_I), {});
    nmuView->addSeparator();
    mnuReady = addMenuItem(nmuView, "mnuReady", "&Ready for the Office...", ctrl(Qt::Key_R),
                           [this] { mnuReady_Click(); });
    // F8 and Shift+F8 walk the problems whether or not the list is open.
    for (const bool forward : {true, false}) {
        auto* walk = new QAction(this);
        walk->setShortcut(forward ? QKeySequence(Qt::Key_F8)
                                  : QKeySequence(Qt::SHIFT | Qt::Key_F8));
        connect(walk, &QAction::triggered, this, [this, forward] { goToAdjacentProblem(forward); });
        addAction(walk);
    }

    mnuSort = addMenu(bar, "mnuSort", "&Sort");
    mnuSortNames = addMenuItem(mnuSort, "mnuSortNames", "Sort &Names (alphabetically)", {},
                               [this] { sortCommand(sortByName, "Sorted by name."); });
    mnuSortMarks = addMenuItem(mnuSort, "mnuSortMarks", "Sort &Marks (descending)", {}, [this] {
        sortCommand(sortByMark, "Sorted by mark, highest first.");
    });
    mnuSortCourse = addMenuItem(mnuSort, "mnuSortCourse", "Sort &Course (alphabetically)", {},
                                [this] { sortCommand(sortByClass, "Sorted by course."); });

    mnuMode = addMenu(bar, "mnuMode", "&Mode");
    mnuAutoFill = addMenuItem(mnuMode, "mnuAutoFill", "&Initial Values Setup", {},
                              [this] { mnuAutoFill_Click(); });
    mnuSelection = addMenuItem(mnuMode, "mnuSelection", "Comment S&election", ctrl(Qt::Key_E),
                               [this] { mnuSelection_Click(); });
    mnuMark = addMenuItem(mnuMode, "mnuMark", "&Mark / Comment Entry", {}, {});

    mnueFile = addMenu(bar, "mnueFile", "&eFile");
    mnuExport = addMenuItem(mnueFile, "mnuExport",
                            "&Convert Class File to Trillium Format for Mark Submission", {},
                            [this] { mnuExport_Click(); });
    mnuhelp = bar->addAction("&Help");
    mnuhelp->setObjectName("mnuhelp");
    connect(mnuhelp, &QAction::triggered, this, &frmEntry::mnuhelp_Click);
    openMenuBarOnF10(this);
}

void frmEntry::buildKeys() {
    keepInStep(mnuCommentsSkills, cmdSwitch);
    keepInStep(mnuInitialValues, optAutoFill);
    // The buttons in their row, the grid, the list beside it, the panel below.
    chainTabOrder({cmdNew, cmdOpen, cmdSave, cmdPrint, cmdUndo, cmdOpenFavourites, cmdSwitch,
                   optAutoFill, msfgClass, lstFavourites, lstLearningSkills,
                   cmdSwitchCommentSelection, lblFreeFormComment});
}

void frmEntry::buildControls() {
    auto* central = new QWidget(this);
    setCentralWidget(central);
    cmdNew = pictureButton(central, "cmdNew", ":/new_class.png",
                           "Create New Class File of Students", [this] { newTrillium(); });
    cmdOpen = pictureButton(central, "cmdOpen", ":/open_class.png",
                            "Open Previously Saved Class File", [this] { OpenClassFile(); });
    cmdSave = pictureButton(central, "cmdSave", ":/save_class.png", "Save Class File",
                            [this] { cmdSave_Click(); });
    cmdPrint = pictureButton(central, "cmdPrint", ":/print_class.png", "Print Class File",
                             [this] { printClassReport(); });
    cmdOpenFavourites = pictureButton(central, "cmdOpenFavourites", ":/open_favourites.png",
                                      "Open Favourites", [this] { openFavourites(); });
    cmdUndo = textButton(central, "cmdUndo", "&Undo", [this] { apply(ws_.doc.undo()); });
    cmdUndo->setIcon(QIcon(":/undo.png"));
    cmdUndo->setIconSize(QSize(22, 22));
    cmdUndo->setMinimumHeight(40);
    cmdSwitch = textButton(central, "cmdSwitch", "&Comments/Skills", [this] { cmdSwitch_Click(); });
    optAutoFill = new QCheckBox("&Initial Values", central);
    optAutoFill->setObjectName("optAutoFill");

    auto* buttons = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{cmdNew, cmdOpen, cmdSave, cmdPrint, nullptr,
                                                      cmdUndo, nullptr, cmdOpenFavourites,
                                                      cmdSwitch, nullptr, optAutoFill}) {
        if (w == nullptr) {
            buttons->addSpacing(16);
        } else {
            buttons->addWidget(w);
        }
    }
    buttons->addStretch(1);

    QFont bold = font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() + 2);
    lblCourse = namedLabel(central, "lblCourse");
    lblClassSize = namedLabel(central, "lblClassSize");
    auto* captions = new QHBoxLayout;
    for (QLabel* caption : {lblCourse, lblClassSize}) {
        caption->setFont(bold);
        captions->addWidget(caption);
        captions->addSpacing(40);
    }
    captions->addStretch(1);

    msfgClass = new FlexGrid(central);
    msfgClass->setObjectName("msfgClass");
    nameControl(msfgClass, "Class grid");
    msfgClass->setCols(grid::kColumnCount);
    msfgClass->setRowHeaderCols({grid::kLastName, grid::kFirstName}, " ");
    msfgClass->setSpokenColumnNames(spokenNames(grid::kSpokenHeaders));
    msfgClass->setCellMeaning([this](int row, int col) {
        if (row < 1 || row > ws_.studentCount()) return QString();
        return toQString(cellMeaning(ws_.doc.student(row - 1), col, ws_.phrases));
    });
    msfgClass->addItem(tabbedRow(grid::kHeaders));
    setGridLayout();
    msfgClass->setBackColorBkg(buttonFace(msfgClass));
    connect(msfgClass, &FlexGrid::enterCell, this, &frmEntry::msfgClass_EnterCell);
    connect(msfgClass, &FlexGrid::leaveCell, this, &frmEntry::msfgClass_LeaveCell);

    Shape1 = new DetailPanel(central);
    lblDetail1 = Shape1->lines[0];
    lblDetail2 = Shape1->lines[1];
    lblDetail3 = Shape1->lines[2];
    lblDetail4 = Shape1->lines[3];
    lblDetail5 = Shape1->lines[4];
    lblFreeFormComment = Shape1->freeFormLabel;
    connect(Shape1, &DetailPanel::clicked, this, &frmEntry::freeFormCommand);

    auto* left = new QVBoxLayout;
    left->addLayout(captions);
    left->addWidget(msfgClass, 1);

    listPanel_ = new ListPanel(central);
    lblFavouriteFile = listPanel_->fileLabel;
    lstFavourites = listPanel_->favourites;
    lstLearningSkills = listPanel_->learningSkills;
    cmdSwitchCommentSelection = listPanel_->switchButton;
    connect(cmdSwitchCommentSelection, &QPushButton::clicked, this, &frmEntry::mnuSelection_Click);
    // The grid and the list share the width; the detail lines run below both,
    // so that they stay whole on a narrow screen.
    auto* body = new QHBoxLayout;
    body->addLayout(left, 3);
    body->addWidget(listPanel_, 2);
    auto* outer = new QVBoxLayout(central);
    outer->addLayout(buttons);
    outer->addLayout(body, 1);
    outer->addWidget(Shape1);

    lblStatus = namedLabel(statusBar(), "lblStatus");
    lblStatus->setTextFormat(Qt::PlainText);
    statusBar()->addWidget(lblStatus, 1);
    lblPronouns = namedLabel(statusBar(), "lblPronouns");
    lblPronouns->setTextFormat(Qt::PlainText);
    statusBar()->addPermanentWidget(lblPronouns);
    lblCommentLength = namedLabel(statusBar(), "lblCommentLength");
    lblCommentLength->setTextFormat(Qt::PlainText);
    statusBar()->addPermanentWidget(lblCommentLength);
    statusBar()->setSizeGripEnabled(false);
}

QString frmEntry::studentsCount(int n) {
    return n == 1 ? QString("1 student") : QString("%1 students").arg(n);
}

void frmEntry::showStatus(const QString& text) {
    lblStatus->setText(text);
    // Said once by a screen reader on the grid, where the keyboard stays.
    if (!text.isEmpty()) msfgClass->announce(text);
}

bool frmEntry::Form_Load() {
    setWindowTitle(QString("Tallyleaf v") + kVersion + " ~ Mark / Phrase Entry");
    {
        frmSplash splash(ws_, prompts_, locations_);
        prompts_.setParentWindow(&splash);
        splash.exec();
    }
    prompts_.setParentWindow(nullptr);

    firstDialog_ = true;
    enterCellEnabled = true;
    leaveCellEnabled = true;
    cancelPickedCode();
    refreshUndo();

    const LibraryLoad library = loadPhraseLibrary(locations_.programFolderPath(), ws_.phrases);
    if (library.notice) prompts_.message(*library.notice);
    if (library.status == LibraryStatus::Fatal) return false;
    // The they-forms are made with the dictionary when first needed.
    useDictionary(ws_.phrases, dictionaryWords(dictionary_));

    show();
    prompts_.setParentWindow(this);
    if (screenIsSmall()) applySmallScreen();

    if (!ws_.favouritesFile.empty()) {
        readChosenFavourites();
    } else {
        optAutoFill->setEnabled(false);
    }
    enableClassCommands(false);
    mnuSortCourse->setVisible(false);
    offerRecovery();
    recovery_->start();
    return true;
}

void frmEntry::setGridLayout() {
    for (int c = 0; c < grid::kColumnCount; ++c)
        msfgClass->setColWidth(c, grid::columnWidth(c, skillsView_));
    msfgClass->setFixedCols(grid::kFrozenColumns);
}

void frmEntry::applySmallScreen() {
    // A screen 600 pixels high: the window and its grid and list are shorter.
    fitToScreen(this, QSize(width(), kDesignedHeight - kSmallScreenCut));
}

void frmEntry::enableClassCommands(bool enabled) {
    for (QAction* a :
         {mnuSave, mnuImportMarks, mnuPrint, mnuSortNames, mnuSortMarks, mnuUpdate, mnuExport})
        a->setEnabled(enabled);
    cmdSave->setEnabled(enabled);
    cmdPrint->setEnabled(enabled);
    refreshUndo();
}

void frmEntry::readChosenFavourites() {
    favouritesCommands_->readCurrentFile();
    showFavourites();
    // The ranges of another file say which codes are meant for which marks.
    apply(Edit::rangeTable());
    optAutoFill->setEnabled(true);
    optAutoFill->setChecked(true);
}

void frmEntry::showFavourites() {
    cmdOpenFavourites->setEnabled(true);
    listPanel_->showFavourites(fromPath(ws_.favouritesFile),
                               favouritesListItems(ws_.favourites, ws_.phrases));
}

void frmEntry::openFavourites() {
    // Cancelled: everything stays as it was.
    if (!favouritesCommands_->nameChosenFile()) return;
    readChosenFavourites();
}

bool frmEntry::eventFilter(QObject* watched, QEvent* event) {
    // The class picker closed, with or without a new class: back to the marks.
    if (event->type() == QEvent::Close && watched == classPicker.data())
        QTimer::singleShot(0, this, &frmEntry::focusMarkCell);
    if (event->type() == QEvent::KeyPress && watched == msfgClass &&
        msfgClass_KeyDown(static_cast<QKeyEvent*>(event)))
        return true;
    return QMainWindow::eventFilter(watched, event);
}

void frmEntry::closeEvent(QCloseEvent* event) {
    if (leave()) {
        event->accept();
    } else {
        event->ignore();
    }
}

bool frmEntry::showingCourse() const {
    return mnuShowCourse->isChecked();
}

void frmEntry::setGridBackground() {
    // A class that fills the grid gets a white background below its rows.
    msfgClass->setBackColorBkg(ws_.studentCount() > 35 ? QColor(Qt::white) : buttonFace(msfgClass));
}

void frmEntry::fillflexGrid() {
    if (ws_.studentCount() < 1) return;
    msfgClass->setUpdatesEnabled(false);
    msfgClass->clearGrid();
    msfgClass->setBackColorBkg(buttonFace(msfgClass));
    msfgClass->addItem(tabbedRow(grid::kHeaders));
    showView(false);
    const bool course = showingCourse();
    for (const StudentRecord& s : ws_.students())
        msfgClass->addItem(tabbedRow(gridRowTexts(s, course)));
    setGridBackground();
    lblCourse->setText(toQString(ws_.doc.student(0).classCode));
    lblClassSize->setText(QString::number(ws_.studentCount()) + " Students");
    msfgClass->setUpdatesEnabled(true);
    displayDetails(0);
    enterCellEnabled = true;
    leaveCellEnabled = true;
    Highlight();
}

DetailLines frmEntry::displayDetails(int studentIndex) {
    if (studentIndex < 0 || studentIndex >= ws_.studentCount()) return {};
    const StudentRecord& student = ws_.doc.student(studentIndex);
    const DetailLines details = buildDetailLines(student, ws_.phrases, showingCourse());
    const CommentMeter meter = commentMeter(student, ws_.phrases);
    lblCommentLength->setText(toQString(meter.text));
    QPalette colours = statusBar()->palette();
    if (meter.over) colours.setColor(QPalette::WindowText, kWarningColour);
    lblCommentLength->setPalette(colours);
    lblPronouns->setText(toQString(pronounLabel(student)));
    if (details.tooLong) prompts_.message(msg::tl8aCommentTooLong());
    Shape1->showDetails(details);
    return details;
}

void frmEntry::startTyping() {
    // A class just opened or built takes marks at once at its first student.
    msfgClass->setCurrentCell(1, grid::kMark);
    focusMarkCell();
}

void frmEntry::focusMarkCell() {
    if (leaving_ || isHidden()) return;
    if (ws_.studentCount() > 0) {
        const int r = std::clamp(msfgClass->row(), 1, ws_.studentCount());
        if (r != msfgClass->row() || msfgClass->col() != grid::kMark)
            msfgClass->setCurrentCell(r, grid::kMark);
    }
    activateWindow();
    msfgClass->setFocus(Qt::OtherFocusReason);
    // A closing dialog may still hold the activation now: the window takes it
    // again once the dialog is gone, so that a screen reader follows it.
    QTimer::singleShot(0, this, [this] {
        if (leaving_ || isHidden() || isActiveWindow()) return;
        if (QApplication::activeModalWidget() != nullptr ||
            QApplication::activePopupWidget() != nullptr)
            return;
        activateWindow();
        msfgClass->setFocus(Qt::OtherFocusReason);
    });
}

void frmEntry::colourIdentityCells(const QColor& back, const QColor& text) {
    // Coloured where they stand: the current cell stays, so a screen reader
    // hears one move per key.
    const int r = msfgClass->row();
    for (int c = 0; c < grid::kFrozenColumns; ++c) {
        msfgClass->setCellBackColor(r, c, back);
        msfgClass->setCellForeColor(r, c, text);
    }
}

void frmEntry::Highlight() {
    colourIdentityCells(palette().color(QPalette::Highlight), Qt::white);
}

void frmEntry::unHighlight() {
    colourIdentityCells(buttonFace(msfgClass), Qt::black);
}

void frmEntry::msfgClass_EnterCell() {
    if (!enterCellEnabled) return;
    enterCellEnabled = false;
    leaveCellEnabled = false;
    displayDetails(msfgClass->row() - 1);
    Highlight();
    enterCellEnabled = true;
    leaveCellEnabled = true;
}

void frmEntry::msfgClass_LeaveCell() {
    if (!leaveCellEnabled) return;
    // Moving away discards what was typed in the mark editor.
    if (!txtDataEntry->isHidden()) txtDataEntry->hide();
    unHighlight();
}

void frmEntry::mnuShowCourse_Click() {
    if (ws_.studentCount() < 1) {
        // The check mark follows the course display only while a class is open.
        mnuShowCourse->setChecked(!mnuShowCourse->isChecked());
        return;
    }
    mnuSortCourse->setVisible(mnuShowCourse->isChecked());
    fillflexGrid();
}

void frmEntry::refreshUndo() {
    cmdUndo->setEnabled(ws_.doc.canUndo());
    mnuUndo->setEnabled(ws_.doc.canUndo());
}

std::vector<int> frmEntry::writeRow(int studentIndex) {
    const auto cells = gridRowTexts(ws_.doc.student(studentIndex), showingCourse());
    std::vector<int> changed;
    for (int c = grid::kMark; c < grid::kColumnCount; ++c) {
        const QString text = toQString(cells[c]);
        if (msfgClass->textMatrix(studentIndex + 1, c) == text) continue;
        msfgClass->setTextMatrix(studentIndex + 1, c, text);
        changed.push_back(c);
    }
    return changed;
}

void frmEntry::apply(const Edit& edit) {
    refreshUndo();
    if (edit.scope == Edit::Scope::Class) {
        // The student who was current stays current, wherever the change put them.
        const QStringList current = identityOf(msfgClass->row());
        const int col = msfgClass->col();
        fillflexGrid();
        if (ws_.studentCount() > 0) enableClassCommands(true);
        for (int r = 1; r < msfgClass->rows(); ++r) {
            if (identityOf(r) != current) continue;
            msfgClass->setCurrentCell(r, col);
            break;
        }
    }
    if (!readyWindow.isNull()) readyWindow->apply(edit);
    if (edit.scope != Edit::Scope::Students) return;
    int said = -1;  // the column of the cell whose change is said
    for (std::size_t k = 0; k < edit.items.size(); ++k) {
        const int s = edit.items[k];
        const std::vector<int> changed = writeRow(s);
        if (s == edit.student() && !changed.empty()) said = changed.front();
        // A cell the undo changes shows the teacher's own entry again: the red
        // of an undone auto fill goes with it.
        for (const int c : changed) {
            if (edit.undoTaken) msfgClass->setCellForeColor(s + 1, c, Qt::black);
        }
        if (k < edit.filledEach.size()) colourImported(s + 1, edit.filledEach[k]);
    }
    const int s = edit.student();
    if (s < 0) return showImportedStudent(edit);
    const int r = s + 1;
    const int aimedCol = grid::columnOf(edit.aimed);
    if (aimedCol >= 0) said = aimedCol;
    if (said >= 0) msfgClass->announceCell(r, said);
    // The cell acted on is the teacher's own entry; what the auto fill put
    // there shows in red until the teacher changes it.
    const int aimed = grid::columnOf(edit.aimed);
    if (aimed >= 0) msfgClass->setCellForeColor(r, aimed, Qt::black);
    for (int i = 0; edit.filled.comments && i < 3; ++i)
        msfgClass->setCellForeColor(r, grid::kFirstComment + i, Qt::red);
    for (int i = 0; edit.filled.skills && i < grid::kSkillCount; ++i)
        msfgClass->setCellForeColor(r, grid::kFirstSkill + i, Qt::red);
    if (msfgClass->row() != r) {
        // Entering the student's row shows the student's details.
        msfgClass->setCurrentCell(r, aimed >= 0 ? aimed : msfgClass->col());
        return;
    }
    if (aimed >= 0) msfgClass->setCurrentCell(r, aimed);
    displayDetails(s);
}

QStringList frmEntry::identityOf(int row) const {
    QStringList texts;
    for (int c = 0; c < grid::kFrozenColumns; ++c)
        texts << msfgClass->textMatrix(row, c);
    return texts;
}

frmEntry::~frmEntry() = default;

}  // namespace tl
