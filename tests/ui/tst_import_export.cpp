// From the enrolment file to the eFile: the class picker, the class list
// update, the export window in each of its states and the whole path through
// the main window.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>
#include <chrono>
#include <ctime>
#include <filesystem>

#include "core/sorting.h"
#include "core/workspace.h"
#include "entry/frm_entry.h"
#include "entry/frm_splash.h"
#include "export/efile.h"
#include "export/frm_export.h"
#include "import/frm_get_trilliumfile.h"
#include "platform/encoding.h"
#include "platform/flex_grid.h"
#include "platform/scripted_prompts.h"
#include "ui/ui_support.h"

using namespace tl;
using Kind = ScriptedPrompts::Kind;

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

struct Pupil {
    const char* last;
    const char* first;
    const char* gender;
    const char* number;
    const char* timetable;
};

// The school's enrolment, in file order (line n holds field 8 "Nn" and field 14 "Hn").
const Pupil kRoll[] = {
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
    {"Kestrel", "Ada", "F", "302000013", "SCI2D1-03"},  // joins later
};
constexpr int kJoiner = 12;

const QByteArray kHeader =
    "Surname,Given,Sex,StudentNo,Year,Grade,Prov,Board,C9,C10,C11,C12,C13,Home,Timetable\r\n";

QByteArray masterLine(int n, const Pupil& p) {
    const QByteArray line = QByteArray::number(n);
    return QByteArray(p.last) + "," + p.first + "," + p.gender + "," + p.number + ",2025,10,ON,N" +
           line + ",,,,,,H" + line + "," + p.timetable + "\r\n";
}

// The first twelve pupils, without those left out, with the joiner when asked.
QByteArray masterBytes(QList<int> leaveOut = {}, bool withJoiner = false) {
    QByteArray bytes = kHeader;
    for (int i = 0; i < kJoiner; ++i) {
        if (!leaveOut.contains(i)) bytes += masterLine(i + 1, kRoll[i]);
    }
    if (withJoiner) bytes += masterLine(kJoiner + 1, kRoll[kJoiner]);
    return bytes;
}

// Sets the file's last modification to the same time of day, days calendar days ago.
void ageFile(const QString& path, int days) {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    local.tm_mday -= days;
    local.tm_isdst = -1;
    const auto sys = std::chrono::system_clock::from_time_t(std::mktime(&local));
    std::filesystem::last_write_time(toPath(path), std::chrono::file_clock::from_sys(sys));
}

// Lets shown windows settle and closed ones be deleted.
void settle() {
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void click(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton);
    settle();
}

void clickItem(QListWidget* list, int row) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(row)).center());
    settle();
}

void clickCell(FlexGrid* grid, int row, int col) {
    QVERIFY(grid->cellGeometry(row, col).width() > 0);
    const QPoint at = grid->viewport()->mapFrom(grid, grid->cellGeometry(row, col).center());
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    settle();
}

QStringList itemsOf(const QListWidget* list) {
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

QStringList lastNames(const Workspace& ws) {
    QStringList names;
    for (const StudentRecord& s : ws.students)
        names << toQString(s.lastName);
    return names;
}

QStringList rowTexts(const FlexGrid* grid, int row, int from, int to) {
    QStringList texts;
    for (int c = from; c <= to; ++c)
        texts << grid->textMatrix(row, c);
    return texts;
}

// The last names the main window's grid shows, top to bottom.
QStringList gridNames(const FlexGrid* grid) {
    QStringList names;
    for (int r = 1; r < grid->rows(); ++r)
        names << grid->textMatrix(r, 1);
    return names;
}

const QStringList kSections{"ENG2D1-02", "HIS2D1-04", "MPM2D1-01", "MPM2D1-011", "SCI2D1-03"};
const QStringList kScienceInFileOrder{"Ashgrove, Jr.", "Velde", "Holm", "Calder", "Gantry"};
const QStringList kScienceByName{"Ashgrove, Jr.", "Calder", "Gantry", "Holm", "Velde"};

// The main window loaded with the school's own phrase library.
struct Desk {
    test::TempSchool school;
    Workspace ws;
    ScriptedPrompts prompts;
    frmEntry entry{ws, prompts, school.locations()};
    bool loaded = false;

    explicit Desk(bool favourites = false) {
        school.write("Tallyleaf/TLPhraseLibrary.csv", kLibrary);
        if (favourites) prompts.fileAnswers << school.write("home/science.tlf", kFavourites);
        test::onNextModal([favourites](QWidget* modal) {
            auto* splash = qobject_cast<frmSplash*>(modal);
            if (splash == nullptr) return;
            (favourites ? splash->cmdOpenFavourites : splash->cmdCancel)->click();
        });
        loaded = entry.Form_Load();
        settle();
    }
    // An export window left open by a failed check goes with the desk.
    ~Desk() { delete entry.exportWindow.data(); }
    QString masterPath() const { return school.dataFolder() + "/TLStudentInfo.txt"; }
    void writeMaster(const QByteArray& bytes) const {
        school.write("data/TLStudentInfo.txt", bytes);
    }
    QString home(const QString& name) const { return school.homeFolder() + "/" + name; }
    frmGetTrilliumfile* openPicker() {
        if (ws.studentCount() > 0) prompts.yesNoAnswers << false;
        entry.newTrillium();
        settle();
        return entry.classPicker.data();
    }
    // Builds a class from the sections with the picker, as the teacher does.
    void build(const QStringList& sections) {
        frmGetTrilliumfile* picker = openPicker();
        QVERIFY(picker != nullptr);
        if (sections.size() == 1) {
            picker->cboClasses->setCurrentIndex(picker->cboClasses->findText(sections.first()));
        } else {
            click(picker->chkMultiCourse);
            for (const QString& section : sections)
                clickItem(picker->lstMultiSelect, kSections.indexOf(section));
        }
        click(picker->cmdGetClass);
    }
    // Opens the export window from the main window.
    frmExport* openExport() {
        entry.mnuExport_Click();
        settle();
        return entry.exportWindow.data();
    }
};

// Gives every student a mark and a comment.
void completeAll(Workspace& ws) {
    for (StudentRecord& s : ws.students) {
        s.mark = "70";
        s.comments[0] = "0101";
    }
}

QStringList padLines(const frmExport* w) {
    return w->picOut->toPlainText().split('\n');
}

}  // namespace

class ImportExportTest : public QObject {
    Q_OBJECT
  private slots:
    void pickerListsTheSectionsAndSwitchesMode();
    void singleModeBuildsTheSectionInFileOrder_data();
    void singleModeBuildsTheSectionInFileOrder();
    void multipleModeTakesEverySelectedSection();
    void masterFileAgeDecidesWhatIsOffered_data();
    void masterFileAgeDecidesWhatIsOffered();
    void unreadableMasterFileHidesThePickerForGood();
    void masterFileWithoutSectionsEndsTheProgram();
    void nothingChosenKeepsTheOpenClass();
    void updateFollowsTheMasterFile();
    void updateWithAnOldMasterFileOnlySorts();
    void exportRefusedWhenTheMasterFileFails_data();
    void exportRefusedWhenTheMasterFileFails();
    void exportReportsDiscrepancies();
    void exportReportsIncompleteStudents();
    void exportPreviewsACompleteClass();
    void previewBackgroundTurnsWhiteAbove35Students_data();
    void previewBackgroundTurnsWhiteAbove35Students();
    void wholePathFromEnrolmentToEFile();
    void unsavedEFileShowsNoSuccess_data();
    void unsavedEFileShowsNoSuccess();
};

void ImportExportTest::pickerListsTheSectionsAndSwitchesMode() {
    Desk desk;
    desk.writeMaster(masterBytes());
    frmGetTrilliumfile* picker = desk.openPicker();
    QVERIFY(picker != nullptr);
    QVERIFY(picker->isVisible());
    QCOMPARE(picker->windowTitle(), QString("Get New Class File"));
    QVERIFY(desk.prompts.asked.isEmpty());

    QStringList combo;
    for (int i = 0; i < picker->cboClasses->count(); ++i)
        combo << picker->cboClasses->itemText(i);
    QCOMPARE(combo, kSections);
    QCOMPARE(itemsOf(picker->lstMultiSelect), kSections);
    QStringList diagnostic;
    for (int i = 0; i < kJoiner; ++i)
        diagnostic << QString::number(i + 1) + " " + kRoll[i].timetable;
    diagnostic << "number of courses = 5";
    QCOMPARE(itemsOf(picker->lsttest), diagnostic);
    QVERIFY(picker->lsttest->isHidden());
    QVERIFY(picker->cmdGetClass->isVisible());

    QCOMPARE(picker->lblSelect->text(), QString("Select a Class     "));
    QVERIFY(picker->lblWarning->isHidden() && picker->lstMultiSelect->isHidden());
    click(picker->chkMultiCourse);
    QCOMPARE(picker->lblSelect->text(), QString("Select ALL Classes"));
    QCOMPARE(picker->cmdGetClass->text(), QString("Get Classes"));
    QVERIFY(picker->lblWarning->isVisible() && picker->lstMultiSelect->isVisible());
    QVERIFY(picker->cboClasses->isHidden());
    click(picker->chkMultiCourse);
    QCOMPARE(picker->lblSelect->text(), QString("Select a Class"));
    QCOMPARE(picker->cmdGetClass->text(), QString("Get Class"));
    QVERIFY(picker->lblWarning->isHidden() && picker->lstMultiSelect->isHidden());
    QVERIFY(picker->cboClasses->isVisible());
    QCOMPARE(desk.ws.studentCount(), 0);
}

void ImportExportTest::singleModeBuildsTheSectionInFileOrder_data() {
    QTest::addColumn<QString>("section");
    QTest::addColumn<QStringList>("names");
    QTest::newRow("one section") << "SCI2D1-03" << kScienceInFileOrder;
    // Matching is by substring: the longer code's students come too.
    QTest::newRow("prefix of another code")
        << "MPM2D1-01" << QStringList{"Quarry", "Bramble", "Ferris", "Elwin", "Gantry"};
}

void ImportExportTest::singleModeBuildsTheSectionInFileOrder() {
    QFETCH(QString, section);
    QFETCH(QStringList, names);
    Desk desk;
    desk.writeMaster(masterBytes());
    desk.build({section});

    QCOMPARE(lastNames(desk.ws), names);
    for (const StudentRecord& s : desk.ws.students)
        QCOMPARE(toQString(s.classCode), section);
    QCOMPARE(gridNames(desk.entry.msfgClass), names);
    QCOMPARE(desk.entry.lblCourse->text(), section);
    QVERIFY(desk.entry.classPicker.isNull());
    QVERIFY(desk.prompts.asked.isEmpty());
    for (QLabel* line : {desk.entry.lblDetail1, desk.entry.lblDetail2, desk.entry.lblDetail5})
        QCOMPARE(line->text(), QString());
    for (QAction* command : {desk.entry.mnuSave, desk.entry.mnuPrint, desk.entry.mnuSortNames,
                             desk.entry.mnuSortMarks, desk.entry.mnuUpdate, desk.entry.mnuExport}) {
        QVERIFY2(command->isEnabled(), qPrintable(command->objectName()));
    }
    QVERIFY(desk.entry.cmdSave->isEnabled());
    QVERIFY(desk.entry.cmdPrint->isEnabled());

    // A student as taken from the master file: no entries, every skill 3.
    const StudentRecord& gantry = desk.ws.students.back();
    StudentRecord expected;
    expected.classCode = fromQString(section);
    expected.studentNumber = "302000010";
    expected.lastName = "Gantry";
    expected.firstName = "Lio";
    expected.gender = "M";
    expected.trilliumField8 = "N10";
    expected.trilliumField14 = "H10";
    expected.skills.fill("3");
    expected.interview = "0";
    QVERIFY(gantry == expected);
    if (section == "SCI2D1-03") {
        // The quoted name with its comma leaves the later columns in place.
        const StudentRecord& tobin = desk.ws.students.front();
        QCOMPARE(
            toQString(tobin.firstName + tobin.gender + tobin.studentNumber + tobin.trilliumField8),
            QString("TobinM302000002N2"));
    }
}

void ImportExportTest::multipleModeTakesEverySelectedSection() {
    Desk desk;
    desk.writeMaster(masterBytes());
    desk.build({"ENG2D1-02", "HIS2D1-04", "SCI2D1-03"});

    // Grouped by master line; a student in two chosen sections comes twice.
    QStringList taken;
    for (const StudentRecord& s : desk.ws.students)
        taken << toQString(s.lastName + " " + s.classCode);
    QCOMPARE(taken, (QStringList{"Quarry ENG2D1-02", "Ashgrove, Jr. ENG2D1-02",
                                 "Ashgrove, Jr. SCI2D1-03", "Velde HIS2D1-04", "Velde SCI2D1-03",
                                 "Bramble ENG2D1-02", "Holm SCI2D1-03", "Ferris HIS2D1-04",
                                 "Calder SCI2D1-03", "Dunmore ENG2D1-02", "Dunmore HIS2D1-04",
                                 "Gantry SCI2D1-03", "Iver HIS2D1-04", "Juniper ENG2D1-02"}));
    QCOMPARE(desk.entry.msfgClass->rows(), 15);
    QCOMPARE(desk.entry.lblCourse->text(), QString("ENG2D1-02"));
    QVERIFY(desk.entry.mnuExport->isEnabled());
}

void ImportExportTest::masterFileAgeDecidesWhatIsOffered_data() {
    QTest::addColumn<int>("days");
    QTest::newRow("30 days") << 30;
    QTest::newRow("31 days") << 31;
}

void ImportExportTest::masterFileAgeDecidesWhatIsOffered() {
    QFETCH(int, days);
    Desk desk;
    desk.writeMaster(masterBytes());
    ageFile(desk.masterPath(), days);
    frmGetTrilliumfile* picker = desk.openPicker();
    QVERIFY(picker != nullptr);
    QVERIFY(picker->isVisible());
    if (days == 30) {
        QVERIFY(desk.prompts.asked.isEmpty());
        QCOMPARE(picker->cboClasses->count(), 5);
        QVERIFY(picker->cmdGetClass->isVisible());
        return;
    }
    QCOMPARE(desk.prompts.messages(),
             QStringList{"TL9: The Trillium class data file is 31 days old. A more recent copy "
                         "needs to be created. \r\nPlease contact your Tallyleaf Administrator "
                         "in your school."});
    QCOMPARE(desk.prompts.asked.first().title, QString("Your Trillium Class File is Too Old!"));
    QVERIFY(picker->cmdGetClass->isHidden());
    QCOMPARE(picker->cboClasses->count(), 0);
    QCOMPARE(picker->lstMultiSelect->count(), 0);
}

void ImportExportTest::unreadableMasterFileHidesThePickerForGood() {
    Desk desk;
    desk.writeMaster(masterBytes());
    desk.build({"SCI2D1-03"});
    const auto before = desk.ws.students;
    QVERIFY(QFile::remove(desk.masterPath()));

    frmGetTrilliumfile* picker = desk.openPicker();
    QVERIFY(picker != nullptr);
    QVERIFY(picker->readFailed);
    QVERIFY(picker->isHidden());
    QCOMPARE(desk.prompts.messages().size(), 1);
    QVERIFY(desk.prompts.messages().first().startsWith(
        "TL10b: Class File Read Error: You need to be on your school's network"));
    QCOMPARE(desk.prompts.asked.last().title, QString("Tallyleaf"));
    QVERIFY(desk.ws.students == before);
    QCOMPARE(gridNames(desk.entry.msfgClass), kScienceInFileOrder);

    // Later New commands do not load it again, even with the file back.
    desk.writeMaster(masterBytes());
    QCOMPARE(desk.openPicker(), picker);
    QVERIFY(picker->isHidden());
    QCOMPARE(picker->cboClasses->count(), 0);
    QCOMPARE(desk.prompts.messages().size(), 1);
    QVERIFY(desk.ws.students == before);
}

void ImportExportTest::masterFileWithoutSectionsEndsTheProgram() {
    Desk desk;
    desk.writeMaster(kHeader +
                     masterLine(1, {"Quarry", "Ines", "F", "302000001", "LUNCH-A ZHOME"}) +
                     masterLine(2, {"Holm", "Saga", "F", "302000005", "SH1-01"}));
    frmGetTrilliumfile* picker = desk.openPicker();
    QVERIFY(picker != nullptr);
    QVERIFY(desk.prompts.endedWith != 0);
    QCOMPARE(desk.prompts.messages().size(), 1);
    QVERIFY(desk.prompts.messages().first().startsWith(
        "TL10a: Class File Read Error: Contact your Tallyleaf School Administrator"));
    QCOMPARE(itemsOf(picker->lsttest),
             (QStringList{"1 LUNCH-A ZHOME", "2 SH1-01", "number of courses = 0"}));
    QCOMPARE(desk.ws.studentCount(), 0);
}

void ImportExportTest::nothingChosenKeepsTheOpenClass() {
    Desk desk;
    desk.writeMaster(masterBytes());
    desk.build({"SCI2D1-03"});
    desk.ws.students[1].mark = "88";
    const auto before = desk.ws.students;

    frmGetTrilliumfile* picker = desk.openPicker();
    QVERIFY(picker != nullptr);
    QCOMPARE(desk.prompts.asked.last().text, QString("Do you want to save the current class?"));
    picker->cboClasses->setCurrentIndex(-1);
    click(picker->cmdGetClass);
    click(picker->chkMultiCourse);
    click(picker->cmdGetClass);
    QVERIFY(desk.ws.students == before);
    QCOMPARE(gridNames(desk.entry.msfgClass), kScienceInFileOrder);
    QVERIFY(picker->isVisible());
    QCOMPARE(desk.prompts.messages(), QStringList());
    QVERIFY(desk.entry.mnuExport->isEnabled());
}

void ImportExportTest::updateFollowsTheMasterFile() {
    Desk desk;
    desk.writeMaster(masterBytes());
    desk.build({"SCI2D1-03"});
    StudentRecord& velde = desk.ws.students[1];
    velde.mark = "62";
    velde.comments = {"0104", "    ", "0105", "", ""};
    velde.skills = {"1", "2", "3", "4", "", "2"};
    velde.iep = "Y";
    velde.eld = "Y";
    velde.interview = "Y";
    velde.gender = "M";  // the teacher's correction stays
    desk.ws.students[0].mark = "91";
    const StudentRecord veldeBefore = velde;
    const auto before = desk.ws.students;

    // Holm has left the section; Kestrel has joined it. No changes nothing.
    desk.writeMaster(masterBytes({4}, true));
    desk.prompts.yesNoAnswers << false << true;
    desk.entry.mnuUpdate_Click();
    QCOMPARE(desk.prompts.asked.size(), 1);
    QCOMPARE(desk.prompts.asked.first().text,
             QString("Update will update your class(s) with the current students. Some students "
                     "may be dropped and others added. This is NECESSARY in order to efile an old "
                     "class. Proceed?"));
    QCOMPARE(desk.prompts.asked.first().title, QString("Update Class List"));
    QVERIFY(desk.ws.students == before);
    QCOMPARE(gridNames(desk.entry.msfgClass), kScienceInFileOrder);

    desk.entry.mnuUpdate_Click();

    const QStringList byName{"Ashgrove, Jr.", "Calder", "Gantry", "Kestrel", "Velde"};
    QCOMPARE(lastNames(desk.ws), byName);
    QCOMPARE(gridNames(desk.entry.msfgClass), byName);
    QCOMPARE(desk.entry.lblClassSize->text(), QString("5 Students"));
    QCOMPARE(desk.prompts.messages(), QStringList());
    QVERIFY(desk.ws.students[4] == veldeBefore);
    QCOMPARE(desk.ws.students[0].mark, std::string("91"));
    const StudentRecord& kestrel = desk.ws.students[3];
    QCOMPARE(kestrel.mark, std::string());
    QVERIFY(kestrel.comments == (std::array<std::string, 5>{}));
    QVERIFY(kestrel.skills == (std::array<std::string, 6>{"3", "3", "3", "3", "3", "3"}));
    QCOMPARE(kestrel.interview, std::string("0"));
    QCOMPARE(kestrel.classCode, std::string("SCI2D1-03"));
    QCOMPARE(kestrel.trilliumField8, std::string("N13"));
}

void ImportExportTest::updateWithAnOldMasterFileOnlySorts() {
    Desk desk;
    desk.writeMaster(masterBytes());
    desk.build({"SCI2D1-03"});
    desk.ws.students[2].mark = "55";
    desk.writeMaster(masterBytes({4}, true));
    ageFile(desk.masterPath(), 31);
    auto expected = desk.ws.students;
    sortByName(expected);
    desk.prompts.yesNoAnswers << true;
    desk.entry.mnuUpdate_Click();

    QCOMPARE(desk.prompts.messages(),
             QStringList{"TL4: The Trillium class data file is 31 days old. A more recent copy "
                         "needs to be created. \r\nPlease contact the Tallyleaf Administrator in "
                         "your school."});
    QCOMPARE(desk.prompts.asked.last().title, QString("Trillium Class File Too Old"));
    QVERIFY(desk.ws.students == expected);
    QCOMPARE(gridNames(desk.entry.msfgClass), kScienceByName);
}

void ImportExportTest::exportRefusedWhenTheMasterFileFails_data() {
    QTest::addColumn<bool>("missing");
    QTest::addColumn<QString>("shown");
    QTest::newRow("missing") << true
                             << "TL5: You need to be at school to have access to the current "
                                "student info.";
    QTest::newRow("31 days old")
        << false
        << "TL4: The Trillium class data file is 31 days old. A more recent copy needs to be "
           "created. \r\nPlease contact the Tallyleaf Administrator in your school.";
}

void ImportExportTest::exportRefusedWhenTheMasterFileFails() {
    QFETCH(bool, missing);
    QFETCH(QString, shown);
    Desk desk;
    desk.writeMaster(masterBytes());
    desk.build({"SCI2D1-03"});
    completeAll(desk.ws);
    if (missing) {
        QVERIFY(QFile::remove(desk.masterPath()));
    } else {
        ageFile(desk.masterPath(), 31);
    }
    auto expected = desk.ws.students;
    sortByName(expected);

    frmExport* w = desk.openExport();
    QVERIFY(w != nullptr);
    QVERIFY(w->isVisible());
    QVERIFY(!desk.entry.isVisible());
    QCOMPARE(w->windowTitle(), QString("eFile Confirmation and Verification"));
    QCOMPARE(desk.prompts.messages(), QStringList{shown});
    QVERIFY(w->picOut->isHidden());
    QVERIFY(w->chkConfirm->isHidden());
    QVERIFY(w->cmdExport->isHidden());
    QCOMPARE(w->msfgClass->rows(), 1);
    QVERIFY(desk.ws.students == expected);

    click(w->cmdReturn);
    QVERIFY(desk.entry.exportWindow.isNull());
    QVERIFY(desk.entry.isVisible());
    QCOMPARE(gridNames(desk.entry.msfgClass), lastNames(desk.ws));
}

void ImportExportTest::exportReportsDiscrepancies() {
    Desk desk;
    desk.writeMaster(masterBytes());
    desk.build({"SCI2D1-03"});
    completeAll(desk.ws);
    desk.ws.students[1].mark = "77";
    // Holm and Calder have left; Kestrel has joined.
    desk.writeMaster(masterBytes({4, 6}, true));

    frmExport* w = desk.openExport();
    QVERIFY(w != nullptr);
    QVERIFY(w->picOut->isVisible());
    QCOMPARE(padLines(w), (QStringList{"There is a discrepancy between your file",
                                       "and the current master class list.", "",
                                       "NO EXPORT FILE WILL BE CREATED!", "", "",
                                       "The following students are no longer enrolled in your "
                                       "class(s):",
                                       "", "Calder Rue", "Holm Saga", "", "",
                                       "The following students have been added to your class(s):",
                                       "", "Kestrel Ada", "", "Your classes HAVE been updated.",
                                       "Return to Mark / Comment Entry and check things again",
                                       "and save this new and accurate class."}));
    QVERIFY(w->chkConfirm->isHidden());
    QVERIFY(w->cmdExport->isHidden());
    QCOMPARE(desk.prompts.messages(), QStringList());

    // The class is the updated one, in master-file order, entries kept.
    const QStringList updated{"Ashgrove, Jr.", "Velde", "Gantry", "Kestrel"};
    QCOMPARE(lastNames(desk.ws), updated);
    QCOMPARE(desk.ws.students[1].mark, std::string("77"));
    w->close();
    settle();
    QVERIFY(desk.entry.isVisible());
    QCOMPARE(gridNames(desk.entry.msfgClass), updated);
    QCOMPARE(desk.entry.lblClassSize->text(), QString("4 Students"));
}

void ImportExportTest::exportReportsIncompleteStudents() {
    Desk desk;
    desk.writeMaster(masterBytes());
    desk.build({"SCI2D1-03"});
    auto& s = desk.ws.students;  // Ashgrove, Velde, Holm, Calder, Gantry
    completeAll(desk.ws);
    s[1].mark = "";
    s[1].comments[0] = "";
    s[2].comments[0] = "    ";
    s[3].skills[kIN] = "";
    s[4].mark = "";
    s[4].comments = {"0201", "0201", "0201", "0201", ""};  // about 580 characters

    frmExport* w = desk.openExport();
    QVERIFY(w != nullptr);
    QVERIFY(w->picOut->isVisible());
    QCOMPARE(
        padLines(w),
        (QStringList{"There are problems with your class.", "", "NO EXPORT FILE WILL BE CREATED!",
                     "", "Velde Pia  has no mark", "Holm Saga  has no comment",
                     "Calder Rue  one or more missing Learning Skills",
                     "Gantry Lio  Comments exceed max Trillium length", "",
                     "Return to Mark / Comment Entry and check things again.",
                     "Everyone MUST have a mark, at least one comment and all 6 learning "
                     "skills."}));
    QVERIFY(w->chkConfirm->isHidden());
    QCOMPARE(lastNames(desk.ws), kScienceInFileOrder);
    click(w->cmdReturn);
    QVERIFY(desk.entry.isVisible());
}

void ImportExportTest::exportPreviewsACompleteClass() {
    Desk desk;
    desk.writeMaster(masterBytes());
    desk.build({"SCI2D1-03"});
    completeAll(desk.ws);
    auto& s = desk.ws.students;  // Ashgrove, Velde, Holm, Calder, Gantry
    s[1].comments = {"0201", "0104", "0105", "", ""};
    s[1].skills = {"1", "2", "3", "4", "1", "2"};
    s[1].esl = "Y";
    s[2].comments = {"0201", "0201", "", "", ""};

    frmExport* w = desk.openExport();
    QVERIFY(w != nullptr);
    QVERIFY(w->picOut->isHidden());
    QVERIFY(w->chkConfirm->isVisible());
    QVERIFY(!w->chkConfirm->isChecked());
    QVERIFY(w->cmdExport->isHidden());
    QCOMPARE(desk.prompts.messages(), QStringList());
    FlexGrid* grid = w->msfgClass;
    QCOMPARE(rowTexts(grid, 0, 0, 15),
             (QStringList{"Course", "Student ID", "LAST", "FIRST", "MK", "Comments", "RE", "OR",
                          "IW", "CO", "IN", "SR", "IEP", "ESL", "ELD", "Interview"}));

    // Rows per student in name order: three, or four and five for long comments.
    QStringList blocks;
    for (int r = 1; r < grid->rows(); ++r)
        blocks << grid->textMatrix(r, 2);
    QStringList expected;
    for (const auto& [name, rows] : QList<QPair<QString, int>>{
             {"Ashgrove, Jr.", 3}, {"Calder", 3}, {"Gantry", 3}, {"Holm", 5}, {"Velde", 4}}) {
        for (int i = 0; i < rows; ++i)
            expected << name;
    }
    QCOMPARE(blocks, expected);
    QCOMPARE(lastNames(desk.ws), kScienceByName);
    // Velde's second row carries the skills, flags and interview.
    QCOMPARE(rowTexts(grid, 16, 0, 4),
             (QStringList{"SCI2D1-03", "302000003", "Velde", "Pia", "70"}));
    QCOMPARE(rowTexts(grid, 16, 6, 15),
             (QStringList{"1", "2", "3", "4", "1", "2", "", "Y", "", "0"}));
    QVERIFY(grid->textMatrix(15, 5).startsWith("[0201] Pia plans each investigation"));
    QCOMPARE(grid->textMatrix(18, 5), QString("review of notes will help her. "));
    QCOMPARE(grid->textMatrix(15, 6), QString());
    QCOMPARE(grid->fixedCols(), 4);
    QCOMPARE(grid->backColorBkg(), grid->palette().color(QPalette::Button));

    click(w->chkConfirm);
    QVERIFY(w->cmdExport->isVisible());
    click(w->chkConfirm);
    QVERIFY(w->cmdExport->isHidden());
    click(w->cmdReturn);
    QVERIFY(desk.entry.exportWindow.isNull());
    QVERIFY(desk.entry.isVisible());
    QCOMPARE(gridNames(desk.entry.msfgClass), lastNames(desk.ws));
    QCOMPARE(desk.prompts.count(Kind::Save), 0);
}

void ImportExportTest::previewBackgroundTurnsWhiteAbove35Students_data() {
    QTest::addColumn<int>("size");
    QTest::newRow("35") << 35;
    QTest::newRow("36") << 36;
}

void ImportExportTest::previewBackgroundTurnsWhiteAbove35Students() {
    QFETCH(int, size);
    Desk desk;
    QByteArray master = kHeader;
    for (int i = 0; i < size; ++i) {
        const QByteArray number = "3030000" + QByteArray::number(10 + i);
        const QByteArray last = "Rowan" + QByteArray::number(10 + i);
        master += masterLine(
            i + 1, {last.constData(), "Wren", "F", number.constData(), "GYM1O1-01 LUNCH"});
    }
    desk.writeMaster(master);
    desk.build({"GYM1O1-01"});
    QCOMPARE(desk.ws.studentCount(), size);
    completeAll(desk.ws);

    frmExport* w = desk.openExport();
    QVERIFY(w != nullptr);
    QVERIFY(w->chkConfirm->isVisible());
    QCOMPARE(w->msfgClass->rows(), 1 + 3 * size);
    const QColor face = w->msfgClass->palette().color(QPalette::Button);
    QCOMPARE(w->msfgClass->backColorBkg(), size > 35 ? QColor(Qt::white) : face);
    click(w->cmdReturn);
}

void ImportExportTest::wholePathFromEnrolmentToEFile() {
    Desk desk(true);
    QVERIFY(desk.loaded);
    QVERIFY(QTest::qWaitForWindowExposed(&desk.entry));
    desk.writeMaster(masterBytes());
    desk.build({"SCI2D1-03"});
    QCOMPARE(lastNames(desk.ws), kScienceInFileOrder);

    FlexGrid* grid = desk.entry.msfgClass;
    QLineEdit* editor = desk.entry.txtDataEntry;
    auto typeMark = [&](int row, const QString& mark) {
        clickCell(grid, row, 3);
        QTest::keyClicks(grid, mark.left(1));
        QTest::keyClicks(editor, mark.mid(1));
        QTest::keyClick(editor, Qt::Key_Return);
        settle();
    };
    QListWidget* favourites = desk.entry.lstFavourites;  // 0101, 0106
    // Auto fill from the ranges for Ashgrove and Velde.
    typeMark(1, "85");
    typeMark(2, "72");
    // Holm and Calder by hand: a mark, then codes stamped from the list,
    // Holm's in CM1 and CM3.
    click(desk.entry.optAutoFill);
    typeMark(3, "58");
    clickItem(favourites, 1);
    clickCell(grid, 3, 4);
    clickItem(favourites, 0);
    clickCell(grid, 3, 6);
    typeMark(4, "I");
    clickCell(grid, 4, 4);
    click(desk.entry.optAutoFill);
    typeMark(5, "100");
    // Flags and a skill in the skills view.
    click(desk.entry.cmdSwitch);
    clickCell(grid, 2, 15);  // Velde IEP
    clickCell(grid, 4, 16);  // Calder ESL
    clickCell(grid, 3, 10);  // Holm OR 3 -> 2
    clickCell(grid, 5, 18);  // Gantry interview "0" -> ""
    clickCell(grid, 5, 18);  // -> "Y"
    QCOMPARE(desk.ws.students[2].mark, std::string("58"));
    QVERIFY(desk.ws.students[2].comments ==
            (std::array<std::string, 5>{"0106", "", "0101", "", ""}));
    QCOMPARE(desk.ws.students[3].mark, std::string("I"));
    QCOMPARE(desk.ws.students[4].interview, std::string("Y"));

    // Save sorts by name and writes the class file.
    desk.prompts.fileAnswers << desk.home("sci");
    desk.entry.cmdSave_Click();
    QVERIFY(QFile::exists(desk.home("sci.tlc")));
    QCOMPARE(gridNames(grid), kScienceByName);

    frmExport* w = desk.openExport();
    QVERIFY(w != nullptr);
    QVERIFY(!desk.entry.isVisible());
    QVERIFY(w->chkConfirm->isVisible());
    click(w->chkConfirm);
    QVERIFY(w->cmdExport->isVisible());
    const int asked = desk.prompts.asked.size();
    desk.prompts.fileAnswers << desk.home("sci-efile");
    click(w->cmdExport);

    const QList<ScriptedPrompts::Asked> exportAsked = desk.prompts.asked.mid(asked);
    QCOMPARE(exportAsked.size(), 3);
    QCOMPARE(exportAsked[0].kind, Kind::Message);
    QCOMPARE(exportAsked[0].text, toQString(tl15AboutToSave().text));
    QCOMPARE(exportAsked[1].kind, Kind::Save);
    QCOMPARE(exportAsked[1].request.fileName, QString("SCI2D103"));
    QCOMPARE(exportAsked[1].request.filter, QString("Trillium Export (*.trc)|*.trc"));
    QCOMPARE(exportAsked[1].request.initialFolder, desk.school.homeFolder());
    QVERIFY(exportAsked[1].request.confirmOverwrite);
    QCOMPARE(exportAsked[2].kind, Kind::Message);
    QCOMPARE(exportAsked[2].text, toQString(eFileSaved().text));
    QCOMPARE(exportAsked[2].title, QString("Tallyleaf"));

    QFile written(desk.home("sci-efile.trc"));
    QVERIFY(written.open(QIODevice::ReadOnly));
    const QByteArray expected =
        "SCI2D1-03,\"Ashgrove, Jr.\",Tobin,302000002,,M,N2,0,,85,0,0,E,,E,,E,,"
        "\"Tobin has shown steady growth in lab skills. He records observations with precision. "
        "His questions often lead the class discussion. \",E,E,E,0,0\r\n"
        "SCI2D1-03,Calder,Rue,302000007,,F,N7,0,ESL,I,0,0,G,,G,,G,,"
        "\"Rue has shown steady growth in lab skills. \",G,G,G,0,0\r\n"
        "SCI2D1-03,Gantry,Lio,302000010,,M,N10,0,,100,0,0,E,,E,,E,,"
        "\"Lio has shown steady growth in lab skills. He records observations with precision. "
        "His questions often lead the class discussion. \",E,E,E,1,0\r\n"
        "SCI2D1-03,Holm,Saga,302000005,,F,N5,0,,58,0,0,G,,S,,G,,"
        "\"Attendance, punctuality and effort were strong. Saga has shown steady growth in lab "
        "skills. \",G,G,G,0,0\r\n"
        "SCI2D1-03,Velde,Pia,302000003,,F,N3,1,,72,0,0,S,,S,,S,,"
        "\"Her written work is clear and organised. Regular review of notes will help her. "
        "Attendance, punctuality and effort were strong. \",S,S,S,0,0\r\n";
    QCOMPARE(written.readAll(), expected);

    QVERIFY(desk.entry.exportWindow.isNull());
    QVERIFY(desk.entry.isVisible());
    QCOMPARE(gridNames(grid), kScienceByName);
}

void ImportExportTest::unsavedEFileShowsNoSuccess_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<QStringList>("shown");
    const QString before = toQString(tl15AboutToSave().text);
    QTest::newRow("cancelled") << "" << QStringList{before};
    QTest::newRow("folder missing")
        << "gone/sci"
        << QStringList{before, "TL20: The eFile could not be saved. No .trc file was created."};
}

void ImportExportTest::unsavedEFileShowsNoSuccess() {
    QFETCH(QString, answer);
    QFETCH(QStringList, shown);
    Desk desk;
    desk.writeMaster(masterBytes());
    desk.build({"SCI2D1-03"});
    completeAll(desk.ws);
    frmExport* w = desk.openExport();
    QVERIFY(w != nullptr);
    click(w->chkConfirm);
    desk.prompts.fileAnswers << (answer.isEmpty() ? answer : desk.home(answer));
    click(w->cmdExport);

    QCOMPARE(desk.prompts.messages(), shown);
    QCOMPARE(desk.prompts.count(Kind::Save), 1);
    // The home folder holds no file, so the dialog keeps its own folder.
    QCOMPARE(desk.prompts.asked[1].request.initialFolder, QString());
    QCOMPARE(QDir(desk.school.homeFolder())
                 .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
             QStringList());
    QVERIFY(desk.entry.exportWindow.isNull());
    QVERIFY(desk.entry.isVisible());
}

QTEST_MAIN(ImportExportTest)
#include "tst_import_export.moc"
