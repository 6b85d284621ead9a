// Editing a class in the main window's grid with the mouse and the keyboard:
// the mark editor, the auto fill, skills, flags, stamping comment codes, the
// skills view, free-form comments and undo.
#include <memory>

#include "core/editing_rules.h"
#include "core/messages.h"
#include "entry/frm_free_form_comment_entry.h"
#include "entry/grid_columns.h"
#include "entry/learning_skills_text.h"
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
    QListWidget* list() const { return ctl<QListWidget>("lstFavourites"); }
    // Selects a favourites entry and stamps it into a cell.
    void stamp(int item, int row, int col) {
        clickItem(list(), item);
        clickCell(grid(), row, col);
    }
    // The grid shows every record as it is.
    bool showsRecords() const { return shownRows(grid()) == recordRows(ws, false); }
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
    whenModal<frmFreeFormCommentEntry>([answered, answer](frmFreeFormCommentEntry* dialog) {
        *answered = true;
        answer(dialog);
    });
    QTest::mouseClick(desk.ctl("lblFreeFormComment"), Qt::LeftButton);
    settle();
    QVERIFY(*answered);
}

QPlainTextEdit* commentBox(QWidget* dialog) {
    return control<QPlainTextEdit>(dialog, "txtComment");
}

// Answers the free-form dialog with a text and Okay.
void writeFreeForm(Desk& desk, const QString& text) {
    onPanel(desk, [text](frmFreeFormCommentEntry* dialog) {
        commentBox(dialog)->setPlainText(text);
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
        auto* editor = desk.entry.findChild<QLineEdit*>("txtDataEntry");
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

        // Moving away discards what was typed.
        clickCell(grid, 2, 3);
        typeKeys("9");
        clickCell(grid, 3, 3);
        QVERIFY(!editor->isVisible() && desk.undos() == 1);
        QCOMPARE(grid->textMatrix(2, 3) + desk.ws.students[1].mark.c_str(), QString());
    }

    void stampingAndPickingCodes() {
        EditDesk desk;
        FlexGrid* grid = desk.grid();
        QListWidget* list = desk.list();
        const auto& s = desk.ws.students;
        // A selected entry is stamped by left clicks and stays selected.
        desk.stamp(0, 1, 4);
        clickCell(grid, 3, 6);
        QCOMPARE(toQString(s[0].comments[0] + s[2].comments[2]), QString("00010001"));
        QVERIFY(list->currentRow() == 0 && list->item(0)->isSelected() && desk.showsRecords());
        QCOMPARE(QPoint(grid->row(), grid->col()), QPoint(3, 6));
        QCOMPARE(panel(desk.entry), expectedPanel(desk.ws, 2, false));
        // A right click on an empty cell selects the final entry, which stamps four
        // blanks; on a listed code it selects that code's entry.
        clickCell(grid, 3, 8, Qt::RightButton);
        QVERIFY(list->currentRow() == 5 && list->item(5)->isSelected());
        clickCell(grid, 2, 4);
        QCOMPARE(s[1].comments[0], std::string(4, ' '));
        clickCell(grid, 3, 6, Qt::RightButton);
        QVERIFY(list->currentRow() == 0 && list->item(0)->isSelected());

        // 0005 is not in the list: a right click picks it up from its cell, and
        // it stays picked through a switch to the skills view and back.
        clickCell(grid, 6, 4, Qt::RightButton);
        QVERIFY(grid->cellBackColor(6, 4) == kPicked && list->selectedItems().isEmpty());
        // The skills view has its own column widths and the skills list in place of this one.
        auto* skills = desk.ctl<QListWidget>("lstLearningSkills");
        for (const bool skillsView : {true, false}) {
            click(desk.btn("cmdSwitch"));
            for (int c = 0; c < grid::kColumnCount; ++c)
                QCOMPARE(grid->colWidth(c), grid::columnWidth(c, skillsView));
            QVERIFY(skills->isVisible() == skillsView && list->isVisible() == !skillsView);
        }
        QCOMPARE(items(skills), listOf(kLearningSkills));
        clickCell(grid, 4, 8);
        QCOMPARE(s[3].comments[4], std::string("0005"));
        // A free-form student's cells show words: nothing is stamped there or picked up.
        const StudentRecord everly = s[4];
        for (int c = 4; c <= 8; ++c) {
            clickCell(grid, 5, c);
            clickCell(grid, 5, c, Qt::RightButton);
        }
        QVERIFY(s[4] == everly && desk.showsRecords() && grid->cellBackColor(6, 4) == kPicked);

        // A click on the list ends it: the cell is white again and the entry stamps.
        desk.stamp(4, 1, 6);
        QVERIFY(grid->cellBackColor(6, 4) == Qt::white && s[0].comments[2] == "0010");
    }

    void aListClickAfterAStampMakesThePickedCellCurrent() {
        EditDesk desk;
        FlexGrid* grid = desk.grid();
        // 0005, which the list lacks, picked up from row 6 and stamped into row 1.
        clickCell(grid, 6, 4, Qt::RightButton);
        clickCell(grid, 1, 5);
        QVERIFY(desk.ws.students[0].comments[1] == "0005" && grid->row() == 1);
        clickItem(desk.list(), 3);
        QCOMPARE(QPoint(grid->row(), grid->col()), QPoint(6, 4));
        QCOMPARE(grid->cellBackColor(6, 4), QColor(Qt::white));
        // Nothing is picked now: the clicked entry stamps.
        clickCell(grid, 2, 8);
        QCOMPARE(desk.ws.students[1].comments[4], std::string("0007"));
    }

    void eachEditShowsAndUndoesInOneStep() {
        EditDesk desk;
        FlexGrid* grid = desk.grid();
        QVERIFY(desk.btn("optAutoFill")->isChecked());
        // An edit, then a cell it changes and the text it shows there.
        const std::tuple<std::function<void()>, int, int, QString> edits[] = {
            // Marks in the range 80-100: codes and skills, or the skills only beside
            // a code the teacher put in.
            {[&] { typeMark(desk, 1, "85"); }, 1, 4, "0004"},
            {[&] { typeMark(desk, 2, "85"); }, 2, 14, "4"},
            {[&] { desk.stamp(3, 2, 6); }, 2, 6, "0007"},  // moved from CM2
            // In the skills view: left steps a skill down, right up; ESL over ELD.
            {[&] { clickCell(grid, 1, 9); }, 1, 9, "2"},
            {[&] { clickCell(grid, 3, 11, Qt::RightButton); }, 3, 11, "1"},
            {[&] { clickCell(grid, 6, 16); }, 6, 16, "Y"},
            {[&] { clickCell(grid, 5, 15); }, 5, 15, "Y"}};  // a free-form student's flag
        for (const auto& [edit, row, col, text] : edits) {
            if (col == 9) click(desk.btn("cmdSwitch"));
            const std::vector<StudentRecord> before = desk.ws.students;
            const QStringList shown = shownRows(grid);
            edit();
            QVERIFY(desk.ws.students != before && desk.showsRecords());
            QCOMPARE(grid->textMatrix(row, col), text);
            // What the auto fill put in is red; the codes the teacher put in stay black.
            if (col == 4 || col == 14) {
                QCOMPARE(grid->cellForeColor(row, 4) == Qt::red, row == 1);
                QCOMPARE(grid->cellForeColor(row, 14), QColor(Qt::red));
            }
            QCOMPARE(desk.undos(), 1);
            click(desk.btn("cmdUndo"));
            QVERIFY(desk.ws.students == before && !desk.btn("cmdUndo")->isEnabled());
            QCOMPARE(shownRows(grid), shown);
        }
        // Headers set (right) or clear (left) a whole column and record no undo entry.
        clickHeader(grid, 17, Qt::RightButton);
        clickHeader(grid, 18, Qt::LeftButton);
        for (const StudentRecord& s : desk.ws.students)
            QCOMPARE(toQString(s.esl + "|" + s.eld + "|" + s.interview), QString("|Y|"));
        QVERIFY(desk.showsRecords() && desk.undos() == 0);

        // Two students changed: the later is taken back first, and its row becomes current.
        const std::vector<StudentRecord> before = desk.ws.students;
        const QStringList shown = shownRows(grid);
        clickCell(grid, 2, 15);
        clickCell(grid, 4, 9);
        clickCell(grid, 6, 3);
        click(desk.btn("cmdUndo"));
        QVERIFY(desk.ws.students[3] == before[3] && desk.ws.students[1] != before[1]);
        QCOMPARE(QPoint(grid->row(), grid->col()), QPoint(4, 3));
        QCOMPARE(panel(desk.entry), expectedPanel(desk.ws, 3, false));
        QCOMPARE(grid->cellBackColor(4, 0), desk.entry.palette().color(QPalette::Highlight));
        desk.act("mnuUndo")->trigger();
        QVERIFY(grid->row() == 2 && desk.ws.students == before &&
                !desk.act("mnuUndo")->isEnabled());
        QCOMPARE(shownRows(grid), shown);
    }

    void freeFormCommand() {
        EditDesk desk;
        const StudentRecord& brennick = desk.ws.students[1];
        // Okay without a change: the message, and the student stays coded.
        clickCell(desk.grid(), 2, 3);
        QString shown;
        onPanel(desk, [&shown](frmFreeFormCommentEntry* dialog) {
            shown = commentBox(dialog)->toPlainText();
            control<QPushButton>(dialog, "cmdOkay")->click();
        });
        QCOMPARE(shown, toQString(freeFormOriginal(brennick, desk.ws.phrases)));
        QCOMPARE(desk.prompts.messages(), QStringList{toQString(msg::freeFormUnchanged().text)});
        QVERIFY(!brennick.freeFormUsed);

        // A changed text makes the student free-form; the codes stay in the record.
        writeFreeForm(desk, "Great work? Yes");
        QVERIFY(brennick.freeFormUsed && brennick.freeFormText == "Great work  Yes");
        QCOMPARE(panel(desk.entry), expectedPanel(desk.ws, 1, false));
        // Blank text: No keeps the dialog open with its text, Yes returns to the codes.
        desk.prompts.yesNoAnswers << false << true;
        onPanel(desk, [&](frmFreeFormCommentEntry* dialog) {
            shown = commentBox(dialog)->toPlainText() + "|";
            commentBox(dialog)->setPlainText("   ");
            control<QPushButton>(dialog, "cmdOkay")->click();
            shown += dialog->isVisible() ? commentBox(dialog)->toPlainText() : "closed";
            control<QPushButton>(dialog, "cmdOkay")->click();
        });
        QCOMPARE(shown, QString("Great work  Yes|   "));
        QCOMPARE(desk.prompts.asked.last().text,
                 QString("An empty comment will restore coded comments. Is this what you want?"));
        QVERIFY(!brennick.freeFormUsed && desk.showsRecords());

        // Escape and the close box leave the comment as it was, after typing
        // that stopped at 460 characters; Cancel returns to the codes.
        writeFreeForm(desk, "Ivy is curious.");
        QVERIFY(brennick.freeFormUsed && desk.undos() == 1);
        const StudentRecord written = brennick;
        for (const QString how : {"frame", "escape", "cancel"}) {
            onPanel(desk, [&shown, how](frmFreeFormCommentEntry* dialog) {
                commentBox(dialog)->setPlainText(QString(458, 'a'));
                commentBox(dialog)->moveCursor(QTextCursor::End);
                QTest::keyClicks(commentBox(dialog), "bcdef");
                shown = commentBox(dialog)->toPlainText().mid(457) + "|" +
                        control<QLabel>(dialog, "lblLength")->text();
                activate(dialog);
                if (how == "frame") dialog->close();
                if (how == "escape") pressKey(Qt::Key_Escape);
                if (how == "cancel") pressChord(Qt::Key_C, Qt::AltModifier);  // its access key
            });
            QCOMPARE(shown, QString("abc|Length: 460/460"));
            QCOMPARE(brennick == written, how != "cancel");
            // Back at the grid, the keyboard on the student's MRK cell.
            QVERIFY(QApplication::focusWidget() == desk.grid() && desk.grid()->row() == 2 &&
                    desk.grid()->col() == 3);
        }
        QVERIFY(!brennick.freeFormUsed && brennick.freeFormText.empty() && desk.showsRecords());
        // What Cancel removed, Undo brings back.
        QCOMPARE(desk.undos(), 2);
        desk.run("mnuUndo");
        QVERIFY(brennick == written && desk.showsRecords());
        QCOMPARE(panel(desk.entry), expectedPanel(desk.ws, 1, false));
        QCOMPARE(desk.prompts.count(Kind::YesNo), 2);
    }

    void freeFormDialogNamesTheStudentAndOpensByKeyboard() {
        EditDesk desk;
        clickCell(desk.grid(), 6, 3);
        // With the keyboard on the panel, Enter and F2 open it for the current student.
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_F2}) {
            desk.ctl("lblFreeFormComment")->setFocus();
            QString student, label2;
            auto seen = std::make_shared<bool>(false);
            whenModal<frmFreeFormCommentEntry>([&, seen](frmFreeFormCommentEntry* dialog) {
                *seen = true;
                activate(dialog);
                student = control<QLabel>(dialog, "lblStudent")->text();
                label2 = control<QLabel>(dialog, "Label2")->text();
                pressKey(Qt::Key_Escape);
            });
            pressKey(key);
            QVERIFY(*seen);
            QCOMPARE(student, QString("Ivy Fairweather (301-000-001)"));
            // The window tests' school has no dictionary: no underlines, the old caution.
            QVERIFY(label2.contains("There is no checking: no spell check, no grammar check"));
        }
        // A screen reader finds a named button and can press it.
        QAccessibleInterface* iface =
            QAccessible::queryAccessibleInterface(desk.ctl("lblFreeFormComment"));
        QVERIFY(iface != nullptr && iface->role() == QAccessible::Button &&
                !iface->text(QAccessible::Name).isEmpty());
        QAccessibleActionInterface* actions = iface->actionInterface();
        QVERIFY(actions != nullptr &&
                actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
        auto opened = std::make_shared<bool>(false);
        whenModal<frmFreeFormCommentEntry>([opened](frmFreeFormCommentEntry* dialog) {
            *opened = true;
            dialog->close();
        });
        actions->doAction(QAccessibleActionInterface::pressAction());
        settle();
        QVERIFY(*opened && desk.undos() == 0);
    }
};

QTEST_MAIN(EntryEditingTest)
#include "tst_entry_editing.moc"
