// The main window with a class open: the grid and detail panel, the class
// commands and their prompts, undo, sorting and the class report.

#include "core/messages.h"
#include "core/sorting.h"
#include "entry/class_report.h"
#include "ui/ui_support.h"

using namespace tl;
using namespace tl::test;

namespace {

// Student 0 has flags and rated skills, 1 a short number, 2 a free-form
// comment; the rest alternate between two sections.
QByteArray classOf10() {
    QByteArray bytes = classLine("ENG2D1-01", "Lindqvist", "Maren", "123456789", "78",
                                 "0002,0011,,,", "G,E,S,G,N,0", "Y,False,") +
                       classLine("ENG2D1-01", "Okafor", "Tunde", "12345", "64") +
                       classLine("ENG2D1-02", "Vasquez", "Lio", "234567891", "91", "0001,0003,,,",
                                 "G,G,G,G,G,G", "0,True,Lio keeps a careful lab journal.");
    for (int i = 3; i < 10; ++i)
        bytes += classLine(i % 2 ? "ENG2D1-02" : "ENG2D1-01", "Pupil" + QByteArray::number(100 + i),
                           "Sam", QByteArray::number(300000000 + i), QByteArray::number(50 + i));
    return bytes;
}

// What was asked since the last call, in order: "?text|title" for a question,
// "open" or "save" and the folder it starts in (below the school) for a file
// dialog, "!" for a message.
QStringList takeAsked(Desk& desk) {
    QStringList list;
    for (const auto& a : std::exchange(desk.prompts.asked, {})) {
        const QString folder = a.request.initialFolder.mid(desk.school.root().size() + 1);
        list << (a.kind == Kind::YesNo     ? "?" + a.text + "|" + a.title
                 : a.kind == Kind::Message ? "!"
                                           : (a.kind == Kind::Open ? "open " : "save ") + folder);
    }
    return list;
}

}  // namespace

class EntryClassTest : public QObject {
    Q_OBJECT
  private slots:
    void openedClassShowsSortsAndSaves() {
        Desk desk;
        desk.open(desk.file("eng.tlc", classOf10()));
        QVERIFY(desk.loaded && desk.prompts.messages().isEmpty());
        FlexGrid* grid = desk.grid();
        QCOMPARE(desk.ctl("lblClassSize")->text() + desk.ctl("lblCourse")->text(),
                 QString("10 StudentsENG2D1-01"));
        QVERIFY(desk.act("mnuSortMarks")->isEnabled() && desk.act("mnuExport")->isEnabled() &&
                desk.btn("cmdSave")->isEnabled() && !desk.btn("cmdUndo")->isEnabled());
        // Ready for the first mark: the grid has the keyboard at the first MRK cell.
        QVERIFY(grid->hasFocus() && grid->row() == 1 && grid->col() == 3);

        // The grid and the panel show the records, with and without the course column.
        for (const bool course : {false, true, false}) {
            if (desk.act("mnuShowCourse")->isChecked() != course)
                desk.act("mnuShowCourse")->trigger();
            QCOMPARE(shownRows(grid), recordRows(desk.ws, course));
            QCOMPARE(panel(desk.entry), expectedPanel(desk.ws, 0, course));
            QCOMPARE(desk.act("mnuSortCourse")->isVisible(), course);
        }

        // A refused file is reported and the open class stays.
        const auto records = desk.ws.students;
        desk.open(desk.file("short.tlc", "ENG2D1-01,Short,Line,1,2,3\r\n"));
        QCOMPARE(shownCodes(desk.prompts), QStringList{"TL8:"});
        QVERIFY(desk.ws.students == records && shownRows(grid) == recordRows(desk.ws, false));

        // The sorts reorder the class, redraw it and forget the undo.
        desk.act("mnuShowCourse")->trigger();
        using Sort = void (*)(std::vector<StudentRecord>&);
        const std::pair<const char*, Sort> sorts[] = {{"mnuSortMarks", sortByMark},
                                                      {"mnuSortNames", sortByName},
                                                      {"mnuSortCourse", sortByClass}};
        for (const auto& [command, sort] : sorts) {
            clickCell(grid, 1, 4);  // an edit to be forgotten
            auto expected = desk.ws.students;
            sort(expected);
            desk.act(command)->trigger();
            QVERIFY2(desk.ws.students == expected, command);
            QCOMPARE(shownRows(grid), recordRows(desk.ws, true));
            QVERIFY(desk.undos() == 0 && !desk.btn("cmdUndo")->isEnabled());
        }

        // Save sorts by name and writes the class as it was read.
        clickCell(grid, 1, 4);
        desk.prompts.fileAnswers << desk.home("saved.tlc");
        desk.act("mnuSave")->trigger();
        QCOMPARE(desk.prompts.asked.last().request.fileName, QString("ENG2D101"));
        QList<QByteArray> lines = classOf10().split('\n');  // Lindqvist, Okafor, Vasquez, Pupils
        lines.move(2, 9);
        QCOMPARE(contents(desk.home("saved.tlc")), lines.join('\n'));
        QCOMPARE(shownRows(grid), recordRows(desk.ws, true));
        QVERIFY(desk.undos() == 0 && !desk.btn("cmdUndo")->isEnabled());
    }

    void lengthWarningOnEnteringALongStudent() {
        // Five phrases of 100 characters compose to more than 460.
        Desk desk("Code,Comment,Category\r\n0001," + QByteArray("tidy ").repeated(20) + ",1\r\n");
        desk.open(desk.file("long.tlc", classLine("ENG3U1-01", "Abara", "Chidi", "1", "70") +
                                            classLine("ENG3U1-01", "Bello", "Ada", "2", "71",
                                                      "0001,0001,0001,0001,0001")));
        // Each time the student is entered.
        for (int row : {2, 1, 2})
            desk.grid()->setCurrentCell(row, 3);
        QCOMPARE(desk.prompts.messages(),
                 QStringList(2, toQString(msg::tl8aCommentTooLong().text)));
    }

    void newAndOpenAskToSaveOnlyAClass() {
        Desk desk;
        // The class picker that New opens asks its own questions, none about saving;
        // class dialogs start at home until a class file is chosen.
        desk.btn("cmdNew")->click();
        desk.prompts.fileAnswers << "";
        desk.btn("cmdOpen")->click();
        QCOMPARE(takeAsked(desk).filter(QRegularExpression("^[^!]")), QStringList{"open home"});
        desk.open(desk.school.write("classes/eng.tlc", classOf10()));
        takeAsked(desk);
        desk.prompts.yesNoAnswers << false;
        desk.btn("cmdNew")->click();
        QCOMPARE(takeAsked(desk),
                 QStringList{"?Do you want to save the current class?|Load New Trillium Class"});

        // Yes saves, where the class came from, before the Open dialog; cancelling
        // that dialog keeps the class.
        desk.prompts.yesNoAnswers << true;
        desk.prompts.fileAnswers << desk.home("kept") << "";
        desk.act("mnuOpenClass")->trigger();
        const QString question = "?Do you want to save the current class?|Open New Class";
        QCOMPARE(takeAsked(desk), (QStringList{question, "save classes", "open home"}));
        QCOMPARE(desk.ws.studentCount(), 10);

        // A name typed without an extension got ".tlc"; opening the class forgets its undo.
        clickCell(desk.grid(), 4, 4);
        desk.open(desk.home("kept.tlc"));
        QVERIFY(desk.ws.studentCount() == 10 && desk.undos() == 0 &&
                !desk.act("mnuUndo")->isEnabled());

        // A save that fails keeps the class open, and stops the Open that offered it.
        // The favourites dialog starts at home.
        takeAsked(desk);
        const QString unwritable = desk.school.root() + "/gone/eng.tlc";
        desk.prompts.yesNoAnswers << true;
        desk.prompts.fileAnswers << unwritable << unwritable << "";
        desk.btn("cmdSave")->click();
        desk.act("mnuOpenClass")->trigger();
        desk.act("mnuOpenFavourites")->trigger();
        QCOMPARE(shownCodes(desk.prompts), (QStringList{"TL19:", "TL19:"}));
        QCOMPARE(takeAsked(desk),
                 (QStringList{"save home", "!", question, "save gone", "!", "open home"}));
        QVERIFY(desk.ws.studentCount() == 10 && desk.grid()->rows() == 11 &&
                desk.btn("cmdSave")->isEnabled());
    }

    void exitOffersToSaveUnderTheClassCode() {
        // A class saved by Exit or the window frame is proposed under its code; a
        // save that fails or a cancelled Save dialog keeps the program open with the class.
        for (const QString answer : {"no class", "no", "", "term1", "gone/term1"}) {
            Desk desk;
            if (answer != "no class") desk.open(desk.file("eng.tlc", classOf10()));
            takeAsked(desk);
            desk.prompts.yesNoAnswers << !answer.startsWith("no");
            desk.prompts.fileAnswers << (answer.isEmpty() ? "" : desk.home(answer));
            if (answer.endsWith("term1")) {
                QCOMPARE(desk.entry.close(), !answer.contains('/'));  // by the window frame
            } else {
                desk.act("mnuExit")->trigger();
            }
            const QStringList asked{"?Do you want to save the class?|Exit Tallyleaf", "save home",
                                    "!"};
            const int count = answer == "no class" ? 0 : answer == "no" ? 1 : 2;
            if (count == 2) QCOMPARE(desk.prompts.asked[1].request.fileName, QString("ENG2D101"));
            QCOMPARE(takeAsked(desk), asked.mid(0, count + answer.contains('/')));
            QCOMPARE(QFile::exists(desk.home("term1.tlc")), answer == "term1");
            QCOMPARE(desk.entry.isVisible(), answer.isEmpty() || answer.contains('/'));
        }
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

    void classReportPrintsTheReportPages() {
        Desk desk;
        desk.open(
            desk.file("chc.tlc", classOfSize(10, "CHC2D1-01") + classOfSize(15, "CHC2D1-02")));
        desk.grid()->setCurrentCell(3, 3);
        // Cancel in the Print dialog prints nothing.
        desk.prompts.printAnswers << false << true << true;
        desk.run("mnuPrint");
        QVERIFY(desk.prompts.count(Kind::Print) == 1 && !desk.prompts.lastPrint);

        // The heading, then the report's pages as the page counting gives them,
        // with or without the course column.
        for (const bool course : {false, true}) {
            if (course) desk.act("mnuShowCourse")->trigger();
            desk.btn("cmdPrint")->click();
            const PrintRecord& record = *desk.prompts.lastPrint;
            QStringList printed, expected;
            for (const auto& line : record.lines)
                printed << QString::number(line.page) + "|" + line.text;
            const auto pages = classReportPages(desk.ws.students, desk.ws.phrases, course);
            for (std::size_t p = 0; p < pages.size(); ++p) {
                for (const ReportBlock& block : pages[p])
                    for (const std::string& line : block.lines)
                        expected << QString::number(p + 1) + "|" + toQString(line);
            }
            QVERIFY(printed[2].startsWith("1|Tallyleaf v3.3 Growing Success ~ Class Report ~ "));
            printed[2] = "1|";
            QCOMPARE(printed, QStringList(4, "1|") + expected);
            QVERIFY(record.landscape && record.ended && record.overflowBreaks == 0 &&
                    record.lines.back().font == "Courier New" && record.lines.back().size == 9);
            // The panel shows the first student again.
            QCOMPARE(panel(desk.entry), expectedPanel(desk.ws, 0, course));
        }
    }

    void withoutAClassThePanelDoesNothing() {
        Desk desk;
        // A free-form dialog, were one opened, would clear the draft; the timer closes it.
        desk.ws.freeFormDraft = "untouched";
        QTimer::singleShot(200, &desk.entry, [] {
            if (QWidget* modal = QApplication::activeModalWidget()) modal->close();
        });
        QTest::mouseClick(desk.ctl("lblFreeFormComment"), Qt::LeftButton);
        QCOMPARE(desk.ws.freeFormDraft, std::string("untouched"));
    }
};

QTEST_MAIN(EntryClassTest)
#include "tst_entry_class.moc"
