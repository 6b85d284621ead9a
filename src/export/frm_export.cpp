// SPDX-License-Identifier: GPL-3.0-or-later

#include "export/frm_export.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include <string>
#include <unordered_map>

#include "checks/name_check.h"
#include "core/class_document.h"
#include "core/limits.h"
#include "core/messages.h"
#include "core/text.h"
#include "core/workspace.h"
#include "export/efile.h"
#include "export/efile_check.h"
#include "export/export_gate.h"
#include "platform/accessibility.h"
#include "platform/encoding.h"
#include "platform/flex_grid.h"
#include "platform/locations.h"
#include "platform/prompts.h"
#include "platform/widgets.h"

namespace tl {

namespace {
const char* const kHeaders[preview::kColumnCount] = {
    "Course", "Student ID", "LAST", "FIRST", "MK",  "Comments", "RE",  "OR",
    "IW",     "CO",         "IN",   "SR",    "IEP", "ESL",      "ELD", "Interview"};
// Column widths in pixels (twips / 15).
const int kWidths[preview::kColumnCount] = {60, 60, 83, 83, 23, 360, 22, 22,
                                            22, 22, 22, 22, 27, 27,  27, 48};
constexpr int kDesignedHeight = 660;
constexpr int kSmallScreenCut = 168;  // 2520 twips
}  // namespace

frmExport::frmExport(Workspace& ws, Prompts& prompts, const Locations& locations, QWidget* parent)
    : QWidget(parent, Qt::Window),
      ws_(ws),
      prompts_(prompts),
      locations_(locations),
      cdlgGetFile_(std::make_unique<CommonDialog>(prompts)) {
    setObjectName("frmExport");
    setWindowTitle("eFile Confirmation and Verification");
    setAttribute(Qt::WA_DeleteOnClose);

    msfgClass = new FlexGrid(this);
    msfgClass->setObjectName("msfgClass");
    nameControl(msfgClass, "eFile preview grid");
    msfgClass->setCols(preview::kColumnCount);
    msfgClass->setRowHeaderCols({preview::kLastName, preview::kFirstName}, " ");
    msfgClass->setFixedCols(preview::kFrozenColumns);
    msfgClass->clearGrid();
    for (int c = 0; c < preview::kColumnCount; ++c)
        msfgClass->setColWidth(c, kWidths[c]);
    // Comments that name another student; hidden when there are none.
    lblNameWarnings = new QLabel(toQString(msg::nameWarningsHeading()), this);
    lblNameWarnings->setObjectName("lblNameWarnings");
    lblNameWarnings->setWordWrap(true);
    lstNameWarnings = new QListWidget(this);
    lstNameWarnings->setObjectName("lstNameWarnings");
    nameControl(lstNameWarnings, lblNameWarnings->text());
    lblNameWarnings->setBuddy(lstNameWarnings);
    lstNameWarnings->setMaximumHeight(6 * lstNameWarnings->fontMetrics().height() +
                                      2 * lstNameWarnings->frameWidth());
    lblNameWarnings->hide();
    lstNameWarnings->hide();
    picOut = new QPlainTextEdit(this);
    picOut->setObjectName("picOut");
    nameControl(picOut, "eFile check report");
    picOut->setReadOnly(true);
    // Read line by line with the arrow keys, as a screen reader follows the caret.
    picOut->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    picOut->hide();

    cmdReturn = new QPushButton("&Return to Mark / Comment Entry ", this);
    cmdReturn->setObjectName("cmdReturn");
    chkConfirm = new QCheckBox(
        "&I confirm that these marks, comments and learning skills are correct.", this);
    chkConfirm->setObjectName("chkConfirm");
    chkConfirm->hide();
    cmdExport = new QPushButton("&Create eFile", this);
    cmdExport->setObjectName("cmdExport");
    cmdExport->hide();

    // The text pad lies over the left part of the grid.
    auto* area = new QGridLayout;
    area->addWidget(msfgClass, 0, 0);
    area->addWidget(picOut, 0, 0, Qt::AlignLeft);
    picOut->setFixedWidth(433);  // 6495 twips
    picOut->raise();

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdReturn);
    buttons->addSpacing(16);
    buttons->addWidget(chkConfirm);
    buttons->addStretch(1);
    buttons->addWidget(cmdExport);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblNameWarnings);
    layout->addWidget(lstNameWarnings);
    layout->addLayout(area, 1);
    layout->addLayout(buttons);
    chainTabOrder({lstNameWarnings, picOut, msfgClass, cmdReturn, chkConfirm, cmdExport});
    // Escape returns without writing anything.
    onEscape(this, [this] { cmdReturn_Click(); });
    fitToScreen(this, QSize(980, kDesignedHeight));

    connect(cmdReturn, &QPushButton::clicked, this, &frmExport::cmdReturn_Click);
    connect(chkConfirm, &QCheckBox::clicked, this, &frmExport::chkConfirm_Click);
    connect(cmdExport, &QPushButton::clicked, this, &frmExport::cmdExport_Click);
}

void frmExport::Form_Load() {
    if (screenIsSmall()) fitToScreen(this, QSize(width(), kDesignedHeight - kSmallScreenCut));
    show();
    ReconcileResult update;
    update_ = ws_.doc.updateFromEnrolment(locations_.masterFile(), locations_.now(), kMaxStudents,
                                          update);
    const ExportGate gate = checkExportGate(update, ws_.students(), ws_.phrases);
    switch (gate.outcome) {
        case GateOutcome::Refused:
            if (gate.notice) prompts_.message(*gate.notice);
            // Nothing to preview: the keyboard waits on the way back.
            cmdReturn->setFocus(Qt::OtherFocusReason);
            return;
        case GateOutcome::Discrepancies:
        case GateOutcome::Problems:
            printLines(gate.lines);
            // The report is read first, not the empty grid beneath it.
            picOut->setFocus(Qt::OtherFocusReason);
            return;
        case GateOutcome::Ready:
            break;
    }
    // Each comment composed once for this opening: for the completeness
    // tests, the preview and the name check.
    fillPreview(gate.comments);
    showNameWarnings(gate.comments);
    chkConfirm->show();
    if (lstNameWarnings->isVisible()) lstNameWarnings->setFocus(Qt::OtherFocusReason);
}

void frmExport::printLines(const std::vector<std::string>& lines) {
    QStringList text;
    for (const std::string& line : lines)
        text << toQString(line);
    // Its font only when it is shown: a change of font lays the pad out again.
    picOut->setFont(QFont("MS Sans Serif", 10));
    picOut->setPlainText(text.join('\n'));
    picOut->show();
    picOut->raise();
}

void frmExport::fillPreview(const std::vector<StudentComments>& comments) {
    msfgClass->setUpdatesEnabled(false);
    msfgClass->clearGrid();
    // The system button-face colour, as the main window's grid uses; white
    // below a long class.
    msfgClass->setBackColorBkg(
        ws_.studentCount() > 35 ? QColor(Qt::white) : msfgClass->palette().color(QPalette::Button));
    msfgClass->addItem(tabbedRow(kHeaders));
    for (int c = 0; c < preview::kColumnCount; ++c)
        msfgClass->setColWidth(c, kWidths[c]);
    QList<QStringList> shown;
    shown.reserve(ws_.studentCount() * 5);
    // Codes, marks, skills and flags repeat from student to student: each of
    // their texts is converted once and shared.
    std::unordered_map<std::string, QString> repeated;
    const auto shared = [&repeated](const std::string& text) {
        if (text.empty()) return QString();
        const auto known = repeated.find(text);
        if (known != repeated.end()) return known->second;
        return repeated.emplace(text, toQString(text)).first->second;
    };
    // The rows of comments whose double quotes the eFile writes as apostrophes.
    std::vector<int> quoted;
    for (std::size_t i = 0; i < ws_.students().size(); ++i) {
        const StudentRecord& s = ws_.students()[i];
        const std::vector<std::string> lines = previewCommentLines(s, comments[i].composed);
        if (comments[i].exported.find('"') != std::string::npos) {
            for (std::size_t r = 0; r < lines.size(); ++r)
                quoted.push_back(static_cast<int>(shown.size() + r) + 1);
        }
        // Each row repeats the student's identity, converted once.
        const QString identity[preview::kComments] = {
            shared(s.classCode), toQString(s.studentNumber), toQString(s.lastName),
            toQString(s.firstName), shared(s.mark)};
        for (std::size_t r = 0; r < lines.size(); ++r) {
            QStringList cells;
            cells.reserve(preview::kColumnCount);
            for (const QString& text : identity)
                cells.append(text);
            cells.append(toQString(lines[r]));
            // The second row carries the skills, flags and interview.
            static_assert(preview::kFirstSkill + std::tuple_size_v<decltype(s.skills)> ==
                          preview::kIep);
            static_assert(preview::kInterview == preview::kIep + 3 &&
                          preview::kInterview + 1 == preview::kColumnCount);
            if (r == 1) {
                for (const std::string& skill : s.skills)
                    cells.append(shared(skill));
                for (const std::string* flag : {&s.iep, &s.esl, &s.eld, &s.interview})
                    cells.append(shared(*flag));
            } else {
                cells.resize(preview::kColumnCount);
            }
            shown.append(std::move(cells));
        }
    }
    msfgClass->addItems(std::move(shown));
    for (const int row : quoted)
        msfgClass->setCellForeColor(row, preview::kComments, kWarningColour);
    // The teacher confirms these lines: every character of them shows.
    msfgClass->fitColWidthToText(preview::kComments, kWidths[preview::kComments]);
    msfgClass->fitColWidthToText(preview::kCourse, kWidths[preview::kCourse]);
    msfgClass->mergeColumns(preview::kIdentityColumns);
    msfgClass->setUpdatesEnabled(true);
    // Wider columns widen the window as far as the screen allows.
    int columns = 0;
    for (int c = 0; c < preview::kColumnCount; ++c)
        columns += msfgClass->columnWidth(c);
    const int margins = layout()->contentsMargins().left() + layout()->contentsMargins().right();
    const int needed = columns + margins + 2 * msfgClass->frameWidth() +
                       msfgClass->verticalScrollBar()->sizeHint().width();
    if (needed > width()) fitToScreen(this, QSize(needed, height()));
}

void frmExport::showNameWarnings(const std::vector<StudentComments>& comments) {
    const std::vector<NameWarning> warnings = nameWarnings(ws_.students(), ws_.phrases, comments);
    lstNameWarnings->clear();
    for (const NameWarning& w : warnings)
        lstNameWarnings->addItem(toQString(nameWarningLine(w)));
    lblNameWarnings->setVisible(!warnings.empty());
    lstNameWarnings->setVisible(!warnings.empty());
}

void frmExport::chkConfirm_Click() {
    cmdExport->setVisible(chkConfirm->isChecked());
}

void frmExport::cmdExport_Click() {
    exportFile();
    cmdReturn_Click();
}

void frmExport::exportFile() {
    prompts_.message(msg::tl15AboutToSave());
    if (locations_.homeHoldsFile()) cdlgGetFile_->initDir = locations_.homeFolder;
    cdlgGetFile_->fileName = ws_.studentCount() < 1
                                 ? QString()
                                 : toQString(alphanumericOnly(ws_.doc.student(0).classCode));
    cdlgGetFile_->confirmOverwrite = true;
    cdlgGetFile_->filter = "Trillium Export (*.trc)|*.trc";
    const QString chosen = cdlgGetFile_->showSave();
    if (chosen.isEmpty()) return;
    const std::string path = toPath(chosen);
    const SaveResult written = exportTrilliumClass(path, ws_.students(), ws_.phrases);
    if (written.notice) prompts_.message(*written.notice);
    if (!written.written()) return;
    // The file as the office will read it, not the text that was meant for it.
    const std::string difference = writtenEFileDifference(path, ws_.students(), ws_.phrases);
    prompts_.message(difference.empty() ? msg::eFileSaved()
                                        : msg::eFileReadBackDiffers(difference));
}

void frmExport::cmdReturn_Click() {
    close();
}

void frmExport::closeEvent(QCloseEvent* event) {
    if (dialogRunning(this)) {
        event->ignore();
        return;
    }
    if (!returned_) {
        returned_ = true;
        emit returned(update_);
    }
    event->accept();
}

frmExport::~frmExport() = default;

}  // namespace tl
