// Editing the class in the main window's grid: the mark editor, the auto
// fill, learning skills, flags, stamping comment codes, the skills view and
// free-form comments.
#include <QCheckBox>
#include <QCursor>
#include <QEvent>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>

#include "core/comment_text.h"
#include "core/text.h"
#include "core/workspace.h"
#include "entry/frm_entry.h"
#include "entry/frm_free_form_comment_entry.h"
#include "entry/grid_rules.h"
#include "platform/encoding.h"
#include "platform/flex_grid.h"
#include "platform/prompts.h"

namespace tl {

namespace {

constexpr int kMarkCol = 3;
constexpr int kFirstComment = 4;
constexpr int kLastComment = 8;
constexpr int kFirstSkill = 9;
constexpr int kLastSkill = 14;
constexpr int kFirstFlag = 15;
constexpr int kLastFlag = 18;
constexpr int kCommentWidth = 35;
constexpr int kSkillWidth = 19;
const QColor kPickedColour(110, 150, 210);
const char* const kBlankCode = "    ";

bool isComment(int c) {
    return c >= kFirstComment && c <= kLastComment;
}
bool isSkill(int c) {
    return c >= kFirstSkill && c <= kLastSkill;
}
bool isFlag(int c) {
    return c >= kFirstFlag && c <= kLastFlag;
}

const char* const kLearningSkills[39] = {
    "1 (Needs Improvement)   2 (Satisfactory)   3 (Good)   4 (Excellent)",
    " ",
    "R   Responsibility - The student:",
    "     - fulfils responsibilities and commitments within the learning environment;",
    "     - completes classwork, homework and assignments according to agreed-upon timelines;",
    "     - takes responsibility for and manages own behaviour.",
    "O   Organization - The student:",
    "     - devises and follows a plan and process for completing work and tasks;",
    "     - establishes priorities and manages time to complete tasks and achieve goals;",
    "     - identifies, gathers, evaluates, and uses info and resources to complete tasks.",
    "W   Independent Work - The student:",
    "     - independently monitors, assesses/revises plans to complete tasks and meet goals;",
    "     - uses class time appropriately to complete tasks;",
    "     - follows instructions with minimal supervision.",
    "C   Collaboration - The student:",
    "     - accepts various roles and an equitable share of work in a group;",
    "     - responds positively to the ideas, opinions, values, and traditions of others;",
    "     - builds healthy peer relationships through personal/media-assisted interactions;",
    "     - works with others to resolve conflicts and build consensus to achieve group goals;",
    "     - shares information, resources, and expertise and promotes critical thinking",
    "       to solve problems and make decisions.",
    "I    Initiative - The student:",
    "     - looks for and acts on new ideas and opportunities for learning;",
    "     - demonstrates the capacity for innovation and a willingness to take risks;",
    "     - demonstrates curiosity and interest in learning;",
    "     - approaches new tasks with a positive attitude;",
    "     - recognizes and advocates appropriately for the rights of self and others.",
    "S   Self-Regulation - The student:",
    "     - sets own individual goals and monitors progress towards achieving them;",
    "     - seeks clarification or assistance when needed;",
    "     - assesses and reflects critically on own strengths, needs, and interests;",
    "     - identifies learning opportunities, choices, and strategies to meet personal",
    "       needs and achieve goals;",
    "     - perseveres and makes an effort when responding to challenges.",
    " ",
    "P    IEP  (left click on this Heading to turn ALL off, right click to turn ALL on)",
    "E    ESL  (only one ESL xor ELD flag per student is permitted by Trillium)",
    "D    ELD                                   \"",
    "T    Teacher Interview Requested           \""};

}  // namespace

void frmEntry::buildEditing() {
    txtDataEntry = new QLineEdit(msfgClass);
    txtDataEntry->setObjectName("txtDataEntry");
    txtDataEntry->setFrame(false);
    txtDataEntry->hide();
    txtDataEntry->installEventFilter(this);

    connect(msfgClass, &FlexGrid::keyPress, this, &frmEntry::msfgClass_KeyPress);
    connect(msfgClass, &FlexGrid::mouseUp, this, &frmEntry::msfgClass_MouseUp);
    connect(msfgClass, &FlexGrid::click, this, &frmEntry::msfgClass_Click);
    connect(msfgClass, &FlexGrid::mouseMove, this, &frmEntry::msfgClass_MouseMove);
    connect(lstFavourites, &QListWidget::itemClicked, this, &frmEntry::lstFavourites_Click);
    connect(lstFavourites, &QListWidget::currentRowChanged, this, [this](int row) {
        // Emptying the list to refill it is no click: a picked code stays.
        if (row >= 0) lstFavourites_Click();
    });
    connect(cmdSwitch, &QPushButton::clicked, this, &frmEntry::cmdSwitch_Click);
    cmdSwitch->setEnabled(true);

    // The transparent label over the detail panel takes its clicks.
    lblFreeFormComment->setCursor(Qt::PointingHandCursor);
    lblFreeFormComment->setToolTip("Click to write a free-form comment for this student");
    lblFreeFormComment->installEventFilter(this);
    Shape1->installEventFilter(this);

    QFont listFont = lstLearningSkills->font();
    listFont.setPointSize(8);
    lstLearningSkills->setFont(listFont);
}

bool frmEntry::eventFilter(QObject* watched, QEvent* event) {
    if (watched == txtDataEntry) {
        if (event->type() == QEvent::KeyPress) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                commitMarkEntry();
                return true;
            }
        } else if (event->type() == QEvent::KeyRelease) {
            const auto* key = static_cast<QKeyEvent*>(event);
            if (!key->isAutoRepeat()) txtDataEntry_KeyUp(key->key(), key->modifiers());
        }
    } else if (watched == Shape1 && event->type() == QEvent::Resize) {
        lblFreeFormComment->setGeometry(Shape1->rect());
        lblFreeFormComment->raise();
    } else if (watched == lblFreeFormComment && event->type() == QEvent::MouseButtonRelease) {
        freeFormCommand();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

QString frmEntry::cellText(int row, int col) const {
    return msfgClass->textMatrix(row, col);
}

bool frmEntry::commentsView() const {
    return msfgClass->colWidth(kFirstComment) == kCommentWidth;
}

void frmEntry::msfgClass_KeyPress(int charCode) {
    if (ws_.studentCount() < 1 || msfgClass->row() < 1 || msfgClass->col() != kMarkCol) return;
    QString text = toQString(markEditorOpening(charCode));
    if (charCode == 13) {
        text.clear();
        if (leaveCellEnabled) msfgClass_LeaveCell();
    }
    txtDataEntry->setGeometry(msfgClass->cellGeometry(msfgClass->row(), kMarkCol));
    txtDataEntry->show();
    txtDataEntry->raise();
    txtDataEntry->setFocus();
    txtDataEntry->setText(text);
    txtDataEntry->setCursorPosition(static_cast<int>(text.size()));
}

void frmEntry::txtDataEntry_KeyUp(int key, Qt::KeyboardModifiers modifiers) {
    Q_UNUSED(modifiers);
    MarkKey group = MarkKey::Other;
    if (key == Qt::Key_I) {
        group = MarkKey::LetterI;
    } else if ((key >= Qt::Key_0 && key <= Qt::Key_9) || key == Qt::Key_Shift) {
        group = MarkKey::Digit;
    }
    const std::string before = fromQString(txtDataEntry->text());
    const std::string after = markEditorAfterKey(before, group);
    if (after == before) return;
    txtDataEntry->setText(toQString(after));
    txtDataEntry->setCursorPosition(static_cast<int>(after.size()));
}

void frmEntry::commitMarkEntry() {
    if (txtDataEntry->isHidden()) return;
    const int r = msfgClass->row();
    const QString text = txtDataEntry->text();
    if (!text.isEmpty() && r >= 1 && r <= ws_.studentCount()) {
        msfgClass->setTextMatrix(r, kMarkCol, text);
        pushUndo(r - 1);
        if (optAutoFill->isChecked()) autoFill(r);
        ws_.students[r - 1].mark = fromQString(cellText(r, kMarkCol));
        displayDetails(r - 1);
    }
    txtDataEntry->hide();
    const int next = r >= msfgClass->rows() - 1 ? 1 : r + 1;
    msfgClass->setCurrentCell(next, kMarkCol);
    msfgClass->setFocus();
}

void frmEntry::autoFill(int row) {
    const int k = findAutoFillRange(ws_.initialValues, fromQString(cellText(row, kMarkCol)));
    if (k < 0) return;
    const InitialValueRange& range = ws_.initialValues[k];
    StudentRecord& student = ws_.students[row - 1];
    enterCellEnabled = false;
    leaveCellEnabled = false;
    if (cellText(row, 4).isEmpty() && cellText(row, 5).isEmpty() && cellText(row, 6).isEmpty()) {
        for (int i = 0; i < 3; ++i) {
            msfgClass->setTextMatrix(row, kFirstComment + i, toQString(range.codes[i]));
            msfgClass->setCellForeColor(row, kFirstComment + i, Qt::red);
            student.comments[i] = range.codes[i];
        }
    }
    std::vector<std::string> skills;
    for (int c = kFirstSkill; c <= kLastSkill; ++c)
        skills.push_back(fromQString(cellText(row, c)));
    if (skillsAllThree(skills)) {
        for (int i = 0; i < 6; ++i) {
            msfgClass->setTextMatrix(row, kFirstSkill + i, toQString(range.skills[i]));
            msfgClass->setCellForeColor(row, kFirstSkill + i, Qt::red);
            student.skills[i] = range.skills[i];
        }
    }
    enterCellEnabled = true;
    leaveCellEnabled = true;
}

void frmEntry::msfgClass_MouseUp(Qt::MouseButton button, int x, int y) {
    Q_UNUSED(x);
    Q_UNUSED(y);
    if (ws_.studentCount() < 1) return;
    const int r = msfgClass->mouseRow();
    const int c = msfgClass->mouseCol();
    if (r >= 1 && r <= ws_.studentCount() && isSkill(c)) {
        skillMouseUp(r, c, button);
    } else if (r == 0 && isFlag(c)) {
        flagHeaderMouseUp(c, button);
    } else if (r >= 1 && r <= ws_.studentCount() && isComment(c)) {
        commentMouseUp(r, c, button);
    }
}

void frmEntry::skillMouseUp(int r, int c, Qt::MouseButton button) {
    if (button != Qt::LeftButton && button != Qt::RightButton) return;
    const std::string value = nextSkillValue(fromQString(cellText(r, c)), button == Qt::LeftButton);
    msfgClass->setTextMatrix(r, c, toQString(value));
    msfgClass->setCurrentCell(r, c);
    msfgClass->setCellForeColor(r, c, Qt::black);
    pushUndo(r - 1);
    for (int i = 0; i < 6; ++i) {
        ws_.students[r - 1].skills[i] = fromQString(cellText(r, kFirstSkill + i));
    }
    displayDetails(r - 1);
}

void frmEntry::flagHeaderMouseUp(int c, Qt::MouseButton button) {
    const std::string v = button == Qt::RightButton ? "Y" : "";
    const QString cell = toQString(v);
    for (int i = 0; i < ws_.studentCount(); ++i) {
        StudentRecord& s = ws_.students[i];
        switch (c) {
            case 15:
                s.iep = v;
                break;
            case 16:
                s.esl = v;
                s.eld.clear();
                msfgClass->setTextMatrix(i + 1, 17, QString());
                break;
            case 17:
                s.eld = v;
                s.esl.clear();
                msfgClass->setTextMatrix(i + 1, 16, QString());
                break;
            default:
                s.interview = v;
                break;
        }
        msfgClass->setTextMatrix(i + 1, c, cell);
    }
}

QString frmEntry::codeToStamp() const {
    if (!pickedCode.isEmpty()) return pickedCode;
    const QListWidgetItem* item = lstFavourites->currentItem();
    if (item == nullptr || !item->isSelected() || lstFavourites->isHidden()) return QString();
    return item->text().left(4).leftJustified(4, ' ');
}

void frmEntry::cancelPickedCode() {
    if (pickedCode.isEmpty()) return;
    msfgClass->setCellBackColor(pickedRow, pickedCol, Qt::white);
    pickedCode.clear();
    pickedRow = -1;
    pickedCol = -1;
}

void frmEntry::commentMouseUp(int r, int c, Qt::MouseButton button) {
    // A free-form student's cells show words, not codes: nothing to stamp or pick up.
    if (ws_.students[r - 1].freeFormUsed) return;
    if (button == Qt::RightButton) {
        cancelPickedCode();
        const QString cell = cellText(r, c);
        if (isEmptyCode(fromQString(cell))) {
            lstFavourites->setCurrentRow(lstFavourites->count() - 1);
        } else {
            int found = -1;
            for (int i = 0; i < lstFavourites->count(); ++i) {
                if (lstFavourites->item(i)->text().left(4) == cell) {
                    found = i;
                    break;
                }
            }
            if (found >= 0) {
                lstFavourites->setCurrentRow(found);
            } else {
                lstFavourites->clearSelection();
                msfgClass->setCurrentCell(r, c);
                msfgClass->setCellBackColor(r, c, kPickedColour);
                pickedCode = cell;
                pickedRow = r;
                pickedCol = c;
            }
        }
    }
    const QString code = codeToStamp();
    if (code.isEmpty()) return;
    if (button == Qt::LeftButton) {
        if (code != kBlankCode) {
            // A code moves within a student instead of being duplicated.
            for (int k = kFirstComment; k <= kLastComment; ++k) {
                if (k != c && cellText(r, k) == code) msfgClass->setTextMatrix(r, k, QString());
            }
        }
        msfgClass->setTextMatrix(r, c, code);
    }
    msfgClass->setCurrentCell(r, c);
    msfgClass->setCellForeColor(r, c, Qt::black);
}

void frmEntry::storeRowCells(int r) {
    StudentRecord& s = ws_.students[r - 1];
    if (!s.freeFormUsed) {
        for (int i = 0; i < 5; ++i)
            s.comments[i] = fromQString(cellText(r, kFirstComment + i));
    }
    s.iep = fromQString(cellText(r, 15));
    s.esl = fromQString(cellText(r, 16));
    s.eld = fromQString(cellText(r, 17));
    s.interview = fromQString(cellText(r, 18));
}

void frmEntry::msfgClass_Click() {
    const int r = msfgClass->mouseRow();
    const int c = msfgClass->mouseCol();
    if (r < 1 || r > ws_.studentCount()) return;
    if (isFlag(c)) {
        msfgClass->setTextMatrix(r, c, cellText(r, c).isEmpty() ? "Y" : "");
        if (c == 16) msfgClass->setTextMatrix(r, 17, QString());
        if (c == 17) msfgClass->setTextMatrix(r, 16, QString());
    }
    if (!isComment(c) && !isFlag(c)) return;
    if (isComment(c) && ws_.students[r - 1].freeFormUsed) return;
    pushUndo(r - 1);
    storeRowCells(r);
    displayDetails(r - 1);
}

void frmEntry::msfgClass_MouseMove(int x, int y) {
    Q_UNUSED(y);
    const int twips = x * 15;
    const int r = msfgClass->mouseRow();
    const int c = msfgClass->mouseCol();
    QCursor pointer(Qt::ArrowCursor);
    if (commentsView() && !codeToStamp().isEmpty() && twips >= 5000 && twips <= 7735) {
        const bool freeFormCell =
            r >= 1 && r <= ws_.studentCount() && isComment(c) && ws_.students[r - 1].freeFormUsed;
        if (!freeFormCell) pointer = QCursor(QPixmap(":/stamp.png"), 16, 31);
    } else if (!commentsView() && twips >= 5000 && twips <= 6800) {
        pointer = QCursor(Qt::SizeBDiagCursor);
    }
    msfgClass->viewport()->setCursor(pointer);
    msfgClass->horizontalHeader()->viewport()->setCursor(pointer);
}

void frmEntry::lstFavourites_Click() {
    if (pickedCode.isEmpty()) return;
    msfgClass->setCurrentCell(pickedRow, pickedCol);
    cancelPickedCode();
}

void frmEntry::showLearningSkills() {
    cmdOpenFavourites->setEnabled(false);
    lblFavouriteFile->setText("Learning Skills");
    lstFavourites->hide();
    lstLearningSkills->show();
    lstLearningSkills->clear();
    for (const char* item : kLearningSkills)
        lstLearningSkills->addItem(item);
}

void frmEntry::cmdSwitch_Click() {
    if (commentsView()) {
        for (int c = kFirstComment; c <= kLastComment; ++c)
            msfgClass->setColWidth(c, 0);
        showLearningSkills();
        for (int c = kFirstSkill; c <= kLastFlag; ++c)
            msfgClass->setColWidth(c, kSkillWidth);
    } else {
        for (int c = kFirstComment; c <= kLastComment; ++c) {
            msfgClass->setColWidth(c, kCommentWidth);
        }
        showFavourites();
        for (int c = kFirstSkill; c <= kLastFlag; ++c)
            msfgClass->setColWidth(c, 0);
    }
}

void frmEntry::freeFormCommand() {
    const int s = msfgClass->row() - 1;
    if (ws_.studentCount() < 1 || s < 0 || s >= ws_.studentCount()) return;
    StudentRecord& student = ws_.students[s];
    std::string original;
    if (student.freeFormUsed) {
        original = student.freeFormText;
    } else {
        for (const std::string& text : composeComments(student, ws_.phrases).texts) {
            original += text;
        }
    }
    {
        frmFreeFormCommentEntry dialog(ws_, prompts_, this);
        dialog.txtComment->setPlainText(toQString(original));
        dialog.exec();
    }
    const std::string draft(trimBlanks(ws_.freeFormDraft));
    const std::string taken(trimBlanks(sanitizeFreeForm(ws_.freeFormDraft)));
    // A draft of nothing but blanks or line breaks returns to the coded comments.
    if (!draft.empty() && !taken.empty()) {
        if (draft == trimBlanks(original)) {
            prompts_.message(Notice{
                "There was no change to the coded comment, therefore free form comments NOT used.",
                kProgramName, NoticeIcon::None});
            return;
        }
        student.freeFormUsed = true;
        student.freeFormText = taken;
        for (int i = 0; i < 5; ++i) {
            msfgClass->setTextMatrix(s + 1, kFirstComment + i, kFreeFormWords[i]);
        }
    } else {
        student.freeFormUsed = false;
        student.freeFormText.clear();
        for (int i = 0; i < 5; ++i) {
            msfgClass->setTextMatrix(s + 1, kFirstComment + i, toQString(student.comments[i]));
        }
    }
    displayDetails(s);
}

}  // namespace tl
