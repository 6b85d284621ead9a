// SPDX-License-Identifier: GPL-3.0-or-later

// The main window with a class open: the grid and detail panel, the class
// commands and their prompts, undo, sorting and the class report.

#include "core/messages.h"
#include "core/sorting.h"
#include "entry/class_report.h"
#include "ui/ui_support.h"

using namespace tl;
using namespace tl::test;

namespace {

// Student 0 has flags, comments and rated skills; the rest alternate
// between two sections, in the order of their names.
QByteArray classOf10() {
    QByteArray bytes = classLine("ENG2D1-01", "Lindqvist", "Maren", "123456789", "78",
                                 "0002,0011,,,", "G,E,S,G,N,0", "Y,False,");
    for (int i = 1; i < 10; ++i)
        bytes += classLine(i % 2 ? "ENG2D1-02" : "ENG2D1-01", "Pupil" + QByteArray::number(100 + i),
                           "Sam", QByteArray::number(300000000 + i), QByteArray::number(50 + i));
    return bytes;
}

// What was asked since the last call, in order: "?title" for a question,
// "open" or "save" and the folder it starts in (below the school), and for a
// save the name proposed, for a file dialog, "!" for a message.
QStringList takeAsked(Desk& desk) {
    QStringList list;
    for (const auto& a : std::exchange(desk.prompts.asked, {})) {
        const QString folder = a.request.initialFolder.mid(desk.school.root().size() + 1);
        list << (a.kind == Kind::YesNo     ? "?" + a.title
                 : a.kind == Kind::Message ? "!"
                 : a.kind == Kind::Open    ? "open " + folder
                                           : "save " + folder + " " + a.request.fileName);
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
        FlexGrid* grid = desk.grid();
        // Ready for the first mark: the grid has the keyboard at the first MRK cell.
        QCOMPARE(desk.ctl("lblClassSize")->text() + desk.ctl("lblCourse")->text(),
                 QString("10 StudentsENG2D1-01"));
        QVERIFY(grid->hasFocus() && grid->row() == 1 && grid->col() == 3);
        // A refused file is reported and the open class stays.
        desk.open(desk.file("short.tlc", "ENG2D1-01,Short,Line,1,2,3\r\n"));
        QVERIFY(shownCodes(desk.prompts) == QStringList{"TL8:"} && desk.ws.studentCount() == 10);

        // Each sort (Save sorts by name) reorders the class and forgets the
        // undo; the grid and the panel show the records, with or without the
        // course column. Save writes the class as it was read.
        using Sort = void (*)(std::vector<StudentRecord>&);
        const std::tuple<const char*, Sort, bool> sorts[] = {{"mnuSortMarks", sortByMark, false},
                                                             {"mnuShowCourse", nullptr, true},
                                                             {"mnuSortCourse", sortByClass, true},
                                                             {"mnuShowCourse", nullptr, false},
                                                             {"mnuSave", sortByName, false}};
        desk.prompts.fileAnswers << desk.home("saved.tlc");
        for (const auto& [command, sort, course] : sorts) {
            clickCell(grid, 1, 4);  // an edit to be forgotten
            auto expected = desk.ws.students();
            if (sort != nullptr) sort(expected);
            desk.act(command)->trigger();
            QVERIFY2(desk.ws.students() == expected &&
                         shownRows(grid) == recordRows(desk.ws, course) &&
                         panel(desk.entry) == expectedPanel(desk.ws, 0, course) &&
                         desk.act("mnuSortCourse")->isVisible() == course &&
                         desk.btn("cmdUndo")->isEnabled() == (sort == nullptr),
                     command);
        }
        QCOMPARE(contents(desk.home("saved.tlc")), classOf10());
    }

    void panelWithoutAClassAndLengthWarning() {
        // Five phrases of 100 characters compose to more than 460.
        Desk desk("Code,Comment,Category\r\n0001," + QByteArray("tidy ").repeated(20) + ",1\r\n");
        // Without a class the panel does nothing: a free-form dialog, were one
        // opened, would be found and closed by the timer.
        bool opened = false;
        QTimer::singleShot(200, &desk.entry, [&opened] {
            QWidget* modal = QApplication::activeModalWidget();
            opened = modal != nullptr;
            if (modal) modal->close();
        });
        QTest::mouseClick(desk.ctl("lblFreeFormComment"), Qt::LeftButton);
        QTest::qWait(300);
        QVERIFY(!opened);
        // With one, the warning comes each time the long student is entered.
        desk.open(desk.file("long.tlc", classLine("ENG3U1-01", "Abara", "Chidi", "1", "70") +
                                            classLine("ENG3U1-01", "Bello", "Ada", "2", "71",
                                                      "0001,0001,0001,0001,0001")));
        for (int row : {2, 1, 2})
            desk.grid()->setCurrentCell(row, 3);
        QCOMPARE(desk.prompts.messages(),
                 QStringList(2, toQString(msg::tl8aCommentTooLong().text)));
    }

    void classCommandsAskToSaveOnlyAClass() {
        // A class open (c) or not (-), a command ("frame": the window's close
        // box), the answers to the question (y or n) and the file dialogs (a
        // name below home, or cancel); then what was asked, the students shown
        // or "closed", the class files in home, and "picker" while the class
        // picker is open. Yes saves where the class came from, under its code;
        // a failed save or a cancelled Save dialog stops the command. Class
        // dialogs start at home until a class file is chosen, the favourites
        // dialog at home.
        for (const QString row :
             {"- cmdNew  => ! | 0 |  | picker",  // the picker's own questions
              "- cmdOpen cancel => open home | 0 | ", "- mnuExit  =>  | closed | ",
              "c cmdNew n => ?Load New Trillium Class, ! | 10 |  | picker",
              "c mnuOpenClass y,kept,cancel => ?Open New Class, save classes ENG2D101, "
              "open home | 10 | kept.tlc",
              "c mnuOpenClass y,gone/eng => ?Open New Class, save classes ENG2D101, ! | 10 | ",
              "c mnuNewTrillium y,cancel => ?Load New Trillium Class, save classes ENG2D101 | "
              "10 | ",
              "c mnuOpenFavourites cancel => open home | 10 | ",
              "c mnuExit n => ?Exit Tallyleaf | closed | ",
              "c mnuExit y,cancel => ?Exit Tallyleaf, save classes ENG2D101 | 10 | ",
              "c frame y,term1 => ?Exit Tallyleaf, save classes ENG2D101 | closed | term1.tlc",
              "c frame y,gone/term1 => ?Exit Tallyleaf, save classes ENG2D101, ! | 10 | "}) {
            const QStringList given = row.section(" => ", 0, 0).split(' ');
            Desk desk;
            if (given[0] == "c") desk.open(desk.school.write("classes/eng.tlc", classOf10()));
            takeAsked(desk);
            for (const QString& a : given[2].split(',', Qt::SkipEmptyParts))
                if (a == "y" || a == "n")
                    desk.prompts.yesNoAnswers << (a == "y");
                else
                    desk.prompts.fileAnswers << (a == "cancel" ? "" : desk.home(a));
            if (auto* button = desk.entry.findChild<QAbstractButton*>(given[1]))
                button->click();
            else
                given[1] == "frame" ? (void)desk.entry.close()
                                    : desk.act(qPrintable(given[1]))->trigger();
            for (const auto& a : desk.prompts.asked)
                QVERIFY(a.kind != Kind::YesNo ||
                        a.text == (a.title == "Exit Tallyleaf"
                                       ? "Do you want to save the class?"
                                       : "Do you want to save the current class?"));
            const bool picker = desk.entry.findChild<QWidget*>("frmGetTrilliumfile") != nullptr;
            QCOMPARE(
                takeAsked(desk).join(", ") + " | " +
                    (desk.entry.isVisible() ? QString::number(desk.ws.studentCount()) : "closed") +
                    " | " + QDir(desk.school.homeFolder()).entryList({"*.tlc"}).join(' ') +
                    (picker ? " | picker" : ""),
                row.section(" => ", 1));
        }
    }

    // Qt's own Save dialog, as the teacher meets it: the proposed name has no
    // extension, and the question is asked for the name written, with ".tlc";
    // a new name gets the extension without a question.
    void realSaveDialogAsksBeforeReplacingTheSuffixedFile() {
        TempSchool school;
        school.write("home/MPM2D101.tlc", "marked class\r\n");
        for (const auto& [answer, expected] : {std::pair<QString, QString>{"No", "asked "},
                                               {"Yes", "asked /home/MPM2D101.tlc"},
                                               {"new", "none /home/term2.tlc"}}) {
            QString asked = "none";
            whenModal<QFileDialog>([](QFileDialog* dialog) {
                QTest::keyClick(dialog->findChild<QLineEdit*>("fileNameEdit"), Qt::Key_Return);
            });
            if (answer != "new")
                whenModal<QMessageBox>([&asked, answer](QMessageBox* box) {
                    asked = box->text().contains("MPM2D101.tlc already exists") ? "asked" : "";
                    box->button(answer == "Yes" ? QMessageBox::Yes : QMessageBox::No)->click();
                    if (answer == "No") whenModal<QFileDialog>([](QFileDialog* d) { d->reject(); });
                });
            QtPrompts prompts;
            const QString chosen =
                prompts.saveFile({school.homeFolder(), answer == "new" ? "term2" : "MPM2D101",
                                  "Tallyleaf Classes (*.tlc)|*.tlc", true});
            QCOMPARE(asked + " " + chosen.mid(school.root().size()), expected);
        }
    }

    void classReportPrintsTheReportPages() {
        Desk desk;
        desk.open(
            desk.file("chc.tlc", classOfSize(10, "CHC2D1-01") + classOfSize(15, "CHC2D1-02")));
        desk.grid()->setCurrentCell(3, 3);
        // Cancel in the Print dialog prints nothing.
        desk.prompts.printAnswers << false << true;
        desk.run("mnuPrint");
        QVERIFY(desk.prompts.count(Kind::Print) == 1 && !desk.prompts.lastPrint);

        // The heading, then the report's pages with the course column shown;
        // the panel shows the first student again.
        desk.act("mnuShowCourse")->trigger();
        desk.btn("cmdPrint")->click();
        const PrintRecord& record = *desk.prompts.lastPrint;
        QStringList printed, expected(3, "1|");  // the heading without its date
        for (const auto& line : record.lines)
            printed << QString::number(line.page) + "|" + line.text;
        const auto pages = classReportPages(desk.ws.students(), desk.ws.phrases, true);
        for (std::size_t p = 0; p < pages.size(); ++p)
            for (const ReportBlock& block : pages[p])
                for (const std::string& line : block.lines)
                    expected << QString::number(p + 1) + "|" + toQString(line);
        QVERIFY(printed.takeAt(2).startsWith("1|Tallyleaf v3.3 Growing Success ~ Class Report ~ "));
        QCOMPARE(printed, expected);
        QVERIFY(record.landscape && record.ended && record.overflowBreaks == 0 &&
                record.lines.back().font == "Courier New" && record.lines.back().size == 9);
        QCOMPARE(panel(desk.entry), expectedPanel(desk.ws, 0, true));
    }
};

QTEST_MAIN(EntryClassTest)
#include "tst_entry_class.moc"
