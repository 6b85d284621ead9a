// The main window with a class open: the grid and detail panel, the class
// commands and their prompts, undo, sorting, the class report and Help.

#include "about/frm_help.h"
#include "entry/class_report.h"
#include "ui/ui_support.h"

using namespace tl;
using namespace tl::test;

namespace {

const QByteArray kG6 = "G,G,G,G,G,G";

// Student 0 is the panel's example, 1 has a short number, 2 a free-form
// comment; the rest alternate between two sections.
QByteArray classOf10() {
    QByteArray bytes = classLine("ENG2D1-01", "Lindqvist", "Maren", "123456789", "78",
                                 "0002,0011,,,", "G,E,S,G,N,0", "Y,False,") +
                       classLine("ENG2D1-01", "Okafor", "Tunde", "12345", "64") +
                       classLine("ENG2D1-02", "Vasquez", "Lio", "234567891", "91", "0001,0003,,,",
                                 kG6, "0,True,Lio keeps a careful lab journal.");
    for (int i = 3; i < 10; ++i)
        bytes += classLine(i % 2 ? "ENG2D1-02" : "ENG2D1-01", "Pupil" + QByteArray::number(100 + i),
                           "Sam", QByteArray::number(300000000 + i), QByteArray::number(50 + i));
    return bytes;
}

// What was asked, in order: "?text|title" for a question, "open", "save" or
// "print" for a dialog, "!" for a message.
QStringList askedList(const ScriptedPrompts& prompts) {
    static const char* const kKinds[] = {"!", "?", "open", "save", "print"};
    QStringList list;
    for (const auto& a : prompts.asked)
        list << kKinds[int(a.kind)] + (a.kind == Kind::YesNo ? a.text + "|" + a.title : "");
    return list;
}

QStringList printed(const PrintRecord& record) {
    QStringList lines;
    for (const auto& line : record.lines)
        lines << line.text;
    return lines;
}

// The first printed line of a student's block: three blanks and the number.
qsizetype blockOf(const QStringList& lines, const QString& number) {
    return lines.indexOf(QRegularExpression("^   " + number + " .*"));
}

}  // namespace

class EntryClassTest : public QObject {
    Q_OBJECT
  private slots:
    void openedClassFillsTheGridAndPanel() {
        Desk desk;
        desk.open(desk.file("eng.tlc", classOf10()));
        QVERIFY(desk.loaded && desk.prompts.messages().isEmpty());
        FlexGrid* grid = desk.grid();
        QCOMPARE(grid->rows(), 11);
        QCOMPARE(cells(grid, 1).join('|'),
                 QString("123-456-789|Lindqvist|Maren|78|0002|0011||||3|4|2|3|1|||||Y"));
        QCOMPARE(grid->textMatrix(2, 0), QString("123-45-345"));
        // The free-form student shows the five words; the record keeps its codes.
        QCOMPARE(cells(grid, 3, 4, 8).join(' '), QString("Free Form Code Click Below"));
        QCOMPARE(desk.ws.students[2].comments[1], std::string("0003"));
        QCOMPARE(desk.ctl("lblClassSize")->text() + desk.ctl("lblCourse")->text(),
                 QString("10 StudentsENG2D1-01"));
        QVERIFY(desk.act("mnuSortMarks")->isEnabled() && desk.act("mnuExport")->isEnabled());
        QVERIFY(desk.btn("cmdSave")->isEnabled() && !desk.btn("cmdUndo")->isEnabled());
        // Ready for the first mark: the grid has the keyboard at the first MRK cell.
        QVERIFY(grid->hasFocus() && grid->row() == 1 && grid->col() == 3);

        // The panel shows the student's detail lines; course codes widen the name column.
        for (int width : {18, 25, 18}) {
            QCOMPARE(panel(desk.entry), expectedPanel(desk.ws, 0, width == 25));
            QVERIFY(desk.ctl("lblDetail2")
                        ->text()
                        .startsWith(QString("Lindqvist").leftJustified(width) + "78"));
            QCOMPARE(grid->textMatrix(3, 1),
                     QString(width == 25 ? "ENG2D1-02: Vasquez" : "Vasquez"));
            QCOMPARE(desk.act("mnuSortCourse")->isVisible(), width == 25);
            desk.act("mnuShowCourse")->trigger();
        }
        desk.act("mnuShowCourse")->trigger();
        grid->setCurrentCell(5, 4);
        QCOMPARE(panel(desk.entry), expectedPanel(desk.ws, 4, false));

        // A refused file (wrong type, malformed) leaves the open class, grid and captions.
        const QStringList shown = allCells(grid);
        const auto records = desk.ws.students;
        desk.open(desk.file("upper.TLC", classOf10()));
        desk.open(desk.file("short.tlc", "ENG2D1-01,Short,Line,1,2,3\r\n"));
        QCOMPARE(desk.prompts.messages().size(), 2);
        QVERIFY(desk.prompts.messages()[0].startsWith("TL7:"));
        QVERIFY(desk.prompts.messages()[1].startsWith("TL8:"));
        QVERIFY(desk.ws.students == records);
        QCOMPARE(allCells(grid), shown);
        QCOMPARE(desk.ctl("lblClassSize")->text(), QString("10 Students"));
    }

    void lengthWarningAbove460Characters() {
        // Phrases of 90 and 91 characters compose to 92 and 93 with ". ".
        const QByteArray tidy = QByteArray("tidy ").repeated(17);
        Desk desk("Code,Comment,Category\r\n0001," + tidy + "tidys,1\r\n0002," + tidy +
                  "tidy t,1\r\n");
        auto pupil = [](const char* comments, const QByteArray& tail = "0,False,") {
            return classLine("ENG3U1-01", "Abara", "Chidi", "111111111", "70", comments, kG6, tail);
        };
        desk.open(desk.file(
            "long.tlc", pupil("0001,0001,0001,0001,0001") + pupil("0001,0001,0001,0001,0002") +
                            pupil("0002,0002,0002,0002,0002", "0,True,Short.") + pupil(",,,,")));
        QCOMPARE(desk.ws.studentCount(), 4);
        QCOMPARE(desk.prompts.messages(), QStringList());  // 460 characters

        desk.grid()->setCurrentCell(2, 3);  // 461 characters
        QCOMPARE(desk.prompts.messages().size(), 1);
        QVERIFY(desk.prompts.messages()[0].startsWith("The length of your comments for this"));
        QCOMPARE(desk.prompts.asked.last().title,
                 QString("TL8A: Trillium Comment Length Exceeded"));
        QCOMPARE(panel(desk.entry), expectedPanel(desk.ws, 1, false));
        for (int row : {3, 1, 4})  // the free-form student is never checked
            desk.grid()->setCurrentCell(row, 3);
        QCOMPARE(desk.prompts.messages().size(), 1);
        desk.grid()->setCurrentCell(2, 3);
        QCOMPARE(desk.prompts.messages().size(), 2);
    }

    void newAndOpenAskToSaveOnlyAClass() {
        Desk desk;
        // The class picker that New opens asks its own questions, none about saving.
        desk.btn("cmdNew")->click();
        desk.prompts.fileAnswers << "";
        desk.btn("cmdOpen")->click();
        QCOMPARE(askedList(desk.prompts).filter(QRegularExpression("^[^!]")), QStringList{"open"});
        desk.open(desk.file("eng.tlc", classOf10()));
        desk.prompts.asked.clear();
        desk.prompts.yesNoAnswers << false;
        desk.btn("cmdNew")->click();
        QCOMPARE(askedList(desk.prompts),
                 QStringList{"?Do you want to save the current class?|Load New Trillium Class"});

        // Yes saves before the Open dialog; cancelling that dialog keeps the class.
        desk.prompts.asked.clear();
        desk.prompts.yesNoAnswers << true;
        desk.prompts.fileAnswers << desk.home("kept") << "";
        desk.act("mnuOpenClass")->trigger();
        const QString question = "?Do you want to save the current class?|Open New Class";
        QCOMPARE(askedList(desk.prompts), (QStringList{question, "save", "open"}));
        QCOMPARE(desk.ws.studentCount(), 10);

        // A name typed without an extension got ".tlc", so the class opens again.
        desk.prompts.asked.clear();
        desk.open(desk.home("kept.tlc"));
        QCOMPARE(askedList(desk.prompts), (QStringList{question, "open"}));
        QCOMPARE(desk.ws.studentCount(), 10);
        QCOMPARE(desk.prompts.unexpected, 0);
    }

    void exitOffersToSaveUnderTheClassCode() {
        for (const QString answer : {"no class", "no", "", "term1"}) {
            Desk desk;
            if (answer != "no class") desk.open(desk.file("eng.tlc", classOf10()));
            desk.prompts.asked.clear();
            desk.prompts.yesNoAnswers << !answer.startsWith("no");
            desk.prompts.fileAnswers << (answer.isEmpty() ? "" : desk.home(answer));
            if (answer == "term1") desk.entry.close();  // by the window frame
            if (answer != "term1") desk.act("mnuExit")->trigger();

            QStringList expected{"?Do you want to save the class?|Exit Tallyleaf", "save"};
            expected = expected.mid(0, answer == "no class" ? 0 : (answer == "no" ? 1 : 2));
            QCOMPARE(askedList(desk.prompts), expected);
            if (expected.size() == 2)
                QCOMPARE(desk.prompts.asked[1].request.fileName, QString("ENG2D101"));
            QCOMPARE(QFile::exists(desk.home("term1.tlc")), answer == "term1");
            QVERIFY(!desk.entry.isVisible());
        }
    }

    void classDialogsStartAtHomeUntilAFileIsChosen() {
        Desk desk;
        auto lastFolder = [&desk]() { return desk.prompts.asked.last().request.initialFolder; };
        desk.open(desk.school.write("classes/eng.tlc", classOf10()));
        QCOMPARE(lastFolder(), desk.school.homeFolder());
        // Once a file is chosen, class dialogs stay where it was; favourites go home.
        desk.open("");
        QCOMPARE(lastFolder(), desk.school.root() + "/classes");
        desk.prompts.fileAnswers << QStringList{"", ""};
        desk.act("mnuSave")->trigger();
        QCOMPARE(lastFolder(), desk.school.root() + "/classes");
        desk.act("mnuOpenFavourites")->trigger();
        QCOMPARE(lastFolder(), desk.school.homeFolder());

        // Without a home folder the dialogs are left where they are.
        Desk homeless;
        homeless.school.removeHome();
        homeless.prompts.fileAnswers << QStringList{"", ""};
        homeless.act("mnuOpenClass")->trigger();
        homeless.act("mnuOpenFavourites")->trigger();
        QCOMPARE(homeless.prompts.asked[0].request.initialFolder +
                     homeless.prompts.asked[1].request.initialFolder,
                 QString());
    }

    void sortsAndSaveKeepEqualKeysInOrder() {
        const QByteArray lines[] = {
            "ENG2D1-02,Okafor,Tunde,345678912,M,2,0,,,71,,,G,G,S,G,E,G,,0003,0010,,,,0,False,\r\n",
            "ENG2D1-01,Brennan,Ailsa,123456789,F,1,1,Y,,88,,,E,E,G,E,E,E,,0004,,,,,Y,False,\r\n",
            "ENG2D1-01,Vasquez,Lio,12345,M,3,0,,Y,64,,,S,S,N,S,G,0,,,,,,,0,True,Lio, we see.\r\n",
            "ENG2D1-02,Brennan,Ailsa,234567891,F,1,0,,,93,,,E,G,G,G,G,G,,0001,,,,,0,False,\r\n",
            "ENG2D1-01,Adeyemi,Kofi,456789123,M,2,0,,,,,,0,0,0,0,0,0,,,,,,,0,False,\r\n"};
        Desk desk;
        desk.open(desk.file("eng.tlc", lines[0] + lines[1] + lines[2] + lines[3] + lines[4]));
        auto sorted = [&desk](QAction* sort, int col) {
            clickCell(desk.grid(), 1, 4);  // an edit to be forgotten
            sort->trigger();
            const QString texts = column(desk.grid(), col).join('|');
            return desk.undos() == 0 && !desk.btn("cmdUndo")->isEnabled() ? texts : "undo kept";
        };
        // Marks compare as numbers, highest first; the course sort orders by name within a code.
        QCOMPARE(sorted(desk.act("mnuSortMarks"), 3), QString("93|88|71|64|"));
        desk.act("mnuShowCourse")->trigger();
        QCOMPARE(sorted(desk.act("mnuSortCourse"), 1),
                 QString("ENG2D1-01: Adeyemi|ENG2D1-01: Brennan|ENG2D1-01: Vasquez|"
                         "ENG2D1-02: Brennan|ENG2D1-02: Okafor"));

        // Save sorts by name; the two Ailsa Brennans keep the order the course sort gave them.
        desk.prompts.fileAnswers << desk.home("saved.tlc");
        desk.act("mnuSave")->trigger();
        QCOMPARE(desk.prompts.asked.last().request.fileName, QString("ENG2D101"));
        QFile saved(desk.home("saved.tlc"));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), lines[4] + lines[1] + lines[3] + lines[0] + lines[2]);
        QCOMPARE(column(desk.grid(), 1).first(), QString("ENG2D1-01: Adeyemi"));
        QVERIFY(desk.undos() == 0 && !desk.btn("cmdUndo")->isEnabled());

        // Opening another class empties the undo stack too; nothing is restored into it.
        clickCell(desk.grid(), 4, 4);
        desk.open(desk.file("small.tlc", classOfSize(5)));
        const std::vector<StudentRecord> now = desk.ws.students;
        QCOMPARE(desk.undos(), 0);
        desk.act("mnuUndo")->trigger();
        QVERIFY(desk.ws.students == now);
    }

    void failedSaveKeepsTheClassOpen() {
        Desk desk;
        desk.open(desk.file("eng.tlc", classOf10()));
        const QString unwritable = desk.school.root() + "/no such folder/eng.tlc";
        desk.prompts.fileAnswers << unwritable;
        desk.btn("cmdSave")->click();
        QVERIFY(
            desk.prompts.messages().join("").startsWith("TL19: Class file could not be saved."));
        QCOMPARE(desk.grid()->rows(), 11);

        // Exit and Open that offered a save which failed keep the class open.
        desk.prompts.yesNoAnswers << true << true;
        desk.prompts.fileAnswers << unwritable << unwritable << desk.file("b.tlc", classOfSize(3));
        QVERIFY(!desk.entry.close());
        QVERIFY(desk.entry.isVisible());
        desk.act("mnuOpenClass")->trigger();
        QCOMPARE(desk.prompts.count(Kind::Open), 1);
        QCOMPARE(desk.ws.studentCount(), 10);
        QCOMPARE(desk.prompts.messages().size(), 3);
        QVERIFY(desk.btn("cmdSave")->isEnabled());
    }

    // Qt's own Save dialog, as the teacher meets it: the proposed name has no
    // extension, and the question is asked for the name written, with ".tlc".
    void realSaveDialogAsksBeforeReplacingTheSuffixedFile() {
        TempSchool school;
        const QString existing = school.write("home/MPM2D101.tlc", "marked class\r\n");
        const FileRequest request{school.homeFolder(), "MPM2D101",
                                  "Tallyleaf Classes (*.tlc)|*.tlc", true};
        auto pressSave = []() {
            whenModal<QFileDialog>([](QFileDialog* dialog) {
                QTest::keyClick(dialog->findChild<QLineEdit*>("fileNameEdit"), Qt::Key_Return);
            });
        };
        for (const bool replace : {false, true}) {
            QString asked;
            pressSave();
            whenModal<QMessageBox>([&asked, replace](QMessageBox* box) {
                asked = box->text();
                box->button(replace ? QMessageBox::Yes : QMessageBox::No)->click();
                if (!replace) whenModal<QFileDialog>([](QFileDialog* d) { d->reject(); });
            });
            QtPrompts prompts;
            const QString chosen = prompts.saveFile(request);
            QVERIFY2(asked.contains("MPM2D101.tlc already exists"), qPrintable(asked));
            QCOMPARE(chosen, replace ? existing : QString());
        }
        // A new name gets the extension without a question.
        pressSave();
        QtPrompts prompts;
        const FileRequest fresh{school.homeFolder(), "term2", request.filter, true};
        QCOMPARE(prompts.saveFile(fresh), school.homeFolder() + "/term2.tlc");
    }

    void classReport() {
        // Free-form texts whose rest beyond the panel is 149 and 99 characters.
        auto words = [](int from, int to) {
            QStringList list;
            for (int i = from; i <= to; ++i)
                list << QString("w%1").arg(i, 3, 10, QChar('0'));
            return list.join(' ');
        };
        const QByteArray bytes = classLine("ENG2D1-02", "Whitlock", "Rosa", "111222333", "80") +
                                 classLine("ENG2D1-01", "Abara", "Chidi", "222333444", "75",
                                           "0001,,,,", kG6, "Y,False,", "1,Y,") +
                                 classLine("ENG2D1-01", "Marchetti", "Gia", "333444555", "66",
                                           ",,,,", kG6, "0,True," + words(1, 90).toLatin1()) +
                                 classLine("ENG2D1-02", "Farrow", "Ewan", "444555666", "59", ",,,,",
                                           kG6, "0,True," + words(1, 80).toLatin1());
        Desk desk;
        desk.open(desk.file("eng.tlc", bytes));
        desk.act("mnuSortNames")->trigger();  // Abara, Farrow, Marchetti, Whitlock
        desk.grid()->setCurrentCell(3, 3);
        const QStringList shown = panel(desk.entry);

        // Cancel in the Print dialog prints nothing and leaves the panel.
        desk.prompts.printAnswers << false << true << true;
        desk.act("mnuPrint")->trigger();
        QVERIFY(desk.prompts.count(Kind::Print) == 1 && !desk.prompts.lastPrint);
        QCOMPARE(panel(desk.entry), shown);

        desk.btn("cmdPrint")->click();
        QVERIFY(desk.prompts.lastPrint);
        const PrintRecord record = *desk.prompts.lastPrint;
        const QStringList lines = printed(record);
        QVERIFY(record.landscape && record.ended && record.pages == 1);
        auto block = [&desk](int i, bool course) {
            const StudentRecord& s = desk.ws.students[i];
            return listOf(
                studentReportLines(s, buildDetailLines(s, desk.ws.phrases, course), course));
        };
        // Each change of section starts with its code line.
        QCOMPARE(lines.mid(4), QStringList{"ENG2D1-01"} + block(0, false) +
                                   QStringList{"ENG2D1-02"} + block(1, false) +
                                   QStringList{"ENG2D1-01"} + block(2, false) +
                                   QStringList{"ENG2D1-02"} + block(3, false));
        QVERIFY(lines[2].startsWith("Tallyleaf v3.3 Growing Success ~ Class Report ~ "));
        QCOMPARE(lines[0] + lines[1] + lines[3], QString());
        QCOMPARE(record.lines.back().font + QString::number(record.lines.back().size),
                 QString("Courier New9"));

        // Text beyond the panel goes 72 characters a line under the labels.
        const QString rest3 = words(61, 90);
        const QString i25(25, ' ');
        const qsizetype marchetti = blockOf(lines, "333444555");
        QVERIFY(marchetti > 4);
        QCOMPARE(
            lines.mid(marchetti + 4, 3),
            (QStringList{i25 + rest3.left(72), i25 + rest3.mid(72, 72), i25 + rest3.mid(144)}));
        // The panel shows the first student again.
        QCOMPARE(panel(desk.entry), expectedPanel(desk.ws, 0, false));

        desk.act("mnuShowCourse")->trigger();
        desk.btn("cmdPrint")->click();
        const QStringList wide = printed(*desk.prompts.lastPrint);
        QCOMPARE(wide.mid(4, 1 + block(0, true).size()), QStringList{"ENG2D1-01"} + block(0, true));
        QCOMPARE(wide[blockOf(wide, "333444555") + 4], QString(32, ' ') + rest3.left(72));
        QCOMPARE(desk.prompts.messages(), QStringList());
    }

    void classReportBreaksPagesByCountingLines() {
        Desk desk;
        desk.open(
            desk.file("chc.tlc", classOfSize(10, "CHC2D1-01") + classOfSize(15, "CHC2D1-02")));
        desk.prompts.printAnswers << true;
        desk.btn("cmdPrint")->click();
        const PrintRecord& record = *desk.prompts.lastPrint;
        QCOMPARE(record.pages, 3);
        QCOMPARE(record.overflowBreaks, 0);
        // Page 1 counts from 3: a code line and ten blocks of five lines reach 54.
        // Page 2 counts from 2: its code line and ten blocks reach exactly 53, so
        // an eleventh block still fits; page 3 takes the rest.
        QList<QStringList> pages(4);
        QString pageOf;
        for (const auto& line : record.lines) {
            pages[line.page] << line.text;
            if (line.text.startsWith("   4000000")) pageOf += QString::number(line.page);
        }
        QCOMPARE(pageOf, QString(10, '1') + QString(11, '2') + QString(4, '3'));
        QCOMPARE(pages[2].mid(0, 3), (QStringList{"", "", "CHC2D1-02"}));
        QCOMPARE(pages[3].mid(0, 2), (QStringList{"", ""}));
        QCOMPARE(pages[2].size() + pages[3].size(), 3 + 11 * 5 + 2 + 4 * 5);
    }

    void aboutWindowOpensBesideTheMainWindow() {
        Desk desk;
        // Help opens a window beside the main one; its button closes it.
        desk.act("mnuhelp")->trigger();
        QPointer<frmHelp> help = desk.entry.findChild<frmHelp*>();
        QVERIFY(help && help->isVisible() && QApplication::activeModalWidget() == nullptr);
        const QStringList lines = control<QPlainTextEdit>(help, "Text1")->toPlainText().split('\n');
        QCOMPARE(lines.size() - (lines.last().isEmpty() ? 1 : 0), 12);
        QCOMPARE(lines.mid(0, 2), (QStringList{"Tallyleaf", "Version 3.3 Growing Success"}));
        help->findChild<QPushButton*>("Command1")->click();
        QTRY_VERIFY(help.isNull());
        QVERIFY(desk.entry.isVisible());
    }
};

QTEST_MAIN(EntryClassTest)
#include "tst_entry_class.moc"
