// SPDX-License-Identifier: GPL-3.0-or-later

// Editing a class in the main window's grid with the mouse and the keyboard:
// the mark editor, stamping and picking up comment codes, skills, flags, the
// skills view, free-form comments and undo. The rules of each edit are the
// core's; these tests follow a click or key to the right student and back to
// the screen.
#include "core/editing_rules.h"
#include "core/messages.h"
#include "entry/frm_free_form_comment_entry.h"
#include "entry/grid_columns.h"
#include "platform/widgets.h"
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
    // The grid shows every record as it is.
    bool showsRecords() const { return shownRows(grid()) == recordRows(ws, false); }
};

// Opens the free-form dialog (by a click on the detail panel, or by open) and
// runs answer on it.
void onPanel(Desk& desk, std::function<void(frmFreeFormCommentEntry*)> answer,
             std::function<void()> open = {}) {
    whenModal<frmFreeFormCommentEntry>(answer);
    open ? open() : QTest::mouseClick(desk.ctl("lblFreeFormComment"), Qt::LeftButton);
    settle();
}

// Acts as a teacher does: "i3" a click on favourites entry 3, "L2,6" or
// "R2,6" a left or right click on a cell, "m1" the mark 85 typed in row 1, "v"
// a switch of view, which gives the grid that view's column widths.
void act(EditDesk& desk, const QString& step) {
    const QStringList at = step.mid(1).split(',');
    if (step[0] == 'i') clickItem(desk.ctl<QListWidget>("lstFavourites"), at[0].toInt());
    if (step[0] == 'L' || step[0] == 'R')
        clickCell(desk.grid(), at[0].toInt(), at[1].toInt(),
                  step[0] == 'R' ? Qt::RightButton : Qt::LeftButton);
    if (step[0] == 'm') typeMark(desk, at[0].toInt(), "85");
    if (step[0] != 'v') return;
    click(desk.btn("cmdSwitch"));
    const bool skillsView = desk.ctl<QWidget>("lstLearningSkills")->isVisible();
    for (int c = 0; c < grid::kColumnCount; ++c)
        QCOMPARE(desk.grid()->colWidth(c), grid::columnWidth(c, skillsView));
}

// The current cell, "row,col".
QString current(const FlexGrid* grid) {
    return QString("%1,%2").arg(grid->row()).arg(grid->col());
}

}  // namespace

class EntryEditingTest : public QObject {
    Q_OBJECT
  private slots:
    void eachEditShowsAndUndoesInOneStep() {
        EditDesk desk;
        QVERIFY(desk.loaded && QTest::qWaitForWindowExposed(&desk.entry));
        FlexGrid* grid = desk.grid();
        // Edits: the steps (see act), the column they change in the first
        // changed row, and what follows: the rows whose records changed, the
        // cell's text, and beside a mark whether CM1 and the first skill show the auto fill's
        // values in red (r) or the teacher's in black (b). A mark and its auto fill; left clicks
        // stamp the selected entry (0007 moves from CM2); a right click on an empty cell selects
        // the final entry (four blanks), on 0005, which the list lacks, picks it up, through the
        // skills view and back, until a list click; in the skills view a left and a right click on
        // a skill; flags, a free-form student's too. The column clicked on another student: number,
        // last or first name (the number only while the grid has not scrolled sideways).
        int name = 0;
        for (const QString edit :
             {"m1|4|1 0004rr", "m2|14|2 4br", "i3 L2,6|6|2 0007", "R3,8 L1,5|5|1     ",
              "R6,4 v v L2,8 i0|8|2 0005", "v L1,9|9|1 2", "R3,11|11|3 1", "L6,16|16|6 Y",
              "L5,15|15|5 Y"}) {
            const QString steps = edit.section('|', 0, 0), expected = edit.section('|', 2);
            const int row = expected.section(' ', 0, 0).toInt(),
                      col = edit.section('|', 1, 1).toInt();
            const std::vector<StudentRecord> before = desk.ws.students();
            const QStringList shown = shownRows(grid);
            for (const QString& step : steps.split(' '))
                act(desk, step);
            QString result;
            for (std::size_t i = 0; i < before.size(); ++i)
                result += desk.ws.students()[i] == before[i] ? "" : QString::number(i + 1) + " ";
            result += grid->textMatrix(row, col);
            for (const int c : {4, 14})
                if (steps[0] == 'm') result += grid->cellForeColor(row, c) == Qt::red ? "r" : "b";
            QCOMPARE(result, expected);
            QVERIFY(desk.showsRecords() && desk.undos() == 1);
            // A click on another student's number or name makes that student
            // current at the MRK cell; Undo makes the edited row current again,
            // highlighted, with its detail lines.
            const int other = row % 6 + 1;
            act(desk, QString("L%1,").arg(other) + QString("012121212")[name++]);
            QCOMPARE(steps + " " + current(grid) + (grid->hasFocus() ? "" : " elsewhere"),
                     QString("%1 %2,3").arg(steps).arg(other));
            row % 2 ? click(desk.btn("cmdUndo")) : desk.act("mnuUndo")->trigger();
            QVERIFY(desk.ws.students() == before && !desk.btn("cmdUndo")->isEnabled() &&
                    shownRows(grid) == shown && grid->row() == row &&
                    grid->cellBackColor(row, 0) ==
                        desk.entry.palette().color(QPalette::Highlight) &&
                    grid->cellBackColor(other, 0) == buttonFace(grid) &&
                    grid->cellForeColor(row, 4) != Qt::red);  // the undone auto fill's red
            QCOMPARE(panel(desk.entry), expectedPanel(desk.ws, row - 1, false));
        }
        // Headers set (right) or clear (left) a whole column and record no undo entry.
        QHeaderView* header = grid->horizontalHeader();
        for (const auto& [col, button] : {std::pair{17, Qt::RightButton}, {18, Qt::LeftButton}}) {
            const int x = header->sectionViewportPosition(col) + header->sectionSize(col) / 2;
            QTest::mouseClick(header->viewport(), button, {}, QPoint(x, header->height() / 2));
        }
        for (const StudentRecord& s : desk.ws.students())
            QCOMPARE(toQString(s.esl + "|" + s.eld + "|" + s.interview), QString("|Y|"));
        QVERIFY(desk.showsRecords() && desk.undos() == 0);

        // The mark editor, with the auto fill off.
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
        const QMap<QChar, Qt::Key> special{
            {'\n', Qt::Key_Return}, {'\b', Qt::Key_Backspace}, {'\x1b', Qt::Key_Escape}};
        QStringList seen;
        for (const auto& [row, keys] : steps) {
            if (row > 0) clickCell(grid, row, 3);
            for (const QChar key : keys)
                special.contains(key) ? pressKey(special[key]) : typeKeys(key);
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

    // A code the list lacks, picked up from row 6 and stamped into row 1: a
    // click on the list ends the pick at its own cell, which becomes current.
    void aListClickAfterAStampMakesThePickedCellCurrent() {
        EditDesk desk;
        FlexGrid* grid = desk.grid();
        act(desk, "R6,4");
        act(desk, "L1,5");
        QVERIFY(desk.ws.students()[0].comments[1] == "0005" && grid->row() == 1);
        act(desk, "i3");
        QCOMPARE(current(grid) + " " + grid->cellBackColor(6, 4).name(), QString("6,4 #ffffff"));
        act(desk, "L2,8");  // nothing is picked now: the clicked entry stamps
        QCOMPARE(desk.ws.students()[1].comments[4], std::string("0007"));
    }

    // The right button on a student's name makes that student current and
    // opens the pronoun menu; on the mark the Menu key and Shift+F10 open it.
    // A choice is one edit: panel, label and undo follow it.
    void pronounMenuOnTheNameAndTheMark() {
        EditDesk desk;
        const FlexGrid* grid = desk.grid();
        const QLabel* label = desk.ctl("lblPronouns");
        // The current cell and the menu's entries, the checked one starred.
        QMenu* menu = nullptr;
        auto shown = [&] {
            settle();
            menu = desk.entry.findChild<QMenu*>("mnuPronouns");
            QStringList texts;
            for (const QAction* action : menu ? menu->actions() : QList<QAction*>{})
                texts << action->text() + (action->isChecked() ? "*" : "");
            return current(grid) + " " + texts.join('|');
        };
        act(desk, "R2,1");
        QCOMPARE(shown(), QString("2,3 Pronouns: &he|Pronouns: &she|Pronouns: &they|"
                                  "Pronouns: from the &enrolment (she)*"));
        QTest::keyClick(menu, Qt::Key_T);
        settle();
        QCOMPARE(toQString(desk.ws.students()[1].pronouns) + " " + label->text(),
                 QString("T Pronouns: they"));
        QVERIFY(panel(desk.entry).join('\n').contains("[0007] They understand "));
        QVERIFY(desk.showsRecords() && desk.undos() == 1);

        // Shift+F10, then Escape: nothing chosen.
        pressChord(Qt::Key_F10, Qt::ShiftModifier);
        const QString theyChecked(
            "2,3 Pronouns: &he|Pronouns: &she|Pronouns: &they*|"
            "Pronouns: from the &enrolment (she)");
        QCOMPARE(shown(), theyChecked);
        QTest::keyClick(menu, Qt::Key_Escape);
        settle();
        QVERIFY(desk.undos() == 1 && grid->hasFocus());
        // The Menu key; the default keeps nothing.
        pressKey(Qt::Key_Menu);
        QCOMPARE(shown(), theyChecked);
        QTest::keyClick(menu, Qt::Key_E);
        settle();
        QCOMPARE(toQString(desk.ws.students()[1].pronouns) + label->text(),
                 QString("Pronouns: she"));
        QVERIFY(desk.undos() == 2);
        click(desk.btn("cmdUndo"));
        QCOMPARE(toQString(desk.ws.students()[1].pronouns) + " " + label->text(),
                 QString("T Pronouns: they"));
        QCOMPARE(panel(desk.entry), expectedPanel(desk.ws, 1, false));
    }

    void freeFormCommand() {
        EditDesk desk;
        const StudentRecord& brennick = desk.ws.students()[1];
        clickCell(desk.grid(), 2, 3);
        // The dialog names the student and starts with the composed codes; the
        // window tests' school has no dictionary: the old caution. Okay without
        // a change gives the message and keeps the codes; a new text is kept.
        const QString original = toQString(freeFormOriginal(brennick, desk.ws.phrases));
        QString shown;
        for (const QString& text : {original, QString("Ivy is curious")}) {
            onPanel(desk, [&shown, text](frmFreeFormCommentEntry* dialog) {
                shown = control<QPlainTextEdit>(dialog, "txtComment")->toPlainText() + "|" +
                        control<QLabel>(dialog, "lblStudent")->text() + "|" +
                        control<QLabel>(dialog, "Label2")->text();
                control<QPlainTextEdit>(dialog, "txtComment")->setPlainText(text);
                press(dialog, "cmdOkay");
            });
        }
        QCOMPARE(shown.section('|', 0, 1), original + "|Ivy Brennick (301-000-001)");
        QVERIFY(shown.contains("There is no checking: no spell check, no grammar check"));
        QCOMPARE(desk.prompts.messages(), QStringList{toQString(msg::freeFormUnchanged().text)});
        const StudentRecord written = brennick;
        QVERIFY(brennick.freeFormUsed && brennick.freeFormText == "Ivy is curious");

        // Typing stops at 460 characters. The close box and Escape (the dialog
        // opened by a screen reader's press on the panel) keep the comment;
        // Cancel and a blank text return to the codes, which Undo takes back.
        // Blank text asks first: No keeps the dialog open with its text, Yes
        // closes it. The keyboard comes back to the student's MRK cell.
        desk.prompts.yesNoAnswers << false << true;
        const auto pressPanel = [&desk] {
            QAccessible::queryAccessibleInterface(desk.ctl("lblFreeFormComment"))
                ->actionInterface()
                ->doAction(QAccessibleActionInterface::pressAction());
        };
        for (const QString how : {"frame", "escape", "cancel", "blank"}) {
            shown.clear();
            const auto leave = [&shown, how](frmFreeFormCommentEntry* dialog) {
                QPlainTextEdit* box = control<QPlainTextEdit>(dialog, "txtComment");
                box->setPlainText(QString(458, 'a'));
                box->moveCursor(QTextCursor::End);
                QTest::keyClicks(box, "bcdef");
                shown = box->toPlainText().mid(457) + "|" +
                        control<QLabel>(dialog, "lblLength")->text();
                activate(dialog);
                if (how == "frame") dialog->close();
                if (how == "escape") pressKey(Qt::Key_Escape);
                if (how == "cancel") pressChord(Qt::Key_C, Qt::AltModifier);  // its access key
                if (how != "blank") return;
                box->setPlainText("   ");
                press(dialog, "cmdOkay");
                shown += dialog->isVisible() ? "|" + box->toPlainText() : "|closed";
                press(dialog, "cmdOkay");
            };
            onPanel(desk, leave, how == "escape" ? pressPanel : std::function<void()>{});
            QCOMPARE(shown, "abc|Length: 460/460" + QString(how == "blank" ? "|   " : ""));
            QCOMPARE(brennick.freeFormUsed, how == "frame" || how == "escape");
            QVERIFY(QApplication::focusWidget() == desk.grid() && current(desk.grid()) == "2,3");
            QVERIFY(desk.showsRecords() && panel(desk.entry) == expectedPanel(desk.ws, 1, false));
            if (!brennick.freeFormUsed) desk.run("mnuUndo");
            QVERIFY(brennick == written && desk.showsRecords());
        }
        QCOMPARE(desk.prompts.asked.last().text,
                 QString("An empty comment will restore coded comments. Is this what you want?"));
    }
};

QTEST_MAIN(EntryEditingTest)
#include "tst_entry_editing.moc"
