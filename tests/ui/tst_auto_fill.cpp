// Initial Values Setup: entering ranges, stamping and picking codes, skills,
// undo, split and delete, leaving, and the way in from the main window.
#include "autofill/frm_auto_fill.h"
#include "autofill/mark_ranges.h"
#include "favourites/favourites_text.h"
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

        // A refused answer comes back in the box; corrected, it is the
        // prompt's own example, comma included. The grid shows the core's table.
        desk.prompts.inputAnswers << "0-49 50-59 60-84, 85-1000"
                                  << "0-49 50-59 60-84, 85-100";
        press(w, "cmdEnterRanges");
        QCOMPARE(shownCodes(desk.prompts), QStringList{"TL13:"});
        QCOMPARE(desk.prompts.asked.last().value, QString("0-49 50-59 60-84, 85-1000"));
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

        // Three skill clicks and three undos, the last by Ctrl+Z, give the
        // range back exactly.
        const InitialValueRange before = desk.ws.initialValues[0];
        for (const Qt::MouseButton button : {Qt::LeftButton, Qt::LeftButton, Qt::RightButton})
            clickCell(grid, 1, 5, button);
        QCOMPARE(grid->textMatrix(1, 5) + desk.ws.initialValues[0].skills[0].c_str(),
                 QString("33"));
        click(undo);
        click(undo);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(desk.ws.initialValues[0] == before && grid->textMatrix(1, 5) == "4");

        // A click on a Low cell chooses 60-84 without stamping the selected
        // entry; Split halves it. The lower half gets a code, a click on the
        // upper half's High cell and Delete: one range 60-84 again with the
        // lower half's codes.
        const InitialValueRange chosen = desk.ws.initialValues[1];
        clickCell(grid, 2, 0);
        QVERIFY(grid->row() == 2 && desk.ws.initialValues[1] == chosen);
        press(w, "cmdSplit");
        QCOMPARE(column(grid, 0).mid(1, 2) + column(grid, 1).mid(1, 2),
                 (QStringList{"72", "60", "84", "71"}));
        QVERIFY(!undo->isEnabled());
        clickItem(list, 2);
        clickCell(grid, 3, 2);
        clickCell(grid, 2, 1);
        press(w, "cmdDelete");
        QCOMPARE(column(grid, 0) + column(grid, 1), ranges);

        // Refused again, then Cancel in the box: the ranges and codes stay.
        desk.prompts.inputAnswers += QStringList{"50-60 60-70", ""};
        press(w, "cmdEnterRanges");
        QCOMPARE(shownCodes(desk.prompts), (QStringList{"TL13:", "TL14:"}));
        QCOMPARE(desk.prompts.asked.last().value, QString("50-60 60-70"));

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

    void aListClickAfterAStampGoesBackToThePickedCell() {
        // 0007 in the upper range's CM1 is not in the favourites list.
        Desk desk({},
                  " 2 \r\n80,100,0007,,,4,4,4,4,4,4\r\n0,79,,,,3,3,3,3,3,3\r\n0004\r\n0005\r\n");
        desk.run("mnuAutoFill");
        auto* w = openWindow<frmAutoFill>("frmAutoFill");
        auto* grid = control<FlexGrid>(w, "msfgClass");
        auto* list = control<QListWidget>(w, "lstFavourites");
        clickCell(grid, 1, 2, Qt::RightButton);
        QVERIFY(grid->cellBackColor(1, 2) == QColor(110, 150, 210) &&
                list->selectedItems().isEmpty());
        clickCell(grid, 2, 3);
        QVERIFY(desk.ws.initialValues[1].codes[1] == "0007" && grid->row() == 2);

        // The list click ends it at its cell, white again, so Split halves 80-100.
        clickItem(list, 0);
        QCOMPARE(QPoint(grid->row(), grid->col()), QPoint(1, 2));
        QCOMPARE(grid->cellBackColor(1, 2), QColor(Qt::white));
        press(w, "cmdSplit");
        QStringList ranges;
        for (const InitialValueRange& range : desk.ws.initialValues)
            ranges << QString("%1-%2").arg(range.lowMark).arg(range.highMark);
        QCOMPARE(ranges, (QStringList{"90-100", "80-89", "0-79"}));
        // Nothing is picked now: the clicked entry stamps.
        clickCell(grid, 3, 4);
        QCOMPARE(desk.ws.initialValues[2].codes[2], std::string("0004"));
    }

    void withoutRangesTheOpenDialogOnceThenTL6() {
        Desk desk({}, " 0 \r\n0004\r\n");
        desk.prompts.fileAnswers << "";
        desk.run("mnuAutoFill");
        QCOMPARE(desk.prompts.count(Kind::Open), 2);  // the start-up one and this one
        QCOMPARE(shownCodes(desk.prompts), QStringList{"TL6:"});
        QVERIFY(openWindow<frmAutoFill>("frmAutoFill") == nullptr && desk.entry.isVisible());
    }

    void detailPanelWrapsALongPhraseUnderTheCodeColumn() {
        Desk desk(
            "Code,Comment,Category\r\n0005,@ takes the lead in every group task and "
            "helps others to finish their share of the work on time.,1\r\n",
            " 1 \r\n80,100,0005,,,4,4,4,4,4,4\r\n0005\r\n");
        desk.run("mnuAutoFill");
        auto* label = control<QLabel>(openWindow<frmAutoFill>("frmAutoFill"), "lblDetail1");
        // The label keeps the whole line and is as high as the lines it is
        // drawn in at the panel's width.
        const std::string line = rangeDetailLines(desk.ws.initialValues[0], desk.ws.phrases)[0];
        const QFontMetricsF metrics(label->font());
        const auto fits = static_cast<std::size_t>(label->contentsRect().width() /
                                                   metrics.horizontalAdvance('x'));
        QVERIFY(line.size() > fits + 20 && label->text() == toQString(line));
        QCOMPARE(label->height(),
                 static_cast<int>(std::ceil(metrics.lineSpacing())) *
                     static_cast<int>(wrapPrintedLine(line, fits, kDetailCodeColumn).size()));
    }

    void realInputBoxOpensWithTheTextAndEscapeCancels() {
        QtPrompts prompts;
        for (const bool accept : {true, false}) {
            QString opened;
            whenModal<QInputDialog>([accept, &opened](QInputDialog* dialog) {
                opened = dialog->textValue();
                dialog->setTextValue("50-59");
                accept ? dialog->accept()
                       : QTest::keyClick(dialog->focusWidget(), Qt::Key_Escape);  // Cancel
            });
            QCOMPARE(prompts.inputBox(kEnterRangesPrompt, kEnterRangesTitle, "50-60 60-70"),
                     accept ? QString("50-59") : QString());
            QCOMPARE(opened, QString("50-60 60-70"));
        }
    }
};

QTEST_MAIN(AutoFillTest)
#include "tst_auto_fill.moc"
