// The grids by keyboard alone: leaving a grid by Tab, stamping, picking up and
// typing comment codes, rating skills and setting flags in the class grid and
// the ranges grid. Every key goes to the widget that has the keyboard.
#include "autofill/frm_auto_fill.h"
#include "core/limits.h"
#include "ui/ui_support.h"

using namespace tl;
using namespace tl::test;

namespace {

// A range 80-100 with skills 4 and 0-79 with 0009 (not a favourite) in CM1.
// Favourites: 0004, 0002, a separator, 0007; row 4 is "no comment".
const QByteArray kFavourites =
    " 2 \r\n80,100,,,,4,4,4,4,4,4\r\n0,79,0009,,,3,3,3,3,3,3\r\n"
    "0004\r\n0002\r\n    \r\n0007\r\n";
const QColor kPicked(110, 150, 210);

// Row 1 empty; row 2 with 0002 in CM1; row 3 free-form; row 4 with 0005,
// which the favourites lack, in CM1.
struct KeysDesk : Desk {
    KeysDesk() : Desk({}, kFavourites) {
        open(file("k.tlc",
                  classLine("SCI3U1-01", "Ashdown", "Ivy", "301000001", "") +
                      classLine("SCI3U1-01", "Brennick", "Ivy", "301000002", "", "0002,,,,") +
                      classLine("SCI3U1-01", "Corvell", "Ivy", "301000003", "", ",,,,",
                                "G,G,G,G,G,G", "0,True,Ivy writes with flair.") +
                      classLine("SCI3U1-01", "Dellamar", "Ivy", "301000004", "", "0005,,,,")));
        activate(&entry);
    }
    QListWidget* list() const { return ctl<QListWidget>("lstFavourites"); }
    bool showsRecords() const { return shownRows(grid()) == recordRows(ws, false); }
    QString codes(int student) const { return listOf(ws.students[student].comments).join('|'); }
};

QPoint current(const FlexGrid* grid) {
    return {grid->row(), grid->col()};
}

// Keys and a count of them: "Down" pressed three times.
void repeat(Qt::Key key, int times) {
    for (int i = 0; i < times; ++i)
        pressKey(key);
}

}  // namespace

class GridKeysTest : public QObject {
    Q_OBJECT
  private slots:
    void tabLeavesTheGridAndTheCellKeysMoveWithin() {
        KeysDesk desk;
        FlexGrid* grid = desk.grid();
        // End and Home go to the last and first column shown, with Ctrl to the
        // last and first row; the frozen names are not entered.
        const std::pair<std::function<void()>, QPoint> moves[] = {
            {[] { pressKey(Qt::Key_End); }, {1, 8}},
            {[] { pressChord(Qt::Key_End, Qt::ControlModifier); }, {4, 8}},
            {[] { pressKey(Qt::Key_Home); }, {4, 3}},
            {[] { pressKey(Qt::Key_Left); }, {4, 3}},
            {[] { pressChord(Qt::Key_Home, Qt::ControlModifier); }, {1, 3}},
            {[] { pressKey(Qt::Key_PageDown); }, {4, 3}}};
        for (const auto& [move, cell] : moves) {
            move();
            QCOMPARE(current(grid), cell);
        }
        // Tab and Ctrl+Tab leave for the next control, Ctrl+Shift+Tab for the
        // previous one, and Shift+Tab comes back; the grid keeps its cell.
        pressKey(Qt::Key_Tab);
        QWidget* next = QApplication::focusWidget();
        QVERIFY(next != grid);
        pressChord(Qt::Key_Tab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), grid);
        pressChord(Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(QApplication::focusWidget(), next);
        pressChord(Qt::Key_Tab, Qt::ShiftModifier);
        pressChord(Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(QApplication::focusWidget() != grid && QApplication::focusWidget() != next);
        QCOMPARE(current(grid), QPoint(4, 3));
    }

    void commentCellsByKeyboard() {
        KeysDesk desk;
        FlexGrid* grid = desk.grid();
        QListWidget* list = desk.list();
        QCOMPARE(QApplication::focusWidget(), grid);
        QCOMPARE(current(grid), QPoint(1, 3));
        const std::vector<StudentRecord> opened = desk.ws.students;

        // Alt+1 to the list, an entry chosen there, Escape back to the grid.
        pressChord(Qt::Key_1, Qt::AltModifier);
        QCOMPARE(QApplication::focusWidget(), list);
        pressKey(Qt::Key_End);
        pressKey(Qt::Key_Up);
        QVERIFY(list->currentRow() == 3 && list->item(3)->isSelected());
        pressKey(Qt::Key_Escape);
        QCOMPARE(QApplication::focusWidget(), grid);

        // Enter stamps and goes down the column; Space stamps in place; Delete
        // stamps no comment. One undo entry each.
        pressKey(Qt::Key_Right);
        pressKey(Qt::Key_Return);
        QCOMPARE(current(grid), QPoint(2, 4));
        pressKey(Qt::Key_Space);
        QCOMPARE(current(grid), QPoint(2, 4));
        QCOMPARE(desk.codes(0) + " " + desk.codes(1), QString("0007|||| 0007||||"));
        pressKey(Qt::Key_Delete);
        QVERIFY(desk.codes(1) == "    ||||" && desk.undos() == 3 && desk.showsRecords());

        // A free-form student's cells take nothing, typed or stamped, and the
        // editor does not open there.
        pressKey(Qt::Key_Down);
        typeKeys("4");
        pressKey(Qt::Key_Space);
        QVERIFY(QApplication::focusWidget() == grid && desk.undos() == 3);

        // The Menu key picks up 0005, which the list lacks: it stamps until
        // Escape cancels it, and the grid keeps the keyboard.
        pressKey(Qt::Key_Down);
        pressKey(Qt::Key_Menu);
        QVERIFY(grid->cellBackColor(4, 4) == kPicked && list->selectedItems().isEmpty());
        pressKey(Qt::Key_Up);
        pressKey(Qt::Key_Up);
        pressKey(Qt::Key_Right);
        pressKey(Qt::Key_Space);
        QCOMPARE(desk.codes(1), QString("    |0005|||"));
        pressKey(Qt::Key_Escape);
        QVERIFY(grid->cellBackColor(4, 4) == Qt::white && grid->hasFocus());
        QCOMPARE(current(grid), QPoint(2, 5));
        // Shift+F10 on a listed code selects its entry, which then stamps.
        pressKey(Qt::Key_Up);
        pressKey(Qt::Key_Left);
        pressChord(Qt::Key_F10, Qt::ShiftModifier);
        QVERIFY(list->currentRow() == 3 && list->item(3)->isSelected());
        pressKey(Qt::Key_Right);
        pressKey(Qt::Key_Space);
        QCOMPARE(desk.codes(0), QString("|0007|||"));  // moved from CM1
        QCOMPARE(desk.undos(), 5);

        // A typed code the library holds is stamped, fewer digits padded; one it
        // lacks changes nothing and the status line says so; Escape closes
        // the editor.
        auto* status = desk.ctl("lblStatus");
        pressKey(Qt::Key_Right);
        typeKeys("3");
        auto* editor = QApplication::focusWidget();
        QVERIFY(editor != grid && editor->geometry() == grid->cellGeometry(1, 6));
        pressKey(Qt::Key_Return);
        QVERIFY(desk.codes(0) == "|0007|0003||" && grid->hasFocus());
        QCOMPARE(current(grid), QPoint(1, 6));
        pressKey(Qt::Key_Right);
        typeKeys("0101");
        pressKey(Qt::Key_Enter);
        typeKeys("99");
        pressKey(Qt::Key_Return);
        QCOMPARE(status->text(), QString("Code 0099 is not in the phrase library."));
        typeKeys("0002");
        pressKey(Qt::Key_Escape);
        QVERIFY(desk.codes(0) == "|0007|0003|0101|" && grid->hasFocus() && !editor->isVisible());
        // Moving away discards what was typed.
        typeKeys("1");
        QVERIFY(editor->isVisible());
        pressKey(Qt::Key_Down);
        QVERIFY(!editor->isVisible() && desk.undos() == 7 && desk.showsRecords());

        // Each key was one edit: undone one by one, the class is as it was opened.
        while (desk.undos() > 0)
            pressChord(Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(desk.ws.students == opened && desk.showsRecords());
    }

    void skillsAndFlagsByKeyboard() {
        KeysDesk desk;
        FlexGrid* grid = desk.grid();
        // A mark of 85 fills the skills from 80-100, in red.
        typeKeys("85");
        pressKey(Qt::Key_Return);
        QCOMPARE(listOf(desk.ws.students[0].skills).join(""), QString("444444"));
        click(desk.btn("cmdSwitch"));
        grid->setFocus();
        pressKey(Qt::Key_Up);
        pressKey(Qt::Key_Right);
        QCOMPARE(current(grid), QPoint(1, 9));

        // Space and Shift+Space step as the buttons; a rating's digit or letter
        // sets it. One undo entry each; the cell turns black, the others stay red.
        const std::vector<StudentRecord> marked = desk.ws.students;
        const std::pair<std::function<void()>, QString> keys[] = {
            {[] { pressKey(Qt::Key_Space); }, "3"},
            {[] { pressChord(Qt::Key_Space, Qt::ShiftModifier); }, "4"},
            {[] { typeKeys("n"); }, "1"},
            {[] { typeKeys("G"); }, "3"},
            {[] { typeKeys("2"); }, "2"}};
        int undos = desk.undos();
        for (const auto& [key, value] : keys) {
            key();
            QCOMPARE(desk.ws.students[0].skills[0] + std::to_string(desk.undos() - undos),
                     fromQString(value) + "1");
            undos = desk.undos();
        }
        typeKeys("x5");
        QVERIFY(desk.undos() == undos && desk.showsRecords());
        QVERIFY(grid->cellForeColor(1, 9) == Qt::black && grid->cellForeColor(1, 10) == Qt::red);

        // Space toggles a flag; on ESL Ctrl+Shift+Space sets it for everyone, which
        // clears every ELD, and Ctrl+Space clears it, with no undo entry.
        pressKey(Qt::Key_End);
        repeat(Qt::Key_Left, 3);
        pressKey(Qt::Key_Space);
        QCOMPARE(desk.ws.students[0].iep + std::to_string(desk.undos() - undos), std::string("Y1"));
        pressKey(Qt::Key_Right);
        desk.ws.students[3].eld = "Y";
        pressChord(Qt::Key_Space, Qt::ControlModifier | Qt::ShiftModifier);
        QString flags;
        for (const StudentRecord& s : desk.ws.students)
            flags += toQString(s.esl + s.eld);
        QCOMPARE(flags, QString("YYYY"));
        pressChord(Qt::Key_Space, Qt::ControlModifier);
        QVERIFY(desk.ws.students[2].esl.empty() && desk.undos() == undos + 1 &&
                desk.showsRecords());
        for (int i = 0; i < 6; ++i)
            pressChord(Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(desk.ws.students[0].skills == marked[0].skills && desk.showsRecords());
    }

    void rangeGridByKeyboard() {
        KeysDesk desk;
        desk.run("mnuAutoFill");
        auto* w = openWindow<frmAutoFill>("frmAutoFill");
        QVERIFY(w != nullptr);
        activate(w);
        auto* grid = control<FlexGrid>(w, "msfgClass");
        auto* list = control<QListWidget>(w, "lstFavourites");
        // The window leaves on Escape: a picked code, the list and the code
        // editor take Escape before it.
        QSignalSpy closed(w, &frmAutoFill::left);
        const std::vector<InitialValueRange> opened = desk.ws.initialValues;
        auto& ranges = desk.ws.initialValues;
        auto codes = [&ranges](int r) { return listOf(ranges[r].codes).join('|'); };

        clickCell(grid, 1, 0);  // a Low cell: the range's CM1 is current, nothing stamped
        QVERIFY(QApplication::focusWidget() == grid && current(grid) == QPoint(1, 2));
        pressChord(Qt::Key_1, Qt::AltModifier);
        pressKey(Qt::Key_End);
        pressKey(Qt::Key_Home);
        QVERIFY(list->currentRow() == 0 && list->item(0)->isSelected());
        pressKey(Qt::Key_Escape);
        QVERIFY(QApplication::focusWidget() == grid && closed.isEmpty());

        // Space, then Enter in the next code cell, which moves the code there
        // and goes down; Delete stamps no comment.
        pressKey(Qt::Key_Space);
        pressKey(Qt::Key_Right);
        pressKey(Qt::Key_Return);
        QVERIFY(codes(0) == "|0004|" && current(grid) == QPoint(2, 3));
        pressKey(Qt::Key_Delete);
        QCOMPARE(codes(1), QString("0009|    |"));

        // The Menu key picks up 0009; Escape cancels it, and only the next
        // Escape reaches the window.
        pressKey(Qt::Key_Left);
        pressKey(Qt::Key_Menu);
        QVERIFY(grid->cellBackColor(2, 2) == kPicked);
        pressKey(Qt::Key_Escape);
        QVERIFY(grid->cellBackColor(2, 2) == Qt::white && closed.isEmpty());

        // A typed code: one the library lacks is said in a message box; Escape
        // closes the editor and stays in the window.
        pressKey(Qt::Key_Right);
        pressKey(Qt::Key_Right);
        typeKeys("7");
        pressKey(Qt::Key_Return);
        typeKeys("0099");
        pressKey(Qt::Key_Return);
        QCOMPARE(desk.prompts.messages(), QStringList{"Code 0099 is not in the phrase library."});
        typeKeys("1");
        pressKey(Qt::Key_Escape);
        QVERIFY(codes(1) == "0009|    |0007" && grid->hasFocus() && closed.isEmpty());

        // Skills: Space and Shift+Space step, a rating's key sets; each is undone
        // on its own.
        pressKey(Qt::Key_Right);
        pressKey(Qt::Key_Space);
        pressChord(Qt::Key_Space, Qt::ShiftModifier);
        pressChord(Qt::Key_Space, Qt::ShiftModifier);
        typeKeys("s");
        QCOMPARE(listOf(ranges[1].skills).join(""), QString("233333"));
        QCOMPARE(grid->textMatrix(2, 5), QString("2"));
        auto* undo = control<QPushButton>(w, "cmdUndo");
        for (int i = 0; i < 8; ++i)
            click(undo);
        QVERIFY(ranges == opened && !undo->isEnabled());
        pressKey(Qt::Key_Escape);
        QCOMPARE(closed.count(), 1);
    }
};

QTEST_MAIN(GridKeysTest)
#include "tst_grid_keys.moc"
