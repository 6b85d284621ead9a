// From the enrolment file to the eFile: the class picker, the class list
// update, the export window in each of its states and the whole path through
// the main window; and writes the disk did not confirm.

#include <sys/stat.h>

#include <cerrno>

#include "checks/name_check.h"
#include "core/class_document.h"
#include "core/class_file.h"
#include "core/file_io.h"
#include "core/messages.h"
#include "export/efile.h"
#include "export/frm_export.h"
#include "import/frm_get_trilliumfile.h"
#include "selection/frm_selection.h"
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

const QStringList kSections{"ENG2D1-02", "HIS2D1-04", "MPM2D1-01", "MPM2D1-011", "SCI2D1-03"};
const QStringList kScienceInFileOrder{"Ashgrove, Jr.", "Velde", "Holm", "Calder", "Gantry"};
const QStringList kScienceByName{"Ashgrove, Jr.", "Calder", "Gantry", "Holm", "Velde"};

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
    // Builds a class from the sections with the picker, as the teacher does.
    void build(const QStringList& sections) {
        frmGetTrilliumfile* picker = openPicker();
        QVERIFY(picker != nullptr);
        auto* combo = control<QComboBox>(picker, "cboClasses");
        auto* list = control<QListWidget>(picker, "lstMultiSelect");
        if (sections.size() == 1) {
            combo->setCurrentIndex(combo->findText(sections.first()));
        } else {
            // The check box trades the one-section box for the list.
            press(picker, "chkMultiCourse");
            QVERIFY(list->isVisible() && combo->isHidden());
            for (const QString& section : sections)
                clickItem(list, kSections.indexOf(section));
        }
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

// Runs a command while the disk does not confirm a folder.
void unconfirmed(const std::function<void()>& command) {
    const SyncCall sync = syncCall;
    syncCall = folderSyncFails;
    command();
    syncCall = sync;
}

QString tl25(const std::string& fileName) {
    return toQString(msg::tl25WrittenUnconfirmed(fileName).text);
}

}  // namespace

class ImportExportTest : public QObject {
    Q_OBJECT
  private slots:
    void pickerOffersSortedSectionsAndBuildsTheClass() {
        SchoolDesk desk;
        frmGetTrilliumfile* picker = desk.openPicker();
        QVERIFY(picker != nullptr && picker->isVisible() && desk.prompts.asked.isEmpty());
        auto* combo = control<QComboBox>(picker, "cboClasses");
        // No section chosen until the teacher picks one; nothing chosen, in
        // either mode, builds nothing.
        QCOMPARE(combo->currentText() + QString::number(combo->count()), QString("5"));
        QCOMPARE(items(control<QListWidget>(picker, "lstMultiSelect")), kSections);
        press(picker, "cmdGetClass");
        press(picker, "chkMultiCourse");
        press(picker, "cmdGetClass");
        QVERIFY(picker->isVisible() && desk.ws.studentCount() == 0);
        QCOMPARE(desk.prompts.messages(), QStringList());
        picker->close();
        settle();

        // Several sections: the students of all three, on the grid.
        desk.build({"ENG2D1-02", "HIS2D1-04", "SCI2D1-03"});
        QCOMPARE(shownRows(desk.grid()), recordRows(desk.ws, false));
        QCOMPARE(desk.ctl("lblStatus")->text(), "New class " + desk.ctl("lblCourse")->text() +
                                                    " from the enrolment file (14 students).");
        // The close box leaves the class as it was, the keyboard on the marks.
        const auto before = desk.ws.students;
        desk.grid()->setCurrentCell(5, 6);
        desk.openPicker()->close();
        settle();
        QVERIFY(QApplication::focusWidget() == desk.grid() && desk.grid()->row() == 5 &&
                desk.grid()->col() == 3 && desk.ws.students == before);
    }

    void pickerRefusesAMasterFileItCannotUse() {
        // 31 days old; unread with a class open; without a class section (the program ends).
        for (const QString code : {"TL9:", "TL10b:", "TL10a:"}) {
            SchoolDesk desk(code != "TL10a:"
                                ? masterBytes()
                                : kHeader +
                                      "Holm,Saga,F,2,2025,10,ON,N1,,,,,,H1,LUNCH-A ZHOME\r\n");
            if (code == "TL10b:") desk.build({"SCI2D1-03"});
            QFile master(desk.masterPath());
            if (code == "TL9:") {
                QVERIFY(master.open(QIODevice::ReadWrite) &&
                        master.setFileTime(QDateTime::currentDateTime().addDays(-31),
                                           QFileDevice::FileModificationTime));
            }
            if (code == "TL10b:") QVERIFY(master.remove());
            const auto before = desk.ws.students;
            frmGetTrilliumfile* picker = desk.openPicker();
            QVERIFY(picker != nullptr);
            QCOMPARE(shownCodes(desk.prompts), QStringList{code});
            QCOMPARE(picker->isVisible(), code != "TL10b:");
            QVERIFY(control<QComboBox>(picker, "cboClasses")->count() == 0 &&
                    !control<QPushButton>(picker, "cmdGetClass")->isVisible());
            QVERIFY(desk.ws.students == before &&
                    shownRows(desk.grid()) == recordRows(desk.ws, false));
            QCOMPARE(desk.prompts.endedWith != 0, code == "TL10a:");
        }
    }

    void updateFollowsTheMasterFile() {
        SchoolDesk desk;
        desk.build({"SCI2D1-03"});
        const auto before = desk.ws.students;
        const auto shown = [&desk] {
            return column(desk.grid(), 1).join(", ") + " | " + desk.ctl("lblClassSize")->text() +
                   " | " + desk.ctl("lblStatus")->text();
        };
        // Holm has left the section; Kestrel has joined it. No changes nothing.
        desk.writeMaster(masterBytes({4}));
        desk.prompts.yesNoAnswers << false << true;
        desk.run("mnuUpdate");
        QVERIFY(desk.prompts.asked.last().title == "Update Class List" &&
                desk.ws.students == before);
        desk.run("mnuUpdate");
        const QString updated =
            "Ashgrove, Jr., Calder, Gantry, Kestrel, Velde | 5 Students | "
            "Class updated from the enrolment file (5 students).";
        QCOMPARE(shown(), updated);

        // A file whose lines lack the timetable would empty the class: TL21, the class stays.
        const auto kept = desk.ws.students;
        desk.writeMaster(kHeader + "Velde,Pia,F,302000003,2025,10,ON,N3\r\n");
        desk.prompts.yesNoAnswers << true;
        desk.run("mnuUpdate");
        QCOMPARE(shownCodes(desk.prompts), QStringList{"TL21:"});
        QVERIFY(desk.ws.students == kept && shown() == updated);
    }

    void exportWindowRefusesOrReports() {
        // A refusal is a message; a discrepancy (as a problem) is a report in
        // the text pad. Nothing is previewed or offered for confirmation.
        for (const QString shown : {"TL5:", "discrepancy"}) {
            SchoolDesk desk;
            desk.build({"SCI2D1-03"});
            const auto& s = desk.ws.students;  // Ashgrove, Velde, Holm, Calder, Gantry
            const auto before = s;
            // Holm and Calder have left; Kestrel has joined.
            if (shown == "TL5:") QVERIFY(QFile::remove(desk.masterPath()));
            if (shown == "discrepancy") desk.writeMaster(masterBytes({4, 6}));
            frmExport* w = desk.openExport();
            QVERIFY(w != nullptr && w->isVisible() && !desk.entry.isVisible());
            QVERIFY(control<QWidget>(w, "chkConfirm")->isHidden() &&
                    control<QWidget>(w, "cmdExport")->isHidden());
            const QStringList pad = shown == "TL5:"
                                        ? QStringList()
                                        : listOf(discrepancyReport({before[3], before[2]}, {s[3]}));
            QCOMPARE(control<QPlainTextEdit>(w, "picOut")->isVisible(), !pad.isEmpty());
            QCOMPARE(control<QPlainTextEdit>(w, "picOut")->toPlainText(), pad.join('\n'));
            QCOMPARE(shownCodes(desk.prompts), QStringList(pad.isEmpty() ? 1 : 0, shown));
            QCOMPARE(control<FlexGrid>(w, "msfgClass")->rows(), 1);
            press(w, "cmdReturn");
            // Sorted by name on the way; an update gives the class back in its new order.
            QVERIFY(openWindow<frmExport>("frmExport") == nullptr && desk.entry.isVisible());
            QVERIFY(QApplication::focusWidget() == desk.grid() && desk.grid()->col() == 3);
            QCOMPARE(column(desk.grid(), 1),
                     (pad.isEmpty() ? kScienceByName
                                    : QStringList{"Ashgrove, Jr.", "Velde", "Gantry", "Kestrel"}));
        }
    }

    // What the export window shows and writes for a class the picker built.
    void builtClassIsPreviewedWarnedOfAndWritten() {
        SchoolDesk desk;
        desk.file("notes.txt", "");  // the eFile's Save dialog starts in a home that holds a file
        desk.build({"SCI2D1-03"});
        // The section's students in file order, with an empty panel; the picker has closed.
        QCOMPARE(column(desk.grid(), 1), kScienceInFileOrder);
        QCOMPARE(desk.ctl("lblCourse")->text() + panel(desk.entry).join(""), QString("SCI2D1-03"));
        QVERIFY(desk.entry.findChild<frmGetTrilliumfile*>() == nullptr);
        for (StudentRecord& s : desk.ws.students) {
            s.mark = "70";
            s.freeFormUsed = true;
            s.freeFormText = "Works steadily in the lab.";
        }
        desk.ws.students[0].freeFormUsed = false;
        desk.ws.students[0].comments = {"0101", "0102", "0003", "", ""};
        desk.ws.students[2].freeFormText = "Saga and calder led the lab.";  // Holm Saga

        // The preview by name: every character of the wrapped comment lines
        // shows in its column, wider than designed where the lines need it.
        frmExport* w = desk.openExport();
        QVERIFY(w != nullptr && w->isVisible() && !desk.entry.isVisible());
        const FlexGrid* preview = control<FlexGrid>(w, "msfgClass");
        QStringList rows;
        for (const StudentRecord& student : desk.ws.students) {
            for (const auto& row : previewRows(student, desk.ws.phrases))
                rows << listOf(row).join('|');
        }
        QCOMPARE(shownRows(preview), rows);
        int widest = 0;
        for (const QString& line : column(preview, 5))
            widest = std::max(widest, preview->fontMetrics().horizontalAdvance(line));
        QVERIFY2(widest > 360, "the lines should need more than the designed width");
        QVERIFY(widest + 6 <= preview->columnWidth(5) &&
                preview->cellAlignment(1, 0) & Qt::AlignTop);
        // Another student's name in a comment is a warning, not a refusal.
        auto* warnings = control<QListWidget>(w, "lstNameWarnings");
        QVERIFY(warnings->isVisible() && control<QLabel>(w, "lblNameWarnings")->isVisible());
        QCOMPARE(items(warnings), QStringList{QString::fromUtf8(
                                      "Holm Saga: \"calder\" in \"Saga and \u00ABcalder\u00BB "
                                      "led the lab.\"")});
        QCOMPARE(warnings->accessibleName(), toQString(msg::nameWarningsHeading()));
        // An eFile that cannot be written is reported, no success follows and
        // nothing is left behind.
        press(w, "chkConfirm");
        desk.prompts.fileAnswers << desk.home("gone/sci");
        press(w, "cmdExport");
        QCOMPARE(shownCodes(desk.prompts), (QStringList{"TL15:", "TL20:"}));
        QCOMPARE(QDir(desk.school.homeFolder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{"notes.txt"});

        // Once more, on a disk that does not confirm the folder: the file counts
        // as written, is read back and succeeds.
        desk.prompts.fileAnswers << desk.home("sci-efile");
        w = desk.openExport();
        QVERIFY(w != nullptr);
        press(w, "chkConfirm");
        desk.prompts.asked.clear();
        unconfirmed([&] { press(w, "cmdExport"); });
        QCOMPARE(desk.prompts.messages(),
                 (QStringList{toQString(msg::tl15AboutToSave().text), tl25("sci-efile.trc"),
                              toQString(msg::eFileSaved().text)}));
        const FileRequest& request = desk.prompts.asked[1].request;
        QCOMPARE(request.fileName + "|" + request.filter + "|" + request.initialFolder,
                 "SCI2D103|Trillium Export (*.trc)|*.trc|" + desk.school.homeFolder());
        QCOMPARE(contents(desk.home("sci-efile.trc")),
                 QByteArray::fromStdString(eFileText(desk.ws.students, desk.ws.phrases)));
        QVERIFY(openWindow<frmExport>("frmExport") == nullptr && desk.entry.isVisible());
    }

    // A class save and a favourites save the disk did not confirm (TL25) count
    // as saved, and the command goes on.
    void unconfirmedWritesCountAsSaved() {
        Desk desk({}, " 0 \r\n0004\r\n0101\r\n");
        desk.open(desk.file("eng.tlc", classOfSize(3)));
        typeMark(desk, 1, "88");
        QVERIFY(hasUnsavedChanges(desk.ws));
        desk.prompts.fileAnswers << desk.home("kept");
        unconfirmed([&] { click(desk.btn("cmdSave")); });
        QVERIFY(!hasUnsavedChanges(desk.ws));
        QCOMPARE(contents(desk.home("kept.tlc")),
                 QByteArray::fromStdString(classFileText(desk.ws.students)));
        // New asks to save the named list first, then starts the new list.
        click(desk.btn("cmdSwitchCommentSelection"));
        auto* w = openWindow<frmSelection>("frmSelection");
        QVERIFY(w != nullptr);
        desk.prompts.yesNoAnswers << true;
        unconfirmed([&] { press(w, "cmdNew"); });
        QCOMPARE(desk.prompts.messages(), (QStringList{tl25("kept.tlc"), tl25("start.tlf")}));
        QVERIFY(desk.ws.favouritesFile.empty() && desk.ws.favourites.empty());
        press(w, "cmdBack");
    }
};

QTEST_MAIN(ImportExportTest)
#include "tst_import_export.moc"
