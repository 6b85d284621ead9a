// SPDX-License-Identifier: GPL-3.0-or-later

// Ready for the Office: the list beside the main window follows the class,
// Enter on a line and F8 go to a problem's cell, and a class is fixed through
// F8 alone; the advice below it, and what a screen reader is told of both;
// the comment length meter at the foot of the main window.
#include <QAccessible>
#include <QItemSelectionModel>
#include <QSignalSpy>
#include <memory>
#include <random>

#include "entry/frm_free_form_comment_entry.h"
#include "platform/widgets.h"
#include "ready/frm_ready.h"
#include "ui/ui_support.h"

using namespace tl;
using namespace tl::test;

// Adams without a mark, Brook with a code the library lacks, Chen with IW unrated.
void openThreeStudents(Desk& desk) {
    desk.open(desk.file(
        "three.tlc",
        classLine("SCI3U1-01", "Adams", "Ann", "300000001", "", "0004,,,,") +
            classLine("SCI3U1-01", "Brook", "Bo", "300000002", "70", "9999,,,,") +
            classLine("SCI3U1-01", "Chen", "Cy", "300000003", "80", "0005,,,,", "G,G,,G,G,G")));
}

// The window tests' library with a next step, 0016.
QByteArray libraryWithNextStep() {
    return contents(QString(TL_TEST_DATA) + "/ui_library.csv") +
           "0016,@ should review # notes daily.,3&\r\n";
}

// Adams, Brook and Chen with the same comment and no next step; Dubois with a
// next step; Evans's free-form comment says "his".
void openFiveStudents(Desk& desk) {
    const QByteArray code = "SCI3U1-01";
    desk.open(desk.file(
        "five.tlc", classLine(code, "Adams", "Ann", "300000001", "70", "0004,,,,") +
                        classLine(code, "Brook", "Bo", "300000002", "70", "0004,,,,") +
                        classLine(code, "Chen", "Cy", "300000003", "80", "0004,,,,") +
                        classLine(code, "Dubois", "Zoe", "300000004", "60", "0004,0016,,,") +
                        classLine(code, "Evans", "Eve", "300000005", "75", ",,,,", "G,G,G,G,G,G",
                                  "0,True,Eve finishes his work.")));
}

class ReadyTest : public QObject {
    Q_OBJECT
  private slots:
    void listFollowsTheClassAndF8FixesIt() {
        Desk desk;
        openThreeStudents(desk);
        FlexGrid* grid = desk.grid();
        QCOMPARE(desk.ctl("lblCommentLength")->text(), QString("Comments: 48/460 characters"));

        pressChord(Qt::Key_R, Qt::ControlModifier);
        auto* ready = openWindow<frmReady>("frmReady");
        QVERIFY(ready != nullptr && ready->isVisible() && !ready->isModal());
        QCOMPARE(ready->windowTitle(),
                 QString("Tallyleaf v3.3 Growing Success ~ Ready for the Office"));
        auto* list = control<QListWidget>(ready, "lstProblems");
        auto* count = control<QLabel>(ready, "lblProblemCount");
        QCOMPARE(count->text() + " | " + items(list).join(" | "),
                 QString("4 problems in 3 students | Adams Ann: no mark | Brook Bo: no comment | "
                         "Brook Bo: comment code 9999 is not in the phrase library | Chen Cy: "
                         "learning skills not all rated"));

        // Enter on a line: the student's cell, in the skills view for a skill.
        activate(ready);
        list->setFocus();
        list->setCurrentRow(3);
        pressKey(Qt::Key_Return);
        QVERIFY(QApplication::focusWidget() == grid);
        QCOMPARE(QString("%1,%2").arg(grid->row()).arg(grid->col()), QString("3,11"));
        QVERIFY(desk.act("mnuCommentsSkills")->isChecked());

        // The main window hides: so does the list; it comes back with it.
        desk.entry.hide();
        settle();
        QVERIFY(!ready->isVisible());
        desk.entry.show();
        settle();
        QVERIFY(ready->isVisible());
        activate(&desk.entry);
        grid->setFocus();

        // Fixed through F8 alone: each F8 from the first cell on, then the fix.
        grid->setCurrentCell(1, 0);
        const std::pair<QString, QString> fixes[] = {
            {"1,3", "65\r"}, {"2,4", "0004\r"}, {"3,11", "3"}};
        for (const auto& [cell, typed] : fixes) {
            pressKey(Qt::Key_F8);
            QCOMPARE(QString("%1,%2").arg(grid->row()).arg(grid->col()), cell);
            for (const QChar ch : typed)
                ch == '\r' ? pressKey(Qt::Key_Return) : pressKey(Qt::Key_unknown, ch.toLatin1());
        }
        QCOMPARE(count->text(), QString("Nothing left to fix: the class is ready for the office."));
        QCOMPARE(list->count(), 0);
        pressKey(Qt::Key_F8);
        QCOMPARE(desk.ctl("lblStatus")->text(), QString("Nothing left to fix."));

        // An undo brings the problem back into the list; Escape closes it.
        desk.run("mnuUndo");
        QCOMPARE(items(list), QStringList{"Chen Cy: learning skills not all rated"});
        activate(ready);
        list->setFocus();
        pressKey(Qt::Key_Escape);
        QVERIFY(openWindow<frmReady>("frmReady") == nullptr);
    }

    // The advice below the problems: its lines follow the class, Enter goes
    // to a note's cell; screen readers hear a window, each list's count as
    // its description and its lines as they read, and nothing of the lists
    // while the teacher works in the main window.
    void adviceFollowsTheClassWithoutTakingTheKeyboard() {
        Desk desk(libraryWithNextStep());
        openFiveStudents(desk);
        desk.run("mnuReady");
        auto* ready = openWindow<frmReady>("frmReady");
        auto* problems = control<QListWidget>(ready, "lstProblems");
        auto* advice = control<QListWidget>(ready, "lstAdvice");
        auto* count = control<QLabel>(ready, "lblAdviceCount");
        const QString before =
            "4 notes for 4 students | Adams Ann: no next-steps comment | "
            "Brook Bo: no next-steps comment | Chen Cy: no next-steps comment "
            "| Evans Eve: free-form comment says \"his\"; the student's "
            "pronouns are she/her";
        QCOMPARE(count->text() + " | " + items(advice).join(" | "), before);
        const auto heard = [](QObject* object, QAccessible::Text text) {
            return QAccessible::queryAccessibleInterface(object)->text(text);
        };
        QCOMPARE(QAccessible::queryAccessibleInterface(ready)->role(), QAccessible::Window);
        QCOMPARE(heard(advice, QAccessible::Name), QString("Advice"));
        QCOMPARE(heard(advice, QAccessible::Description), count->text());
        QCOMPARE(heard(problems, QAccessible::Description),
                 control<QLabel>(ready, "lblProblemCount")->text());
        QAccessibleInterface* line = QAccessible::queryAccessibleInterface(advice)->child(3);
        QVERIFY(line != nullptr);
        QCOMPARE(line->text(QAccessible::Name), advice->item(3)->text());

        // Tab from the problems reaches the advice; Enter goes to Evans's comment.
        activate(ready);
        problems->setFocus();
        pressKey(Qt::Key_Tab);
        QVERIFY(QApplication::focusWidget() == advice);
        advice->setCurrentRow(3);
        pressKey(Qt::Key_Return);
        QCOMPARE(QString("%1,%2").arg(desk.grid()->row()).arg(desk.grid()->col()), QString("5,4"));

        // Dubois's next step deleted in the main window: four alike now.
        clickCell(desk.grid(), 4, 5);
        // The lists' views hear of a current or selected line through these,
        // and tell screen readers.
        std::vector<std::unique_ptr<QSignalSpy>> told;
        for (QListWidget* list : {problems, advice}) {
            const QItemSelectionModel* lines = list->selectionModel();
            told.push_back(
                std::make_unique<QSignalSpy>(lines, &QItemSelectionModel::currentChanged));
            told.push_back(
                std::make_unique<QSignalSpy>(lines, &QItemSelectionModel::selectionChanged));
        }
        pressKey(Qt::Key_Delete);
        QCOMPARE(count->text(), QString("9 notes for 5 students"));
        QCOMPARE(heard(advice, QAccessible::Description), count->text());
        QCOMPARE(advice->item(0)->text(),
                 QString("Adams Ann: the same comments as 3 other students (Brook Bo, Chen Cy, "
                         "Dubois Zoe)"));
        pressChord(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(count->text() + " | " + items(advice).join(" | "), before);
        // Lines came and went under the current one (Evans's), yet neither list
        // took the keyboard or told of another current line.
        QVERIFY(QApplication::focusWidget() == desk.grid());
        for (const auto& spy : told)
            QCOMPARE(spy->count(), 0);
        for (QListWidget* list : {problems, advice})
            QVERIFY(!QAccessible::queryAccessibleInterface(list)->state().focused);
        // Back in the window, the keyboard is on the line it was on.
        activate(ready);
        advice->setFocus();
        QCOMPARE(advice->currentItem()->text(), advice->item(3)->text());
    }

    // An edit changes only its student's lines; after every step of a random
    // script of marks, stamps, undos, sorts and other ranges the list reads as
    // one made afresh would.
    void listFollowsEachEditAsAFreshListWould() {
        Desk desk(libraryWithNextStep());
        // Adams, Chen, Dubois and Evans with the same comment.
        desk.open(desk.file(
            "five.tlc",
            classLine("SCI3U1-01", "Adams", "Ann", "300000001", "", "0004,,,,") +
                classLine("SCI3U1-01", "Brook", "Bo", "300000002", "70", "9999,,,,") +
                classLine("SCI3U1-01", "Chen", "Cy", "300000003", "80", "0004,,,,", "G,G,,G,G,G") +
                classLine("SCI3U1-01", "Dubois", "Zoe", "300000004", "60", "0004,,,,") +
                classLine("SCI3U1-01", "Evans", "Eve", "300000005", "55", "0004,,,,")));
        // Two favourites files whose ranges give 0004 to other marks.
        const QString ranges[] = {
            desk.file("a.tlf",
                      " 2 \r\n80,100,0004,,,4,4,4,4,4,4\r\n0,79,0005,0006,,3,3,3,3,3,3\r\n"
                      "0004\r\n"),
            desk.file("b.tlf", " 1 \r\n0,100,0007,,,3,3,3,3,3,3\r\n0004\r\n")};
        desk.run("mnuReady");
        frmReady* ready = openWindow<frmReady>("frmReady");
        auto* list = control<QListWidget>(ready, "lstProblems");
        auto* advice = control<QListWidget>(ready, "lstAdvice");
        QListWidgetItem* chen = list->item(list->count() - 1);
        FlexGrid* grid = desk.grid();
        const auto type = [](const QString& keys) {
            for (const QChar k : keys)
                k == '\r' ? pressKey(Qt::Key_Return) : pressKey(Qt::Key_unknown, k.toLatin1());
        };
        std::mt19937 random(2026);
        bool alike = false, apart = false;  // steps with same-comments notes, and without
        const auto pick = [&random](int n) { return static_cast<int>(random() % unsigned(n)); };
        for (int step = 0; step < 40; ++step) {
            activate(&desk.entry);
            grid->setFocus();
            const int row = 1 + pick(5);
            const int kind = step == 0 ? 0 : pick(6);
            if (kind == 0) {  // a mark, or none
                grid->setCurrentCell(row, 3);
                type(QString::number(pick(3) * 45) + (pick(4) == 0 ? "" : "\r"));
                pressKey(Qt::Key_Return);
            } else if (kind == 1) {  // no comment
                grid->setCurrentCell(row, 4 + pick(3)), pressKey(Qt::Key_Delete);
            } else if (kind == 2) {  // a code typed, 9999 refused
                grid->setCurrentCell(row, 4 + pick(3));
                type(QString("0004|0005|0007|0016|9999").split('|')[pick(5)] + "\r");
            } else if (kind == 3) {
                desk.run("mnuUndo");
            } else if (kind == 4) {
                desk.run(pick(2) == 0 ? "mnuSortMarks" : "mnuSortNames");
            } else {
                desk.prompts.yesNoAnswers << false;
                desk.prompts.fileAnswers << ranges[pick(2)];
                desk.run("mnuOpenFavourites");
            }
            settle();
            frmReady fresh(desk.ws);
            QVERIFY2(items(list) == items(control<QListWidget>(&fresh, "lstProblems")),
                     qPrintable(QString("step %1: ").arg(step) + items(list).join(" | ")));
            QVERIFY2(items(advice) == items(control<QListWidget>(&fresh, "lstAdvice")),
                     qPrintable(QString("step %1: ").arg(step) + items(advice).join(" | ")));
            for (const char* count : {"lblProblemCount", "lblAdviceCount"})
                QCOMPARE(control<QLabel>(ready, count)->text(),
                         control<QLabel>(&fresh, count)->text());
            // Every line carries its size, wide enough for its text: a line
            // that comes or goes does not make the list measure every line.
            for (const QListWidget* lines : {list, advice}) {
                for (int i = 0; i < lines->count(); ++i) {
                    const QListWidgetItem* line = lines->item(i);
                    QVERIFY(line->sizeHint().height() > 0);
                    QVERIFY(line->sizeHint().width() >=
                            lines->fontMetrics().horizontalAdvance(line->text()));
                }
            }
            (items(advice).filter("the same comments").isEmpty() ? apart : alike) = true;
            // A mark for Adams leaves Chen's line as it was.
            if (step == 0) QCOMPARE(list->row(chen), list->count() - 1);
        }
        QVERIFY(alike && apart);
    }

    // Coded comments over 460 characters, and a free-form comment, at the foot.
    void meterShowsTheCurrentStudentsLength() {
        Desk desk(QByteArray("Code,Comment,Category\r\n0001,") + QByteArray(240, 'a') +
                  ",1\r\n0002," + QByteArray(240, 'b') + ",1\r\n");
        desk.open(desk.file(
            "two.tlc", classLine("SCI3U1-01", "Adams", "Ann", "300000001", "70", "0001,0002,,,") +
                           classLine("SCI3U1-01", "Brook", "Bo", "300000002", "70", ",,,,",
                                     "G,G,G,G,G,G", "0,True,Short and sweet.")));
        auto* meter = desk.ctl("lblCommentLength");
        QCOMPARE(meter->text(), QString("Comments: 484/460 characters"));
        QCOMPARE(meter->palette().color(QPalette::WindowText), kWarningColour);
        clickCell(desk.grid(), 2, 1);
        QCOMPARE(meter->text(), QString("Free-form: 16/460 characters"));
        QVERIFY(meter->palette().color(QPalette::WindowText) != kWarningColour);
        desk.run("mnuReady");  // the main window goes with the list still open
        QVERIFY(openWindow<frmReady>("frmReady")->isVisible());
    }

    // Under the free-form text: the words storing the comment will change.
    void freeFormShowsWhatTheOfficeWillGet() {
        Desk desk;
        desk.open(desk.file("one.tlc", classLine("SCI3U1-01", "Adams", "Ann", "300000001", "70")));
        QStringList shown;
        whenModal<frmFreeFormCommentEntry>([&shown](frmFreeFormCommentEntry* dialog) {
            auto* text = control<QPlainTextEdit>(dialog, "txtComment");
            for (const char* typed :
                 {"Plain words, it's fine!", "Une \xC3\xA9l\xC3\xA8ve na\xC3\xAFve",
                  "\xC3\xA0 \xC3\xA9 \xC3\xAE \xC3\xB4 \xC3\xBC \xC3\xA7 \xC3\xA0 x^2"}) {
                text->setPlainText(QString::fromUtf8(typed));
                shown << control<QLabel>(dialog, "lblWillChange")->text();
            }
            dialog->reject();
        });
        QTest::mouseClick(desk.ctl("lblFreeFormComment"), Qt::LeftButton);
        settle();
        QCOMPARE(shown.join("|"),
                 QString::fromUtf8("|Will be sent as: \xC3\xA9l\xC3\xA8ve \u2192 l ve, "
                                   "na\xC3\xAFve \u2192 na ve|Will be sent as: \xC3\xA0 \u2192 "
                                   ", \xC3\xA9 \u2192 , \xC3\xAE \u2192 , \xC3\xB4 \u2192 , "
                                   "\xC3\xBC \u2192  and 2 more"));
    }
};

QTEST_MAIN(ReadyTest)
#include "tst_ready.moc"
