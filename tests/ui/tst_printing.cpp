// The real text printer writing PDF files: a complete printout gives a whole
// PDF, and a printout that fails or is abandoned part-way leaves no file.

#include <signal.h>
#include <sys/resource.h>

#include <QPrinter>
#include <memory>

#include "platform/fonts.h"
#include "platform/text_printer.h"
#include "ui/ui_support.h"

using namespace tl;
using namespace tl::test;

namespace {

// Three pages of twenty lines begun by the report, into a PDF.
std::unique_ptr<QtTextPrinter> printReport(const QString& path) {
    auto pdf = std::make_unique<QPrinter>(QPrinter::HighResolution);
    pdf->setOutputFormat(QPrinter::PdfFormat);
    pdf->setOutputFileName(path);
    auto printer = std::make_unique<QtTextPrinter>(std::move(pdf));
    printer->setLandscape();
    printer->setFont("Courier New", 9);
    for (int page = 0; page < 3; ++page) {
        if (page > 0) printer->newPage();
        for (int i = 0; i < 20; ++i)
            printer->printLine(QString("Page %1 line %2 Abernathy Abigail 87").arg(page).arg(i));
    }
    return printer;
}

}  // namespace

class PrintingTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { installFontSubstitutes(); }

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
        static const QRegularExpression pages("/Type\\s*/Pages\\b[^>]*/Count\\s+(\\d+)");
        QCOMPARE(pages.match(QString::fromLatin1(pdf)).captured(1), QString("3"));
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
