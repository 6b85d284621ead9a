// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/widgets.h"

#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QHash>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <optional>
#include <tuple>
#include <utility>

#include "platform/accessibility.h"
#include "platform/encoding.h"
#include "platform/window_fit.h"

namespace tl {

QMenu* addMenu(QMenuBar* bar, const char* name, const QString& caption) {
    QMenu* menu = bar->addMenu(caption);
    menu->setObjectName(name);
    // A screen reader names the menu as it opens.
    menu->setAccessibleName(labelName(caption));
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

namespace {

// The icons made so far. The style holds them (a style belongs to the
// application, or to a widget that was given one), so that they go with the
// style and before the platform that drew them: a static icon would outlive it.
class IconCache : public QObject {
  public:
    explicit IconCache(QStyle* style) : QObject(style) {}
    QHash<QString, QIcon> pictures;
    QHash<int, QIcon> standard;

    static IconCache& of(QStyle* style) {
        // By its C++ type: without a meta-object of its own, findChild would
        // take any child of the style for one (a wrapped style's base).
        for (QObject* child : style->children())
            if (auto* cache = dynamic_cast<IconCache*>(child)) return *cache;
        return *new IconCache(style);
    }
};

}  // namespace

QIcon pictureIcon(const QString& file) {
    if (file.isEmpty()) return QIcon();
    QHash<QString, QIcon>& pictures = IconCache::of(QApplication::style()).pictures;
    const auto found = pictures.constFind(file);
    if (found != pictures.constEnd()) return *found;
    return *pictures.insert(file, QIcon(file));
}

QIcon standardIcon(const QWidget* widget, QStyle::StandardPixmap pixmap) {
    QStyle* style = widget->style();
    QHash<int, QIcon>& standard = IconCache::of(style).standard;
    const auto found = standard.constFind(pixmap);
    if (found != standard.constEnd()) return *found;
    return *standard.insert(pixmap, style->standardIcon(pixmap));
}

QPushButton* pictureButton(QWidget* parent, const char* name, const char* picture,
                           const QString& tooltip, std::function<void()> onClick) {
    auto* button = new QPushButton(parent);
    button->setObjectName(name);
    button->setIcon(pictureIcon(picture));
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

void chainTabOrder(std::initializer_list<QWidget*> controls) {
    QWidget* previous = nullptr;
    for (QWidget* control : controls) {
        if (previous != nullptr) QWidget::setTabOrder(previous, control);
        previous = control;
    }
}

namespace {

// Escape on a menu bar that holds the keyboard (its menu closed) gives the
// keyboard back to the control that had it before F10.
class MenuBarReturn : public QObject {
  public:
    explicit MenuBarReturn(QMenuBar* bar) : QObject(bar), bar_(bar) {
        bar->installEventFilter(this);
    }
    QPointer<QWidget> before;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != bar_ || event->type() != QEvent::KeyPress ||
            static_cast<QKeyEvent*>(event)->key() != Qt::Key_Escape || before == nullptr)
            return false;
        // The toolkit's own handling leaves the bar in its keyboard mode.
        const QPointer<QWidget> back = std::exchange(before, nullptr);
        bar_->setActiveAction(nullptr);
        if (back->isVisible() && back->isEnabled()) back->setFocus(Qt::MenuBarFocusReason);
        return true;
    }

  private:
    QMenuBar* bar_;
};

}  // namespace

void openMenuBarOnF10(QMainWindow* window) {
    auto* key = new QShortcut(QKeySequence(Qt::Key_F10), window);
    auto* back = new MenuBarReturn(window->menuBar());
    QObject::connect(key, &QShortcut::activated, window, [window, back] {
        QMenuBar* bar = window->menuBar();
        QWidget* focus = QApplication::focusWidget();
        if (focus != nullptr && focus != bar && focus->window() == window) back->before = focus;
        for (QAction* title : bar->actions()) {
            if (title->isVisible() && title->isEnabled() && title->menu() != nullptr) {
                bar->setActiveAction(title);
                return;
            }
        }
    });
}

void onEscape(QWidget* window, std::function<void()> action) {
    auto* key = new QShortcut(QKeySequence(Qt::Key_Escape), window);
    QObject::connect(key, &QShortcut::activated, window, std::move(action));
}

namespace {

// Keeps a menu item enabled, and ticked for a check box, as its control is.
class InStep : public QObject {
  public:
    InStep(QAction* item, QAbstractButton* control) : QObject(control), item_(item) {
        item->setCheckable(true);
        item->setEnabled(control->isEnabled());
        control->installEventFilter(this);
        if (!control->isCheckable()) return;
        item->setChecked(control->isChecked());
        connect(control, &QAbstractButton::toggled, item, &QAction::setChecked);
        connect(item, &QAction::triggered, control, &QAbstractButton::setChecked);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::EnabledChange && !item_.isNull())
            item_->setEnabled(static_cast<QWidget*>(watched)->isEnabled());
        return false;
    }

  private:
    QPointer<QAction> item_;
};

}  // namespace

void keepInStep(QAction* item, QAbstractButton* control) {
    new InStep(item, control);
}

namespace {

// A title bar and thin borders, as most window managers draw them: the frame
// assumed until one has been measured.
constexpr FrameMargins kUsualFrame{2, 30, 2, 6};

// The frame last measured around one of the program's windows.
std::optional<FrameMargins> lastFrame;

// A window's frame in logical pixels. Under a fractional scale the toolkit
// rounds the frame, the window's size and its place each on its own, so every
// side of a frame is taken one pixel wider: the rounding cannot then put the
// frame's edge one device pixel beyond the screen's.
FrameMargins frameOf(const QWindow* handle) {
    const QMargins m = handle->frameMargins();
    const qreal ratio = handle->devicePixelRatio();
    const int pad = ratio == std::floor(ratio) ? 0 : 1;
    const auto side = [pad](int margin) { return margin > 0 ? margin + pad : 0; };
    return {side(m.left()), side(m.top()), side(m.right()), side(m.bottom())};
}

Extent toExtent(QSize size) {
    return {size.width(), size.height()};
}

// The size below which a window's controls do not fit.
Extent minimumOf(const QWidget* window) {
    return toExtent(window->minimumSize().expandedTo(window->minimumSizeHint()));
}

// A window's size and place on the screen. Until the window manager has framed
// the window its frame is not known: the window is fitted for a frame taken
// from another window or for the usual one, and fitted again once, as soon as
// it is exposed, for its real frame.
class ScreenFit : public QObject {
  public:
    static ScreenFit* of(QWidget* window) {
        for (QObject* child : window->children()) {
            if (auto* fit = dynamic_cast<ScreenFit*>(child)) return fit;
        }
        return new ScreenFit(window);
    }

    // Gives the window the designed size, or less, and puts its frame at `at`
    // (where it is now when there is none), all within the screen's free area.
    void fit(QSize designed, std::optional<QPoint> at) {
        const FrameMargins frame = this->frame();
        const QRect client = window_->geometry();
        Spot corner{client.x() - frame.left, client.y() - frame.top};
        if (at) {
            corner = {at->x(), at->y()};
        } else if (!framed_ && placed_) {
            // The window manager may not have caught up with the place given last.
            corner = *placed_;
        }
        designed_ = designed;
        apply(fitWindow(request(frame, corner)), frame);
    }

    // The frame the window has, or the one it is expected to get.
    FrameMargins frame() const { return framed_ ? realFrame() : assumedFrame(); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_ && event->type() == QEvent::Show) {
            watchHandle();
        } else if (watched == handle_ && !settled_ &&
                   (event->type() == QEvent::Expose || event->type() == QEvent::Move) &&
                   handle_->isExposed()) {
            framed_ = true;
            // After the event, so that the window has handled its exposure.
            QMetaObject::invokeMethod(
                this, [this] { refit(); }, Qt::QueuedConnection);
        }
        return false;
    }

  private:
    explicit ScreenFit(QWidget* window) : QObject(window), window_(window) {
        window->installEventFilter(this);
        watchHandle();
        framed_ = handle_ != nullptr && window->isVisible() && handle_->isExposed();
    }

    void watchHandle() {
        QWindow* handle = window_->windowHandle();
        if (handle == nullptr || handle == handle_) return;
        if (handle_ != nullptr) handle_->removeEventFilter(this);
        handle_ = handle;
        handle_->installEventFilter(this);
    }

    FrameMargins realFrame() const {
        return handle_ != nullptr ? frameOf(handle_) : FrameMargins{};
    }

    FrameMargins assumedFrame() const {
        if (lastFrame) return *lastFrame;
        for (const QWidget* other : QApplication::topLevelWidgets()) {
            const QWindow* handle = other->windowHandle();
            if (other != window_ && other->isVisible() && handle != nullptr &&
                handle->isExposed() && !handle->frameMargins().isNull())
                return frameOf(handle);
        }
        return kUsualFrame;
    }

    WindowRequest request(const FrameMargins& frame, Spot at) const {
        const QScreen* screen = window_->screen();
        const QRect free = screen != nullptr ? screen->availableGeometry() : QRect();
        return {toExtent(designed_), minimumOf(window_),
                Area{free.x(), free.y(), free.width(), free.height()}, frame, at};
    }

    // The window fitted again, once, for the frame the window manager gave it.
    // A window without a frame when it is first exposed may still get one.
    void refit() {
        const FrameMargins frame = realFrame();
        if (frame != FrameMargins{}) {
            lastFrame = frame;
            settled_ = true;
        }
        const Qt::WindowStates chosen =
            Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen;
        if (frame == assumed_ || !placed_ || (window_->windowState() & chosen)) return;
        apply(refitWindow(request(frame, *placed_), assumed_, client_), frame);
    }

    void apply(const WindowFit& fit, const FrameMargins& frame) {
        assumed_ = frame;
        placed_ = fit.frameAt;
        client_ = fit.client;
        if (window_->screen() == nullptr) {
            window_->resize(designed_.expandedTo(window_->minimumSizeHint()));
            return;
        }
        window_->setGeometry(fit.frameAt.x + frame.left, fit.frameAt.y + frame.top,
                             fit.client.width, fit.client.height);
    }

    QWidget* window_;
    QPointer<QWindow> handle_;
    bool framed_ = false;   // exposed: the frame is the window manager's
    bool settled_ = false;  // fitted for a frame measured around it
    QSize designed_;
    FrameMargins assumed_;
    std::optional<Spot> placed_;  // the frame's corner given last
    Extent client_;               // the client size given last
};

}  // namespace

void placeBeside(QWidget* window, const QWidget* owner) {
    window->adjustSize();
    ScreenFit* fit = ScreenFit::of(window);
    const FrameMargins frame = fit->frame();
    const QRect ownerFrame = owner->frameGeometry();
    const int outerWidth = window->width() + frame.left + frame.right;
    fit->fit(window->size(),
             QPoint(ownerFrame.x() + ownerFrame.width() - outerWidth - 24, ownerFrame.y() + 90));
}

void fitToScreen(QWidget* window, QSize designed) {
    ScreenFit::of(window)->fit(designed, std::nullopt);
}

void keepOnScreen(QWidget* window) {
    ScreenFit::of(window)->fit(window->size(), std::nullopt);
}

bool dialogRunning(const QWidget* window) {
    const QWidget* modal = QApplication::activeModalWidget();
    return modal != nullptr && modal != window;
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

namespace {

// The kept hints (size, minimum) by key; a session has a few dozen at most.
QHash<QString, std::pair<QSize, QSize>>& keptComboHints() {
    static QHash<QString, std::pair<QSize, QSize>> hints;
    return hints;
}

}  // namespace

KeptSizeCombo::KeptSizeCombo(QWidget* parent) : QComboBox(parent) {}

KeptSizeCombo::Settings KeptSizeCombo::settings() const {
    return {model(),
            count(),
            isEditable(),
            hasFrame(),
            iconSize(),
            minimumContentsLength(),
            sizeAdjustPolicy(),
            placeholderText()};
}

void KeptSizeCombo::forget() const {
    key_.clear();
    hint_ = {};
    minimumHint_ = {};
}

void KeptSizeCombo::changeEvent(QEvent* event) {
    forget();
    QComboBox::changeEvent(event);
}

QSize KeptSizeCombo::kept(bool minimum) const {
    const Settings now = settings();
    if (now != keyed_ || key_.isEmpty()) {
        forget();
        keyed_ = now;
        if (watched_ != now.model) {
            // A text changed in place leaves the count as it was.
            watched_ = now.model;
            auto* self = const_cast<KeptSizeCombo*>(this);
            connect(now.model, &QAbstractItemModel::dataChanged, self, [this] { forget(); });
            connect(now.model, &QAbstractItemModel::modelReset, self, [this] { forget(); });
            connect(now.model, &QAbstractItemModel::layoutChanged, self, [this] { forget(); });
        }
        // Editable lists are not kept: Qt measures them as their line edit comes.
        if (now.editable) return minimum ? QComboBox::minimumSizeHint() : QComboBox::sizeHint();
        QString key = font().key();
        key += QStringLiteral("|%1|%2|%3|%4|%5x%6|%7|%8|")
                   .arg(reinterpret_cast<quintptr>(style()))
                   .arg(logicalDpiY())
                   .arg(now.frame)
                   .arg(now.minimumContentsLength)
                   .arg(now.iconSize.width())
                   .arg(now.iconSize.height())
                   .arg(now.policy)
                   .arg(now.placeholder);
        QStringList items;
        for (int i = 0; i < now.count; ++i) {
            // Nor lists with icons.
            if (!itemIcon(i).isNull())
                return minimum ? QComboBox::minimumSizeHint() : QComboBox::sizeHint();
            items.append(itemText(i));
            key += items.back();
            key += QChar(0x1f);
        }
        auto found = keptComboHints().constFind(key);
        if (found == keptComboHints().constEnd()) {
            // Measured by a list made afresh: Qt keeps a list's minimum from
            // before its items changed.
            QComboBox fresh;
            fresh.setFont(font());
            if (style() != QApplication::style()) fresh.setStyle(style());
            if (!now.frame) fresh.setFrame(false);
            if (fresh.iconSize() != now.iconSize) fresh.setIconSize(now.iconSize);
            fresh.setMinimumContentsLength(now.minimumContentsLength);
            fresh.setSizeAdjustPolicy(static_cast<SizeAdjustPolicy>(now.policy));
            fresh.setPlaceholderText(now.placeholder);
            fresh.addItems(items);
            found = keptComboHints().insert(key, {fresh.sizeHint(), fresh.minimumSizeHint()});
        }
        std::tie(hint_, minimumHint_) = *found;
        key_ = key;
    }
    return minimum ? minimumHint_ : hint_;
}

QSize KeptSizeCombo::sizeHint() const {
    return kept(false);
}

QSize KeptSizeCombo::minimumSizeHint() const {
    return kept(true);
}

QColor buttonFace(const QWidget* widget) {
    return widget->palette().color(QPalette::Button);
}

void setListItems(QListWidget* list, const std::vector<std::string>& items, int rowHeight) {
    list->clear();
    if (items.empty()) return;
    list->addItem(toQString(items.front()));
    const int height = rowHeight > 0 ? rowHeight : list->sizeHintForRow(0);
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

bool screenIsSmall() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen != nullptr && screen->geometry().height() == 600;
}

}  // namespace tl
