// The main window with a class open: the grid and detail panel, the class
// commands and their prompts, undo, sorting, the class report and Help.
#include <QAction>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>
#include <algorithm>

#include "about/frm_help.h"
#include "core/workspace.h"
#include "entry/frm_entry.h"
#include "entry/frm_splash.h"
#include "platform/flex_grid.h"
#include "platform/scripted_prompts.h"
#include "ui/ui_support.h"

using namespace tl;
using Kind = ScriptedPrompts::Kind;

namespace {

// Scripted prompts that also keep the icon of every message.
class IconPrompts : public ScriptedPrompts {
  public:
    QList<NoticeIcon> icons;
    void message(const Notice& notice) override {
        icons.append(notice.icon);
        ScriptedPrompts::message(notice);
    }
};

// One class-file line; comments are the five CM fields, tail is interview,
// free-form flag and free-form text.
QByteArray pupil(const char* code, const char* last, const char* first, const char* number,
                 const char* mark, const char* comments = "0002,,,,",
                 const char* skills = "G,G,G,G,G,G", const char* tail = "0,False,") {
    return QByteArray(code) + "," + last + "," + first + "," + number + ",F,1,0,,," + mark + ",,," +
           skills + ",," + comments + "," + tail + "\r\n";
}

const char* const kSurnames[24] = {
    "Abara",     "Bellweather", "Castellan", "Dunmore",    "Eskildsen", "Farrow",
    "Galloway",  "Haverty",     "Ingram",    "Jessop",     "Kettering", "Lowry",
    "Marchetti", "Nakagawa",    "Ostrowski", "Pellegrino", "Quennell",  "Rasmussen",
    "Sorensen",  "Thackeray",   "Underhill", "Valdez",     "Whitlock",  "Yarrow"};

// Entry 0 is the panel's example, entry 1 has a short number, entry 2 a
// free-form comment; the rest alternate between two sections.
QByteArray classOf27() {
    QByteArray bytes = pupil("ENG2D1-01", "Lindqvist", "Maren", "123456789", "78", "0002,0011,,,",
                             "G,E,S,G,N,0", "Y,False,");
    bytes += pupil("ENG2D1-01", "Okafor", "Tunde", "12345", "64");
    bytes += pupil("ENG2D1-02", "Vasquez", "Lio", "234567891", "91", "0001,0003,,,", "G,G,G,G,G,G",
                   "0,True,Lio keeps a careful lab journal.");
    for (int i = 0; i < 24; ++i) {
        const QByteArray number = QByteArray::number(300000000 + i * 1111);
        const QByteArray mark = QByteArray::number(50 + (i * 7) % 50);
        bytes += pupil(i % 2 ? "ENG2D1-02" : "ENG2D1-01", kSurnames[i], "Sam", number.constData(),
                       mark.constData());
    }
    return bytes;
}

QByteArray classOfSize(int n) {
    QByteArray bytes;
    for (int i = 0; i < n; ++i) {
        const QByteArray number = QByteArray::number(400000000 + i);
        bytes += pupil("SCH4U1-01", kSurnames[i % 24], "Pat", number.constData(), "70");
    }
    return bytes;
}

// Blank-separated words "w061 w062 ..." of five characters each.
QString words(int from, int to) {
    QStringList list;
    for (int i = from; i <= to; ++i)
        list << QString("w%1").arg(i, 3, 10, QChar('0'));
    return list.join(' ');
}

QString pad(const QString& text, int width) {
    return text.leftJustified(width, ' ');
}

QStringList gridRow(const FlexGrid* grid, int row) {
    QStringList cells;
    for (int c = 0; c < grid->cols(); ++c)
        cells << grid->textMatrix(row, c);
    return cells;
}

QStringList allCells(const FlexGrid* grid) {
    QStringList cells;
    for (int r = 0; r < grid->rows(); ++r)
        cells << gridRow(grid, r);
    return cells;
}

QStringList printed(const PrintRecord& record) {
    QStringList lines;
    for (const auto& line : record.lines)
        lines << line.text;
    return lines;
}

// The first printed line of a student's block: three blanks and the number.
qsizetype blockOf(const QStringList& lines, const QString& number) {
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines[i].startsWith("   " + number + " ")) return i;
    }
    return -1;
}

// What was asked, in order: "?text|title" for a question, "open", "save" or
// "print" for a dialog, "!" for a message.
QStringList askedList(const ScriptedPrompts& prompts) {
    static const char* const kKinds[] = {"!", "?", "open", "save", "print"};
    QStringList list;
    for (const auto& a : prompts.asked) {
        QString item = kKinds[static_cast<int>(a.kind)];
        if (a.kind == Kind::YesNo) item += a.text + "|" + a.title;
        list << item;
    }
    return list;
}

QStringList detailPanel(const frmEntry& entry) {
    return {entry.lblDetail1->text(), entry.lblDetail2->text(), entry.lblDetail3->text(),
            entry.lblDetail4->text(), entry.lblDetail5->text()};
}

const char* const kLengthWarning =
    "The length of your comments for this student "
    "exceeds the allowable length for Trillium. "
    "You must use shorter and/or fewer comments "
    "to make your point. We're not saying you can't use "
    "all 5 comments, but taken together they must be within "
    "Trillium limits.";

// A school with the main window loaded past its start-up window.
struct Desk {
    test::TempSchool school;
    Workspace ws;
    IconPrompts prompts;
    frmEntry entry{ws, prompts, school.locations()};

    explicit Desk(const QByteArray& library = QByteArray()) {
        if (library.isEmpty()) {
            school.installDemoLibrary();
        } else {
            school.write("Tallyleaf/TLPhraseLibrary.csv", library);
        }
        test::onNextModal([](QWidget* modal) {
            if (auto* splash = qobject_cast<frmSplash*>(modal)) splash->cmdCancel->click();
        });
        loaded = entry.Form_Load();
    }
    QString home(const QString& name) const { return school.homeFolder() + "/" + name; }
    QString file(const QString& name, const QByteArray& bytes) const {
        return school.write("home/" + name, bytes);
    }
    // Runs OpenClassFile, declining to save a class that is open.
    void open(const QString& path) {
        if (ws.studentCount() > 0) prompts.yesNoAnswers << false;
        prompts.fileAnswers << path;
        entry.OpenClassFile();
    }
    FlexGrid* grid() const { return entry.msfgClass; }
    bool loaded = false;
};

}  // namespace

class EntryClassTest : public QObject {
    Q_OBJECT
  private slots:
    void openedClassFillsTheGrid();
    void detailPanelFollowsTheLayout();
    void currentRowIsHighlightedAndFollowed();
    void backgroundTurnsWhiteAbove35Students_data();
    void backgroundTurnsWhiteAbove35Students();
    void lengthWarningAbove460Characters();
    void refusedClassFilesLeaveTheOpenClass();
    void savePromptsAskOnlyWithAClass();
    void exitOffersToSaveUnderTheClassCode();
    void classDialogsStartAtHomeUntilAFileIsChosen();
    void saveSortsByNameAndWritesTheClass();
    void failedSaveKeepsTheClassOpen();
    void undoRestoresNewestFirst();
    void undoIsEmptiedWhenTheTableIsReorderedOrReplaced();
    void sortCommands();
    void classReportLayout();
    void classReportBreaksPagesByCountingLines();
    void aboutWindowOpensBesideTheMainWindow();
    void commandsWithoutAClassDoNothing();
    void menuItemsRunTheirCommands();
};

void EntryClassTest::openedClassFillsTheGrid() {
    Desk desk;
    QVERIFY(desk.loaded);
    desk.open(desk.file("eng.tlc", classOf27()));
    QCOMPARE(desk.prompts.messages(), QStringList());
    QCOMPARE(desk.ws.studentCount(), 27);
    FlexGrid* grid = desk.grid();
    QCOMPARE(grid->rows(), 28);

    QCOMPARE(gridRow(grid, 0),
             (QStringList{"Student ID", "LAST", "FIRST", "MRK", "  CM1", "  CM2", "  CM3", "  CM4",
                          "  CM5", " R", " O", " W", " C", "  I", " S", " P", " E", " D", " T"}));
    QCOMPARE(gridRow(grid, 1),
             (QStringList{"123-456-789", "Lindqvist", "Maren", "78", "0002", "0011", "", "", "",
                          "3", "4", "2", "3", "1", "", "", "", "", "Y"}));
    QCOMPARE(grid->textMatrix(2, 0), QString("123-45-345"));
    // The free-form student shows the five words; the record keeps its codes.
    QCOMPARE(gridRow(grid, 3).mid(4, 5), (QStringList{"Free", "Form", "Code", "Click", "Below"}));
    QCOMPARE(desk.ws.students[2].comments[0], std::string("0001"));
    QCOMPARE(desk.ws.students[2].comments[1], std::string("0003"));
    QCOMPARE(grid->textMatrix(27, 1), QString("Yarrow"));

    for (int c = 4; c < 19; ++c)
        QCOMPARE(grid->colWidth(c), c <= 8 ? 35 : 0);
    QCOMPARE(grid->fixedCols(), 3);
    QCOMPARE(desk.entry.lblClassSize->text(), QString("27 Students"));
    QCOMPARE(desk.entry.lblCourse->text(), QString("ENG2D1-01"));

    for (const char* name : {"cmdSave", "cmdPrint"})
        QVERIFY2(desk.entry.findChild<QPushButton*>(name)->isEnabled(), name);
    for (const char* name : {"mnuSave", "mnuPrint", "mnuSortNames", "mnuSortMarks"})
        QVERIFY2(desk.entry.findChild<QAction*>(name)->isEnabled(), name);
    QVERIFY(!desk.entry.cmdUndo->isEnabled());
    QVERIFY(!desk.entry.mnuUndo->isEnabled());
    QVERIFY(!desk.entry.mnuSortCourse->isVisible());
    QCOMPARE(desk.prompts.unexpected, 0);
}

void EntryClassTest::detailPanelFollowsTheLayout() {
    Desk desk;
    desk.open(desk.file("eng.tlc", classOf27()));
    const QString l1 = "[0002] Maren has made steady progress this term. [0011] Maren is a ";
    const QString l2 = "conscientious student who takes pride in her work. ";
    const QString blank75 = pad("", 75);
    QCOMPARE(
        detailPanel(desk.entry),
        (QStringList{pad("123456789", 16) + pad("Mark", 6) + pad(l1, 75) + " Learning Skills",
                     pad("Lindqvist", 18) + "78  " + pad(l2, 75) + " RE OR IW CO IN SR",
                     pad("Maren", 22) + blank75 + "  3  4  2  3  1  ",
                     pad("  ", 22) + blank75 + " Interview Request: Y", pad("  ", 22) + blank75}));

    desk.entry.mnuShowCourse->trigger();
    QVERIFY(desk.entry.mnuShowCourse->isChecked());
    QVERIFY(desk.entry.mnuSortCourse->isVisible());
    QCOMPARE(desk.grid()->textMatrix(1, 1), QString("ENG2D1-01: Lindqvist"));
    QCOMPARE(desk.grid()->textMatrix(3, 1), QString("ENG2D1-02: Vasquez"));
    QCOMPARE(detailPanel(desk.entry),
             (QStringList{pad("123456789", 13) + pad("ENG2D1-01", 10) + pad("Mark", 6) +
                              pad(l1, 75) + " Learning Skills",
                          pad("Lindqvist", 25) + "78  " + pad(l2, 75) + " RE OR IW CO IN SR",
                          pad("Maren", 29) + blank75 + "  3  4  2  3  1  ",
                          pad("  ", 29) + blank75 + " Interview : Y", pad("  ", 29) + blank75}));

    desk.entry.mnuShowCourse->trigger();
    QVERIFY(!desk.entry.mnuSortCourse->isVisible());
    QCOMPARE(desk.grid()->textMatrix(1, 1), QString("Lindqvist"));
    QVERIFY(desk.entry.lblDetail4->text().endsWith(" Interview Request: Y"));

    // The short number stands unchanged in the panel.
    desk.grid()->setCurrentCell(2, 3);
    QVERIFY(desk.entry.lblDetail1->text().startsWith(pad("12345", 16) + "Mark  [0002] Tunde "));
    QCOMPARE(desk.prompts.messages(), QStringList());
}

void EntryClassTest::currentRowIsHighlightedAndFollowed() {
    Desk desk;
    desk.open(desk.file("eng.tlc", classOf27()));
    FlexGrid* grid = desk.grid();
    const QColor highlight = desk.entry.palette().color(QPalette::Highlight);
    auto marked = [&](int row) {
        for (int c = 0; c < 3; ++c) {
            if (grid->cellBackColor(row, c) != highlight) return false;
            if (grid->cellForeColor(row, c) != QColor(Qt::white)) return false;
        }
        return true;
    };
    auto plain = [&](int row) {
        for (int c = 0; c < 3; ++c) {
            if (grid->cellBackColor(row, c) == highlight) return false;
            if (grid->cellForeColor(row, c) != QColor(Qt::black)) return false;
        }
        return true;
    };
    QCOMPARE(grid->row(), 1);
    QVERIFY(marked(1));
    QVERIFY(plain(2));
    QVERIFY(plain(27));
    QCOMPARE(grid->cellBackColor(1, 3), QColor(Qt::white));

    grid->setCurrentCell(5, 4);
    QCOMPARE(grid->row(), 5);
    QCOMPARE(grid->col(), 4);
    QVERIFY(marked(5));
    QVERIFY(plain(1));
    // A row the highlight left is button face again, like the header and the
    // rows it never reached.
    QCOMPARE(grid->cellBackColor(1, 0), grid->cellBackColor(0, 0));
    QCOMPARE(grid->cellBackColor(1, 2), grid->cellBackColor(27, 2));
    QVERIFY(desk.entry.lblDetail2->text().startsWith(pad("Bellweather", 18) + "57  "));

    grid->setCurrentCell(27, 3);
    QVERIFY(marked(27));
    QVERIFY(plain(5));
    QVERIFY(desk.entry.lblDetail2->text().startsWith("Yarrow"));
    // A move within the row keeps the mark on it.
    grid->setCurrentCell(27, 6);
    QVERIFY(marked(27));
}

void EntryClassTest::backgroundTurnsWhiteAbove35Students_data() {
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("white");
    QTest::newRow("35") << 35 << false;
    QTest::newRow("36") << 36 << true;
}

void EntryClassTest::backgroundTurnsWhiteAbove35Students() {
    QFETCH(int, size);
    QFETCH(bool, white);
    Desk desk;
    desk.open(desk.file("big.tlc", classOfSize(size)));
    QCOMPARE(desk.entry.lblClassSize->text(), QString("%1 Students").arg(size));
    // The button face of the header cells.
    const QColor buttonFace = desk.grid()->cellBackColor(0, 0);
    QVERIFY(buttonFace != QColor(Qt::white));
    QCOMPARE(desk.grid()->backColorBkg(), white ? QColor(Qt::white) : buttonFace);
}

void EntryClassTest::lengthWarningAbove460Characters() {
    // 90 and 91 characters compose to 92 and 93 with the appended ". ".
    auto text = [](int length) {
        QByteArray t;
        while (t.size() < length)
            t += "tidy ";
        t.truncate(length);
        if (t.endsWith(' ')) t[length - 1] = 's';
        return t;
    };
    Desk desk("Code,Comment,Category\r\n0001," + text(90) + ",1\r\n0002," + text(91) + ",1\r\n");
    QVERIFY(desk.loaded);
    QByteArray bytes =
        pupil("ENG3U1-01", "Abara", "Chidi", "111111111", "70", "0001,0001,0001,0001,0001");
    bytes +=
        pupil("ENG3U1-01", "Bellweather", "Ines", "222222222", "71", "0001,0001,0001,0001,0002");
    bytes += pupil("ENG3U1-01", "Castellan", "Rui", "333333333", "72", "0002,0002,0002,0002,0002",
                   "G,G,G,G,G,G", ("0,True," + QByteArray(600, 'x')).constData());
    bytes += pupil("ENG3U1-01", "Dunmore", "Eli", "444444444", "73");
    desk.open(desk.file("long.tlc", bytes));
    QCOMPARE(desk.ws.studentCount(), 4);
    QCOMPARE(desk.prompts.messages(), QStringList());  // 460 characters

    FlexGrid* grid = desk.grid();
    grid->setCurrentCell(2, 3);  // 461 characters
    QCOMPARE(desk.prompts.messages(), QStringList{kLengthWarning});
    const auto& warning = desk.prompts.asked.last();
    QCOMPARE(warning.title, QString("TL8A: Trillium Comment Length Exceeded"));
    QCOMPARE(desk.prompts.icons, QList<NoticeIcon>{NoticeIcon::Exclamation});
    // The panel is filled all the same.
    QVERIFY(desk.entry.lblDetail1->text().startsWith("222222222"));

    grid->setCurrentCell(3, 3);  // free-form, never checked
    grid->setCurrentCell(1, 3);
    grid->setCurrentCell(4, 3);
    QCOMPARE(desk.prompts.messages().size(), 1);
    grid->setCurrentCell(2, 3);
    QCOMPARE(desk.prompts.messages().size(), 2);

    // Printing shows the student's details, and so the warning, once more.
    desk.prompts.printAnswers << true;
    desk.entry.printClassReport();
    QVERIFY(desk.prompts.lastPrint && desk.prompts.lastPrint->ended);
    QCOMPARE(desk.prompts.messages(), QStringList(3, kLengthWarning));
}

void EntryClassTest::refusedClassFilesLeaveTheOpenClass() {
    Desk desk;
    desk.open(desk.file("eng.tlc", classOf27()));
    const std::vector<StudentRecord> before = desk.ws.students;
    const QStringList cells = allCells(desk.grid());

    QByteArray malformed = classOfSize(3);
    malformed += "SCH4U1-01,Short,Line,1,F,1,0,,,70,,,G,G,G,G,G,G,,,,\r\n";  // 22 commas
    const QList<QPair<QString, QString>> refused = {
        {desk.file("old.TLC", classOfSize(3)), "TL7: Invalid Tallyleaf Class File Type"},
        {desk.file("broken.tlc", malformed),
         "TL8: Invalid Tallyleaf Class File (Perhaps it is an .tlc file created by an earlier "
         "version of TL. Due to changes in Ministry reporting you must use current files with "
         "the current version of TL.)"}};
    for (const auto& [path, text] : refused) {
        desk.prompts.asked.clear();
        desk.open(path);
        QCOMPARE(desk.prompts.messages(), QStringList{text});
        QCOMPARE(desk.prompts.asked.last().title, QString("Tallyleaf"));
        QVERIFY(desk.ws.students == before);
        QCOMPARE(allCells(desk.grid()), cells);
        QCOMPARE(desk.entry.lblCourse->text(), QString("ENG2D1-01"));
        QCOMPARE(desk.entry.lblClassSize->text(), QString("27 Students"));
        QVERIFY(desk.entry.cmdSave->isEnabled());
    }
}

void EntryClassTest::savePromptsAskOnlyWithAClass() {
    // The class picker that New opens asks its own questions; none is about saving.
    Desk desk;
    desk.entry.newTrillium();
    QCOMPARE(desk.prompts.count(Kind::YesNo), 0);
    desk.prompts.asked.clear();
    desk.entry.leave();
    QCOMPARE(desk.prompts.asked.size(), 0);
    QVERIFY(!desk.entry.isVisible());

    Desk second;
    second.prompts.fileAnswers << "";
    second.entry.OpenClassFile();
    QCOMPARE(askedList(second.prompts), QStringList{"open"});
    QCOMPARE(second.prompts.asked[0].request.filter, QString("Tallyleaf Classes (*.tlc)|*.tlc"));
    QCOMPARE(second.prompts.asked[0].request.fileName, QString());

    second.open(second.file("eng.tlc", classOf27()));
    second.prompts.asked.clear();
    second.prompts.yesNoAnswers << false;
    second.entry.newTrillium();
    QCOMPARE(askedList(second.prompts).first(),
             QString("?Do you want to save the current class?|Load New Trillium Class"));
    QCOMPARE(second.prompts.count(Kind::YesNo), 1);

    // Yes saves before the Open dialog; cancelling that dialog keeps the class.
    second.prompts.asked.clear();
    second.prompts.yesNoAnswers << true;
    second.prompts.fileAnswers << second.home("kept") << "";
    second.entry.OpenClassFile();
    QCOMPARE(
        askedList(second.prompts),
        (QStringList{"?Do you want to save the current class?|Open New Class", "save", "open"}));
    QCOMPARE(second.ws.studentCount(), 27);

    // A name typed without an extension got ".tlc", so the class opens again.
    second.prompts.asked.clear();
    second.open(second.home("kept.tlc"));
    QCOMPARE(askedList(second.prompts),
             (QStringList{"?Do you want to save the current class?|Open New Class", "open"}));
    QCOMPARE(second.ws.studentCount(), 27);
    QCOMPARE(second.prompts.unexpected, 0);
}

void EntryClassTest::exitOffersToSaveUnderTheClassCode() {
    struct Case {
        bool yes;
        QString saveAnswer;
        bool byFrame;
    };
    for (const Case& c : {Case{false, "", false}, Case{true, "", false}, Case{true, "term1", false},
                          Case{false, "", true}}) {
        Desk desk;
        desk.open(desk.file("eng.tlc", classOf27()));
        desk.prompts.asked.clear();
        desk.prompts.yesNoAnswers << c.yes;
        if (c.yes)
            desk.prompts.fileAnswers << (c.saveAnswer.isEmpty() ? "" : desk.home(c.saveAnswer));
        if (c.byFrame) {
            desk.entry.close();
        } else {
            desk.entry.leave();
        }

        QStringList expectedAsked{"?Do you want to save the class?|Exit Tallyleaf"};
        if (c.yes) expectedAsked << "save";
        QCOMPARE(askedList(desk.prompts), expectedAsked);
        if (c.yes) {
            const FileRequest& save = desk.prompts.asked[1].request;
            QCOMPARE(save.fileName, QString("ENG2D101"));
            QVERIFY(save.confirmOverwrite);
            QCOMPARE(save.filter, QString("Tallyleaf Classes (*.tlc)|*.tlc"));
        }
        const QStringList expected =
            c.saveAnswer.isEmpty() ? QStringList{"eng.tlc"} : QStringList{"eng.tlc", "term1.tlc"};
        QCOMPARE(QDir(desk.school.homeFolder()).entryList(QDir::Files, QDir::Name), expected);
        QVERIFY(!desk.entry.isVisible());
        QCOMPARE(desk.prompts.unexpected, 0);
    }
}

void EntryClassTest::classDialogsStartAtHomeUntilAFileIsChosen() {
    Desk desk;
    const QString elsewhere = desk.school.write("classes/eng.tlc", classOf27());
    auto lastRequest = [&desk]() { return desk.prompts.asked.last().request; };

    desk.open(elsewhere);
    QCOMPARE(lastRequest().initialFolder, desk.school.homeFolder());
    QVERIFY(!desk.ws.firstDialog);

    const QString classes = desk.school.root() + "/classes";
    desk.open("");
    QCOMPARE(lastRequest().initialFolder, classes);
    desk.prompts.fileAnswers << "";
    desk.entry.saveas();
    QCOMPARE(lastRequest().initialFolder, classes);

    desk.prompts.fileAnswers.append({"", ""});
    desk.entry.openFavourites();
    QCOMPARE(lastRequest().initialFolder, desk.school.homeFolder());
    QCOMPARE(lastRequest().filter, QString("Tallyleaf Favourites (*.tlf)|*.tlf"));
    desk.entry.openFavourites();
    QCOMPARE(lastRequest().initialFolder, desk.school.homeFolder());
    QCOMPARE(desk.prompts.unexpected, 0);

    // Without a home folder the dialog is left where it is.
    Desk homeless;
    homeless.school.removeHome();
    homeless.prompts.fileAnswers << "";
    homeless.entry.OpenClassFile();
    QCOMPARE(homeless.prompts.asked.last().request.initialFolder, QString());
}

void EntryClassTest::saveSortsByNameAndWritesTheClass() {
    Desk desk;
    const QByteArray bytes =
        "ENG2D1-02,\"Okafor\",Tunde,345678912,M,2,0,,,71,,,G,G,S,G,E,G,,0003,0010,,,,0,false,\r\n"
        "ENG2D1-01,Brennan,Ailsa,123456789,F,1,1,Y,,88,,,E,E,G,E,E,E,,0004,0009,0011,,,Y,FALSE,\r\n"
        "ENG2D1-01,Vasquez,Lio,12345,M,3,0,,Y,64,,,S,S,N,S,G,0,,0006,0016,,,,0,True,Lio works "
        "hard, asks questions, and helps others.\r\n"
        "ENG2D1-02,Brennan,Ailsa,234567891,F,1,0,,,93,,,E,G,G,G,G,G,,0001,,,,,0,False,\r\n"
        "ENG2D1-01,Adeyemi,Kofi,456789123,M,2,0,,,,,,0,0,0,0,0,0,,,,,,,0,False,";
    desk.open(desk.file("eng.tlc", bytes));
    desk.entry.mnuSortMarks_Click();
    QStringList marks;
    for (int r = 1; r <= 5; ++r)
        marks << desk.grid()->textMatrix(r, 3);
    QCOMPARE(marks, (QStringList{"93", "88", "71", "64", ""}));
    desk.entry.pushUndo(0);

    desk.prompts.fileAnswers << desk.home("saved.tlc");
    desk.entry.cmdSave_Click();
    QCOMPARE(desk.prompts.count(Kind::Save), 1);
    QCOMPARE(desk.prompts.asked.last().request.fileName, QString("ENG2D101"));
    QFile saved(desk.home("saved.tlc"));
    QVERIFY(saved.open(QIODevice::ReadOnly));
    // Name order; the two Ailsa Brennans keep the order the mark sort gave them.
    QCOMPARE(saved.readAll(),
             QByteArray("ENG2D1-01,Adeyemi,Kofi,456789123,M,2,0,,,,,,0,0,0,0,0,0,,,,,,,0,False,\r\n"
                        "ENG2D1-02,Brennan,Ailsa,234567891,F,1,0,,,93,,,E,G,G,G,G,G,,0001,,,,,0,"
                        "False,\r\n"
                        "ENG2D1-01,Brennan,Ailsa,123456789,F,1,1,Y,,88,,,E,E,G,E,E,E,,0004,0009,"
                        "0011,,,Y,False,\r\n"
                        "ENG2D1-02,Okafor,Tunde,345678912,M,2,0,,,71,,,G,G,S,G,E,G,,0003,0010,,,,"
                        "0,False,\r\n"
                        "ENG2D1-01,Vasquez,Lio,12345,M,3,0,,Y,64,,,S,S,N,S,G,0,,0006,0016,,,,0,"
                        "True,Lio works hard, asks questions, and helps others.\r\n"));
    QCOMPARE(desk.grid()->textMatrix(1, 1), QString("Adeyemi"));
    QCOMPARE(desk.grid()->textMatrix(2, 0), QString("234-567-891"));
    QVERIFY(!desk.entry.cmdUndo->isEnabled());
    QCOMPARE(desk.entry.undoStack.count(), 0);
}

void EntryClassTest::failedSaveKeepsTheClassOpen() {
    Desk desk;
    desk.open(desk.file("eng.tlc", classOf27()));
    desk.prompts.fileAnswers << desk.school.root() + "/no such folder/eng.tlc";
    desk.entry.cmdSave_Click();
    QCOMPARE(desk.prompts.messages(),
             QStringList{"TL19: Class file could not be saved. \r\nIt is likely that your disk is "
                         "full or the folder cannot be written to."});
    QCOMPARE(desk.ws.studentCount(), 27);
    QCOMPARE(desk.grid()->rows(), 28);
    QCOMPARE(desk.grid()->textMatrix(1, 1), QString("Abara"));
    QVERIFY(desk.entry.cmdSave->isEnabled());

    // Exit and Open that offered a save which failed keep the class open.
    const QString unwritable = desk.school.root() + "/no such folder/eng.tlc";
    desk.prompts.yesNoAnswers << true;
    desk.prompts.fileAnswers << unwritable;
    QVERIFY(!desk.entry.close());
    QVERIFY(desk.entry.isVisible());
    desk.prompts.yesNoAnswers << true;
    desk.prompts.fileAnswers << unwritable << desk.file("other.tlc", classOf27());
    desk.entry.OpenClassFile();
    QCOMPARE(desk.prompts.count(ScriptedPrompts::Kind::Open), 1);
    QCOMPARE(desk.ws.studentCount(), 27);
    QCOMPARE(desk.prompts.messages().size(), 3);
}

void EntryClassTest::undoRestoresNewestFirst() {
    Desk desk;
    desk.open(desk.file("eng.tlc", classOf27()));
    FlexGrid* grid = desk.grid();
    const StudentRecord third = desk.ws.students[3];
    const StudentRecord seventh = desk.ws.students[7];
    const QStringList thirdRow = gridRow(grid, 4);
    const QStringList seventhRow = gridRow(grid, 8);

    desk.entry.pushUndo(3);
    desk.ws.students[3].mark = "12";
    grid->setTextMatrix(4, 3, "12");
    QVERIFY(desk.entry.cmdUndo->isEnabled());
    QVERIFY(desk.entry.mnuUndo->isEnabled());

    desk.entry.pushUndo(7);
    StudentRecord& changed = desk.ws.students[7];
    changed.mark = "99";
    changed.comments = {"0004", "0005", "0006", "0007", "0008"};
    changed.skills = {"1", "1", "1", "1", "1", "1"};
    changed.iep = changed.esl = changed.eld = changed.interview = "Y";
    for (int c = 3; c < 19; ++c)
        grid->setTextMatrix(8, c, "x");
    grid->setCurrentCell(20, 3);

    desk.entry.cmdUndo->click();
    QVERIFY(desk.ws.students[7] == seventh);
    QCOMPARE(gridRow(grid, 8), seventhRow);
    QCOMPARE(desk.ws.students[3].mark, std::string("12"));
    QCOMPARE(grid->row(), 8);
    QVERIFY(
        desk.entry.lblDetail2->text().startsWith(pad(seventhRow[1], 18) + pad(seventhRow[3], 4)));
    QCOMPARE(grid->cellBackColor(8, 0), desk.entry.palette().color(QPalette::Highlight));
    QVERIFY(grid->cellBackColor(20, 0) != desk.entry.palette().color(QPalette::Highlight));
    QVERIFY(desk.entry.cmdUndo->isEnabled());

    desk.entry.cmdUndo->click();
    QVERIFY(desk.ws.students[3] == third);
    QCOMPARE(gridRow(grid, 4), thirdRow);
    QCOMPARE(grid->row(), 4);
    QVERIFY(desk.entry.lblDetail2->text().startsWith(pad(thirdRow[1], 18) + pad(thirdRow[3], 4)));
    QVERIFY(!desk.entry.cmdUndo->isEnabled());
    QVERIFY(!desk.entry.mnuUndo->isEnabled());

    // A free-form student's comment cells come back as the five words.
    desk.entry.pushUndo(2);
    desk.ws.students[2].mark = "40";
    grid->setTextMatrix(3, 3, "40");
    grid->setTextMatrix(3, 4, "0009");
    desk.entry.doUndo();
    QCOMPARE(gridRow(grid, 3).mid(3, 6),
             (QStringList{"91", "Free", "Form", "Code", "Click", "Below"}));
    QCOMPARE(grid->row(), 3);
}

void EntryClassTest::undoIsEmptiedWhenTheTableIsReorderedOrReplaced() {
    Desk desk;
    desk.open(desk.file("eng.tlc", classOf27()));
    const QList<void (frmEntry::*)()> sorts = {&frmEntry::mnuSortNames_Click,
                                               &frmEntry::mnuSortMarks_Click,
                                               &frmEntry::mnuSortCourse_Click};
    for (auto sort : sorts) {
        desk.entry.pushUndo(4);
        desk.entry.pushUndo(5);
        (desk.entry.*sort)();
        QCOMPARE(desk.entry.undoStack.count(), 0);
        QVERIFY(!desk.entry.cmdUndo->isEnabled());
        QVERIFY(!desk.entry.mnuUndo->isEnabled());
    }
    desk.entry.pushUndo(4);
    desk.open(desk.file("small.tlc", classOfSize(5)));
    QCOMPARE(desk.ws.studentCount(), 5);
    QCOMPARE(desk.entry.undoStack.count(), 0);
    QVERIFY(!desk.entry.cmdUndo->isEnabled());
    // Nothing is restored into the new class.
    const std::vector<StudentRecord> now = desk.ws.students;
    desk.entry.doUndo();
    QVERIFY(desk.ws.students == now);
}

void EntryClassTest::sortCommands() {
    Desk desk;
    const QByteArray bytes = pupil("MTH1W1-02", "Quennell", "Ada", "100000001", "9") +
                             pupil("MTH1W1-01", "Quennell", "Ada", "100000002", "85") +
                             pupil("MTH1W1-02", "abbott", "Zed", "100000003", "") +
                             pupil("MTH1W1-01", "Farrow", "Ewan", "100000004", "0") +
                             pupil("MTH1W1-02", "Zeller", "Bo", "100000005", "100") +
                             pupil("MTH1W1-01", "Quennell", "Ada", "100000006", "85");
    desk.open(desk.file("m.tlc", bytes));
    auto ids = [&desk]() {
        QStringList list;
        for (int r = 1; r < desk.grid()->rows(); ++r)
            list << desk.grid()->textMatrix(r, 0).right(1);
        return list.join("");
    };
    // Upper case sorts before lower case; marks compare as numbers, highest
    // first, with no mark counting as 0.
    desk.entry.mnuSortNames_Click();
    QCOMPARE(ids(), QString("412653"));
    desk.entry.mnuSortMarks_Click();
    QCOMPARE(ids(), QString("526143"));
    QCOMPARE(desk.entry.lblCourse->text(), QString("MTH1W1-02"));

    QVERIFY(!desk.entry.mnuSortCourse->isVisible());
    desk.entry.mnuShowCourse->trigger();
    QVERIFY(desk.entry.mnuSortCourse->isVisible());
    desk.entry.mnuSortCourse_Click();
    QCOMPARE(ids(), QString("426153"));
    QCOMPARE(desk.grid()->textMatrix(4, 1), QString("MTH1W1-02: Quennell"));
    desk.entry.mnuShowCourse->trigger();
    QVERIFY(!desk.entry.mnuSortCourse->isVisible());

    // The three Ada Quennells keep the order the mark sort left them in.
    desk.entry.mnuSortMarks_Click();
    QCOMPARE(ids(), QString("526143"));
    desk.entry.mnuSortNames_Click();
    QCOMPARE(ids(), QString("426153"));
    QCOMPARE(desk.prompts.asked.size(), 1);  // only the Open dialog
}

void EntryClassTest::classReportLayout() {
    Desk desk;
    const QString three = words(1, 90);  // a remainder of 149 characters
    const QString two = words(1, 80);    // a remainder of 99 characters
    const QByteArray bytes =
        pupil("ENG2D1-02", "Whitlock", "Rosa", "111222333", "80") +
        "ENG2D1-01,Abara,Chidi,222333444,M,1,1,Y,,75,,,G,G,G,G,G,G,,0001,,,,,Y,False,\r\n" +
        pupil("ENG2D1-01", "Marchetti", "Gia", "333444555", "66", ",,,,", "S,S,S,S,S,S",
              ("0,True," + three.toLatin1()).constData()) +
        pupil("ENG2D1-02", "Farrow", "Ewan", "444555666", "59", ",,,,", "G,G,G,G,G,G",
              ("0,True," + two.toLatin1()).constData());
    desk.open(desk.file("eng.tlc", bytes));
    desk.entry.mnuSortNames_Click();
    desk.grid()->setCurrentCell(3, 3);
    const QStringList panel = detailPanel(desk.entry);
    QVERIFY(panel[0].startsWith("333444555"));

    // Cancel in the Print dialog prints nothing and leaves the panel.
    desk.prompts.printAnswers << false;
    desk.entry.printClassReport();
    QCOMPARE(desk.prompts.count(Kind::Print), 1);
    QVERIFY(!desk.prompts.lastPrint);
    QCOMPARE(detailPanel(desk.entry), panel);

    const QDate day = QDate::currentDate();
    desk.prompts.printAnswers << true;
    desk.entry.printClassReport();
    QVERIFY(desk.prompts.lastPrint);
    const PrintRecord& record = *desk.prompts.lastPrint;
    QVERIFY(record.landscape);
    QVERIFY(record.ended);
    QCOMPARE(record.pages, 1);
    const QStringList text = printed(record);
    QCOMPARE(text.size(), 4 + 6 + 8 + 9 + 6);

    // An empty line in the default font, then Courier New 12 and 9.
    QCOMPARE(text[0] + text[1] + text[3], QString());
    QCOMPARE(record.lines[0].font, QString());
    QCOMPARE(record.lines[1].font, QString("Courier New"));
    QCOMPARE(record.lines[1].size, 12.0);
    const QRegularExpression heading(
        "^Tallyleaf v3\\.3 Growing Success ~ Class Report ~ (\\d\\d)-(\\d\\d)-(\\d{4}) ~ "
        "([01]\\d|2[0-3]):[0-5]\\d:[0-5]\\d$");
    const QRegularExpressionMatch match = heading.match(text[2]);
    QVERIFY2(match.hasMatch(), qPrintable(text[2]));
    const QDate printedOn(match.captured(3).toInt(), match.captured(1).toInt(),
                          match.captured(2).toInt());
    QVERIFY(printedOn == day || printedOn == day.addDays(1));
    QCOMPARE(record.lines[2].size, 12.0);
    for (std::size_t i = 3; i < record.lines.size(); ++i) {
        QCOMPARE(record.lines[i].font, QString("Courier New"));
        QCOMPARE(record.lines[i].size, 9.0);
    }

    // Name order takes the sections in turn, so each block has its code line.
    QStringList codes;
    for (const QString& line : text.mid(4)) {
        if (line.startsWith("ENG2D1-")) codes << line;
    }
    QCOMPARE(codes, (QStringList{"ENG2D1-01", "ENG2D1-02", "ENG2D1-01", "ENG2D1-02"}));

    const QString indent(25, ' ');
    const qsizetype abara = blockOf(text, "222333444");
    QVERIFY(abara > 4 && abara + 5 < text.size());
    QCOMPARE(text[abara - 1], QString("ENG2D1-01"));
    QVERIFY(text[abara + 1].startsWith("   Abara") && text[abara + 1].endsWith(" IEP ESL ELD"));
    QVERIFY(text[abara + 2].startsWith("   Chidi") && text[abara + 2].endsWith("   Y   Y    "));
    QVERIFY(text[abara + 3].endsWith(" Interview Request: Y"));
    QCOMPARE(text[abara + 4], QString(" "));
    QCOMPARE(text[abara + 5], QString("ENG2D1-02"));

    const QString twoRest = words(61, 80);
    const qsizetype farrow = blockOf(text, "444555666");
    QVERIFY(farrow > 4);
    QCOMPARE(text.mid(farrow + 4, 4),
             (QStringList{indent + twoRest.left(72), indent + twoRest.mid(72), " ", "ENG2D1-01"}));
    const QString threeRest = words(61, 90);
    const qsizetype marchetti = blockOf(text, "333444555");
    QVERIFY(marchetti > 4);
    QCOMPARE(text.mid(marchetti + 4, 5),
             (QStringList{indent + threeRest.left(72), indent + threeRest.mid(72, 72),
                          indent + threeRest.mid(144), " ", "ENG2D1-02"}));
    // The panel shows the first student again.
    QVERIFY(desk.entry.lblDetail1->text().startsWith("222333444"));

    // With course codes shown the remainder lines move under the wider labels.
    desk.entry.mnuShowCourse->trigger();
    desk.prompts.printAnswers << true;
    desk.entry.printClassReport();
    const QStringList wide = printed(*desk.prompts.lastPrint);
    const qsizetype wideFarrow = blockOf(wide, "444555666");
    QVERIFY(wideFarrow > 4 && wideFarrow + 4 < wide.size());
    QCOMPARE(wide[wideFarrow + 4], QString(32, ' ') + twoRest.left(72));
    QVERIFY(wide[wideFarrow + 3].endsWith(" Interview : 0"));
    QCOMPARE(desk.prompts.messages(), QStringList());
}

void EntryClassTest::classReportBreaksPagesByCountingLines() {
    Desk desk;
    QByteArray bytes;
    for (int i = 0; i < 25; ++i) {
        const QByteArray number = QByteArray::number(500000000 + i);
        const QByteArray last = QByteArray("Pupil") + char('A' + i);
        bytes += pupil(i < 10 ? "CHC2D1-01" : "CHC2D1-02", last.constData(), "Kim",
                       number.constData(), "70");
    }
    desk.open(desk.file("chc.tlc", bytes));
    desk.prompts.printAnswers << true;
    desk.entry.printClassReport();
    const PrintRecord& record = *desk.prompts.lastPrint;
    QCOMPARE(record.pages, 3);
    QVERIFY(std::all_of(record.lines.begin(), record.lines.end(),
                        [](const PrintRecord::Line& line) { return line.page <= 3; }));

    // Page 1 counts from 3: a code line and ten blocks of five lines reach 54.
    // Page 2 counts from 2: its code line and ten blocks reach exactly 53, so
    // an eleventh block still fits; page 3 takes the rest.
    QList<int> pageOf;
    std::vector<std::vector<QString>> pages(4);
    for (const auto& line : record.lines) {
        pages[line.page].push_back(line.text);
        if (line.text.startsWith("   5000000")) pageOf << line.page;
    }
    QCOMPARE(pageOf.size(), 25);
    for (int i = 0; i < 25; ++i)
        QCOMPARE(pageOf[i], i < 10 ? 1 : (i < 21 ? 2 : 3));
    QCOMPARE(pages[1].size(), std::size_t(4 + 1 + 10 * 5));
    QCOMPARE(pages[2].size(), std::size_t(2 + 1 + 11 * 5));
    QCOMPARE(pages[3].size(), std::size_t(2 + 4 * 5));
    QCOMPARE(pages[2][0], QString());
    QCOMPARE(pages[2][1], QString());
    QCOMPARE(pages[2][2], QString("CHC2D1-02"));
    QCOMPARE(pages[3][0], QString());
    QCOMPARE(pages[3][1], QString());
    QVERIFY(pages[3][2].startsWith("   500000021"));
    QVERIFY(record.ended);
}

void EntryClassTest::aboutWindowOpensBesideTheMainWindow() {
    Desk desk;
    desk.entry.mnuhelp_Click();
    QPointer<frmHelp> help = desk.entry.findChild<frmHelp*>("frmHelp");
    QVERIFY(help);
    QVERIFY(help->isVisible());
    QCOMPARE(help->windowTitle(), QString("Help"));
    QCOMPARE(QApplication::activeModalWidget(), nullptr);
    QStringList lines = help->Text1->toPlainText().split('\n');
    if (lines.last().isEmpty()) lines.removeLast();
    QCOMPARE(lines.size(), 12);
    QCOMPARE(lines[0], QString("Tallyleaf"));
    QCOMPARE(lines[1], QString("Version 3.3 Growing Success"));
    QCOMPARE(lines[2], QString());
    QCOMPARE(lines[3], QString("Growing Success - Compliant"));
    QCOMPARE(lines[5], QString("Developed at "));
    QCOMPARE(frmHelp::printstuff().count("\r\n"), 12);

    help->findChild<QPushButton*>("Command1")->click();
    QTRY_VERIFY(help.isNull());
    QVERIFY(desk.entry.isVisible());
    // Opened again, it shows its twelve lines once more.
    desk.entry.mnuhelp_Click();
    QVERIFY(desk.entry.helpWindow);
    QCOMPARE(desk.entry.helpWindow->Text1->toPlainText().count('\n'), 12);
}

void EntryClassTest::commandsWithoutAClassDoNothing() {
    Desk desk;
    const QStringList header = gridRow(desk.grid(), 0);
    desk.entry.mnuShowCourse->trigger();
    desk.entry.mnuSortNames_Click();
    desk.entry.mnuSortMarks_Click();
    desk.entry.mnuSortCourse_Click();
    desk.entry.printClassReport();
    desk.entry.cmdSave_Click();
    desk.entry.doUndo();
    QCOMPARE(desk.prompts.asked.size(), 0);
    QVERIFY(!desk.entry.mnuShowCourse->isChecked());
    QVERIFY(!desk.entry.mnuSortCourse->isVisible());
    QCOMPARE(desk.grid()->rows(), 1);
    QCOMPARE(gridRow(desk.grid(), 0), header);
    QCOMPARE(desk.entry.lblCourse->text(), QString());
    QCOMPARE(desk.entry.lblClassSize->text(), QString());
    QCOMPARE(desk.entry.lblDetail1->text(), QString());
    QVERIFY(!desk.entry.cmdSave->isEnabled());
    QVERIFY(!desk.entry.cmdPrint->isEnabled());
}

void EntryClassTest::menuItemsRunTheirCommands() {
    Desk desk;
    QVERIFY(desk.entry.mnuOpenClass->isEnabled());
    desk.prompts.fileAnswers << desk.file("eng.tlc", classOf27());
    desk.entry.mnuOpenClass->trigger();
    QCOMPARE(desk.ws.studentCount(), 27);

    desk.entry.mnuSortMarks->trigger();
    QCOMPARE(desk.grid()->textMatrix(1, 3), QString("99"));
    desk.entry.pushUndo(0);
    desk.ws.students[0].mark = "1";
    desk.entry.mnuUndo->trigger();
    QCOMPARE(desk.ws.students[0].mark, std::string("99"));

    desk.prompts.printAnswers << false;
    desk.entry.mnuPrint->trigger();
    QCOMPARE(desk.prompts.count(Kind::Print), 1);
    desk.prompts.fileAnswers << "";
    desk.entry.mnuSave->trigger();
    QCOMPARE(desk.prompts.count(Kind::Save), 1);

    QVERIFY(desk.entry.mnuhelp->isEnabled());
    desk.entry.mnuhelp->trigger();
    QVERIFY(desk.entry.helpWindow);
    QCOMPARE(desk.prompts.unexpected, 0);
}

QTEST_MAIN(EntryClassTest)
#include "tst_entry_class.moc"
