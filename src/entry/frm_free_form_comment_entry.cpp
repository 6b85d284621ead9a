// SPDX-License-Identifier: GPL-3.0-or-later

#include "entry/frm_free_form_comment_entry.h"

#include <QContextMenuEvent>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QVBoxLayout>
#include <algorithm>

#include "core/comment_text.h"
#include "core/limits.h"
#include "core/messages.h"
#include "core/pronouns.h"
#include "core/workspace.h"
#include "platform/accessibility.h"
#include "platform/encoding.h"
#include "platform/prompts.h"
#include "platform/widgets.h"

namespace tl {

namespace {
constexpr int kMostSuggestions = 5;

// The words that storing the comment changes, as the office will get them:
// "Will be sent as: élève → l ve, naïve → na ve", five at most; "" when
// nothing changes.
QString willChangeText(const QString& text) {
    constexpr int kMostShown = 5;
    QStringList changed;
    int more = 0;
    QStringList seen;
    for (const QString& word : text.split(QRegularExpression("\\s+"), Qt::SkipEmptyParts)) {
        if (seen.contains(word)) continue;
        seen << word;
        const QString stored = toQString(sanitizeFreeForm(fromQString(word)));
        if (stored == word) continue;
        if (changed.size() < kMostShown) {
            changed << word + QString::fromUtf8(" \u2192 ") + stored.trimmed();
        } else {
            ++more;
        }
    }
    if (changed.isEmpty()) return QString();
    QString shown = "Will be sent as: " + changed.join(", ");
    if (more > 0) shown += QString(" and %1 more").arg(more);
    return shown;
}

QLabel* wrappedLabel(QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    return label;
}
}  // namespace

frmFreeFormCommentEntry::frmFreeFormCommentEntry(const Workspace& ws, Prompts& prompts,
                                                 QWidget* parent, const SpellingFolders& spelling)
    : QDialog(parent), ws_(ws), prompts_(prompts) {
    setObjectName("frmFreeFormCommentEntry");
    setWindowTitle("Free Form Comment Entry");
    setModal(true);

    lblStudent = wrappedLabel(this, "lblStudent", QString());
    Label1 = wrappedLabel(this, "Label1", "You can edit and change the comment here.");
    QFont heading = Label1->font();
    heading.setBold(true);
    lblStudent->setFont(heading);
    Label1->setFont(heading);
    txtComment = new QPlainTextEdit(this);
    txtComment->setObjectName("txtComment");
    nameControl(txtComment, "Free-form comment");
    Label1->setBuddy(txtComment);
    txtComment->setMinimumSize(560, 170);
    // Tab goes on to the buttons instead of typing a tab.
    txtComment->setTabChangesFocus(true);
    lblLength = wrappedLabel(this, "lblLength", "Length: 0/460");
    lblWillChange = wrappedLabel(this, "lblWillChange", QString());
    cmdOkay = new QPushButton("&Okay: Take the Above Text as the Free Form Comment", this);
    cmdOkay->setObjectName("cmdOkay");
    cmdCancel = new QPushButton("&Cancel: Return to the Normal Coded Comment Mode", this);
    cmdCancel->setObjectName("cmdCancel");
    cmdOkay->setAutoDefault(false);
    cmdCancel->setAutoDefault(false);
    Label2 = wrappedLabel(this, "Label2",
                          "Note of caution: Using the codes is \"safe\" in the sense that the "
                          "comments are grammatically correct and spell checked (mostly). Here you "
                          "can write ANYTHING. There is no checking: no spell check, no grammar "
                          "check, no 'does it make sense' check.  ");
    Label3 = wrappedLabel(this, "Label3",
                          "Be careful that you don't write something that on a sober second "
                          "thought you'd wish you hadn't written. The creators of TL will not be "
                          "held libel for the things you might write :-)");
    Label4 = wrappedLabel(this, "Label4",
                          "Once you change the comment and hit \"Okay\" all your existing comment "
                          "codes for this student disappear. (You can't have both at the same "
                          "time, some coded comments and some free form comments). It's all one "
                          "or the other. ");
    Label5 = wrappedLabel(this, "Label5",
                          "If you do decide to return to the original coded comments for this "
                          "student hit the Cancel button.");
    Label6 = wrappedLabel(this, "Label6",
                          "Note: Only letters A through Z, numbers 0 through 9 and standard "
                          "sentence punctuation are valid.  Invalid characters like carriage "
                          "returns, hard returns and shifted characters like ^ will be removed.");
    QPalette warn = Label2->palette();
    warn.setColor(QPalette::WindowText, kWarningColour);
    Label2->setPalette(warn);
    Label3->setPalette(warn);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdOkay);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblStudent);
    layout->addWidget(Label1);
    layout->addWidget(txtComment, 1);
    layout->addWidget(lblLength);
    layout->addWidget(lblWillChange);
    layout->addLayout(buttons);
    for (QLabel* label : {Label2, Label3, Label4, Label5, Label6})
        layout->addWidget(label);
    resize(640, 520);
    chainTabOrder({txtComment, cmdOkay, cmdCancel});

    // The program's dictionary takes the class's words: the they-forms made
    // with it are made first, so that they stay the same for every teacher.
    if (spelling.shared) prepareTheyForms(ws_.phrases);
    if (auto checker = Spelling::open(spelling)) {
        checker->addKnownWords(ws_.students(), ws_.phrases);
        highlighter_ = new SpellingHighlighter(txtComment->document(), std::move(checker));
        txtComment->installEventFilter(this);
        txtComment->viewport()->installEventFilter(this);
        Label2->setText(
            "Note of caution: Using the codes is \"safe\" in the sense that the comments are "
            "grammatically correct and spell checked (mostly). Here you can write ANYTHING. "
            "Underlined words are not in the dictionary; there is no grammar check, no 'does it "
            "make sense' check.  ");
    }

    // Escape and the close box reject the dialog, which leaves the student as
    // it was; Okay and Cancel accept it.
    connect(txtComment, &QPlainTextEdit::textChanged, this,
            &frmFreeFormCommentEntry::txtComment_Change);
    connect(cmdOkay, &QPushButton::clicked, this, &frmFreeFormCommentEntry::cmdOkay_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmFreeFormCommentEntry::cmdCancel_Click);
}

void frmFreeFormCommentEntry::txtComment_Change() {
    QString text = txtComment->toPlainText();
    if (text.size() > kCommentLimit) {
        text.truncate(kCommentLimit);
        const QSignalBlocker block(txtComment);
        txtComment->setPlainText(text);
        txtComment->moveCursor(QTextCursor::End);
    }
    lblLength->setText(QString("Length: %1/%2").arg(text.size()).arg(kCommentLimit));
    lblWillChange->setText(willChangeText(text));
}

void frmFreeFormCommentEntry::cmdOkay_Click() {
    const QString text = txtComment->toPlainText();
    if (text.trimmed().isEmpty() &&
        !prompts_.askYesNo("An empty comment will restore coded comments. Is this what you want?",
                           "Blank Comment")) {
        return;
    }
    draft_ = fromQString(text);
    accept();
}

void frmFreeFormCommentEntry::cmdCancel_Click() {
    // Back to the coded comments: a decision, unlike Escape.
    draft_.clear();
    accept();
}

void frmFreeFormCommentEntry::setComment(const QString& text) {
    txtComment->setPlainText(text);
}

void frmFreeFormCommentEntry::setStudent(const QString& student) {
    lblStudent->setText(student);
}

bool frmFreeFormCommentEntry::eventFilter(QObject* watched, QEvent* event) {
    QWidget* viewport = txtComment->viewport();
    if (highlighter_ == nullptr || (watched != txtComment && watched != viewport))
        return QDialog::eventFilter(watched, event);
    bool byKeyboard = false;
    if (event->type() == QEvent::ContextMenu) {
        const auto* menuEvent = static_cast<QContextMenuEvent*>(event);
        if (menuEvent->reason() == QContextMenuEvent::Mouse) {
            const QPoint at = watched == viewport ? menuEvent->pos()
                                                  : viewport->mapFrom(txtComment, menuEvent->pos());
            QTextCursor cursor = txtComment->cursorForPosition(at);
            const QRect line = txtComment->cursorRect(cursor);
            if (at.y() < line.top() || at.y() > line.bottom()) cursor = {};  // below the text
            showSpellingMenu(cursor, menuEvent->globalPos());
            return true;
        }
        byKeyboard = true;
    } else if (event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        byKeyboard = key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier;
    }
    if (!byKeyboard) return QDialog::eventFilter(watched, event);
    // The menu key and Shift+F10 open the menu at the caret.
    showSpellingMenu(txtComment->textCursor(),
                     viewport->mapToGlobal(txtComment->cursorRect().bottomLeft()));
    return true;
}

void frmFreeFormCommentEntry::showSpellingMenu(QTextCursor at, const QPoint& globalPos) {
    std::unique_ptr<QMenu> menu(txtComment->createStandardContextMenu());
    menu->setObjectName("mnuSpelling");
    Spelling& spelling = highlighter_->spelling();
    const QTextBlock block = at.block();
    const QString text = block.text();
    const qsizetype caret = at.positionInBlock();
    const QList<WordSpan> words = Spelling::words(text);
    const auto w = std::find_if(words.begin(), words.end(), [caret](const WordSpan& span) {
        return caret >= span.start && caret <= span.start + span.length;
    });
    const QString word = w == words.end() ? QString() : text.mid(w->start, w->length);
    if (!word.isEmpty() && !spelling.isKnown(word)) {
        QTextCursor span(block);
        span.setPosition(block.position() + static_cast<int>(w->start));
        span.setPosition(span.position() + static_cast<int>(w->length), QTextCursor::KeepAnchor);
        QAction* standard = menu->actions().value(0);
        int offered = 0;
        for (const QString& suggestion : spelling.suggestions(word)) {
            if (offered == kMostSuggestions) break;
            // Only what the stored comment keeps as it is: it blanks accents and hyphens.
            const std::string stored = fromQString(suggestion);
            if (sanitizeFreeForm(stored) != stored) continue;
            auto* use = new QAction(suggestion, menu.get());
            connect(use, &QAction::triggered, this, [this, span, suggestion]() mutable {
                span.insertText(suggestion);
                txtComment->setTextCursor(span);
            });
            menu->insertAction(standard, use);
            ++offered;
        }
        if (offered == 0) {
            auto* none = new QAction("No Suggestions", menu.get());
            none->setEnabled(false);
            menu->insertAction(standard, none);
        }
        if (spelling.canAddToWordList(word)) {
            auto* add = new QAction("&Add to Dictionary", menu.get());
            connect(add, &QAction::triggered, this, [this, word]() {
                Spelling& checker = highlighter_->spelling();
                if (!checker.addToWordList(word)) {
                    prompts_.message(msg::tl22WordListNotSaved(
                        fromQString(QDir::toNativeSeparators(checker.wordListPath()))));
                }
                highlighter_->rehighlight();
            });
            menu->insertAction(standard, add);
        }
        menu->insertSeparator(standard);
    }
    menu->exec(globalPos);
}

}  // namespace tl
