// Initial Values Setup: entering ranges, stamping and picking codes, skills,
// undo, split and delete, leaving, and the way in from the main window.
#include "autofill/frm_auto_fill.h"
#include "autofill/mark_ranges.h"
#include "platform/prompts.h"
#include "ui/ui_support.h"

using namespace tl;
using namespace tl::test;

namespace {

const QByteArray kOneRange = " 1 \r\n80,100,,,,4,4,4,4,4,4\r\n0004\r\n0005\r\n0101\r\n";

}  // namespace

class AutoFillTest : public QObject {
    Q_OBJECT
  private slots:
    void rangesCodesSkillsUndoSplitDeleteAndLeave() {
        Desk desk({}, kOneRange);
        desk.run("mnuAutoFill");
        auto* w = openWindow<frmAutoFill>("frmAutoFill");
        QVERIFY(w != nullptr && w->isVisible() && !desk.entry.isVisible());
        auto* grid = control<FlexGrid>(w, "msfgClass");
        auto* list = control<QListWidget>(w, "lstFavourites");
        auto* undo = control<QPushButton>(w, "cmdUndo");

        // The prompt's own example, comma included; the grid shows the core's table.
        desk.prompts.inputAnswers << "0-49 50-59 60-84, 85-100";
        press(w, "cmdEnterRanges");
        const QStringList ranges = column(grid, 0) + column(grid, 1);
        QCOMPARE(ranges, (QStringList{"85", "60", "50", "0", "100", "84", "59", "49"}));
        QCOMPARE(control<QLabel>(w, "lblDetail2")->text(),
                 toQString(rangeDetailLines(desk.ws.initialValues[0], desk.ws.phrases)[1]));

        // A stamp from the list, then a right click that selects the cell's
        // entry and a stamp in CM3 that moves the code there.
        clickItem(list, 0);
        clickCell(grid, 2, 2);
        clickCell(grid, 2, 2, Qt::RightButton);
        clickCell(grid, 2, 4);
        QCOMPARE(column(grid, 2)[1] + "|" + column(grid, 4)[1], QString("|0004"));

        // Three skill clicks and three undos give the range back exactly.
        const InitialValueRange before = desk.ws.initialValues[0];
        for (const Qt::MouseButton button : {Qt::LeftButton, Qt::LeftButton, Qt::RightButton})
            clickCell(grid, 1, 5, button);
        QCOMPARE(grid->textMatrix(1, 5) + desk.ws.initialValues[0].skills[0].c_str(),
                 QString("33"));
        for (int i = 0; i < 3; ++i)
            click(undo);
        QVERIFY(desk.ws.initialValues[0] == before && grid->textMatrix(1, 5) == "4");

        // Split 60-84, give the lower half a code, then Delete the upper half:
        // one range 60-84 again with the lower half's codes.
        grid->setFocus();
        pressKey(Qt::Key_Down);
        press(w, "cmdSplit");
        QCOMPARE(column(grid, 0).mid(1, 2) + column(grid, 1).mid(1, 2),
                 (QStringList{"72", "60", "84", "71"}));
        QVERIFY(!undo->isEnabled());
        clickItem(list, 2);
        clickCell(grid, 3, 2);
        grid->setFocus();
        pressKey(Qt::Key_Up);
        press(w, "cmdDelete");
        QCOMPARE(column(grid, 0) + column(grid, 1), ranges);

        // Leaving writes the file and switches the auto fill on; a mark typed
        // afterwards takes the new range's codes.
        press(w, "cmdBack");
        QVERIFY(openWindow<frmAutoFill>("frmAutoFill") == nullptr && desk.entry.isVisible());
        QCOMPARE(contents(desk.home("start.tlf")),
                 QByteArray(" 4 \r\n85,100,,,,4,4,4,4,4,4\r\n60,84,0101,,0004,3,3,3,3,3,3\r\n"
                            "50,59,,,,2,2,2,2,2,2\r\n0,49,,,,1,1,1,1,1,1\r\n"
                            "0004\r\n0005\r\n0101\r\n"));
        desk.open(desk.file("c.tlc", classLine("ENG2D1-01", "Avery", "Jo", "123456789", "")));
        typeMark(desk, 1, "70");
        QCOMPARE(listOf(desk.ws.students[0].comments), (QStringList{"0101", "", "0004", "", ""}));
    }

    void withoutRangesTheOpenDialogOnceThenTL6() {
        Desk desk({}, " 0 \r\n0004\r\n");
        desk.prompts.fileAnswers << "";
        desk.run("mnuAutoFill");
        QCOMPARE(desk.prompts.count(Kind::Open), 2);  // the start-up one and this one
        QCOMPARE(shownCodes(desk.prompts), QStringList{"TL6:"});
        QVERIFY(openWindow<frmAutoFill>("frmAutoFill") == nullptr && desk.entry.isVisible());
    }

    void realInputBoxReturnsTheAnswerOrNothing() {
        QtPrompts prompts;
        for (const bool accept : {true, false}) {
            whenModal<QInputDialog>([accept](QInputDialog* dialog) {
                dialog->setTextValue("50-59");
                accept ? dialog->accept() : dialog->reject();
            });
            QCOMPARE(prompts.inputBox(kEnterRangesPrompt, kEnterRangesTitle),
                     accept ? QString("50-59") : QString());
        }
    }
};

QTEST_MAIN(AutoFillTest)
#include "tst_auto_fill.moc"
