// Comment Selection: search, building the favourites list with the mouse,
// the file commands and the hand-back to the main window.
#include "selection/favourites_printout.h"
#include "selection/frm_selection.h"
#include "ui/ui_support.h"

using namespace tl;
using namespace tl::test;

namespace {

// A favourites file of two codes and no ranges.
const QByteArray kTwoCodes = " 0 \r\n0004\r\n0101\r\n";

const QByteArray kDefaultRanges =
    " 7 \r\n80,100,,,,4,4,4,4,4,4\r\n70,79,,,,3,3,3,3,3,3\r\n60,69,,,,3,3,3,3,3,3\r\n"
    "50,59,,,,2,2,2,2,2,2\r\n40,49,,,,1,1,1,1,1,1\r\n20,39,,,,1,1,1,1,1,1\r\n"
    "0,19,,,,1,1,1,1,1,1\r\n";

frmSelection* selection() {
    return openWindow<frmSelection>("frmSelection");
}

void doubleClickRow(QListView* list, int row) {
    const QRect rect = list->visualRect(list->model()->index(row, 0));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rect.center());
    settle();
}

// Presses on one row, moves over to another with the button held, releases.
void drag(QListWidget* list, int from, int to) {
    QWidget* view = list->viewport();
    const QPoint start = list->visualItemRect(list->item(from)).center();
    const QPoint end = list->visualItemRect(list->item(to)).center();
    QTest::mousePress(view, Qt::LeftButton, {}, start);
    QMouseEvent move(QEvent::MouseMove, end, view->mapToGlobal(end), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QApplication::sendEvent(view, &move);
    QTest::mouseRelease(view, Qt::LeftButton, {}, end);
    settle();
}

}  // namespace

class SelectionTest : public QObject {
    Q_OBJECT
  private slots:
    void searchBuildDragSaveAndLeave() {
        Desk desk;
        desk.run("mnuSelection");
        frmSelection* w = selection();
        QVERIFY(w != nullptr && w->isVisible() && !desk.entry.isVisible());

        // Enter in a word box searches: the library's four phrases with the word.
        auto* results = control<QListView>(w, "lstComments");
        QTest::keyClicks(control<QLineEdit>(w, "txtAnd1"), "UNDERSTANDS");
        QTest::keyClick(control<QLineEdit>(w, "txtAnd1"), Qt::Key_Return);
        QCOMPARE(results->model()->rowCount(), 4);
        QCOMPARE(results->model()->index(0, 0).data().toString(),
                 QString("0004 @ understands the course material thoroughly."));

        // Double clicks add after the selected entry (at the end without one),
        // the separator goes after the selection, and a drag moves it to the top.
        auto* list = control<QListWidget>(w, "lstFavourites");
        doubleClickRow(results, 1);  // 0005
        clickItem(list, 0);
        doubleClickRow(results, 0);  // 0004 after 0005
        press(w, "cmdInsertDashes");
        drag(list, 2, 0);
        const std::vector<std::string> dragged{"    ", "0005", "0004"};
        QCOMPARE(desk.ws.favourites, dragged);
        QCOMPARE(items(list)[1], QString("0005 @ understands most of the course content. "));
        // Up and Down move the selected entry.
        clickItem(list, 2);
        press(w, "cmdUp");
        QCOMPARE(desk.ws.favourites[1] + std::to_string(list->currentRow()), std::string("00041"));
        press(w, "cmdDown");
        QVERIFY(desk.ws.favourites == dragged && list->currentRow() == 2);

        // Save while unnamed asks for a name; leaving writes the list again
        // and hands it to the main window, whose Initial Values are now on.
        desk.prompts.fileAnswers << desk.home("mine");
        press(w, "cmdSave");
        QCOMPARE(control<QLabel>(w, "lblFavouriteFile")->text(),
                 "Favourite List: " + desk.home("mine.tlf"));
        clickItem(list, 1);
        press(w, "cmdDeleteFavourite");
        press(w, "cmdBack");
        QVERIFY(selection() == nullptr && desk.entry.isVisible());
        QCOMPARE(contents(desk.home("mine.tlf")), kDefaultRanges + "    \r\n0004\r\n");
        QCOMPARE(desk.ctl<QListWidget>("lstFavourites")->count(), 3);  // and "no comment"
        QVERIFY(desk.btn("optAutoFill")->isEnabled() && desk.btn("optAutoFill")->isChecked());
        QCOMPARE(desk.prompts.count(Kind::Save), 1);
    }

    void printoutSavePromptOpenCancelAndEmptyLeave() {
        Desk desk({}, kTwoCodes);
        click(desk.btn("cmdSwitchCommentSelection"));
        frmSelection* w = selection();
        auto* list = control<QListWidget>(w, "lstFavourites");
        QCOMPARE(list->count(), 2);
        // Open with a named list asks to save it first; No saves nothing, and
        // cancelling the dialog leaves a new, unnamed list with default ranges.
        desk.prompts.yesNoAnswers << false;
        desk.prompts.fileAnswers << "";
        control<QAction>(w, "mnuOpen")->trigger();
        QCOMPARE(desk.prompts.asked[1].text + "|" + desk.prompts.asked[1].title,
                 QString("Do you want to save the current Favourites File?|"
                         "Load New Favourites File"));
        QVERIFY(desk.ws.favouritesFile.empty() && desk.ws.favourites.empty());
        QVERIFY(desk.ws.rangeCount() == 7 && list->count() == 0);

        // Add to Favourites appends another file's entries.
        desk.prompts.fileAnswers << desk.home("start.tlf");
        control<QAction>(w, "mnuAddToFavourites")->trigger();
        QCOMPARE(items(list).size(), 2);

        // The printout follows the list and the ranges; Cancel in the Print
        // dialog prints nothing.
        desk.prompts.printAnswers << false << true;
        control<QAction>(w, "mnuPrint")->trigger();
        QVERIFY(desk.prompts.lastPrint == nullptr);
        press(w, "cmdPrint");
        QVERIFY(desk.prompts.lastPrint != nullptr && desk.prompts.lastPrint->ended);
        // Font, size and text of each line; the heading carries the time of printing.
        QStringList printed, expected;
        for (const auto& line : desk.prompts.lastPrint->lines)
            printed << line.font + QString::number(line.size) + "|" + line.text;
        for (const PrintedLine& line : favouritesPrintout(desk.ws, std::tm{}))
            expected << toQString(std::string(line.font.name)) + QString::number(line.font.points) +
                            "|" + toQString(line.text);
        QCOMPARE(printed.size(), expected.size());
        QVERIFY(printed[1].startsWith("Arial14|Tallyleaf ~ v3.3 Growing Success ~ "));
        printed[1] = expected[1];
        QCOMPARE(printed, expected);

        // Yes in the save prompt writes the named list before New empties it.
        desk.ws.favouritesFile = toPath(desk.home("other.tlf"));
        desk.prompts.yesNoAnswers << true;
        press(w, "cmdNew");
        QCOMPARE(contents(desk.home("other.tlf")), kDefaultRanges + "0004\r\n0101\r\n");
        QVERIFY(desk.ws.favourites.empty());

        // Leaving with an empty list writes nothing and asks nothing.
        const QStringList before = QDir(desk.school.homeFolder()).entryList(QDir::Files);
        w->close();
        settle();
        QCOMPARE(QDir(desk.school.homeFolder()).entryList(QDir::Files), before);
        QCOMPARE(desk.prompts.count(Kind::Save), 0);
        QVERIFY(desk.entry.isVisible() && selection() == nullptr);
        QCOMPARE(contents(desk.home("start.tlf")), kTwoCodes);
    }
};

QTEST_MAIN(SelectionTest)
#include "tst_selection.moc"
