// SPDX-License-Identifier: GPL-3.0-or-later

#include "ready/frm_ready.h"

#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "core/class_document.h"
#include "core/limits.h"
#include "core/workspace.h"
#include "platform/accessibility.h"
#include "platform/encoding.h"
#include "platform/widgets.h"

namespace tl {

frmReady::frmReady(const Workspace& ws, QWidget* parent) : QWidget(parent, Qt::Window), ws_(ws) {
    setObjectName("frmReady");
    setWindowTitle(QString("Tallyleaf v") + kVersion + " ~ Ready for the Office");
    lblProblemCount = namedLabel(this, "lblProblemCount");
    lblProblemCount->setTextFormat(Qt::PlainText);
    lstProblems = new QListWidget(this);
    lstProblems->setObjectName("lstProblems");
    nameControl(lstProblems, "Problems");
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblProblemCount);
    layout->addWidget(lstProblems, 1);
    // Enter and a double click both activate a line.
    connect(lstProblems, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        const int row = lstProblems->row(item);
        if (row < 0 || row >= static_cast<int>(problems_.size())) return;
        const ClassProblem& p = problems_[static_cast<std::size_t>(row)];
        emit problemChosen(p.student, p.cell);
    });
    // Closing loses nothing.
    onEscape(this, [this] { close(); });
    resize(520, 360);
    refresh();
}

void frmReady::refresh() {
    names_.emplace(ws_.students(), ws_.phrases);
    ranges_.emplace(ws_.doc.ranges());
    std::vector<ClassProblem> problems;
    for (int i = 0; i < ws_.studentCount(); ++i) {
        std::vector<ClassProblem> own =
            studentProblems(ws_.students(), i, ws_.phrases, *names_, *ranges_);
        problems.insert(problems.end(), own.begin(), own.end());
    }
    lblProblemCount->setText(toQString(problemCountText(problems)));
    QStringList lines;
    for (const ClassProblem& p : problems)
        lines << toQString(problemLine(ws_.students(), p));
    bool same = lines.size() == lstProblems->count();
    for (int i = 0; same && i < lines.size(); ++i)
        same = lstProblems->item(i)->text() == lines[i];
    problems_ = std::move(problems);
    if (same) return;
    const int current = lstProblems->currentRow();
    lstProblems->clear();
    lstProblems->addItems(lines);
    if (!lines.isEmpty()) lstProblems->setCurrentRow(std::clamp(current, 0, int(lines.size()) - 1));
}

void frmReady::apply(const Edit& edit) {
    if (edit.scope != Edit::Scope::Students || !names_) {
        if (edit.concernsStudents() || edit.concernsRanges()) refresh();
        return;
    }
    for (const int student : edit.items)
        replaceStudent(student);
    lblProblemCount->setText(toQString(problemCountText(problems_)));
}

void frmReady::replaceStudent(int student) {
    if (student < 0 || student >= ws_.studentCount()) return;
    const auto byStudent = [](const ClassProblem& p, int s) { return p.student < s; };
    const auto from = std::lower_bound(problems_.begin(), problems_.end(), student, byStudent);
    auto to = from;
    while (to != problems_.end() && to->student == student)
        ++to;
    const int first = static_cast<int>(from - problems_.begin());
    const int old = static_cast<int>(to - from);
    std::vector<ClassProblem> now =
        studentProblems(ws_.students(), student, ws_.phrases, *names_, *ranges_);
    const int count = static_cast<int>(now.size());
    // Lines that stay are rewritten where they differ; the rest come or go.
    for (int i = 0; i < std::min(old, count); ++i) {
        const QString line = toQString(problemLine(ws_.students(), now[std::size_t(i)]));
        QListWidgetItem* item = lstProblems->item(first + i);
        if (item->text() != line) item->setText(line);
    }
    for (int i = old; i < count; ++i)
        lstProblems->insertItem(first + i,
                                toQString(problemLine(ws_.students(), now[std::size_t(i)])));
    for (int i = count; i < old; ++i)
        delete lstProblems->takeItem(first + count);
    problems_.erase(from, to);
    problems_.insert(problems_.begin() + first, now.begin(), now.end());
    if (lstProblems->currentRow() < 0 && lstProblems->count() > 0) lstProblems->setCurrentRow(0);
}

}  // namespace tl
