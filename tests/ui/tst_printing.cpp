// The real text printer writing PDF files: a complete printout gives a whole
// PDF, a printout that fails or is abandoned part-way leaves no file, and
// every printout keeps its margins on A4 and Letter.

#include <signal.h>
#include <sys/resource.h>

#include <QPrinter>
#include <ctime>
#include <map>
#include <memory>

#include "autofill/initial_values_printout.h"
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

// Three pages of twenty lines begun by the report, into a PDF.
std::unique_ptr<QtTextPrinter> printReport(const QString& path) {
    auto printer = pdfPrinter(path);
    printer->setLandscape();
    printer->setFont("Courier New", 9);
    for (int page = 0; page < 3; ++page) {
        if (page > 0) printer->newPage();
        for (int i = 0; i < 20; ++i)
            printer->printLine(QString("Page %1 line %2 Abernathy Abigail 87").arg(page).arg(i));
    }
    return printer;
}

// A page of a PDF the real printer wrote, in points: its size, where its
// drawing starts (the painter's origin, from the top left corner) and how
// many glyphs it draws.
struct PdfPage {
    QSizeF size;
    QPointF origin;
    qsizetype glyphs = 0;
};

std::vector<PdfPage> readPdf(const QByteArray& bytes) {
    // Latin-1 keeps every byte one character.
    const QString pdf = QString::fromLatin1(bytes);
    std::map<int, QString> objects;
    static const QRegularExpression object("(\\d+) 0 obj\\b(.*?)endobj",
                                           QRegularExpression::DotMatchesEverythingOption);
    for (auto it = object.globalMatch(pdf); it.hasNext();) {
        const auto match = it.next();
        objects[match.captured(1).toInt()] = match.captured(2);
    }
    const auto find = [](const QString& text, const char* pattern) {
        return QRegularExpression(pattern).match(text);
    };
    std::vector<PdfPage> pages;
    for (auto& [id, page] : objects) {  // the pages come in the order they were written
        if (!page.contains("/Type /Page\n")) continue;
        const auto box = find(page, "/MediaBox \\[0 0 ([\\d.]+) ([\\d.]+)\\]");
        const QString& stream = objects[find(page, "/Contents (\\d+) 0 R").captured(1).toInt()];
        const qsizetype start = stream.indexOf("stream\n") + 7;
        // qUncompress wants the size first; a generous one serves.
        const QString content = QString::fromLatin1(
            qUncompress(QByteArray::fromHex("00100000") +
                        stream.mid(start, stream.lastIndexOf("endstream") - start).toLatin1()));
        // The first matrix maps the painter's pixels onto the page, from its bottom.
        const auto cm = find(content, "\\S+ \\S+ \\S+ \\S+ (\\S+) (\\S+) cm");
        const QSizeF size(box.captured(1).toDouble(), box.captured(2).toDouble());
        qsizetype glyphs = 0;
        static const QRegularExpression shown("<([0-9A-Fa-f]*)> Tj");
        for (auto g = shown.globalMatch(content); g.hasNext();)
            glyphs += g.next().capturedLength(1) / 4;
        pages.push_back(
            {size, {cm.captured(1).toDouble(), size.height() - cm.captured(2).toDouble()}, glyphs});
    }
    return pages;
}

// The PDF draws every laid-out page line where the layout put it, on the page
// the layout has, glyph for glyph; and every line's box lies at least 10 mm
// inside every edge of the page.
void expectPdfKeepsMargins(const QtTextPrinter& printer, const QString& path) {
    const PageLayouter& laid = printer.layout();
    const QRectF page = laid.pageLayout().fullRect(QPageLayout::Point);
    constexpr double m = kMinimumMarginMm * 72 / 25.4;
    const QRectF inside = page.adjusted(m, m, -m, -m);
    const std::vector<PdfPage> pdf = readPdf(contents(path));
    QCOMPARE(pdf.size(), laid.pages().size());
    for (std::size_t p = 0; p < pdf.size(); ++p) {
        QCOMPARE(pdf[p].size, page.size());
        const QPointF origin = laid.pageLayout().paintRect(QPageLayout::Point).topLeft();
        QVERIFY((pdf[p].origin - origin).manhattanLength() < 0.1);
        qsizetype characters = 0;
        for (const PlacedLine& line : laid.pages()[p]) {
            // Within: adding the box adds nothing (also for an empty line's box, of no width).
            QVERIFY2((inside | line.box) == inside, qPrintable(line.text));
            characters += line.text.size();
        }
        QCOMPARE(pdf[p].glyphs, characters);
    }
}

}  // namespace

class PrintingTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { installFontSubstitutes(); }

    void favouritesAndInitialValuesKeepTheirMarginsAndLoseNothing() {
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
        for (const QPageSize::PageSizeId paper : {QPageSize::A4, QPageSize::Letter}) {
            for (const bool favourites : {true, false}) {
                const auto lines = favourites ? favouritesPrintout(ws, std::tm{})
                                              : initialValuesPrintout(ws, std::tm{});
                const auto printer = pdfPrinter(path, paper);
                QVERIFY(printLines(*printer, lines));
                expectPdfKeepsMargins(*printer, path);
                QStringList printed;
                for (const PlacedPage& page : printer->layout().pages())
                    for (const PlacedLine& line : page)
                        printed << line.text;
                // In Courier New 8 a range line of 104 characters stays whole.
                const std::string& whole = lines[lines.size() - 7].text;
                QVERIFY(whole.size() == 104 && printed.contains(toQString(whole)));
                // A line too wide goes on after 11 blanks for a range, under its
                // code column, and as many as its code and one for an entry (each
                // pattern matches a whole page line).
                QVERIFY(printed.indexOf(QRegularExpression(" {11}\\S.*team\\. Learning Skills")) >=
                        0);
                QVERIFY(!favourites ||
                        printed.indexOf(QRegularExpression(" {5}\\S.*team\\. ?")) >= 0);
            }
        }
    }

    void pdfIsWrittenWholeOrNotAtAll() {
        QTemporaryDir dir;
        const QString path = dir.filePath("report.pdf");
        printReport(path);  // abandoned before its end
        QVERIFY(QDir(dir.path()).isEmpty());

        auto printer = printReport(path);
        QVERIFY(!QFile::exists(path));  // nothing is written before the document ends
        printer->endDoc();
        QVERIFY(printer->ok());
        const QByteArray pdf = contents(path);
        QVERIFY(pdf.startsWith("%PDF-") && pdf.trimmed().endsWith("%%EOF") && pdf.size() > 4000);
        // Three pages, landscape, within the margins.
        QCOMPARE(printer->layout().pages().size(), std::size_t(3));
        expectPdfKeepsMargins(*printer, path);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"report.pdf"});

        // A folder that is missing, and a disk that fills half-way through the
        // file: the earlier report stays as it was, and nothing else is left.
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("an earlier report") > 0);
        old.close();
        for (const bool diskFull : {false, true}) {
            auto failing = printReport(diskFull ? path : dir.filePath("gone/report.pdf"));
            rlimit limit{};
            getrlimit(RLIMIT_FSIZE, &limit);
            const rlimit previous = limit;
            auto* previousHandler = signal(SIGXFSZ, SIG_IGN);
            if (diskFull) limit.rlim_cur = static_cast<rlim_t>(pdf.size() / 2);
            setrlimit(RLIMIT_FSIZE, &limit);
            failing->endDoc();
            setrlimit(RLIMIT_FSIZE, &previous);
            signal(SIGXFSZ, previousHandler);
            QVERIFY(!failing->ok());
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
                     QStringList{"report.pdf"});
            QCOMPARE(contents(path), QByteArray("an earlier report"));
        }
    }
};

QTEST_MAIN(PrintingTest)
#include "tst_printing.moc"
