// SPDX-License-Identifier: GPL-3.0-or-later

// The real text printer writing PDF files: a complete printout gives a whole
// PDF with lines too wide continued, and a printout that fails or is abandoned
// part-way leaves no file and the earlier one as it was.

#include <signal.h>
#include <sys/resource.h>

#include <QPrinter>
#include <ctime>

#include "platform/fonts.h"
#include "platform/text_printer.h"
#include "selection/favourites_printout.h"
#include "ui/ui_support.h"

using namespace tl;
using namespace tl::test;

namespace {

// The real printer on a PDF file on A4.
std::unique_ptr<QPrinter> pdfFile(const QString& path) {
    auto pdf = std::make_unique<QPrinter>(QPrinter::HighResolution);
    pdf->setOutputFormat(QPrinter::PdfFormat);
    pdf->setOutputFileName(path);
    pdf->setPageSize(QPageSize(QPageSize::A4));
    return pdf;
}

}  // namespace

class PrintingTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { installFontSubstitutes(); }

    void aPrintoutIsWrittenWholeOrNotAtAll() {
        // Favourites and ranges with a phrase far wider than its 75-wide column.
        Workspace ws;
        ws.phrases = {{"0012", "@ works hard.", ""},
                      {"0020",
                       "@ takes the lead in every group task and helps others to finish their "
                       "share of the work on time and with care for the result of the whole team.",
                       ""}};
        ws.favourites = {"0012", "    ", "0020"};
        std::vector<InitialValueRange> ranges = defaultRanges();
        ranges[1].codes = {"0020", "0020", "0012"};
        ws.doc.replaceRanges(ranges);
        const auto lines = favouritesPrintout(ws, std::tm{});
        TempSchool dir;
        const QString path = dir.homeFolder() + "/printout.pdf";
        QtTextPrinter(pdfFile(path)).printLine("Abernathy Abigail");  // abandoned: no file
        QVERIFY(QDir(dir.homeFolder()).isEmpty());
        QtTextPrinter printer(pdfFile(path));
        QVERIFY(printLines(printer, lines));
        const QByteArray pdf = contents(path);
        QVERIFY(pdf.startsWith("%PDF-") && pdf.trimmed().endsWith("%%EOF"));
        QCOMPARE(pdf.count("/Type /Page\n"), qsizetype(printer.layout().pages().size()));

        QString printed;
        for (const PlacedPage& page : printer.layout().pages())
            for (const PlacedLine& line : page)
                printed += line.text + "\n";
        // A line too wide goes on after 11 blanks for a range, under its
        // code column, and as many as its code and one for an entry.
        const auto multiline = QRegularExpression::MultilineOption;
        QVERIFY(
            printed.contains(QRegularExpression("^ {11}\\S.*team\\. Learning Skills$", multiline)));
        QVERIFY(printed.contains(QRegularExpression("^ {5}\\S.*team\\. ?$", multiline)));

        // A folder that is missing, and a disk that fills half-way through the
        // file: the earlier printout stays as it was, and nothing else is left.
        dir.write("home/printout.pdf", "an earlier printout");
        QtTextPrinter lost(pdfFile(dir.homeFolder() + "/gone/printout.pdf"));
        QVERIFY(!printLines(lost, lines));
        QtTextPrinter full(pdfFile(path));
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        const rlimit previous = limit;
        limit.rlim_cur = static_cast<rlim_t>(pdf.size() / 2);
        auto* previousHandler = signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &limit);
        const bool written = printLines(full, lines);
        setrlimit(RLIMIT_FSIZE, &previous);
        signal(SIGXFSZ, previousHandler);
        QVERIFY(!written);
        QCOMPARE(QDir(dir.homeFolder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{"printout.pdf"});
        QCOMPARE(contents(path), QByteArray("an earlier printout"));
    }
};

QTEST_MAIN(PrintingTest)
#include "tst_printing.moc"
