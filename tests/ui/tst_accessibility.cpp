// SPDX-License-Identifier: GPL-3.0-or-later

// What a screen reader finds: every control that takes the keyboard has a
// name, no two alike in one window, in every window and state;
// the class grid reports its row and column headers through the table
// interface; after a refusal the keyboard is on the message, not on an
// empty grid.

#include "entry/frm_free_form_comment_entry.h"
#include "export/frm_export.h"
#include "import/frm_get_trilliumfile.h"
#include "import/frm_import_marks.h"
#include "platform/accessibility.h"
#include "ui/ui_support.h"

using namespace tl;
using namespace tl::test;

namespace {

// The main window with the enrolment file in place, or (with false) without
// it: three students in SCI2D1-03, one of them also in HIS2D1-04. The
// favourites hold ranges 80-100 and 50-79.
struct SchoolDesk : Desk {
    SchoolDesk() : Desk({}, contents(TL_TEST_DATA "/accessibility/favourites.tlf")) { enrol(true); }
    void enrol(bool present) const {
        const QString path = school.write("data/TLStudentInfo.txt",
                                          contents(TL_TEST_DATA "/accessibility/enrolment.txt"));
        if (!present) QVERIFY(QFile::remove(path));
    }
    frmGetTrilliumfile* openPicker() {
        if (ws.studentCount() > 0) prompts.yesNoAnswers << false;
        run("mnuNewTrillium");
        auto* picker = entry.findChild<frmGetTrilliumfile*>();
        if (picker != nullptr) activate(picker);
        return picker;
    }
};

// The controls of a window that take the keyboard, by the name a screen
// reader gives them (an editor open over a grid among them): those without a
// name, the names given twice and the expected names missing.
QStringList nameFaults(const QString& where, QWidget* window, const QStringList& expected = {}) {
    if (window == nullptr) return {where + ": not open"};
    QMultiMap<QString, QString> names;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (w->window() == window && w->isVisibleTo(window) && (w->focusPolicy() & Qt::TabFocus))
            names.insert(
                QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name).trimmed(),
                w->objectName());
    }
    QStringList found;
    for (const QString& name : names.uniqueKeys()) {
        if (name.isEmpty() || names.count(name) > 1)
            found << where + ": \"" + name + "\" for " + names.values(name).join(", ");
    }
    for (const QString& name : expected) {
        if (!names.contains(name)) found << where + ": no \"" + name + "\"";
    }
    return found;
}

// What a screen reader says for a cell: its row header, column header and text.
QString spokenCell(FlexGrid* grid, int row, int col) {
    // A screen reader's copy of the table follows the model's changes, which
    // the offscreen platform does not send: each reading starts afresh.
    QAccessible::deleteAccessibleInterface(
        QAccessible::uniqueId(QAccessible::queryAccessibleInterface(grid)));
    QAccessibleInterface* cell =
        QAccessible::queryAccessibleInterface(grid)->tableInterface()->cellAt(row - 1, col);
    QStringList said;
    for (QAccessibleInterface* header : cell->tableCellInterface()->rowHeaderCells() +
                                            cell->tableCellInterface()->columnHeaderCells()) {
        // The header cells are made for the caller, who lets them go.
        const QAccessible::Id id = QAccessible::registerAccessibleInterface(header);
        said << header->text(QAccessible::Name);
        QAccessible::deleteAccessibleInterface(id);
    }
    return (said << cell->text(QAccessible::Name)).join(", ");
}

// What the grid tells a screen reader (the toolkit delivers it to none on
// the offscreen platform), and whether the frozen columns' view told any.
struct Heard {
    QAccessible::Event type;
    QString text;
};
std::vector<Heard> heard;

// Stands for a screen reader: with it installed, the grid tells.
void listen(QAccessibleEvent* event) {
    Q_UNUSED(event);
}

// The texts of the events of one type heard since the last call.
QStringList heardOf(QAccessible::Event type) {
    QStringList texts;
    for (const Heard& h : heard)
        if (h.type == type) texts << h.text;
    heard.clear();
    return texts;
}

QString focusName() {
    QWidget* focus = QApplication::focusWidget();
    return focus != nullptr ? focus->objectName() : "nothing";
}

}  // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT
  private slots:
    void everyWindowAndStateNamesItsControlsAndTakesTheKeyboard() {
        QStringList found;
        SchoolDesk desk;
        found << nameFaults("main, no class", &desk.entry);
        frmGetTrilliumfile* picker = desk.openPicker();
        found << nameFaults("picker", picker, {"Select a Class"});
        // The science section; the built class takes its first mark at once.
        auto* box = control<QComboBox>(picker, "cboClasses");
        box->setCurrentIndex(box->findText("SCI2D1-03"));
        press(picker, "cmdGetClass");
        typeKeys("7");
        found << nameFaults("main, typing a mark", &desk.entry, {"Mark"});
        typeKeys("0");
        pressKey(Qt::Key_Return);
        found << nameFaults("main, comments", &desk.entry, {"Class grid", "Open Favourites"});
        // The pronoun menu on the mark, as a screen reader reads its items.
        pressKey(Qt::Key_Menu);
        QStringList items;
        if (auto* menu = desk.entry.findChild<QMenu*>("mnuPronouns")) {
            QAccessibleInterface* read = QAccessible::queryAccessibleInterface(menu);
            for (int i = 0; i < read->childCount(); ++i)
                items << read->child(i)->text(QAccessible::Name);
            QTest::keyClick(menu, Qt::Key_Escape);
        }
        QCOMPARE(items.join('|'), QString("Pronouns: he|Pronouns: she|Pronouns: they|"
                                          "Pronouns: from the enrolment (she)"));
        click(desk.btn("cmdSwitch"));
        found << nameFaults("main, skills", &desk.entry, {"Learning Skills"});
        click(desk.btn("cmdSwitch"));

        // The class grid's headers follow the rows when they are sorted.
        typeMark(desk, 3, "95");
        desk.run("mnuSortMarks");
        QCOMPARE(spokenCell(desk.grid(), 1, 3), QString("Corran Lea, Mark, 95"));

        // The windows of the menus, and what they show in each state.
        const auto openBy = [&](const char* command, const char* name, QStringList names) {
            desk.run(command);
            found << nameFaults(name, openWindow<QWidget>(name), names);
            return openWindow<QWidget>(name);
        };
        openBy("mnuhelp", "frmHelp", {});
        press(openBy("mnuSelection", "frmSelection", {"Grade/Stream", "NOT word"}), "cmdBack");
        press(openBy("mnuAutoFill", "frmAutoFill", {"Range grid", "Learning Skill Values"}),
              "cmdBack");

        // Problems (no marks) show the report, not the empty grid behind it; a
        // refusal (no enrolment file) its button; a class whose comments name
        // another student the warnings.
        QStringList focus;
        std::vector<StudentRecord> students = desk.ws.students();
        for (StudentRecord& s : students) {
            s.skills.fill("3");
            s.freeFormUsed = true;
            s.freeFormText = s.lastName == "Brook" ? "Helps Achebe in the lab." : "Steady.";
        }
        for (const int state : {0, 1, 2}) {
            desk.enrol(state != 1);
            for (StudentRecord& s : students)
                s.mark = state == 2 ? "70" : "";
            desk.ws.doc.replaceClass(students);
            desk.run("mnuExport");
            auto* w = openWindow<frmExport>("frmExport");
            activate(w);
            focus << focusName();
            found << nameFaults("eFile " + QString::number(state), w);
            press(w, "cmdReturn");
        }
        // The picker refuses when the enrolment file goes while it is open:
        // back to its sections.
        picker = desk.openPicker();
        press(picker, "chkMultiCourse");
        found << nameFaults("picker, several sections", picker, {"Select ALL Classes"});
        clickItem(control<QListWidget>(picker, "lstMultiSelect"), 1);
        desk.enrol(false);
        press(picker, "cmdGetClass");
        focus << focusName();
        // Import Marks, its preview's lines read by their texts.
        QByteArray csv = "Number,Name,Mark\n";
        for (const StudentRecord& s : desk.ws.students())
            csv += QByteArray::fromStdString(s.studentNumber) + ",Someone,70\n";
        frmImportMarks marks(desk.ws, desk.prompts);
        QVERIFY(marks.Form_Load(desk.file("marks.csv", csv)));
        marks.show();
        found << nameFaults("import marks", &marks,
                            {"Student number", "Mark", "Name (optional)", "Preview", "Import"});
        auto* preview = control<QListWidget>(&marks, "lstImportPreview");
        QAccessibleInterface* lines = QAccessible::queryAccessibleInterface(preview);
        QCOMPARE(collect(lines->childCount(),
                         [lines](int i) { return lines->child(i)->text(QAccessible::Name); }),
                 tl::test::items(preview));
        frmFreeFormCommentEntry freeForm(desk.ws, desk.prompts);
        freeForm.show();
        found << nameFaults("free-form", &freeForm, {"Free-form comment"});
        QCOMPARE(focus.join(' '), QString("picOut cmdReturn lstNameWarnings lstMultiSelect"));
        QCOMPARE(shownCodes(desk.prompts).join(' '), QString("TL5: TL10b:"));
        QCOMPARE(found.join('\n'), QString());
    }

    // A screen reader hears one focus per move, the cell's value with its
    // meaning, and each change said once on the cell the keyboard is on.
    void theGridSaysEachMoveAndChangeOnce() {
        QAccessible::installUpdateHandler(listen);
        Desk desk;
        QObject::connect(desk.grid(), &FlexGrid::toldScreenReader,
                         [](QAccessible::Event type, const QString& text) {
                             heard.push_back({type, text});
                         });
        desk.open(desk.file(
            "c.tlc",
            classLine("SCH4U1-01", "Ames", "Ann", "400000001", "", "0002,,,,") + classOfSize(2)));
        FlexGrid* grid = desk.grid();
        activate(&desk.entry);
        heardOf(QAccessible::Focus);
        QCOMPARE(spokenCell(grid, 1, 4),
                 QString("Ames Ann, Comment 1, 0002, Ann has made steady progress this term."));
        QCOMPARE(spokenCell(grid, 1, 9), QString("Ames Ann, Responsibility, 3, Good"));
        QCOMPARE(spokenCell(grid, 1, 15), QString("Ames Ann, Individual Education Plan, no"));
        QCOMPARE(spokenCell(grid, 2, 4), QString("Pupil100 Pat, Comment 1, blank"));

        grid->setCurrentCell(1, 3);
        grid->setFocus();
        settle();
        heardOf(QAccessible::Focus);
        pressKey(Qt::Key_Down);
        QCOMPARE(heardOf(QAccessible::Focus), QStringList{"70"});
        pressKey(Qt::Key_Right);
        QCOMPARE(heardOf(QAccessible::Focus), QStringList{"blank"});

        // A mark stored as Enter moves down is said with its student.
        typeMark(desk, 1, "79");
        QCOMPARE(heardOf(QAccessible::Alert), QStringList{"Ames Ann, Mark, 79"});
        // A sort keeps the student current and says what it did.
        grid->setCurrentCell(3, 3);
        desk.run("mnuSortMarks");
        QCOMPARE(grid->textMatrix(grid->row(), 1), QString("Pupil101"));
        QCOMPARE(heardOf(QAccessible::Alert), QStringList{"Sorted by mark, highest first."});
        // A drop-down list reads its entry as its text; its name stays its own.
        desk.run("mnuSelection");
        auto* selection = openWindow<QWidget>("frmSelection");
        auto* box = control<QComboBox>(selection, "cmbMarkCat");
        box->setCurrentIndex(1);
        QAccessibleInterface* read = QAccessible::queryAccessibleInterface(box);
        QCOMPARE(read->text(QAccessible::Name) + ": " + read->textInterface()->text(0, -1),
                 "Grade/Stream: " + box->currentText());
        press(selection, "cmdBack");
        QAccessible::installUpdateHandler(nullptr);
        // The frozen columns' view, drawn over the grid, shows a screen reader nothing.
        QAccessibleInterface* frozen =
            QAccessible::queryAccessibleInterface(control<QWidget>(grid, "frozenColumns"));
        QVERIFY(frozen->state().invisible && frozen->childCount() == 0 &&
                frozen->tableInterface() == nullptr);
    }
};

QTEST_MAIN(AccessibilityTest)
#include "tst_accessibility.moc"
