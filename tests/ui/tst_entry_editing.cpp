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

// Opens the free-form dialog (by a click on the detail panel, or by open) and
// runs answer on it.
void onPanel(Desk& desk, std::function<void(frmFreeFormCommentEntry*)> answer,
             std::function<void()> open = {}) {
    auto answered = std::make_shared<bool>(false);
    whenModal<frmFreeFormCommentEntry>([answered, answer](frmFreeFormCommentEntry* dialog) {
        *answered = true;
        answer(dialog);
    });
    open ? open() : QTest::mouseClick(desk.ctl("lblFreeFormComment"), Qt::LeftButton);
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
        press(dialog, "cmdOkay");
    });
}

// The current cell, "row,col".
QString current(const FlexGrid* grid) {
    return QString("%1,%2").arg(grid->row()).arg(grid->col());
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
        // A click on a row's MRK cell (none for 0), then keys: Enter as "\n",
        // Backspace "\b", Escape "\x1b". The editor opens over the cell with the
        // keyboard; a small i opens it empty (its release is not typed into it),
        // the second gives "I"; Enter on the grid opens it empty, Enter in it
        // keeps the mark and on the last student moves to the first; moving
        // away discards what was typed.
        const std::pair<int, QString> steps[] = {{1, "1"},  {0, "00\n"}, {4, "i"},  {0, "i"},
                                                 {4, "\b"}, {4, "\x1b"}, {6, "\n"}, {0, "\n"},
                                                 {2, "9"},  {3, ""}};
        QStringList seen;
        for (const auto& [row, keys] : steps) {
            if (row > 0) clickCell(grid, row, 3);
            for (const QChar key : keys)
                key.isLetterOrNumber() ? typeKeys(key)
                                       : pressKey(key == '\n'   ? Qt::Key_Return
                                                  : key == '\b' ? Qt::Key_Backspace
                                                                : Qt::Key_Escape);
            const bool open = editor->isVisible() && editor->hasFocus() &&
                              editor->geometry() == grid->cellGeometry(grid->row(), grid->col());
            const QString closed = !editor->isVisible() && grid->hasFocus() ? "-" : "?";
            seen << current(grid) + " " + (open ? "[" + editor->text() + "]" : closed);
        }
        QCOMPARE(seen.join(' '),
                 QString("1,3 [1] 2,3 - 4,3 [] 4,3 [I] 4,3 [] 4,3 [] 6,3 [] 1,3 - 2,3 [9] 3,3 -"));
        QCOMPARE(column(grid, 3).join('|'), QString("100||||77|58"));
        QVERIFY(desk.showsRecords() && desk.undos() == 1);
    }

    void stampingAndPickingCodesWithTheMouse() {
        EditDesk desk;
        FlexGrid* grid = desk.grid();
        QListWidget* list = desk.list();
        const auto& s = desk.ws.students;
        // A click on a cell (none in row 0), then the entry selected in the list
        // (-1 for none), the current cell, and whether 0005 in row 6 is picked up.
        QStringList seen;
        const auto at = [&](int row, int col, Qt::MouseButton button = Qt::LeftButton) {
            if (row > 0) clickCell(grid, row, col, button);
            const bool one = list->selectedItems() == QList{list->currentItem()};
            seen << QString::number(one ? list->currentRow() : -1) + " " + current(grid) +
                        (grid->cellBackColor(6, 4) == kPicked ? " picked" : "");
        };
        // A selected entry is stamped by left clicks and stays selected. A
        // right click on an empty cell selects the final entry, which stamps
        // four blanks; on a listed code it selects that code's entry.
        clickItem(list, 0);
        at(1, 4);
        at(3, 6);
        QCOMPARE(panel(desk.entry), expectedPanel(desk.ws, 2, false));
        at(3, 8, Qt::RightButton);
        at(2, 4);
        at(3, 6, Qt::RightButton);
        // 0005 is not in the list: a right click picks it up from its cell, and
        // it stays picked through a switch to the skills view (its own column
        // widths and the skills list in place of this one) and back.
        at(6, 4, Qt::RightButton);
        auto* skills = desk.ctl<QListWidget>("lstLearningSkills");
        for (const bool skillsView : {true, false}) {
            click(desk.btn("cmdSwitch"));
            for (int c = 0; c < grid::kColumnCount; ++c)
                QCOMPARE(grid->colWidth(c), grid::columnWidth(c, skillsView));
            QVERIFY(skills->isVisible() == skillsView && list->isVisible() == !skillsView);
        }
        QCOMPARE(items(skills), listOf(kLearningSkills));
        // A free-form student's cells show words: nothing is stamped there or
        // picked up. A list click after a stamp ends the pick and makes the
        // picked cell current; the clicked entry stamps.
        const StudentRecord everly = s[4];
        for (int c = 4; c <= 8; ++c) {
            clickCell(grid, 5, c);
            clickCell(grid, 5, c, Qt::RightButton);
        }
        at(4, 8);
        clickItem(list, 4);
        at(0, 0);
        at(1, 6);
        QCOMPARE(seen.join(" | "),
                 QString("0 1,4 | 0 3,6 | 5 3,8 | 5 2,4 | 0 3,6 | -1 6,4 picked | "
                         "-1 4,8 picked | 4 6,4 | 4 1,6"));
        QCOMPARE(toQString(s[0].comments[0] + s[0].comments[2] + s[1].comments[0] +
                           s[2].comments[2] + s[3].comments[4]),
                 QString("00010010    00010005"));
        QVERIFY(s[4] == everly && desk.showsRecords());
    }

    void eachEditShowsAndUndoesInOneStep() {
        EditDesk desk;
        FlexGrid* grid = desk.grid();
        QVERIFY(desk.btn("optAutoFill")->isChecked());
        // An edit, then a cell it changes and the text it shows there.
        const std::tuple<std::function<void()>, int, int, QString> edits[] = {
            // Marks in the range 80-100: codes and skills, or the skills only beside
            // a code the teacher put in.
            {[&] { typeMark(desk, 1, "85"); }, 1, 4, "0004 rr"},
            {[&] { typeMark(desk, 2, "85"); }, 2, 14, "4 br"},
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
            // What the auto fill put in is red (CM1, the first skill), what the
            // teacher put in black: "r" or "b" after the text where the auto fill ran.
            const auto red = [&](int c) {
                return grid->cellForeColor(row, c) == Qt::red ? "r" : "b";
            };
            const QString colours = text.contains(' ') ? QString(" ") + red(4) + red(14) : "";
            QCOMPARE(grid->textMatrix(row, col) + colours, text);
            QCOMPARE(desk.undos(), 1);
            click(desk.btn("cmdUndo"));
            QVERIFY(desk.ws.students == before && !desk.btn("cmdUndo")->isEnabled() &&
                    shownRows(grid) == shown);
        }
        // Headers set (right) or clear (left) a whole column and record no undo entry.
        QHeaderView* header = grid->horizontalHeader();
        for (const auto& [col, button] : {std::pair{17, Qt::RightButton}, {18, Qt::LeftButton}}) {
            const int x = header->sectionViewportPosition(col) + header->sectionSize(col) / 2;
            QTest::mouseClick(header->viewport(), button, {}, QPoint(x, header->height() / 2));
        }
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
        QVERIFY(desk.ws.students[3] == before[3] && desk.ws.students[1] != before[1] &&
                current(grid) == "4,3");
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
        // Okay without a change: the message, and the student stays coded. The
        // dialog names the student; the window tests' school has no dictionary:
        // no underlines, the old caution.
        clickCell(desk.grid(), 2, 3);
        QString shown;
        onPanel(desk, [&shown](frmFreeFormCommentEntry* dialog) {
            shown = commentBox(dialog)->toPlainText() + "|" +
                    control<QLabel>(dialog, "lblStudent")->text() + "|" +
                    control<QLabel>(dialog, "Label2")->text();
            press(dialog, "cmdOkay");
        });
        QCOMPARE(shown.section('|', 0, 1), toQString(freeFormOriginal(brennick, desk.ws.phrases)) +
                                               "|Ivy Brennick (301-000-001)");
        QVERIFY(shown.contains("There is no checking: no spell check, no grammar check"));
        QCOMPARE(desk.prompts.messages(), QStringList{toQString(msg::freeFormUnchanged().text)});
        QVERIFY(!brennick.freeFormUsed);

        // A changed text makes the student free-form; the codes stay in the
        // record. Escape and the close box leave the comment as it was, after
        // typing that stopped at 460 characters; Cancel returns to the codes.
        writeFreeForm(desk, "Ivy is curious? Yes");
        const StudentRecord written = brennick;
        QVERIFY(brennick.freeFormUsed && brennick.freeFormText == "Ivy is curious  Yes");
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
            QVERIFY(QApplication::focusWidget() == desk.grid() && current(desk.grid()) == "2,3");
        }
        QVERIFY(!brennick.freeFormUsed && brennick.freeFormText.empty() && desk.showsRecords());
        QCOMPARE(panel(desk.entry), expectedPanel(desk.ws, 1, false));
        // What Cancel removed, Undo brings back.
        QCOMPARE(desk.undos(), 1);
        desk.run("mnuUndo");
        QVERIFY(brennick == written && desk.showsRecords());

        // Blank text: No keeps the dialog open with its text, Yes returns to the codes.
        desk.prompts.yesNoAnswers << false << true;
        onPanel(desk, [&](frmFreeFormCommentEntry* dialog) {
            shown = commentBox(dialog)->toPlainText() + "|";
            commentBox(dialog)->setPlainText("   ");
            press(dialog, "cmdOkay");
            shown += dialog->isVisible() ? commentBox(dialog)->toPlainText() : "closed";
            press(dialog, "cmdOkay");
        });
        QCOMPARE(shown, QString("Ivy is curious  Yes|   "));
        QCOMPARE(desk.prompts.asked.last().text,
                 QString("An empty comment will restore coded comments. Is this what you want?"));
        QVERIFY(!brennick.freeFormUsed && desk.undos() == 1 && desk.showsRecords());
        QCOMPARE(desk.prompts.count(Kind::YesNo), 2);

        // A screen reader presses the panel as a button; closing changes nothing.
        QAccessibleInterface* iface =
            QAccessible::queryAccessibleInterface(desk.ctl("lblFreeFormComment"));
        QCOMPARE(iface->role(), QAccessible::Button);
        onPanel(
            desk, [](frmFreeFormCommentEntry* dialog) { dialog->close(); },
            [iface] {
                iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
            });
        QVERIFY(!brennick.freeFormUsed && desk.undos() == 1);
    }
};

QTEST_MAIN(EntryEditingTest)
#include "tst_entry_editing.moc"
