// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QtTest>
#include <QtWidgets>

#include "core/workspace.h"
#include "doubles/scripted_prompts.h"
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
    QTemporaryDir dir_;
    Locations locations_;

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
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == name) return qobject_cast<T*>(w);
    return nullptr;
}

// Runs action on the next modal window of type T, once it is the active one.
template <typename T>
void whenModal(std::function<void(T*)> action) {
    QTimer::singleShot(5, [action] {
        if (auto* modal = qobject_cast<T*>(QApplication::activeModalWidget()))
            action(modal);
        else
            whenModal<T>(action);
    });
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
    int undos() const { return ws.doc.undoCount(); }
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

// The texts text(0) to text(n - 1).
QStringList collect(int n, const auto& text) {
    QStringList texts;
    for (int i = 0; i < n; ++i)
        texts << text(i);
    return texts;
}

// The first word of each message shown: its numbered code ("TL8:").
inline QStringList shownCodes(const ScriptedPrompts& prompts) {
    const QStringList texts = prompts.messages();
    return collect(texts.size(), [&texts](int i) { return texts[i].section(' ', 0, 0); });
}

// Types as a keyboard does: each key's press and its release go to whichever
// widget has the focus at that moment.
inline void pressKey(Qt::Key key, char text = 0, Qt::KeyboardModifiers modifiers = {}) {
    const auto send = [key, text, modifiers](QTest::KeyAction action, QWidget* to) {
        text != 0 ? QTest::keyEvent(action, to, text, modifiers)
                  : QTest::keyEvent(action, to, key, modifiers);
    };
    QWidget* pressed = QApplication::focusWidget();
    QVERIFY2(pressed != nullptr, "no widget has the keyboard focus");
    send(QTest::Press, pressed);
    // A key that closed its window is released over no widget.
    if (QWidget* released = QApplication::focusWidget()) send(QTest::Release, released);
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
    return collect(list->count(), [list](int i) { return list->item(i)->text(); });
}

// The rows of a grid below the header, their cells joined by "|".
inline QStringList shownRows(const FlexGrid* grid) {
    return collect(grid->rows() - 1, [grid](int r) {
        return collect(grid->cols(), [=](int c) { return grid->textMatrix(r + 1, c); }).join('|');
    });
}

// The texts of a grid column below the header row.
inline QStringList column(const FlexGrid* grid, int col) {
    return collect(grid->rows() - 1, [=](int r) { return grid->textMatrix(r + 1, col); });
}

QStringList listOf(const auto& texts) {
    QStringList list;
    for (const auto& t : texts)
        list << toQString(t);
    return list;
}

// The main grid's rows as gridRowTexts makes them from the records.
inline QStringList recordRows(const Workspace& ws, bool course) {
    return collect(ws.students().size(),
                   [&](int i) { return listOf(gridRowTexts(ws.students()[i], course)).join('|'); });
}

// The detail panel's five lines, and the lines buildDetailLines gives the student.
inline QStringList panel(const frmEntry& e) {
    return collect(
        5, [&e](int i) { return control<QLabel>(&e, QString("lblDetail%1").arg(i + 1))->text(); });
}
inline QStringList expectedPanel(const Workspace& ws, int student, bool course) {
    return listOf(buildDetailLines(ws.students()[student], ws.phrases, course).lines);
}

}  // namespace tl::test
