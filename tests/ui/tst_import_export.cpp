// SPDX-License-Identifier: GPL-3.0-or-later

// From the enrolment file to the eFile: the class picker, the class list
// update, the export window's report, preview and refusal; and a save the
// disk did not confirm.

#include <sys/stat.h>

#include <cerrno>

#include "core/class_document.h"
#include "core/class_file.h"
#include "core/file_io.h"
#include "core/messages.h"
#include "export/efile.h"
#include "export/frm_export.h"
#include "import/frm_get_trilliumfile.h"
#include "ui/ui_support.h"

using namespace tl;
using namespace tl::test;

namespace {

// The school's enrolment file: its header and 13 pupils, a line each.
const QList<QByteArray> kEnrolment = contents(TL_TEST_DATA "/ui_enrolment.txt").split('\n');
const QByteArray kHeader = kEnrolment[0] + '\n';

// The enrolment without the pupils left out; by default the last, who joins later.
QByteArray masterBytes(const QList<int>& leaveOut = {12}) {
    QByteArray bytes = kHeader;
    for (int i = 0; i < 13; ++i) {
        if (!leaveOut.contains(i)) bytes += kEnrolment[i + 1] + '\n';
    }
    return bytes;
}

// The main window with a master file.
struct SchoolDesk : Desk {
    explicit SchoolDesk(const QByteArray& master = masterBytes()) { writeMaster(master); }
    QString masterPath() const { return school.dataFolder() + "/TLStudentInfo.txt"; }
    void writeMaster(const QByteArray& bytes) const {
        school.write("data/TLStudentInfo.txt", bytes);
    }
    frmGetTrilliumfile* openPicker() {
        if (ws.studentCount() > 0) prompts.yesNoAnswers << false;
        run("mnuNewTrillium");
        return entry.findChild<frmGetTrilliumfile*>();
    }
    // Builds a class of one section with the picker, as the teacher does.
    void build(const QString& section) {
        frmGetTrilliumfile* picker = openPicker();
        QVERIFY(picker != nullptr);
        auto* combo = control<QComboBox>(picker, "cboClasses");
        combo->setCurrentIndex(combo->findText(section));
        press(picker, "cmdGetClass");
    }
    frmExport* openExport() {
        run("mnuExport");
        return openWindow<frmExport>("frmExport");
    }
};

int folderSyncFails(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISDIR(st.st_mode)) return ::fsync(fd);
    errno = EIO;
    return -1;
}

}  // namespace

class ImportExportTest : public QObject {
    Q_OBJECT
  private slots:
    void pickerBuildsTheChosenSections() {
        SchoolDesk desk;
        frmGetTrilliumfile* picker = desk.openPicker();
        QVERIFY(picker != nullptr && picker->isVisible());
        // Nothing chosen, in either mode, builds nothing.
        press(picker, "cmdGetClass");
        press(picker, "chkMultiCourse");
        press(picker, "cmdGetClass");
        QVERIFY(picker->isVisible() && desk.ws.studentCount() == 0 &&
                desk.prompts.messages().isEmpty());
        // Several sections from the sorted list: the students of all three, on the grid.
        auto* list = control<QListWidget>(picker, "lstMultiSelect");
        QCOMPARE(items(list),
                 (QStringList{"ENG2D1-02", "HIS2D1-04", "MPM2D1-01", "MPM2D1-011", "SCI2D1-03"}));
        for (const int section : {0, 1, 4})
            clickItem(list, section);
        press(picker, "cmdGetClass");
        QCOMPARE(desk.ws.studentCount(), 14);
        QCOMPARE(shownRows(desk.grid()), recordRows(desk.ws, false));
        // The close box leaves the class as it was.
        const auto before = desk.ws.students();
        desk.openPicker()->close();
        settle();
        QVERIFY(desk.ws.students() == before);
    }

    void pickerRefusesAMasterFileItCannotUse() {
        // 31 days old; gone with a class open; without a class section (the program ends).
        for (const QString code : {"TL9:", "TL10b:", "TL10a:"}) {
            SchoolDesk desk(code != "TL10a:"
                                ? masterBytes()
                                : kHeader + "Holm,Saga,F,2,2025,10,ON,N1,,,,,,H1,LUNCH\r\n");
            QFile master(desk.masterPath());
            if (code == "TL9:") {
                QVERIFY(master.open(QIODevice::ReadWrite) &&
                        master.setFileTime(QDateTime::currentDateTime().addDays(-31),
                                           QFileDevice::FileModificationTime));
            }
            if (code == "TL10b:") {
                desk.build("SCI2D1-03");
                QVERIFY(master.remove());
            }
            const auto before = desk.ws.students();
            frmGetTrilliumfile* picker = desk.openPicker();
            QCOMPARE(shownCodes(desk.prompts), QStringList{code});
            QVERIFY(picker != nullptr && control<QComboBox>(picker, "cboClasses")->count() == 0 &&
                    desk.ws.students() == before);
            QCOMPARE(desk.prompts.endedWith != 0, code == "TL10a:");
        }
    }

    void updateFollowsTheMasterFile() {
        SchoolDesk desk;
        desk.build("SCI2D1-03");
        const auto before = desk.ws.students();
        // Holm has left the section; Kestrel has joined it. No changes nothing.
        desk.writeMaster(masterBytes({4}));
        desk.prompts.yesNoAnswers << false << true;
        desk.run("mnuUpdate");
        QVERIFY(desk.prompts.asked.last().title == "Update Class List" &&
                desk.ws.students() == before);
        desk.run("mnuUpdate");
        const QStringList updated{"Ashgrove, Jr.", "Calder", "Gantry", "Kestrel", "Velde"};
        QCOMPARE(column(desk.grid(), 1), updated);

        // A file whose lines lack the timetable would empty the class: TL21, the class stays.
        const auto kept = desk.ws.students();
        desk.writeMaster(kHeader + "Velde,Pia,F,302000003,2025,10,ON,N3\r\n");
        desk.prompts.yesNoAnswers << true;
        desk.run("mnuUpdate");
        QCOMPARE(shownCodes(desk.prompts), QStringList{"TL21:"});
        QVERIFY(desk.ws.students() == kept && column(desk.grid(), 1) == updated);
    }

    // A discrepancy with the enrolment file is a report in the text pad:
    // nothing is previewed or offered for export.
    void exportWindowReportsADiscrepancy() {
        SchoolDesk desk;
        desk.build("SCI2D1-03");
        const auto before = desk.ws.students();  // Ashgrove, Velde, Holm, Calder, Gantry
        // Holm and Calder have left; Kestrel has joined.
        desk.writeMaster(masterBytes({4, 6}));
        frmExport* w = desk.openExport();
        QVERIFY(w != nullptr && control<QWidget>(w, "cmdExport")->isHidden());
        // The class comes back in the names' order, the newcomer among them.
        const StudentRecord& kestrel = desk.ws.doc.student(2);
        QCOMPARE(control<QPlainTextEdit>(w, "picOut")->toPlainText(),
                 listOf(discrepancyReport({before[3], before[2]}, {kestrel})).join('\n'));
        QVERIFY(control<FlexGrid>(w, "msfgClass")->rows() == 1 &&
                desk.prompts.messages().isEmpty());
        press(w, "cmdReturn");
        QVERIFY(openWindow<frmExport>("frmExport") == nullptr && desk.entry.isVisible());
        QCOMPARE(column(desk.grid(), 1),
                 (QStringList{"Ashgrove, Jr.", "Gantry", "Kestrel", "Velde"}));
    }

    // What the export window shows and writes for a class the picker built.
    void builtClassIsPreviewedWarnedOfAndWritten() {
        SchoolDesk desk;
        desk.file("notes.txt", "");  // the eFile's Save dialog starts in a home that holds a file
        desk.build("SCI2D1-03");
        std::vector<StudentRecord> students = desk.ws.students();
        for (StudentRecord& s : students) {
            s.mark = "70";
            s.freeFormUsed = true;
            s.freeFormText = "Works steadily in the lab.";
        }
        students[0].freeFormUsed = false;
        students[0].comments = {"0101", "0102", "0003", "", ""};
        students[2].freeFormText = "Saga and calder led the lab.";  // Holm Saga
        desk.ws.doc.replaceClass(students);

        // The preview by name; another student's name in a comment is a
        // warning, not a refusal.
        frmExport* w = desk.openExport();
        QVERIFY(w != nullptr && w->isVisible() && !desk.entry.isVisible());
        QStringList rows;
        for (const StudentRecord& student : desk.ws.students()) {
            for (const auto& row : previewRows(student, desk.ws.phrases))
                rows << listOf(row).join('|');
        }
        auto* preview = control<FlexGrid>(w, "msfgClass");
        QCOMPARE(shownRows(preview), rows);
        // Every character of the comment lines shows: the column is as wide
        // as the widest of them, which is wider than the column's least width.
        int widest = 0;
        for (int r = 1; r < preview->rows(); ++r)
            widest = std::max(widest, preview->fontMetrics().horizontalAdvance(
                                          preview->textMatrix(r, preview::kComments)));
        QVERIFY(widest > preview->fontMetrics().horizontalAdvance(QString(60, 'x')));
        QVERIFY(preview->columnWidth(preview::kComments) >= widest);
        QCOMPARE(items(control<QListWidget>(w, "lstNameWarnings")),
                 QStringList{"Holm Saga: \"calder\" in \"Saga and «calder» led the lab.\""});
        // An eFile that cannot be written is reported, no success follows and
        // nothing is left behind.
        press(w, "chkConfirm");
        desk.prompts.fileAnswers << desk.home("gone/sci");
        press(w, "cmdExport");
        QCOMPARE(shownCodes(desk.prompts), (QStringList{"TL15:", "TL20:"}));
        const FileRequest& request = desk.prompts.asked[1].request;
        QCOMPARE(request.fileName + "|" + request.filter + "|" + request.initialFolder,
                 "SCI2D103|Trillium Export (*.trc)|*.trc|" + desk.school.homeFolder());
        QCOMPARE(QDir(desk.school.homeFolder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{"notes.txt"});
    }

    // A class save the disk did not confirm counts as saved.
    void unconfirmedSaveCountsAsSaved() {
        Desk desk;
        desk.open(desk.file("eng.tlc", classOfSize(3)));
        typeMark(desk, 1, "88");
        QVERIFY(desk.ws.doc.hasUnsavedChanges());
        desk.prompts.fileAnswers << desk.home("kept");
        const SyncCall sync = syncCall;
        syncCall = folderSyncFails;  // the disk does not confirm the folder
        click(desk.btn("cmdSave"));
        syncCall = sync;
        QVERIFY(!desk.ws.doc.hasUnsavedChanges());
        QCOMPARE(desk.prompts.messages(),
                 QStringList{toQString(msg::tl25WrittenUnconfirmed("kept.tlc").text)});
        QCOMPARE(contents(desk.home("kept.tlc")),
                 QByteArray::fromStdString(classFileText(desk.ws.students())));
    }
};

QTEST_MAIN(ImportExportTest)
#include "tst_import_export.moc"
