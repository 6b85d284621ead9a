// SPDX-License-Identifier: GPL-3.0-or-later

#include "entry/entry_widgets.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "entry/grid_rules.h"
#include "entry/learning_skills_text.h"
#include "platform/accessibility.h"
#include "platform/encoding.h"
#include "platform/kept_text.h"
#include "platform/widgets.h"

namespace tl {

MarkEditor::MarkEditor(QWidget* parent) : QLineEdit(parent) {
    setObjectName("txtDataEntry");
    nameControl(this, "Mark");
    setFrame(false);
    hide();
}

void MarkEditor::open(const QRect& cell, const QString& text) {
    setGeometry(cell);
    QLineEdit::show();
    raise();
    setFocus();
    keyPressedHere_ = false;
    setText(text);
    setCursorPosition(static_cast<int>(text.size()));
}

void MarkEditor::keyPressEvent(QKeyEvent* event) {
    keyPressedHere_ = true;
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit committed();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void MarkEditor::keyReleaseEvent(QKeyEvent* event) {
    QLineEdit::keyReleaseEvent(event);
    // The release of the key that opened the editor on the grid is not typed here.
    if (event->isAutoRepeat() || !keyPressedHere_) return;
    const int key = event->key();
    // A chord (Ctrl+I, Alt+U) and its Ctrl or Alt are commands, not typing.
    if ((event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) || key == Qt::Key_Control ||
        key == Qt::Key_Alt || key == Qt::Key_AltGr || key == Qt::Key_Meta)
        return;
    MarkKey group = MarkKey::Other;
    if (key == Qt::Key_I) {
        group = MarkKey::LetterI;
    } else if ((key >= Qt::Key_0 && key <= Qt::Key_9) || key == Qt::Key_Shift) {
        group = MarkKey::Digit;
    }
    const std::string before = fromQString(text());
    const std::string after = markEditorAfterKey(before, group);
    if (after == before) return;
    setText(toQString(after));
    setCursorPosition(static_cast<int>(after.size()));
}

DetailPanel::DetailPanel(QWidget* parent) : QFrame(parent) {
    setObjectName("Shape1");
    setFrameShape(QFrame::Box);
    auto* layout = new QVBoxLayout(this);
    layout->setSpacing(0);
    layout->setContentsMargins(6, 4, 6, 4);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const QByteArray name = "lblDetail" + QByteArray::number(static_cast<int>(i + 1));
        lines[i] = namedLabel(this, name.constData());
        lines[i]->setTextFormat(Qt::PlainText);
        lines[i]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        layout->addWidget(lines[i]);
    }
    fitFont(kLargestPointSize);
    freeFormLabel = new PanelButton(this);
    connect(freeFormLabel, &PanelButton::clicked, this, &DetailPanel::clicked);
}

void DetailPanel::fitFont(double pointSize) {
    QFont fixed("Courier New");
    fixed.setStyleHint(QFont::Monospace);
    fixed.setPointSizeF(pointSize);
    if (fixed == lines[0]->font()) return;
    const int lineHeight = QFontMetrics(fixed).lineSpacing();
    for (QLabel* line : lines) {
        line->setFont(fixed);
        line->setFixedHeight(lineHeight);
    }
}

void DetailPanel::showDetails(const DetailLines& details) {
    for (std::size_t i = 0; i < lines.size(); ++i)
        lines[i]->setText(toQString(details.lines[i]));
}

void DetailPanel::clearLines() {
    for (QLabel* line : lines)
        line->clear();
}

void DetailPanel::resizeEvent(QResizeEvent* event) {
    QFrame::resizeEvent(event);
    // The widest line (with course codes) stays whole: a narrow window gets a
    // smaller font, down to a size still easy to read.
    QFont probe = lines[0]->font();
    probe.setPointSizeF(kLargestPointSize);
    const int wanted = QFontMetrics(probe).horizontalAdvance(QString(kWidestLine, 'x'));
    const int room = contentsRect().width() - 12;
    const double fitted = kLargestPointSize * room / std::max(1, wanted);
    fitFont(std::clamp(std::floor(fitted * 4) / 4, kSmallestPointSize, kLargestPointSize));
    freeFormLabel->setGeometry(rect());
    freeFormLabel->raise();
}

namespace {

class PanelButtonAccessible : public QAccessibleWidget {
  public:
    explicit PanelButtonAccessible(PanelButton* button)
        : QAccessibleWidget(button, QAccessible::Button) {}
    QStringList actionNames() const override {
        return QStringList{pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action == pressAction()) {
            static_cast<PanelButton*>(widget())->press();
        } else {
            QAccessibleWidget::doAction(action);
        }
    }
};

QAccessibleInterface* panelButtonAccessible(const QString& key, QObject* object) {
    Q_UNUSED(key);
    auto* button = qobject_cast<PanelButton*>(object);
    return button == nullptr ? nullptr : new PanelButtonAccessible(button);
}

}  // namespace

PanelButton::PanelButton(QWidget* parent) : QLabel(parent) {
    static const bool installed = [] {
        QAccessible::installFactory(panelButtonAccessible);
        return true;
    }();
    Q_UNUSED(installed);
    setObjectName("lblFreeFormComment");
    setAttribute(Qt::WA_TranslucentBackground);
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::StrongFocus);
    setToolTip("Click to write a free-form comment for this student");
    setAccessibleName("Free-form comment");
    setAccessibleDescription("Enter or F2 writes a free-form comment for the current student");
}

void PanelButton::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_F2) &&
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
        press();
        return;
    }
    QLabel::keyPressEvent(event);
}

void PanelButton::mouseReleaseEvent(QMouseEvent* event) {
    Q_UNUSED(event);
    press();
}

void PanelButton::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (!hasFocus()) return;
    // The panel's own frame shows where the keyboard is.
    QPainter painter(this);
    QPen pen(palette().color(QPalette::Highlight));
    pen.setWidth(2);
    painter.setPen(pen);
    painter.drawRect(rect().adjusted(1, 1, -1, -1));
}

ListPanel::ListPanel(QWidget* parent) : QWidget(parent) {
    fileLabel = new ElidedLabel("Favourite List: ", this);
    fileLabel->setObjectName("lblFavouriteFile");
    favourites = new QListWidget(this);
    favourites->setObjectName("lstFavourites");
    nameControl(favourites, "Favourite List");
    favourites->setItemDelegate(new KeptTextItems(favourites));
    fileLabel->setBuddy(favourites);
    QFont listFont = favourites->font();
    listFont.setPointSize(10);
    favourites->setFont(listFont);
    favourites->setMinimumWidth(QFontMetrics(listFont).horizontalAdvance(QString(24, 'x')));
    learningSkills = new QListWidget(this);
    learningSkills->setObjectName("lstLearningSkills");
    nameControl(learningSkills, "Learning Skills");
    listFont.setPointSize(8);
    learningSkills->setFont(listFont);
    learningSkills->hide();
    switchButton = textButton(this, "cmdSwitchCommentSelection",
                              "&Add a Comment: Switch to Comment Selection Mode ", {});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(fileLabel);
    layout->addWidget(favourites, 1);
    layout->addWidget(learningSkills, 1);
    layout->addWidget(switchButton);
}

void ListPanel::showFavourites(const QString& file, const std::vector<std::string>& items) {
    fileLabel->setText("Favourite List: " + file);
    fileLabel->setBuddy(favourites);
    learningSkills->hide();
    favourites->show();
    setListItems(favourites, items);
}

void ListPanel::showLearningSkills() {
    fileLabel->setText("Learning Skills");
    fileLabel->setBuddy(learningSkills);
    favourites->hide();
    learningSkills->show();
    learningSkills->clear();
    for (const char* item : kLearningSkills)
        learningSkills->addItem(item);
}

}  // namespace tl
