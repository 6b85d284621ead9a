// What a screen reader finds: every control that takes the keyboard or a
// press has a name, no two alike in one window, in every window and state;
// the grids report their row and column headers through the table
// interface; after a refusal the keyboard is on the message, not on an
// empty grid.

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

// Three students in SCI2D1-03, one of them also in HIS2D1-04.
const QByteArray kMaster =
    "Surname,Given,Sex,StudentNo,Year,Grade,Prov,Board,C9,C10,C11,C12,C13,Home,Timetable\r\n"
    "Achebe,Hana,F,303000001,2025,10,ON,N1,,,,,,H1,SCI2D1-03 HIS2D1-04\r\n"
    "Brook,Milo,F,303000002,2025,10,ON,N1,,,,,,H1,SCI2D1-03\r\n"
    "Corran,Lea,F,303000003,2025,10,ON,N1,,,,,,H1,SCI2D1-03\r\n";

// The main window with the enrolment file in place, or (with false) without it.
struct SchoolDesk : Desk {
    SchoolDesk() : Desk({}, kFavourites) { enrol(true); }
    void enrol(bool present) const {
        const QString path = school.write("data/TLStudentInfo.txt", kMaster);
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

QString described(QAccessibleInterface* iface) {
    const QString name = iface->object() != nullptr ? iface->object()->objectName() : QString();
    return QString::number(iface->role()) + " " + (name.isEmpty() ? "(no objectName)" : name);
}

bool pressable(QAccessibleInterface* iface) {
    using Actions = QAccessibleActionInterface;
    const QStringList names = iface->actionInterface() != nullptr
                                  ? iface->actionInterface()->actionNames()
                                  : QStringList();
    return names.contains(Actions::pressAction()) || names.contains(Actions::toggleAction()) ||
           names.contains(Actions::showMenuAction());
}

// The named controls of one window (or menu): name -> controls.
using Scope = QMultiMap<QString, QString>;

// Collects the controls under parent; the menus met are windows of their own
// when they open, and go to menus. A menu's items are hidden with the menu:
// there only a hidden action is left out.
void walk(QAccessibleInterface* parent, Scope& scope, QList<QAccessibleInterface*>& menus,
          bool inMenu = false) {
    for (int i = 0; i < parent->childCount(); ++i) {
        QAccessibleInterface* child = parent->child(i);
        if (child == nullptr) continue;
        if (child->role() == QAccessible::PopupMenu) {
            menus << child;
            continue;
        }
        const auto* action = qobject_cast<const QAction*>(child->object());
        if (inMenu ? action == nullptr || !pressable(child) : child->state().invisible) continue;
        if (action != nullptr && !action->isVisible()) continue;
        if (inMenu || child->state().focusable || pressable(child))
            scope.insert(child->text(QAccessible::Name).trimmed(), described(child));
        // Items and cells carry their own texts; the view holding them carries the name.
        if (!QList{QAccessible::Table, QAccessible::List, QAccessible::Tree, QAccessible::ComboBox}
                 .contains(child->role()))
            walk(child, scope, menus);
    }
}

// The controls without a name, the names given twice and the expected names
// missing, in a window and in each of its menus.
QStringList nameFaults(const QString& where, QWidget* window, const QStringList& expected = {}) {
    if (window == nullptr) return {where + ": not open"};
    QList<QAccessibleInterface*> scopes{QAccessible::queryAccessibleInterface(window)};
    QStringList found;
    for (int m = 0; m < scopes.size(); ++m) {
        Scope scope;
        walk(scopes[m], scope, scopes, m > 0);
        const QString in = m == 0 ? where : where + " menu " + scopes[m]->object()->objectName();
        // An editor laid over a grid is no part of the table's tree, but a
        // screen reader hears of it when it takes the keyboard.
        QWidget* focus = window->focusWidget();
        if (m == 0 && focus != nullptr && focus->isVisible()) {
            QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(focus);
            if (!scope.values().contains(described(iface)))
                scope.insert(iface->text(QAccessible::Name).trimmed(), described(iface));
        }
        for (const QString& name : scope.uniqueKeys()) {
            const QStringList controls = scope.values(name);
            if (name.isEmpty() || controls.size() > 1)
                found << in + (name.isEmpty() ? ": no name: " : ": \"" + name + "\" twice: ") +
                             controls.join(", ");
        }
        for (const QString& name : m == 0 ? expected : QStringList())
            if (!scope.contains(name)) found << in + ": no \"" + name + "\"";
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
    QStringList said;
    for (QAccessibleInterface* header : cell->tableCellInterface()->rowHeaderCells() +
                                            cell->tableCellInterface()->columnHeaderCells()) {
        // The header cells are made for the caller, who lets them go.
        const QAccessible::Id id = QAccessible::registerAccessibleInterface(header);
        said << header->text(QAccessible::Name);
        QAccessible::deleteAccessibleInterface(id);
    }
    said << cell->text(QAccessible::Name);
    return said.join(", ");
}

QString focusName() {
    QWidget* focus = QApplication::focusWidget();
    return focus != nullptr ? focus->objectName() : "nothing";
}

}  // namespace

class AccessibilityTest : public QObject {
    Q_OBJECT
  private slots:
    void theCheckFindsUnnamedRepeatedAndMissingNames() {
        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        for (QWidget* w : std::initializer_list<QWidget*>{
                 new QListWidget, new QLabel("x"), new QPushButton("OK"), new QPushButton("&OK")})
            layout->addWidget(w);
        window.show();
        QCOMPARE(nameFaults("test", &window, {"OK", "Cancel"}).join("\n"),
                 QString("test: no name: %1 (no objectName)\ntest: \"OK\" twice: %2 (no "
                         "objectName), %2 (no objectName)\ntest: no \"Cancel\"")
                     .arg(int(QAccessible::List))
                     .arg(int(QAccessible::Button)));
    }

    void everyWindowAndStateNamesItsControlsAndTakesTheKeyboard() {
        QStringList found;
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
        press(picker, "chkMultiCourse");
        found << nameFaults("picker, several sections", picker, {"Select ALL Classes"});
        press(picker, "chkMultiCourse");
        found << nameFaults("picker", picker, {"Select a Class"});
        // The science section by the keyboard's choice in the box; the built
        // class takes its first mark at once.
        auto* box = control<QComboBox>(picker, "cboClasses");
        box->setCurrentIndex(box->findText("SCI2D1-03"));
        press(picker, "cmdGetClass");
        typeKeys("7");
        found << nameFaults("main, typing a mark", &desk.entry, {"Mark"});
        typeKeys("0");
        pressKey(Qt::Key_Return);
        found << nameFaults("main, comments", &desk.entry,
                            {"Class grid", "Favourite List", "Free-form comment", "Open Favourites",
                             "Create New Class File of Students"});
        click(desk.btn("cmdSwitch"));
        found << nameFaults("main, skills", &desk.entry, {"Learning Skills"});
        click(desk.btn("cmdSwitch"));
        found << "free-form: not open";
        whenModal<frmFreeFormCommentEntry>([&](frmFreeFormCommentEntry* dialog) {
            found.removeOne("free-form: not open");
            found << nameFaults("free-form", dialog, {"Free-form comment"});
            dialog->reject();
        });
        QTest::mouseClick(desk.ctl("lblFreeFormComment"), Qt::LeftButton);
        settle();

        // The class grid's headers follow the rows when they are sorted.
        FlexGrid* grid = desk.grid();
        QString spoken = spokenCell(grid, 1, 3) + " | " + spokenCell(grid, 2, 4);
        typeMark(desk, 3, "95");
        desk.run("mnuSortMarks");
        spoken += " | " + spokenCell(grid, 1, 3) + " | " +
                  QAccessible::queryAccessibleInterface(grid)->tableInterface()->rowDescription(1);

        const auto walkWindow = [&](const char* command, const char* name, QStringList names) {
            desk.run(command);
            found << nameFaults(name, openWindow<QWidget>(name), names);
            return openWindow<QWidget>(name);
        };
        walkWindow("mnuhelp", "frmHelp", {});
        press(walkWindow("mnuSelection", "frmSelection",
                         {"Grade/Stream", "Category", "Learning Skill", "Department", "First word",
                          "AND word", "OR word", "NOT word"}),
              "cmdBack");
        // The range grid names a row by its marks.
        QWidget* autoFill =
            walkWindow("mnuAutoFill", "frmAutoFill", {"Range grid", "Learning Skill Values"});
        spoken += " | " + spokenCell(control<FlexGrid>(autoFill, "msfgClass"), 2, 2);
        QCOMPARE(spoken, QString("Achebe Hana, MRK, 70 | Brook Milo, CM1,  | Corran Lea, MRK, 95 | "
                                 "Achebe Hana | 50-79, CM1, 0004"));
        press(autoFill, "cmdBack");

        QStringList focus;
        // Problems (no marks) show the report, not the empty grid behind it; a
        // refusal (no enrolment file) its button; a class whose comments name
        // another student the warnings.
        const QStringList names[] = {
            {"eFile check report"},
            {},
            {"eFile preview grid",
             "I confirm that these marks, comments and learning skills are correct."}};
        for (const int state : {0, 1, 2}) {
            desk.enrol(state != 1);
            for (StudentRecord& s : desk.ws.students) {
                s.mark = state == 2 ? "70" : "";
                s.skills.fill("3");
                s.freeFormUsed = true;
                s.freeFormText = s.lastName == "Brook" ? "Helps Achebe in the lab." : "Steady.";
            }
            desk.run("mnuExport");
            auto* w = openWindow<frmExport>("frmExport");
            activate(w);
            focus << focusName();
            found << nameFaults("eFile " + QString::number(state), w, names[state]);
            if (state == 2) {
                // Every preview row of a student is named by the student.
                auto* preview = control<FlexGrid>(w, "msfgClass");
                QVERIFY(preview->rows() > 4);
                QCOMPARE(
                    spokenCell(preview, 1, 4) + " | " + spokenCell(preview, 2, 5),
                    "Achebe Hana, MK, 70 | Achebe Hana, Comments, " + preview->textMatrix(2, 5));
                press(w, "chkConfirm");
                found << nameFaults("eFile, confirmed", w);
            }
            press(w, "cmdReturn");
        }
        // The picker refuses when the enrolment file goes while it is open:
        // back to the sections, in either mode.
        for (const char* sections : {"cboClasses", "lstMultiSelect"}) {
            frmGetTrilliumfile* picker = desk.openPicker();
            if (QString(sections) == "cboClasses") {
                control<QComboBox>(picker, sections)->setCurrentIndex(1);
            } else {
                press(picker, "chkMultiCourse");
                clickItem(control<QListWidget>(picker, sections), 1);
            }
            desk.enrol(false);
            press(picker, "cmdGetClass");
            focus << focusName();
            desk.enrol(true);
            picker->close();
            settle();
        }
        QCOMPARE(focus.join(' '),
                 QString("picOut cmdReturn lstNameWarnings cboClasses lstMultiSelect"));
        QCOMPARE(shownCodes(desk.prompts).join(' '), QString("TL5: TL10b: TL10b:"));
        QCOMPARE(found, QStringList());
    }
};

QTEST_MAIN(AccessibilityTest)
#include "tst_accessibility.moc"
