// Editing a class in the main window's grid with the mouse and the keyboard:
// the mark editor, the auto fill, skills, flags, stamping comment codes, the
// skills view, free-form comments and undo.
#include <memory>

#include "entry/frm_free_form_comment_entry.h"
#include "ui/ui_support.h"

using namespace tl;
using namespace tl::test;

namespace {

// Ranges 80-100 and 70-79, a later range overlapping the first, and 0-49.
// Favourites: 0001, 0002, a separator, 0007, 0010 (list rows 0 to 4; row 5
// is the final entry).
const QByteArray kFavourites =
    " 4 \r\n80,100,0004,0002,0010,4,4,4,4,4,4\r\n70,79,0005,0007,0001,2,2,2,2,2,2\r\n"
    "85,95,0001,0001,0001,1,1,1,1,1,1\r\n0,49,0008,0010,0002,1,1,1,1,1,1\r\n"
    "0001\r\n0002\r\n    \r\n0007\r\n0010\r\n";

const QStringList kWordsShown{"Free", "Form", "Code", "Click", "Below"};
const QColor kPicked(110, 150, 210);

// The main window with the favourites above and a class of six: row 1 empty;
// row 2 with CM1 and CM2; row 3 with one skill at 4; row 4 with four blanks
// in CM2; row 5 free-form; row 6 with ELD, an unrated skill and a code that
// the favourites list lacks.
struct EditDesk : Desk {
    EditDesk() : Desk({}, kFavourites) {
        open(file(
            "sci.tlc",
            "SCI3U1-01,Ashdown,Ivy,301000001,F,1,0,,,,,,G,G,G,G,G,G,,,,,,,0,False,\r\n"
            "SCI3U1-01,Brennick,Ivy,301000001,F,1,0,,,,,,G,G,G,G,G,G,,0002,0007,,,,0,False,\r\n"
            "SCI3U1-01,Corvell,Ivy,301000001,F,1,0,,,,,,G,G,E,G,G,G,,,,,,,0,False,\r\n"
            "SCI3U1-01,Dellamar,Ivy,301000001,F,1,0,,,,,,G,G,G,G,G,G,,,    ,,,,0,False,\r\n"
            "SCI3U1-01,Everly,Ivy,301000001,F,1,0,,,77,,,G,G,G,G,G,G,,0001,0004,,,,0,True,Ivy "
            "writes with flair.\r\n"
            "SCI3U1-01,Fairweather,Ivy,301000001,F,1,0,,Y,58,,,G,0,G,G,G,G,,0005,,,,,0,False,"
            "\r\n"));
    }
    QLineEdit* editor() const { return entry.findChild<QLineEdit*>("txtDataEntry"); }
    QListWidget* list() const { return ctl<QListWidget>("lstFavourites"); }
    // Selects a favourites entry and stamps it into a cell.
    void stamp(int item, int row, int col) {
        clickItem(list(), item);
        clickCell(grid(), row, col);
    }
};

void clickHeader(FlexGrid* grid, int col, Qt::MouseButton button) {
    QHeaderView* header = grid->horizontalHeader();
    QVERIFY(header->sectionSize(col) > 0);
    const int x = header->sectionViewportPosition(col) + header->sectionSize(col) / 2;
    QTest::mouseClick(header->viewport(), button, {}, QPoint(x, header->height() / 2));
    settle();
}

// Clicks the detail panel and runs answer on the free-form dialog it opens.
void onPanel(Desk& desk, std::function<void(frmFreeFormCommentEntry*)> answer) {
    auto answered = std::make_shared<bool>(false);
    onNextModal([answered, answer](QWidget* modal) {
        if (auto* dialog = qobject_cast<frmFreeFormCommentEntry*>(modal)) {
            *answered = true;
            answer(dialog);
        }
    });
    QTest::mouseClick(desk.ctl("lblFreeFormComment"), Qt::LeftButton);
    settle();
    QVERIFY(*answered);
}

// Answers the free-form dialog with a text and Okay.
void writeFreeForm(Desk& desk, const QString& text) {
    onPanel(desk, [text](frmFreeFormCommentEntry* dialog) {
        control<QPlainTextEdit>(dialog, "txtComment")->setPlainText(text);
        control<QPushButton>(dialog, "cmdOkay")->click();
    });
}

}  // namespace

class EntryEditingTest : public QObject {
    Q_OBJECT
  private slots:
    void markEditor() {
        EditDesk desk;
        QVERIFY(desk.loaded && QTest::qWaitForWindowExposed(&desk.entry));
        FlexGrid* grid = desk.grid();
        QLineEdit* editor = desk.editor();
        click(desk.btn("optAutoFill"));

        // 1, 0, 0 gives 100 in the cell and the record; the next MRK cell is current.
        clickCell(grid, 1, 3);
        typeKeys("1");
        QVERIFY(editor->isVisible() && editor->hasFocus());
        QCOMPARE(editor->geometry(), grid->cellGeometry(1, 3));
        typeKeys("00");
        pressKey(Qt::Key_Return);
        QVERIFY(!editor->isVisible() && grid->hasFocus());
        QCOMPARE(grid->textMatrix(1, 3) + desk.ws.students[0].mark.c_str(), QString("100100"));
        QCOMPARE(QPoint(grid->row(), grid->col()), QPoint(2, 3));
        QCOMPARE(panel(desk.entry), expectedPanel(desk.ws, 1, false));

        // 1, 0, 1: the third digit empties the editor, and Enter stores nothing.
        typeKeys("101");
        QCOMPARE(editor->text(), QString());
        pressKey(Qt::Key_Return);
        QCOMPARE(grid->textMatrix(2, 3) + desk.ws.students[1].mark.c_str(), QString());

        // A small i opens the editor empty (its release is not typed into it);
        // the second gives "I". Backspace and Escape open it empty too.
        clickCell(grid, 4, 3);
        typeKeys("i");
        QCOMPARE(editor->isVisible() ? editor->text() : QString("closed"), QString());
        typeKeys("i");
        QCOMPARE(editor->text(), QString("I"));
        for (const Qt::Key key : {Qt::Key_Backspace, Qt::Key_Escape}) {
            clickCell(grid, 4, 3);
            pressKey(key);
            QCOMPARE(editor->isVisible() ? editor->text() : QString("closed"), QString());
        }

        // Enter on the grid opens an empty editor; Enter in it keeps the mark,
        // and on the last student moves to the first.
        clickCell(grid, 6, 3);
        pressKey(Qt::Key_Return);
        QVERIFY(editor->isVisible() && editor->text().isEmpty());
        pressKey(Qt::Key_Return);
        QCOMPARE(desk.ws.students[5].mark, std::string("58"));
        QCOMPARE(QPoint(grid->row(), grid->col()), QPoint(1, 3));
        typeMark(desk, 6, "61");
        QCOMPARE(desk.ws.students[5].mark, std::string("61"));
        QCOMPARE(grid->row(), 1);

        // Moving away discards what was typed.
        clickCell(grid, 2, 3);
        typeKeys("9");
        clickCell(grid, 3, 3);
        QVERIFY(!editor->isVisible());
        QCOMPARE(grid->textMatrix(2, 3) + desk.ws.students[1].mark.c_str(), QString());
        QCOMPARE(desk.undos(), 2);
    }

    void autoFillConditionsAndUndo() {
        EditDesk desk;
        FlexGrid* grid = desk.grid();
        QVERIFY(desk.btn("optAutoFill")->isChecked());
        // The row, the mark typed, and CM1 to CM3 and the six skills afterwards.
        const std::tuple<int, QString, QString> cases[] = {
            // Empty comments and all skills 3: both from 80-100, not the later 85-95.
            {1, "85", "0004|0002|0010|444444"},
            {2, "85", "0002|0007||444444"},  // CM1 in use: skills only
            {3, "62", "|||334333"},          // outside every range: nothing
        };
        for (const auto& [row, mark, filled] : cases) {
            const std::vector<StudentRecord> before = desk.ws.students;
            const QStringList shown = cells(grid, row);
            typeMark(desk, row, mark);
            const StudentRecord& s = desk.ws.students[row - 1];
            QCOMPARE(toQString(s.mark), mark);
            QCOMPARE(cells(grid, row, 4, 6).join('|') + "|" + cells(grid, row, 9, 14).join(""),
                     filled);
            QCOMPARE(listOf(s.comments).mid(0, 3).join('|') + "|" + listOf(s.skills).join(""),
                     filled);
            // What the auto fill put in is shown in red.
            const bool commentsFilled =
                shown.mid(4, 3).join("").isEmpty() && !cells(grid, row, 4, 6).join("").isEmpty();
            // Codes the teacher put in stay black.
            if (commentsFilled || row == 2) {
                QVERIFY2((grid->cellForeColor(row, 4) == QColor(255, 0, 0)) == commentsFilled,
                         qPrintable(mark));
            }
            // Undo takes back the mark and what the auto fill put in, in one step.
            QCOMPARE(desk.undos(), 1);
            click(desk.btn("cmdUndo"));
            QVERIFY(desk.ws.students == before);
            QCOMPARE(cells(grid, row), shown);
        }
        // Unticked: the mark alone is stored.
        click(desk.btn("optAutoFill"));
        typeMark(desk, 1, "85");
        QCOMPARE(desk.ws.students[0].mark, std::string("85"));
        QCOMPARE(cells(grid, 1, 4, 14).join(""), QString("333333"));
    }

    void skillsAndFlags() {
        EditDesk desk;
        FlexGrid* grid = desk.grid();
        click(desk.btn("cmdSwitch"));
        auto cycle = [&](int col, Qt::MouseButton button) {
            QString seen;
            for (int i = 0; i < 4; ++i) {
                clickCell(grid, 1, col, button);
                seen += grid->textMatrix(1, col) + desk.ws.students[0].skills[col - 9].c_str();
            }
            return seen;
        };
        QCOMPARE(cycle(9, Qt::LeftButton), QString("22114433"));
        QCOMPARE(cycle(14, Qt::RightButton), QString("44112233"));

        const StudentRecord& jo = desk.ws.students[5];
        auto eslEld = [&]() {
            return cells(grid, 6, 16, 17).join('|') + toQString(" " + jo.esl + "|" + jo.eld);
        };
        QCOMPARE(eslEld(), QString("|Y |Y"));
        clickCell(grid, 6, 16);
        QCOMPARE(eslEld(), QString("Y| Y|"));
        clickCell(grid, 6, 17);
        QCOMPARE(eslEld(), QString("|Y |Y"));

        // Headers set or clear a whole column and record no undo entry.
        auto flags = [&](int row) {
            const StudentRecord& s = desk.ws.students[row - 1];
            return cells(grid, row, 15, 18).join('|') +
                   toQString(" " + s.iep + "|" + s.esl + "|" + s.eld + "|" + s.interview);
        };
        for (int col : {17, 16, 15})
            clickHeader(grid, col, Qt::RightButton);
        clickHeader(grid, 18, Qt::LeftButton);
        for (int row = 1; row <= 6; ++row)
            QCOMPARE(flags(row), QString("Y|Y|| Y|Y||"));
        clickHeader(grid, 16, Qt::LeftButton);
        clickHeader(grid, 17, Qt::RightButton);
        for (int row = 1; row <= 6; ++row)
            QCOMPARE(flags(row), QString("Y||Y| Y||Y|"));
        QCOMPARE(desk.undos(), 10);
    }

    void stampingAndPickingCodes() {
        EditDesk desk;
        FlexGrid* grid = desk.grid();
        QListWidget* list = desk.list();
        QCOMPARE(list->count(), 6);
        // A selected entry is stamped by left clicks and stays selected.
        desk.stamp(0, 1, 4);
        clickCell(grid, 3, 6);
        QCOMPARE(grid->textMatrix(1, 4) + grid->textMatrix(3, 6), QString("00010001"));
        QCOMPARE(listOf(desk.ws.students[2].comments), (QStringList{"", "", "0001", "", ""}));
        QCOMPARE(QPoint(grid->row(), grid->col()), QPoint(3, 6));
        QCOMPARE(panel(desk.entry), expectedPanel(desk.ws, 2, false));

        // The code already in CM2 moves to CM4.
        desk.stamp(3, 2, 7);
        QCOMPARE(cells(grid, 2, 4, 8), (QStringList{"0002", "", "", "0007", ""}));
        QCOMPARE(listOf(desk.ws.students[1].comments), cells(grid, 2, 4, 8));
        // The final entry and the separator empty a slot.
        desk.stamp(5, 2, 4);
        desk.stamp(2, 2, 7);
        QCOMPARE(listOf(desk.ws.students[1].comments), (QStringList{"    ", "", "", "    ", ""}));

        // A right click on an empty cell selects the final entry, on a listed
        // code that code's entry.
        clickCell(grid, 3, 8, Qt::RightButton);
        QVERIFY(list->currentRow() == 5 && list->item(5)->isSelected());
        clickCell(grid, 3, 6, Qt::RightButton);
        QVERIFY(list->currentRow() == 0 && list->item(0)->isSelected());

        // 0005 is not in the list: a right click picks it up from its cell.
        clickItem(list, 1);
        clickCell(grid, 6, 4, Qt::RightButton);
        QCOMPARE(grid->cellBackColor(6, 4), kPicked);
        QVERIFY(list->selectedItems().isEmpty());
        clickCell(grid, 1, 5);
        // It survives a switch to the skills view and back.
        click(desk.btn("cmdSwitch"));
        click(desk.btn("cmdSwitch"));
        QCOMPARE(grid->cellBackColor(6, 4), kPicked);
        clickCell(grid, 4, 8);
        QCOMPARE(grid->textMatrix(1, 5) + desk.ws.students[3].comments[4].c_str(),
                 QString("00050005"));

        // A free-form student's cells show words: nothing is stamped there or picked up.
        const StudentRecord everly = desk.ws.students[4];
        for (int c = 4; c <= 8; ++c) {
            clickCell(grid, 5, c);
            clickCell(grid, 5, c, Qt::RightButton);
        }
        QCOMPARE(cells(grid, 5, 4, 8), kWordsShown);
        QVERIFY(desk.ws.students[4] == everly);
        QCOMPARE(grid->cellBackColor(6, 4), kPicked);

        // A click on the list ends it: the cell is white again.
        desk.stamp(4, 1, 6);
        QCOMPARE(grid->cellBackColor(6, 4), QColor(Qt::white));
        QCOMPARE(desk.ws.students[0].comments[2], std::string("0010"));
        // A right click on another cell also ends it.
        clickCell(grid, 6, 4, Qt::RightButton);
        QCOMPARE(grid->cellBackColor(6, 4), kPicked);
        clickCell(grid, 1, 6, Qt::RightButton);
        QCOMPARE(grid->cellBackColor(6, 4), QColor(Qt::white));
        QCOMPARE(list->currentRow(), 4);
    }

    void undoTakesBackEachEditInOneStep() {
        EditDesk desk;
        FlexGrid* grid = desk.grid();
        // A stamp moving a code out of CM2; in the skills view a skill, ESL over
        // ELD and a free-form student's flag.
        const QList<std::function<void()>> edits = {
            [&] { desk.stamp(3, 2, 6); }, [&] { clickCell(grid, 3, 11, Qt::RightButton); },
            [&] { clickCell(grid, 6, 16); }, [&] { clickCell(grid, 5, 15); }};
        for (int i = 0; i < edits.size(); ++i) {
            if (i == 1) click(desk.btn("cmdSwitch"));
            const std::vector<StudentRecord> before = desk.ws.students;
            const QStringList shown = allCells(grid);
            edits[i]();
            QVERIFY(desk.ws.students != before);
            QCOMPARE(desk.undos(), 1);
            click(desk.btn("cmdUndo"));
            QVERIFY(desk.ws.students == before);
            QCOMPARE(allCells(grid), shown);
            QVERIFY(!desk.btn("cmdUndo")->isEnabled());
        }

        // Two students changed: the later is taken back first, and its row becomes current.
        const std::vector<StudentRecord> before = desk.ws.students;
        const QStringList shown = allCells(grid);
        clickCell(grid, 2, 15);
        clickCell(grid, 4, 9);
        clickCell(grid, 6, 3);
        click(desk.btn("cmdUndo"));
        QVERIFY(desk.ws.students[3] == before[3] && desk.ws.students[1] != before[1]);
        QCOMPARE(QPoint(grid->row(), grid->col()), QPoint(4, 3));
        QCOMPARE(panel(desk.entry), expectedPanel(desk.ws, 3, false));
        QCOMPARE(grid->cellBackColor(4, 0), desk.entry.palette().color(QPalette::Highlight));
        desk.act("mnuUndo")->trigger();
        QCOMPARE(grid->row(), 2);
        QVERIFY(desk.ws.students == before);
        QCOMPARE(allCells(grid), shown);
        QVERIFY(!desk.btn("cmdUndo")->isEnabled() && !desk.act("mnuUndo")->isEnabled());
    }

    void switchShowsTheLearningSkillsReference() {
        EditDesk desk;
        QListWidget* skills = desk.ctl<QListWidget>("lstLearningSkills");
        auto widths = [&desk]() {
            const FlexGrid* g = desk.grid();
            return QList<int>{g->colWidth(4), g->colWidth(8), g->colWidth(9), g->colWidth(18)};
        };
        click(desk.btn("cmdSwitch"));
        QCOMPARE(widths(), (QList<int>{0, 0, 19, 19}));
        QVERIFY(skills->isVisible() && !desk.list()->isVisible());
        QCOMPARE(desk.ctl("lblFavouriteFile")->text(), QString("Learning Skills"));
        QCOMPARE(skills->count(), 39);
        QVERIFY(skills->item(0)->text().startsWith("1 (Needs Improvement)   2 (Satisfactory)"));
        QVERIFY(skills->item(38)->text().startsWith("T    Teacher Interview Requested"));

        click(desk.btn("cmdSwitch"));
        QCOMPARE(widths(), (QList<int>{35, 35, 0, 0}));
        QVERIFY(!skills->isVisible() && desk.list()->isVisible());
        QCOMPARE(desk.list()->count(), 6);
    }

    void freeFormDialogStopsAt460Characters() {
        Workspace ws;
        ws.freeFormDraft = "left over";
        ScriptedPrompts prompts;
        frmFreeFormCommentEntry dialog(ws, prompts);
        QCOMPARE(ws.freeFormDraft, std::string());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        // Typing stops at 460 characters.
        auto* text = control<QPlainTextEdit>(&dialog, "txtComment");
        text->setPlainText(QString(458, 'a'));
        text->moveCursor(QTextCursor::End);
        QTest::keyClicks(text, "bcdef");
        QCOMPARE(text->toPlainText(), QString(458, 'a') + "bc");
        QCOMPARE(control<QLabel>(&dialog, "lblLength")->text(), QString("Length: 460/460"));
    }

    void freeFormCommand() {
        EditDesk desk;
        FlexGrid* grid = desk.grid();
        const StudentRecord& brennick = desk.ws.students[1];
        // Okay without a change: the message, and the student stays coded.
        clickCell(grid, 2, 3);
        QString shown;
        onPanel(desk, [&shown](frmFreeFormCommentEntry* dialog) {
            shown = control<QPlainTextEdit>(dialog, "txtComment")->toPlainText();
            control<QPushButton>(dialog, "cmdOkay")->click();
        });
        QVERIFY(shown.startsWith("Ivy has made steady progress this term. "));
        QCOMPARE(desk.prompts.messages(), QStringList{"There was no change to the coded comment, "
                                                      "therefore free form comments NOT used."});
        QVERIFY(!brennick.freeFormUsed);

        // A changed text makes the student free-form; the codes stay in the record.
        writeFreeForm(desk, "Great work? Yes");
        QVERIFY(brennick.freeFormUsed);
        QCOMPARE(brennick.freeFormText, std::string("Great work  Yes"));
        QCOMPARE(listOf(brennick.comments), (QStringList{"0002", "0007", "", "", ""}));
        QCOMPARE(cells(grid, 2, 4, 8), kWordsShown);
        QCOMPARE(panel(desk.entry), expectedPanel(desk.ws, 1, false));
        // Blank text: No keeps the dialog open with its text, Yes returns to the codes.
        desk.prompts.yesNoAnswers << false << true;
        onPanel(desk, [&](frmFreeFormCommentEntry* dialog) {
            shown = control<QPlainTextEdit>(dialog, "txtComment")->toPlainText() + "|";
            control<QPlainTextEdit>(dialog, "txtComment")->setPlainText("   ");
            control<QPushButton>(dialog, "cmdOkay")->click();
            shown += dialog->isVisible()
                         ? control<QPlainTextEdit>(dialog, "txtComment")->toPlainText()
                         : "closed";
            control<QPushButton>(dialog, "cmdOkay")->click();
        });
        QCOMPARE(shown, QString("Great work  Yes|   "));
        QCOMPARE(desk.prompts.asked.last().text,
                 QString("An empty comment will restore coded comments. Is this what you want?"));
        QVERIFY(!brennick.freeFormUsed && cells(grid, 2, 4, 5) == QStringList({"0002", "0007"}));
        // So do Okay on line breaks and tabs alone, Cancel, and the window frame.
        for (int how : {0, 1, 2}) {
            writeFreeForm(desk, "  Ivy is curious.\n");
            QCOMPARE(brennick.freeFormText, std::string("Ivy is curious."));
            QCOMPARE(cells(grid, 2, 4, 8), kWordsShown);
            if (how == 0) desk.prompts.yesNoAnswers << true;
            onPanel(desk, [how](frmFreeFormCommentEntry* d) {
                control<QPlainTextEdit>(d, "txtComment")
                    ->setPlainText(how == 0 ? "\n\t \n" : "Other.");
                how == 2 ? void(d->close())
                         : (how ? control<QPushButton>(d, "cmdCancel")
                                : control<QPushButton>(d, "cmdOkay"))
                               ->click();
            });
            QVERIFY(!brennick.freeFormUsed && brennick.freeFormText.empty());
            QCOMPARE(cells(grid, 2, 4, 5), (QStringList{"0002", "0007"}));
        }
        QCOMPARE(desk.undos(), 0);
        QCOMPARE(desk.prompts.count(Kind::YesNo), 3);
    }

    void pointerFollowsTheColumnsAndTheView() {
        EditDesk desk;
        FlexGrid* grid = desk.grid();
        auto pointerOver = [grid](int row, int col) {
            const QPoint at =
                grid->viewport()->mapFrom(grid, grid->cellGeometry(row, col).center());
            QMouseEvent move(QEvent::MouseMove, at, grid->viewport()->mapToGlobal(at), Qt::NoButton,
                             Qt::NoButton, Qt::NoModifier);
            QApplication::sendEvent(grid->viewport(), &move);
            return grid->viewport()->cursor().shape();
        };
        QCOMPARE(pointerOver(1, 5), Qt::ArrowCursor);  // nothing selected to stamp
        clickItem(desk.list(), 0);
        QCOMPARE(pointerOver(1, 5), Qt::BitmapCursor);  // the stamp
        QCOMPARE(pointerOver(5, 5), Qt::ArrowCursor);   // a free-form student
        QCOMPARE(pointerOver(1, 1), Qt::ArrowCursor);   // outside the comment columns
        click(desk.btn("cmdSwitch"));
        QCOMPARE(pointerOver(1, 10), Qt::SizeBDiagCursor);
    }

    void panelWithoutAClassDoesNothing() {
        Desk desk;
        desk.ws.freeFormDraft = "untouched";
        // A dialog, were one opened, would clear the draft; the timer closes it.
        QTimer::singleShot(200, &desk.entry, [] {
            if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
        });
        QTest::mouseClick(desk.ctl("lblFreeFormComment"), Qt::LeftButton);
        QCOMPARE(desk.ws.freeFormDraft, std::string("untouched"));
    }
};

QTEST_MAIN(EntryEditingTest)
#include "tst_entry_editing.moc"
