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

// Sets the file's last modification to the same time of day, days calendar days ago.
void ageFile(const QString& path, int days) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(QDateTime::currentDateTime().addDays(-days),
                             QFileDevice::FileModificationTime));
}

QStringList itemsOf(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
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
        QCOMPARE(control<QComboBox>(picker, "cboClasses")->currentText() +
                     QString::number(control<QComboBox>(picker, "cboClasses")->count()),
                 QString("5"));  // no section chosen until the teacher picks one
        QCOMPARE(itemsOf(control<QListWidget>(picker, "lstMultiSelect")), kSections);
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
            QCOMPARE(control<QComboBox>(picker, "cboClasses")->isVisible(), !multiple);
        }

        // Several sections: grouped by master line; a student in two of them comes twice.
        desk.build({"ENG2D1-02", "HIS2D1-04", "SCI2D1-03"});
        QStringList taken;
        for (const StudentRecord& s : desk.ws.students)
            taken << toQString(s.lastName + " " + s.classCode.substr(0, 3));
        QCOMPARE(taken, (QStringList{"Quarry ENG", "Ashgrove, Jr. ENG", "Ashgrove, Jr. SCI",
                                     "Velde HIS", "Velde SCI", "Bramble ENG", "Holm SCI",
                                     "Ferris HIS", "Calder SCI", "Dunmore ENG", "Dunmore HIS",
                                     "Gantry SCI", "Iver HIS", "Juniper ENG"}));
        QCOMPARE(desk.grid()->rows(), 15);

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

    void singleModeBuildsTheSectionInFileOrder() {
        // Matching is by substring: a code's students include those of longer codes.
        for (const auto& [section, names] :
             {std::pair{QString("SCI2D1-03"), kScienceInFileOrder},
              std::pair{QString("MPM2D1-01"),
                        QStringList{"Quarry", "Bramble", "Ferris", "Elwin", "Gantry"}}}) {
            SchoolDesk desk;
            desk.build({section});
            for (const StudentRecord& s : desk.ws.students)
                QCOMPARE(toQString(s.classCode), section);
            QCOMPARE(column(desk.grid(), 1), names);
            QCOMPARE(desk.ctl("lblCourse")->text(), section);
            QVERIFY(desk.entry.findChild<frmGetTrilliumfile*>() == nullptr &&
                    desk.prompts.asked.isEmpty());
            QCOMPARE(panel(desk.entry).join(""), QString());
            QVERIFY(desk.act("mnuSave")->isEnabled() && desk.act("mnuExport")->isEnabled());
        }
    }

    void masterFileAgeDecidesWhatIsOffered() {
        for (int days : {30, 31}) {
            SchoolDesk desk;
            ageFile(desk.masterPath(), days);
            frmGetTrilliumfile* picker = desk.openPicker();
            QVERIFY(picker != nullptr && picker->isVisible());
            const int offered = days == 30 ? 5 : 0;
            QCOMPARE(control<QComboBox>(picker, "cboClasses")->count() +
                         control<QListWidget>(picker, "lstMultiSelect")->count(),
                     2 * offered);
            QCOMPARE(control<QPushButton>(picker, "cmdGetClass")->isVisible(), offered > 0);
            QCOMPARE(desk.prompts.messages().join("").left(4), QString(offered ? "" : "TL9:"));
        }
    }

    void unreadableMasterFileHidesThePickerForGood() {
        SchoolDesk desk;
        desk.build({"SCI2D1-03"});
        const auto before = desk.ws.students;
        QVERIFY(QFile::remove(desk.masterPath()));
        frmGetTrilliumfile* picker = desk.openPicker();
        QVERIFY(picker != nullptr && picker->isHidden());
        QCOMPARE(desk.prompts.messages().size(), 1);
        QVERIFY(desk.prompts.messages()[0].startsWith("TL10b: Class File Read Error:"));
        QVERIFY(desk.ws.students == before);
        QCOMPARE(column(desk.grid(), 1), kScienceInFileOrder);
        // Later New commands do not load it again, even with the file back.
        desk.writeMaster(masterBytes());
        QCOMPARE(desk.openPicker(), picker);
        QVERIFY(picker->isHidden() && control<QComboBox>(picker, "cboClasses")->count() == 0);
        QCOMPARE(desk.prompts.messages().size(), 1);
    }

    void masterFileWithoutSectionsEndsTheProgram() {
        SchoolDesk desk({}, kHeader + masterLine(1, {"Quarry", "Ines", "F", "1", "LUNCH-A ZHOME"}) +
                                masterLine(2, {"Holm", "Saga", "F", "2", "SH1-01"}));
        frmGetTrilliumfile* picker = desk.openPicker();
        QVERIFY(picker != nullptr && desk.prompts.endedWith != 0);
        QCOMPARE(desk.prompts.messages().size(), 1);
        QVERIFY(desk.prompts.messages()[0].startsWith("TL10a: Class File Read Error:"));
        QCOMPARE(itemsOf(control<QListWidget>(picker, "lsttest")),
                 (QStringList{"1 LUNCH-A ZHOME", "2 SH1-01", "number of courses = 0"}));
        QCOMPARE(desk.ws.studentCount(), 0);
    }

    void updateFollowsTheMasterFile() {
        SchoolDesk desk;
        desk.build({"SCI2D1-03"});
        desk.ws.students[1].mark = "62";
        desk.ws.students[1].gender = "M";  // the teacher's correction stays
        const StudentRecord velde = desk.ws.students[1];
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
        QCOMPARE(desk.ctl("lblClassSize")->text(), QString("5 Students"));
        QVERIFY(desk.ws.students[4] == velde);
        QCOMPARE(toQString(desk.ws.students[3].trilliumField8), QString("N13"));

        // A master file 31 days old: TL4, and the class stays as it is.
        const auto updated = desk.ws.students;
        desk.writeMaster(masterBytes({}));
        ageFile(desk.masterPath(), 31);
        desk.prompts.yesNoAnswers << true;
        desk.act("mnuUpdate")->trigger();
        QCOMPARE(desk.prompts.messages().size(), 1);
        QVERIFY(desk.prompts.messages()[0].startsWith("TL4: The Trillium class data file is 31"));
        QVERIFY(desk.ws.students == updated);

        // A file whose lines lack the timetable would empty the class: TL21, the class stays.
        desk.writeMaster(kHeader + "Velde,Pia,F,302000003,2025,10,ON,N3\r\n");
        desk.prompts.yesNoAnswers << true;
        desk.act("mnuUpdate")->trigger();
        QCOMPARE(desk.prompts.messages().last(),
                 QString("TL21: None of this class's students are in the enrolment file. The "
                         "class was not changed."));
        QVERIFY(desk.ws.students == updated);
        QCOMPARE(column(desk.grid(), 1), byName);
        QVERIFY(desk.btn("cmdSave")->isEnabled());
    }

    void exportRefusedOrReported() {
        // The message shown, or the report in the text pad.
        for (const QString shown : {"TL5:", "TL4:", "TL21", "discrepancy", "problems"}) {
            SchoolDesk desk;
            desk.buildComplete();
            auto& s = desk.ws.students;  // Ashgrove, Velde, Holm, Calder, Gantry
            const auto before = s;
            if (shown == "TL5:") QVERIFY(QFile::remove(desk.masterPath()));
            if (shown == "TL4:") ageFile(desk.masterPath(), 31);
            if (shown == "TL21") desk.writeMaster(kHeader + "Velde,Pia,F,302000003\r\n");
            // Holm and Calder have left; Kestrel has joined.
            if (shown == "discrepancy") desk.writeMaster(masterBytes({4, 6}));
            if (shown == "problems") {
                s[1].mark = "";
                s[2].comments[0] = "    ";
                s[3].skills[kIN] = "";
                s[4].comments = {"0201", "0201", "0201", "0201", ""};  // about 580 characters
            }
            frmExport* w = desk.openExport();
            QVERIFY(w != nullptr && w->isVisible() && !desk.entry.isVisible());
            QVERIFY(control<QCheckBox>(w, "chkConfirm")->isHidden() &&
                    control<QPushButton>(w, "cmdExport")->isHidden());
            QCOMPARE(control<FlexGrid>(w, "msfgClass")->rows(), 1);
            // Sorted by name on the way; a master file that is read gives its order back.
            QStringList names = shown.startsWith("TL") ? kScienceByName : kScienceInFileOrder;
            if (shown == "discrepancy") names = {"Ashgrove, Jr.", "Velde", "Gantry", "Kestrel"};
            QStringList pad;
            if (shown == "discrepancy")
                pad = listOf(discrepancyReport({before[3], before[2]}, {s[3]}));
            if (shown == "problems") pad = listOf(problemReport(s, desk.ws.phrases));
            QCOMPARE(control<QPlainTextEdit>(w, "picOut")->isVisible(), !pad.isEmpty());
            if (pad.isEmpty()) QCOMPARE(desk.prompts.messages().join("|").left(4), shown);
            if (!pad.isEmpty())
                QCOMPARE(control<QPlainTextEdit>(w, "picOut")->toPlainText(), pad.join('\n'));
            QCOMPARE(desk.prompts.messages().size(), pad.isEmpty() ? 1 : 0);

            click(control<QPushButton>(w, "cmdReturn"));
            QVERIFY(openWindow<frmExport>("frmExport") == nullptr && desk.entry.isVisible());
            QCOMPARE(column(desk.grid(), 1), names);
        }
    }

    void exportPreviewsACompleteClass() {
        SchoolDesk desk;
        desk.buildComplete();
        desk.ws.students[1].comments = {"0201", "0104", "0105", "", ""};
        desk.ws.students[2].comments = {"0201", "0201", "", "", ""};
        desk.ws.students[1].esl = "Y";
        frmExport* w = desk.openExport();
        QVERIFY(w != nullptr && control<QPlainTextEdit>(w, "picOut")->isHidden() &&
                control<QPushButton>(w, "cmdExport")->isHidden());
        QVERIFY(control<QCheckBox>(w, "chkConfirm")->isVisible() &&
                !control<QCheckBox>(w, "chkConfirm")->isChecked());
        QCOMPARE(desk.prompts.messages(), QStringList());
        // The students' preview rows in name order.
        QStringList byName = column(control<FlexGrid>(w, "msfgClass"), 2);
        byName.removeDuplicates();
        QCOMPARE(byName, kScienceByName);
        QStringList expected;
        for (const StudentRecord& s : desk.ws.students) {
            for (const auto& row : previewRows(s, desk.ws.phrases))
                expected << listOf(row);
        }
        QCOMPARE(allCells(control<FlexGrid>(w, "msfgClass")).mid(16), expected);
        // Every character of the wrapped comment lines shows in its column, wider
        // than designed where the lines need it; the course code heads its block.
        const FlexGrid* grid = control<FlexGrid>(w, "msfgClass");
        int widest = 0;
        for (int r = 1; r < grid->rows(); ++r)
            widest =
                std::max(widest, grid->fontMetrics().horizontalAdvance(grid->textMatrix(r, 5)));
        QVERIFY2(widest > 360, "the lines should need more than the designed width");
        QVERIFY(widest + 6 <= grid->columnWidth(5));
        QVERIFY(grid->item(0, 0)->textAlignment() & Qt::AlignTop);

        // The confirmation shows and hides Create eFile.
        click(control<QCheckBox>(w, "chkConfirm"));
        QVERIFY(control<QPushButton>(w, "cmdExport")->isVisible());
        click(control<QCheckBox>(w, "chkConfirm"));
        QVERIFY(control<QPushButton>(w, "cmdExport")->isHidden());
        // An eFile that cannot be written is reported, and no success follows.
        click(control<QCheckBox>(w, "chkConfirm"));
        desk.prompts.fileAnswers << desk.home("gone/sci");
        click(control<QPushButton>(w, "cmdExport"));
        QCOMPARE(desk.prompts.messages(),
                 (QStringList{toQString(msg::tl15AboutToSave().text),
                              "TL20: The eFile could not be saved. No .trc file was created."}));
        // The home folder holds no file, so the dialog keeps its own folder.
        QCOMPARE(desk.prompts.asked[1].request.initialFolder, QString());
        QCOMPARE(QDir(desk.school.homeFolder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList());
        QVERIFY(openWindow<frmExport>("frmExport") == nullptr && desk.entry.isVisible());
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
            QCOMPARE(control<FlexGrid>(w, "msfgClass")->rows(), 1 + 3 * size);
            QCOMPARE(control<FlexGrid>(w, "msfgClass")->backColorBkg(), back);
        }
    }

    void wholePathFromEnrolmentToEFile() {
        SchoolDesk desk(kFavourites);
        QVERIFY(desk.loaded && QTest::qWaitForWindowExposed(&desk.entry));
        desk.build({"SCI2D1-03"});
        FlexGrid* grid = desk.grid();
        QCOMPARE(column(grid, 1), kScienceInFileOrder);
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
        QCOMPARE(request.fileName + "|" + request.filter,
                 QString("SCI2D103|Trillium Export (*.trc)|*.trc"));
        QCOMPARE(request.initialFolder, desk.school.homeFolder());

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
