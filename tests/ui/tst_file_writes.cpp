// The windows act on what a write did: a file whose folder the disk did not
// confirm (TL25) counts as saved and the command goes on.
#include <sys/stat.h>

#include <cerrno>

#include "core/class_document.h"
#include "core/class_file.h"
#include "core/file_io.h"
#include "core/messages.h"
#include "selection/frm_selection.h"
#include "ui/ui_support.h"

using namespace tl;
using namespace tl::test;

namespace {

int folderSyncFails(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISDIR(st.st_mode)) return ::fsync(fd);
    errno = EIO;
    return -1;
}

// Runs a command while the disk does not confirm a folder.
void unconfirmed(const std::function<void()>& command) {
    const SyncCall sync = syncCall;
    syncCall = folderSyncFails;
    command();
    syncCall = sync;
}

QString tl25(const std::string& fileName) {
    return toQString(msg::tl25WrittenUnconfirmed(fileName).text);
}

}  // namespace

class FileWritesTest : public QObject {
    Q_OBJECT
  private slots:
    void unconfirmedClassSaveCountsAsSaved() {
        Desk desk;
        desk.open(desk.file("eng.tlc", classOfSize(3)));
        typeMark(desk, 1, "88");
        QVERIFY(hasUnsavedChanges(desk.ws));
        desk.prompts.fileAnswers << desk.home("kept");
        unconfirmed([&] { click(desk.btn("cmdSave")); });
        QCOMPARE(desk.prompts.messages(), QStringList{tl25("kept.tlc")});
        QVERIFY(!hasUnsavedChanges(desk.ws));
        QCOMPARE(contents(desk.home("kept.tlc")),
                 QByteArray::fromStdString(classFileText(desk.ws.students)));
    }

    void favouritesSavePromptGoesOnAfterTL25() {
        Desk desk({}, " 0 \r\n0004\r\n0101\r\n");
        click(desk.btn("cmdSwitchCommentSelection"));
        auto* w = openWindow<frmSelection>("frmSelection");
        QVERIFY(w != nullptr);
        // New asks to save the named list first, then starts the new list.
        desk.prompts.yesNoAnswers << true;
        unconfirmed([&] { press(w, "cmdNew"); });
        QCOMPARE(desk.prompts.messages(), QStringList{tl25("start.tlf")});
        QVERIFY(desk.ws.favouritesFile.empty() && desk.ws.favourites.empty());
        press(w, "cmdBack");
    }
};

QTEST_MAIN(FileWritesTest)
#include "tst_file_writes.moc"
