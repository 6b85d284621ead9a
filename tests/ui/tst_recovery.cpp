// The recovery copy of the open class: kept while changes are unsaved, written
// again until a failed write succeeds, gone after a save or a normal exit,
// offered again after a crash.
#include "core/class_document.h"
#include "core/class_file.h"
#include "core/file_io.h"
#include "platform/recovery.h"
#include "ui/ui_support.h"

using namespace tl;
using namespace tl::test;

namespace {

QByteArray bytesOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::vector<StudentRecord> twoStudents() {
    StudentRecord a;
    a.classCode = "ENG2D1-01";
    a.lastName = "Avery";
    a.studentNumber = "123456789";
    StudentRecord b = a;
    b.lastName = "Brook";
    return {a, b};
}

QStringList copiesIn(const QString& folder) {
    return QDir(folder).entryList({"*.tlc"}, QDir::Files);
}

// The text of a lock file as this program writes it, with one line replaced.
QByteArray lockTextWith(const QString& scratch, int line, const QByteArray& value) {
    QByteArray text;
    {
        QLockFile lock(scratch);
        if (!lock.tryLock(0)) return {};
        text = bytesOf(scratch);
    }
    QList<QByteArray> lines = text.split('\n');
    lines[line] = value;
    return lines.join('\n');
}

// The number of a process that has ended.
QByteArray endedPid() {
    QProcess process;
    process.start("true", {});
    process.waitForStarted();
    const qint64 pid = process.processId();
    process.waitForFinished();
    return QByteArray::number(pid);
}

// A folder that this user cannot write into; empty where permissions do not
// stop a write (as root).
bool makeReadOnly(const QString& folder) {
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    QFile probe(folder + "/probe");
    if (!probe.open(QIODevice::WriteOnly)) return true;
    probe.remove();
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return false;
}

}  // namespace

class RecoveryTest : public QObject {
    Q_OBJECT
  private slots:
    void copyFollowsTheChangesAndTheSaves() {
        QTemporaryDir dir;
        const QString folder = dir.path() + "/recovery";
        Workspace ws;
        QString copy;
        {
            RecoveryKeeper keeper(ws, folder);
            keeper.keepUp();
            QVERIFY(keeper.copyPath().isEmpty());  // no class, no copy

            // A class opened or built and not changed since needs no copy.
            replaceClass(ws, twoStudents());
            keeper.keepUp();
            keeper.waitForWrite();
            QVERIFY(copiesIn(folder).isEmpty());

            // A change: the copy holds its text, for the user alone.
            recordEdit(ws, 1);
            ws.students[1].mark = "77";
            keeper.keepUp();
            keeper.waitForWrite();
            copy = keeper.copyPath();
            QCOMPARE(bytesOf(copy), QByteArray::fromStdString(classFileText(ws.students)));
            QVERIFY(bytesOf(copy).contains(",77,"));
            QCOMPARE(QFile::permissions(copy) & ~(QFile::ReadUser | QFile::WriteUser),
                     QFile::ReadOwner | QFile::WriteOwner);
            QCOMPARE(QFile::permissions(folder) & (QFile::ReadGroup | QFile::ReadOther), 0);
            QVERIFY(leftCopies(folder).empty());  // its owner still runs

            // A save removes it; a sort that moves a student writes it again.
            markSaved(ws);
            keeper.keepUp();
            QVERIFY(!QFile::exists(copy));
            reorderClass(ws, [](std::vector<StudentRecord>& s) { std::swap(s[0], s[1]); });
            keeper.keepUp();
            keeper.waitForWrite();
            QVERIFY(bytesOf(copy).startsWith("ENG2D1-01,Brook,"));

            // A normal exit leaves nothing behind.
            keeper.discard();
            QVERIFY(QDir(folder).entryList(QDir::Files).isEmpty());
            noteChange(ws);
            keeper.keepUp();
            keeper.waitForWrite();
            copy = keeper.copyPath();
        }
        // The program ended without its exit: the copy is left for the next start.
        const std::vector<LeftCopy> left = leftCopies(folder);
        QCOMPARE(left.size(), std::size_t{1});
        QCOMPARE(left[0].path, copy);
    }

    void failedWriteIsRetriedUntilTheLatestChangeIsKept() {
        QTemporaryDir dir;
        const QString folder = dir.path() + "/recovery";
        Workspace ws;
        replaceClass(ws, twoStudents());
        QStatusBar bar;
        std::atomic<bool> diskFull{true};
        std::atomic<int> attempts{0};
        RecoveryKeeper keeper(ws, folder);
        keeper.setStatusLine([&bar] { return &bar; });
        keeper.setWriter([&](const std::string& path, const std::string& text) {
            ++attempts;
            return !diskFull && writeFileAtomically(path, text);
        });

        recordEdit(ws, 0);
        ws.students[0].mark = "51";
        keeper.keepUp();
        keeper.waitForWrite();
        QVERIFY(keeper.failing() && !keeper.upToDate());
        QCOMPARE(bar.currentMessage(), RecoveryKeeper::cannotWriteText());
        QCOMPARE(bar.currentMessage(), QString("The recovery copy could not be written; save the "
                                               "class to keep your changes."));
        // Nothing changed since, and still it is written again.
        keeper.keepUp();
        keeper.waitForWrite();
        QCOMPARE(attempts.load(), 2);
        QVERIFY(!QFile::exists(keeper.copyPath()));

        // The disk has room again: the next check writes the latest change,
        // typed while the disk was full, and the status line is clear.
        recordEdit(ws, 1);
        ws.students[1].mark = "52";
        diskFull = false;
        keeper.start();
        QTRY_VERIFY_WITH_TIMEOUT(bytesOf(keeper.copyPath()).contains(",52,"), 5000);
        QTRY_VERIFY(!keeper.failing());
        QVERIFY(bytesOf(keeper.copyPath()).contains(",51,"));
        QVERIFY(bar.currentMessage().isEmpty());

        // Another message in the status line stays when a copy is written.
        diskFull = true;
        noteChange(ws);
        keeper.keepUp();
        keeper.waitForWrite();
        QCOMPARE(bar.currentMessage(), RecoveryKeeper::cannotWriteText());
        bar.showMessage("Printed");
        diskFull = false;
        keeper.keepUp();
        keeper.waitForWrite();
        QVERIFY(keeper.upToDate());
        QCOMPARE(bar.currentMessage(), QString("Printed"));

        // A save while the copy cannot be written ends the warning.
        diskFull = true;
        noteChange(ws);
        keeper.keepUp();
        keeper.waitForWrite();
        markSaved(ws);
        keeper.keepUp();
        QVERIFY(!keeper.failing() && bar.currentMessage().isEmpty());
    }

    void restoredCopyGoesOnlyOnceThisProgramHoldsTheClass() {
        QTemporaryDir dir;
        const QString folder = dir.path() + "/recovery";
        QDir().mkpath(folder);
        const QString left = folder + "/class-1-1.tlc";
        QFile(left).open(QIODevice::WriteOnly);
        Workspace ws;
        std::atomic<bool> diskFull{true};
        RecoveryKeeper keeper(ws, folder);
        keeper.setWriter([&](const std::string& path, const std::string& text) {
            return !diskFull && writeFileAtomically(path, text);
        });
        restoreClass(ws, twoStudents());
        // Its own copy could not be written: the left one is the class's only copy on disk.
        QVERIFY(!keeper.takeOver(left));
        QVERIFY(QFile::exists(left));
        diskFull = false;
        QVERIFY(keeper.takeOver(left));
        QVERIFY(!QFile::exists(left));
        QCOMPARE(bytesOf(keeper.copyPath()), QByteArray::fromStdString(classFileText(ws.students)));
    }

    void copiesAreOfferedUnlessARunningProgramHoldsThem() {
        QTemporaryDir dir;
        const QString folder = dir.path();
        // A running program's copy.
        Workspace ws;
        restoreClass(ws, twoStudents());
        RecoveryKeeper running(ws, folder);
        running.keepUp();
        running.waitForWrite();
        // A copy whose lock names an ended program, and one without a lock.
        const QString stale = folder + "/class-2-2.tlc";
        QFile(stale).open(QIODevice::WriteOnly);
        const QByteArray ended = lockTextWith(folder + "/scratch.lock", 0, endedPid());
        QVERIFY(!ended.isEmpty());
        QFile lock(stale + ".lock");
        QVERIFY(lock.open(QIODevice::WriteOnly) && lock.write(ended) == ended.size());
        lock.close();
        const QString unlocked = folder + "/class-3-3.tlc";
        QFile(unlocked).open(QIODevice::WriteOnly);
        // A lock without a copy, from a program that ended.
        QFile orphan(folder + "/class-4-4.tlc.lock");
        QVERIFY(orphan.open(QIODevice::WriteOnly) && orphan.write(ended) == ended.size());
        orphan.close();

        const auto paths = [](const std::vector<LeftCopy>& copies) {
            QStringList names;
            for (const LeftCopy& copy : copies)
                names << QFileInfo(copy.path).fileName();
            names.sort();
            return names;
        };
        const QStringList offered = {"class-2-2.tlc", "class-3-3.tlc"};
        // A folder that cannot be written takes no lock: the lock file decides.
        QCOMPARE(paths(leftCopies(folder, [](const QString&) { return false; })), offered);
        QVERIFY(lockOwnerRunning(running.copyPath() + ".lock"));
        QVERIFY(!lockOwnerRunning(stale + ".lock"));
        QVERIFY(!lockOwnerRunning(unlocked + ".lock"));
        QCOMPARE(paths(leftCopies(folder)), offered);
        QVERIFY(!QFile::exists(folder + "/class-4-4.tlc.lock"));
        QVERIFY(QFile::exists(running.copyPath() + ".lock"));

        // The number of a running program that is not this one: its number was taken again.
        const QByteArray other = lockTextWith(folder + "/scratch.lock", 1, "someOtherProgram");
        QVERIFY(lock.open(QIODevice::WriteOnly | QIODevice::Truncate) && lock.write(other) > 0);
        lock.close();
        QVERIFY(!lockOwnerRunning(stale + ".lock"));
    }

    void questionGivesTheDateInEnglish() {
        const QLocale before;
        QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
        const QString december =
            restoreQuestion("ENG2D1-01", QDateTime(QDate(2026, 12, 8), QTime(21, 14)));
        const QString january =
            restoreQuestion("MTH1W1-02", QDateTime(QDate(2027, 1, 1), QTime(9, 5, 59)));
        QLocale::setDefault(before);
        QCOMPARE(december, QString("Tallyleaf was not closed properly. Restore the class ENG2D1-01 "
                                   "as it was at 21:14 on December 8, 2026?"));
        QCOMPARE(january, QString("Tallyleaf was not closed properly. Restore the class MTH1W1-02 "
                                  "as it was at 09:05 on January 1, 2027?"));
    }

    void crashedClassComesBackAndABadCopyIsSetAside() {
        TempSchool school;
        school.installTestLibrary();
        Locations here = school.locations();
        here.recoveryFolder = school.root() + "/recovery";
        const QString classFile = school.write(
            "home/eng.tlc", classLine("ENG2D1-01", "Avery", "Jo", "123456789", "") +
                                classLine("ENG2D1-01", "Brook", "Lee", "123456790", "61"));
        {
            Workspace ws;
            ScriptedPrompts prompts;
            frmEntry entry(ws, prompts, here);
            QVERIFY(loadWith(entry, "cmdCancel"));
            prompts.fileAnswers << classFile;
            control<QAction>(&entry, "mnuOpenClass")->trigger();
            settle();
            // Opened and not changed: no copy, checked after a keeper's check.
            QTest::qWait(2500);
            QVERIFY(copiesIn(here.recoveryFolder).isEmpty());
            typeKeys("88");
            pressKey(Qt::Key_Return);
            // Within a few seconds the copy holds the typed mark.
            QTRY_VERIFY_WITH_TIMEOUT(
                copiesIn(here.recoveryFolder).size() == 1 &&
                    bytesOf(here.recoveryFolder + "/" + copiesIn(here.recoveryFolder).first())
                        .contains(",88,"),
                6000);
        }  // ends without its exit, as in a crash
        const QString leftName = copiesIn(here.recoveryFolder).first();

        Workspace ws;
        ScriptedPrompts prompts;
        prompts.yesNoAnswers << true;
        frmEntry entry(ws, prompts, here);
        QVERIFY(loadWith(entry, "cmdCancel"));
        QCOMPARE(prompts.count(Kind::YesNo), 1);
        QVERIFY(QRegularExpression("^Tallyleaf was not closed properly\\. Restore the class "
                                   "ENG2D1-01 as it was at \\d\\d:\\d\\d on [A-Z][a-z]+ "
                                   "\\d{1,2}, \\d{4}\\?$")
                    .match(prompts.asked.last().text)
                    .hasMatch());
        QCOMPARE(prompts.asked.last().title, QString("Tallyleaf"));
        QVERIFY(prompts.messages().isEmpty());
        QCOMPARE(ws.students[0].mark + ws.students[1].mark, std::string("8861"));
        QCOMPARE(control<FlexGrid>(&entry, "msfgClass")->textMatrix(1, 3), QString("88"));
        QVERIFY(hasUnsavedChanges(ws));
        // This program keeps the restored class in a copy of its own; the left one is gone.
        const QStringList copies = copiesIn(here.recoveryFolder);
        QCOMPARE(copies.size(), 1);
        QVERIFY(copies.first() != leftName);

        // A copy that cannot be read is set aside, said once and never offered.
        school.write("recovery/class-1-1.tlc", "not a class\r\n");
        for (int start = 0; start < 2; ++start) {
            Workspace other;
            ScriptedPrompts asked;
            frmEntry again(other, asked, here);
            QVERIFY(loadWith(again, "cmdCancel"));
            QCOMPARE(asked.count(Kind::YesNo), 0);
            QCOMPARE(asked.messages(),
                     start == 0
                         ? QStringList{"TL23: A recovery copy could not be read. It was kept "
                                       "as class-1-1.tlc.unreadable."}
                         : QStringList{});
            if (start == 0) QCOMPARE(asked.asked.last().title, QString("Tallyleaf"));
        }
        QVERIFY(QFile::exists(here.recoveryFolder + "/class-1-1.tlc.unreadable"));
    }

    void statusLineSaysWhileNoCopyCanBeWritten() {
        TempSchool school;
        school.installTestLibrary();
        Locations here = school.locations();
        // A file where the recovery folder's parent should be: no copy can be
        // written, whoever runs the test.
        const QString blocker = school.write("blocked", "a file");
        here.recoveryFolder = blocker + "/recovery";
        const QString classFile = school.write(
            "home/eng.tlc", classLine("ENG2D1-01", "Avery", "Jo", "123456789", "") +
                                classLine("ENG2D1-01", "Brook", "Lee", "123456790", "61"));
        Workspace ws;
        ScriptedPrompts prompts;
        frmEntry entry(ws, prompts, here);
        QVERIFY(loadWith(entry, "cmdCancel"));
        prompts.fileAnswers << classFile;
        control<QAction>(&entry, "mnuOpenClass")->trigger();
        settle();
        typeKeys("73");
        pressKey(Qt::Key_Return);
        QTRY_COMPARE_WITH_TIMEOUT(entry.statusBar()->currentMessage(),
                                  RecoveryKeeper::cannotWriteText(), 5000);
        QVERIFY(prompts.messages().isEmpty());  // no message box

        // Room again: the next attempt writes the mark and the status line clears.
        QVERIFY(QFile::remove(blocker));
        QTRY_VERIFY_WITH_TIMEOUT(copiesIn(here.recoveryFolder).size() == 1, 5000);
        QTRY_VERIFY(entry.statusBar()->currentMessage().isEmpty());
        QVERIFY(bytesOf(here.recoveryFolder + "/" + copiesIn(here.recoveryFolder).first())
                    .contains(",73,"));
    }

    // A real read-only folder; skipped where permissions do not stop a write.
    void copyInAReadOnlyFolderIsRestoredAndLeftThere() {
        TempSchool school;
        school.installTestLibrary();
        Locations here = school.locations();
        here.recoveryFolder = school.root() + "/recovery";
        const QString left = school.write("recovery/class-5-5.tlc",
                                          classLine("ENG2D1-01", "Avery", "Jo", "123456789", "64"));
        if (!makeReadOnly(here.recoveryFolder)) QSKIP("permissions do not stop this user's writes");
        Workspace ws;
        ScriptedPrompts prompts;
        prompts.yesNoAnswers << true;
        frmEntry entry(ws, prompts, here);
        QVERIFY(loadWith(entry, "cmdCancel"));
        QFile::setPermissions(here.recoveryFolder,
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(prompts.count(Kind::YesNo), 1);
        QCOMPARE(ws.students[0].mark, std::string("64"));
        QCOMPARE(prompts.messages(), QStringList{"TL24: The recovery copy " + left +
                                                 " could not be removed. Delete it by hand once "
                                                 "the class is saved."});
        QVERIFY(QFile::exists(left));
        QCOMPARE(entry.statusBar()->currentMessage(), RecoveryKeeper::cannotWriteText());
    }
};

QTEST_MAIN(RecoveryTest)
#include "tst_recovery.moc"
