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

// A class of three complete students, and the enrolment that holds them.
QByteArray completeClass() {
    QByteArray bytes;
    for (int i = 0; i < 3; ++i)
        bytes += classLine("SCH4U1-01", "Pupil" + QByteArray::number(10 + i), "Pat",
                           QByteArray::number(400000000 + i), "70", "0001,,,,");
    return bytes;
}
QByteArray enrolment() {
    QByteArray bytes =
        "Surname,Given,Sex,StudentNo,Year,Grade,Prov,Board,C9,C10,C11,C12,C13,Home,Timetable\r\n";
    for (int i = 0; i < 3; ++i)
        bytes += "Pupil" + QByteArray::number(10 + i) + ",Pat,F," +
                 QByteArray::number(400000000 + i) + ",2025,12,ON,N,,,,,,H,SCH4U1-01 LUNCH\r\n";
    return bytes;
}

// The main window with favourites, the enrolment and the complete class open.
struct ClassDesk : Desk {
    ClassDesk() : Desk({}, kFavourites) {
        school.write("data/TLStudentInfo.txt", enrolment());
        open(file("sch.tlc", completeClass()));
    }
    template <typename T>
    T* openFrom(const char* command, const QString& name) {
        run(command);
        return openWindow<T>(name);
    }
};

// Where the keyboard's keys go: an open menu, else the control with the focus.
QWidget* keyboard() {
    QWidget* popup = QApplication::activePopupWidget();
    return popup != nullptr ? popup : QApplication::focusWidget();
}
void typeKey(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QWidget* to = keyboard();
    QVERIFY2(to != nullptr, "nothing takes the keyboard");
    QTest::keyClick(to, key, modifiers);
    settle();
}

// Every key a window answers to and what answers it: the menu bar's titles,
// the access keys of captioned buttons and check boxes (and of labels that
// lead to a control), the items' shortcuts and the window's own.
struct WindowKeys {
    QMap<QString, QStringList> owners;
    QStringList withoutKey;  // captioned, with no access key

    void mnemonic(const QString& caption, const QString& owner) {
        const QKeySequence key = QKeySequence::mnemonic(caption);
        if (key.isEmpty()) {
            withoutKey << owner;
        } else {
            add(key, owner);
        }
    }
    void add(const QKeySequence& key, const QString& owner) {
        if (!key.isEmpty()) owners[key.toString(QKeySequence::PortableText)] << owner;
    }
    QStringList clashes() const {
        QStringList found;
        for (auto k = owners.begin(); k != owners.end(); ++k) {
            if (k.value().size() > 1) found << k.key() + ": " + k.value().join(", ");
        }
        return found;
    }
};

QString nameOf(const QObject* o) {
    return o->objectName().isEmpty() ? QString(o->metaObject()->className()) : o->objectName();
}

// Checks a window's keys and its menus; returns the number of access keys found.
int checkKeys(const QWidget* window) {
    WindowKeys keys;
    for (const QMenuBar* bar : window->findChildren<QMenuBar*>()) {
        for (const QAction* title : bar->actions())
            keys.mnemonic(title->text(), title->menu() ? nameOf(title->menu()) : nameOf(title));
    }
    for (const QAbstractButton* button : window->findChildren<QAbstractButton*>()) {
        if (!button->text().isEmpty()) keys.mnemonic(button->text(), nameOf(button));
    }
    for (const QLabel* label : window->findChildren<QLabel*>()) {
        if (label->buddy() != nullptr)
            keys.add(QKeySequence::mnemonic(label->text()), nameOf(label));
    }
    const int accessKeys = static_cast<int>(keys.owners.size());
    for (const QAction* item : window->findChildren<QAction*>()) {
        for (const QKeySequence& key : item->shortcuts())
            keys.add(key, nameOf(item));
    }
    for (const QShortcut* shortcut : window->findChildren<QShortcut*>())
        keys.add(shortcut->key(), "shortcut of " + nameOf(shortcut->parent()));
    const QString where = nameOf(window) + ": ";
    [&] {
        QVERIFY2(keys.withoutKey.isEmpty(),
                 qPrintable(where + "no access key: " + keys.withoutKey.join(", ")));
        QVERIFY2(keys.clashes().isEmpty(), qPrintable(where + keys.clashes().join("; ")));
        // Within each menu every item has a key of its own.
        for (const QMenu* menu : window->findChildren<QMenu*>()) {
            WindowKeys items;
            for (const QAction* item : menu->actions()) {
                if (!item->isSeparator()) items.mnemonic(item->text(), nameOf(item));
            }
            const QString in = where + nameOf(menu) + ": ";
            QVERIFY2(items.withoutKey.isEmpty(), qPrintable(in + items.withoutKey.join(", ")));
            QVERIFY2(items.clashes().isEmpty(), qPrintable(in + items.clashes().join("; ")));
        }
    }();
    return accessKeys;
}

// The controls Tab (or Shift+Tab) visits from the focus on, by name, until
// it comes round again or reaches a grid, whose own keys may hold Tab.
QStringList tabWalk(Qt::KeyboardModifiers modifiers = {}) {
    QWidget* start = QApplication::focusWidget();
    QStringList names{nameOf(start)};
    for (int i = 0; i < 60; ++i) {
        pressKey(Qt::Key_Tab, 0, modifiers);
        QWidget* now = QApplication::focusWidget();
        if (now == start || now == nullptr) break;
        names << nameOf(now);
        if (qobject_cast<FlexGrid*>(now) != nullptr) break;
    }
    return names;
}

// The controls of a window that Tab can reach now, by name.
QStringList reachable(const QWidget* window) {
    QStringList names;
    for (const QWidget* w : window->findChildren<QWidget*>()) {
        const bool inGrid = qobject_cast<const FlexGrid*>(w->parentWidget()) != nullptr ||
                            (w->parentWidget() != nullptr &&
                             qobject_cast<const FlexGrid*>(w->parentWidget()->parentWidget()));
        if (w->window() == window && !inGrid && w->isVisibleTo(window) && w->isEnabled() &&
            (w->focusPolicy() & Qt::TabFocus) && w->focusProxy() == nullptr)
            names << nameOf(w);
    }
    names.sort();
    return names;
}

// The walk from `from` covers every control that Tab can reach, and the
// control before `from` is `before` (the walk ends there when it is a grid).
void checkCycle(QWidget* window, QWidget* from, const QStringList& expected) {
    from->setFocus(Qt::TabFocusReason);
    settle();
    QCOMPARE(QApplication::focusWidget(), from);
    const QStringList walked = tabWalk();
    QCOMPARE(walked, expected);
    QStringList sorted = walked;
    sorted.sort();
    QCOMPARE(sorted, reachable(window));
    // Shift+Tab goes back along the same chain.
    from->setFocus(Qt::TabFocusReason);
    pressKey(Qt::Key_Tab, 0, Qt::ShiftModifier);
    QCOMPARE(nameOf(QApplication::focusWidget()), expected.last());
}

}  // namespace

class KeyboardAccessTest : public QObject {
    Q_OBJECT
  private slots:
    void everyWindowHasItsOwnAccessKeys() {
        // The start-up window, checked while it waits for an answer.
        {
            TempSchool school;
            school.installTestLibrary();
            Workspace ws;
            ScriptedPrompts prompts;
            frmEntry entry(ws, prompts, school.locations());
            int splashKeys = 0;
            whenModal<frmSplash>([&splashKeys](frmSplash* splash) {
                splashKeys = checkKeys(splash);
                activate(splash);
                pressChord(Qt::Key_P, Qt::AltModifier);  // Proceed Without Opening
            });
            QVERIFY(entry.Form_Load());
            QCOMPARE(splashKeys, 2);
            QVERIFY(ws.favouritesFile.empty() && entry.isVisible());
        }
        ClassDesk desk;
        QCOMPARE(desk.ws.studentCount(), 3);
        // Seven menu titles and four captioned controls.
        QCOMPARE(checkKeys(&desk.entry), 11);

        int freeFormKeys = 0;
        whenModal<frmFreeFormCommentEntry>([&freeFormKeys](frmFreeFormCommentEntry* dialog) {
            freeFormKeys = checkKeys(dialog);
            dialog->reject();
        });
        desk.ctl("lblFreeFormComment")->setFocus();
        pressKey(Qt::Key_F2);
        QCOMPARE(freeFormKeys, 2);

        desk.prompts.yesNoAnswers << false;  // not saving the class
        desk.run("mnuNewTrillium");
        auto* picker = desk.entry.findChild<frmGetTrilliumfile*>();
        QVERIFY(picker != nullptr && picker->isVisible());
        QCOMPARE(checkKeys(picker), 2);
        // The other mode renames its button; its key stays.
        press(picker, "chkMultiCourse");
        QCOMPARE(control<QPushButton>(picker, "cmdGetClass")->text(), QString("&Get Classes"));
        QCOMPARE(checkKeys(picker), 2);
        picker->close();

        // Comment Selection: the menu title, Search, the separator button and
        // the two hidden ones.
        const struct {
            const char* command;
            const char* window;
            int keys;
        } windows[] = {{"mnuhelp", "frmHelp", 1},
                       {"mnuExport", "frmExport", 3},
                       {"mnuSelection", "frmSelection", 5},
                       {"mnuAutoFill", "frmAutoFill", 4}};
        for (const auto& w : windows) {
            desk.run(w.command);
            auto* window = openWindow<QWidget>(w.window);
            QVERIFY2(window != nullptr && window->isVisible(), w.window);
            QCOMPARE(checkKeys(window), w.keys);
            window->close();
            settle();
        }
    }

    void menusAndTheirItemsByKeyboard() {
        ClassDesk desk;
        QVERIFY(QTest::qWaitForWindowExposed(&desk.entry));
        activate(&desk.entry);
        QCOMPARE(QApplication::focusWidget(), desk.grid());
        const auto openMenu = [] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            return menu != nullptr ? menu->objectName() : QString();
        };
        // F10 opens the first menu; Alt and a title's key open that menu. The
        // first Escape closes the menu, the second leaves the menu bar.
        const auto escapeTwice = [&desk, &openMenu] {
            typeKey(Qt::Key_Escape);
            QTRY_COMPARE(openMenu(), QString());
            QVERIFY(qobject_cast<QMenuBar*>(QApplication::focusWidget()) != nullptr);
            typeKey(Qt::Key_Escape);
            QCOMPARE(QApplication::focusWidget(), desk.grid());
        };
        typeKey(Qt::Key_F10);
        QCOMPARE(openMenu(), QString("mnuFile"));
        escapeTwice();
        for (const auto& [key, menu] : {std::pair{Qt::Key_D, "mnuEdit"},
                                        {Qt::Key_V, "nmuView"},
                                        {Qt::Key_E, "mnueFile"},
                                        {Qt::Key_S, "mnuSort"}}) {
            typeKey(key, Qt::AltModifier);
            QCOMPARE(openMenu(), QString(menu));
            escapeTwice();
        }

        // View > Comments/Skills by its key in the open menu, and by Ctrl+K:
        // the skills view and back; the item shows which view is up.
        auto* skills = desk.ctl<QListWidget>("lstLearningSkills");
        QAction* commentsSkills = desk.act("mnuCommentsSkills");
        typeKey(Qt::Key_V, Qt::AltModifier);
        typeKey(Qt::Key_C);
        QTRY_VERIFY(skills->isVisible());
        QVERIFY(commentsSkills->isChecked() && desk.grid()->colWidth(10) > 0);
        QCOMPARE(QApplication::focusWidget(), desk.grid());
        typeKey(Qt::Key_K, Qt::ControlModifier);
        QVERIFY(!skills->isVisible() && !commentsSkills->isChecked());
        click(desk.btn("cmdSwitch"));
        QVERIFY(skills->isVisible() && commentsSkills->isChecked());
        typeKey(Qt::Key_K, Qt::ControlModifier);

        // Ctrl+I ticks and unticks the check box; the item follows the mouse too.
        QAbstractButton* autoFill = desk.btn("optAutoFill");
        QAction* initialValues = desk.act("mnuInitialValues");
        QVERIFY(autoFill->isChecked() && initialValues->isChecked());
        desk.grid()->setFocus();
        typeKey(Qt::Key_I, Qt::ControlModifier);
        QVERIFY(!autoFill->isChecked() && !initialValues->isChecked());
        click(autoFill);
        QVERIFY(autoFill->isChecked() && initialValues->isChecked());
        // In the middle of a mark the chord changes the check box, not the mark.
        desk.grid()->setCurrentCell(2, 3);
        desk.grid()->setFocus();
        typeKeys("64");
        pressChord(Qt::Key_I, Qt::ControlModifier);
        pressKey(Qt::Key_Return);
        QCOMPARE(desk.ws.students[1].mark, std::string("64"));
        QVERIFY(!autoFill->isChecked());

        // Without favourites the check box is disabled, and so is the item.
        Desk bare;
        QVERIFY(!bare.btn("optAutoFill")->isEnabled() &&
                !bare.act("mnuInitialValues")->isEnabled());
        bare.prompts.fileAnswers << bare.file("f.tlf", kFavourites);
        bare.run("mnuOpenFavourites");
        QVERIFY(bare.act("mnuInitialValues")->isEnabled() &&
                bare.act("mnuInitialValues")->isChecked());
    }

    void commentSelectionByKeyboard() {
        ClassDesk desk;
        auto* w = desk.openFrom<frmSelection>("mnuSelection", "frmSelection");
        QVERIFY(w != nullptr && QTest::qWaitForWindowExposed(w));
        activate(w);
        // F10 opens the File menu; Escape closes it and then leaves the menu
        // bar, and the window stays.
        QWidget* words = QApplication::focusWidget();
        QCOMPARE(nameOf(words), QString("txtAnd1"));
        typeKey(Qt::Key_F10);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QVERIFY(menu != nullptr && menu->objectName() == "mnuFile");
        typeKey(Qt::Key_Escape);
        QTRY_VERIFY(QApplication::activePopupWidget() == nullptr);
        typeKey(Qt::Key_Escape);
        QVERIFY(w->isVisible() && QApplication::focusWidget() == words);

        // From the word boxes to the results, the favourites and their
        // buttons, the file buttons and Back.
        checkCycle(w, control<QWidget>(w, "cmbMarkCat"), {"cmbMarkCat",      "cmbCommentCat",
                                                          "cmbLS",           "cmbDept",
                                                          "txtAnd1",         "txtAnd2",
                                                          "txtOr",           "txtNot",
                                                          "cmdSearch",       "lstComments",
                                                          "lstFavourites",   "cmdUp",
                                                          "cmdDown",         "cmdDeleteFavourite",
                                                          "cmdInsertDashes", "cmdNew",
                                                          "cmdOpen",         "cmdSave",
                                                          "cmdSaveAs",       "cmdPrint",
                                                          "cmdBack"});

        // Alt+- adds a separator; Escape leaves as Back does, saving the list.
        clickItem(control<QListWidget>(w, "lstFavourites"), 0);
        pressChord(Qt::Key_Minus, Qt::AltModifier);
        QTRY_COMPARE(desk.ws.favourites, (std::vector<std::string>{"0001", "    ", "0002"}));
        pressKey(Qt::Key_Escape);
        QTRY_VERIFY(openWindow<frmSelection>("frmSelection") == nullptr);
        QVERIFY(desk.entry.isVisible());
        QCOMPARE(contents(desk.home("start.tlf")),
                 kFavourites.left(kFavourites.size() - 6) + "    \r\n0002\r\n");
    }

    void initialValuesSetupByKeyboard() {
        ClassDesk desk;
        auto* w = desk.openFrom<frmAutoFill>("mnuAutoFill", "frmAutoFill");
        QVERIFY(w != nullptr && QTest::qWaitForWindowExposed(w));
        activate(w);
        auto* grid = control<FlexGrid>(w, "msfgClass");
        auto* list = control<QListWidget>(w, "lstFavourites");
        checkCycle(w, list,
                   {"lstFavourites", "lstLearningSkills", "cmdEnterRanges", "cmdSplit", "cmdDelete",
                    "cmdPrint", "cmdOpenFavourites", "cmdBack", "msfgClass"});

        // A code the list lacks, picked up from the grid: Escape ends it, with
        // the keyboard in the list too, and the window stays. Escape in the
        // list goes back to the grid; Escape there leaves.
        clickCell(grid, 1, 4, Qt::RightButton);  // 0003
        QVERIFY(grid->cellBackColor(1, 4) != QColor(Qt::white));
        list->setFocus();
        pressKey(Qt::Key_Escape);
        QVERIFY(w->isVisible() && grid->cellBackColor(1, 4) == QColor(Qt::white));
        QCOMPARE(QApplication::focusWidget(), list);
        pressKey(Qt::Key_Escape);
        QVERIFY(w->isVisible());
        QCOMPARE(QApplication::focusWidget(), grid);
        pressKey(Qt::Key_Escape);
        QTRY_VERIFY(openWindow<frmAutoFill>("frmAutoFill") == nullptr);
        QVERIFY(desk.entry.isVisible());
        // Left as Back leaves it: the favourites file saved.
        QCOMPARE(contents(desk.home("start.tlf")), kFavourites);
    }

    void mainWindowTabOrderAndItsDialogs() {
        ClassDesk desk;
        QVERIFY(QTest::qWaitForWindowExposed(&desk.entry));
        activate(&desk.entry);
        // From the list beside the grid round the window to the grid: the
        // panel, the buttons, Comments/Skills and Initial Values last.
        checkCycle(&desk.entry, desk.ctl<QListWidget>("lstFavourites"),
                   {"lstFavourites", "cmdSwitchCommentSelection", "lblFreeFormComment", "cmdNew",
                    "cmdOpen", "cmdSave", "cmdPrint", "cmdOpenFavourites", "cmdSwitch",
                    "optAutoFill", "msfgClass"});

        // The free-form dialog: Tab leaves the text box without typing a tab.
        whenModal<frmFreeFormCommentEntry>([](frmFreeFormCommentEntry* dialog) {
            activate(dialog);
            auto* text = control<QPlainTextEdit>(dialog, "txtComment");
            QCOMPARE(QApplication::focusWidget(), text);
            text->moveCursor(QTextCursor::End);
            typeKeys(" Done");
            const QStringList walked = tabWalk();
            QCOMPARE(walked, (QStringList{"txtComment", "cmdOkay", "cmdCancel"}));
            QVERIFY(!text->toPlainText().contains('\t'));
            pressChord(Qt::Key_O, Qt::AltModifier);  // Okay
        });
        desk.ctl("lblFreeFormComment")->setFocus();
        pressKey(Qt::Key_Return);
        QTRY_VERIFY(desk.ws.students[0].freeFormUsed);
        QVERIFY(QString::fromStdString(desk.ws.students[0].freeFormText).endsWith(" Done"));

        // Alt+H opens the about window, and Escape closes it.
        QCOMPARE(QApplication::focusWidget(), desk.grid());
        pressChord(Qt::Key_H, Qt::AltModifier);
        auto* about = openWindow<frmHelp>("frmHelp");
        QVERIFY(about != nullptr && QTest::qWaitForWindowExposed(about));
        activate(about);
        checkCycle(about, control<QWidget>(about, "Text1"), {"Text1", "Command1"});
        QPointer<frmHelp> gone(about);
        pressKey(Qt::Key_Escape);
        QTRY_VERIFY(gone.isNull());
    }

    void pickerAndEFileWindowByKeyboard() {
        ClassDesk desk;
        const auto before = desk.ws.students;
        desk.prompts.yesNoAnswers << false;
        desk.run("mnuNewTrillium");
        auto* picker = desk.entry.findChild<frmGetTrilliumfile*>();
        QVERIFY(picker != nullptr && QTest::qWaitForWindowExposed(picker));
        activate(picker);
        checkCycle(picker, control<QWidget>(picker, "cboClasses"),
                   {"cboClasses", "chkMultiCourse", "cmdGetClass"});
        // Alt+M: the list of sections; Escape closes the picker, nothing built.
        pressChord(Qt::Key_M, Qt::AltModifier);
        QTRY_VERIFY(control<QWidget>(picker, "lstMultiSelect")->isVisible());
        QPointer<QWidget> open(picker);
        pressKey(Qt::Key_Escape);
        QTRY_VERIFY(open.isNull());
        QVERIFY(desk.ws.students == before);
        QTRY_COMPARE(QApplication::focusWidget(), desk.grid());

        // The eFile window: from the buttons to the preview; Alt+I confirms,
        // Create eFile follows it; Escape returns without writing.
        auto* efile = desk.openFrom<frmExport>("mnuExport", "frmExport");
        QVERIFY(efile != nullptr && QTest::qWaitForWindowExposed(efile));
        activate(efile);
        checkCycle(efile, control<QWidget>(efile, "cmdReturn"),
                   {"cmdReturn", "chkConfirm", "msfgClass"});
        control<QWidget>(efile, "cmdReturn")->setFocus();
        pressChord(Qt::Key_I, Qt::AltModifier);
        QTRY_VERIFY(control<QWidget>(efile, "cmdExport")->isVisible());
        QCOMPARE(tabWalk(), (QStringList{"chkConfirm", "cmdExport", "msfgClass"}));
        open = efile;
        pressKey(Qt::Key_Escape);
        QTRY_VERIFY(open.isNull());
        QVERIFY(desk.entry.isVisible() && desk.prompts.messages().isEmpty());
        QCOMPARE(QDir(desk.school.homeFolder()).entryList(QDir::Files),
                 (QStringList{"sch.tlc", "start.tlf"}));
    }
};

QTEST_MAIN(KeyboardAccessTest)
#include "tst_keyboard_access.moc"
