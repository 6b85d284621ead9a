// SPDX-License-Identifier: GPL-3.0-or-later

#include "import/frm_import_marks.h"

#include <QApplication>
#include <QBoxLayout>
#include <QComboBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTableWidget>
#include <algorithm>

#include "core/workspace.h"
#include "import/markbook_readers.h"
#include "platform/accessibility.h"
#include "platform/encoding.h"
#include "platform/prompts.h"
#include "platform/widgets.h"

namespace tl {

namespace {

constexpr int kRowsShown = 8;  // the sheet's first rows, in the table
const QSize kDesignedSize(760, 600);

QComboBox* dropDown(QWidget* parent, const char* name, QLabel* label) {
    auto* box = new QComboBox(parent);
    box->setObjectName(name);
    box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    box->setMinimumContentsLength(14);
    box->setMaxVisibleItems(20);
    nameByLabel(label, box);
    return box;
}

QString lineText(const PreviewLine& line) {
    QString text = toQString(line.text);
    if (!line.arrowTo.empty()) text += QString::fromUtf8(" \u2192 ") + toQString(line.arrowTo);
    return text;
}

}  // namespace

frmImportMarks::frmImportMarks(const Workspace& ws, Prompts& prompts, QWidget* parent)
    : QDialog(parent), ws_(ws), prompts_(prompts) {
    setObjectName("frmImportMarks");
    setWindowTitle("Import Marks");
    setModal(true);

    lblSheet = namedLabel(this, "lblSheet", "First &rows of the markbook:");
    msfgSheet = new QTableWidget(this);
    msfgSheet->setObjectName("msfgSheet");
    nameByLabel(lblSheet, msfgSheet);
    msfgSheet->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab goes from the drop-downs to the preview; a click or the access key
    // reaches the rows.
    msfgSheet->setFocusPolicy(Qt::ClickFocus);
    msfgSheet->setTabKeyNavigation(false);
    msfgSheet->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    const int rowHeight = msfgSheet->fontMetrics().lineSpacing() + 6;
    msfgSheet->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    msfgSheet->verticalHeader()->setDefaultSectionSize(rowHeight);
    // The headings and five rows; the rest a scroll away.
    msfgSheet->setMaximumHeight(rowHeight * 6 + msfgSheet->horizontalHeader()->sizeHint().height());

    lblNumberColumn = namedLabel(this, "lblNumberColumn", "Student &number:");
    cmbNumberColumn = dropDown(this, "cmbNumberColumn", lblNumberColumn);
    lblMarkColumn = namedLabel(this, "lblMarkColumn", "&Mark:");
    cmbMarkColumn = dropDown(this, "cmbMarkColumn", lblMarkColumn);
    lblNameColumn = namedLabel(this, "lblNameColumn", "N&ame (optional):");
    cmbNameColumn = dropDown(this, "cmbNameColumn", lblNameColumn);

    lblImportSummary = namedLabel(this, "lblImportSummary");
    lblImportSummary->setWordWrap(true);
    lblImportSummary->setTextFormat(Qt::PlainText);
    lstImportPreview = new QListWidget(this);
    lstImportPreview->setObjectName("lstImportPreview");
    nameControl(lstImportPreview, "Preview");
    lstImportPreview->setUniformItemSizes(true);

    cmdImport = textButton(this, "cmdImport", "&Import", [this] { cmdImport_Click(); });
    cmdImport->setDefault(true);
    cmdCancel = textButton(this, "cmdCancel", "&Cancel", [this] { reject(); });

    auto* columns = new QGridLayout;
    int at = 0;
    for (auto [label, box] :
         {std::pair{lblNumberColumn, cmbNumberColumn}, std::pair{lblMarkColumn, cmbMarkColumn},
          std::pair{lblNameColumn, cmbNameColumn}}) {
        columns->addWidget(label, 0, at);
        columns->addWidget(box, 1, at++);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdImport);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblSheet);
    layout->addWidget(msfgSheet);
    layout->addLayout(columns);
    layout->addWidget(lblImportSummary);
    layout->addWidget(lstImportPreview, 1);
    layout->addLayout(buttons);

    chainTabOrder(
        {cmbNumberColumn, cmbMarkColumn, cmbNameColumn, lstImportPreview, cmdImport, cmdCancel});
    for (QComboBox* box : {cmbNumberColumn, cmbMarkColumn, cmbNameColumn})
        connect(box, &QComboBox::currentIndexChanged, this, &frmImportMarks::showPreview);
    connect(lstImportPreview, &QListWidget::itemChanged, this, &frmImportMarks::showSummary);
}

bool frmImportMarks::Form_Load(const QString& path) {
    fileName_ = QFileInfo(path).fileName();
    QApplication::setOverrideCursor(Qt::WaitCursor);
    MarkbookRead read = readMarkbookFile(path);
    MarkbookColumns preset;
    if (read.refusal == MarkbookRefusal::None) {
        preset = presetColumns(read.sheet, ws_.students());
        if (preset.number < 0) read.refusal = MarkbookRefusal::NoMatch;
    }
    QApplication::restoreOverrideCursor();
    if (read.refusal != MarkbookRefusal::None) {
        prompts_.message(markbookRefusalNotice(fromQString(fileName_), read.refusal));
        return false;
    }
    sheet_ = std::move(read.sheet);

    const int shown = std::min<int>(kRowsShown, static_cast<int>(sheet_.rows.size()));
    msfgSheet->setRowCount(shown);
    msfgSheet->setColumnCount(sheet_.columns);
    QStringList letters;
    for (int c = 0; c < sheet_.columns; ++c)
        letters << toQString(columnLetters(c));
    msfgSheet->setHorizontalHeaderLabels(letters);
    for (int r = 0; r < shown; ++r) {
        const MarkbookRow& row = sheet_.rows[static_cast<std::size_t>(r)];
        msfgSheet->setVerticalHeaderItem(r, new QTableWidgetItem(QString::number(row.number)));
        for (std::size_t c = 0; c < row.cells.size(); ++c) {
            const QString text = toQString(cellDisplay(row.cells[c]));
            if (!text.isEmpty())
                msfgSheet->setItem(r, static_cast<int>(c), new QTableWidgetItem(text));
        }
    }

    QStringList captions;
    for (const std::string& caption : columnCaptions(sheet_))
        captions << toQString(caption);
    {
        const QSignalBlocker quiet1(cmbNumberColumn), quiet2(cmbMarkColumn), quiet3(cmbNameColumn);
        cmbNumberColumn->addItems(captions);
        cmbMarkColumn->addItems(captions);
        cmbNameColumn->addItem("none");
        cmbNameColumn->addItems(captions);
        cmbNumberColumn->setCurrentIndex(preset.number);
        // Without a column of marks, the first other column, to be chosen anew.
        int mark = preset.mark;
        if (mark < 0) mark = preset.number == 0 && sheet_.columns > 1 ? 1 : 0;
        cmbMarkColumn->setCurrentIndex(mark);
        cmbNameColumn->setCurrentIndex(preset.name + 1);
    }
    showPreview();
    cmbNumberColumn->setFocus(Qt::OtherFocusReason);
    // Over the middle of the main window, within the screen.
    if (const QWidget* owner = parentWidget()) {
        move(owner->frameGeometry().center() -
             QPoint(kDesignedSize.width() / 2, kDesignedSize.height() / 2));
    }
    fitToScreen(this, kDesignedSize);
    return true;
}

MarkbookColumns frmImportMarks::chosenColumns() const {
    return {cmbNumberColumn->currentIndex(), cmbMarkColumn->currentIndex(),
            cmbNameColumn->currentIndex() - 1};
}

std::vector<bool> frmImportMarks::tickedLines() const {
    std::vector<bool> ticked;
    for (int i = 0; i < lstImportPreview->count(); ++i)
        ticked.push_back(lstImportPreview->item(i)->checkState() == Qt::Checked);
    return ticked;
}

void frmImportMarks::showPreview() {
    lines_ = previewImport(sheet_, chosenColumns(), ws_.students());
    {
        const QSignalBlocker quiet(lstImportPreview);
        lstImportPreview->clear();
        for (const PreviewLine& line : lines_) {
            auto* item = new QListWidgetItem(lineText(line), lstImportPreview);
            // A name that differs is imported only when the teacher ticks it.
            if (line.kind == PreviewLine::Kind::NameDiffers) {
                item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
                item->setCheckState(Qt::Unchecked);
            }
        }
        if (lstImportPreview->count() > 0) lstImportPreview->setCurrentRow(0);
    }
    showSummary();
}

void frmImportMarks::showSummary() {
    const QString summary = toQString(importSummary(lines_, tickedLines()));
    lblImportSummary->setText(summary);
    // A screen reader gives the count with the list, which it reads line by line.
    lstImportPreview->setAccessibleDescription(summary);
}

void frmImportMarks::cmdImport_Click() {
    chosen_ = marksToImport(lines_, tickedLines());
    accept();
}

}  // namespace tl
