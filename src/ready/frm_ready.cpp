// SPDX-License-Identifier: GPL-3.0-or-later

#include "ready/frm_ready.h"

#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

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
    std::vector<ClassProblem> problems =
        classProblems(ws_.students(), ws_.phrases, ws_.doc.ranges());
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

}  // namespace tl
