#include "core/file_io.h"

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <tuple>

#include "core/class_file.h"
#include "core/favourites_file.h"
#include "core/test_support.h"
#include "core/workspace.h"
#include "export/efile.h"

namespace tl::test {
namespace {

class FileIoTest : public TempDirTest {
  protected:
    // How many entries the folder holds: a left-behind temporary file shows here.
    long entries() const { return std::distance(fs::directory_iterator(dir()), {}); }
};

TEST_F(FileIoTest, ReadsEveryByte) {
    const std::string bytes("a\r\nb\0c\xE9\r", 8);
    writeBytes(dir() / "f.bin", bytes);
    EXPECT_EQ(readWholeFile(file("f.bin")), bytes);
    writeBytes(dir() / "empty", "");
    EXPECT_EQ(readWholeFile(file("empty")), "");
    EXPECT_FALSE(readWholeFile(file("missing")).has_value());
    EXPECT_FALSE(readWholeFile(dir().string()).has_value());
    EXPECT_TRUE(isRegularFile(file("f.bin")));
    EXPECT_FALSE(isRegularFile(dir().string()));
    EXPECT_FALSE(isRegularFile(file("missing")));
}

TEST_F(FileIoTest, AtomicWriteReplacesTheFileAndKeepsItsPermissions) {
    for (const std::string& bytes :
         {std::string("first, longer content\r\n"), std::string("x\0y", 3), std::string()}) {
        ASSERT_EQ(replaceFile(file("f.txt"), bytes), WriteOutcome::Written);
        EXPECT_EQ(readBytes(dir() / "f.txt"), bytes);
    }
    const auto ownerOnly = fs::perms::owner_read | fs::perms::owner_write;
    fs::permissions(dir() / "f.txt", ownerOnly);
    ASSERT_TRUE(writeFileAtomically(file("f.txt"), "later"));
    EXPECT_EQ(readBytes(dir() / "f.txt"), "later");
    EXPECT_EQ(fs::status(dir() / "f.txt").permissions() & fs::perms::all, ownerOnly);
    EXPECT_EQ(entries(), 1) << "a temporary file was left behind";
}

TEST_F(FileIoTest, AWriteThatCannotStartChangesNothing) {
    EXPECT_EQ(replaceFile(file("no/such/f.txt"), "data"), WriteOutcome::NotWritten);
    writeBytes(dir() / "plain", "plain file");
    EXPECT_FALSE(writeFileAtomically(file("plain/f.txt"), "data"));
    EXPECT_EQ(readBytes(dir() / "plain"), "plain file");
    fs::create_directory(dir() / "target");
    EXPECT_EQ(replaceFile(file("target"), "data"), WriteOutcome::NotWritten);
    EXPECT_TRUE(fs::is_directory(dir() / "target"));
}

// Failing system calls for the atomic writer. The sync doubles fail only for
// a folder or only for a file, as a disk does after the rename or before it.
int failWith(int error) {
    errno = error;
    return -1;
}
bool isFolder(int fd) {
    struct stat st {};
    return ::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode);
}
long writeNothing(int, const void*, std::size_t) {
    return 0;
}
int fileSyncFails(int fd) {
    return isFolder(fd) ? ::fsync(fd) : failWith(EIO);
}
int folderSyncFails(int fd) {
    return isFolder(fd) ? failWith(EIO) : ::fsync(fd);
}
int folderSyncUnsupported(int fd) {
    return isFolder(fd) ? failWith(EINVAL) : ::fsync(fd);
}
int renameFails(const char*, const char*) {
    return failWith(EXDEV);
}

// Each file procedure over an earlier file while one system call fails: it
// reports what is true, and a failure leaves the earlier file and no
// temporary file behind.
TEST_F(FileIoTest, EveryWriterReportsWhatTheDiskDid) {
    const std::vector<StudentRecord> cls = {
        makeMarkedStudent("MPM2D1-01", "Aaberg", "Ann", "312000002")};
    Workspace ws;
    ws.initialValues = defaultRanges();
    ws.favourites = {"0012"};
    ws.favouritesFile = file("mine.tlf");
    struct Writer {
        std::string name;
        std::function<SaveResult()> save;
        std::string bytes;
        Notice notWritten;
    };
    const Writer writers[] = {
        {"MPM2D101.tlc", [&] { return saveClass(file("MPM2D101.tlc"), cls); }, classFileText(cls),
         msg::tl19ClassNotSaved()},
        {"mine.tlf", [&] { return writeFavouritesFile(ws); },
         favouritesFileText(ws.initialValues, ws.favourites), msg::tl18FavouritesNotSaved()},
        {"MPM2D101.trc", [&] { return exportTrilliumClass(file("MPM2D101.trc"), cls, {}); },
         eFileText(cls, {}), msg::tl20EFileNotSaved()}};
    struct Fault {
        const char* what;
        WriteCall write;
        SyncCall sync;
        RenameCall rename;
        WriteOutcome outcome;
    };
    const Fault faults[] = {
        {"none", writeCall, syncCall, renameCall, WriteOutcome::Written},
        {"a disk that takes nothing", writeNothing, syncCall, renameCall, WriteOutcome::NotWritten},
        {"the file's sync", writeCall, fileSyncFails, renameCall, WriteOutcome::NotWritten},
        {"the rename", writeCall, syncCall, renameFails, WriteOutcome::NotWritten},
        {"the folder's sync", writeCall, folderSyncFails, renameCall, WriteOutcome::Unconfirmed},
        {"a folder that cannot be synced", writeCall, folderSyncUnsupported, renameCall,
         WriteOutcome::Written}};
    const Fault real = faults[0];
    for (const Writer& writer : writers) {
        for (const Fault& fault : faults) {
            SCOPED_TRACE(writer.name + ", " + fault.what);
            writeBytes(dir() / writer.name, "earlier\r\n");
            const long before = entries();
            std::tie(writeCall, syncCall, renameCall) =
                std::tie(fault.write, fault.sync, fault.rename);
            const SaveResult result = writer.save();
            std::tie(writeCall, syncCall, renameCall) =
                std::tie(real.write, real.sync, real.rename);

            EXPECT_EQ(result.outcome, fault.outcome);
            EXPECT_EQ(readBytes(dir() / writer.name),
                      result.written() ? writer.bytes : "earlier\r\n");
            EXPECT_EQ(entries(), before) << "a temporary file was left behind";
            const Failure notice = fault.outcome == WriteOutcome::Written ? Failure()
                                   : result.written() ? msg::tl25WrittenUnconfirmed(writer.name)
                                                      : writer.notWritten;
            EXPECT_EQ(result.notice, notice);
        }
    }
}

// Under a file-size limit (ulimit -f) a write past it would end the program
// with SIGXFSZ; the program ignores the signal at start, so the save fails
// with its own message and leaves no temporary file. In a child process, as
// the limit and the signal are the process's.
TEST_F(FileIoTest, AFileSizeLimitFailsTheSaveInsteadOfEndingTheProgram) {
    std::vector<StudentRecord> cls(40, makeMarkedStudent("MPM2D1-01", "Aaberg", "Ann", "1"));
    writeBytes(dir() / "c.tlc", "earlier\r\n");
    const pid_t child = ::fork();
    if (child == 0) {
        ignoreFileSizeSignal();
        rlimit limit{};
        ::getrlimit(RLIMIT_FSIZE, &limit);
        limit.rlim_cur = 1024;
        const bool limited = ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
        ::_exit(limited && saveClass(file("c.tlc"), cls).notice == msg::tl19ClassNotSaved() ? 0
                                                                                            : 1);
    }
    int status = -1;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(readBytes(dir() / "c.tlc"), "earlier\r\n");
    EXPECT_EQ(entries(), 1) << "a temporary file was left behind";
}

}  // namespace
}  // namespace tl::test
