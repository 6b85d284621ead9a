#include "platform/widgets.h"

#include <QAction>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <algorithm>

namespace tl {

QMenu* addMenu(QMenuBar* bar, const char* name, const QString& caption) {
    QMenu* menu = bar->addMenu(caption);
    menu->setObjectName(name);
    return menu;
}

QAction* addMenuItem(QMenu* menu, const char* name, const QString& caption,
                     const QKeySequence& shortcut, std::function<void()> onTrigger) {
    QAction* action = menu->addAction(caption);
    action->setObjectName(name);
    if (!shortcut.isEmpty()) action->setShortcut(shortcut);
    if (onTrigger) QObject::connect(action, &QAction::triggered, menu, std::move(onTrigger));
    return action;
}

QPushButton* pictureButton(QWidget* parent, const char* name, const char* picture,
                           const QString& tooltip, std::function<void()> onClick) {
    auto* button = new QPushButton(parent);
    button->setObjectName(name);
    button->setIcon(QIcon(picture));
    button->setIconSize(QSize(28, 28));
    button->setFixedSize(44, 40);
    button->setToolTip(tooltip);
    button->setAccessibleName(tooltip);
    if (onClick) QObject::connect(button, &QPushButton::clicked, button, std::move(onClick));
    return button;
}

QPushButton* textButton(QWidget* parent, const char* name, const QString& caption,
                        std::function<void()> onClick) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(name);
    if (onClick) QObject::connect(button, &QPushButton::clicked, button, std::move(onClick));
    return button;
}

QLabel* namedLabel(QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

void placeBeside(QWidget* window, const QWidget* owner) {
    window->adjustSize();
    QRect place(QPoint(owner->frameGeometry().right() - window->width() - 24, owner->y() + 90),
                window->size());
    if (const QScreen* screen = owner->screen()) {
        const QRect free = screen->availableGeometry();
        place.moveRight(std::min(place.right(), free.right() - 8));
        place.moveLeft(std::max(place.left(), free.left()));
    }
    window->move(place.topLeft());
}

QColor buttonFace(const QWidget* widget) {
    return widget->palette().color(QPalette::Button);
}

}  // namespace tl
