// SPDX-License-Identifier: GPL-3.0-or-later

#include "import/frm_get_trilliumfile.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "core/class_document.h"
#include "core/limits.h"
#include "core/master_file.h"
#include "core/messages.h"
#include "core/workspace.h"
#include "platform/accessibility.h"
#include "platform/encoding.h"
#include "platform/locations.h"
#include "platform/prompts.h"
#include "platform/widgets.h"

namespace tl {

frmGetTrilliumfile::frmGetTrilliumfile(Workspace& ws, Prompts& prompts, const Locations& locations,
                                       QWidget* parent)
    : QWidget(parent, Qt::Window), ws_(ws), prompts_(prompts), locations_(locations) {
    setObjectName("frmGetTrilliumfile");
    setWindowTitle("Get New Class File");
    setAttribute(Qt::WA_DeleteOnClose);

    lblSelect = new QLabel("Select a Class     ", this);
    lblSelect->setObjectName("lblSelect");
    QFont bold = lblSelect->font();
    bold.setBold(true);
    bold.setPointSize(bold.pointSize() + 2);
    lblSelect->setFont(bold);
    cboClasses = new QComboBox(this);
    cboClasses->setObjectName("cboClasses");
    nameByLabel(lblSelect, cboClasses);
    cboClasses->setMinimumWidth(cboClasses->fontMetrics().horizontalAdvance(QString(30, 'x')));
    cboClasses->setMaxVisibleItems(20);
    lstMultiSelect = new QListWidget(this);
    lstMultiSelect->setObjectName("lstMultiSelect");
    nameControl(lstMultiSelect, "Select ALL Classes");
    lstMultiSelect->setSelectionMode(QAbstractItemView::MultiSelection);
    lstMultiSelect->hide();
    chkMultiCourse = new QCheckBox("&Multiple Course Selection Mode", this);
    chkMultiCourse->setObjectName("chkMultiCourse");
    cmdGetClass = new QPushButton("&Get Class", this);
    cmdGetClass->setObjectName("cmdGetClass");
    cmdGetClass->setMinimumHeight(36);
    lblWarning = new QLabel(
        "This feature is intended for teachers who have many sections assigned to a single "
        "period/room.  These multiple sections form a single period \"class\".\n\n"
        "(Normal classroom teachers should NOT use this feature.)\n\n"
        "Select the courses by holding the Ctrl button and clicking the course code. (You can "
        "de-select courses this way as well.) Finally hit the \"Get Classes\" button.",
        this);
    lblWarning->setObjectName("lblWarning");
    lblWarning->setWordWrap(true);
    lblWarning->setMinimumWidth(lblWarning->fontMetrics().horizontalAdvance(QString(40, 'x')));
    QPalette warn = lblWarning->palette();
    warn.setColor(QPalette::WindowText, kWarningColour);
    lblWarning->setPalette(warn);
    lblWarning->hide();
    lsttest = new QListWidget(this);
    lsttest->setObjectName("lsttest");
    lsttest->hide();

    lstMultiSelect->setMinimumSize(cboClasses->minimumWidth(),
                                   16 * lstMultiSelect->fontMetrics().lineSpacing());
    auto* left = new QVBoxLayout;
    left->addWidget(lblSelect);
    left->addWidget(cboClasses);
    left->addWidget(lstMultiSelect, 1);
    left->addWidget(chkMultiCourse);
    left->addWidget(cmdGetClass);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    layout->addWidget(lblWarning, 0, Qt::AlignTop);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    chainTabOrder({cboClasses, lstMultiSelect, chkMultiCourse, cmdGetClass});
    // Nothing is built until Get Class: Escape closes the picker as its close box does.
    onEscape(this, [this] { close(); });

    connect(chkMultiCourse, &QCheckBox::clicked, this, &frmGetTrilliumfile::chkMultiCourse_Click);
    connect(cmdGetClass, &QPushButton::clicked, this, &frmGetTrilliumfile::cmdGetClass_Click);
}

bool frmGetTrilliumfile::Form_Load() {
    show();
    cmdGetClass->hide();
    return fillClassListCombo();
}

bool frmGetTrilliumfile::fillClassListCombo() {
    const std::string path = locations_.masterFile();
    const std::time_t today = locations_.now();
    if (const std::optional<int> age = masterFileAgeDays(path, today);
        age && masterFileTooOld(*age)) {
        prompts_.message(msg::tl9MasterTooOld(*age));
        return true;
    }
    const auto lines = readMasterStudentLines(path);
    const auto sections = lines ? collectClassSections(*lines) : std::nullopt;
    if (!sections) {
        // The file cannot be read: the picker hides and is not offered again.
        prompts_.message(msg::tl10bMasterUnavailable());
        readFailed_ = true;
        hide();
        return true;
    }
    lsttest->clear();
    for (std::size_t i = 0; i < lines->size(); ++i) {
        lsttest->addItem(QString::number(i + 1) + " " + toQString(timetableField((*lines)[i])));
    }
    lsttest->addItem("number of courses = " + QString::number(sections->size()));
    if (sections->empty()) {
        prompts_.message(msg::tl10aMasterCorrupt());
        prompts_.endProgram(1);
        return false;
    }
    cboClasses->clear();
    lstMultiSelect->clear();
    for (const std::string& section : *sections) {
        cboClasses->addItem(toQString(section));
        lstMultiSelect->addItem(toQString(section));
    }
    cboClasses->setCurrentIndex(-1);  // no section until the teacher picks one
    cmdGetClass->show();
    return true;
}

void frmGetTrilliumfile::chkMultiCourse_Click() {
    const bool multiple = chkMultiCourse->isChecked();
    lblSelect->setText(multiple ? "Select ALL Classes" : "Select a Class");
    lblSelect->setBuddy(sectionsControl());
    cmdGetClass->setText(multiple ? "&Get Classes" : "&Get Class");
    lblWarning->setVisible(multiple);
    cboClasses->setVisible(!multiple);
    lstMultiSelect->setVisible(multiple);
    // The window grows with the warning; it must stay on the screen.
    adjustSize();
    keepOnScreen(this);
}

QWidget* frmGetTrilliumfile::sectionsControl() const {
    if (chkMultiCourse->isChecked()) return lstMultiSelect;
    return cboClasses;
}

void frmGetTrilliumfile::refuse(const Notice& notice) {
    prompts_.message(notice);
    // Back to the sections, to choose again.
    sectionsControl()->setFocus(Qt::OtherFocusReason);
}

std::vector<std::string> frmGetTrilliumfile::chosenSections() const {
    std::vector<std::string> chosen;
    if (!chkMultiCourse->isChecked()) {
        const std::string code = fromQString(cboClasses->currentText());
        if (!code.empty()) chosen.push_back(code);
        return chosen;
    }
    for (int i = 0; i < lstMultiSelect->count(); ++i) {
        if (lstMultiSelect->item(i)->isSelected()) {
            chosen.push_back(fromQString(lstMultiSelect->item(i)->text()));
        }
    }
    return chosen;
}

void frmGetTrilliumfile::cmdGetClass_Click() {
    // Nothing chosen changes nothing; the open class stays until the new one is built.
    const std::vector<std::string> chosen = chosenSections();
    if (chosen.empty()) return;
    if (chosen.size() > static_cast<std::size_t>(kMaxChosenCodes)) {
        refuse(msg::tl10cTooManyStudents());
        return;
    }
    const auto lines = readMasterStudentLines(locations_.masterFile());
    if (!lines) {
        refuse(msg::tl10bMasterUnavailable());
        return;
    }
    auto students = matchStudentsToSections(*lines, chosen, kMaxStudents);
    if (!students) {
        refuse(msg::tl10cTooManyStudents());
        return;
    }
    if (students->empty()) return;
    emit classBuilt(ws_.doc.replaceClass(std::move(*students)));
    close();
}

void frmGetTrilliumfile::closeEvent(QCloseEvent* event) {
    if (dialogRunning(this)) {
        event->ignore();
        return;
    }
    event->accept();
}

}  // namespace tl
