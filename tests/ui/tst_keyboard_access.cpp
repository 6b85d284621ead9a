// Every window by keyboard: access keys and shortcuts without clashes, the
// menus opened by Alt and F10, the View items of the Comments/Skills button
// and the Initial Values check box, Escape, and the order of Tab.

#include "about/frm_help.h"
#include "autofill/frm_auto_fill.h"
#include "entry/frm_free_form_comment_entry.h"
#include "entry/frm_splash.h"
#include "export/frm_export.h"
#include "import/frm_get_trilliumfile.h"
#include "selection/frm_selection.h"
#include "ui/ui_support.h"

using namespace tl;
using namespace tl::test;

namespace {

const QByteArray kFavourites = " 1 \r\n0,100,0001,0002,0003,4,4,4,4,4,4\r\n0001\r\n0002\r\n";

// The main window with favourites, an enrolment and a class of three
// complete students open.
struct ClassDesk : Desk {
    ClassDesk() : Desk({}, kFavourites) {
        QByteArray roll =
            "Surname,Given,Sex,StudentNo,Year,Grade,Prov,Board,C9,C10,C11,C12,C13,Home,"
            "Timetable\r\n";
        QByteArray students;
        for (int i = 0; i < 3; ++i) {
            const QByteArray no = QByteArray::number(400000000 + i);
            const QByteArray name = "Pupil" + QByteArray::number(10 + i);
            students += classLine("SCH4U1-01", name, "Pat", no, "70", "0001,,,,");
            roll += name + ",Pat,F," + no + ",2025,12,ON,N,,,,,,H,SCH4U1-01 LUNCH\r\n";
        }
        school.write("data/TLStudentInfo.txt", roll);
        open(file("sch.tlc", students));
        activate(&entry);
    }
    template <typename T = QWidget>
    T* openFrom(const char* command, const QString& name) {
        run(command);
        T* w = openWindow<T>(name);
        if (w != nullptr && QTest::qWaitForWindowExposed(w)) activate(w);
        return w;
    }
};

QString nameOf(const QObject* o) {
    if (o == nullptr) return "nothing";
    return o->objectName().isEmpty() ? QString(o->metaObject()->className()) : o->objectName();
}
QString focused() {
    return nameOf(QApplication::focusWidget());
}
QString openMenu() {
    return nameOf(qobject_cast<QMenu*>(QApplication::activePopupWidget()));
}

// Presses keys by name in turn ("Tab", "Alt+M"), to an open menu if there is
// one, else to the control with the focus.
void keys(const QString& names) {
    for (const QString& name : names.split(' ')) {
        const QKeySequence key(name);
        QVERIFY2(key.count() == 1, qPrintable(name));
        if (QWidget* popup = QApplication::activePopupWidget()) {
            QTest::keyClick(popup, key[0].key(), key[0].keyboardModifiers());
            settle();
        } else {
            pressKey(key[0].key(), 0, key[0].keyboardModifiers());
        }
    }
}

// A menu opened by a key and Escape twice: the menu, then where the keyboard
// is after the first Escape and after the second.
QString menuRoundTrip(const QString& key) {
    keys(key);
    const QString opened = openMenu();
    keys("Esc");
    const auto closed = [] { return QApplication::activePopupWidget() == nullptr; };
    const QString first = QTest::qWaitFor(closed) ? focused() : openMenu() + " stays open";
    keys("Esc");
    return opened + " " + first + " " + focused();
}

// A window's access keys (menu titles, captioned buttons and check boxes,
// labels that lead to a control) counted, then any caption without a key and
// any key with two owners, among them and the shortcuts, and in each menu.
QString keyReport(const QWidget* window) {
    QMap<QString, QStringList> owners;
    QStringList problems;
    const auto add = [&problems](auto& to, const QKeySequence& key, const QString& owner,
                                 bool needed = false) {
        if (key.isEmpty() && needed) problems << "no key: " + owner;
        if (!key.isEmpty()) to[key.toString()] << owner;
    };
    const auto clashes = [&problems](const QMap<QString, QStringList>& keys) {
        for (auto k = keys.begin(); k != keys.end(); ++k) {
            if (k.value().size() > 1) problems << k.key() + ": " + k.value().join(", ");
        }
    };
    for (const QMenuBar* bar : window->findChildren<QMenuBar*>()) {
        for (const QAction* title : bar->actions())
            add(owners, QKeySequence::mnemonic(title->text()), nameOf(title->menu()), true);
    }
    for (const QAbstractButton* b : window->findChildren<QAbstractButton*>()) {
        if (!b->text().isEmpty()) add(owners, QKeySequence::mnemonic(b->text()), nameOf(b), true);
    }
    for (const QLabel* label : window->findChildren<QLabel*>()) {
        if (label->buddy() != nullptr)
            add(owners, QKeySequence::mnemonic(label->text()), nameOf(label));
    }
    const QString count = QString::number(owners.size());
    for (const QAction* item : window->findChildren<QAction*>()) {
        for (const QKeySequence& key : item->shortcuts())
            add(owners, key, nameOf(item));
    }
    for (const QShortcut* shortcut : window->findChildren<QShortcut*>())
        add(owners, shortcut->key(), "shortcut of " + nameOf(shortcut->parent()));
    clashes(owners);
    for (const QMenu* menu : window->findChildren<QMenu*>()) {
        QMap<QString, QStringList> items;
        for (const QAction* item : menu->actions())
            add(items, QKeySequence::mnemonic(item->text()), nameOf(item), !item->isSeparator());
        clashes(items);
    }
    return (QStringList{count} + problems).join("; ");
}

// The controls Tab visits from the focus on, until it comes round again.
QStringList tabWalk() {
    QWidget* start = QApplication::focusWidget();
    QStringList names{nameOf(start)};
    for (int i = 0; i < 60; ++i) {
        keys("Tab");
        QWidget* now = QApplication::focusWidget();
        if (now == start || now == nullptr) break;
        names << nameOf(now);
    }
    return names;
}

// Tab from the chain's first control visits the chain in order and comes
// round to it again; Shift+Tab from the first goes to the last.
void checkCycle(QWidget* window, const QString& chain) {
    QWidget* from = control<QWidget>(window, chain.section(' ', 0, 0));
    from->setFocus(Qt::TabFocusReason);
    settle();
    QCOMPARE(tabWalk().join(' '), chain);
    from->setFocus(Qt::TabFocusReason);
    keys("Shift+Tab");
    QCOMPARE(focused(), chain.section(' ', -1));
}

}  // namespace

class KeyboardAccessTest : public QObject {
    Q_OBJECT
  private slots:
    void everyWindowHasItsOwnKeysAndTabOrder() {
        {  // The start-up window, checked while it waits for an answer.
            TempSchool school;
            school.installTestLibrary();
            Workspace ws;
            ScriptedPrompts prompts;
            frmEntry entry(ws, prompts, school.locations());
            QString splashKeys;
            whenModal<frmSplash>([&splashKeys](frmSplash* splash) {
                splashKeys = keyReport(splash);
                activate(splash);
                keys("Alt+P");  // Proceed Without Opening
            });
            QVERIFY(entry.Form_Load());
            QCOMPARE(splashKeys, QString("2"));
            QVERIFY(ws.favouritesFile.empty() && entry.isVisible());
        }
        ClassDesk desk;
        // Seven menu titles and four captioned controls; Tab from the list
        // beside the grid round the window, Initial Values last.
        QCOMPARE(keyReport(&desk.entry), QString("11"));
        checkCycle(&desk.entry,
                   "lstFavourites cmdSwitchCommentSelection lblFreeFormComment cmdNew cmdOpen "
                   "cmdSave cmdPrint cmdOpenFavourites cmdSwitch optAutoFill msfgClass");

        QString freeFormKeys;
        whenModal<frmFreeFormCommentEntry>([&freeFormKeys](frmFreeFormCommentEntry* dialog) {
            freeFormKeys = keyReport(dialog);
            dialog->reject();
        });
        desk.ctl("lblFreeFormComment")->setFocus();
        keys("F2");
        QCOMPARE(freeFormKeys, QString("2"));

        desk.prompts.yesNoAnswers << false;  // not saving the class
        desk.run("mnuNewTrillium");
        auto* picker = desk.entry.findChild<frmGetTrilliumfile*>();
        QVERIFY(picker != nullptr && QTest::qWaitForWindowExposed(picker));
        activate(picker);
        QCOMPARE(keyReport(picker), QString("2"));
        checkCycle(picker, "cboClasses chkMultiCourse cmdGetClass");
        // The other mode renames its button; its key stays.
        press(picker, "chkMultiCourse");
        QCOMPARE(control<QPushButton>(picker, "cmdGetClass")->text(), QString("&Get Classes"));
        QCOMPARE(keyReport(picker), QString("2"));
        picker->close();
        settle();

        // A window, the command that opens it, its access keys and the Tab
        // order. Comment Selection's keys: the menu title, Search, the separator
        // button and the two hidden ones.
        for (const char* row :
             {"frmHelp mnuhelp 1 Text1 Command1",
              "frmExport mnuExport 3 cmdReturn chkConfirm msfgClass",
              "frmSelection mnuSelection 5 cmbMarkCat cmbCommentCat cmbLS cmbDept txtAnd1 txtAnd2 "
              "txtOr txtNot cmdSearch lstComments lstFavourites cmdUp cmdDown cmdDeleteFavourite "
              "cmdInsertDashes cmdNew cmdOpen cmdSave cmdSaveAs cmdPrint cmdBack",
              "frmAutoFill mnuAutoFill 4 lstFavourites lstLearningSkills cmdEnterRanges cmdSplit "
              "cmdDelete cmdPrint cmdOpenFavourites cmdBack msfgClass"}) {
            const QStringList cells = QString(row).split(' ');
            auto* window = desk.openFrom(cells[1].toLatin1().constData(), cells[0]);
            QVERIFY2(window != nullptr && window->isVisible(), row);
            QCOMPARE(keyReport(window), cells[2]);
            checkCycle(window, cells.mid(3).join(' '));
            window->close();
            settle();
        }
    }

    void menusAndTheirItemsByKeyboard() {
        ClassDesk desk;
        QCOMPARE(QApplication::focusWidget(), desk.grid());
        // F10 opens the first menu; Alt and a title's key open that menu. The
        // first Escape closes the menu, the second leaves the menu bar.
        QStringList seen;
        for (const char* key : {"F10", "Alt+D", "Alt+V", "Alt+E", "Alt+S"})
            seen << menuRoundTrip(key);
        QCOMPARE(seen.join(", "),
                 QString("mnuFile QMenuBar msfgClass, mnuEdit QMenuBar msfgClass, "
                         "nmuView QMenuBar msfgClass, mnueFile QMenuBar msfgClass, "
                         "mnuSort QMenuBar msfgClass"));

        // View > Comments/Skills by its key in the open menu, and by Ctrl+K:
        // the skills view and back; the item shows which view is up.
        auto* skills = desk.ctl<QListWidget>("lstLearningSkills");
        QAction* commentsSkills = desk.act("mnuCommentsSkills");
        keys("Alt+V C");
        QTRY_VERIFY(skills->isVisible());
        QVERIFY(commentsSkills->isChecked() && desk.grid()->colWidth(10) > 0);
        QCOMPARE(QApplication::focusWidget(), desk.grid());
        keys("Ctrl+K");
        QVERIFY(!skills->isVisible() && !commentsSkills->isChecked());
        click(desk.btn("cmdSwitch"));
        QVERIFY(skills->isVisible() && commentsSkills->isChecked());
        keys("Ctrl+K");

        // Ctrl+I ticks and unticks the check box; the item follows the mouse too.
        QAbstractButton* autoFill = desk.btn("optAutoFill");
        QAction* initialValues = desk.act("mnuInitialValues");
        QVERIFY(autoFill->isChecked() && initialValues->isChecked());
        desk.grid()->setFocus();
        keys("Ctrl+I");
        QVERIFY(!autoFill->isChecked() && !initialValues->isChecked());
        click(autoFill);
        QVERIFY(autoFill->isChecked() && initialValues->isChecked());
        // In the middle of a mark the chord changes the check box, not the mark.
        desk.grid()->setCurrentCell(2, 3);
        desk.grid()->setFocus();
        typeKeys("64");
        keys("Ctrl+I Return");
        QVERIFY(desk.ws.students[1].mark == "64" && !autoFill->isChecked());

        // Without favourites the check box is disabled, and so is the item.
        Desk bare;
        QAction* bareItem = bare.act("mnuInitialValues");
        QVERIFY(!bare.btn("optAutoFill")->isEnabled() && !bareItem->isEnabled());
        bare.prompts.fileAnswers << bare.file("f.tlf", kFavourites);
        bare.run("mnuOpenFavourites");
        QVERIFY(bareItem->isEnabled() && bareItem->isChecked());
    }

    void escapeAndAccessKeysInTheSmallerWindows() {
        ClassDesk desk;
        // Comment Selection: F10 and Escape twice leave the window as it was;
        // Alt+- adds a separator; Escape leaves as Back does, saving the list.
        auto* selection = desk.openFrom<frmSelection>("mnuSelection", "frmSelection");
        QVERIFY(selection != nullptr);
        QCOMPARE(focused(), QString("txtAnd1"));
        QCOMPARE(menuRoundTrip("F10"), QString("mnuFile QMenuBar txtAnd1"));
        QVERIFY(selection->isVisible());
        clickItem(control<QListWidget>(selection, "lstFavourites"), 0);
        keys("Alt+-");
        QTRY_COMPARE(desk.ws.favourites, (std::vector<std::string>{"0001", "    ", "0002"}));
        keys("Esc");
        QTRY_VERIFY(openWindow<frmSelection>("frmSelection") == nullptr);
        QVERIFY(desk.entry.isVisible());
        const QByteArray saved = kFavourites.left(kFavourites.size() - 6) + "    \r\n0002\r\n";
        QCOMPARE(contents(desk.home("start.tlf")), saved);
        QVERIFY(QFile::remove(desk.home("start.tlf")));

        // Initial Values Setup: a code the list lacks, picked up from the grid,
        // ends on Escape, with the keyboard in the list too; Escape in the list
        // goes back to the grid; Escape there leaves as Back does, saving.
        auto* setup = desk.openFrom<frmAutoFill>("mnuAutoFill", "frmAutoFill");
        QVERIFY(setup != nullptr);
        auto* grid = control<FlexGrid>(setup, "msfgClass");
        auto* list = control<QListWidget>(setup, "lstFavourites");
        list->setFocus();                        // the list has had the keyboard before
        clickCell(grid, 1, 4, Qt::RightButton);  // 0003
        QVERIFY(grid->cellBackColor(1, 4) != QColor(Qt::white));
        list->setFocus();
        keys("Esc");
        QVERIFY(setup->isVisible() && grid->cellBackColor(1, 4) == QColor(Qt::white));
        QCOMPARE(focused(), QString("lstFavourites"));
        keys("Esc");
        QVERIFY(setup->isVisible() && QApplication::focusWidget() == grid);
        keys("Esc");
        QTRY_VERIFY(openWindow<frmAutoFill>("frmAutoFill") == nullptr);
        QVERIFY(desk.entry.isVisible());
        QCOMPARE(contents(desk.home("start.tlf")), saved);

        // The free-form dialog: Tab leaves the text box without typing a tab.
        whenModal<frmFreeFormCommentEntry>([](frmFreeFormCommentEntry* dialog) {
            activate(dialog);
            auto* text = control<QPlainTextEdit>(dialog, "txtComment");
            text->moveCursor(QTextCursor::End);
            typeKeys(" Done");
            QCOMPARE(tabWalk().join(' '), QString("txtComment cmdOkay cmdCancel"));
            QVERIFY(!text->toPlainText().contains('\t'));
            keys("Alt+O");  // Okay
        });
        desk.ctl("lblFreeFormComment")->setFocus();
        keys("Return");
        QTRY_VERIFY(desk.ws.students[0].freeFormUsed);
        QVERIFY(QString::fromStdString(desk.ws.students[0].freeFormText).endsWith(" Done"));

        // Alt+H opens the about window, and Escape closes it.
        QCOMPARE(QApplication::focusWidget(), desk.grid());
        keys("Alt+H");
        QPointer<QWidget> about = openWindow<frmHelp>("frmHelp");
        QVERIFY(about != nullptr && QTest::qWaitForWindowExposed(about));
        activate(about);
        keys("Esc");
        QTRY_VERIFY(about.isNull());
    }

    void pickerAndEFileWindowByKeyboard() {
        ClassDesk desk;
        const auto before = desk.ws.students;
        desk.prompts.yesNoAnswers << false;
        desk.run("mnuNewTrillium");
        QPointer<QWidget> open = desk.entry.findChild<frmGetTrilliumfile*>();
        QVERIFY(open != nullptr && QTest::qWaitForWindowExposed(open));
        activate(open);
        // Alt+M: the list of sections; Escape closes the picker, nothing built.
        keys("Alt+M");
        QTRY_VERIFY(control<QWidget>(open, "lstMultiSelect")->isVisible());
        keys("Esc");
        QTRY_VERIFY(open.isNull());
        QVERIFY(desk.ws.students == before);
        QTRY_COMPARE(QApplication::focusWidget(), desk.grid());

        // The eFile window: Alt+I confirms, and Create eFile follows it in the
        // Tab order; Escape returns without writing.
        open = desk.openFrom("mnuExport", "frmExport");
        QVERIFY(open != nullptr);
        control<QWidget>(open, "cmdReturn")->setFocus();
        keys("Alt+I");
        QTRY_VERIFY(control<QWidget>(open, "cmdExport")->isVisible());
        QCOMPARE(tabWalk().join(' '), QString("chkConfirm cmdExport msfgClass cmdReturn"));
        keys("Esc");
        QTRY_VERIFY(open.isNull());
        QVERIFY(desk.entry.isVisible() && desk.prompts.messages().isEmpty());
        QCOMPARE(QDir(desk.school.homeFolder()).entryList(QDir::Files),
                 (QStringList{"sch.tlc", "start.tlf"}));
    }
};

QTEST_MAIN(KeyboardAccessTest)
#include "tst_keyboard_access.moc"
