// SPDX-License-Identifier: GPL-3.0-or-later

#include "ready/frm_ready.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListWidget>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <algorithm>

#include "core/class_document.h"
#include "core/limits.h"
#include "core/workspace.h"
#include "platform/accessibility.h"
#include "platform/encoding.h"
#include "platform/widgets.h"

namespace tl {

// A list's lines with their sizes given: a list asks each line for its size
// whenever one comes or goes, and a size it has to find lays the text out,
// which for hundreds of lines costs frames. The width is the advances'
// estimate ItemWidths makes; the height one line's, measured once.
class SizedLines {
  public:
    explicit SizedLines(QListWidget* list) : list_(list), widths_(list->fontMetrics()) {}
    // Adds a line at row, or at the end.
    void insert(int row, const std::string& line) {
        auto* item = new QListWidgetItem(toQString(line));
        list_->insertItem(row < 0 ? list_->count() : row, item);
        size(item, line);
    }
    void setText(QListWidgetItem* item, const std::string& line) {
        const QString text = toQString(line);
        if (item->text() == text) return;
        item->setText(text);
        size(item, line);
    }

  private:
    void size(QListWidgetItem* item, const std::string& line) {
        if (height_ == 0) height_ = list_->sizeHintForRow(list_->row(item));
        item->setSizeHint(QSize(widths_.extentOf(line), height_));
    }
    QListWidget* list_;
    ItemWidths widths_;
    int height_ = 0;
};

namespace {

// The window is a window to screen readers, not a pane of the main window's.
QAccessibleInterface* readyAccessible(const QString& key, QObject* object) {
    Q_UNUSED(key);
    auto* window = qobject_cast<frmReady*>(object);
    return window == nullptr ? nullptr : new QAccessibleWidget(window, QAccessible::Window);
}

// A list's change made without a screen reader hearing of it while the
// teacher works in another window: its current line still follows the
// lines, but the list is not told, so no current or selection change is sent.
class QuietChange {
  public:
    explicit QuietChange(QListWidget* list) : blocker_(list->selectionModel()) {
        if (list->isActiveWindow()) blocker_.unblock();
    }

  private:
    QSignalBlocker blocker_;
};

// The lines of one student in a list made anew: lines that stay are rewritten
// where they differ; the rest come or go.
template <typename Line, typename Text>
void replaceLines(std::vector<Line>& all, std::vector<Line> now, int student, QListWidget* list,
                  SizedLines& sized, Text text) {
    const auto byStudent = [](const Line& line, int s) { return line.student < s; };
    const auto from = std::lower_bound(all.begin(), all.end(), student, byStudent);
    auto to = from;
    while (to != all.end() && to->student == student)
        ++to;
    const int first = static_cast<int>(from - all.begin());
    const int old = static_cast<int>(to - from);
    const int count = static_cast<int>(now.size());
    const QuietChange quiet(list);
    for (int i = 0; i < std::min(old, count); ++i)
        sized.setText(list->item(first + i), text(now[std::size_t(i)]));
    for (int i = old; i < count; ++i)
        sized.insert(first + i, text(now[std::size_t(i)]));
    for (int i = count; i < old; ++i)
        delete list->takeItem(first + count);
    all.erase(from, to);
    all.insert(all.begin() + first, now.begin(), now.end());
    if (list->currentRow() < 0 && list->count() > 0) list->setCurrentRow(0);
}

// A list filled with lines anew unless it holds them already; the chosen line
// stays where it can.
void fillList(QListWidget* list, SizedLines& sized, const std::vector<std::string>& lines) {
    const auto count = static_cast<int>(lines.size());
    bool same = count == list->count();
    for (int i = 0; same && i < count; ++i)
        same = list->item(i)->text() == toQString(lines[std::size_t(i)]);
    if (same) return;
    const int current = list->currentRow();
    const QuietChange quiet(list);
    list->clear();
    for (const std::string& line : lines)
        sized.insert(-1, line);
    if (count > 0) list->setCurrentRow(std::clamp(current, 0, count - 1));
}

void showCount(QLabel* label, QListWidget* list, const QString& text) {
    if (label->text() == text) return;
    label->setText(text);
    list->setAccessibleDescription(text);
}

}  // namespace

frmReady::~frmReady() = default;

frmReady::frmReady(const Workspace& ws, QWidget* parent) : QWidget(parent, Qt::Window), ws_(ws) {
    static const bool installed = [] {
        QAccessible::installFactory(readyAccessible);
        return true;
    }();
    Q_UNUSED(installed);
    setObjectName("frmReady");
    setWindowTitle(QString("Tallyleaf v") + kVersion + " ~ Ready for the Office");
    lblProblemCount = namedLabel(this, "lblProblemCount");
    lblProblemCount->setTextFormat(Qt::PlainText);
    lstProblems = new QListWidget(this);
    lstProblems->setObjectName("lstProblems");
    nameControl(lstProblems, "Problems");
    lblAdviceCount = namedLabel(this, "lblAdviceCount");
    lblAdviceCount->setTextFormat(Qt::PlainText);
    lstAdvice = new QListWidget(this);
    lstAdvice->setObjectName("lstAdvice");
    nameControl(lstAdvice, "Advice");
    problemSizes_ = std::make_unique<SizedLines>(lstProblems);
    adviceSizes_ = std::make_unique<SizedLines>(lstAdvice);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblProblemCount);
    layout->addWidget(lstProblems, 1);
    layout->addWidget(lblAdviceCount);
    layout->addWidget(lstAdvice, 1);
    // Enter and a double click both activate a line.
    connect(lstProblems, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        const int row = lstProblems->row(item);
        if (row < 0 || row >= static_cast<int>(problems_.size())) return;
        const ClassProblem& p = problems_[static_cast<std::size_t>(row)];
        emit problemChosen(p.student, p.cell);
    });
    connect(lstAdvice, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        const int row = lstAdvice->row(item);
        if (row < 0 || row >= static_cast<int>(notes_.size())) return;
        const AdviceNote& note = notes_[static_cast<std::size_t>(row)];
        emit problemChosen(note.student, note.cell);
    });
    // Closing loses nothing.
    onEscape(this, [this] { close(); });
    refresh();
    if (parent != nullptr) placeBeside(this, parent);
}

QSize frmReady::sizeHint() const {
    // Room for a dozen problems and half as many notes.
    return {520, 440};
}

void frmReady::refresh() {
    names_.emplace(ws_.students(), ws_.phrases);
    ranges_.emplace(ws_.doc.ranges());
    advice_.emplace(ws_.students(), ws_.phrases);
    std::vector<ClassProblem> problems;
    std::vector<AdviceNote> notes;
    for (int i = 0; i < ws_.studentCount(); ++i) {
        std::vector<ClassProblem> own =
            studentProblems(ws_.students(), i, ws_.phrases, *names_, *ranges_);
        problems.insert(problems.end(), own.begin(), own.end());
        std::vector<AdviceNote> advised = advice_->notesOf(ws_.students(), ws_.phrases, i);
        notes.insert(notes.end(), advised.begin(), advised.end());
    }
    std::vector<std::string> lines;
    for (const ClassProblem& p : problems)
        lines.push_back(problemLine(ws_.students(), p));
    std::vector<std::string> adviceLines;
    for (const AdviceNote& note : notes)
        adviceLines.push_back(adviceLine(ws_.students(), note));
    problems_ = std::move(problems);
    notes_ = std::move(notes);
    fillList(lstProblems, *problemSizes_, lines);
    fillList(lstAdvice, *adviceSizes_, adviceLines);
    showCounts();
}

void frmReady::apply(const Edit& edit) {
    if (edit.scope != Edit::Scope::Students || !names_) {
        if (edit.concernsStudents() || edit.concernsRanges()) refresh();
        return;
    }
    for (const int student : edit.items)
        replaceStudent(student);
    // A changed comment may change the notes of the students whose comments
    // were, or now are, the same; anything else only the student's own.
    FieldSet comments;
    for (int k = field::kFirstComment; k < field::kFirstSkill; ++k)
        comments.set(std::size_t(k));
    comments.set(field::kFreeForm);
    const std::vector<int> advised =
        (edit.cells & comments).any()
            ? advice_->commentsChanged(ws_.students(), ws_.phrases, edit.items)
            : edit.items;
    for (const int student : advised)
        replaceNotes(student);
    showCounts();
}

void frmReady::replaceStudent(int student) {
    if (student < 0 || student >= ws_.studentCount()) return;
    replaceLines(problems_,
                 studentProblems(ws_.students(), student, ws_.phrases, *names_, *ranges_), student,
                 lstProblems, *problemSizes_,
                 [this](const ClassProblem& p) { return problemLine(ws_.students(), p); });
}

void frmReady::replaceNotes(int student) {
    if (student < 0 || student >= ws_.studentCount()) return;
    replaceLines(notes_, advice_->notesOf(ws_.students(), ws_.phrases, student), student, lstAdvice,
                 *adviceSizes_,
                 [this](const AdviceNote& n) { return adviceLine(ws_.students(), n); });
}

void frmReady::showCounts() {
    showCount(lblProblemCount, lstProblems, toQString(problemCountText(problems_)));
    showCount(lblAdviceCount, lstAdvice, toQString(adviceCountText(notes_)));
}

}  // namespace tl
