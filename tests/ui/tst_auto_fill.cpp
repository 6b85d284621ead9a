// SPDX-License-Identifier: GPL-3.0-or-later

// Initial Values Setup: the way in from the main window, the detail panel,
// entering ranges, stamping and picking codes, skills, undo, split and delete,
// and leaving; and the input box it asks for ranges in.
#include "autofill/frm_auto_fill.h"
#include "autofill/mark_ranges.h"
#include "platform/prompts.h"
#include "ui/ui_support.h"

using namespace tl;
using namespace tl::test;

class AutoFillTest : public QObject {
    Q_OBJECT
  private slots:
    void setupFromTheMainWindow() {
        // 0005's phrase is far wider than the detail panel.
        Desk desk(
            "Code,Comment,Category\r\n0004,@ understands the course material.,2\r\n"
            "0005,@ takes the lead in every group task and helps others to finish "
            "their share of the work on time.,1\r\n0101,@ reads closely.,4\r\n",
            " 0 \r\n0004\r\n");
        // Without ranges the command offers the Open dialog once, then says TL6.
        const QString ranged = desk.file("r.tlf", " 1 \r\n80,100,0005,,,4,4,4,4,4,4\r\n0004\r\n");
        desk.prompts.fileAnswers << "" << ranged;
        desk.run("mnuAutoFill");
        QCOMPARE(desk.prompts.count(Kind::Open), 2);  // the start-up one and this one
        QCOMPARE(shownCodes(desk.prompts), QStringList{"TL6:"});
        QVERIFY(openWindow<frmAutoFill>("frmAutoFill") == nullptr && desk.entry.isVisible());

        // With ranges the window takes the main window's place. The panel's
        // label keeps the whole line and is as high as the lines it is drawn
        // in at the panel's width.
        desk.run("mnuAutoFill");
        auto* w = openWindow<frmAutoFill>("frmAutoFill");
        QVERIFY(w != nullptr && w->isVisible() && !desk.entry.isVisible());
        auto* label = control<QLabel>(w, "lblDetail1");
        const std::string line = rangeDetailLines(desk.ws.doc.ranges()[0], desk.ws.phrases)[0];
        const QFontMetricsF metrics(label->font());
        const auto fits = static_cast<std::size_t>(label->contentsRect().width() /
                                                   metrics.horizontalAdvance('x'));
        QVERIFY(line.size() > fits + 20 && label->text() == toQString(line));
        QCOMPARE(label->height(),
                 static_cast<int>(std::ceil(metrics.lineSpacing())) *
                     static_cast<int>(wrapPrintedLine(line, fits, kDetailCodeColumn).size()));

        // A refused answer comes back in the box; corrected, it is the
        // prompt's own example, comma included.
        auto* grid = control<FlexGrid>(w, "msfgClass");
        const auto ranges = [grid] { return (column(grid, 0) + column(grid, 1)).join(' '); };
        desk.prompts.inputAnswers << "0-49 50-59 60-84, 85-1000"
                                  << "0-49 50-59 60-84, 85-100";
        press(w, "cmdEnterRanges");
        QCOMPARE(shownCodes(desk.prompts).join(' ') + " " + desk.prompts.asked.last().value,
                 QString("TL6: TL13: 0-49 50-59 60-84, 85-1000"));
        QCOMPARE(ranges(), QString("85 60 50 0 100 84 59 49"));

        // A stamp from the list, then a right click that selects the cell's
        // entry and a stamp in CM3 that moves the code there.
        clickItem(control<QListWidget>(w, "lstFavourites"), 0);
        clickCell(grid, 2, 2);
        clickCell(grid, 2, 2, Qt::RightButton);
        clickCell(grid, 2, 4);
        QCOMPARE(grid->textMatrix(2, 2) + "|" + grid->textMatrix(2, 4), QString("|0004"));

        // Left, left and right on a skill, then Ctrl+Z three times: the range
        // is back exactly.
        const InitialValueRange before = desk.ws.doc.ranges()[0];
        for (const Qt::MouseButton button : {Qt::LeftButton, Qt::LeftButton, Qt::RightButton})
            clickCell(grid, 1, 5, button);
        QCOMPARE(grid->textMatrix(1, 5) + desk.ws.doc.ranges()[0].skills[0].c_str(), QString("33"));
        for (int i = 0; i < 3; ++i)
            pressChord(Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(desk.ws.doc.ranges()[0] == before && grid->textMatrix(1, 5) == "4");

        // Split halves the chosen range and ends what Undo could undo; Delete
        // on the upper half joins them again.
        clickCell(grid, 2, 0);
        press(w, "cmdSplit");
        QCOMPARE(ranges(), QString("85 72 60 50 0 100 84 71 59 49"));
        QVERIFY(!control<QPushButton>(w, "cmdUndo")->isEnabled());
        clickCell(grid, 2, 1);
        press(w, "cmdDelete");
        QCOMPARE(ranges(), QString("85 60 50 0 100 84 59 49"));

        // Back leaves with the ranges written.
        press(w, "cmdBack");
        QVERIFY(openWindow<frmAutoFill>("frmAutoFill") == nullptr && desk.entry.isVisible());
        QVERIFY(contents(ranged).startsWith(" 4 \r\n85,100,,,,4,4,4,4,4,4\r\n60,84,,,0004,"));
    }

    // A code the list lacks, picked up in the upper range and stamped into the
    // lower: the list's first focus keeps the pick, a click on the list ends it
    // at its own cell, so Split halves 80-100.
    void aListClickAfterAStampGoesBackToThePickedCell() {
        Desk desk({},
                  " 2 \r\n80,100,0007,,,4,4,4,4,4,4\r\n0,79,,,,3,3,3,3,3,3\r\n0004\r\n0005\r\n");
        desk.run("mnuAutoFill");
        auto* w = openWindow<frmAutoFill>("frmAutoFill");
        auto* grid = control<FlexGrid>(w, "msfgClass");
        auto* list = control<QListWidget>(w, "lstFavourites");
        clickCell(grid, 1, 2, Qt::RightButton);
        pressChord(Qt::Key_1, Qt::AltModifier);
        QVERIFY(list->hasFocus() && grid->cellBackColor(1, 2) == QColor(110, 150, 210));
        clickCell(grid, 2, 3);
        QVERIFY(desk.ws.doc.ranges()[1].codes[1] == "0007" && grid->row() == 2);
        clickItem(list, 0);
        QCOMPARE(
            QString("%1,%2 ").arg(grid->row()).arg(grid->col()) + grid->cellBackColor(1, 2).name(),
            QString("1,2 #ffffff"));
        press(w, "cmdSplit");
        QCOMPARE(desk.ws.doc.ranges()[0].lowMark * 1000 + desk.ws.doc.ranges()[1].lowMark, 90080);
    }

    void realInputBoxOpensWithTheTextAndEscapeCancels() {
        for (const bool accept : {true, false}) {
            QString opened;
            whenModal<QInputDialog>([accept, &opened](QInputDialog* dialog) {
                opened = dialog->textValue();
                dialog->setTextValue("50-59");
                accept ? dialog->accept() : QTest::keyClick(dialog->focusWidget(), Qt::Key_Escape);
            });
            const QString answer =
                QtPrompts().inputBox(kEnterRangesPrompt, kEnterRangesTitle, "50-60 60-70");
            QCOMPARE(opened + "|" + answer, QString(accept ? "50-60 60-70|50-59" : "50-60 60-70|"));
        }
    }
};

QTEST_MAIN(AutoFillTest)
#include "tst_auto_fill.moc"
