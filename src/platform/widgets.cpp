#include "platform/widgets.h"

#include <QAction>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <algorithm>
#include <cmath>

#include "platform/encoding.h"

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

void fitToScreen(QWidget* window, QSize designed) {
    if (const QScreen* screen = window->screen()) {
        // Room for the frame and title bar the window manager adds.
        const QSize free = screen->availableGeometry().size() - QSize(16, 40);
        designed = designed.boundedTo(free);
    }
    window->resize(designed.expandedTo(window->minimumSizeHint()));
    keepOnScreen(window);
}

void keepOnScreen(QWidget* window) {
    const QScreen* screen = window->screen();
    if (screen == nullptr) return;
    const QRect free = screen->availableGeometry();
    QRect frame = window->frameGeometry();
    if (frame.right() > free.right()) frame.moveRight(free.right());
    if (frame.bottom() > free.bottom()) frame.moveBottom(free.bottom());
    if (frame.left() < free.left()) frame.moveLeft(free.left());
    if (frame.top() < free.top()) frame.moveTop(free.top());
    window->move(frame.topLeft());
}

QSize ElidedLabel::minimumSizeHint() const {
    const QFontMetrics metrics(font());
    return {metrics.horizontalAdvance(QString(12, 'x')), QLabel::minimumSizeHint().height()};
}

QSize ElidedLabel::sizeHint() const {
    return {minimumSizeHint().width(), QLabel::sizeHint().height()};
}

void ElidedLabel::paintEvent(QPaintEvent* event) {
    Q_UNUSED(event);
    QPainter painter(this);
    const QRect area = contentsRect();
    const QString shown = fontMetrics().elidedText(text(), Qt::ElideMiddle, area.width());
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(area, static_cast<int>(alignment()), shown);
}

QColor buttonFace(const QWidget* widget) {
    return widget->palette().color(QPalette::Button);
}

void setListItems(QListWidget* list, const std::vector<std::string>& items) {
    list->clear();
    if (items.empty()) return;
    list->addItem(toQString(items.front()));
    const int height = list->sizeHintForRow(0);
    ItemWidths widths(list->fontMetrics());
    for (std::size_t i = 0; i < items.size(); ++i) {
        QListWidgetItem* entry = i == 0 ? list->item(0) : new QListWidgetItem(toQString(items[i]));
        entry->setSizeHint(QSize(widths.extentOf(items[i]), height));
        if (i > 0) list->addItem(entry);
    }
}

ItemWidths::ItemWidths(const QFontMetrics& metrics) : metrics_(metrics) {
    advances_.fill(-1);
}

int ItemWidths::extentOf(const std::string& item) {
    int width = 0;
    for (const char c : item) {
        int& advance = advances_[static_cast<unsigned char>(c)];
        if (advance < 0) advance = metrics_.horizontalAdvance(toQString(std::string(1, c)));
        width += advance;
    }
    return static_cast<int>(std::lround(width * 1.3));
}

}  // namespace tl
