// SPDX-License-Identifier: GPL-3.0-or-later

// Every window by keyboard, along a whole small class done by the keyboard
// alone, no mouse event sent: the start-up window, a class built in the class
// picker, marks, comments stamped from the favourites list, skills, a flag, a
// free-form comment, the class saved and the eFile written. On the way, each
// window's access keys and shortcuts without clashes, the menus opened by Alt
// and F10, the order of Tab, and Escape. Apart: the View items that follow the
// Comments/Skills button and the Initial Values check box.

#include "core/class_file.h"
#include "core/messages.h"
#include "entry/frm_free_form_comment_entry.h"
#include "entry/frm_splash.h"
#include "export/efile.h"
#include "ui/ui_support.h"

using namespace tl;
using namespace tl::test;

namespace {

// Every mark fills the six skills with 3. The list: 0001, 0004, 0010.
const QByteArray kFavourites = " 1 \r\n0,100,,,,3,3,3,3,3,3\r\n0001\r\n0004\r\n0010\r\n";

// Three of the four take SCI3U1-01, in the order of their names.
const QByteArray kEnrolment =
    "Surname,Given,Sex,StudentNo,Year,Grade,Prov,Board,C9,C10,C11,C12,C13,Home,Timetable\r\n"
    "Abernethy,Rowan,F,303000001,2025,11,ON,N1,,,,,,H1,SCI3U1-01 ENG3U1-02\r\n"
    "Brightwater,Ezra,M,303000002,2025,11,ON,N2,,,,,,H2,ENG3U1-02\r\n"
    "Castellan,Mira,F,303000003,2025,11,ON,N3,,,,,,H3,HIS3U1-01 SCI3U1-01\r\n"
    "Dorrance,Jude,M,303000004,2025,11,ON,N4,,,,,,H4,SCI3U1-01\r\n";

QString nameOf(const QObject* o) {
    if (o == nullptr) return "nothing";
    return o->objectName().isEmpty() ? QString(o->metaObject()->className()) : o->objectName();
}
QString focused() {
    return nameOf(QApplication::focusWidget());
}

// Presses keys in turn as the keyboard sends them, to the open menu, else to
// the focus: by name ("Alt+F", "Return"), or after a quote the characters to
// type ('72).
void keys(const QString& names) {
    for (const QString& name : names.split(' ', Qt::SkipEmptyParts)) {
        const QKeySequence key(name);
        QVERIFY2(name.startsWith('\'') || key.count() == 1, qPrintable(name));
        if (name.startsWith('\'')) {
            typeKeys(name.mid(1));
        } else if (QWidget* menu = QApplication::activePopupWidget()) {
            QTest::keyClick(menu, key[0].key(), key[0].keyboardModifiers());
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
    const QString opened = nameOf(QApplication::activePopupWidget());
    keys("Esc");
    const auto closed = [] { return QApplication::activePopupWidget() == nullptr; };
    const QString first = QTest::qWaitFor(closed) ? focused() : "the menu stays open";
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
        for (auto k = keys.begin(); k != keys.end(); ++k)
            if (k.value().size() > 1) problems << k.key() + ": " + k.value().join(", ");
    };
    for (const QMenuBar* bar : window->findChildren<QMenuBar*>())
        for (const QAction* title : bar->actions())
            add(owners, QKeySequence::mnemonic(title->text()), nameOf(title->menu()), true);
    for (const QAbstractButton* b : window->findChildren<QAbstractButton*>())
        if (!b->text().isEmpty()) add(owners, QKeySequence::mnemonic(b->text()), nameOf(b), true);
    for (const QLabel* label : window->findChildren<QLabel*>())
        if (label->buddy() != nullptr)
            add(owners, QKeySequence::mnemonic(label->text()), nameOf(label));
    const QString count = QString::number(owners.size());
    for (const QAction* item : window->findChildren<QAction*>())
        for (const QKeySequence& key : item->shortcuts())
            add(owners, key, nameOf(item));
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

// The controls Tab visits from the focus on, until it comes round again, and
// where Shift+Tab goes from there.
QString tabCycle() {
    QWidget* start = QApplication::focusWidget();
    QStringList names{nameOf(start)};
    for (int i = 0; i < 60; ++i) {
        keys("Tab");
        QWidget* now = QApplication::focusWidget();
        if (now == start || now == nullptr) break;
        names << nameOf(now);
    }
    keys("Shift+Tab");
    return names.join(' ') + " < " + focused();
}

// Counts the mouse's presses and releases anywhere in the program.
struct MouseWatch : QObject {
    int events = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        const auto t = e->type();
        events += t == QEvent::MouseButtonPress || t == QEvent::MouseButtonRelease ||
                  t == QEvent::MouseButtonDblClick;
        return false;
    }
};

}  // namespace

class KeyboardAccessTest : public QObject {
    Q_OBJECT
  private slots:
    void wholeClassByKeyboard() {
        MouseWatch mouse;
        qApp->installEventFilter(&mouse);
        TempSchool school;
        school.installTestLibrary();
        school.write("data/TLStudentInfo.txt", kEnrolment);
        const QString home = school.homeFolder() + "/";
        Workspace ws;
        ScriptedPrompts prompts;
        prompts.fileAnswers << school.write("home/sci.tlf", kFavourites) << home + "sci3u1.tlc"
                            << home + "sci3u1.trc";
        frmEntry entry(ws, prompts, school.locations());

        // The start-up window: Alt+O opens the favourites.
        QString seen;
        whenModal<frmSplash>([&seen](frmSplash* splash) {
            seen = keyReport(splash);
            activate(splash);
            keys("Alt+O");
        });
        QVERIFY(entry.Form_Load());
        settle();
        activate(&entry);
        QCOMPARE(seen + " " + QString::number(ws.favourites.size()), QString("2 3"));

        // File > New Class File From Trillium; S picks the section, Alt+G builds it.
        keys("Alt+F N");
        QWidget* picker = openWindow<QWidget>("frmGetTrilliumfile");
        QVERIFY(picker != nullptr && picker->isVisible());
        activate(picker);
        keys("'S Alt+G");
        QTRY_VERIFY(openWindow<QWidget>("frmGetTrilliumfile") == nullptr);
        activate(&entry);
        QStringList names;
        for (const StudentRecord& s : ws.students())
            names << toQString(s.classCode + " " + s.lastName);
        QCOMPARE(names.join(", "),
                 QString("SCI3U1-01 Abernethy, SCI3U1-01 Castellan, SCI3U1-01 Dorrance"));
        std::vector<StudentRecord> expected = ws.students();

        // The main window: seven menu titles and four captioned controls; Tab
        // from the grid round the window. F10 opens the first menu, Alt and a
        // title's key that menu; the first Escape closes the menu, the second
        // leaves the menu bar.
        seen = keyReport(&entry) + " | " + tabCycle();
        keys("Tab");
        for (const char* key : {"F10", "Alt+D", "Alt+S"})
            seen += " | " + menuRoundTrip(key);
        QCOMPARE(seen, QString("11 | msfgClass lstFavourites cmdSwitchCommentSelection "
                               "lblFreeFormComment cmdNew cmdOpen cmdSave cmdPrint "
                               "cmdOpenFavourites cmdSwitch optAutoFill < optAutoFill | mnuFile "
                               "QMenuBar msfgClass | mnuEdit QMenuBar msfgClass | mnuSort "
                               "QMenuBar msfgClass"));

        // Marks down the MRK column; each fills the skills.
        keys("'72 Return '85 Return '64 Return");
        for (std::size_t i = 0; i < 3; ++i) {
            expected[i].mark = std::array{"72", "85", "64"}[i];
            expected[i].skills.fill("3");
            expected[i].comments = {"0001", "0004", "0010", "", ""};
        }
        // CM1: Alt+1 to the list, its first entry, Escape back, Enter down the
        // column. CM2: the next entry the same way. CM3: Tab to the list, the
        // third entry, and Space in each row.
        keys("Alt+1 Home Esc Right Return Return Return");
        keys("Alt+1 Down Esc Ctrl+Home Right Return Return Return");
        keys("Tab Down Esc Ctrl+Home Right Space Down Space Down Space Down");

        // Ctrl+K to the skills: E, Space and 1 on the first student's RE, OR
        // and IW; S and Shift+Space on the IW of the others; Space on ESL.
        keys("Ctrl+K Ctrl+Home Home Right 'e Right Space Right '1 Down 'S Down Shift+Space");
        keys("Up End Left Left Space");
        expected[0].skills = {"4", "2", "1", "3", "3", "3"};
        expected[1].skills[kIW] = "2";
        expected[2].skills[kIW] = "4";
        expected[1].esl = "Y";

        // The free-form comment of the third student, from the panel's button.
        const QString text = "Designs careful experiments and explains them well.";
        whenModal<frmFreeFormCommentEntry>([&text](frmFreeFormCommentEntry* dialog) {
            activate(dialog);
            keys("Ctrl+A");
            typeKeys(text);
            keys("Alt+O");
        });
        keys("Ctrl+K Down Tab Tab Tab Return");
        expected[2].freeFormUsed = true;
        expected[2].freeFormText = fromQString(text);
        QVERIFY(ws.students() == expected);

        // Ctrl+S: the Save dialog answered; the file holds the records.
        keys("Ctrl+S");
        QCOMPARE(contents(home + "sci3u1.tlc"), QByteArray::fromStdString(classFileText(expected)));

        // Each other window: the keys that open it and those pressed in it;
        // its access keys, Tab from where the keyboard is, F10 where it has a
        // menu bar. Escape leaves it, nothing built or written (no question
        // or message but those below), the keyboard back on the grid.
        // Comment Selection's keys: the menu title, Search, the separator
        // button and the two hidden ones.
        prompts.yesNoAnswers << false << false;  // Ctrl+N: the class stays as saved
        const struct {
            const char *window, *open, *inside, *seen;
        } rows[] = {
            {"frmHelp", "Alt+H", "", "1 | Text1 Command1 < Command1"},
            {"frmGetTrilliumfile", "Ctrl+N", "",
             "2 | cboClasses chkMultiCourse cmdGetClass < cmdGetClass | &Get Class"},
            {"frmGetTrilliumfile", "Ctrl+N", "Alt+M",
             "2 | chkMultiCourse cmdGetClass lstMultiSelect < lstMultiSelect | &Get Classes"},
            {"frmExport", "Alt+E C", "Alt+I",
             "3 | chkConfirm cmdExport msfgClass cmdReturn < cmdReturn"},
            {"frmSelection", "Ctrl+E", "",
             "5 | txtAnd1 txtAnd2 txtOr txtNot cmdSearch lstComments lstFavourites cmdUp cmdDown "
             "cmdDeleteFavourite cmdInsertDashes cmdNew cmdOpen cmdSave cmdSaveAs cmdPrint "
             "cmdBack cmbMarkCat cmbCommentCat cmbLS cmbDept < cmbDept | mnuFile QMenuBar cmbDept"},
            {"frmAutoFill", "Alt+M I", "",
             "4 | cmdEnterRanges cmdSplit cmdDelete cmdPrint cmdOpenFavourites cmdBack msfgClass "
             "lstFavourites lstLearningSkills < lstLearningSkills"}};
        for (const auto& row : rows) {
            keys(row.open);
            QPointer<QWidget> window = openWindow<QWidget>(row.window);
            QVERIFY2(window != nullptr && QTest::qWaitForWindowExposed(window), row.window);
            activate(window);
            keys(row.inside);
            // An access key clicks its button a moment later.
            auto* pressed = qobject_cast<QAbstractButton*>(QApplication::focusWidget());
            QTRY_VERIFY(pressed == nullptr || !pressed->isDown());
            seen = keyReport(window) + " | " + tabCycle();
            if (window->findChild<QMenuBar*>() != nullptr) seen += " | " + menuRoundTrip("F10");
            // The class picker's button names the mode.
            if (auto* get = window->findChild<QPushButton*>("cmdGetClass"))
                seen += " | " + get->text();
            QCOMPARE(seen, QString(row.seen));
            keys("Esc");
            QTRY_VERIFY2(window.isNull(), row.window);
            activate(&entry);  // as a window manager does when the window has not
            QCOMPARE(focused(), QString("msfgClass"));
        }

        // eFile > Convert: Alt+I confirms, Alt+C creates the eFile.
        keys("Alt+E C");
        QWidget* efile = openWindow<QWidget>("frmExport");
        QVERIFY(efile != nullptr && efile->isVisible());
        activate(efile);
        // An access key presses its button as a click does, a moment later.
        keys("Alt+I");
        QTRY_VERIFY(control<QWidget>(efile, "cmdExport")->isVisible());
        keys("Alt+C");
        // The only messages of the whole class: the eFile's.
        QTRY_COMPARE(prompts.messages(), (QStringList{toQString(msg::tl15AboutToSave().text),
                                                      toQString(msg::eFileSaved().text)}));
        QCOMPARE(contents(home + "sci3u1.trc"),
                 QByteArray::fromStdString(eFileText(expected, ws.phrases)));
        // Back in the main window, the keyboard on the marks.
        QTRY_VERIFY(openWindow<QWidget>("frmExport") == nullptr && entry.isVisible());
        QTRY_COMPARE(QApplication::focusWidget(), control<QWidget>(&entry, "msfgClass"));
        QVERIFY(ws.students() == expected && prompts.unexpected == 0 &&
                prompts.fileAnswers.isEmpty());
        qApp->removeEventFilter(&mouse);
        QCOMPARE(mouse.events, 0);
    }

    void viewItemsFollowTheButtonAndTheCheckBox() {
        Desk desk({}, kFavourites);
        desk.open(desk.file("c.tlc", classOfSize(3)));
        activate(&desk.entry);
        // F2 on the free-form label opens its dialog too; Tab leaves the text
        // box without typing a tab.
        QString seen;
        whenModal<frmFreeFormCommentEntry>([&seen](frmFreeFormCommentEntry* dialog) {
            activate(dialog);
            seen = keyReport(dialog) + " | " + tabCycle();
            dialog->reject();
        });
        desk.ctl("lblFreeFormComment")->setFocus();
        keys("F2");
        QCOMPARE(seen, QString("2 | txtComment cmdOkay cmdCancel < cmdCancel"));

        // The View items follow the Comments/Skills button and the Initial
        // Values check box, by keys and by the mouse.
        auto* skills = desk.ctl<QListWidget>("lstLearningSkills");
        QAction* commentsSkills = desk.act("mnuCommentsSkills");
        QAbstractButton* autoFill = desk.btn("optAutoFill");
        QAction* initialValues = desk.act("mnuInitialValues");
        desk.grid()->setFocus();
        keys("Alt+V C");
        QVERIFY(skills->isVisible() && commentsSkills->isChecked() && focused() == "msfgClass");
        click(desk.btn("cmdSwitch"));
        QVERIFY(!skills->isVisible() && !commentsSkills->isChecked());
        keys("Ctrl+I");
        QVERIFY(!autoFill->isChecked() && !initialValues->isChecked());
        click(autoFill);
        QVERIFY(autoFill->isChecked() && initialValues->isChecked());
        // In the middle of a mark the chord changes the check box, not the mark.
        desk.grid()->setCurrentCell(2, 3);
        desk.grid()->setFocus();
        typeKeys("64");
        keys("Ctrl+I Return");
        QVERIFY(desk.ws.students()[1].mark == "64" && !autoFill->isChecked());
        // Without favourites the check box is disabled, and so is the item.
        Desk bare;
        QVERIFY(!bare.btn("optAutoFill")->isEnabled() &&
                !bare.act("mnuInitialValues")->isEnabled());
    }
};

QTEST_MAIN(KeyboardAccessTest)
#include "tst_keyboard_access.moc"
