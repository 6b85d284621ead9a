// The program's start: the start-up window, the phrase library and the main
// window's state after loading.
#include "ui/ui_support.h"

using namespace tl;
using namespace tl::test;

namespace {

// One range, then 0101, a separator, 0102 and 9998, which the library lacks.
const QByteArray kFavourites =
    " 1 \r\n80,100,0101,,,4,4,4,4,4,4\r\n0101\r\n    \r\n0102\r\n9998\r\n";

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT
  private slots:
    void startUpChoices_data() {
        QTest::addColumn<QString>("button");  // "" closes the start-up window by its frame
        QTest::addColumn<QString>("chosen");  // the file chosen in the Open dialog
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("shown");
        const QString open = "cmdOpenFavourites";
        QTest::newRow("proceed") << "cmdCancel" << QString() << QByteArray() << QString();
        QTest::newRow("closed by its frame") << QString() << QString() << QByteArray() << QString();
        QTest::newRow("open dialog cancelled") << open << QString() << QByteArray() << QString();
        QTest::newRow("favourites read") << open << "mine.tlf" << kFavourites << QString();
        QTest::newRow("refused") << open << "mine.txt" << kFavourites << "TL16:";
    }

    void startUpChoices() {
        QFETCH(QString, button);
        QFETCH(QString, chosen);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, shown);
        TempSchool school;
        school.installTestLibrary();
        const QString path = chosen.isEmpty() ? QString() : school.write("home/" + chosen, bytes);
        Workspace ws;
        ws.favouritesFile = "left over from before.tlf";
        ScriptedPrompts prompts;
        prompts.fileAnswers << path;
        frmEntry entry(ws, prompts, school.locations());
        QVERIFY(loadWith(entry, button));
        QVERIFY(entry.isVisible() && ws.phraseCount() == 13);

        QCOMPARE(prompts.count(Kind::Open), button == "cmdOpenFavourites" ? 1 : 0);
        if (!prompts.asked.isEmpty())
            QCOMPARE(prompts.asked[0].request.initialFolder, school.homeFolder());
        QCOMPARE(shownCodes(prompts).join(""), shown);
        // A refused file does not stay the current file.
        QCOMPARE(fromPath(ws.favouritesFile), shown.isEmpty() ? path : QString());
        auto* autoFill = control<QAbstractButton>(&entry, "optAutoFill");
        QVERIFY(autoFill->isEnabled() == !path.isEmpty() &&
                autoFill->isChecked() == !path.isEmpty());
        // Every class command waits for a class.
        for (const char* off : {"mnuSave", "mnuPrint", "mnuSortNames", "mnuSortMarks", "mnuUpdate",
                                "mnuExport", "mnuUndo", "cmdSave", "cmdPrint", "cmdUndo"}) {
            QObject* command = entry.findChild<QObject*>(off);
            QVERIFY2(command && !command->property("enabled").toBool(), off);
        }

        // The list shows the favourites read; a refused file leaves the final entry alone.
        const auto expected = favouritesListItems(ws.favourites, ws.phrases);
        QCOMPARE(items(control<QListWidget>(&entry, "lstFavourites")),
                 path.isEmpty() ? QStringList() : listOf(expected));
        QCOMPARE(ws.favourites.size(), shown.isEmpty() && !path.isEmpty() ? 3u : 0u);
    }

    void phraseLibraryFaults() {
        // A folder in the library's place cannot be read: the program goes on without phrases.
        for (const auto& [library, shown] : {std::pair<QByteArray, QString>{"", "TL2:"},
                                             {"Code,Text,Cat\r\n\"0012\",Fine work.,1\r\n", "TL1:"},
                                             {"/", "TL3:"}}) {
            TempSchool school;
            if (library == "/") {
                QDir(school.programFolder()).mkdir("TLPhraseLibrary.csv");
            } else if (!library.isEmpty()) {
                school.write("Tallyleaf/TLPhraseLibrary.csv", library);
            }
            Workspace ws;
            ScriptedPrompts prompts;
            frmEntry entry(ws, prompts, school.locations());
            const bool goesOn = shown == "TL3:";
            QCOMPARE(loadWith(entry, "cmdCancel"), goesOn);
            QCOMPARE(entry.isVisible(), goesOn);
            QCOMPARE(shownCodes(prompts), QStringList{shown});
            QCOMPARE(ws.phraseCount(), 0);
        }
    }
};

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
