// The recovery copy of the open class: kept while changes are unsaved, gone
// after a save or a normal exit, offered again after a crash.
#include "core/class_document.h"
#include "core/class_file.h"
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

            // A class built or opened is unsaved: the copy holds its text, for the user alone.
            replaceClass(ws, twoStudents());
            keeper.keepUp();
            keeper.waitForWrite();
            copy = keeper.copyPath();
            QCOMPARE(bytesOf(copy), QByteArray::fromStdString(classFileText(ws.students)));
            QCOMPARE(QFile::permissions(copy) & ~(QFile::ReadUser | QFile::WriteUser),
                     QFile::ReadOwner | QFile::WriteOwner);
            QVERIFY(leftCopies(folder).empty());  // its owner still runs

            // A save removes it; the next edit writes it again.
            markSaved(ws);
            keeper.keepUp();
            QVERIFY(!QFile::exists(copy));
            recordEdit(ws, 1);
            ws.students[1].mark = "77";
            keeper.keepUp();
            keeper.waitForWrite();
            QVERIFY(bytesOf(copy).contains(",77,"));

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
            typeKeys("88");
            pressKey(Qt::Key_Return);
            // Within a few seconds the copy holds the typed mark.
            QTRY_VERIFY_WITH_TIMEOUT(
                QDir(here.recoveryFolder).entryList({"*.tlc"}).size() == 1 &&
                    bytesOf(here.recoveryFolder + "/" +
                            QDir(here.recoveryFolder).entryList({"*.tlc"}).first())
                        .contains(",88,"),
                6000);
        }  // ends without its exit, as in a crash

        Workspace ws;
        ScriptedPrompts prompts;
        prompts.yesNoAnswers << true;
        frmEntry entry(ws, prompts, here);
        QVERIFY(loadWith(entry, "cmdCancel"));
        QVERIFY(prompts.asked.last().text.startsWith(
            "Tallyleaf was not closed properly. Restore the class ENG2D1-01 as it was at "));
        QCOMPARE(prompts.asked.last().title, QString("Tallyleaf"));
        QCOMPARE(ws.students[0].mark + ws.students[1].mark, std::string("8861"));
        QCOMPARE(control<FlexGrid>(&entry, "msfgClass")->textMatrix(1, 3), QString("88"));
        QVERIFY(hasUnsavedChanges(ws));

        // A copy that cannot be read is renamed aside and not offered.
        school.write("recovery/class-1-1.tlc", "not a class\r\n");
        Workspace other;
        ScriptedPrompts asked;
        frmEntry again(other, asked, here);
        QVERIFY(loadWith(again, "cmdCancel"));
        QCOMPARE(asked.count(Kind::YesNo), 0);
        QVERIFY(QFile::exists(here.recoveryFolder + "/class-1-1.tlc.unreadable"));
    }
};

QTEST_MAIN(RecoveryTest)
#include "tst_recovery.moc"
