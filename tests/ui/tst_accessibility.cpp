// What a screen reader finds: every control that takes the keyboard or a
// press has a name, no two alike in one window, in every window and state;
// the grids report their row and column headers through the table
// interface; after a refusal the keyboard is on the message, not on an
// empty grid.

#include "about/frm_help.h"
#include "entry/frm_free_form_comment_entry.h"
#include "entry/frm_splash.h"
#include "export/frm_export.h"
#include "import/frm_get_trilliumfile.h"
#include "ui/ui_support.h"

using namespace tl;
using namespace tl::test;

namespace {

// Ranges 80-100 and 50-79; the list holds 0001 and 0002.
const QByteArray kFavourites =
    " 2 \r\n80,100,0001,0002,0003,4,4,4,4,4,4\r\n50,79,0004,0005,0006,2,2,2,2,2,2\r\n"
    "0001\r\n0002\r\n";

QByteArray masterLine(const QByteArray& last, const QByteArray& first, const QByteArray& number,
                      const QByteArray& timetable) {
    return last + "," + first + ",F," + number + ",2025,10,ON,N1,,,,,,H1," + timetable + "\r\n";
}

// Three students in SCI2D1-03, one of them also in HIS2D1-04; without
// Corran when she has left.
QByteArray masterBytes(bool corranLeft = false) {
    QByteArray bytes =
        "Surname,Given,Sex,StudentNo,Year,Grade,Prov,Board,C9,C10,C11,C12,C13,Home,Timetable\r\n";
    bytes += masterLine("Achebe", "Hana", "303000001", "SCI2D1-03 HIS2D1-04");
    bytes += masterLine("Brook", "Milo", "303000002", "SCI2D1-03");
    if (!corranLeft) bytes += masterLine("Corran", "Lea", "303000003", "SCI2D1-03");
    return bytes;
}

struct SchoolDesk : Desk {
    SchoolDesk() : Desk({}, kFavourites) { writeMaster(masterBytes()); }
    void writeMaster(const QByteArray& bytes) const {
        school.write("data/TLStudentInfo.txt", bytes);
    }
    frmGetTrilliumfile* openPicker() {
        if (ws.studentCount() > 0) prompts.yesNoAnswers << false;
        run("mnuNewTrillium");
        return entry.findChild<frmGetTrilliumfile*>();
    }
    // The science section from the picker, by the keyboard's choice in its box.
    void buildScience() {
        frmGetTrilliumfile* picker = openPicker();
        QVERIFY(picker != nullptr);
        auto* box = control<QComboBox>(picker, "cboClasses");
        box->setCurrentIndex(box->findText("SCI2D1-03"));
        press(picker, "cmdGetClass");
    }
    frmExport* openExport() {
        run("mnuExport");
        auto* w = openWindow<frmExport>("frmExport");
        if (w != nullptr) activate(w);
        return w;
    }
};

QString described(QAccessibleInterface* iface) {
    const QObject* object = iface->object();
    const QString name = object != nullptr ? object->objectName() : QString();
    return QString("%1 %2").arg(int(iface->role())).arg(name.isEmpty() ? "(no objectName)" : name);
}

bool pressable(QAccessibleInterface* iface) {
    QAccessibleActionInterface* actions = iface->actionInterface();
    if (actions == nullptr) return false;
    const QStringList names = actions->actionNames();
    return names.contains(QAccessibleActionInterface::pressAction()) ||
           names.contains(QAccessibleActionInterface::toggleAction()) ||
           names.contains(QAccessibleActionInterface::showMenuAction());
}

// The named controls of one window (or menu): name -> controls.
using Scope = QMultiMap<QString, QString>;

void walk(QAccessibleInterface* parent, Scope& scope, QList<QAccessibleInterface*>& menus) {
    for (int i = 0; i < parent->childCount(); ++i) {
        QAccessibleInterface* child = parent->child(i);
        if (child == nullptr) continue;
        // A menu is a window of its own when it opens.
        if (child->role() == QAccessible::PopupMenu) {
            menus << child;
            continue;
        }
        const auto* action = qobject_cast<const QAction*>(child->object());
        if (child->state().invisible || (action != nullptr && !action->isVisible())) continue;
        if (child->state().focusable || pressable(child))
            scope.insert(child->text(QAccessible::Name).trimmed(), described(child));
        // Items and cells carry their own texts; the view holding them carries the name.
        const QAccessible::Role role = child->role();
        if (role == QAccessible::Table || role == QAccessible::List || role == QAccessible::Tree ||
            role == QAccessible::ComboBox)
            continue;
        walk(child, scope, menus);
    }
}

QStringList faults(const QString& where, const Scope& scope) {
    QStringList found;
    for (const QString& name : scope.uniqueKeys()) {
        const QStringList controls = scope.values(name);
        if (name.isEmpty()) {
            found << where + ": no name: " + controls.join(", ");
        } else if (controls.size() > 1) {
            found << where + ": \"" + name + "\" twice: " + controls.join(", ");
        }
    }
    return found;
}

// The controls without a name and the names given twice, in a window and in
// each of its menus; names collects the window's names.
QStringList nameFaults(const QString& where, QWidget* window, QStringList* names = nullptr) {
    Scope scope;
    QList<QAccessibleInterface*> menus;
    walk(QAccessible::queryAccessibleInterface(window), scope, menus);
    // An editor laid over a grid is no part of the table's tree, but a screen
    // reader hears of it when it takes the keyboard.
    if (QWidget* focus = window->focusWidget(); focus != nullptr && focus->isVisible()) {
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(focus);
        if (!scope.values().contains(described(iface)))
            scope.insert(iface->text(QAccessible::Name).trimmed(), described(iface));
    }
    QStringList found = faults(where, scope);
    if (names != nullptr) *names = scope.keys();
    while (!menus.isEmpty()) {
        QAccessibleInterface* menu = menus.takeFirst();
        // Its items are hidden with the menu: only a hidden action is left out.
        Scope items;
        QList<QAccessibleInterface*> submenus;
        for (int i = 0; i < menu->childCount(); ++i) {
            QAccessibleInterface* item = menu->child(i);
            const auto* action = qobject_cast<const QAction*>(item->object());
            if (action == nullptr || !action->isVisible() || !pressable(item)) continue;
            items.insert(item->text(QAccessible::Name).trimmed(), described(item));
            walk(item, items, submenus);
        }
        menus << submenus;
        found << faults(where + " menu " + menu->object()->objectName(), items);
    }
    return found;
}

// What a screen reader says for a cell: its row header, column header and text.
QString spokenCell(FlexGrid* grid, int row, int col) {
    // A screen reader's copy of the table follows the model's changes, which
    // the offscreen platform does not send: each reading starts afresh.
    QAccessible::deleteAccessibleInterface(
        QAccessible::uniqueId(QAccessible::queryAccessibleInterface(grid)));
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(grid);
    QAccessibleInterface* cell = table->tableInterface()->cellAt(row - 1, col);
    if (cell == nullptr) return "no cell";
    QList<QAccessibleInterface*> headers = cell->tableCellInterface()->rowHeaderCells();
    headers << cell->tableCellInterface()->columnHeaderCells();
    QStringList said;
    for (QAccessibleInterface* header : headers) {
        // The header cells are made for the caller, who lets them go.
        const QAccessible::Id id = QAccessible::registerAccessibleInterface(header);
        said << header->text(QAccessible::Name);
        QAccessible::deleteAccessibleInterface(id);
    }
    said << cell->text(QAccessible::Name);
    return said.join(", ");
}

QWidget* focused() {
    return QApplication::focusWidget();
}

}  // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT
  private slots:
    void theCheckFindsUnnamedAndRepeatedControls() {
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* unnamed = new QListWidget;
        unnamed->setObjectName("lstUnnamed");
        for (QWidget* w : {static_cast<QWidget*>(unnamed), static_cast<QWidget*>(new QLabel("x")),
                           static_cast<QWidget*>(new QPushButton("OK")),
                           static_cast<QWidget*>(new QPushButton("&OK"))})
            layout->addWidget(w);
        window.show();
        const QStringList found = nameFaults("test", &window);
        QCOMPARE(found.size(), 2);
        QVERIFY(found[0].startsWith("test: no name: ") && found[0].endsWith("lstUnnamed"));
        QVERIFY(found[1].startsWith("test: \"OK\" twice"));
    }

    void everyWindowNamesEachControlOnce() {
        QStringList found;
        QStringList names;
        {
            Workspace ws;
            ScriptedPrompts prompts;
            TempSchool school;
            frmSplash splash(ws, prompts, school.locations());
            splash.show();
            found << nameFaults("start-up", &splash);
        }
        SchoolDesk desk;
        found << nameFaults("main, no class", &desk.entry);
        frmGetTrilliumfile* picker = desk.openPicker();
        QVERIFY(picker != nullptr);
        found << nameFaults("picker", picker, &names);
        QVERIFY(names.contains("Select a Class"));
        press(picker, "chkMultiCourse");
        found << nameFaults("picker, several sections", picker, &names);
        QVERIFY(names.contains("Select ALL Classes"));
        picker->close();
        settle();

        desk.buildScience();
        typeKeys("7");
        found << nameFaults("main, typing a mark", &desk.entry, &names);
        QVERIFY(names.contains("Mark"));
        pressKey(Qt::Key_Return);
        found << nameFaults("main, comments", &desk.entry, &names);
        for (const char* name : {"Class grid", "Favourite List", "Free-form comment",
                                 "Open Favourites", "Create New Class File of Students"})
            QVERIFY2(names.contains(name), name);
        click(desk.btn("cmdSwitch"));
        found << nameFaults("main, skills", &desk.entry, &names);
        QVERIFY(names.contains("Learning Skills") && !names.contains("Favourite List"));
        click(desk.btn("cmdSwitch"));

        bool walked = false;
        whenModal<frmFreeFormCommentEntry>([&](frmFreeFormCommentEntry* dialog) {
            found << nameFaults("free-form", dialog, &names);
            walked = names.contains("Free-form comment");
            dialog->reject();
        });
        QTest::mouseClick(desk.ctl("lblFreeFormComment"), Qt::LeftButton);
        settle();
        QVERIFY(walked);

        desk.run("mnuhelp");
        found << nameFaults("about", openWindow<QWidget>("frmHelp"));
        desk.run("mnuSelection");
        found << nameFaults("Comment Selection", openWindow<QWidget>("frmSelection"), &names);
        for (const char* name : {"Grade/Stream", "Category", "Learning Skill", "Department",
                                 "First word", "AND word", "OR word", "NOT word"})
            QVERIFY2(names.contains(name), name);
        press(openWindow<QWidget>("frmSelection"), "cmdBack");
        desk.run("mnuAutoFill");
        found << nameFaults("Initial Values Setup", openWindow<QWidget>("frmAutoFill"), &names);
        QVERIFY(names.contains("Range grid") && names.contains("Learning Skill Values"));
        press(openWindow<QWidget>("frmAutoFill"), "cmdBack");

        // The eFile window: problems (no marks), discrepancies (Corran has
        // left), refused (no enrolment file), ready (with a name warning).
        frmExport* w = desk.openExport();
        QVERIFY(w != nullptr);
        found << nameFaults("eFile, problems", w, &names);
        QVERIFY(names.contains("eFile check report"));
        press(w, "cmdReturn");
        desk.writeMaster(masterBytes(true));
        w = desk.openExport();
        found << nameFaults("eFile, discrepancies", w);
        press(w, "cmdReturn");
        QVERIFY(QFile::remove(desk.school.dataFolder() + "/TLStudentInfo.txt"));
        w = desk.openExport();
        found << nameFaults("eFile, refused", w);
        press(w, "cmdReturn");
        desk.writeMaster(masterBytes(true));
        for (StudentRecord& s : desk.ws.students) {
            s.mark = "70";
            s.skills.fill("3");
            s.freeFormUsed = true;
            s.freeFormText = "Works steadily in the lab with Achebe.";
        }
        w = desk.openExport();
        found << nameFaults("eFile, ready", w, &names);
        QVERIFY(names.contains("eFile preview grid") &&
                names.contains("I confirm that these marks, "
                               "comments and learning "
                               "skills are correct."));
        press(w, "chkConfirm");
        found << nameFaults("eFile, confirmed", w);
        press(w, "cmdReturn");
        QCOMPARE(found, QStringList());
    }

    void gridsReportTheirHeaders() {
        SchoolDesk desk;
        desk.buildScience();
        // The built class takes its first mark at once.
        typeKeys("70");
        pressKey(Qt::Key_Return);
        FlexGrid* grid = desk.grid();
        QCOMPARE(spokenCell(grid, 1, 3), QString("Achebe Hana, MRK, 70"));
        QCOMPARE(spokenCell(grid, 2, 4), QString("Brook Milo, CM1, "));
        // The headers follow the rows when they are sorted.
        typeMark(desk, 3, "95");
        desk.run("mnuSortMarks");
        QCOMPARE(spokenCell(grid, 1, 3), QString("Corran Lea, MRK, 95"));
        QAccessibleInterface* table = QAccessible::queryAccessibleInterface(grid);
        QCOMPARE(table->text(QAccessible::Name), QString("Class grid"));
        QCOMPARE(table->tableInterface()->rowDescription(1), QString("Achebe Hana"));

        // The range grid names a row by its marks.
        desk.run("mnuAutoFill");
        auto* ranges = control<FlexGrid>(openWindow<QWidget>("frmAutoFill"), "msfgClass");
        QCOMPARE(spokenCell(ranges, 2, 2), QString("50-79, CM1, 0004"));
        press(openWindow<QWidget>("frmAutoFill"), "cmdBack");

        // Every preview row of a student is named by the student.
        for (StudentRecord& s : desk.ws.students) {
            s.mark = "70";
            s.skills.fill("3");
            s.comments[0] = "0001";
        }
        frmExport* w = desk.openExport();
        QVERIFY(w != nullptr);
        auto* preview = control<FlexGrid>(w, "msfgClass");
        QVERIFY(preview->rows() > 4);
        QCOMPARE(spokenCell(preview, 1, 4), QString("Achebe Hana, MK, 70"));
        QCOMPARE(spokenCell(preview, 2, 5), "Achebe Hana, Comments, " + preview->textMatrix(2, 5));
        press(w, "cmdReturn");
    }

    void theKeyboardGoesToTheMessageAfterARefusal() {
        SchoolDesk desk;
        desk.buildScience();
        // Problems, then discrepancies: the report, not the empty grid behind it.
        for (const bool corranLeft : {false, true}) {
            desk.writeMaster(masterBytes(corranLeft));
            frmExport* w = desk.openExport();
            QVERIFY(w != nullptr);
            QCOMPARE(focused(), control<QWidget>(w, "picOut"));
            press(w, "cmdReturn");
        }
        QVERIFY(QFile::remove(desk.school.dataFolder() + "/TLStudentInfo.txt"));
        frmExport* w = desk.openExport();
        QCOMPARE(shownCodes(desk.prompts).last(), QString("TL5:"));
        QCOMPARE(focused(), control<QWidget>(w, "cmdReturn"));
        press(w, "cmdReturn");

        // A class whose comments name another student: the warnings first.
        desk.writeMaster(masterBytes(true));
        for (StudentRecord& s : desk.ws.students) {
            s.mark = "70";
            s.skills.fill("3");
            s.freeFormUsed = true;
            s.freeFormText = s.lastName == "Brook" ? "Helps Achebe in the lab." : "Steady work.";
        }
        w = desk.openExport();
        QCOMPARE(focused(), control<QWidget>(w, "lstNameWarnings"));
        press(w, "cmdReturn");

        // The picker refuses when the enrolment file has gone: back to the
        // sections, in either mode.
        for (const char* sections : {"cboClasses", "lstMultiSelect"}) {
            desk.writeMaster(masterBytes());
            frmGetTrilliumfile* picker = desk.openPicker();
            QVERIFY(picker != nullptr);
            activate(picker);
            if (QString(sections) == "lstMultiSelect") {
                press(picker, "chkMultiCourse");
                clickItem(control<QListWidget>(picker, sections), 1);
            } else {
                control<QComboBox>(picker, sections)->setCurrentIndex(1);
            }
            QVERIFY(QFile::remove(desk.school.dataFolder() + "/TLStudentInfo.txt"));
            press(picker, "cmdGetClass");
            QCOMPARE(shownCodes(desk.prompts).last(), QString("TL10b:"));
            QCOMPARE(focused(), control<QWidget>(picker, sections));
            picker->close();
            settle();
        }
    }
};

QTEST_MAIN(AccessibilityTest)
#include "tst_accessibility.moc"
