// The program's start: the start-up window, the phrase library and the main
// window's state after loading.
#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QtTest>

#include "core/workspace.h"
#include "entry/frm_entry.h"
#include "entry/frm_splash.h"
#include "platform/encoding.h"
#include "platform/scripted_prompts.h"
#include "ui/ui_support.h"

using namespace tl;
using Kind = ScriptedPrompts::Kind;

namespace {

// Loads the main window, answering the start-up window with the named button
// ("cmdOpenFavourites", "cmdCancel", or "" to close it by its frame).
bool loadWith(frmEntry& entry, const char* button) {
    test::onNextModal([button](QWidget* modal) {
        auto* splash = qobject_cast<frmSplash*>(modal);
        if (splash == nullptr) return;
        if (QString(button).isEmpty()) {
            splash->close();
        } else {
            splash->findChild<QPushButton*>(button)->click();
        }
    });
    return entry.Form_Load();
}

QByteArray favouritesBytes() {
    return " 1 \r\n80,100,0101,,,4,4,4,4,4,4\r\n0101\r\n    \r\n0102\r\n9998\r\n";
}

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT
  private slots:
    void proceedingWithoutFavouritesLeavesClassCommandsOff();
    void openingFavouritesReadsThemIntoTheList();
    void splashChoicesThatOpenNothing_data();
    void splashChoicesThatOpenNothing();
    void favouritesDialogStartsInTheHomeFolderOnlyWhenPresent();
    void refusedFavouritesAtStartAreReported();
    void fatalLibraryFaultsEndTheProgram_data();
    void fatalLibraryFaultsEndTheProgram();
    void hiddenLibraryGoesOnWithoutPhrases();
    void menusCarryTheirCaptionsAndShortcuts();
};

void StartupTest::proceedingWithoutFavouritesLeavesClassCommandsOff() {
    test::TempSchool school;
    school.installDemoLibrary();
    Workspace ws;
    ScriptedPrompts prompts;
    frmEntry entry(ws, prompts, school.locations());
    QVERIFY(loadWith(entry, "cmdCancel"));

    QCOMPARE(entry.windowTitle(), QString("Tallyleaf v3.3 Growing Success ~ Mark / Phrase Entry"));
    QVERIFY(entry.isVisible());
    QVERIFY(ws.phraseCount() > 400);
    QVERIFY(ws.firstDialog);
    QVERIFY(entry.enterCellEnabled && entry.leaveCellEnabled);
    QCOMPARE(ws.favouritesFile, std::string());
    QVERIFY(!entry.optAutoFill->isEnabled());
    QVERIFY(!entry.optAutoFill->isChecked());
    for (const char* name : {"mnuSave", "mnuPrint", "mnuSortNames", "mnuSortMarks", "mnuUpdate",
                             "mnuExport", "mnuUndo"}) {
        QVERIFY2(!entry.findChild<QAction*>(name)->isEnabled(), name);
    }
    for (const char* name : {"cmdSave", "cmdPrint", "cmdUndo"}) {
        QVERIFY2(!entry.findChild<QPushButton*>(name)->isEnabled(), name);
    }
    QVERIFY(!entry.mnuSortCourse->isVisible());
    QVERIFY(entry.mnuOpenFavourites->isEnabled());
    QVERIFY(entry.mnuExit->isEnabled());
    QCOMPARE(prompts.asked.size(), 0);
}

void StartupTest::openingFavouritesReadsThemIntoTheList() {
    test::TempSchool school;
    school.installDemoLibrary();
    const QString tlf = school.write("home/mine.tlf", favouritesBytes());
    Workspace ws;
    ScriptedPrompts prompts;
    prompts.fileAnswers << tlf;
    frmEntry entry(ws, prompts, school.locations());
    QVERIFY(loadWith(entry, "cmdOpenFavourites"));

    QCOMPARE(prompts.count(Kind::Open), 1);
    const FileRequest& request = prompts.asked.first().request;
    QCOMPARE(request.filter, QString("Tallyleaf Favourites (*.tlf)|*.tlf"));
    QCOMPARE(request.initialFolder, school.homeFolder());
    QCOMPARE(request.fileName, QString());
    QCOMPARE(fromPath(ws.favouritesFile), tlf);

    // 9998 is not in the library and is dropped; the separator stays.
    QCOMPARE(ws.favouriteCount(), 3);
    QCOMPARE(ws.rangeCount(), 1);
    QListWidget* list = entry.lstFavourites;
    QCOMPARE(list->count(), 4);
    QVERIFY(list->item(0)->text().startsWith("0101 "));
    QVERIFY(list->item(0)->text().endsWith(". "));
    QCOMPARE(list->item(1)->text(), QString("           ---------------"));
    QCOMPARE(list->item(3)->text(), QString("           no comment (delete existing comment)"));
    QCOMPARE(entry.lblFavouriteFile->text(), "Favourite List: " + tlf);
    QVERIFY(entry.optAutoFill->isEnabled());
    QVERIFY(entry.optAutoFill->isChecked());
    QVERIFY(entry.favouritesExtent > 0);
    QVERIFY(prompts.messages().isEmpty());
}

void StartupTest::splashChoicesThatOpenNothing_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("dialogShown");
    QTest::newRow("proceed") << "cmdCancel" << false;
    QTest::newRow("closed by its frame") << "" << false;
    QTest::newRow("open dialog cancelled") << "cmdOpenFavourites" << true;
}

void StartupTest::splashChoicesThatOpenNothing() {
    QFETCH(QString, button);
    QFETCH(bool, dialogShown);
    test::TempSchool school;
    school.installDemoLibrary();
    Workspace ws;
    ws.favouritesFile = "left over from before.tlf";
    ScriptedPrompts prompts;
    prompts.fileAnswers << "";
    frmEntry entry(ws, prompts, school.locations());
    const QByteArray name = button.toLatin1();
    QVERIFY(loadWith(entry, name.constData()));
    QCOMPARE(prompts.count(Kind::Open), dialogShown ? 1 : 0);
    QCOMPARE(ws.favouritesFile, std::string());
    QVERIFY(!entry.optAutoFill->isEnabled());
    QCOMPARE(entry.lstFavourites->count(), 0);
}

void StartupTest::favouritesDialogStartsInTheHomeFolderOnlyWhenPresent() {
    test::TempSchool school;
    school.removeHome();
    Workspace ws;
    ScriptedPrompts prompts;
    prompts.fileAnswers << "";
    frmSplash splash(ws, prompts, school.locations());
    splash.cmdOpenFavourites->click();
    QCOMPARE(prompts.count(Kind::Open), 1);
    QCOMPARE(prompts.asked.first().request.initialFolder, QString());
}

void StartupTest::refusedFavouritesAtStartAreReported() {
    test::TempSchool school;
    school.installDemoLibrary();
    const QString wrongType = school.write("home/mine.txt", favouritesBytes());
    const QString broken = school.write("home/broken.tlf", " 1 \r\n80,100\r\nABCD\r\n");

    for (const QString& chosen : {wrongType, broken}) {
        Workspace ws;
        ScriptedPrompts prompts;
        prompts.fileAnswers << chosen;
        frmEntry entry(ws, prompts, school.locations());
        QVERIFY(loadWith(entry, "cmdOpenFavourites"));
        const QStringList shown = prompts.messages();
        QCOMPARE(shown.size(), 1);
        if (chosen == wrongType) {
            QCOMPARE(shown.first(), QString("TL16: Invalid Favourites file type."));
            // A file refused for its type is not kept as the current file.
            QCOMPARE(ws.favouritesFile, std::string());
        } else {
            QCOMPARE(shown.first(), QString("TL17: Invalid Favourites file."));
            QCOMPARE(fromPath(ws.favouritesFile), broken);
        }
        QCOMPARE(ws.favouriteCount(), 0);
        QCOMPARE(ws.rangeCount(), 0);
        QCOMPARE(entry.lstFavourites->count(), 1);
    }
}

void StartupTest::fatalLibraryFaultsEndTheProgram_data() {
    QTest::addColumn<QByteArray>("library");
    QTest::addColumn<QString>("code");
    QTest::newRow("missing") << QByteArray() << "TL2:";
    QTest::newRow("quoted code") << QByteArray("Code,Text,Cat\r\n\"0012\",Fine work.,1\r\n")
                                 << "TL1:";
    QTest::newRow("empty line") << QByteArray("Code,Text,Cat\r\n0001,Good.,1\r\n\r\n0002,Ok.,1\r\n")
                                << "TL2:";
    QTest::newRow("line without comma")
        << QByteArray("Code,Text,Cat\r\n0001,Good.,1\r\n0002 Ok\r\n") << "TL2:";
}

void StartupTest::fatalLibraryFaultsEndTheProgram() {
    QFETCH(QByteArray, library);
    QFETCH(QString, code);
    test::TempSchool school;
    if (!library.isEmpty()) school.write("Tallyleaf/TLPhraseLibrary.csv", library);
    Workspace ws;
    ScriptedPrompts prompts;
    frmEntry entry(ws, prompts, school.locations());
    QVERIFY(!loadWith(entry, "cmdCancel"));
    QVERIFY(!entry.isVisible());
    QCOMPARE(prompts.messages().size(), 1);
    QVERIFY(prompts.messages().first().startsWith(code));
    QCOMPARE(prompts.asked.first().title, QString("Tallyleaf"));
}

void StartupTest::hiddenLibraryGoesOnWithoutPhrases() {
    test::TempSchool school;
    QDir(school.programFolder()).mkdir("TLPhraseLibrary.csv");
    Workspace ws;
    ScriptedPrompts prompts;
    frmEntry entry(ws, prompts, school.locations());
    QVERIFY(loadWith(entry, "cmdCancel"));
    QCOMPARE(prompts.messages(),
             QStringList{"TL3: Tallyleaf Phrase Libary Source File, TLPhraseLibrary.csv, cannot "
                         "be found."});
    QCOMPARE(ws.phraseCount(), 0);
    QVERIFY(entry.isVisible());
}

void StartupTest::menusCarryTheirCaptionsAndShortcuts() {
    Workspace ws;
    ScriptedPrompts prompts;
    test::TempSchool school;
    frmEntry entry(ws, prompts, school.locations());

    QStringList file;
    for (QAction* a : entry.mnuFile->actions())
        file << (a->isSeparator() ? "-" : a->text());
    QCOMPARE(file, (QStringList{"&Open Favourites", "-", "New Class File From Trillium",
                                "Open Existing Class File", "&Save Class File", "-",
                                "&Update Class File", "-", "&Print", "-", "E&xit"}));
    QStringList tops;
    for (QAction* a : entry.menuBar()->actions())
        tops << a->text();
    QCOMPARE(tops, (QStringList{"&File", "Edit", "View", "&Sort", "&Mode", "&eFile", "&Help"}));

    const QList<QPair<const char*, QKeySequence>> shortcuts = {
        {"mnuOpenFavourites", QKeySequence("Ctrl+O")}, {"mnuNewTrillium", QKeySequence("Ctrl+N")},
        {"mnuSave", QKeySequence("Ctrl+S")},           {"mnuPrint", QKeySequence("Ctrl+P")},
        {"mnuUndo", QKeySequence("Ctrl+U")},           {"mnuSelection", QKeySequence("Ctrl+E")}};
    for (const auto& [name, keys] : shortcuts) {
        QCOMPARE(entry.findChild<QAction*>(name)->shortcut(), keys);
    }
    QCOMPARE(entry.findChild<QPushButton*>("cmdSwitchCommentSelection")->text(),
             QString("Add a Comment: Switch to Comment Selection Mode "));
    QCOMPARE(entry.cmdNew->toolTip(), QString("Create New Class File of Students"));
    QCOMPARE(entry.cmdOpen->toolTip(), QString("Open Previously Saved Class File"));
}

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
