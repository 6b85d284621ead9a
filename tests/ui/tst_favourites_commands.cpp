// The favourites file commands a window owns: where their dialogs start, what
// a cancelled dialog keeps and what a failed write stops.
#include "core/favourites_file.h"
#include "core/messages.h"
#include "favourites/favourites_commands.h"
#include "ui/ui_support.h"

using namespace tl;
using namespace tl::test;

namespace {

// A window's commands over a dialog that another file type used last.
struct Commands {
    TempSchool school;
    Locations locations = school.locations();
    Workspace ws;
    ScriptedPrompts prompts;
    CommonDialog dialog{prompts};
    std::unique_ptr<FavouritesFileCommands> files;

    explicit Commands(FavouritesStart start) {
        dialog.prepare(school.root(), "ENG2D101", "Tallyleaf Classes (*.tlc)|*.tlc", true);
        files = std::make_unique<FavouritesFileCommands>(ws, prompts, locations, start, dialog);
        ws.initialValues = defaultRanges();
        ws.favourites = {"0004", "    ", "0101"};
    }
    ~Commands() { QVERIFY2(prompts.unexpected == 0, "an unexpected question was asked"); }
    QString home(const QString& name) const { return school.homeFolder() + "/" + name; }
    QByteArray listBytes() const {
        return QByteArray::fromStdString(favouritesFileText(ws.initialValues, ws.favourites));
    }
};

QString tl18() {
    return toQString(msg::tl18FavouritesNotSaved().text);
}

}  // namespace

class FavouritesCommandsTest : public QObject {
    Q_OBJECT
  private slots:
    void dialogsStartWhereTheWindowsRuleSays() {
        // Each rule with the home folder missing, empty and holding a file; a
        // dialog that does not start at home keeps its last folder.
        const auto present = FavouritesStart::HomePresent;
        const auto holding = FavouritesStart::HomeHoldsFile;
        for (const auto& [start, home, atHome] :
             {std::tuple(present, "missing", false), std::tuple(present, "empty", true),
              std::tuple(present, "with a file", true), std::tuple(holding, "missing", false),
              std::tuple(holding, "empty", false), std::tuple(holding, "with a file", true)}) {
            Commands c(start);
            if (home == std::string("missing"))
                QVERIFY(QDir(c.school.homeFolder()).removeRecursively());
            if (home == std::string("with a file")) c.school.write("home/notes.txt", "x");
            // Open, Add to Favourites and Save As, each cancelled: a favourites
            // dialog with no proposed name, asking before replacing only on Save As.
            c.prompts.fileAnswers = {"", "", ""};
            QVERIFY(!c.files->open() && !c.files->add() && !c.files->saveAs());
            QStringList asked;
            for (const ScriptedPrompts::Asked& a : c.prompts.asked)
                asked << a.request.initialFolder + "|" + a.request.fileName + "|" +
                             a.request.filter + (a.kind == Kind::Save ? "|save" : "|open") +
                             (a.request.confirmOverwrite ? "|asks" : "");
            const QString folder = atHome ? c.school.homeFolder() : c.school.root();
            const QString expected = folder + "||" + kFavouritesFilter;
            QVERIFY2(asked == QStringList({expected + "|open", expected + "|open",
                                           expected + "|save|asks"}),
                     qPrintable(QString(home) + ": " + asked.join(", ")));
            QVERIFY(c.ws.favouritesFile.empty() && c.ws.favourites.size() == 3);
        }
    }

    void cancelledDialogsAndFailedWritesKeepTheList() {
        Commands c(FavouritesStart::HomeHoldsFile);
        const QString mine = c.school.write("home/mine.tlf", "before\r\n");
        c.ws.favouritesFile = toPath(mine);

        // Cancelled Save As and Open keep the current file, unwritten and unread.
        c.prompts.fileAnswers = {"", ""};
        QVERIFY(!c.files->saveAs() && !c.files->nameChosenFile());
        QCOMPARE(fromPath(c.ws.favouritesFile), mine);
        QCOMPARE(contents(mine), QByteArray("before\r\n"));

        // The save question: No writes nothing and lets the command go on; Yes
        // with a file that cannot be written shows TL18 and stops it.
        c.prompts.yesNoAnswers << false;
        QVERIFY(c.files->savePrompt());
        QCOMPARE(contents(mine), QByteArray("before\r\n"));
        const std::vector<std::string> list = c.ws.favourites;
        c.ws.favouritesFile = toPath(c.school.root() + "/gone/mine.tlf");
        c.prompts.yesNoAnswers << true;
        QVERIFY(!c.files->savePrompt());
        QCOMPARE(c.prompts.messages(), QStringList{tl18()});
        QVERIFY(c.ws.favourites == list && c.ws.rangeCount() == 7);
        QCOMPARE(c.prompts.asked[2].text + "|" + c.prompts.asked[2].title,
                 QString("Do you want to save the current Favourites File?|"
                         "Load New Favourites File"));

        // An unnamed list: no question, no write, and leaving asks for a name
        // only where the window says so; the name chosen gets ".tlf".
        c.files->clearCurrentFile();
        c.prompts.asked.clear();
        QVERIFY(c.files->savePrompt() && !c.files->save());
        c.files->saveOnLeaving(UnnamedList::Skip);
        QVERIFY(c.prompts.asked.isEmpty());
        c.prompts.fileAnswers << c.home("kept");
        c.files->saveOnLeaving(UnnamedList::AskForName);
        QCOMPARE(fromPath(c.ws.favouritesFile), c.home("kept.tlf"));
        QCOMPARE(contents(c.home("kept.tlf")), c.listBytes());
        QCOMPARE(QDir(c.school.homeFolder()).entryList(QDir::Files),
                 (QStringList{"kept.tlf", "mine.tlf"}));
    }
};

QTEST_MAIN(FavouritesCommandsTest)
#include "tst_favourites_commands.moc"
