// From the enrolment file to the eFile: the class picker, the class list
// update, the export window in each of its states and the whole path through
// the main window.

#include "core/messages.h"
#include "export/efile.h"
#include "export/frm_export.h"
#include "import/frm_get_trilliumfile.h"
#include "ui/ui_support.h"

using namespace tl;
using namespace tl::test;

namespace {

const QByteArray kLibrary =
    "Code,Comment,Category\r\n"
    "0101,$ has shown steady growth in lab skills.,1\r\n"
    "0102,@ records observations with precision.,1\r\n"
    "0103,% questions often lead the class discussion.,2\r\n"
    "0104,# written work is clear and organised.,2\r\n"
    "0105,Regular review of notes will help *.,3\r\n"
    "0106,\"Attendance, punctuality and effort were strong.\",3\r\n"
    "0201,$ plans each investigation with care, checks every measurement twice, and explains "
    "the findings to the class with patience and a steady voice.,4\r\n";

// Marks 80-100 fill 0101 0102 0103 and skills 4; 50-79 fill 0104 0105 0106
// and skills 2. The list holds 0101 and 0106.
const QByteArray kFavourites =
    " 2 \r\n80,100,0101,0102,0103,4,4,4,4,4,4\r\n50,79,0104,0105,0106,2,2,2,2,2,2\r\n"
    "0101\r\n0106\r\n";

// The school's enrolment, in file order: last, first, gender, number, timetable.
const QList<QByteArrayList> kRoll = {
    {"Quarry", "Ines", "F", "302000001", "MPM2D1-01 ENG2D1-02 LUNCH-B SH1-04 ZHOME"},
    {"\"Ashgrove, Jr.\"", "Tobin", "M", "302000002", "ENG2D1-02 SCI2D1-03 SCI2D1-03"},
    {"Velde", "Pia", "F", "302000003", "SCI2D1-03 HIS2D1-04"},
    {"Bramble", "Otto", "M", "302000004", "MPM2D1-011 ENG2D1-02"},
    {"Holm", "Saga", "F", "302000005", "SCI2D1-03 LUNCH"},
    {"Ferris", "Jun", "M", "302000006", "HIS2D1-04 MPM2D1-01"},
    {"Calder", "Rue", "F", "302000007", "SCI2D1-03 ZLIB"},
    {"Dunmore", "Ash", "M", "302000008", "ENG2D1-02 HIS2D1-04"},
    {"Elwin", "Tove", "F", "302000009", "MPM2D1-011"},
    {"Gantry", "Lio", "M", "302000010", "SCI2D1-03 MPM2D1-01"},
    {"Iver", "Noor", "F", "302000011", "HIS2D1-04 SH1-02"},
    {"Juniper", "Kai", "M", "302000012", "ENG2D1-02"},
    {"Kestrel", "Ada", "F", "302000013", "SCI2D1-03"},
};

const QByteArray kHeader =
    "Surname,Given,Sex,StudentNo,Year,Grade,Prov,Board,C9,C10,C11,C12,C13,Home,Timetable\r\n";

// Line n of the master file, with field 8 "Nn" and field 14 "Hn".
QByteArray masterLine(int n, const QByteArrayList& p) {
    const QByteArray line = QByteArray::number(n);
    return p[0] + "," + p[1] + "," + p[2] + "," + p[3] + ",2025,10,ON,N" + line + ",,,,,,H" + line +
           "," + p[4] + "\r\n";
}

// The school's pupils without those left out; by default the last, who joins later.
QByteArray masterBytes(const QList<int>& leaveOut = {12}) {
    QByteArray bytes = kHeader;
    for (int i = 0; i < kRoll.size(); ++i) {
        if (!leaveOut.contains(i)) bytes += masterLine(i + 1, kRoll[i]);
    }
    return bytes;
}

const QStringList kSections{"ENG2D1-02", "HIS2D1-04", "MPM2D1-01", "MPM2D1-011", "SCI2D1-03"};
const QStringList kScienceInFileOrder{"Ashgrove, Jr.", "Velde", "Holm", "Calder", "Gantry"};
const QStringList kScienceByName{"Ashgrove, Jr.", "Calder", "Gantry", "Holm", "Velde"};

// The main window with the school's own phrase library and a master file.
struct SchoolDesk : Desk {
    explicit SchoolDesk(const QByteArray& favourites = {}, const QByteArray& master = masterBytes())
        : Desk(kLibrary, favourites) {
        writeMaster(master);
    }
    QString masterPath() const { return school.dataFolder() + "/TLStudentInfo.txt"; }
    void writeMaster(const QByteArray& bytes) const {
        school.write("data/TLStudentInfo.txt", bytes);
    }
    frmGetTrilliumfile* openPicker() {
        if (ws.studentCount() > 0) prompts.yesNoAnswers << false;
        act("mnuNewTrillium")->trigger();
        settle();
        return entry.findChild<frmGetTrilliumfile*>();
    }
    // Builds a class from the sections with the picker, as the teacher does.
    void build(const QStringList& sections) {
        frmGetTrilliumfile* picker = openPicker();
        QVERIFY(picker != nullptr);
        if (sections.size() == 1) {
            control<QComboBox>(picker, "cboClasses")
                ->setCurrentIndex(
                    control<QComboBox>(picker, "cboClasses")->findText(sections.first()));
        } else {
            click(control<QCheckBox>(picker, "chkMultiCourse"));
            for (const QString& section : sections)
                clickItem(control<QListWidget>(picker, "lstMultiSelect"),
                          kSections.indexOf(section));
        }
        click(control<QPushButton>(picker, "cmdGetClass"));
    }
    // Builds a section's class and gives everyone a mark and a comment.
    void buildComplete(const QString& section = "SCI2D1-03") {
        build({section});
        for (StudentRecord& s : ws.students) {
            s.mark = "70";
            s.comments[0] = "0101";
        }
    }
    frmExport* openExport() {
        act("mnuExport")->trigger();
        settle();
        return openWindow<frmExport>("frmExport");
    }
};

}  // namespace

class ImportExportTest : public QObject {
    Q_OBJECT
  private slots:
    void pickerOffersSortedSectionsInBothModes() {
        SchoolDesk desk;
        frmGetTrilliumfile* picker = desk.openPicker();
        QVERIFY(picker != nullptr && picker->isVisible() && desk.prompts.asked.isEmpty());
        auto* combo = control<QComboBox>(picker, "cboClasses");
        // No section chosen until the teacher picks one.
        QCOMPARE(combo->currentText() + QString::number(combo->count()), QString("5"));
        QCOMPARE(items(control<QListWidget>(picker, "lstMultiSelect")), kSections);
        QVERIFY(control<QPushButton>(picker, "cmdGetClass")->isVisible() &&
                control<QListWidget>(picker, "lsttest")->isHidden());
        // Captions and controls follow the mode, also after switching back.
        for (bool multiple : {true, false}) {
            click(control<QCheckBox>(picker, "chkMultiCourse"));
            QCOMPARE(
                control<QLabel>(picker, "lblSelect")->text() + "|" +
                    control<QPushButton>(picker, "cmdGetClass")->text(),
                QString(multiple ? "Select ALL Classes|Get Classes" : "Select a Class|Get Class"));
            QCOMPARE(control<QLabel>(picker, "lblWarning")->isVisible(), multiple);
            QCOMPARE(control<QListWidget>(picker, "lstMultiSelect")->isVisible(), multiple);
            QCOMPARE(combo->isVisible(), !multiple);
        }

        // Several sections: the students of all three, on the grid.
        desk.build({"ENG2D1-02", "HIS2D1-04", "SCI2D1-03"});
        QCOMPARE(desk.ws.studentCount(), 14);
        QCOMPARE(shownRows(desk.grid()), recordRows(desk.ws, false));

        // Nothing chosen, in either mode, changes nothing.
        const auto before = desk.ws.students;
        picker = desk.openPicker();
        QVERIFY(picker != nullptr);
        click(control<QPushButton>(picker, "cmdGetClass"));
        click(control<QCheckBox>(picker, "chkMultiCourse"));
        click(control<QPushButton>(picker, "cmdGetClass"));
        QVERIFY(desk.ws.students == before && picker->isVisible());
        QCOMPARE(desk.grid()->rows(), 15);
        QCOMPARE(desk.prompts.messages(), QStringList());
    }

    void pickerRefusesAMasterFileItCannotUse() {
        // 31 days old; unread with a class open; without a class section (the program ends).
        for (const QString code : {"TL9:", "TL10b:", "TL10a:"}) {
            SchoolDesk desk({}, code != "TL10a:" ? masterBytes()
                                                 : kHeader + masterLine(1, {"Holm", "Saga", "F",
                                                                            "2", "LUNCH-A ZHOME"}));
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
            if (code == "TL10a:")
                QCOMPARE(items(control<QListWidget>(picker, "lsttest")),
                         (QStringList{"1 LUNCH-A ZHOME", "number of courses = 0"}));
            if (code != "TL10b:") continue;
            // Later New commands do not load it again, even with the file back.
            desk.writeMaster(masterBytes());
            QCOMPARE(desk.openPicker(), picker);
            QVERIFY(picker->isHidden() && desk.prompts.messages().size() == 1);
        }
    }

    void updateFollowsTheMasterFile() {
        SchoolDesk desk;
        desk.build({"SCI2D1-03"});
        const auto before = desk.ws.students;
        // Holm has left the section; Kestrel has joined it. No changes nothing.
        desk.writeMaster(masterBytes({4}));
        desk.prompts.yesNoAnswers << false << true;
        desk.act("mnuUpdate")->trigger();
        QCOMPARE(desk.prompts.asked.size(), 1);
        QCOMPARE(desk.prompts.asked[0].title, QString("Update Class List"));
        QVERIFY(desk.ws.students == before);

        desk.act("mnuUpdate")->trigger();
        const QStringList byName{"Ashgrove, Jr.", "Calder", "Gantry", "Kestrel", "Velde"};
        QCOMPARE(column(desk.grid(), 1), byName);
        QCOMPARE(shownRows(desk.grid()), recordRows(desk.ws, false));
        QCOMPARE(desk.ctl("lblClassSize")->text(), QString("5 Students"));

        // A file whose lines lack the timetable would empty the class: TL21, the class stays.
        const auto updated = desk.ws.students;
        desk.writeMaster(kHeader + "Velde,Pia,F,302000003,2025,10,ON,N3\r\n");
        desk.prompts.yesNoAnswers << true;
        desk.act("mnuUpdate")->trigger();
        QCOMPARE(shownCodes(desk.prompts), QStringList{"TL21:"});
        QVERIFY(desk.ws.students == updated);
        QCOMPARE(column(desk.grid(), 1), byName);
        QVERIFY(desk.btn("cmdSave")->isEnabled());
    }

    void exportWindowRefusesReportsOrPreviews() {
        // A refusal is a message; a discrepancy or a problem is a report in the text
        // pad; a complete class is previewed for the teacher to confirm.
        for (const QString shown : {"TL5:", "discrepancy", "problems", "complete"}) {
            SchoolDesk desk;
            desk.buildComplete();
            auto& s = desk.ws.students;  // Ashgrove, Velde, Holm, Calder, Gantry
            const auto before = s;
            if (shown == "TL5:") QVERIFY(QFile::remove(desk.masterPath()));
            // Holm and Calder have left; Kestrel has joined.
            if (shown == "discrepancy") desk.writeMaster(masterBytes({4, 6}));
            if (shown == "problems") s[1].mark = "";
            if (shown == "complete") {
                s[1].comments = {"0201", "0104", "0105", "", ""};
                s[2].comments = {"0201", "0201", "", "", ""};
            }
            frmExport* w = desk.openExport();
            QVERIFY(w != nullptr && w->isVisible() && !desk.entry.isVisible());
            auto* confirm = control<QCheckBox>(w, "chkConfirm");
            auto* create = control<QPushButton>(w, "cmdExport");
            QVERIFY(confirm->isVisible() == (shown == "complete") && !confirm->isChecked() &&
                    create->isHidden());
            QStringList pad;
            if (shown == "discrepancy")
                pad = listOf(discrepancyReport({before[3], before[2]}, {s[3]}));
            if (shown == "problems") pad = listOf(problemReport(s, desk.ws.phrases));
            QCOMPARE(control<QPlainTextEdit>(w, "picOut")->isVisible(), !pad.isEmpty());
            QCOMPARE(control<QPlainTextEdit>(w, "picOut")->toPlainText(), pad.join('\n'));
            QCOMPARE(shownCodes(desk.prompts), QStringList(shown == "TL5:" ? 1 : 0, shown));
            // The students' preview rows, in name order.
            const FlexGrid* grid = control<FlexGrid>(w, "msfgClass");
            QStringList preview;
            for (const StudentRecord& student : s) {
                for (const auto& row : previewRows(student, desk.ws.phrases))
                    preview << listOf(row).join('|');
            }
            QCOMPARE(shownRows(grid), shown == "complete" ? preview : QStringList());
            if (shown != "complete") click(control<QPushButton>(w, "cmdReturn"));

            if (shown == "complete") {
                // Every character of the wrapped comment lines shows in its column, wider
                // than designed where the lines need it; the course code heads its block.
                int widest = 0;
                for (int r = 1; r < grid->rows(); ++r)
                    widest = std::max(
                        widest, grid->fontMetrics().horizontalAdvance(grid->textMatrix(r, 5)));
                QVERIFY2(widest > 360, "the lines should need more than the designed width");
                QVERIFY(widest + 6 <= grid->columnWidth(5));
                QVERIFY(grid->item(0, 0)->textAlignment() & Qt::AlignTop);
                // The confirmation shows and hides Create eFile.
                click(confirm);
                QVERIFY(create->isVisible());
                click(confirm);
                QVERIFY(create->isHidden());
                // An eFile that cannot be written is reported, and no success follows.
                click(confirm);
                desk.prompts.fileAnswers << desk.home("gone/sci");
                click(create);
                QCOMPARE(shownCodes(desk.prompts), (QStringList{"TL15:", "TL20:"}));
                // The home folder holds no file, so the dialog keeps its own folder.
                QCOMPARE(desk.prompts.asked[1].request.initialFolder, QString());
                QVERIFY(QDir(desk.school.homeFolder()).isEmpty());
            }
            // Sorted by name on the way; a master file that is read gives its order back.
            QVERIFY(openWindow<frmExport>("frmExport") == nullptr && desk.entry.isVisible());
            QStringList names = pad.isEmpty() ? kScienceByName : kScienceInFileOrder;
            if (shown == "discrepancy") names = {"Ashgrove, Jr.", "Velde", "Gantry", "Kestrel"};
            QCOMPARE(column(desk.grid(), 1), names);
        }
    }

    void backgroundTurnsWhiteAbove35Students() {
        for (int size : {35, 36}) {
            QByteArray master = kHeader;
            for (int i = 0; i < size; ++i) {
                const QByteArray n = QByteArray::number(10 + i);
                master += masterLine(i + 1, {"Rowan" + n, "Wren", "F", n, "GYM1O1-01 LUNCH"});
            }
            SchoolDesk desk({}, master);
            desk.buildComplete("GYM1O1-01");
            QCOMPARE(desk.ws.studentCount(), size);
            const QColor back =
                size > 35 ? QColor(Qt::white) : desk.grid()->palette().color(QPalette::Button);
            QCOMPARE(desk.grid()->backColorBkg(), back);
            frmExport* w = desk.openExport();
            QVERIFY(w != nullptr && control<QCheckBox>(w, "chkConfirm")->isVisible());
            QCOMPARE(control<FlexGrid>(w, "msfgClass")->backColorBkg(), back);
        }
    }

    void wholePathFromEnrolmentToEFile() {
        SchoolDesk desk(kFavourites);
        QVERIFY(desk.loaded && QTest::qWaitForWindowExposed(&desk.entry));
        desk.build({"SCI2D1-03"});
        FlexGrid* grid = desk.grid();
        // The section's students in file order, with an empty panel; the picker has closed.
        QCOMPARE(column(grid, 1), kScienceInFileOrder);
        QCOMPARE(desk.ctl("lblCourse")->text() + panel(desk.entry).join(""), QString("SCI2D1-03"));
        QVERIFY(desk.entry.findChild<frmGetTrilliumfile*>() == nullptr &&
                desk.prompts.messages().isEmpty());
        QVERIFY(desk.act("mnuSave")->isEnabled() && desk.act("mnuExport")->isEnabled());
        QListWidget* favourites = desk.ctl<QListWidget>("lstFavourites");  // 0101, 0106
        // Auto fill from the ranges for Ashgrove and Velde; the built class
        // takes the first mark at once, without a click.
        typeKeys("85");
        pressKey(Qt::Key_Return);
        typeMark(desk, 2, "72");
        // Holm and Calder by hand: a mark, then codes stamped from the list,
        // Holm's in CM1 and CM3.
        click(desk.btn("optAutoFill"));
        typeMark(desk, 3, "58");
        clickItem(favourites, 1);
        clickCell(grid, 3, 4);
        clickItem(favourites, 0);
        clickCell(grid, 3, 6);
        typeMark(desk, 4, "I");
        clickCell(grid, 4, 4);
        click(desk.btn("optAutoFill"));
        typeMark(desk, 5, "100");
        // Flags and a skill in the skills view.
        click(desk.btn("cmdSwitch"));
        clickCell(grid, 2, 15);  // Velde IEP
        clickCell(grid, 4, 16);  // Calder ESL
        clickCell(grid, 3, 10);  // Holm OR 3 -> 2
        clickCell(grid, 5, 18);  // Gantry interview "0" -> ""
        clickCell(grid, 5, 18);  // -> "Y"

        // Save sorts by name and writes the class file.
        desk.prompts.fileAnswers << desk.home("sci") << desk.home("sci-efile");
        desk.btn("cmdSave")->click();
        QVERIFY(QFile::exists(desk.home("sci.tlc")));
        QCOMPARE(column(grid, 1), kScienceByName);

        frmExport* w = desk.openExport();
        QVERIFY(w != nullptr && control<QCheckBox>(w, "chkConfirm")->isVisible());
        click(control<QCheckBox>(w, "chkConfirm"));
        desk.prompts.asked.clear();
        click(control<QPushButton>(w, "cmdExport"));
        QCOMPARE(desk.prompts.messages(), (QStringList{toQString(msg::tl15AboutToSave().text),
                                                       toQString(msg::eFileSaved().text)}));
        const FileRequest& request = desk.prompts.asked[1].request;
        QCOMPARE(request.fileName + "|" + request.filter + "|" + request.initialFolder,
                 "SCI2D103|Trillium Export (*.trc)|*.trc|" + desk.school.homeFolder());

        QFile written(desk.home("sci-efile.trc"));
        QVERIFY(written.open(QIODevice::ReadOnly));
        QCOMPARE(
            written.readAll(),
            QByteArray("SCI2D1-03,\"Ashgrove, Jr.\",Tobin,302000002,,M,N2,0,,85,0,0,E,,E,,E,,"
                       "\"Tobin has shown steady growth in lab skills. He records observations "
                       "with precision. His questions often lead the class discussion. \","
                       "E,E,E,0,0\r\n"
                       "SCI2D1-03,Calder,Rue,302000007,,F,N7,0,ESL,I,0,0,G,,G,,G,,"
                       "\"Rue has shown steady growth in lab skills. \",G,G,G,0,0\r\n"
                       "SCI2D1-03,Gantry,Lio,302000010,,M,N10,0,,100,0,0,E,,E,,E,,"
                       "\"Lio has shown steady growth in lab skills. He records observations "
                       "with precision. His questions often lead the class discussion. \","
                       "E,E,E,1,0\r\n"
                       "SCI2D1-03,Holm,Saga,302000005,,F,N5,0,,58,0,0,G,,S,,G,,"
                       "\"Attendance, punctuality and effort were strong. Saga has shown "
                       "steady growth in lab skills. \",G,G,G,0,0\r\n"
                       "SCI2D1-03,Velde,Pia,302000003,,F,N3,1,,72,0,0,S,,S,,S,,"
                       "\"Her written work is clear and organised. Regular review of notes "
                       "will help her. Attendance, punctuality and effort were strong. \","
                       "S,S,S,0,0\r\n"));
        QVERIFY(openWindow<frmExport>("frmExport") == nullptr && desk.entry.isVisible());
        QCOMPARE(column(grid, 1), kScienceByName);
    }
};

QTEST_MAIN(ImportExportTest)
#include "tst_import_export.moc"
