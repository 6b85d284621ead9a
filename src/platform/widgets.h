// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QColor>
#include <QComboBox>
#include <QFontMetrics>
#include <QIcon>
#include <QKeySequence>
#include <QString>
#include <QStyle>
#include <array>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include <QLabel>

class QAbstractButton;
class QAction;
class QListWidget;
class QMenu;
class QMainWindow;
class QMenuBar;
class QPushButton;
class QWidget;

// Controls as the windows make them: named (the objectName is the control's
// name) and wired to their handler in one call.
namespace tl {

// The text colour of warnings.
inline const QColor kWarningColour(160, 0, 0);

QMenu* addMenu(QMenuBar* bar, const char* name, const QString& caption);

QAction* addMenuItem(QMenu* menu, const char* name, const QString& caption,
                     const QKeySequence& shortcut, std::function<void()> onTrigger);

// The icon of a picture file (a resource), read once and shared by every
// window that shows it, so that a window opened again decodes no picture.
QIcon pictureIcon(const QString& file);

// The widget's style's standard icon (style->standardIcon(pixmap)), made once
// per style and shared.
QIcon standardIcon(const QWidget* widget, QStyle::StandardPixmap pixmap);

// A button showing a picture, with its caption as tooltip.
QPushButton* pictureButton(QWidget* parent, const char* name, const char* picture,
                           const QString& tooltip, std::function<void()> onClick);

QPushButton* textButton(QWidget* parent, const char* name, const QString& caption,
                        std::function<void()> onClick);

QLabel* namedLabel(QWidget* parent, const char* name, const QString& text = {});

// Tab visits the controls in this order and Shift+Tab in the reverse one; a
// control hidden or disabled at the time is passed over.
void chainTabOrder(std::initializer_list<QWidget*> controls);

// F10 opens the window's menu bar at its first menu.
void openMenuBarOnF10(QMainWindow* window);

// Escape anywhere in the window runs `action`, unless the control with the
// keyboard takes Escape for itself (a grid holding a picked code does).
void onEscape(QWidget* window, std::function<void()> action);

// A checkable menu item that does what a control does: enabled while the
// control is, and, for a check box, ticked while it is and ticking it.
void keepInStep(QAction* item, QAbstractButton* control);

// Places a window beside its owner, over the owner's right edge, within the screen.
void placeBeside(QWidget* window, const QWidget* owner);

// Gives a window its designed size, or less where the screen is smaller, and
// keeps it, frame and title bar included, within the screen's free area. A
// window not yet framed by the window manager is fitted for the frame it is
// expected to get and fitted again once its real frame is known.
void fitToScreen(QWidget* window, QSize designed);

// True when the screen is exactly 600 pixels high: the windows take their
// shorter layout.
bool screenIsSmall();

// A modal dialog or message is open: a window neither closes nor leaves
// under it, so that the dialog never outlives the window it belongs to.
bool dialogRunning(const QWidget* window);

// Brings a window that has grown back within the screen's free area, smaller
// if it must be.
void keepOnScreen(QWidget* window);

// A label that shows its text elided in the middle when it is too narrow, so
// that both ends of a path stay in view; text() and screen readers get the
// whole text.
class ElidedLabel : public QLabel {
  public:
    using QLabel::QLabel;
    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

  protected:
    void paintEvent(QPaintEvent* event) override;
};

// A drop-down list whose items seldom change. Qt measures every item's text
// again for each size hint its layout asks for after the items or the window
// changed (three times as a window opens); the hints a list made afresh has
// are kept per session for the same items, settings, font and style.
class KeptSizeCombo : public QComboBox {
  public:
    explicit KeptSizeCombo(QWidget* parent);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

  protected:
    void changeEvent(QEvent* event) override;

  private:
    // What Qt's measure reads besides the item texts and the font.
    struct Settings {
        const QAbstractItemModel* model = nullptr;
        int count = -1;
        bool editable = false;
        bool frame = false;
        QSize iconSize;
        int minimumContentsLength = 0;
        int policy = 0;
        QString placeholder;
        bool operator==(const Settings&) const = default;
    };
    Settings settings() const;
    QSize kept(bool minimum) const;
    void forget() const;

    mutable Settings keyed_;
    mutable QString key_;
    mutable QSize hint_;
    mutable QSize minimumHint_;
    mutable const QAbstractItemModel* watched_ = nullptr;
};

// The system button-face colour, in which grids draw their header and frozen cells.
QColor buttonFace(const QWidget* widget);

// Replaces a list's entries. Each takes its width from its characters'
// advances times 1.3 (the list's horizontal extent) and its height from the
// first entry, or rowHeight where given, so that a list of a thousand entries
// is not measured entry by entry.
void setListItems(QListWidget* list, const std::vector<std::string>& items, int rowHeight = 0);

// A list entry's width as the lists measure it for their horizontal extent:
// the advances of its characters, each measured once, times 1.3.
class ItemWidths {
  public:
    explicit ItemWidths(const QFontMetrics& metrics);
    int extentOf(const std::string& item);

  private:
    QFontMetrics metrics_;
    std::array<int, 256> advances_{};
};

}  // namespace tl
