// A whole small class by the keyboard alone: the start-up window, a class
// built in the class picker, marks, comments stamped from the favourites list,
// skills, a flag, a free-form comment, the class saved and the eFile written.
// Every key goes where a keyboard's keys go; no mouse event is sent.
#include "core/class_file.h"
#include "core/messages.h"
#include "entry/frm_free_form_comment_entry.h"
#include "entry/frm_splash.h"
#include "export/efile.h"
#include "export/frm_export.h"
#include "import/frm_get_trilliumfile.h"
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

// A key as the keyboard sends it: to the open menu, else to the focus.
void key(Qt::Key k, Qt::KeyboardModifiers modifiers = {}, int times = 1) {
    for (int i = 0; i < times; ++i) {
        if (QWidget* menu = QApplication::activePopupWidget()) {
            QTest::keyClick(menu, k, modifiers);
            settle();
        } else {
            pressKey(k, 0, modifiers);
        }
    }
}

// Counts the mouse's presses and releases anywhere in the program.
struct MouseWatch : QObject {
    int events = 0;
    bool eventFilter(QObject*, QEvent* e) override {
        const auto t = e->type();
        if (t == QEvent::MouseButtonPress || t == QEvent::MouseButtonRelease ||
            t == QEvent::MouseButtonDblClick)
            ++events;
        return false;
    }
};

}  // namespace

class WholeClassByKeyboardTest : public QObject {
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
        prompts.fileAnswers << school.write("home/sci.tlf", kFavourites);
        frmEntry entry(ws, prompts, school.locations());

        // The start-up window: Alt+O opens the favourites.
        whenModal<frmSplash>([](frmSplash* splash) {
            activate(splash);
            key(Qt::Key_O, Qt::AltModifier);
        });
        QVERIFY(entry.Form_Load());
        settle();
        activate(&entry);
        QCOMPARE(ws.favourites.size(), 3u);

        // File > New Class File From Trillium; S picks the section, Alt+G builds it.
        key(Qt::Key_F, Qt::AltModifier);
        key(Qt::Key_N);
        auto* picker = entry.findChild<frmGetTrilliumfile*>();
        QVERIFY(picker != nullptr && picker->isVisible());
        activate(picker);
        typeKeys("S");
        key(Qt::Key_G, Qt::AltModifier);
        QTRY_VERIFY(entry.findChild<frmGetTrilliumfile*>() == nullptr);
        activate(&entry);
        QStringList names;
        for (const StudentRecord& s : ws.students)
            names << toQString(s.classCode + " " + s.lastName);
        QCOMPARE(names,
                 (QStringList{"SCI3U1-01 Abernethy", "SCI3U1-01 Castellan", "SCI3U1-01 Dorrance"}));
        std::vector<StudentRecord> expected = ws.students;

        // Marks down the MRK column; each fills the skills.
        for (const char* mark : {"72", "85", "64"}) {
            typeKeys(mark);
            key(Qt::Key_Return);
        }
        for (std::size_t i = 0; i < 3; ++i) {
            expected[i].mark = std::array{"72", "85", "64"}[i];
            expected[i].skills.fill("3");
        }

        // CM1: Alt+1 to the list, its first entry, Escape back, Enter down the
        // column. CM2: the next entry the same way. CM3: Tab to the list, the
        // third entry, and Space in each row.
        key(Qt::Key_1, Qt::AltModifier);
        key(Qt::Key_Home);
        key(Qt::Key_Escape);
        key(Qt::Key_Right);
        key(Qt::Key_Return, {}, 3);
        key(Qt::Key_1, Qt::AltModifier);
        key(Qt::Key_Down);
        key(Qt::Key_Escape);
        key(Qt::Key_Home, Qt::ControlModifier);
        key(Qt::Key_Right);
        key(Qt::Key_Return, {}, 3);
        key(Qt::Key_Tab);
        key(Qt::Key_Down);
        key(Qt::Key_Escape);
        key(Qt::Key_Home, Qt::ControlModifier);
        key(Qt::Key_Right);
        for (int row = 0; row < 3; ++row) {
            key(Qt::Key_Space);
            key(Qt::Key_Down);
        }
        for (StudentRecord& s : expected)
            s.comments = {"0001", "0004", "0010", "", ""};

        // Ctrl+K to the skills: E, Space and 1 on the first student's RE, OR
        // and IW; S and Shift+Space on the IW of the others; Space on ESL.
        key(Qt::Key_K, Qt::ControlModifier);
        key(Qt::Key_Home, Qt::ControlModifier);
        key(Qt::Key_Home);
        key(Qt::Key_Right);
        typeKeys("e");
        key(Qt::Key_Right);
        key(Qt::Key_Space);
        key(Qt::Key_Right);
        typeKeys("1");
        key(Qt::Key_Down);
        typeKeys("S");
        key(Qt::Key_Down);
        key(Qt::Key_Space, Qt::ShiftModifier);
        key(Qt::Key_Up);
        key(Qt::Key_End);
        key(Qt::Key_Left, {}, 2);
        key(Qt::Key_Space);
        expected[0].skills = {"4", "2", "1", "3", "3", "3"};
        expected[1].skills[kIW] = "2";
        expected[2].skills[kIW] = "4";
        expected[1].esl = "Y";

        // The free-form comment of the third student, from the panel's button.
        key(Qt::Key_K, Qt::ControlModifier);
        key(Qt::Key_Down);
        key(Qt::Key_Tab, {}, 3);
        const QString text = "Designs careful experiments and explains them well.";
        whenModal<frmFreeFormCommentEntry>([&text](frmFreeFormCommentEntry* dialog) {
            activate(dialog);
            key(Qt::Key_A, Qt::ControlModifier);
            typeKeys(text);
            key(Qt::Key_O, Qt::AltModifier);
        });
        key(Qt::Key_Return);
        expected[2].freeFormUsed = true;
        expected[2].freeFormText = fromQString(text);
        QVERIFY(ws.students == expected);

        // Ctrl+S: the Save dialog answered; the file holds the records.
        prompts.fileAnswers << home + "sci3u1.tlc";
        key(Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(contents(home + "sci3u1.tlc"), QByteArray::fromStdString(classFileText(expected)));

        // eFile > Convert: Alt+I confirms, Alt+C creates the eFile.
        key(Qt::Key_E, Qt::AltModifier);
        key(Qt::Key_C);
        auto* efile = openWindow<frmExport>("frmExport");
        QVERIFY(efile != nullptr && efile->isVisible());
        activate(efile);
        prompts.fileAnswers << home + "sci3u1.trc";
        // An access key presses its button as a click does, a moment later.
        key(Qt::Key_I, Qt::AltModifier);
        QTRY_VERIFY(control<QWidget>(efile, "cmdExport")->isVisible());
        key(Qt::Key_C, Qt::AltModifier);
        // The only messages of the whole class: the eFile's.
        QTRY_COMPARE(prompts.messages(), (QStringList{toQString(msg::tl15AboutToSave().text),
                                                      toQString(msg::eFileSaved().text)}));
        QCOMPARE(contents(home + "sci3u1.trc"),
                 QByteArray::fromStdString(eFileText(expected, ws.phrases)));
        // Back in the main window, the keyboard on the marks.
        QTRY_VERIFY(openWindow<frmExport>("frmExport") == nullptr && entry.isVisible());
        QCOMPARE(QApplication::focusWidget(), control<QWidget>(&entry, "msfgClass"));
        QVERIFY(prompts.unexpected == 0 && prompts.fileAnswers.isEmpty());
        qApp->removeEventFilter(&mouse);
        QCOMPARE(mouse.events, 0);
    }
};

QTEST_MAIN(WholeClassByKeyboardTest)
#include "tst_whole_class_by_keyboard.moc"
