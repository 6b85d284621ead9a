// Editing a class in the main window's grid with the mouse and the keyboard:
// the mark editor, the auto fill, skills, flags, stamping comment codes, the
// skills view, free-form comments, undo and the mouse pointer.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include "core/workspace.h"
#include "entry/frm_entry.h"
#include "entry/frm_free_form_comment_entry.h"
#include "entry/frm_splash.h"
#include "platform/encoding.h"
#include "platform/flex_grid.h"
#include "platform/scripted_prompts.h"
#include "ui/ui_support.h"

using namespace tl;
using Kind = ScriptedPrompts::Kind;

namespace {

// Ranges 80-100 and 70-79, a later range overlapping the first, and 0-49.
// Favourites: 0001, 0002, a separator, 0007, 0010 (list rows 0 to 4; row 5
// is the final entry).
const QByteArray kFavourites =
    " 4 \r\n"
    "80,100,0004,0002,0010,4,4,4,4,4,4\r\n"
    "70,79,0005,0007,0001,2,2,2,2,2,2\r\n"
    "85,95,0001,0001,0001,1,1,1,1,1,1\r\n"
    "0,49,0008,0010,0002,1,1,1,1,1,1\r\n"
    "0001\r\n0002\r\n    \r\n0007\r\n0010\r\n";

QByteArray pupil(const char* last, const char* first, const char* number, const char* mark,
                 const char* comments, const char* skills, const char* flags, const char* tail) {
    return QByteArray("SCI3U1-01,") + last + "," + first + "," + number + ",F,1," + flags + "," +
           mark + ",,," + skills + ",," + comments + "," + tail + "\r\n";
}

// Row 1 empty; row 2 with CM1 and CM2; row 3 with one skill at 4; row 4 with
// four blanks in CM2; row 5 free-form; row 6 with ELD, an unrated skill and
// a code that the favourites list lacks.
QByteArray classBytes() {
    const char* g6 = "G,G,G,G,G,G";
    return pupil("Ashdown", "Ivy", "301000001", "", ",,,,", g6, "0,,", "0,False,") +
           pupil("Brennick", "Tobias", "301000002", "", "0002,0007,,,", g6, "0,,", "0,False,") +
           pupil("Corvell", "Nia", "301000003", "", ",,,,", "G,G,E,G,G,G", "0,,", "0,False,") +
           pupil("Dellamar", "Oskar", "301000004", "", ",    ,,,", g6, "0,,", "0,False,") +
           pupil("Everly", "Quinn", "301000005", "77", "0001,0004,,,", g6, "0,,",
                 "0,True,Quinn writes with flair.") +
           pupil("Fairweather", "Jo", "301000006", "58", "0005,,,,", "G,0,G,G,G,G", "0,,Y",
                 "0,False,");
}

const QStringList kWordsShown{"Free", "Form", "Code", "Click", "Below"};
const QColor kRed(255, 0, 0);
const QColor kPicked(110, 150, 210);

// The main window loaded with the favourites file above, and the class open.
struct Desk {
    test::TempSchool school;
    Workspace ws;
    ScriptedPrompts prompts;
    frmEntry entry{ws, prompts, school.locations()};
    bool loaded = false;

    explicit Desk(bool withClass = true) {
        school.installDemoLibrary();
        prompts.fileAnswers << school.write("home/edit.tlf", kFavourites);
        test::onNextModal([](QWidget* modal) {
            if (auto* splash = qobject_cast<frmSplash*>(modal)) splash->cmdOpenFavourites->click();
        });
        loaded = entry.Form_Load();
        if (withClass) {
            prompts.fileAnswers << school.write("home/sci.tlc", classBytes());
            entry.OpenClassFile();
        }
        QApplication::processEvents();
    }
    FlexGrid* grid() const { return entry.msfgClass; }
    QLineEdit* editor() const { return entry.txtDataEntry; }
    int undos() const { return entry.undoStack.count(); }
};

QPoint cellPoint(FlexGrid* grid, int row, int col) {
    const QRect rect = grid->cellGeometry(row, col);
    return grid->viewport()->mapFrom(grid, rect.center());
}

void clickCell(FlexGrid* grid, int row, int col, Qt::MouseButton button = Qt::LeftButton) {
    QVERIFY(grid->cellGeometry(row, col).width() > 0);
    QTest::mouseClick(grid->viewport(), button, {}, cellPoint(grid, row, col));
    QApplication::processEvents();
}

void clickHeader(FlexGrid* grid, int col, Qt::MouseButton button) {
    QHeaderView* header = grid->horizontalHeader();
    QVERIFY(header->sectionSize(col) > 0);
    const QPoint at(header->sectionViewportPosition(col) + header->sectionSize(col) / 2,
                    header->height() / 2);
    QTest::mouseClick(header->viewport(), button, {}, at);
    QApplication::processEvents();
}

void clickItem(QListWidget* list, int row) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(row)).center());
    QApplication::processEvents();
}

void clickButton(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton);
    QApplication::processEvents();
}

// Types a mark into the MRK cell of a row: the first key on the grid opens
// the editor, the rest go into it, Enter stores it.
void typeMark(Desk& desk, int row, const QString& mark) {
    clickCell(desk.grid(), row, 3);
    QTest::keyClicks(desk.grid(), mark.left(1));
    QTest::keyClicks(desk.editor(), mark.mid(1));
    QTest::keyClick(desk.editor(), Qt::Key_Return);
    QApplication::processEvents();
}

QStringList cells(const FlexGrid* grid, int row, int from, int to) {
    QStringList texts;
    for (int c = from; c <= to; ++c)
        texts << grid->textMatrix(row, c);
    return texts;
}

QStringList listOf(const auto& texts) {
    QStringList list;
    for (const std::string& t : texts)
        list << toQString(t);
    return list;
}

// Moves the mouse over a cell through the window, as the system would (a
// move to the spot where the pointer already is would be dropped).
Qt::CursorShape pointerOver(FlexGrid* grid, int row, int col) {
    QWidget* top = grid->window();
    const QPoint at = grid->viewport()->mapTo(top, cellPoint(grid, row, col));
    QTest::mouseMove(top->windowHandle(), at + QPoint(1, 1));
    QTest::mouseMove(top->windowHandle(), at);
    QApplication::processEvents();
    return grid->viewport()->cursor().shape();
}

// Clicks the detail panel and runs answer on the free-form dialog it opens.
void onPanel(Desk& desk, std::function<void(frmFreeFormCommentEntry*)> answer) {
    auto answered = std::make_shared<bool>(false);
    test::onNextModal([answered, answer](QWidget* modal) {
        auto* dialog = qobject_cast<frmFreeFormCommentEntry*>(modal);
        if (dialog == nullptr) return;
        *answered = true;
        answer(dialog);
    });
    QLabel* panel = desk.entry.lblFreeFormComment;
    QTest::mouseClick(panel, Qt::LeftButton, {}, panel->rect().center());
    QApplication::processEvents();
    QVERIFY(*answered);
}

}  // namespace

class EntryEditingTest : public QObject {
    Q_OBJECT
  private slots:
    void markEditorKeystrokes();
    void markEditorEnterAndLeaving();
    void autoFillFromTheFirstMatchingRange();
    void autoFillSpecialMarksAndSwitchedOff();
    void skillsCycleWithEitherButton();
    void flagsToggleAndHeadersSetWholeColumns();
    void stampingFavouriteCodes();
    void pickedCodeStampsUntilCancelled();
    void freeFormStudentsCommentCellsIgnoreClicks();
    void switchShowsTheLearningSkillsReference();
    void freeFormDialogTextsAndLengthLimit();
    void freeFormCommandTakesOverAChangedText();
    void freeFormBlankTextCancelAndFrame();
    void panelWithoutAClassDoesNothing();
    void pointerFollowsTheView();
};

void EntryEditingTest::markEditorKeystrokes() {
    Desk desk;
    QVERIFY(desk.loaded);
    QCOMPARE(desk.ws.studentCount(), 6);
    QVERIFY(QTest::qWaitForWindowExposed(&desk.entry));
    FlexGrid* grid = desk.grid();
    QLineEdit* editor = desk.editor();
    clickButton(desk.entry.optAutoFill);
    QVERIFY(!desk.entry.optAutoFill->isChecked());

    // 1, 0, 0 gives 100, stored in the cell and the record.
    clickCell(grid, 1, 3);
    QCOMPARE(grid->row(), 1);
    QCOMPARE(grid->col(), 3);
    QTest::keyClicks(grid, "1");
    QVERIFY(editor->isVisible());
    QVERIFY(editor->hasFocus());
    QCOMPARE(editor->geometry(), grid->cellGeometry(1, 3));
    QCOMPARE(editor->text(), QString("1"));
    QTest::keyClick(editor, Qt::Key_0);
    QTest::keyClick(editor, Qt::Key_0);
    QCOMPARE(editor->text(), QString("100"));
    QTest::keyClick(editor, Qt::Key_Return);
    QVERIFY(!editor->isVisible());
    QCOMPARE(grid->textMatrix(1, 3), QString("100"));
    QCOMPARE(desk.ws.students[0].mark, std::string("100"));
    QCOMPARE(desk.undos(), 1);
    QVERIFY(desk.entry.cmdUndo->isEnabled());
    // The next student's MRK cell is current, with its details shown.
    QCOMPARE(grid->row(), 2);
    QCOMPARE(grid->col(), 3);
    QVERIFY(desk.entry.lblDetail2->text().startsWith("Brennick"));

    // 1, 0, 1: the third digit empties the editor; Enter then stores nothing.
    QTest::keyClicks(grid, "1");
    QTest::keyClicks(editor, "01");
    QVERIFY(editor->isVisible());
    QCOMPARE(editor->text(), QString());
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(grid->textMatrix(2, 3), QString());
    QCOMPARE(desk.ws.students[1].mark, std::string());
    QCOMPARE(desk.undos(), 1);
    QCOMPARE(grid->row(), 3);

    // 0, 7 is stored unchanged.
    QTest::keyClicks(grid, "0");
    QTest::keyClick(editor, Qt::Key_7);
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(grid->textMatrix(3, 3), QString("07"));
    QCOMPARE(desk.ws.students[2].mark, std::string("07"));

    // "5" opens showing 5, "x" opens empty, "i" opens empty and then gives I.
    QTest::keyClicks(grid, "5");
    QCOMPARE(editor->text(), QString("5"));
    QTest::keyClicks(grid, "x");
    QVERIFY(editor->isVisible());
    QCOMPARE(editor->text(), QString());
    QTest::keyClicks(grid, "i");
    QVERIFY(editor->isVisible());
    QCOMPARE(editor->text(), QString());
    QTest::keyClicks(editor, "i");
    QCOMPARE(editor->text(), QString("I"));
    // A digit after I is no mark: the editor empties, as for a period.
    QTest::keyClicks(editor, "4");
    QCOMPARE(editor->text(), QString());
    QTest::keyClicks(editor, "8");
    QTest::keyClick(editor, Qt::Key_Period);
    QCOMPARE(editor->text(), QString());
    QTest::keyClicks(editor, "I");
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(desk.ws.students[3].mark, std::string("I"));
    QCOMPARE(grid->row(), 5);

    // Keys typed in another column open nothing.
    QTest::keyClick(grid, Qt::Key_Right);
    QCOMPARE(grid->col(), 4);
    QTest::keyClicks(grid, "5");
    QVERIFY(!editor->isVisible());
    QCOMPARE(cells(grid, 5, 3, 4), (QStringList{"77", "Free"}));
}

void EntryEditingTest::markEditorEnterAndLeaving() {
    Desk desk;
    FlexGrid* grid = desk.grid();
    QLineEdit* editor = desk.editor();

    // Enter on the grid opens an empty editor; Enter in it keeps the mark,
    // and on the last student moves to the first.
    clickCell(grid, 6, 3);
    QTest::keyClick(grid, Qt::Key_Return);
    QVERIFY(editor->isVisible());
    QCOMPARE(editor->text(), QString());
    QTest::keyClick(editor, Qt::Key_Return);
    QVERIFY(!editor->isVisible());
    QCOMPARE(grid->textMatrix(6, 3), QString("58"));
    QCOMPARE(desk.ws.students[5].mark, std::string("58"));
    QCOMPARE(desk.undos(), 0);
    QCOMPARE(grid->row(), 1);
    QCOMPARE(grid->col(), 3);
    QVERIFY(desk.entry.lblDetail2->text().startsWith("Ashdown"));

    // A stored mark on the last student also wraps to the first.
    clickCell(grid, 6, 3);
    QTest::keyClicks(grid, "6");
    QTest::keyClicks(editor, "1");
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(desk.ws.students[5].mark, std::string("61"));
    QCOMPARE(grid->row(), 1);

    // Clicking another cell while the editor is open discards the typing.
    clickCell(grid, 4, 3);
    QTest::keyClicks(grid, "9");
    QTest::keyClicks(editor, "2");
    QCOMPARE(editor->text(), QString("92"));
    const int before = desk.undos();
    clickCell(grid, 2, 3);
    QVERIFY(!editor->isVisible());
    QCOMPARE(grid->row(), 2);
    QCOMPARE(grid->textMatrix(4, 3), QString());
    QCOMPARE(desk.ws.students[3].mark, std::string());
    QCOMPARE(desk.undos(), before);
}

void EntryEditingTest::autoFillFromTheFirstMatchingRange() {
    Desk desk;
    FlexGrid* grid = desk.grid();
    QVERIFY(desk.entry.optAutoFill->isChecked());
    const StudentRecord untouched = desk.ws.students[0];

    // All three comments empty and all skills 3: both filled from 80-100,
    // not from the later 85-95.
    typeMark(desk, 1, "85");
    QCOMPARE(cells(grid, 1, 3, 14),
             (QStringList{"85", "0004", "0002", "0010", "", "", "4", "4", "4", "4", "4", "4"}));
    QCOMPARE(listOf(desk.ws.students[0].comments), (QStringList{"0004", "0002", "0010", "", ""}));
    QCOMPARE(listOf(desk.ws.students[0].skills), QStringList(6, "4"));
    for (int c : {4, 5, 6, 9, 10, 11, 12, 13, 14})
        QCOMPARE(grid->cellForeColor(1, c), kRed);
    QCOMPARE(grid->cellForeColor(1, 7), QColor(Qt::black));
    QCOMPARE(desk.undos(), 1);

    // Undo takes back the mark, the comments and the skills in one step.
    clickButton(desk.entry.cmdUndo);
    QVERIFY(desk.ws.students[0] == untouched);
    QCOMPARE(grid->cellForeColor(1, 4), kRed);
    QCOMPARE(cells(grid, 1, 3, 14),
             (QStringList{"", "", "", "", "", "", "3", "3", "3", "3", "3", "3"}));
    QCOMPARE(desk.undos(), 0);
    QVERIFY(!desk.entry.cmdUndo->isEnabled());

    // CM1 in use: only the skills are filled.
    typeMark(desk, 2, "85");
    QCOMPARE(cells(grid, 2, 4, 6), (QStringList{"0002", "0007", ""}));
    QCOMPARE(listOf(desk.ws.students[1].comments), (QStringList{"0002", "0007", "", "", ""}));
    QCOMPARE(listOf(desk.ws.students[1].skills), QStringList(6, "4"));
    QCOMPARE(grid->cellForeColor(2, 4), QColor(Qt::black));

    // One skill not 3: only the comments are filled, from 70-79.
    typeMark(desk, 3, "75");
    QCOMPARE(cells(grid, 3, 4, 6), (QStringList{"0005", "0007", "0001"}));
    QCOMPARE(listOf(desk.ws.students[2].skills), (QStringList{"3", "3", "4", "3", "3", "3"}));
    QCOMPARE(grid->cellForeColor(3, 9), QColor(Qt::black));
    QCOMPARE(desk.ws.students[2].mark, std::string("75"));

    // Four blanks in CM2 count as a comment.
    typeMark(desk, 4, "90");
    QCOMPARE(cells(grid, 4, 4, 6), (QStringList{"", "    ", ""}));
    QCOMPARE(listOf(desk.ws.students[3].comments), (QStringList{"", "    ", "", "", ""}));
    QCOMPARE(listOf(desk.ws.students[3].skills), QStringList(6, "4"));
    QCOMPARE(desk.undos(), 3);
}

void EntryEditingTest::autoFillSpecialMarksAndSwitchedOff() {
    Desk desk;
    FlexGrid* grid = desk.grid();

    // "I" counts as 0.
    typeMark(desk, 1, "I");
    QCOMPARE(cells(grid, 1, 3, 9), (QStringList{"I", "0008", "0010", "0002", "", "", "1"}));
    QCOMPARE(listOf(desk.ws.students[0].skills), QStringList(6, "1"));

    // A stamped code turns black; the code it moves from CM2 leaves it.
    clickItem(desk.entry.lstFavourites, 4);
    clickCell(grid, 1, 4);
    QCOMPARE(cells(grid, 1, 4, 6), (QStringList{"0010", "", "0002"}));
    QCOMPARE(grid->cellForeColor(1, 4), QColor(Qt::black));
    QCOMPARE(grid->cellForeColor(1, 6), kRed);

    // A mark outside every range fills nothing.
    typeMark(desk, 3, "62");
    QCOMPARE(desk.ws.students[2].mark, std::string("62"));
    QCOMPARE(listOf(desk.ws.students[2].comments), QStringList(5, ""));
    QCOMPARE(cells(grid, 3, 4, 6), QStringList(3, ""));

    // Unticked: the mark alone is stored.
    clickButton(desk.entry.optAutoFill);
    QVERIFY(!desk.entry.optAutoFill->isChecked());
    typeMark(desk, 4, "85");
    QCOMPARE(desk.ws.students[3].mark, std::string("85"));
    QCOMPARE(cells(grid, 4, 4, 11), (QStringList{"", "    ", "", "", "", "3", "3", "3"}));
    QCOMPARE(listOf(desk.ws.students[3].skills), QStringList(6, "3"));
    QCOMPARE(grid->cellForeColor(4, 4), QColor(Qt::black));
}

void EntryEditingTest::skillsCycleWithEitherButton() {
    Desk desk;
    FlexGrid* grid = desk.grid();
    clickButton(desk.entry.cmdSwitch);
    QCOMPARE(grid->colWidth(9), 19);

    // Left: 3, 2, 1, 4, 3; right: 4, 1, 2, 3. Each click is one undo entry.
    QStringList left;
    for (int i = 0; i < 4; ++i) {
        clickCell(grid, 1, 9);
        left << grid->textMatrix(1, 9);
        QCOMPARE(desk.ws.students[0].skills[kRE], fromQString(left.last()));
    }
    QCOMPARE(left, (QStringList{"2", "1", "4", "3"}));
    QStringList right;
    for (int i = 0; i < 4; ++i) {
        clickCell(grid, 1, 14, Qt::RightButton);
        right << desk.ws.students[0].skills[kSR].c_str();
    }
    QCOMPARE(right, (QStringList{"4", "1", "2", "3"}));
    QCOMPARE(cells(grid, 1, 14, 14), QStringList{"3"});
    QCOMPARE(desk.undos(), 8);
    QCOMPARE(grid->row(), 1);
    QCOMPARE(grid->col(), 14);
    QVERIFY(desk.entry.lblDetail3->text().endsWith("  3  3  3  3  3  3"));

    // An auto-filled skill turns black when clicked; Undo restores the
    // skill alone.
    typeMark(desk, 2, "72");
    QCOMPARE(grid->cellForeColor(2, 10), kRed);
    clickCell(grid, 2, 10);
    QCOMPARE(grid->textMatrix(2, 10), QString("1"));
    QCOMPARE(grid->cellForeColor(2, 10), QColor(Qt::black));
    QCOMPARE(grid->cellForeColor(2, 11), kRed);
    clickButton(desk.entry.cmdUndo);
    QCOMPARE(grid->textMatrix(2, 10), QString("2"));
    QCOMPARE(listOf(desk.ws.students[1].skills), QStringList(6, "2"));
    QCOMPARE(desk.ws.students[1].mark, std::string("72"));

    // A cell holding no rating counts as 3.
    QCOMPARE(grid->textMatrix(6, 10), QString());
    clickCell(grid, 6, 10);
    QCOMPARE(desk.ws.students[5].skills[kOR], std::string("2"));
    clickButton(desk.entry.cmdUndo);
    QCOMPARE(grid->textMatrix(6, 10), QString());
    clickCell(grid, 6, 10, Qt::RightButton);
    QCOMPARE(desk.ws.students[5].skills[kOR], std::string("4"));
}

void EntryEditingTest::flagsToggleAndHeadersSetWholeColumns() {
    Desk desk;
    FlexGrid* grid = desk.grid();
    clickButton(desk.entry.cmdSwitch);

    clickCell(grid, 1, 15);
    QCOMPARE(grid->textMatrix(1, 15), QString("Y"));
    QCOMPARE(desk.ws.students[0].iep, std::string("Y"));
    clickCell(grid, 1, 15);
    QCOMPARE(desk.ws.students[0].iep, std::string());

    // The interview value "0" of an imported student: first "", then "Y".
    QCOMPARE(grid->textMatrix(1, 18), QString("0"));
    clickCell(grid, 1, 18);
    QCOMPARE(grid->textMatrix(1, 18), QString());
    QCOMPARE(desk.ws.students[0].interview, std::string());
    clickCell(grid, 1, 18);
    QCOMPARE(desk.ws.students[0].interview, std::string("Y"));
    QVERIFY(desk.entry.lblDetail4->text().endsWith(" Interview Request: Y"));

    // ESL and ELD exclude each other.
    QCOMPARE(desk.ws.students[5].eld, std::string("Y"));
    clickCell(grid, 6, 16);
    QCOMPARE(cells(grid, 6, 16, 17), (QStringList{"Y", ""}));
    QCOMPARE(desk.ws.students[5].esl, std::string("Y"));
    QCOMPARE(desk.ws.students[5].eld, std::string());
    clickCell(grid, 6, 17);
    QCOMPARE(cells(grid, 6, 16, 17), (QStringList{"", "Y"}));
    QCOMPARE(desk.ws.students[5].esl, std::string());
    QCOMPARE(desk.ws.students[5].eld, std::string("Y"));
    QCOMPARE(desk.undos(), 6);

    // Undo takes back the last toggle: ESL set, ELD clear again.
    clickButton(desk.entry.cmdUndo);
    QCOMPARE(cells(grid, 6, 16, 17), (QStringList{"Y", ""}));
    QCOMPARE(desk.ws.students[5].esl, std::string("Y"));
    QCOMPARE(desk.ws.students[5].eld, std::string());
    clickCell(grid, 6, 17);
    QCOMPARE(desk.ws.students[5].eld, std::string("Y"));

    // Headers set or clear a whole column and record no undo entry.
    const int undos = desk.undos();
    clickHeader(grid, 16, Qt::RightButton);
    for (int i = 0; i < 6; ++i) {
        QCOMPARE(cells(grid, i + 1, 16, 17), (QStringList{"Y", ""}));
        QCOMPARE(desk.ws.students[i].esl, std::string("Y"));
        QCOMPARE(desk.ws.students[i].eld, std::string());
    }
    clickHeader(grid, 16, Qt::LeftButton);
    for (int i = 0; i < 6; ++i) {
        QCOMPARE(grid->textMatrix(i + 1, 16), QString());
        QCOMPARE(desk.ws.students[i].esl, std::string());
    }
    clickHeader(grid, 15, Qt::RightButton);
    clickHeader(grid, 18, Qt::LeftButton);
    for (int i = 0; i < 6; ++i) {
        QCOMPARE(cells(grid, i + 1, 15, 18), (QStringList{"Y", "", "", ""}));
        QCOMPARE(desk.ws.students[i].iep, std::string("Y"));
        QCOMPARE(desk.ws.students[i].interview, std::string());
    }
    QCOMPARE(desk.undos(), undos);
}

void EntryEditingTest::stampingFavouriteCodes() {
    Desk desk;
    FlexGrid* grid = desk.grid();
    QListWidget* list = desk.entry.lstFavourites;
    QCOMPARE(list->count(), 6);
    QCOMPARE(list->item(2)->text(), QString("           ---------------"));
    QCOMPARE(list->item(5)->text(), QString("           no comment (delete existing comment)"));

    // A selected entry is stamped by left clicks and stays selected.
    clickItem(list, 0);
    QCOMPARE(desk.entry.codeToStamp(), QString("0001"));
    clickCell(grid, 1, 4);
    clickCell(grid, 3, 6);
    QCOMPARE(grid->textMatrix(1, 4), QString("0001"));
    QCOMPARE(desk.ws.students[0].comments[0], std::string("0001"));
    QCOMPARE(desk.ws.students[2].comments[2], std::string("0001"));
    QCOMPARE(grid->row(), 3);
    QCOMPARE(grid->col(), 6);
    QVERIFY(desk.entry.lblDetail1->text().contains("[0001] Nia "));
    QCOMPARE(desk.undos(), 2);

    // The code already in CM2 moves to CM4.
    clickItem(list, 3);
    clickCell(grid, 2, 7);
    QCOMPARE(cells(grid, 2, 4, 8), (QStringList{"0002", "", "", "0007", ""}));
    QCOMPARE(listOf(desk.ws.students[1].comments), (QStringList{"0002", "", "", "0007", ""}));

    // The final entry and the separator empty a slot; the others stay.
    clickItem(list, 5);
    clickCell(grid, 2, 4);
    clickItem(list, 2);
    clickCell(grid, 2, 7);
    QCOMPARE(listOf(desk.ws.students[1].comments), (QStringList{"    ", "", "", "    ", ""}));
    QCOMPARE(desk.undos(), 5);

    // Undo takes back the last stamp only.
    clickButton(desk.entry.cmdUndo);
    QCOMPARE(listOf(desk.ws.students[1].comments), (QStringList{"    ", "", "", "0007", ""}));
    QCOMPARE(grid->textMatrix(2, 7), QString("0007"));

    // A right click on an empty cell selects the final entry, on a listed
    // code that code's entry.
    clickCell(grid, 3, 8, Qt::RightButton);
    QCOMPARE(list->currentRow(), 5);
    QVERIFY(list->item(5)->isSelected());
    clickCell(grid, 1, 4);
    QCOMPARE(desk.ws.students[0].comments[0], std::string("    "));
    clickCell(grid, 2, 7, Qt::RightButton);
    QCOMPARE(list->currentRow(), 3);
    QVERIFY(list->item(3)->isSelected());
}

void EntryEditingTest::pickedCodeStampsUntilCancelled() {
    Desk desk;
    FlexGrid* grid = desk.grid();
    QListWidget* list = desk.entry.lstFavourites;
    clickItem(list, 1);

    // 0005 is not in the list: it is picked up from its cell.
    clickCell(grid, 6, 4, Qt::RightButton);
    QCOMPARE(grid->cellBackColor(6, 4), kPicked);
    QVERIFY(list->selectedItems().isEmpty());
    QCOMPARE(desk.entry.pickedCode, QString("0005"));
    QCOMPARE(grid->row(), 6);
    QCOMPARE(grid->col(), 4);
    clickCell(grid, 1, 5);
    clickCell(grid, 3, 4);
    QCOMPARE(grid->textMatrix(1, 5), QString("0005"));
    QCOMPARE(desk.ws.students[0].comments[1], std::string("0005"));
    QCOMPARE(desk.ws.students[2].comments[0], std::string("0005"));
    QCOMPARE(grid->cellBackColor(6, 4), kPicked);

    // The picked code survives a switch to the skills view and back.
    clickButton(desk.entry.cmdSwitch);
    clickButton(desk.entry.cmdSwitch);
    QCOMPARE(desk.entry.pickedCode, QString("0005"));
    clickCell(grid, 4, 8);
    QCOMPARE(desk.ws.students[3].comments[4], std::string("0005"));

    // A click on the list ends it: the cell is white again.
    clickItem(list, 4);
    QCOMPARE(grid->cellBackColor(6, 4), QColor(Qt::white));
    QCOMPARE(desk.entry.pickedCode, QString());
    QCOMPARE(desk.entry.pickedRow, -1);
    clickCell(grid, 1, 6);
    QCOMPARE(desk.ws.students[0].comments[2], std::string("0010"));

    // A right click on another cell also ends it.
    clickCell(grid, 6, 4, Qt::RightButton);
    QCOMPARE(desk.entry.pickedCode, QString("0005"));
    clickCell(grid, 1, 6, Qt::RightButton);
    QCOMPARE(grid->cellBackColor(6, 4), QColor(Qt::white));
    QCOMPARE(desk.entry.pickedCode, QString());
    QCOMPARE(list->currentRow(), 4);
    QCOMPARE(desk.undos(), 4);
}

void EntryEditingTest::freeFormStudentsCommentCellsIgnoreClicks() {
    Desk desk;
    FlexGrid* grid = desk.grid();
    QListWidget* list = desk.entry.lstFavourites;
    const StudentRecord quinn = desk.ws.students[4];
    clickItem(list, 0);
    for (int c = 4; c <= 8; ++c) {
        clickCell(grid, 5, c);
        clickCell(grid, 5, c, Qt::RightButton);
    }
    QCOMPARE(cells(grid, 5, 4, 8), kWordsShown);
    QVERIFY(desk.ws.students[4] == quinn);
    QCOMPARE(desk.undos(), 0);
    // The word shown in the cell is no code to pick up.
    QCOMPARE(desk.entry.pickedCode, QString());
    QCOMPARE(grid->cellBackColor(5, 4), QColor(Qt::white));
    clickCell(grid, 1, 4);
    QCOMPARE(desk.ws.students[0].comments[0], std::string("0001"));

    // The student's flags still toggle.
    clickButton(desk.entry.cmdSwitch);
    clickCell(grid, 5, 15);
    QCOMPARE(desk.ws.students[4].iep, std::string("Y"));
    QCOMPARE(desk.undos(), 2);
    // Undo of a free-form student's change keeps the five words.
    clickButton(desk.entry.cmdUndo);
    clickButton(desk.entry.cmdSwitch);
    QCOMPARE(cells(grid, 5, 4, 8), kWordsShown);
    QCOMPARE(desk.ws.students[4].iep, std::string());
}

void EntryEditingTest::switchShowsTheLearningSkillsReference() {
    Desk desk;
    FlexGrid* grid = desk.grid();
    QListWidget* skills = desk.entry.lstLearningSkills;
    const std::vector<std::string> favourites = desk.ws.favourites;

    for (int round = 0; round < 2; ++round) {
        clickButton(desk.entry.cmdSwitch);
        for (int c = 4; c <= 8; ++c)
            QCOMPARE(grid->colWidth(c), 0);
        for (int c = 9; c <= 18; ++c)
            QCOMPARE(grid->colWidth(c), 19);
        QVERIFY(skills->isVisible());
        QVERIFY(!desk.entry.lstFavourites->isVisible());
        QVERIFY(!desk.entry.cmdOpenFavourites->isEnabled());
        QCOMPARE(desk.entry.lblFavouriteFile->text(), QString("Learning Skills"));
        QCOMPARE(skills->count(), 39);
        QCOMPARE(skills->item(0)->text(),
                 QString("1 (Needs Improvement)   2 (Satisfactory)   3 (Good)   4 (Excellent)"));
        QCOMPARE(skills->item(21)->text(), QString("I    Initiative - The student:"));
        QCOMPARE(skills->item(37)->text(), "D    ELD" + QString(35, ' ') + "\"");
        QCOMPARE(skills->item(38)->text(),
                 "T    Teacher Interview Requested" + QString(11, ' ') + "\"");
        QCOMPARE(skills->item(38)->text().size(), 44);
        QCOMPARE(skills->font().pointSize(), 8);

        clickButton(desk.entry.cmdSwitch);
        for (int c = 4; c <= 8; ++c)
            QCOMPARE(grid->colWidth(c), 35);
        for (int c = 9; c <= 18; ++c)
            QCOMPARE(grid->colWidth(c), 0);
        QVERIFY(!skills->isVisible());
        QVERIFY(desk.entry.lstFavourites->isVisible());
        QVERIFY(desk.entry.cmdOpenFavourites->isEnabled());
        QVERIFY(desk.entry.lblFavouriteFile->text().startsWith("Favourite List: "));
        QCOMPARE(desk.entry.lstFavourites->count(), 6);
    }
    QCOMPARE(desk.ws.favourites, favourites);
}

void EntryEditingTest::freeFormDialogTextsAndLengthLimit() {
    Workspace ws;
    ws.freeFormDraft = "left over";
    ScriptedPrompts prompts;
    frmFreeFormCommentEntry dialog(ws, prompts);
    QCOMPARE(ws.freeFormDraft, std::string());
    QCOMPARE(dialog.windowTitle(), QString("Free Form Comment Entry"));
    const QList<QPair<const char*, QString>> labels = {
        {"Label1", "You can edit and change the comment here."},
        {"Label2",
         "Note of caution: Using the codes is \"safe\" in the sense that the comments are "
         "grammatically correct and spell checked (mostly). Here you can write ANYTHING. There is "
         "no checking: no spell check, no grammar check, no 'does it make sense' check.  "},
        {"Label3",
         "Be careful that you don't write something that on a sober second thought you'd wish "
         "you hadn't written. The creators of TL will not be held libel for the things you might "
         "write :-)"},
        {"Label4",
         "Once you change the comment and hit \"Okay\" all your existing comment codes for this "
         "student disappear. (You can't have both at the same time, some coded comments and some "
         "free form comments). It's all one or the other. "},
        {"Label5",
         "If you do decide to return to the original coded comments for this student hit the "
         "Cancel button."},
        {"Label6",
         "Note: Only letters A through Z, numbers 0 through 9 and standard sentence punctuation "
         "are valid.  Invalid characters like carriage returns, hard returns and shifted "
         "characters like ^ will be removed."},
        {"lblLength", "Length: 0/460"}};
    for (const auto& [name, text] : labels)
        QCOMPARE(dialog.findChild<QLabel*>(name)->text(), text);
    QCOMPARE(dialog.cmdOkay->text(), QString("Okay: Take the Above Text as the Free Form Comment"));
    QCOMPARE(dialog.cmdCancel->text(), QString("Cancel: Return to the Normal Coded Comment Mode"));
    QCOMPARE(dialog.txtComment->toPlainText(), QString());

    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QTest::keyClicks(dialog.txtComment, "Strong year");
    QCOMPARE(dialog.lblLength->text(), QString("Length: 11/460"));

    // Typing and pasting stop at 460 characters.
    dialog.txtComment->setPlainText(QString(458, 'a'));
    QCOMPARE(dialog.lblLength->text(), QString("Length: 458/460"));
    dialog.txtComment->moveCursor(QTextCursor::End);
    QTest::keyClicks(dialog.txtComment, "bcdef");
    QCOMPARE(dialog.txtComment->toPlainText(), QString(458, 'a') + "bc");
    QCOMPARE(dialog.lblLength->text(), QString("Length: 460/460"));
    dialog.txtComment->clear();
    QCOMPARE(dialog.lblLength->text(), QString("Length: 0/460"));
    QApplication::clipboard()->setText(QString(300, 'x') + "\n" + QString(300, 'y'));
    dialog.txtComment->setFocus();
    QTest::keySequence(dialog.txtComment, QKeySequence::Paste);
    QCOMPARE(dialog.txtComment->toPlainText().size(), 460);
    QVERIFY(dialog.txtComment->toPlainText().endsWith("\n" + QString(159, 'y')));
    QCOMPARE(dialog.txtComment->textCursor().position(), 460);
    QCOMPARE(dialog.lblLength->text(), QString("Length: 460/460"));
    QCOMPARE(prompts.asked.size(), 0);
}

void EntryEditingTest::freeFormCommandTakesOverAChangedText() {
    Desk desk;
    FlexGrid* grid = desk.grid();

    // Okay without a change: the message, and the student stays coded.
    clickCell(grid, 2, 3);
    QString shown;
    QString length;
    onPanel(desk, [&](frmFreeFormCommentEntry* dialog) {
        shown = dialog->txtComment->toPlainText();
        length = dialog->lblLength->text();
        dialog->cmdOkay->click();
    });
    QVERIFY(shown.startsWith("Tobias has made steady progress this term. "));
    QVERIFY(!shown.contains("[0002]"));
    QCOMPARE(length, QString("Length: %1/460").arg(shown.size()));
    QCOMPARE(desk.prompts.messages(),
             QStringList{"There was no change to the coded comment, therefore free form comments "
                         "NOT used."});
    QCOMPARE(desk.prompts.asked.last().title, QString("Tallyleaf"));
    QVERIFY(!desk.ws.students[1].freeFormUsed);
    QCOMPARE(cells(grid, 2, 4, 5), (QStringList{"0002", "0007"}));

    // A changed text makes the student free-form; the codes stay in the record.
    onPanel(desk, [](frmFreeFormCommentEntry* dialog) {
        dialog->txtComment->setPlainText("Great work? Yes");
        dialog->cmdOkay->click();
    });
    const StudentRecord& tobias = desk.ws.students[1];
    QVERIFY(tobias.freeFormUsed);
    QCOMPARE(tobias.freeFormText, std::string("Great work  Yes"));
    QCOMPARE(listOf(tobias.comments), (QStringList{"0002", "0007", "", "", ""}));
    QCOMPARE(cells(grid, 2, 4, 8), kWordsShown);
    QVERIFY(desk.entry.lblDetail1->text().contains("Great work  Yes"));
    QVERIFY(!desk.entry.lblDetail1->text().contains("["));
    QCOMPARE(desk.undos(), 0);

    // Editing it again shows the stored text and replaces it.
    onPanel(desk, [&](frmFreeFormCommentEntry* dialog) {
        shown = dialog->txtComment->toPlainText();
        dialog->txtComment->setPlainText("  Tobias leads his lab group well.\n");
        dialog->cmdOkay->click();
    });
    QCOMPARE(shown, QString("Great work  Yes"));
    QCOMPARE(desk.ws.students[1].freeFormText, std::string("Tobias leads his lab group well."));
    QVERIFY(desk.ws.students[1].freeFormUsed);
    QCOMPARE(desk.prompts.messages().size(), 1);
}

void EntryEditingTest::freeFormBlankTextCancelAndFrame() {
    Desk desk;
    FlexGrid* grid = desk.grid();

    // Blank text: No keeps the dialog open with its text, Yes returns to
    // the codes.
    clickCell(grid, 5, 3);
    QCOMPARE(desk.ws.students[4].freeFormUsed, true);
    desk.prompts.yesNoAnswers << false << true;
    bool openAfterNo = false;
    QString shown;
    QString keptText;
    onPanel(desk, [&](frmFreeFormCommentEntry* dialog) {
        shown = dialog->txtComment->toPlainText();
        dialog->txtComment->setPlainText("   ");
        dialog->cmdOkay->click();
        openAfterNo = dialog->isVisible();
        keptText = dialog->txtComment->toPlainText();
        dialog->cmdOkay->click();
    });
    QCOMPARE(shown, QString("Quinn writes with flair."));
    QVERIFY(openAfterNo);
    QCOMPARE(keptText, QString("   "));
    QCOMPARE(desk.prompts.count(Kind::YesNo), 2);
    QCOMPARE(desk.prompts.asked.last().text,
             QString("An empty comment will restore coded comments. Is this what you want?"));
    QCOMPARE(desk.prompts.asked.last().title, QString("Blank Comment"));
    QVERIFY(!desk.ws.students[4].freeFormUsed);
    QCOMPARE(desk.ws.students[4].freeFormText, std::string());
    QCOMPARE(cells(grid, 5, 4, 8), (QStringList{"0001", "0004", "", "", ""}));
    QVERIFY(desk.entry.lblDetail1->text().contains("[0001] Quinn "));

    // Nothing but line breaks and tabs returns to the codes as well.
    onPanel(desk, [](frmFreeFormCommentEntry* dialog) {
        dialog->txtComment->setPlainText("Quinn is curious.");
        dialog->cmdOkay->click();
    });
    QVERIFY(desk.ws.students[4].freeFormUsed);
    desk.prompts.yesNoAnswers << true;
    onPanel(desk, [](frmFreeFormCommentEntry* dialog) {
        dialog->txtComment->setPlainText("\n\t \n");
        dialog->cmdOkay->click();
    });
    QVERIFY(!desk.ws.students[4].freeFormUsed);
    QCOMPARE(cells(grid, 5, 4, 5), (QStringList{"0001", "0004"}));

    // Cancel on a free-form student restores the codes.
    onPanel(desk, [](frmFreeFormCommentEntry* dialog) {
        dialog->txtComment->setPlainText("Quinn is curious.");
        dialog->cmdOkay->click();
    });
    QCOMPARE(cells(grid, 5, 4, 8), kWordsShown);
    onPanel(desk, [](frmFreeFormCommentEntry* dialog) {
        dialog->txtComment->setPlainText("Something else entirely.");
        dialog->cmdCancel->click();
    });
    QVERIFY(!desk.ws.students[4].freeFormUsed);
    QCOMPARE(desk.ws.students[4].freeFormText, std::string());
    QCOMPARE(cells(grid, 5, 4, 5), (QStringList{"0001", "0004"}));

    // Closing by the frame acts like Cancel.
    onPanel(desk, [](frmFreeFormCommentEntry* dialog) {
        dialog->txtComment->setPlainText("Quinn is curious.");
        dialog->cmdOkay->click();
    });
    QVERIFY(desk.ws.students[4].freeFormUsed);
    onPanel(desk, [](frmFreeFormCommentEntry* dialog) {
        dialog->txtComment->setPlainText("Changed, then closed.");
        dialog->close();
    });
    QVERIFY(!desk.ws.students[4].freeFormUsed);
    QCOMPARE(cells(grid, 5, 4, 5), (QStringList{"0001", "0004"}));
    QCOMPARE(desk.undos(), 0);
    QCOMPARE(desk.prompts.count(Kind::YesNo), 3);
    QCOMPARE(desk.prompts.unexpected, 0);
}

void EntryEditingTest::panelWithoutAClassDoesNothing() {
    Desk desk(false);
    QVERIFY(desk.loaded);
    QCOMPARE(desk.ws.studentCount(), 0);
    desk.ws.freeFormDraft = "untouched";
    bool opened = false;
    QTimer::singleShot(150, &desk.entry, [&opened]() {
        if (QWidget* modal = QApplication::activeModalWidget()) {
            opened = true;
            modal->close();
        }
    });
    QLabel* panel = desk.entry.lblFreeFormComment;
    QTest::mouseClick(panel, Qt::LeftButton, {}, panel->rect().center());
    QTest::qWait(250);
    QVERIFY(!opened);
    QCOMPARE(desk.ws.freeFormDraft, std::string("untouched"));
    QCOMPARE(desk.prompts.messages(), QStringList());
}

void EntryEditingTest::pointerFollowsTheView() {
    Desk desk;
    FlexGrid* grid = desk.grid();
    QCOMPARE(pointerOver(grid, 1, 4), Qt::ArrowCursor);

    // With an entry selected: the stamp over comment cells, the arrow over
    // a free-form student's comment cells.
    clickItem(desk.entry.lstFavourites, 0);
    QCOMPARE(pointerOver(grid, 1, 4), Qt::BitmapCursor);
    QVERIFY(!grid->viewport()->cursor().pixmap().isNull());
    QCOMPARE(pointerOver(grid, 2, 8), Qt::BitmapCursor);
    QCOMPARE(pointerOver(grid, 5, 6), Qt::ArrowCursor);
    QCOMPARE(pointerOver(grid, 1, 1), Qt::ArrowCursor);

    // The skills view: the sizing pointer over the skill columns.
    clickButton(desk.entry.cmdSwitch);
    QCOMPARE(pointerOver(grid, 1, 9), Qt::SizeBDiagCursor);
    QCOMPARE(pointerOver(grid, 3, 14), Qt::SizeBDiagCursor);
    QCOMPARE(pointerOver(grid, 1, 3), Qt::ArrowCursor);
    QCOMPARE(pointerOver(grid, 1, 18), Qt::ArrowCursor);
}

QTEST_MAIN(EntryEditingTest)
#include "tst_entry_editing.moc"
