// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/accessibility.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QLabel>
#include <algorithm>

namespace tl {

namespace {

// A drop-down list as screen readers see it: its own name, and its current
// entry as its value and as its text, which is where a screen reader reads a
// drop-down list's entry (the toolkit gives this platform's readers no
// selection of the popup list). The toolkit's own gives every list the
// current item as its name, so four lists standing on "All" would all be
// called "All". The popup list, a window of its own while open, is no child.
class ComboBoxAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
  public:
    explicit ComboBoxAccessible(QComboBox* combo)
        : QAccessibleWidget(combo, QAccessible::ComboBox) {}

    void* interface_cast(QAccessible::InterfaceType t) override {
        if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(t);
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return combo()->currentText();
        if (t == QAccessible::Name) {
            const QString own = combo()->accessibleName();
            return own.isEmpty() ? combo()->currentText() : own;
        }
        return QAccessibleWidget::text(t);
    }
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int index) const override {
        Q_UNUSED(index);
        return nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        Q_UNUSED(child);
        return -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        Q_UNUSED(x);
        Q_UNUSED(y);
        return nullptr;
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.expandable = true;
        s.expanded = combo()->view()->isVisible();
        s.collapsed = !s.expanded;
        return s;
    }
    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }
    void doAction(const QString& action) override {
        if (action != showMenuAction() && action != pressAction()) return;
        if (combo()->view()->isVisible()) {
            combo()->hidePopup();
        } else {
            combo()->showPopup();
        }
    }
    QStringList keyBindingsForAction(const QString& action) const override {
        Q_UNUSED(action);
        return {};
    }

    // The current entry as read-only text.
    QString text(int startOffset, int endOffset) const override {
        const QString entry = combo()->currentText();
        startOffset = std::clamp(startOffset, 0, int(entry.size()));
        endOffset = endOffset < 0 ? int(entry.size())
                                  : std::clamp(endOffset, startOffset, int(entry.size()));
        return entry.mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return int(combo()->currentText().size()); }
    void selection(int selectionIndex, int* startOffset, int* endOffset) const override {
        Q_UNUSED(selectionIndex);
        *startOffset = 0;
        *endOffset = 0;
    }
    int selectionCount() const override { return 0; }
    void addSelection(int startOffset, int endOffset) override {
        Q_UNUSED(startOffset);
        Q_UNUSED(endOffset);
    }
    void removeSelection(int selectionIndex) override { Q_UNUSED(selectionIndex); }
    void setSelection(int selectionIndex, int startOffset, int endOffset) override {
        Q_UNUSED(selectionIndex);
        Q_UNUSED(startOffset);
        Q_UNUSED(endOffset);
    }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int position) override { Q_UNUSED(position); }
    QRect characterRect(int offset) const override {
        Q_UNUSED(offset);
        return {};
    }
    int offsetAtPoint(const QPoint& point) const override {
        Q_UNUSED(point);
        return -1;
    }
    void scrollToSubstring(int startIndex, int endIndex) override {
        Q_UNUSED(startIndex);
        Q_UNUSED(endIndex);
    }
    QString attributes(int offset, int* startOffset, int* endOffset) const override {
        Q_UNUSED(offset);
        *startOffset = 0;
        *endOffset = characterCount();
        return {};
    }

  private:
    QComboBox* combo() const { return static_cast<QComboBox*>(widget()); }
};

// An announcer as a screen reader sees it: a notification named by its text.
class AnnouncerAccessible : public QAccessibleWidget {
  public:
    explicit AnnouncerAccessible(QWidget* widget)
        : QAccessibleWidget(widget, QAccessible::Notification) {}
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? static_cast<QLabel*>(widget())->text() : QString();
    }
};

QAccessibleInterface* announcerAccessible(const QString& key, QObject* object) {
    Q_UNUSED(key);
    auto* announcer = dynamic_cast<Announcer*>(object);
    return announcer != nullptr ? new AnnouncerAccessible(announcer) : nullptr;
}

QAccessibleInterface* comboBoxAccessible(const QString& key, QObject* object) {
    Q_UNUSED(key);
    // Plain drop-down lists only; a box the teacher types into keeps the toolkit's.
    auto* combo = qobject_cast<QComboBox*>(object);
    if (combo == nullptr || combo->metaObject() != &QComboBox::staticMetaObject ||
        combo->isEditable())
        return nullptr;
    return new ComboBoxAccessible(combo);
}

}  // namespace

void nameControl(QWidget* control, const QString& name) {
    static const bool installed = [] {
        QAccessible::installFactory(comboBoxAccessible);
        return true;
    }();
    Q_UNUSED(installed);
    control->setAccessibleName(name);
    auto* combo = qobject_cast<QComboBox*>(control);
    if (combo == nullptr || combo->isEditable()) return;
    // An entry chosen with the list closed (the arrows) is said as it changes.
    auto* announcer = new Announcer(combo);
    QObject::connect(combo, &QComboBox::currentIndexChanged, announcer, [combo, announcer] {
        if (combo->hasFocus() && !combo->view()->isVisible()) announcer->say(combo->currentText());
    });
}

Announcer::Announcer(QWidget* parent) : QLabel(parent) {
    static const bool installed = [] {
        QAccessible::installFactory(announcerAccessible);
        return true;
    }();
    Q_UNUSED(installed);
    setObjectName("announcer");
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(0, 0, 1, 1);
    hide();
}

void Announcer::say(const QString& text) {
    if (text.isEmpty() || !screenReaderListening()) return;
    setText(text);
    // Shown anew, so that the same text twice is said twice.
    hide();
    show();
}

void Announcer::paintEvent(QPaintEvent* event) {
    Q_UNUSED(event);
}

bool screenReaderListening() {
    if (QAccessible::isActive()) return true;
    // The handler that replaces the platform's, which a test installs.
    const QAccessible::UpdateHandler handler = QAccessible::installUpdateHandler(nullptr);
    QAccessible::installUpdateHandler(handler);
    return handler != nullptr;
}

QString labelName(const QString& text) {
    QString name;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) ++i;
        name += text[i];
    }
    name = name.trimmed();
    if (name.endsWith(':')) name.chop(1);
    return name.trimmed();
}

void nameByLabel(QLabel* label, QWidget* control) {
    label->setBuddy(control);
    nameControl(control, labelName(label->text()));
}

}  // namespace tl
