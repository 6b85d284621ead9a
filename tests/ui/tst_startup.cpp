// The program's start: the start-up window, the phrase library and the main
// window's state after loading.
#include "ui/ui_support.h"

using namespace tl;
using namespace tl::test;

namespace {

// One range, then 0101, a separator, 0102 and 9998, which the demo library lacks.
const QByteArray kFavourites =
    " 1 \r\n80,100,0101,,,4,4,4,4,4,4\r\n0101\r\n    \r\n0102\r\n9998\r\n";

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT
  private slots:
    void startUpChoices_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("chosen");  // the file chosen in the Open dialog
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("shown");
        const QString open = "cmdOpenFavourites";
        const QString none;
        QTest::newRow("proceed") << "cmdCancel" << none << QByteArray() << none;
        QTest::newRow("closed by its frame") << none << none << QByteArray() << none;
        QTest::newRow("open dialog cancelled") << open << none << QByteArray() << none;
        QTest::newRow("favourites read") << open << "mine.tlf" << kFavourites << none;
        QTest::newRow("wrong type")
            << open << "mine.txt" << kFavourites << "TL16: Invalid Favourites file type.";
        QTest::newRow("broken") << open << "broken.tlf" << QByteArray(" 1 \r\n80,100\r\nAB\r\n")
                                << "TL17: Invalid Favourites file.";
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
        if (prompts.count(Kind::Open) == 1) {
            QCOMPARE(prompts.asked[0].request.initialFolder, school.homeFolder());
            QCOMPARE(prompts.asked[0].request.filter,
                     QString("Tallyleaf Favourites (*.tlf)|*.tlf"));
        }
        QCOMPARE(prompts.messages(), shown.isEmpty() ? QStringList() : QStringList{shown});
        // A refused file does not stay the current file.
        QCOMPARE(fromPath(ws.favouritesFile), shown.isEmpty() ? path : QString());
        QCOMPARE(control<QAbstractButton>(&entry, "optAutoFill")->isEnabled(), !path.isEmpty());
        QCOMPARE(control<QAbstractButton>(&entry, "optAutoFill")->isChecked(), !path.isEmpty());
        for (QAction* off :
             {control<QAction>(&entry, "mnuSave"), control<QAction>(&entry, "mnuPrint"),
              control<QAction>(&entry, "mnuSortNames"), control<QAction>(&entry, "mnuSortMarks"),
              control<QAction>(&entry, "mnuUpdate"), control<QAction>(&entry, "mnuExport"),
              control<QAction>(&entry, "mnuUndo")})
            QVERIFY2(!off->isEnabled(), qPrintable(off->objectName()));
        QVERIFY(!control<QAbstractButton>(&entry, "cmdSave")->isEnabled() &&
                !control<QAbstractButton>(&entry, "cmdPrint")->isEnabled());
        QVERIFY(!control<QAbstractButton>(&entry, "cmdUndo")->isEnabled() &&
                !control<QAction>(&entry, "mnuSortCourse")->isVisible());
        QVERIFY(control<QAction>(&entry, "mnuOpenFavourites")->isEnabled() &&
                control<QAction>(&entry, "mnuNewTrillium")->isEnabled());

        QListWidget* list = control<QListWidget>(&entry, "lstFavourites");
        QCOMPARE(list->count(), path.isEmpty() ? 0 : (shown.isEmpty() ? 4 : 1));
        if (list->count() < 4) return;
        QCOMPARE(ws.rangeCount(), 1);
        QCOMPARE(control<QLabel>(&entry, "lblFavouriteFile")->text(), "Favourite List: " + path);
        QCOMPARE(list->item(0)->text(), "0101 " + toQString(lookupPhrase(ws.phrases, "0101")));
        QCOMPARE(list->item(1)->text(), QString("           ---------------"));
        QCOMPARE(list->item(3)->text(), QString("           no comment (delete existing comment)"));
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
            QCOMPARE(prompts.messages().size(), 1);
            QVERIFY2(prompts.messages()[0].startsWith(shown), qPrintable(prompts.messages()[0]));
            QCOMPARE(ws.phraseCount(), 0);
        }
    }
};

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
