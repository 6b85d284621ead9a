// SPDX-License-Identifier: GPL-3.0-or-later

// File > Import Marks...: the readers on markbooks a spreadsheet program made
// and on hand-made edge cases, and the window from the menu to the undo, by
// the keyboard.

#include "import/frm_import_marks.h"
#include "import/markbook_readers.h"
#include "ui/ui_support.h"

using namespace tl;
using namespace tl::test;

namespace {

QString markbook(const QString& name) {
    return QString(TL_TEST_DATA "/markbook/") + name;
}

// A sheet as "row:cell|cell" lines; a number is written #, a percentage %.
QString sheetText(const MarkbookRead& read) {
    if (read.refusal != MarkbookRefusal::None)
        return "refused " + QString::number(static_cast<int>(read.refusal));
    QStringList rows;
    for (const MarkbookRow& row : read.sheet.rows) {
        QStringList cells;
        for (const MarkbookCell& cell : row.cells) {
            const char* kind = cell.kind == MarkbookCell::Kind::Number    ? "#"
                               : cell.kind == MarkbookCell::Kind::Percent ? "%"
                                                                          : "";
            cells << kind + toQString(cell.text);
        }
        rows << QString::number(row.number) + ":" + cells.join('|');
    }
    return rows.join('\n');
}

QString focusName() {
    QWidget* focus = QApplication::focusWidget();
    return focus != nullptr ? focus->objectName() : "nothing";
}

// The class of the markbooks' students, with the favourites' ranges 80-100
// and 50-79: Lee has a comment and a skill of her own.
struct ImportDesk : Desk {
    ImportDesk() : Desk({}, contents(TL_TEST_DATA "/accessibility/favourites.tlf")) {
        open(file("class.tlc", classLine("ENG2D1-01", "Tremblay", "Tess", "300039595", "72") +
                                   classLine("ENG2D1-01", "Roy", "\xC9lodie", "300039596", "") +
                                   classLine("ENG2D1-01", "O'Neil", "Sam", "300039597", "79") +
                                   classLine("ENG2D1-01", "Lee", "Kim", "300039598", "60",
                                             "0012,,,,", "G,G,G,G,G,E") +
                                   classLine("ENG2D1-01", "Nguyen", "An", "300039599", "") +
                                   classLine("ENG2D1-01", "Singh", "Ravi", "300039600", "55")));
    }
    // Imports from the markbook; act does what the teacher does in the window
    // (nothing: the markbook is refused before it opens).
    void importFrom(const QString& path, const std::function<void(frmImportMarks*)>& act = {}) {
        prompts.fileAnswers << path;
        // A window that a failed check left open is closed, so that the test goes on.
        if (act) {
            whenModal<frmImportMarks>([act](frmImportMarks* w) {
                act(w);
                if (w->isVisible()) w->reject();
            });
        }
        run("mnuImportMarks");
    }
    QStringList marks() const {
        return collect(ws.studentCount(),
                       [this](int i) { return toQString(ws.students()[i].mark); });
    }
};

}  // namespace

class ImportMarksTest : public QObject {
    Q_OBJECT
  private slots:
    void readersGiveTheFirstSheetOfEachFormat() {
        const QString calc = sheetText(readMarkbookFile(markbook("markbook.xlsx")));
        QCOMPARE(calc.section('\n', 2, 3), QString("3:300-039-595|Tremblay, Tess|#70|#81|%0.785\n"
                                                   "4:#300039596|Roy, \u00c9lodie|#88|#90|%0.894"));
        QCOMPARE(sheetText(readMarkbookFile(markbook("markbook.ods"))), calc);
        QCOMPARE(sheetText(readMarkbookFile(markbook("bom-quotes.csv"))),
                 QString("1:Student No|Last Name|First Name|Note|Mark\n"
                         "2:300039595|Tremblay|Tess|Said \"hi\", then left| 78.5\n"
                         "3:300039596|Roy|\u00c9lodie|two\r\nlines|89 %"));
        QCOMPARE(sheetText(readMarkbookFile(markbook("utf16-tabs.txt"))),
                 QString("1:Student ID|Surname|Final %\n2:300039595|Tr\u00e9mblay|81"));
        QCOMPARE(sheetText(readMarkbookFile(markbook("cp1252-semicolons.csv"))),
                 QString("1:Num\u00e9ro|Nom|Note\n2:300039595|Tremblay, Tess|78,5\n"
                         "3:300039596|Roy, \u00c9lodie|89,4 %"));
        QCOMPARE(sheetText(readMarkbookFile(markbook("parts.xlsx"))),
                 QString("1:Student ID|Surname||Final\n"
                         "2:#300039595|Tremblay ||%0.785|2024-03-15\n"
                         "3:#3.00039596E8\n"
                         "4:|#81.5|I|ABS|%0.7949|TRUE|#DIV/0!"));
        QCOMPARE(sheetText(readMarkbookFile(markbook("repeated.ods"))),
                 QString("1:Number|Last,  First|Mark\n"
                         "2:#300039595|%0.5|%0.5\n3:#300039595|%0.5|%0.5\n"
                         "7:two\nlines||#7.85E1"));
    }

    void readersRefuseWhatNoSpreadsheetHolds() {
        QStringList refused;
        for (const char* name :
             {"doctype.xlsx", "packed-tight.ods", "huge-part.ods", "encrypted.ods"})
            refused << sheetText(readMarkbookFile(markbook(name)));
        const auto refusal = [](MarkbookRefusal r) {
            return "refused " + QString::number(static_cast<int>(r));
        };
        QCOMPARE(refused,
                 (QStringList{
                     refusal(MarkbookRefusal::DocumentType), refusal(MarkbookRefusal::Compression),
                     refusal(MarkbookRefusal::PartTooLarge), refusal(MarkbookRefusal::Encrypted)}));
        // Cut short, a password's compound document, a text named .xlsx.
        const QByteArray xlsx = contents(markbook("markbook.xlsx"));
        QCOMPARE(readMarkbook(xlsx.left(xlsx.size() - 100), MarkbookFormat::Xlsx).refusal,
                 MarkbookRefusal::Damaged);
        QCOMPARE(readMarkbook(QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1") +
                                  QByteArray("E\0n\0c\0r\0y\0p\0t\0i\0o\0n\0I\0n\0f\0o\0", 28),
                              MarkbookFormat::Xlsx)
                     .refusal,
                 MarkbookRefusal::Encrypted);
        QCOMPARE(readMarkbook("Number,Mark\n1,2\n", MarkbookFormat::Ods).refusal,
                 MarkbookRefusal::Damaged);
        // A file over 20 MB is not read at all.
        QTemporaryDir dir;
        QFile big(dir.filePath("big.csv"));
        QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(kMarkbookMaxBytes + 1));
        big.close();
        QCOMPARE(readMarkbookFile(big.fileName()).refusal, MarkbookRefusal::TooLarge);
        QCOMPARE(readMarkbookFile(dir.filePath("none.csv")).refusal, MarkbookRefusal::Unreadable);
    }

    // The same markbook as XLSX, ODS and CSV: the same preview.
    void eachFormatGivesTheSamePreview() {
        ImportDesk desk;
        QStringList previews;
        for (const char* name : {"markbook.xlsx", "markbook.ods", "markbook.csv"}) {
            desk.importFrom(markbook(name), [&](frmImportMarks* w) {
                previews << items(control<QListWidget>(w, "lstImportPreview")).join('\n') + "\n" +
                                control<QLabel>(w, "lblImportSummary")->text();
                w->reject();
            });
        }
        QCOMPARE(previews.size(), 3);
        QCOMPARE(previews[0], QString("Tremblay Tess: 72 \u2192 79\n"
                                      "Roy \u00c9lodie: no mark \u2192 89\n"
                                      "O'Neil Sam: stays 79\n"
                                      "Lee Kim: name differs: Lee Kimberly\n"
                                      "Nguyen An: not a mark \"ABS\"\n"
                                      "Singh Ravi: not in the file\n"
                                      "not in the class: 300-123-456 Smith Ann\n"
                                      "2 marks will change, 1 stays the same, 1 student not in "
                                      "the file, 1 row not in the class, 1 cell not a mark, 1 "
                                      "name differs."));
        QCOMPARE(previews[1], previews[0]);
        QCOMPARE(previews[2], previews[0]);
        QCOMPARE(desk.marks().join(' '), QString("72  79 60  55"));
    }

    // By the keyboard alone: the columns, a ticked line, Enter on Import; the
    // auto fill as for a typed mark; one undo; the same file again; Escape.
    void importByTheKeyboardAndTakeItBackWithOneUndo() {
        ImportDesk desk;
        const int undos = desk.undos();
        QStringList tabs;
        QString markColumn, changedSummary;
        desk.importFrom(markbook("markbook.xlsx"), [&](frmImportMarks* w) {
            activate(w);
            for (int i = 0; i < 6; ++i) {
                tabs << focusName();
                pressKey(Qt::Key_Tab);
            }
            // Another mark column recomputes the preview; back to the final mark.
            auto* mark = control<QComboBox>(w, "cmbMarkColumn");
            markColumn = mark->currentText();
            mark->setFocus();
            pressKey(Qt::Key_Up);
            changedSummary = control<QLabel>(w, "lblImportSummary")->text();
            pressKey(Qt::Key_Down);
            // Lee's line ticked with Space, then Enter.
            control<QListWidget>(w, "lstImportPreview")->setFocus();
            for (int i = 0; i < 3; ++i)
                pressKey(Qt::Key_Down);
            pressKey(Qt::Key_Space);
            pressKey(Qt::Key_Return);
        });
        QCOMPARE(tabs.join(' '), QString("cmbNumberColumn cmbMarkColumn cmbNameColumn "
                                         "lstImportPreview cmdImport cmdCancel"));
        QCOMPARE(markColumn, QString("E: Final"));
        QCOMPARE(changedSummary, QString("3 marks will change, 0 stay the same, 1 student not in "
                                         "the file, 1 row not in the class, 1 cell not a mark, 1 "
                                         "name differs."));
        QCOMPARE(desk.marks().join(' '), QString("79 89 79 65  55"));
        QCOMPARE(desk.ctl("lblStatus")->text(), QString("3 marks imported from markbook.xlsx."));
        QCOMPARE(desk.undos(), undos + 1);
        QVERIFY(desk.ws.doc.hasUnsavedChanges());
        // Roy's empty comments and untouched skills filled in red; Lee's own kept.
        FlexGrid* grid = desk.grid();
        QCOMPARE(grid->textMatrix(2, 4) + grid->textMatrix(2, 9), QString("00014"));
        QCOMPARE(grid->cellForeColor(2, 4), QColor(Qt::red));
        QCOMPARE(grid->textMatrix(4, 4) + grid->textMatrix(4, 14), QString("00124"));
        QCOMPARE(focusName(), QString("msfgClass"));

        pressChord(Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(desk.marks().join(' '), QString("72  79 60  55"));
        QCOMPARE(desk.undos(), undos);
        QCOMPARE(grid->textMatrix(2, 4), QString());

        // Imported again and again: the second time nothing changes.
        QString again;
        for (int round = 0; round < 2; ++round) {
            desk.importFrom(markbook("markbook.xlsx"), [&](frmImportMarks* w) {
                again = control<QLabel>(w, "lblImportSummary")->text();
                press(w, "cmdImport");
            });
        }
        QVERIFY(again.startsWith("0 marks will change, 3 stay the same"));
        QCOMPARE(desk.undos(), undos + 1);
        QCOMPARE(desk.ctl("lblStatus")->text(), QString("0 marks imported from markbook.xlsx."));

        // Escape and the close box change nothing.
        const std::vector<StudentRecord> before = desk.ws.students();
        QStringList stillOpen;
        for (const bool escape : {true, false}) {
            desk.importFrom(markbook("markbook.csv"), [&](frmImportMarks* w) {
                activate(w);
                escape ? pressKey(Qt::Key_Escape) : void(w->close());
                if (w->isVisible()) stillOpen << (escape ? "Escape" : "close box");
            });
        }
        QCOMPARE(stillOpen, QStringList());
        QVERIFY(desk.ws.students() == before);
        QCOMPARE(desk.undos(), undos + 1);
        QCOMPARE(openWindow<frmImportMarks>("frmImportMarks"), nullptr);
    }

    void aRefusedMarkbookLeavesTheClass() {
        ImportDesk desk;
        const std::vector<StudentRecord> before = desk.ws.students();
        desk.importFrom(markbook("doctype.xlsx"));
        desk.importFrom(desk.file("other class.csv", "Number,Mark\n300039999,50\n"));
        QCOMPARE(desk.prompts.messages(),
                 (QStringList{"TL26: No marks were imported from doctype.xlsx: the file holds a "
                              "document type declaration, which no spreadsheet holds. The class "
                              "was not changed.",
                              "TL26: No marks were imported from other class.csv: no row of its "
                              "first sheet holds the student number of a student of this class. "
                              "The class was not changed."}));
        QVERIFY(desk.ws.students() == before);
        QVERIFY(!desk.ws.doc.hasUnsavedChanges());
    }
};

QTEST_MAIN(ImportMarksTest)
#include "tst_import_marks.moc"
