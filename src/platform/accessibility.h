// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QLabel>
#include <QString>
#include <QStringList>
#include <cstddef>

class QLabel;
class QWidget;

// What a screen reader announces for a control.
namespace tl {

// Gives a control the name a screen reader announces for it. A drop-down
// list announces this name, not its current item.
void nameControl(QWidget* control, const QString& name);

// A control named by the label that stands beside it: the label becomes its
// buddy and its text, without "&", a closing colon and blanks, its name.
void nameByLabel(QLabel* label, QWidget* control);

// Whether a screen reader (or a test reading what one would hear) listens:
// events for it are made only then.
bool screenReaderListening();

// Says a text through a screen reader without moving the keyboard: a
// notification that shows for a moment (a screen reader speaks a
// notification as it appears). Drawn as nothing, a point in its parent.
class Announcer : public QLabel {
  public:
    explicit Announcer(QWidget* parent);
    void say(const QString& text);

  protected:
    void paintEvent(QPaintEvent* event) override;
};

// Names for a screen reader from a table of texts.
template <std::size_t N>
QStringList spokenNames(const char* const (&names)[N]) {
    QStringList list;
    for (const char* name : names)
        list << QString::fromUtf8(name);
    return list;
}

// A label's text as a name: without "&" (a doubled one stays as "&"), a
// closing colon and blanks at either end.
QString labelName(const QString& text);

}  // namespace tl
