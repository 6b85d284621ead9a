// SPDX-License-Identifier: GPL-3.0-or-later

// Comment Selection: search, building the favourites list with the mouse, the
// file commands and the hand-back to the main window; and the favourites file
// commands every favourites window owns: where their dialogs start, what a
// cancelled dialog keeps and what a failed write stops.
#include "core/messages.h"
#include "favourites/favourites_commands.h"
#include "selection/favourites_printout.h"
#include "selection/frm_selection.h"
#include "ui/ui_support.h"

using namespace tl;
using namespace tl::test;

namespace {

void doubleClickRow(QListView* list, int row) {
    const QRect rect = list->visualRect(list->model()->index(row, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    settle();
}

// A window's favourites file commands over a dialog that class files used last.
struct Commands {
    TempSchool school;
    Workspace ws;
    ScriptedPrompts prompts;
    CommonDialog dialog{prompts};
    FavouritesFileCommands files;

    explicit Commands(FavouritesStart start)
        : files(ws, prompts, school.locations(), start, dialog) {
        dialog.prepare(school.root(), "ENG2D101", "Tallyleaf Classes (*.tlc)|*.tlc", true);
        ws.favourites = {"0004", "    ", "0101"};
    }
    ~Commands() { QVERIFY2(prompts.unexpected == 0, "an unexpected question was asked"); }
};

}  // namespace

class SelectionTest : public QObject {
    Q_OBJECT
  private slots:
    void searchBuildDragSaveAndLeave() {
        Desk desk;
        desk.run("mnuSelection");
        auto* w = openWindow<frmSelection>("frmSelection");
        QVERIFY(w != nullptr && w->isVisible() && !desk.entry.isVisible());

        // Enter in a word box searches: the library's four phrases with the word.
        auto* results = control<QListView>(w, "lstComments");
        QTest::keyClicks(control<QLineEdit>(w, "txtAnd1"), "UNDERSTANDS\r");
        QCOMPARE(results->model()->rowCount(), 4);
        QCOMPARE(results->model()->index(0, 0).data().toString(),
                 QString("0004 @ understands the course material thoroughly."));

        // Double clicks add after the selected entry (at the end without one),
        // the separator goes after the selection, a drag moves it to the top,
        // and Up and Down move the selected entry.
        auto* list = control<QListWidget>(w, "lstFavourites");
        doubleClickRow(results, 1);  // 0005
        clickItem(list, 0);
        doubleClickRow(results, 0);  // 0004 after 0005
        press(w, "cmdInsertDashes");
        const auto at = [list](int row) { return list->visualItemRect(list->item(row)).center(); };
        QTest::mousePress(list->viewport(), Qt::LeftButton, {}, at(2));
        QTest::mouseMove(list->viewport(), at(0));
        QTest::mouseRelease(list->viewport(), Qt::LeftButton, {}, at(0));
        const std::vector<std::string> dragged{"    ", "0005", "0004"};
        QCOMPARE(desk.ws.favourites, dragged);
        QCOMPARE(items(list)[1], QString("0005 @ understands most of the course content. "));
        clickItem(list, 2);
        press(w, "cmdUp");
        QCOMPARE(desk.ws.favourites[1] + std::to_string(list->currentRow()), std::string("00041"));
        press(w, "cmdDown");
        QVERIFY(desk.ws.favourites == dragged && list->currentRow() == 2);

        // Save while unnamed asks for a name; leaving hands the list, less the
        // deleted entry, to the main window, whose Initial Values are now on.
        desk.prompts.fileAnswers << desk.home("mine");
        press(w, "cmdSave");
        QCOMPARE(control<QLabel>(w, "lblFavouriteFile")->text(),
                 "Favourite List: " + desk.home("mine.tlf"));
        clickItem(list, 1);
        press(w, "cmdDeleteFavourite");
        press(w, "cmdBack");
        QVERIFY(openWindow<frmSelection>("frmSelection") == nullptr && desk.entry.isVisible());
        QCOMPARE(desk.ctl<QListWidget>("lstFavourites")->count(), 3);  // and "no comment"
        QVERIFY(desk.btn("optAutoFill")->isEnabled() && desk.btn("optAutoFill")->isChecked());
    }

    void openAddPrintNewAndAnEmptyLeave() {
        const QByteArray twoCodes = " 0 \r\n0004\r\n0101\r\n";
        Desk desk({}, twoCodes);
        click(desk.btn("cmdSwitchCommentSelection"));
        auto* w = openWindow<frmSelection>("frmSelection");
        auto* list = control<QListWidget>(w, "lstFavourites");
        // Open with a named list asks to save it first; No saves nothing, and
        // cancelling the dialog leaves a new, unnamed list with default ranges.
        desk.prompts.yesNoAnswers << false;
        desk.prompts.fileAnswers << "";
        control<QAction>(w, "mnuOpen")->trigger();
        QVERIFY(desk.ws.favouritesFile.empty() && desk.ws.rangeCount() == 7 && list->count() == 0);

        // Add to Favourites appends another file's entries.
        desk.prompts.fileAnswers << desk.home("start.tlf");
        control<QAction>(w, "mnuAddToFavourites")->trigger();
        QCOMPARE(list->count(), 2);

        // Cancel in the Print dialog prints nothing; the printout follows the
        // list and the ranges.
        desk.prompts.printAnswers << false << true;
        control<QAction>(w, "mnuPrint")->trigger();
        QVERIFY(desk.prompts.lastPrint == nullptr);
        press(w, "cmdPrint");
        const auto expected = favouritesPrintout(desk.ws, std::tm{});
        const auto& printed = desk.prompts.lastPrint->lines;
        QVERIFY(desk.prompts.lastPrint->ended && printed.size() == expected.size());
        QCOMPARE(printed.back().text, toQString(expected.back().text));

        // New empties the unnamed list without a question, and leaving with an
        // empty list asks nothing: the start file is as it was.
        press(w, "cmdNew");
        w->close();
        settle();
        QVERIFY(desk.entry.isVisible() && openWindow<frmSelection>("frmSelection") == nullptr);
        QCOMPARE(desk.prompts.count(Kind::YesNo) + desk.prompts.count(Kind::Save), 1);
        QCOMPARE(contents(desk.home("start.tlf")), twoCodes);
    }

    void fileCommandDialogsStartWhereTheWindowsRuleSays() {
        // Each rule with the home folder missing, empty and holding a file. Open,
        // Add to Favourites and Save As, each cancelled, show a favourites dialog
        // with no name proposed, at home or else in the folder it used last; only
        // Save As asks before replacing.
        const auto present = FavouritesStart::HomePresent;
        const auto holding = FavouritesStart::HomeHoldsFile;
        for (const auto& [start, home, atHome] :
             {std::tuple(present, "missing", false), std::tuple(present, "empty", true),
              std::tuple(present, "with a file", true), std::tuple(holding, "missing", false),
              std::tuple(holding, "empty", false), std::tuple(holding, "with a file", true)}) {
            Commands c(start);
            if (home == std::string("missing"))
                QVERIFY(QDir(c.school.homeFolder()).removeRecursively());
            if (home == std::string("with a file")) c.school.write("home/notes.txt", "x");
            c.prompts.fileAnswers = {"", "", ""};
            QVERIFY(!c.files.open() && !c.files.add() && !c.files.saveAs());
            QStringList asked;
            for (const ScriptedPrompts::Asked& a : c.prompts.asked)
                asked << a.request.initialFolder + "|" + a.request.fileName + "|" +
                             a.request.filter + (a.kind == Kind::Save ? "|save" : "|open") +
                             (a.request.confirmOverwrite ? "|asks" : "");
            const QString expected =
                (atHome ? c.school.homeFolder() : c.school.root()) + "||" + kFavouritesFilter;
            QCOMPARE(asked, (QStringList{expected + "|open", expected + "|open",
                                         expected + "|save|asks"}));
        }
    }

    void fileCommandsKeepTheListWhenCancelledOrNotWritten() {
        Commands c(FavouritesStart::HomeHoldsFile);
        const QString mine = c.school.write("home/mine.tlf", "before\r\n");
        c.ws.favouritesFile = toPath(mine);
        // Cancelled Save As and Open keep the current file, unwritten.
        c.prompts.fileAnswers = {"", ""};
        QVERIFY(!c.files.saveAs() && !c.files.nameChosenFile());
        QCOMPARE(fromPath(c.ws.favouritesFile) + "|" + contents(mine), mine + "|before\r\n");

        // Yes to the save question with a file that cannot be written shows
        // TL18 and stops the command.
        c.ws.favouritesFile = toPath(c.school.root() + "/gone/mine.tlf");
        c.prompts.yesNoAnswers << true;
        QVERIFY(!c.files.savePrompt());
        QCOMPARE(c.prompts.messages(), QStringList{toQString(msg::tl18FavouritesNotSaved().text)});
        QCOMPARE(c.prompts.asked[2].text + "|" + c.prompts.asked[2].title,
                 QString("Do you want to save the current Favourites File?|"
                         "Load New Favourites File"));

        // An unnamed list: no question and no write, and leaving offers the
        // Save dialog only where the window asks for it.
        c.files.clearCurrentFile();
        c.prompts.fileAnswers << "";
        QVERIFY(c.files.savePrompt() && !c.files.save());
        c.files.saveOnLeaving(UnnamedList::Skip);
        c.files.saveOnLeaving(UnnamedList::AskForName);
        QCOMPARE(
            QString("%1 %2").arg(c.prompts.count(Kind::YesNo)).arg(c.prompts.count(Kind::Save)),
            QString("1 2"));
    }
};

QTEST_MAIN(SelectionTest)
#include "tst_selection.moc"
