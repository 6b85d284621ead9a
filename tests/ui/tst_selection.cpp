// Comment Selection: search, building the favourites list with the mouse,
// the file commands and the hand-back to the main window.
#include "selection/favourites_printout.h"
#include "selection/frm_selection.h"
#include "selection/phrase_search.h"
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

struct SelectionDesk : Desk {
    using Desk::Desk;
    // From the menu, or from the switch button below the favourites list.
    frmSelection* open(bool byButton = false) {
        if (byButton) {
            click(btn("cmdSwitchCommentSelection"));
        } else {
            act("mnuSelection")->trigger();
        }
        settle();
        return openWindow<frmSelection>("frmSelection");
    }
};

QStringList itemsOf(const QListWidget* list) {
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->item(i)->text();
    return items;
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
        SelectionDesk desk;
        frmSelection* w = desk.open();
        QVERIFY(w != nullptr && w->isVisible() && !desk.entry.isVisible());
        QCOMPARE(w->windowTitle(), QString("Tallyleaf v3.3 Growing Success ~ Comment Selection"));
        // No file and no list: a new list with the seven default ranges.
        QCOMPARE(desk.ws.rangeCount(), 7);
        QCOMPARE(control<QComboBox>(w, "cmbDept")->itemText(32), QString("Technological  Design"));

        // Enter in a word box searches; the rows are the core search's, in code order.
        auto* results = control<QListView>(w, "lstComments");
        QCOMPARE(results->model()->rowCount(), 0);
        QLineEdit* and1 = control<QLineEdit>(w, "txtAnd1");
        QTest::keyClicks(and1, "UNDERSTANDS");
        QTest::keyClick(and1, Qt::Key_Return);
        SearchCriteria criteria;
        criteria.and1 = "UNDERSTANDS";
        QStringList expected;
        for (const int position : search(desk.ws.phrases, criteria))
            expected << toQString(searchResultItemText(desk.ws.phrases[position - 1]));
        QStringList shown;
        for (int r = 0; r < results->model()->rowCount(); ++r)
            shown << results->model()->index(r, 0).data().toString();
        QCOMPARE(shown, expected);
        QCOMPARE(shown.first(), QString("0004 @ understands the course material thoroughly."));
        QVERIFY(results->horizontalScrollBar()->maximum() > 0 ||
                results->sizeHintForColumn(0) > results->viewport()->width() / 2);

        // Double clicks add after the selected entry (at the end without one),
        // the separator goes after the selection, and a drag moves it to the top.
        auto* list = control<QListWidget>(w, "lstFavourites");
        doubleClickRow(results, 1);  // 0005
        clickItem(list, 0);
        doubleClickRow(results, 0);  // 0004 after 0005
        QCOMPARE(list->currentRow(), 1);
        click(control<QPushButton>(w, "cmdInsertDashes"));
        drag(list, 2, 0);
        QCOMPARE(itemsOf(list),
                 (QStringList{"           ---------------",
                              "0005 @ understands most of the course content. ",
                              "0004 @ understands the course material thoroughly. "}));
        QCOMPARE(desk.ws.favourites, (std::vector<std::string>{"    ", "0005", "0004"}));
        // Up, down and remove follow the selection.
        clickItem(list, 2);
        click(control<QPushButton>(w, "cmdUp"));
        click(control<QPushButton>(w, "cmdDown"));
        QCOMPARE(list->currentRow(), 2);

        // Save while unnamed asks for a name; leaving writes the list again
        // and hands it to the main window, whose Initial Values are now on.
        desk.prompts.fileAnswers << desk.home("mine");
        click(control<QPushButton>(w, "cmdSave"));
        QCOMPARE(control<QLabel>(w, "lblFavouriteFile")->text(),
                 "Favourite List: " + desk.home("mine.tlf"));
        clickItem(list, 1);
        click(control<QPushButton>(w, "cmdDeleteFavourite"));
        QCOMPARE(list->currentRow(), 1);
        click(control<QPushButton>(w, "cmdBack"));
        QVERIFY(openWindow<frmSelection>("frmSelection") == nullptr && desk.entry.isVisible());
        QFile written(desk.home("mine.tlf"));
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(written.readAll(), kDefaultRanges + "    \r\n0004\r\n");
        QCOMPARE(desk.ctl<QListWidget>("lstFavourites")->count(), 3);  // and "no comment"
        QVERIFY(desk.btn("optAutoFill")->isEnabled() && desk.btn("optAutoFill")->isChecked());
        QCOMPARE(desk.prompts.count(Kind::Save), 1);
    }

    void savePromptOpenCancelAndEmptyLeave() {
        SelectionDesk desk({}, kTwoCodes);
        const QString start = desk.home("start.tlf");
        frmSelection* w = desk.open(true);
        QCOMPARE(itemsOf(control<QListWidget>(w, "lstFavourites")).size(), 2);

        // Open with a named list asks to save it first; No saves nothing, and
        // cancelling the dialog leaves a new, unnamed list with default ranges.
        desk.prompts.yesNoAnswers << false;
        desk.prompts.fileAnswers << "";
        control<QAction>(w, "mnuOpen")->trigger();
        settle();
        QCOMPARE(desk.prompts.asked[1].text + "|" + desk.prompts.asked[1].title,
                 QString("Do you want to save the current Favourites File?|"
                         "Load New Favourites File"));
        QVERIFY(desk.ws.favouritesFile.empty() && desk.ws.favourites.empty());
        QCOMPARE(desk.ws.rangeCount(), 7);
        QCOMPARE(control<QLabel>(w, "lblFavouriteFile")->text(), QString("Favourite List: "));
        QCOMPARE(control<QListWidget>(w, "lstFavourites")->count(), 0);

        // Add to Favourites appends another file's entries; Yes in the save
        // prompt writes the named list before New empties it.
        desk.prompts.fileAnswers << start;
        control<QAction>(w, "mnuAddToFavourites")->trigger();
        settle();
        QCOMPARE(desk.ws.favourites, (std::vector<std::string>{"0004", "0101"}));
        desk.ws.favouritesFile = toPath(desk.home("other.tlf"));
        desk.prompts.yesNoAnswers << true;
        click(control<QPushButton>(w, "cmdNew"));
        QFile other(desk.home("other.tlf"));
        QVERIFY(other.open(QIODevice::ReadOnly));
        QCOMPARE(other.readAll(), kDefaultRanges + "0004\r\n0101\r\n");
        QVERIFY(desk.ws.favourites.empty());

        // Leaving with an empty list writes nothing and asks nothing.
        const QStringList before = QDir(desk.school.homeFolder()).entryList(QDir::Files);
        w->close();
        settle();
        QCOMPARE(QDir(desk.school.homeFolder()).entryList(QDir::Files), before);
        QCOMPARE(desk.prompts.count(Kind::Save), 0);
        QVERIFY(desk.entry.isVisible() && openWindow<frmSelection>("frmSelection") == nullptr);
        QFile kept(start);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), kTwoCodes);
    }

    void printoutFollowsTheListAndCancelPrintsNothing() {
        SelectionDesk desk({}, kTwoCodes);
        frmSelection* w = desk.open();
        desk.prompts.printAnswers << false << true;
        control<QAction>(w, "mnuPrint")->trigger();
        QVERIFY(desk.prompts.lastPrint == nullptr);
        click(control<QPushButton>(w, "cmdPrint"));
        QVERIFY(desk.prompts.lastPrint != nullptr && desk.prompts.lastPrint->ended);
        const auto& printed = desk.prompts.lastPrint->lines;
        const std::vector<PrintedLine> lines = favouritesPrintout(desk.ws, std::tm{});
        QCOMPARE(printed.size(), lines.size());
        for (std::size_t i = 0; i < lines.size(); ++i) {
            // The heading carries the time of printing.
            if (i != 1) QCOMPARE(printed[i].text, toQString(lines[i].text));
            QCOMPARE(
                printed[i].font + QString::number(printed[i].size),
                toQString(std::string(lines[i].font.name)) + QString::number(lines[i].font.points));
        }
        QVERIFY(printed[1].text.startsWith("Tallyleaf ~ v3.3 Growing Success ~ "));
        w->close();
        settle();
    }
};

QTEST_MAIN(SelectionTest)
#include "tst_selection.moc"
