#include "platform/widgets.h"

#include <QAction>
#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>

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

QColor buttonFace(const QWidget* widget) {
    return widget->palette().color(QPalette::Button);
}

}  // namespace tl
