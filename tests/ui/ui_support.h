#pragma once

#include <QApplication>
#include <QtTest>
#include <QtWidgets>
#include <functional>

#include "core/workspace.h"
#include "doubles/scripted_prompts.h"
#include "entry/detail_lines.h"
#include "entry/frm_entry.h"
#include "favourites/favourites_text.h"
#include "platform/encoding.h"
#include "platform/flex_grid.h"
#include "platform/locations.h"

namespace tl::test {

using Kind = ScriptedPrompts::Kind;

// A school on disk for one test: a program folder, a data folder beside it
// and a teacher's home folder, all in a fresh temporary folder.
class TempSchool {
  public:
    TempSchool();
    QString root() const { return dir_.path(); }
    QString programFolder() const { return root() + "/Tallyleaf"; }
    QString dataFolder() const { return root() + "/data"; }
    QString homeFolder() const { return root() + "/home"; }
    const Locations& locations() const { return locations_; }
    // Writes bytes to a file under the root; returns its full path.
    QString write(const QString& relative, const QByteArray& bytes) const;
    // Puts the tests' small phrase library into the program folder.
    void installTestLibrary() const;

  private:
    QTemporaryDir dir_;
    Locations locations_;
};

// A control of a window, found by its name as a screen reader or a test finds it.
template <typename T = QWidget>
T* control(const QObject* window, const QString& name) {
    T* found = window->findChild<T*>(name);
    if (found == nullptr) qFatal("no control %s", qPrintable(name));
    return found;
}

// The open top-level window of that name, or nothing.
template <typename T>
T* openWindow(const QString& name) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == name) return qobject_cast<T*>(w);
    }
    return nullptr;
}

// Runs action on the next modal window of type T, once it is the active one.
template <typename T>
void whenModal(std::function<void(T*)> action) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, action]() {
        auto* modal = qobject_cast<T*>(QApplication::activeModalWidget());
        if (modal == nullptr) return;
        timer->stop();
        timer->deleteLater();
        action(modal);
    });
    timer->start();
}

// Loads the main window, answering the start-up window with the named button
// ("cmdOpenFavourites", "cmdCancel", or "" to close it by its frame).
bool loadWith(frmEntry& entry, const QString& button);

// Lets shown windows settle and closed ones be deleted.
inline void settle() {
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// A school with the main window loaded past its start-up window: the demo
// phrase library unless another is given; with favourites, the start-up
// window opens them from the home folder.
struct Desk {
    TempSchool school;
    Workspace ws;
    ScriptedPrompts prompts;
    frmEntry entry{ws, prompts, school.locations()};
    bool loaded = false;

    explicit Desk(const QByteArray& library = {}, const QByteArray& favourites = {});
    ~Desk();
    FlexGrid* grid() const { return control<FlexGrid>(&entry, "msfgClass"); }
    QAction* act(const char* name) const { return control<QAction>(&entry, name); }
    QAbstractButton* btn(const char* name) const { return control<QAbstractButton>(&entry, name); }
    template <typename T = QLabel>
    T* ctl(const char* name) const {
        return control<T>(&entry, name);
    }
    QString home(const QString& name) const { return school.homeFolder() + "/" + name; }
    QString file(const QString& name, const QByteArray& bytes) const {
        return school.write("home/" + name, bytes);
    }
    // Opens a class file from the File menu, declining to save a class that is open.
    void open(const QString& path) {
        if (ws.studentCount() > 0) prompts.yesNoAnswers << false;
        prompts.fileAnswers << path;
        run("mnuOpenClass");
    }
    int undos() const { return ws.undo.count(); }
    // Runs a menu command of the main window and lets what it opens settle.
    void run(const char* name) const {
        act(name)->trigger();
        settle();
    }
};

// One class-file line. flags: IEP, ESL, ELD; comments: CM1 to CM5; tail:
// interview, free-form flag and free-form text.
inline QByteArray classLine(const QByteArray& code, const QByteArray& last, const QByteArray& first,
                            const QByteArray& number, const QByteArray& mark,
                            const QByteArray& comments = ",,,,",
                            const QByteArray& skills = "G,G,G,G,G,G",
                            const QByteArray& tail = "0,False,", const QByteArray& flags = "0,,") {
    return code + "," + last + "," + first + "," + number + ",F,1," + flags + "," + mark + ",,," +
           skills + ",," + comments + "," + tail + "\r\n";
}

// A class of n students in one section, numbered from 400000000.
inline QByteArray classOfSize(int n, const QByteArray& code = "SCH4U1-01") {
    QByteArray bytes;
    for (int i = 0; i < n; ++i)
        bytes += classLine(code, "Pupil" + QByteArray::number(100 + i), "Pat",
                           QByteArray::number(400000000 + i), "70");
    return bytes;
}

inline void click(QAbstractButton* button) {
    QTest::mouseClick(button, Qt::LeftButton);
    settle();
}
// Clicks a window's button by its name.
inline void press(const QObject* window, const QString& name) {
    click(control<QAbstractButton>(window, name));
}

// The bytes of a file; none when it cannot be read.
QByteArray contents(const QString& path);

inline void clickItem(QListWidget* list, int row) {
    list->scrollToItem(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(row)).center());
    settle();
}

inline void clickCell(FlexGrid* grid, int row, int col, Qt::MouseButton button = Qt::LeftButton) {
    // Scrolled into view first, as a teacher would on a small screen.
    if (row >= 1) grid->scrollTo(grid->model()->index(row - 1, col));
    const QRect rect = grid->cellGeometry(row, col);
    QVERIFY2(rect.width() > 0, "the cell is not shown");
    QTest::mouseClick(grid->viewport(), button, {}, grid->viewport()->mapFrom(grid, rect.center()));
    settle();
}

// The first word of each message shown: its numbered code ("TL8:").
inline QStringList shownCodes(const ScriptedPrompts& prompts) {
    QStringList codes;
    for (const QString& text : prompts.messages())
        codes << text.section(' ', 0, 0);
    return codes;
}

// Types as a keyboard does: each key's press and its release go to whichever
// widget has the focus at that moment.
inline void pressKey(Qt::Key key, char text = 0, Qt::KeyboardModifiers modifiers = {}) {
    const auto send = [key, text, modifiers](QWidget* to, bool press) {
        if (text != 0)
            return press ? QTest::keyPress(to, text, modifiers)
                         : QTest::keyRelease(to, text, modifiers);
        press ? QTest::keyPress(to, key, modifiers) : QTest::keyRelease(to, key, modifiers);
    };
    QWidget* pressed = QApplication::focusWidget();
    QVERIFY2(pressed != nullptr, "no widget has the keyboard focus");
    send(pressed, true);
    // A key that closed its window is released over no widget.
    if (QWidget* released = QApplication::focusWidget()) send(released, false);
    settle();
}
// A key with modifiers (Alt+C, Ctrl+Z) to whichever widget has the focus.
inline void pressChord(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    pressKey(key, 0, modifiers);
}
// A window that has just opened takes the keyboard, as it does on a desktop.
inline void activate(QWidget* window) {
    // The window left before may still be taking its activation back.
    for (int i = 0; i < 100 && QApplication::activeWindow() != window; ++i) {
        window->activateWindow();
        QTest::qWait(10);
    }
    QVERIFY(QApplication::activeWindow() == window);
}

inline void typeKeys(const QString& keys) {
    for (const QChar ch : keys)
        pressKey(Qt::Key_unknown, ch.toLatin1());
}

// Types a mark into a row's MRK cell and Enter.
inline void typeMark(Desk& desk, int row, const QString& mark) {
    clickCell(desk.grid(), row, 3);
    typeKeys(mark);
    pressKey(Qt::Key_Return);
}

// The item texts of a list.
inline QStringList items(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

// The rows of a grid below the header, their cells joined by "|".
inline QStringList shownRows(const FlexGrid* grid) {
    QStringList texts;
    for (int r = 1; r < grid->rows(); ++r) {
        QStringList row;
        for (int c = 0; c < grid->cols(); ++c)
            row << grid->textMatrix(r, c);
        texts << row.join('|');
    }
    return texts;
}

// The texts of a grid column below the header row.
inline QStringList column(const FlexGrid* grid, int col) {
    QStringList texts;
    for (int r = 1; r < grid->rows(); ++r)
        texts << grid->textMatrix(r, col);
    return texts;
}

QStringList listOf(const auto& texts) {
    QStringList list;
    for (const auto& t : texts)
        list << toQString(t);
    return list;
}

// The main grid's rows as gridRowTexts makes them from the records.
inline QStringList recordRows(const Workspace& ws, bool course) {
    QStringList rows;
    for (const StudentRecord& s : ws.students)
        rows << listOf(gridRowTexts(s, course)).join('|');
    return rows;
}

// The detail panel's five lines, and the lines buildDetailLines gives the student.
inline QStringList panel(const frmEntry& e) {
    QStringList lines;
    for (int i = 1; i <= 5; ++i)
        lines << control<QLabel>(&e, QString("lblDetail%1").arg(i))->text();
    return lines;
}
inline QStringList expectedPanel(const Workspace& ws, int student, bool course) {
    return listOf(buildDetailLines(ws.students[student], ws.phrases, course).lines);
}

}  // namespace tl::test
