// The program's start: the start-up window, the phrase library, the main
// window after loading; and the recovery copy of the open class: kept while
// changes are unsaved, written again until a failed write succeeds, gone after
// a save or a normal exit, offered again after a crash.
#include "core/class_document.h"
#include "core/class_file.h"
#include "core/file_io.h"
#include "platform/recovery.h"
#include "ui/ui_support.h"

using namespace tl;
using namespace tl::test;

namespace {

// One check of the keeper, and the write it may have started.
void check(RecoveryKeeper& keeper) {
    keeper.keepUp();
    keeper.waitForWrite();
}

// A school with a restored class that no save holds, and where its copy goes.
struct UnsavedClass {
    TempSchool school;
    QString folder = school.root() + "/recovery";
    Workspace ws;
    UnsavedClass() {
        StudentRecord student;
        student.classCode = "ENG2D1-01";
        restoreClass(ws, {student, student});
    }
};

// The locations of a school with the test library and a recovery folder.
Locations withRecovery(const TempSchool& school) {
    school.installTestLibrary();
    Locations here = school.locations();
    here.recoveryFolder = school.root() + "/recovery";
    return here;
}

// A main window loaded past its start-up window, the restore questions
// answered as given.
struct Started {
    Workspace ws;
    ScriptedPrompts prompts;
    frmEntry entry;
    bool loaded = false;
    explicit Started(const Locations& here, const QList<bool>& answers = {})
        : entry(ws, prompts, here) {
        prompts.yesNoAnswers = answers;
        loaded = loadWith(entry, "cmdCancel");
    }
    QString status() const { return control<QLabel>(&entry, "lblStatus")->text(); }
};

QStringList copiesIn(const QString& folder) {
    return QDir(folder).entryList({"*.tlc"}, QDir::Files);
}

// A lock file's text as this program writes it, with one line replaced (0 the
// process number, 1 the program).
QByteArray lockText(const TempSchool& school, int line, const QByteArray& value) {
    QList<QByteArray> lines;
    {
        QLockFile lock(school.root() + "/scratch");
        if (lock.tryLock(0)) lines = contents(school.root() + "/scratch").split('\n');
    }
    if (lines.size() > line) lines[line] = value;
    return lines.join('\n');
}

// One range, then 0101, a separator, 0102 and 9998, which the library lacks.
const QByteArray kFavourites =
    " 1 \r\n80,100,0101,,,4,4,4,4,4,4\r\n0101\r\n    \r\n0102\r\n9998\r\n";

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT
  private slots:
    void startUpChoices() {
        // The button ("" closes the window by its frame), the file chosen in
        // the Open dialog and the message shown.
        const QString open = "cmdOpenFavourites";
        for (const auto& [button, chosen, shown] :
             {std::tuple<QString, QString, QString>{"cmdCancel", "", ""},
              {"", "", ""},
              {open, "", ""},
              {open, "mine.tlf", ""},
              {open, "mine.txt", "TL16:"}}) {
            TempSchool school;
            school.installTestLibrary();
            const QString path =
                chosen.isEmpty() ? QString() : school.write("home/" + chosen, kFavourites);
            Workspace ws;
            ws.favouritesFile = "left over from before.tlf";
            ScriptedPrompts prompts;
            prompts.fileAnswers << path;
            frmEntry entry(ws, prompts, school.locations());
            QVERIFY(loadWith(entry, button));
            QVERIFY(entry.isVisible() && ws.phraseCount() == 13);
            QCOMPARE(prompts.count(Kind::Open), button == open ? 1 : 0);
            if (!prompts.asked.isEmpty())
                QCOMPARE(prompts.asked[0].request.initialFolder, school.homeFolder());
            QCOMPARE(shownCodes(prompts).join(""), shown);
            // A refused file does not stay the current file.
            QCOMPARE(fromPath(ws.favouritesFile), shown.isEmpty() ? path : QString());
            auto* autoFill = control<QAbstractButton>(&entry, "optAutoFill");
            QVERIFY(autoFill->isEnabled() == !path.isEmpty() &&
                    autoFill->isChecked() == !path.isEmpty());
            // Every class command waits for a class.
            for (const char* off :
                 {"mnuSave", "mnuPrint", "mnuSortNames", "mnuSortMarks", "mnuUpdate", "mnuExport",
                  "mnuUndo", "cmdSave", "cmdPrint", "cmdUndo"}) {
                QObject* command = entry.findChild<QObject*>(off);
                QVERIFY2(command && !command->property("enabled").toBool(), off);
            }
            // The list shows the favourites read; a refused file leaves the final entry alone.
            const auto expected = favouritesListItems(ws.favourites, ws.phrases);
            QCOMPARE(items(control<QListWidget>(&entry, "lstFavourites")),
                     path.isEmpty() ? QStringList() : listOf(expected));
            QCOMPARE(ws.favourites.size(), shown.isEmpty() && !path.isEmpty() ? 3u : 0u);
        }
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
            Started started(school.locations());
            const bool goesOn = shown == "TL3:";
            QCOMPARE(QString("%1 %2 %3")
                         .arg(started.loaded)
                         .arg(started.entry.isVisible())
                         .arg(started.ws.phraseCount()),
                     QString("%1 %1 0").arg(goesOn));
            QCOMPARE(shownCodes(started.prompts), QStringList{shown});
        }
    }

    // Whether a change needs a copy is the core's table; here the copy itself.
    void failedWriteIsTriedAgainUntilTheLatestChangeIsKept() {
        UnsavedClass unsaved;
        Workspace& ws = unsaved.ws;
        QLabel bar;  // the status line
        std::atomic<bool> diskFull{true};
        std::atomic<int> attempts{0};
        RecoveryKeeper keeper(ws, unsaved.folder);
        keeper.setStatusLine([&bar] { return &bar; });
        keeper.setWriter([&](const std::string& path, const std::string& text) {
            ++attempts;
            return !diskFull && writeFileAtomically(path, text);
        });
        // A restored copy stays while it is the class's only copy on disk.
        const QString left = unsaved.school.write("recovery/class-1-1.tlc", "restored");
        QVERIFY(!keeper.takeOver(left) && QFile::exists(left));
        QVERIFY(keeper.failing() && !keeper.upToDate());
        QCOMPARE(bar.text(), QString("The recovery copy could not be written; save the "
                                     "class to keep your changes."));
        // Nothing changed since, and still it is written again.
        check(keeper);
        QCOMPARE(attempts.load(), 2);

        // The disk has room again: the next check writes the change typed while
        // it was full, and the status line is clear.
        recordEdit(ws, 1);
        ws.students[1].mark = "52";
        diskFull = false;
        keeper.start();
        QTRY_VERIFY_WITH_TIMEOUT(
            contents(keeper.copyPath()) == QByteArray::fromStdString(classFileText(ws.students)),
            5000);
        QTRY_VERIFY(!keeper.failing() && bar.text().isEmpty());
        QVERIFY(keeper.takeOver(left) && !QFile::exists(left));

        // Another message in the status line stays when a copy is written; a
        // save while the copy cannot be written ends the warning.
        for (const bool saved : {false, true}) {
            diskFull = true;
            noteChange(ws);
            check(keeper);
            if (saved) {
                markSaved(ws);  // the disk still full
            } else {
                bar.setText("Printed");
                diskFull = false;
            }
            check(keeper);
            // A save removes the copy.
            QCOMPARE(bar.text(), saved ? QString() : QString("Printed"));
            QVERIFY(keeper.upToDate() && !keeper.failing() &&
                    QFile::exists(keeper.copyPath()) != saved);
        }
        // The next change writes it again; a normal exit leaves nothing.
        diskFull = false;
        noteChange(ws);
        check(keeper);
        QVERIFY(QFile::exists(keeper.copyPath()));
        keeper.discard();
        QVERIFY(QDir(unsaved.folder).entryList(QDir::Files).isEmpty());
    }

    void copiesAreOfferedUnlessARunningProgramHoldsThem() {
        UnsavedClass unsaved;
        const QString& folder = unsaved.folder;
        const TempSchool& school = unsaved.school;
        RecoveryKeeper running(unsaved.ws, folder);
        check(running);
        // Copies whose lock names a program that has ended, or that have no lock.
        QProcess ended;
        ended.start("true", {});
        QVERIFY(ended.waitForStarted());
        const QByteArray endedLock = lockText(school, 0, QByteArray::number(ended.processId()));
        ended.waitForFinished();
        school.write("recovery/class-2-2.tlc", "");
        const QString stale = school.write("recovery/class-2-2.tlc.lock", endedLock);
        school.write("recovery/class-3-3.tlc", "");
        const QString orphan = school.write("recovery/class-4-4.tlc.lock", endedLock);

        const auto names = [](const std::vector<LeftCopy>& copies) {
            QStringList found;
            for (const LeftCopy& copy : copies)
                found << QFileInfo(copy.path).fileName();
            found.sort();
            return found;
        };
        const QStringList offered = {"class-2-2.tlc", "class-3-3.tlc"};
        // A folder that cannot be written takes no lock: the lock file decides.
        QCOMPARE(names(leftCopies(folder, [](const QString&) { return false; })), offered);
        QVERIFY(lockOwnerRunning(running.copyPath() + ".lock") && !lockOwnerRunning(stale));
        QCOMPARE(names(leftCopies(folder)), offered);
        QVERIFY(!QFile::exists(orphan) && QFile::exists(running.copyPath() + ".lock"));
        // A running process under the recorded number that is another program.
        school.write("recovery/class-2-2.tlc.lock", lockText(school, 1, "someOtherProgram"));
        QVERIFY(!lockOwnerRunning(stale));
    }

    void questionGivesTheDateInEnglish() {
        const QLocale before;
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        const QString december = restoreQuestion("ENG2D1-01", {{2026, 12, 8}, {21, 14, 59}});
        const QString january = restoreQuestion("MTH1W1-02", {{2027, 1, 1}, {9, 5}});
        QLocale::setDefault(before);
        QCOMPARE(december + "|" + january.section("class ", 1),
                 QString("Tallyleaf was not closed properly. Restore the class ENG2D1-01 as it was "
                         "at 21:14 on December 8, 2026?|MTH1W1-02 as it was at 09:05 on January "
                         "1, 2027?"));
    }

    void crashedClassComesBackAndABadCopyIsSetAside() {
        TempSchool school;
        const Locations here = withRecovery(school);
        const QString& folder = here.recoveryFolder;
        {
            // A class file opened and not changed: no copy, even after a check.
            Started first(here);
            first.prompts.fileAnswers << school.write(
                "home/eng.tlc", classLine("ENG2D1-01", "Avery", "Jo", "123456789", "") +
                                    classLine("ENG2D1-01", "Brook", "Lee", "123456790", "61"));
            control<QAction>(&first.entry, "mnuOpenClass")->trigger();
            QTest::qWait(2100);
            QVERIFY(first.loaded && copiesIn(folder).isEmpty());
            // A plain file where the recovery folder should be: no copy can be
            // written, whoever runs the test, and the status line says so.
            school.write("recovery", "a file");
            typeKeys("88");
            pressKey(Qt::Key_Return);
            QTRY_COMPARE_WITH_TIMEOUT(first.status(), RecoveryKeeper::cannotWriteText(), 5000);
            QVERIFY(first.prompts.messages().isEmpty());  // no message box
            // Room again: within a few seconds the copy holds the typed mark.
            QVERIFY(QFile::remove(folder));
            QTRY_VERIFY_WITH_TIMEOUT(
                copiesIn(folder).size() == 1 &&
                    contents(folder + "/" + copiesIn(folder)[0]).contains(",88,"),
                6000);
            QTRY_VERIFY(first.status().isEmpty());
        }  // ends without its exit, as in a crash
        // The copy and its folder are for the user alone.
        const QString leftName = copiesIn(folder)[0];
        QCOMPARE(
            QFile::permissions(folder + "/" + leftName) & ~(QFile::ReadUser | QFile::WriteUser),
            QFile::ReadOwner | QFile::WriteOwner);
        QCOMPARE(QFile::permissions(folder) & (QFile::ReadGroup | QFile::ReadOther), 0);

        Started restored(here, {true});
        const ScriptedPrompts::Asked& question = restored.prompts.asked.last();
        QVERIFY(restored.loaded && restored.prompts.count(Kind::YesNo) == 1);
        QCOMPARE(
            question.title + "|" + question.text.section(" at ", 0, 0),
            "Tallyleaf|Tallyleaf was not closed properly. Restore the class ENG2D1-01 as it was");
        QCOMPARE(restored.ws.students[0].mark + restored.ws.students[1].mark, std::string("8861"));
        QCOMPARE(control<FlexGrid>(&restored.entry, "msfgClass")->textMatrix(1, 3), QString("88"));
        // This program keeps the restored class in a copy of its own; the left one is gone.
        QVERIFY(hasUnsavedChanges(restored.ws) && restored.prompts.messages().isEmpty());
        QVERIFY(copiesIn(folder).size() == 1 && copiesIn(folder)[0] != leftName);

        // A copy that cannot be read is set aside, said once and never offered.
        school.write("recovery/class-1-1.tlc", "not a class\r\n");
        for (const QStringList& expected :
             {QStringList{"TL23: A recovery copy could not be read. It was kept as "
                          "class-1-1.tlc.unreadable."},
              QStringList{}}) {
            Started again(here);
            QVERIFY(again.loaded && again.prompts.count(Kind::YesNo) == 0);
            QCOMPARE(again.prompts.messages(), expected);
            if (!expected.isEmpty())
                QCOMPARE(again.prompts.asked.last().title, QString("Tallyleaf"));
        }
        QVERIFY(QFile::exists(folder + "/class-1-1.tlc.unreadable"));
    }

    // A real read-only folder; skipped where permissions do not stop a write (as root).
    void copyInAReadOnlyFolderIsRestoredAndLeftThere() {
        TempSchool school;
        const Locations here = withRecovery(school);
        const QString left = school.write("recovery/class-5-5.tlc",
                                          classLine("ENG2D1-01", "Avery", "Jo", "123456789", "64"));
        QFile::setPermissions(here.recoveryFolder, QFile::ReadOwner | QFile::ExeOwner);
        if (QFileInfo::exists(school.write("recovery/probe", "")))
            QSKIP("permissions do not stop this user's writes");
        Started restored(here, {true});
        QFile::setPermissions(here.recoveryFolder,
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(restored.loaded && QFile::exists(left));
        QCOMPARE(restored.ws.students[0].mark, std::string("64"));
        QCOMPARE(restored.prompts.messages(),
                 QStringList{"TL24: The recovery copy " + left +
                             " could not be removed. Delete it by hand once the class is saved."});
        QCOMPARE(restored.status(), RecoveryKeeper::cannotWriteText());
    }
};

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
