// SPDX-License-Identifier: GPL-3.0-or-later

#include "autofill/frm_auto_fill.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <ctime>

#include "autofill/initial_values_printout.h"
#include "core/editing_rules.h"
#include "core/favourites_file.h"
#include "core/limits.h"
#include "core/messages.h"
#include "core/workspace.h"
#include "favourites/favourites_commands.h"
#include "favourites/favourites_text.h"
#include "favourites/stamp_palette.h"
#include "platform/accessibility.h"
#include "platform/encoding.h"
#include "platform/flex_grid.h"
#include "platform/kept_text.h"
#include "platform/locations.h"
#include "platform/prompts.h"
#include "platform/text_printer.h"
#include "platform/widgets.h"

namespace tl {

namespace {

constexpr int kDesignedWidth = 1000;
constexpr int kDesignedHeight = 640;
constexpr int kSmallScreenCut = 168;  // 2520 twips

}  // namespace

// A detail line of the panel in its fixed-pitch font. Its text stays the
// whole line (screen readers read that); it is drawn in lines as wide as
// the panel, a line too wide going on under the code column as on paper.
class RangeDetailLine : public QLabel {
  public:
    RangeDetailLine(QWidget* parent, const char* name) : QLabel(parent) {
        setObjectName(name);
        setTextFormat(Qt::PlainText);
        setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
        relayout();
    }
    void setLine(const QString& text) {
        setText(text);
        relayout();
    }

  protected:
    void resizeEvent(QResizeEvent* event) override {
        QLabel::resizeEvent(event);
        relayout();
    }
    void changeEvent(QEvent* event) override {
        QLabel::changeEvent(event);
        if (event->type() == QEvent::FontChange) relayout();
    }
    void paintEvent(QPaintEvent* event) override {
        Q_UNUSED(event);
        QPainter painter(this);
        painter.setPen(palette().color(foregroundRole()));
        const QFontMetricsF metrics(font());
        QPointF at(contentsRect().left(), contentsRect().top() + metrics.ascent());
        for (const QString& line : lines_) {
            painter.drawText(at, line);
            at.ry() += metrics.lineSpacing();
        }
    }

  private:
    void relayout() {
        const QFontMetricsF metrics(font());
        const double width = contentsRect().width();
        auto fits = static_cast<std::size_t>(
            std::max(1.0, width / metrics.horizontalAdvance(QLatin1Char('x'))));
        while (fits > 1 && metrics.horizontalAdvance(QString(static_cast<int>(fits), 'x')) > width)
            --fits;
        lines_.clear();
        for (const std::string& line : wrapPrintedLine(fromQString(text()), fits,
                                                       static_cast<std::size_t>(kDetailCodeColumn)))
            lines_ << toQString(line);
        const int height =
            static_cast<int>(std::ceil(metrics.lineSpacing())) * static_cast<int>(lines_.size());
        setFixedHeight(height + contentsMargins().top() + contentsMargins().bottom());
        update();
    }

    QStringList lines_;
};

frmAutoFill::frmAutoFill(Workspace& ws, Prompts& prompts, const Locations& locations,
                         QWidget* parent)
    : QWidget(parent, Qt::Window),
      ws_(ws),
      prompts_(prompts),
      locations_(locations),
      cdlgGetFile_(std::make_unique<CommonDialog>(prompts)),
      favouritesCommands_(std::make_unique<FavouritesFileCommands>(
          ws, prompts, locations, FavouritesStart::HomeHoldsFile, *cdlgGetFile_)) {
    setObjectName("frmAutoFill");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(QIcon(":/tallyleaf.png"));

    cmdEnterRanges =
        textButton(this, "cmdEnterRanges", "&Enter Ranges", [this] { cmdEnterRanges_Click(); });
    cmdEnterRanges->setToolTip("enter all the ranges you want");
    cmdSplit = textButton(this, "cmdSplit", "&Split Range", [this] { cmdSplit_Click(); });
    cmdSplit->setToolTip("Splits current range into 2 ranges each half the original");
    cmdDelete = textButton(this, "cmdDelete", "&Delete Range", [this] { cmdDelete_Click(); });
    cmdDelete->setToolTip("Deletes the current range and combines it with the one below");
    cmdUndo = pictureButton(this, "cmdUndo", ":/undo.png", "Undo Comment/Learning Skill Changes",
                            [this] { apply(ws_.doc.undoRange()); });
    // Ctrl+Z as in every other program; it does what the button does while
    // the button is enabled.
    auto* undoKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z), this);
    connect(undoKey, &QShortcut::activated, cmdUndo, &QPushButton::click);
    cmdPrint = pictureButton(this, "cmdPrint", ":/print_class.png", "Print Autofill Settings",
                             [this] { printInitialValues(); });
    cmdOpenFavourites = pictureButton(this, "cmdOpenFavourites", ":/open_favourites.png",
                                      "Open Favourites", [this] { cmdOpenFavourites_Click(); });
    cmdBack = textButton(this, "cmdBack", "&Back to Mark / Comment Entry", [this] { close(); });

    msfgClass = new FlexGrid(this);
    msfgClass->setObjectName("msfgClass");
    nameControl(msfgClass, "Range grid");
    msfgClass->setCols(rangegrid::kColumnCount);
    msfgClass->setRowHeaderCols({rangegrid::kLow, rangegrid::kHigh}, "-");
    msfgClass->setSpokenColumnNames(spokenNames(rangegrid::kSpokenHeaders));
    msfgClass->setCellMeaning([this](int row, int col) {
        const QString text = msfgClass->textMatrix(row, col).trimmed();
        if (rangegrid::isCode(col) && !text.isEmpty())
            return toQString(lookupPhrase(ws_.phrases, fromQString(text)));
        if (rangegrid::isSkill(col)) return toQString(skillWord(fromQString(text)));
        return QString();
    });
    int gridWidth =
        2 * msfgClass->frameWidth() + msfgClass->verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < rangegrid::kColumnCount; ++c) {
        msfgClass->setColWidth(c, rangegrid::columnWidth(c));
        gridWidth += msfgClass->columnWidth(c);
    }
    msfgClass->setMinimumWidth(gridWidth);
    msfgClass->setBackColorBkg(buttonFace(msfgClass));
    connect(msfgClass, &FlexGrid::mouseUp, this, &frmAutoFill::msfgClass_MouseUp);
    connect(msfgClass, &FlexGrid::mouseMove, this, &frmAutoFill::msfgClass_MouseMove);

    lblFavouriteFile = new ElidedLabel("Favourite List: ", this);
    lblFavouriteFile->setObjectName("lblFavouriteFile");
    lstFavourites = new QListWidget(this);
    lstFavourites->setObjectName("lstFavourites");
    nameControl(lstFavourites, "Favourite List");
    lstFavourites->setItemDelegate(new KeptTextItems(lstFavourites));
    lblFavouriteFile->setBuddy(lstFavourites);
    lstFavourites->setMinimumWidth(
        lstFavourites->fontMetrics().horizontalAdvance(QString(30, 'x')));
    connect(lstFavourites, &QListWidget::itemClicked, this, &frmAutoFill::lstFavourites_Click);
    palette_ = new StampPalette(lstFavourites, msfgClass, ws_.favourites);
    CommentKeys keys;
    keys.firstCol = rangegrid::kFirstCode;
    keys.count = rangegrid::kCodeCount;
    keys.stamp = [this](int r, int c, const QString& code) { stampCell(r, c, code); };
    keys.pickUp = [this](int r, int c) {
        pickUp(r, c);
        displayDetails(r);
    };
    // No status line here: a refused code is said in a message box.
    keys.tell = [this](const Notice& notice) { prompts_.message(notice); };
    palette_->takeKeys(ws_.phrases, std::move(keys));
    msfgClass->installEventFilter(this);
    Label1 = namedLabel(this, "Label1", "Learning Skill Values");
    lstLearningSkills = new QListWidget(this);
    lstLearningSkills->setObjectName("lstLearningSkills");
    nameByLabel(Label1, lstLearningSkills);
    for (const char* item : kSkillValueItems)
        lstLearningSkills->addItem(item);
    lstLearningSkills->setFixedHeight(lstLearningSkills->sizeHintForRow(0) * 4 +
                                      2 * lstLearningSkills->frameWidth() + 4);

    auto* frame = new QFrame(this);
    frame->setObjectName("Shape1");
    frame->setFrameShape(QFrame::Box);
    Shape1 = frame;
    auto* details = new QVBoxLayout(frame);
    details->setSpacing(0);
    details->setContentsMargins(6, 4, 6, 4);
    QFont fixed("Courier New");
    fixed.setStyleHint(QFont::Monospace);
    fixed.setPointSizeF(9.75);
    for (std::size_t i = 0; i < lblDetail.size(); ++i) {
        const QByteArray name = "lblDetail" + QByteArray::number(static_cast<int>(i + 1));
        lblDetail[i] = new RangeDetailLine(frame, name.constData());
        lblDetail[i]->setFont(fixed);
        details->addWidget(lblDetail[i]);
    }

    auto* buttons = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*>{cmdEnterRanges, cmdSplit, cmdDelete, nullptr,
                                                      cmdUndo, cmdPrint, cmdOpenFavourites}) {
        if (w == nullptr) {
            buttons->addSpacing(16);
        } else {
            buttons->addWidget(w);
        }
    }
    buttons->addStretch(1);
    buttons->addWidget(cmdBack);
    auto* lists = new QVBoxLayout;
    lists->addWidget(lblFavouriteFile);
    lists->addWidget(lstFavourites, 1);
    lists->addWidget(Label1);
    lists->addWidget(lstLearningSkills);
    auto* body = new QHBoxLayout;
    body->addWidget(msfgClass);
    body->addLayout(lists, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addLayout(body, 1);
    layout->addWidget(Shape1);
    chainTabOrder({cmdEnterRanges, cmdSplit, cmdDelete, cmdUndo, cmdPrint, cmdOpenFavourites,
                   cmdBack, msfgClass, lstFavourites, lstLearningSkills});
    onEscape(this, [this] { escapePressed(); });
    fitToScreen(this, QSize(kDesignedWidth, kDesignedHeight));
}

void frmAutoFill::Form_Load() {
    setWindowTitle(QString("Tallyleaf v") + kVersion + " ~ Initial Values Setup");
    if (screenIsSmall()) fitToScreen(this, QSize(width(), kDesignedHeight - kSmallScreenCut));
    show();
    if (!ws_.favouritesFile.empty()) {
        showFavourites();
    } else {
        openFavourites();
        if (left_) return;
    }
    fillflexGrid();
    displayDetails(1);
    // What was done in an earlier visit is kept, not taken back.
    apply(ws_.doc.forgetRangeUndo());
}

void frmAutoFill::fillflexGrid() {
    msfgClass->setUpdatesEnabled(false);
    msfgClass->clearGrid();
    msfgClass->addItem(tabbedRow(rangegrid::kHeaders));
    for (int c = 0; c < rangegrid::kColumnCount; ++c)
        msfgClass->setColWidth(c, rangegrid::columnWidth(c));
    for (const InitialValueRange& range : ws_.doc.ranges())
        msfgClass->addItem(tabbedRow(rangeRowTexts(range)));
    msfgClass->setFixedCols(rangegrid::kFixedColumns);
    msfgClass->setUpdatesEnabled(true);
}

void frmAutoFill::writeRow(int row) {
    if (row < 1 || row > ws_.rangeCount()) return;
    const auto texts = rangeRowTexts(ws_.doc.ranges()[static_cast<std::size_t>(row - 1)]);
    for (int c = 0; c < rangegrid::kColumnCount; ++c)
        msfgClass->setTextMatrix(row, c, toQString(texts[static_cast<std::size_t>(c)]));
}

void frmAutoFill::displayDetails(int range) {
    // A table left empty by a refused file shows no details.
    if (range < 1 || range > ws_.rangeCount()) {
        for (RangeDetailLine* line : lblDetail)
            line->setLine(QString());
        return;
    }
    const auto lines =
        rangeDetailLines(ws_.doc.ranges()[static_cast<std::size_t>(range - 1)], ws_.phrases);
    for (std::size_t i = 0; i < lblDetail.size(); ++i)
        lblDetail[i]->setLine(toQString(lines[i]));
}

void frmAutoFill::showFavourites() {
    lblFavouriteFile->setText("Favourite List: " + fromPath(ws_.favouritesFile));
    setListItems(lstFavourites, favouritesListItems(ws_.favourites, ws_.phrases));
}

void frmAutoFill::apply(const Edit& edit) {
    refreshUndo();
    if (!edit.concernsRanges() || edit.items.empty()) {
        if (edit.scope == Edit::Scope::RangeTable) {
            // A new table: a picked code's cell may have moved.
            cancelPickedCode();
            fillflexGrid();
            displayDetails(1);
        }
        return;
    }
    const int row = edit.items.front() + 1;
    if (edit.scope == Edit::Scope::RangeTable) {
        // Split adds the lower half below the row; Delete takes the row out and
        // the range below moves up. Only those rows are redrawn.
        cancelPickedCode();
        if (ws_.rangeCount() > msfgClass->rows() - 1) {
            msfgClass->insertRow(row + 1);
        } else if (ws_.rangeCount() < msfgClass->rows() - 1) {
            msfgClass->removeRow(row);
        }
        writeRow(row + 1);
    }
    writeRow(row);
    displayDetails(row);
    const int aimed = msfgClass->row() == row ? msfgClass->col() : -1;
    if (aimed >= 0) msfgClass->announceCell(row, aimed);
}

void frmAutoFill::openFavourites() {
    if (!favouritesCommands_->open()) {
        // Nothing to set up without a favourites file.
        if (ws_.favouritesFile.empty()) close();
        return;
    }
    showFavourites();
    // Undo never writes a range of the previous file into the new table.
    apply(Edit::rangeTable());
}

void frmAutoFill::cmdOpenFavourites_Click() {
    // The ranges edited here are saved before another file replaces them.
    if (!ws_.favouritesFile.empty() && !favouritesCommands_->save()) return;
    openFavourites();
}

void frmAutoFill::cmdEnterRanges_Click() {
    // A refused answer comes back in the box, so that one wrong character does
    // not cost the whole line; an empty answer or Cancel leaves the ranges.
    QString answer;
    for (;;) {
        answer = prompts_.inputBox(toQString(kEnterRangesPrompt), kEnterRangesTitle, answer);
        if (answer.isEmpty()) return;
        RangesParse parsed = parseMarkRanges(fromQString(answer));
        if (!parsed.failure) {
            if (parsed.ranges.empty()) return;
            apply(ws_.doc.replaceRanges(std::move(parsed.ranges)));
            return;
        }
        prompts_.message(*parsed.failure);
    }
}

void frmAutoFill::cmdSplit_Click() {
    const int row = msfgClass->row();
    if (row < 1 || row > ws_.rangeCount()) return;
    const Edit edit = ws_.doc.splitRange(row - 1);
    apply(edit);
    // A range that cannot be split still shows its details.
    if (!edit.concernsRanges()) displayDetails(row);
}

void frmAutoFill::cmdDelete_Click() {
    const int row = msfgClass->row();
    if (row >= 1 && row <= ws_.rangeCount()) apply(ws_.doc.deleteRange(row - 1));
}

void frmAutoFill::refreshUndo() {
    cmdUndo->setEnabled(ws_.doc.canUndoRange());
}

QString frmAutoFill::codeToStamp() const {
    return palette_->codeToStamp();
}

void frmAutoFill::cancelPickedCode() {
    palette_->cancelPickedCode(StampPalette::Cancel::InPlace);
}

void frmAutoFill::pickUp(int row, int col) {
    // A picked code ends with its cell current, as a click on the list ends it.
    palette_->pickUp(row, col,
                     ws_.doc.ranges()[static_cast<std::size_t>(row - 1)]
                         .codes[static_cast<std::size_t>(rangeCodeSlot(col))],
                     StampPalette::Cancel::AtPickedCell);
}

void frmAutoFill::msfgClass_MouseUp(Qt::MouseButton button, int x, int y) {
    Q_UNUSED(x);
    Q_UNUSED(y);
    const int r = msfgClass->mouseRow();
    const int c = msfgClass->mouseCol();
    if (r < 1 || r > ws_.rangeCount()) return;
    if ((c == rangegrid::kLow || c == rangegrid::kHigh) && button == Qt::LeftButton) {
        // The marks are frozen cells, which the grid does not make current:
        // a click on them chooses the range that Split and Delete act on.
        const int col = msfgClass->col();
        msfgClass->setCurrentCell(r, col >= rangegrid::kFixedColumns ? col : rangegrid::kFirstCode);
    } else if (rangegrid::isCode(c) && button == Qt::RightButton) {
        pickUp(r, c);
    } else if (rangegrid::isCode(c) && button == Qt::LeftButton) {
        stampCell(r, c, codeToStamp());
        return;
    } else if (rangegrid::isSkill(c)) {
        using Button = ClassDocument::Button;
        const Button click = button == Qt::LeftButton    ? Button::Left
                             : button == Qt::RightButton ? Button::Right
                                                         : Button::Other;
        apply(ws_.doc.clickRangeSkill(r - 1, static_cast<std::size_t>(rangeSkillIndex(c)), click));
        return;
    }
    displayDetails(r);
}

void frmAutoFill::stampCell(int r, int c, const QString& code) {
    const Edit edit = ws_.doc.stampRangeCode(r - 1, static_cast<std::size_t>(rangeCodeSlot(c)),
                                             fromQString(code));
    apply(edit);
    if (!edit.concernsRanges()) displayDetails(r);
}

bool frmAutoFill::eventFilter(QObject* watched, QEvent* event) {
    if (watched != msfgClass || event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    // On a skill cell Space steps as the left button, Shift+Space as the right;
    // a rating's digit or letter sets it.
    const auto* key = static_cast<QKeyEvent*>(event);
    const int r = msfgClass->row();
    const int c = msfgClass->col();
    if (r < 1 || r > ws_.rangeCount() || !rangegrid::isSkill(c)) return false;
    const Qt::KeyboardModifiers modifiers = key->modifiers() & ~Qt::KeypadModifier;
    const auto skill = static_cast<std::size_t>(rangeSkillIndex(c));
    if (key->key() == Qt::Key_Space &&
        (modifiers == Qt::NoModifier || modifiers == Qt::ShiftModifier)) {
        apply(ws_.doc.clickRangeSkill(r - 1, skill,
                                      modifiers == Qt::NoModifier ? ClassDocument::Button::Left
                                                                  : ClassDocument::Button::Right));
    } else {
        const QString text = key->text();
        if ((modifiers & (Qt::ControlModifier | Qt::AltModifier)) != 0 || text.size() != 1)
            return false;
        const std::string value = skillValueForKey(text[0].toLatin1());
        if (value.empty()) return false;
        apply(ws_.doc.setRangeSkill(r - 1, skill, value));
    }
    return true;
}

void frmAutoFill::msfgClass_MouseMove(int x, int y) {
    Q_UNUSED(y);
    // The code columns, then the skill columns, wherever the columns are.
    const int codesLeft = msfgClass->colLeft(rangegrid::kFirstCode);
    const int skillsLeft = msfgClass->colLeft(rangegrid::kFirstSkill);
    const int last = rangegrid::kFirstSkill + rangegrid::kSkillCount - 1;
    const int skillsRight = msfgClass->colLeft(last) + msfgClass->columnWidth(last);
    palette_->showPointer(x, {codesLeft, skillsLeft}, {skillsLeft, skillsRight});
}

void frmAutoFill::lstFavourites_Click() {
    palette_->cancelPickedCode(StampPalette::Cancel::AtPickedCell);
}

void frmAutoFill::printInitialValues() {
    std::unique_ptr<TextPrinter> printer = prompts_.choosePrinter();
    if (!printer) return;
    const std::time_t now = locations_.now();
    std::tm local{};
    localtime_r(&now, &local);
    if (!printLines(*printer, initialValuesPrintout(ws_, local))) return;
    displayDetails(1);
}

void frmAutoFill::escapePressed() {
    // A picked code is cancelled first, and Escape in the favourites list
    // goes back to the grid; otherwise the window is left as Back leaves it.
    if (!palette_->pickedCode().isEmpty()) {
        cancelPickedCode();
    } else if (lstFavourites->hasFocus()) {
        msfgClass->setFocus(Qt::OtherFocusReason);
    } else {
        close();
    }
}

void frmAutoFill::leave() {
    if (left_) return;
    left_ = true;
    favouritesCommands_->saveOnLeaving(UnnamedList::Skip);
    emit left();
}

void frmAutoFill::closeEvent(QCloseEvent* event) {
    if (dialogRunning(this)) {
        event->ignore();
        return;
    }
    leave();
    event->accept();
}

frmAutoFill::~frmAutoFill() = default;

}  // namespace tl
