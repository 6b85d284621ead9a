// What a teacher does by habit in the main window: Cancel in the Save dialog,
// a click on a student's name, Ctrl+Z, returning from another window, and the
// status line that confirms what was done.

#include "platform/prompts.h"
#include "platform/widgets.h"
#include "ui/ui_support.h"

using namespace tl;
using namespace tl::test;

namespace {

const QByteArray kFavourites = " 1 \r\n0,100,0001,0002,0003,4,4,4,4,4,4\r\n0001\r\n0002\r\n";

QByteArray classOf6() {
    QByteArray bytes;
    for (int i = 0; i < 6; ++i)
        bytes += classLine("MPM2D1-01", "Pupil" + QByteArray::number(10 + i), "Ana",
                           QByteArray::number(312152690 + i), "");
    return bytes;
}

QString status(const Desk& desk) {
    return desk.ctl("lblStatus")->text();
}

// The grid has the keyboard at the MRK cell of row r.
bool typesMarksAt(const Desk& desk, int r) {
    return QApplication::focusWidget() == desk.grid() && desk.grid()->row() == r &&
           desk.grid()->col() == 3;
}

// Answers the real dialogs while a command runs: Yes to a question, Escape in
// every file dialog; counts the file dialogs.
class RealDialogs {
  public:
    RealDialogs() {
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                questions << box->text();
                box->button(QMessageBox::Yes)->click();
            } else if (qobject_cast<QFileDialog*>(modal) != nullptr && modal != seen_) {
                seen_ = modal;
                ++fileDialogs;
                activate(modal);
                pressKey(Qt::Key_Escape);
            }
        });
        timer_.start();
    }
    QStringList questions;
    int fileDialogs = 0;

  private:
    QTimer timer_;
    QPointer<QWidget> seen_;
};

// The main window with Qt's own dialogs, past its start-up window.
struct RealDesk {
    TempSchool school;
    Workspace ws;
    QtPrompts prompts;
    frmEntry entry{ws, prompts, school.locations()};
    RealDesk() {
        school.installTestLibrary();
        QVERIFY(loadWith(entry, "cmdCancel"));
        settle();
    }
    // Runs a command whose Open dialog is answered with a file.
    void runOpening(const char* command, const QString& path) {
        whenModal<QFileDialog>([path](QFileDialog* dialog) {
            auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
            name->setText(path);
            QTest::keyClick(name, Qt::Key_Return);
        });
        run(command);
    }
    void run(const char* command) {
        entry.findChild<QAction*>(command)->trigger();
        settle();
    }
};

}  // namespace

class EntryHabitsTest : public QObject {
    Q_OBJECT
  private slots:
    void escapeInTheRealSaveDialogKeepsTheClass() {
        // Exit, New and Open after "Yes" to saving: Escape in Qt's own Save
        // dialog stops the command, and the class stays open, unsaved.
        RealDesk desk;
        desk.runOpening("mnuOpenClass", desk.school.write("home/mpm.tlc", classOf6()));
        QCOMPARE(desk.ws.studentCount(), 6);
        const auto before = desk.ws.students;
        for (const char* command : {"mnuExit", "mnuNewTrillium", "mnuOpenClass", ""}) {
            RealDialogs dialogs;
            if (*command == 0) {
                QVERIFY(!desk.entry.close());  // the close box
            } else {
                desk.run(command);
            }
            QVERIFY2(dialogs.questions.size() == 1 && dialogs.fileDialogs == 1, command);
            QVERIFY2(desk.entry.isVisible() && desk.ws.students == before, command);
            QVERIFY(desk.entry.findChild<QWidget*>("frmGetTrilliumfile") == nullptr);
        }
        QCOMPARE(QDir(desk.school.homeFolder()).entryList(QDir::Files), QStringList{"mpm.tlc"});
    }

    void aClickOnANameMakesThatStudentCurrent() {
        Desk desk;
        desk.open(desk.file("mpm.tlc", classOf6()));
        FlexGrid* grid = desk.grid();
        QCOMPARE(status(desk), QString("Opened mpm.tlc (6 students)."));
        // From the MRK cell of row 2, a click on row 5's number, last or first
        // name puts the next mark on that student.
        for (const int col : {0, 1, 2}) {
            clickCell(grid, 2, 3);
            const int row = 3 + col;
            clickCell(grid, row, col);
            QVERIFY(typesMarksAt(desk, row));
            QCOMPARE(grid->cellBackColor(row, 0), desk.entry.palette().color(QPalette::Highlight));
            QCOMPARE(grid->cellBackColor(2, 0), buttonFace(grid));
            QCOMPARE(panel(desk.entry), expectedPanel(desk.ws, row - 1, false));
            typeKeys(QString::number(80 + col));
            pressKey(Qt::Key_Return);
            QCOMPARE(desk.ws.students[row - 1].mark, std::to_string(80 + col));
            QVERIFY(desk.ws.students[1].mark.empty());
        }
        // Ctrl+Z takes the last mark back, as Ctrl+U does.
        pressChord(Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(desk.ws.students[4].mark.empty() && desk.ws.students[3].mark == "81");
        pressChord(Qt::Key_U, Qt::ControlModifier);
        QVERIFY(desk.ws.students[3].mark.empty() && desk.undos() == 1);
    }

    void returningFromAWindowPutsTheKeyboardOnTheMarks() {
        Desk desk({}, kFavourites);
        desk.open(desk.file("mpm.tlc", classOf6()));
        clickCell(desk.grid(), 4, 5);
        // The favourites list had the keyboard before the windows opened.
        clickItem(desk.ctl<QListWidget>("lstFavourites"), 0);
        const std::pair<const char*, const char*> windows[] = {{"mnuSelection", "frmSelection"},
                                                               {"mnuAutoFill", "frmAutoFill"}};
        for (const auto& [command, name] : windows) {
            desk.ctl<QListWidget>("lstFavourites")->setFocus();
            desk.run(command);
            QWidget* window = openWindow<QWidget>(name);
            QVERIFY2(window != nullptr && !desk.entry.isVisible(), name);
            // A real click on its Back button.
            QTest::mouseClick(control<QAbstractButton>(window, "cmdBack"), Qt::LeftButton);
            settle();
            QVERIFY2(desk.entry.isVisible() && typesMarksAt(desk, 4), name);
        }
        typeKeys("64");
        pressKey(Qt::Key_Return);
        QCOMPARE(desk.ws.students[3].mark, std::string("64"));
    }

    void aWindowStaysWhileItsDialogRuns() {
        // A screen reader can press a window's Back button while one of its
        // dialogs is open: the window stays until the dialog has closed.
        RealDesk desk;
        auto pressBackUnder = [](QDialog* dialog, const char* name) {
            QWidget* window = openWindow<QWidget>(name);
            QAccessibleInterface* back =
                QAccessible::queryAccessibleInterface(control<QWidget>(window, "cmdBack"));
            back->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
            QTest::qWait(250);  // the press is an animated click
            settle();
            QVERIFY2(openWindow<QWidget>(name) == window && window->isVisible(), name);
            activate(dialog);
            pressKey(Qt::Key_Escape);
        };
        // Comment Selection under its Save As dialog.
        desk.run("mnuSelection");
        QWidget* selection = openWindow<QWidget>("frmSelection");
        whenModal<QFileDialog>([&](QFileDialog* d) { pressBackUnder(d, "frmSelection"); });
        click(control<QAbstractButton>(selection, "cmdSaveAs"));
        QCOMPARE(openWindow<QWidget>("frmSelection"), selection);
        click(control<QAbstractButton>(selection, "cmdBack"));
        QVERIFY(openWindow<QWidget>("frmSelection") == nullptr && desk.entry.isVisible());

        // Initial Values Setup under its Enter Ranges box.
        desk.runOpening("mnuAutoFill", desk.school.write("home/fav.tlf", kFavourites));
        QWidget* autoFill = openWindow<QWidget>("frmAutoFill");
        QVERIFY(autoFill != nullptr);
        whenModal<QInputDialog>([&](QInputDialog* d) { pressBackUnder(d, "frmAutoFill"); });
        click(control<QAbstractButton>(autoFill, "cmdEnterRanges"));
        QCOMPARE(openWindow<QWidget>("frmAutoFill"), autoFill);
        QCOMPARE(desk.ws.rangeCount(), 1);
        click(control<QAbstractButton>(autoFill, "cmdBack"));
        QVERIFY(openWindow<QWidget>("frmAutoFill") == nullptr && desk.entry.isVisible());
    }

    void statusLineCountsOneStudent() {
        Desk desk;
        desk.open(desk.file("one.tlc", classLine("ENG4U1-01", "Solo", "Ines", "312152698", "")));
        QCOMPARE(status(desk), QString("Opened one.tlc (1 student)."));
        QCOMPARE(desk.grid()->textMatrix(1, 0), QString("312-152-698"));
        desk.prompts.fileAnswers << desk.home("kept");
        desk.run("mnuSave");
        QVERIFY2(QRegularExpression(R"(^Saved kept\.tlc at \d\d:\d\d \(1 student\)\.$)")
                     .match(status(desk))
                     .hasMatch(),
                 qPrintable(status(desk)));
        // A failed save says nothing there: the message box tells it.
        desk.prompts.fileAnswers << desk.home("gone/kept");
        desk.run("mnuSave");
        QCOMPARE(shownCodes(desk.prompts), QStringList{"TL19:"});
        QVERIFY(status(desk).startsWith("Saved kept.tlc"));
        // The status line fits the foot of the window.
        QVERIFY(desk.entry.statusBar()->isVisible() &&
                desk.entry.statusBar()->geometry().bottom() <= desk.entry.height());
    }
};

QTEST_MAIN(EntryHabitsTest)
#include "tst_entry_habits.moc"
