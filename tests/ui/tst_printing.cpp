// The real text printer writing PDF files: a complete printout gives a whole
// PDF, a printout that fails or is abandoned part-way leaves no file, and
// every printout keeps its margins on A4 and Letter.

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

// The real printer on a PDF file on that paper.
std::unique_ptr<QtTextPrinter> pdfPrinter(const QString& path,
                                          QPageSize::PageSizeId paper = QPageSize::A4) {
    auto pdf = std::make_unique<QPrinter>(QPrinter::HighResolution);
    pdf->setOutputFormat(QPrinter::PdfFormat);
    pdf->setOutputFileName(path);
    pdf->setPageSize(QPageSize(paper));
    return std::make_unique<QtTextPrinter>(std::move(pdf));
}

// Three landscape pages of twenty lines begun by the report, into a PDF.
std::unique_ptr<QtTextPrinter> printReport(const QString& path) {
    auto printer = pdfPrinter(path);
    printer->setLandscape();
    printer->setFont("Courier New", 9);
    for (int i = 0; i < 60; ++i) {
        if (i > 0 && i % 20 == 0) printer->newPage();
        printer->printLine(QString("Line %1 Abernathy Abigail 87").arg(i));
    }
    return printer;
}

// A page as a PDF draws it, in points: its size, where its drawing starts
// (the painter's origin, from the top left corner) and how many glyphs it draws.
QString pageText(QSizeF size, QPointF origin, qsizetype glyphs) {
    QStringList points;
    for (const double n : {size.width(), size.height(), origin.x(), origin.y()})
        points << QString::number(n, 'f', 1);
    return points.join(' ') + ": " + QString::number(glyphs) + " glyphs";
}

// The pages of a PDF the real printer wrote, each followed by its drawing.
QStringList readPdf(const QByteArray& bytes) {
    static const QRegularExpression page(
        "/Type /Page\\n.*?/MediaBox \\[0 0 ([\\d.]+) ([\\d.]+)\\].*?stream\\n(.*?)endstream",
        QRegularExpression::DotMatchesEverythingOption);
    // The first matrix maps the painter's pixels onto the page, from its bottom.
    static const QRegularExpression matrix("\\S+ \\S+ \\S+ \\S+ (\\S+) (\\S+) cm");
    static const QRegularExpression shown("<([0-9A-Fa-f]*)> Tj");
    QStringList pages;
    // Latin-1 keeps every byte one character.
    for (auto it = page.globalMatch(QString::fromLatin1(bytes)); it.hasNext();) {
        const auto found = it.next();
        // qUncompress wants the size first; a generous one serves.
        const QString drawing = QString::fromLatin1(
            qUncompress(QByteArray::fromHex("00100000") + found.captured(3).toLatin1()));
        const auto cm = matrix.match(drawing);
        qsizetype glyphs = 0;
        for (auto g = shown.globalMatch(drawing); g.hasNext();)
            glyphs += g.next().capturedLength(1) / 4;
        const double height = found.captured(2).toDouble();
        pages << pageText({found.captured(1).toDouble(), height},
                          {cm.captured(1).toDouble(), height - cm.captured(2).toDouble()}, glyphs);
    }
    return pages;
}

// The PDF draws every laid-out page line where the layout put it, on the page
// the layout has, glyph for glyph; and every line's box lies at least 10 mm
// inside every edge of the page.
void expectPdfKeepsMargins(const QtTextPrinter& printer, const QString& path) {
    const QPageLayout page = printer.layout().pageLayout();
    constexpr double m = kMinimumMarginMm * 72 / 25.4;
    const QRectF inside = page.fullRect(QPageLayout::Point).adjusted(m, m, -m, -m);
    QStringList expected;
    for (const PlacedPage& placed : printer.layout().pages()) {
        qsizetype characters = 0;
        for (const PlacedLine& line : placed) {
            // Within: adding the box adds nothing (also for an empty line's box, of no width).
            QVERIFY2((inside | line.box) == inside, qPrintable(line.text));
            characters += line.text.size();
        }
        expected << pageText(page.fullRect(QPageLayout::Point).size(),
                             page.paintRect(QPageLayout::Point).topLeft(), characters);
    }
    QCOMPARE(readPdf(contents(path)), expected);
}

}  // namespace

class PrintingTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { installFontSubstitutes(); }

    void favouritesKeepTheirMarginsAndLoseNothing() {
        // Favourites and ranges with a phrase far wider than its 75-wide column.
        Workspace ws;
        ws.phrases = {{"0012", "@ works hard.", ""},
                      {"0020",
                       "@ takes the lead in every group task and helps others to finish their "
                       "share of the work on time and with care for the result of the whole team.",
                       ""}};
        ws.favourites = {"0012", "    ", "0020"};
        ws.initialValues = defaultRanges();
        ws.initialValues[1].codes = {"0020", "0020", "0012"};
        QTemporaryDir dir;
        const QString path = dir.filePath("printout.pdf");
        // The ranges print as in the Initial Values printout.
        for (const QPageSize::PageSizeId paper : {QPageSize::A4, QPageSize::Letter}) {
            const auto lines = favouritesPrintout(ws, std::tm{});
            const auto printer = pdfPrinter(path, paper);
            QVERIFY(printLines(*printer, lines));
            expectPdfKeepsMargins(*printer, path);
            QString printed;
            for (const PlacedPage& page : printer->layout().pages())
                for (const PlacedLine& line : page)
                    printed += line.text + "\n";
            // In Courier New 8 a range line of 104 characters stays whole.
            const std::string& whole = lines[lines.size() - 7].text;
            QVERIFY(whole.size() == 104 && printed.contains(toQString(whole) + "\n"));
            // A line too wide goes on after 11 blanks for a range, under its
            // code column, and as many as its code and one for an entry.
            const auto multiline = QRegularExpression::MultilineOption;
            QVERIFY(printed.contains(
                QRegularExpression("^ {11}\\S.*team\\. Learning Skills$", multiline)));
            QVERIFY(printed.contains(QRegularExpression("^ {5}\\S.*team\\. ?$", multiline)));
        }
    }

    void pdfIsWrittenWholeOrNotAtAll() {
        TempSchool dir;
        const QString path = dir.homeFolder() + "/report.pdf";
        printReport(path);  // abandoned before its end
        auto printer = printReport(path);
        QVERIFY(QDir(dir.homeFolder()).isEmpty());  // nothing is written before the end
        printer->endDoc();
        const QByteArray pdf = contents(path);
        QVERIFY(printer->ok() && pdf.startsWith("%PDF-") && pdf.trimmed().endsWith("%%EOF"));
        QCOMPARE(printer->layout().pages().size(), std::size_t(3));
        expectPdfKeepsMargins(*printer, path);

        // A folder that is missing, and a disk that fills half-way through the
        // file: the earlier report stays as it was, and nothing else is left.
        dir.write("home/report.pdf", "an earlier report");
        auto lost = printReport(dir.homeFolder() + "/gone/report.pdf");
        lost->endDoc();
        auto full = printReport(path);
        rlimit limit{};
        getrlimit(RLIMIT_FSIZE, &limit);
        const rlimit previous = limit;
        limit.rlim_cur = static_cast<rlim_t>(pdf.size() / 2);
        auto* previousHandler = signal(SIGXFSZ, SIG_IGN);
        setrlimit(RLIMIT_FSIZE, &limit);
        full->endDoc();
        setrlimit(RLIMIT_FSIZE, &previous);
        signal(SIGXFSZ, previousHandler);
        QVERIFY(!lost->ok() && !full->ok());
        QCOMPARE(QDir(dir.homeFolder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{"report.pdf"});
        QCOMPARE(contents(path), QByteArray("an earlier report"));
    }
};

QTEST_MAIN(PrintingTest)
#include "tst_printing.moc"
