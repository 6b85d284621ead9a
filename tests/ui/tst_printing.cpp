// The real text printer writing PDF files: a complete printout gives a whole
// PDF, and a printout that fails or is abandoned part-way leaves no file.

#include <signal.h>
#include <sys/resource.h>

#include <QPrinter>
#include <QRegularExpression>
#include <QtTest>
#include <functional>
#include <memory>

#include "platform/fonts.h"
#include "platform/text_printer.h"

using namespace tl;

namespace {

std::unique_ptr<QtTextPrinter> pdfPrinter(const QString& path) {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setOutputFileName(path);
    return std::make_unique<QtTextPrinter>(std::move(printer));
}

// Three pages begun by the report, the last one long enough to run over.
void printReport(TextPrinter& printer, int linesOnLastPage) {
    printer.setLandscape();
    printer.setFont("Courier New", 9);
    for (int page = 0; page < 3; ++page) {
        if (page > 0) printer.newPage();
        const int lines = page == 2 ? linesOnLastPage : 20;
        for (int i = 0; i < lines; ++i)
            printer.printLine(QString("Page %1 line %2 Abernathy Abigail 87").arg(page).arg(i));
    }
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int pdfPageCount(const QByteArray& pdf) {
    static const QRegularExpression count("/Type\\s*/Pages\\b[^>]*/Count\\s+(\\d+)");
    const QRegularExpressionMatch m = count.match(QString::fromLatin1(pdf));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// Writes beyond `bytes` in any file fail with EFBIG while `run` runs.
void withFileSizeLimit(rlim_t bytes, const std::function<void()>& run) {
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlim_t previous = limit.rlim_cur;
    auto* previousHandler = signal(SIGXFSZ, SIG_IGN);
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
    run();
    limit.rlim_cur = previous;
    setrlimit(RLIMIT_FSIZE, &limit);
    signal(SIGXFSZ, previousHandler);
}

}  // namespace

class PrintingTest : public QObject {
    Q_OBJECT

  private slots:
    void initTestCase() { installFontSubstitutes(); }

    void completePrintoutIsAWholePdf() {
        QTemporaryDir dir;
        const QString path = dir.filePath("report.pdf");
        auto printer = pdfPrinter(path);
        printReport(*printer, 20);
        QVERIFY(!QFile::exists(path));  // nothing is written before the document ends
        printer->endDoc();
        QVERIFY(printer->ok());
        const QByteArray pdf = contents(path);
        QVERIFY(pdf.startsWith("%PDF-"));
        QVERIFY(pdf.trimmed().endsWith("%%EOF"));
        QCOMPARE(pdfPageCount(pdf), 3);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"report.pdf"});

        // Lines beyond the bottom of a page continue on a new one.
        auto longer = pdfPrinter(dir.filePath("long.pdf"));
        printReport(*longer, 400);
        longer->endDoc();
        QVERIFY(longer->ok());
        QVERIFY(pdfPageCount(contents(dir.filePath("long.pdf"))) > 4);
    }

    void failedPdfLeavesNoFile_data() {
        QTest::addColumn<bool>("sizeLimit");
        QTest::newRow("disk full halfway") << true;
        QTest::newRow("folder missing") << false;
    }

    void failedPdfLeavesNoFile() {
        QFETCH(bool, sizeLimit);
        QTemporaryDir dir;
        // The size of the complete PDF, to fail half-way through it.
        auto whole = pdfPrinter(dir.filePath("whole.pdf"));
        printReport(*whole, 20);
        whole->endDoc();
        const qint64 wholeSize = QFileInfo(dir.filePath("whole.pdf")).size();
        QVERIFY(whole->ok() && wholeSize > 4000);
        QVERIFY(QFile::remove(dir.filePath("whole.pdf")));

        const QString earlier = dir.filePath("report.pdf");
        QFile old(earlier);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("an earlier report") > 0);
        old.close();
        const QString path = sizeLimit ? earlier : dir.filePath("gone/report.pdf");
        auto printer = pdfPrinter(path);
        printReport(*printer, 20);
        if (sizeLimit) {
            withFileSizeLimit(static_cast<rlim_t>(wholeSize / 2), [&] { printer->endDoc(); });
        } else {
            printer->endDoc();
        }
        QVERIFY(!printer->ok());
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot),
                 QStringList{"report.pdf"});
        QCOMPARE(contents(earlier), QByteArray("an earlier report"));
    }

    void abandonedPrintoutWritesNothing() {
        QTemporaryDir dir;
        {
            auto printer = pdfPrinter(dir.filePath("report.pdf"));
            printReport(*printer, 20);
        }
        QVERIFY(QDir(dir.path()).isEmpty());
    }
};

QTEST_MAIN(PrintingTest)
#include "tst_printing.moc"
