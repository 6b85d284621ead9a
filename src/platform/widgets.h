#pragma once

#include <QKeySequence>
#include <QString>
#include <functional>

class QAction;
class QColor;
class QLabel;
class QMenu;
class QMenuBar;
class QPushButton;
class QWidget;

// Controls as the windows make them: named (the objectName is the control's
// name) and wired to their handler in one call.
namespace tl {

QMenu* addMenu(QMenuBar* bar, const char* name, const QString& caption);

QAction* addMenuItem(QMenu* menu, const char* name, const QString& caption,
                     const QKeySequence& shortcut, std::function<void()> onTrigger);

// A button showing a picture, with its caption as tooltip.
QPushButton* pictureButton(QWidget* parent, const char* name, const char* picture,
                           const QString& tooltip, std::function<void()> onClick);

QPushButton* textButton(QWidget* parent, const char* name, const QString& caption,
                        std::function<void()> onClick);

QLabel* namedLabel(QWidget* parent, const char* name, const QString& text = {});

// Places a window beside its owner, over the owner's right edge, within the screen.
void placeBeside(QWidget* window, const QWidget* owner);

// The system button-face colour, in which grids draw their header and frozen cells.
QColor buttonFace(const QWidget* widget);

}  // namespace tl
