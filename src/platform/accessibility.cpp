// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/accessibility.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QLabel>

namespace tl {

namespace {

// A drop-down list as screen readers see it: its own name, its current item
// as its value, its popup list as its child. The toolkit's own gives every
// list the current item as its name on this platform, so four lists standing
// on "All" would all be called "All".
class ComboBoxAccessible : public QAccessibleWidget {
  public:
    explicit ComboBoxAccessible(QComboBox* combo)
        : QAccessibleWidget(combo, QAccessible::ComboBox) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return combo()->currentText();
        if (t == QAccessible::Name) {
            const QString own = combo()->accessibleName();
            return own.isEmpty() ? combo()->currentText() : own;
        }
        return QAccessibleWidget::text(t);
    }
    int childCount() const override { return 1; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 ? QAccessible::queryAccessibleInterface(combo()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child != nullptr && child->object() == combo()->view() ? 0 : -1;
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
    // A screen reader reads a drop-down list's entry as the selected item of
    // its popup list, also while the list is closed.
    const auto mirror = [combo] {
        const QModelIndex entry = combo->model()->index(combo->currentIndex(), combo->modelColumn(),
                                                        combo->rootModelIndex());
        if (entry.isValid())
            combo->view()->selectionModel()->setCurrentIndex(entry,
                                                             QItemSelectionModel::ClearAndSelect);
    };
    QObject::connect(combo, &QComboBox::currentIndexChanged, combo, mirror);
    mirror();
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
