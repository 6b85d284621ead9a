#include "entry/entry_widgets.h"

#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "entry/grid_rules.h"
#include "entry/learning_skills_text.h"
#include "platform/encoding.h"
#include "platform/widgets.h"

namespace tl {

MarkEditor::MarkEditor(QWidget* parent) : QLineEdit(parent) {
    setObjectName("txtDataEntry");
    setFrame(false);
    hide();
}

void MarkEditor::open(const QRect& cell, const QString& text) {
    setGeometry(cell);
    QLineEdit::show();
    raise();
    setFocus();
    setText(text);
    setCursorPosition(static_cast<int>(text.size()));
}

void MarkEditor::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit committed();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void MarkEditor::keyReleaseEvent(QKeyEvent* event) {
    QLineEdit::keyReleaseEvent(event);
    if (event->isAutoRepeat()) return;
    const int key = event->key();
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
    QFont fixed("Courier New");
    fixed.setPointSizeF(9.75);
    fixed.setStyleHint(QFont::Monospace);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const QByteArray name = "lblDetail" + QByteArray::number(static_cast<int>(i + 1));
        lines[i] = namedLabel(this, name.constData());
        lines[i]->setFont(fixed);
        lines[i]->setFixedHeight(16);  // 240 twips apart
        lines[i]->setTextFormat(Qt::PlainText);
        lines[i]->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        layout->addWidget(lines[i]);
    }
    // Room for the wider lines shown with course codes.
    setMinimumWidth(QFontMetrics(fixed).horizontalAdvance(QString(123, 'x')) + 16);
    freeFormLabel = namedLabel(this, "lblFreeFormComment");
    freeFormLabel->setAttribute(Qt::WA_TranslucentBackground);
    freeFormLabel->setCursor(Qt::PointingHandCursor);
    freeFormLabel->setToolTip("Click to write a free-form comment for this student");
    freeFormLabel->installEventFilter(this);
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
    freeFormLabel->setGeometry(rect());
    freeFormLabel->raise();
}

bool DetailPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == freeFormLabel && event->type() == QEvent::MouseButtonRelease) {
        emit clicked();
        return true;
    }
    return QFrame::eventFilter(watched, event);
}

ListPanel::ListPanel(QWidget* parent) : QWidget(parent) {
    fileLabel = namedLabel(this, "lblFavouriteFile", "Favourite List: ");
    // A long path must not widen the list beside the grid.
    fileLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    favourites = new QListWidget(this);
    favourites->setObjectName("lstFavourites");
    favourites->setMinimumWidth(280);
    QFont listFont = favourites->font();
    listFont.setPointSize(10);
    favourites->setFont(listFont);
    learningSkills = new QListWidget(this);
    learningSkills->setObjectName("lstLearningSkills");
    listFont.setPointSize(8);
    learningSkills->setFont(listFont);
    learningSkills->hide();
    switchButton = textButton(this, "cmdSwitchCommentSelection",
                              "Add a Comment: Switch to Comment Selection Mode ", {});
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(fileLabel);
    layout->addWidget(favourites, 1);
    layout->addWidget(learningSkills, 1);
    layout->addWidget(switchButton);
}

void ListPanel::showFavourites(const QString& file, const std::vector<std::string>& items) {
    fileLabel->setText("Favourite List: " + file);
    learningSkills->hide();
    favourites->show();
    favourites->clear();
    for (const std::string& item : items)
        favourites->addItem(toQString(item));
}

void ListPanel::showLearningSkills() {
    fileLabel->setText("Learning Skills");
    favourites->hide();
    learningSkills->show();
    learningSkills->clear();
    for (const char* item : kLearningSkills)
        learningSkills->addItem(item);
}

}  // namespace tl
