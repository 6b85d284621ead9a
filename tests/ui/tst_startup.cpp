// SPDX-License-Identifier: GPL-3.0-or-later

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
        ws.doc.restoreClass({student, student});
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
        // The button, the file chosen in the Open dialog and the message shown.
        for (const auto& [button, chosen, shown] :
             {std::tuple<QString, QString, QString>{"cmdCancel", "", ""},
              {"cmdOpenFavourites", "mine.tlf", ""},
              {"cmdOpenFavourites", "mine.txt", "TL16:"}}) {
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
            QCOMPARE(prompts.count(Kind::Open), button == "cmdOpenFavourites" ? 1 : 0);
            QCOMPARE(shownCodes(prompts).join(""), shown);
            // Only a file read is the current file; the list shows what it holds.
            const bool read = shown.isEmpty() && !path.isEmpty();
            QCOMPARE(fromPath(ws.favouritesFile), read ? path : QString());
            QCOMPARE(ws.favourites.size(), read ? 3u : 0u);
            QCOMPARE(items(control<QListWidget>(&entry, "lstFavourites")),
                     path.isEmpty() ? QStringList()
                                    : listOf(favouritesListItems(ws.favourites, ws.phrases)));
        }
    }

    void phraseLibraryFaults() {
        // None; no header; a folder in its place, which the program goes on without.
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
            QCOMPARE(started.entry.isVisible(), shown == "TL3:");
            QCOMPARE(shownCodes(started.prompts), QStringList{shown});
        }
    }

    // Whether a change needs a copy is the core's table; here the copy itself.
    void copyIsWrittenUntilSavedAndGoneAfterExit() {
        UnsavedClass unsaved;
        std::atomic<bool> diskFull{true};
        RecoveryKeeper keeper(unsaved.ws, unsaved.folder);
        keeper.setWriter([&](const std::string& path, const std::string& text) {
            return !diskFull && writeFileAtomically(path, text);
        });
        // A restored copy stays while it is the class's only copy on disk.
        const QString left = unsaved.school.write("recovery/class-1-1.tlc", "restored");
        QVERIFY(!keeper.takeOver(left) && QFile::exists(left) && keeper.failing());

        // The disk has room again: the next check writes the change typed while it was full.
        unsaved.ws.doc.enterMark(1, "52", false);
        diskFull = false;
        check(keeper);
        QCOMPARE(contents(keeper.copyPath()),
                 QByteArray::fromStdString(classFileText(unsaved.ws.students())));
        QVERIFY(keeper.takeOver(left) && !QFile::exists(left));
        // A save removes the copy, the next change writes it again, a normal exit leaves nothing.
        unsaved.ws.doc.markSaved();
        check(keeper);
        QVERIFY(keeper.upToDate() && !QFile::exists(keeper.copyPath()));
        unsaved.ws.doc.setFlagColumn(Flag::Iep, true);
        check(keeper);
        QVERIFY(QFile::exists(keeper.copyPath()));
        keeper.discard();
        QVERIFY(QDir(unsaved.folder).entryList(QDir::Files).isEmpty());
    }

    void copiesAreOfferedUnlessARunningProgramHoldsThem() {
        UnsavedClass unsaved;
        const TempSchool& school = unsaved.school;
        RecoveryKeeper running(unsaved.ws, unsaved.folder);
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
        const auto offered = [&unsaved](const TakeLock& takeLock) {
            QStringList names;
            for (const LeftCopy& copy : leftCopies(unsaved.folder, takeLock))
                names << QFileInfo(copy.path).fileName();
            names.sort();
            return names.join(' ');
        };
        QCOMPARE(offered(takeLockFile), QString("class-2-2.tlc class-3-3.tlc"));
        // A folder that cannot be written takes no lock: the lock file decides.
        QCOMPARE(offered([](const QString&) { return false; }), offered(takeLockFile));
        // A running process under the recorded number that is another program.
        school.write("recovery/class-2-2.tlc.lock", lockText(school, 1, "someOtherProgram"));
        QVERIFY(!lockOwnerRunning(stale));
    }

    void questionGivesTheDateInEnglish() {
        const QLocale before;
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        const QString question = restoreQuestion("MTH1W1-02", {{2027, 1, 1}, {9, 5}});
        QLocale::setDefault(before);
        QCOMPARE(question, QString("Tallyleaf was not closed properly. Restore the class MTH1W1-02 "
                                   "as it was at 09:05 on January 1, 2027?"));
    }

    void crashedClassComesBackAndABadCopyIsSetAside() {
        TempSchool school;
        const Locations here = withRecovery(school);
        const QString& folder = here.recoveryFolder;
        {
            Started first(here);
            first.prompts.fileAnswers << school.write(
                "home/eng.tlc", classLine("ENG2D1-01", "Avery", "Jo", "123456789", "") +
                                    classLine("ENG2D1-01", "Brook", "Lee", "123456790", "61"));
            control<QAction>(&first.entry, "mnuOpenClass")->trigger();
            settle();
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
        // The copies are for the user alone.
        QCOMPARE(QFile::permissions(folder) & (QFile::ReadGroup | QFile::ReadOther), 0);
        const QString leftName = copiesIn(folder)[0];

        Started restored(here, {true});
        QVERIFY(restored.loaded && restored.prompts.count(Kind::YesNo) == 1);
        QVERIFY(restored.prompts.asked.last().text.startsWith(
            "Tallyleaf was not closed properly. Restore the class ENG2D1-01 as it was at "));
        QCOMPARE(restored.ws.students()[0].mark + restored.ws.students()[1].mark,
                 std::string("8861"));
        // This program keeps the restored class in a copy of its own; the left one is gone.
        QVERIFY(restored.ws.doc.hasUnsavedChanges() && restored.prompts.messages().isEmpty());
        QVERIFY(copiesIn(folder).size() == 1 && copiesIn(folder)[0] != leftName);

        // A copy that cannot be read is set aside and said; the restored class's
        // copy is not offered while its program runs.
        school.write("recovery/class-1-1.tlc", "not a class\r\n");
        Started again(here);
        QVERIFY(again.loaded && again.prompts.count(Kind::YesNo) == 0);
        QCOMPARE(again.prompts.messages(),
                 QStringList{"TL23: A recovery copy could not be read. It was kept as "
                             "class-1-1.tlc.unreadable."});
        QCOMPARE(copiesIn(folder).size(), 1);
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
        QVERIFY(restored.loaded && QFile::exists(left) && restored.ws.students()[0].mark == "64");
        QCOMPARE(restored.prompts.messages(),
                 QStringList{"TL24: The recovery copy " + left +
                             " could not be removed. Delete it by hand once the class is saved."});
        QCOMPARE(restored.status(), RecoveryKeeper::cannotWriteText());
    }
};

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
