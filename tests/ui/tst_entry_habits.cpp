// SPDX-License-Identifier: GPL-3.0-or-later

// What a teacher does by habit in the main window: returning from another
// window to the marks, Ctrl+Z, and the status line that confirms what was done.

#include "platform/prompts.h"
#include "ui/ui_support.h"

using namespace tl;
using namespace tl::test;

namespace {

const QByteArray kFavourites = " 1 \r\n0,100,0001,0002,0003,4,4,4,4,4,4\r\n0001\r\n0002\r\n";

}  // namespace

class EntryHabitsTest : public QObject {
    Q_OBJECT
  private slots:
    void statusLineCountsTheStudents() {
        Desk desk;
        desk.open(desk.file("one.tlc", classLine("ENG4U1-01", "Solo", "Ines", "312152698", "")));
        QLabel* status = desk.ctl("lblStatus");
        QCOMPARE(status->text(), QString("Opened one.tlc (1 student)."));
        desk.prompts.fileAnswers << desk.home("kept") << desk.home("gone/kept");
        desk.run("mnuSave");
        QVERIFY2(status->text().contains(
                     QRegularExpression(R"(^Saved kept\.tlc at \d\d:\d\d \(1 student\)\.$)")),
                 qPrintable(status->text()));
        // A failed save says nothing there: the message box tells it.
        desk.run("mnuSave");
        QVERIFY(shownCodes(desk.prompts) == QStringList{"TL19:"} &&
                status->text().startsWith("Saved kept.tlc"));
        desk.open(desk.file("mpm.tlc", classOfSize(6, "MPM2D1-01")));
        QCOMPARE(status->text(), QString("Opened mpm.tlc (6 students)."));
    }

    void returningFromAWindowPutsTheKeyboardOnTheMarks() {
        Desk desk({}, kFavourites);
        desk.open(desk.file("mpm.tlc", classOfSize(6, "MPM2D1-01")));
        clickCell(desk.grid(), 4, 5);
        // The favourites list had the keyboard before the window opened; a
        // real click on its Back button.
        desk.ctl<QListWidget>("lstFavourites")->setFocus();
        desk.run("mnuSelection");
        QWidget* window = openWindow<QWidget>("frmSelection");
        QVERIFY(window != nullptr && !desk.entry.isVisible());
        click(control<QAbstractButton>(window, "cmdBack"));
        QVERIFY(desk.entry.isVisible() && QApplication::focusWidget() == desk.grid() &&
                desk.grid()->row() == 4 && desk.grid()->col() == 3);
        // Two marks typed there; Ctrl+Z takes the last back, as Ctrl+U does.
        typeMark(desk, 4, "64");
        typeMark(desk, 5, "65");
        pressChord(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(column(desk.grid(), 3).join('|'), QString("70|70|70|64|70|70"));
        pressChord(Qt::Key_U, Qt::ControlModifier);
        QCOMPARE(column(desk.grid(), 3).join('|') + " " + QString::number(desk.undos()),
                 QString("70|70|70|70|70|70 1"));  // the click in CM2 left an entry
    }

    void aWindowStaysWhileItsDialogRuns() {
        // A screen reader can press a window's Back button while one of its
        // dialogs is open: the window stays until the dialog has closed. With
        // Qt's own dialogs: the Save As dialog of Comment Selection, the Enter
        // Ranges box of Initial Values Setup.
        TempSchool school;
        school.installTestLibrary();
        Workspace ws;
        QtPrompts prompts;
        frmEntry entry{ws, prompts, school.locations()};
        QVERIFY(loadWith(entry, "cmdCancel"));
        ws.favouritesFile = toPath(school.write("home/fav.tlf", kFavourites));
        QVERIFY(!readFavouritesFile(ws));
        for (const auto& [command, name, button] :
             {std::tuple{"mnuSelection", "frmSelection", "cmdSaveAs"},
              {"mnuAutoFill", "frmAutoFill", "cmdEnterRanges"}}) {
            entry.findChild<QAction*>(command)->trigger();
            settle();
            QWidget* window = openWindow<QWidget>(name);
            QVERIFY2(window != nullptr, name);
            whenModal<QDialog>([window, name](QDialog* dialog) {
                QAccessible::queryAccessibleInterface(control<QWidget>(window, "cmdBack"))
                    ->actionInterface()
                    ->doAction(QAccessibleActionInterface::pressAction());
                QTest::qWait(250);  // the press is an animated click
                settle();
                QVERIFY2(openWindow<QWidget>(name) == window && window->isVisible(), name);
                activate(dialog);
                pressKey(Qt::Key_Escape);
            });
            click(control<QAbstractButton>(window, button));
            QCOMPARE(openWindow<QWidget>(name), window);
            click(control<QAbstractButton>(window, "cmdBack"));
            QVERIFY2(openWindow<QWidget>(name) == nullptr && entry.isVisible(), name);
        }
        QCOMPARE(ws.rangeCount(), 1);
    }
};

QTEST_MAIN(EntryHabitsTest)
#include "tst_entry_habits.moc"
