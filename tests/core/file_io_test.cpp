// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/file_io.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <tuple>

#include "core/class_file.h"
#include "core/test_support.h"
#include "export/efile.h"

namespace tl::test {
namespace {

class FileIoTest : public TempDirTest {
  protected:
    // How many entries the folder holds: a left-behind temporary file shows here.
    long entries() const { return std::distance(fs::directory_iterator(dir()), {}); }
};

TEST_F(FileIoTest, ReadsEveryByteAndReplacesTheFileKeepingItsPermissions) {
    EXPECT_FALSE(readWholeFile(file("missing")) || readWholeFile(dir().string()));
    EXPECT_TRUE(!isRegularFile(dir().string()) && !isRegularFile(file("missing")));
    for (const std::string& bytes : {std::string("a\r\nb\0c\xE9\r", 8), std::string()}) {
        ASSERT_EQ(replaceFile(file("f.txt"), bytes), WriteOutcome::Written);
        EXPECT_EQ(readWholeFile(file("f.txt")), bytes);
    }
    EXPECT_TRUE(isRegularFile(file("f.txt")));
    const auto ownerOnly = fs::perms::owner_read | fs::perms::owner_write;
    fs::permissions(dir() / "f.txt", ownerOnly);
    ASSERT_TRUE(writeFileAtomically(file("f.txt"), "later"));
    EXPECT_EQ(readBytes(dir() / "f.txt"), "later");
    EXPECT_EQ(fs::status(dir() / "f.txt").permissions() & fs::perms::all, ownerOnly);
    EXPECT_EQ(entries(), 1) << "a temporary file was left behind";
    // A write that cannot start changes nothing.
    fs::create_directory(dir() / "target");
    EXPECT_EQ(replaceFile(file("target"), "data"), WriteOutcome::NotWritten);
    EXPECT_FALSE(writeFileAtomically(file("f.txt/g.txt"), "data"));
    EXPECT_TRUE(fs::is_directory(dir() / "target") && readBytes(dir() / "f.txt") == "later");
}

// A sync that fails for a folder or for a file, as a disk does after the
// rename or before it.
int failWith(int error) {
    errno = error;
    return -1;
}
bool isFolder(int fd) {
    struct stat st {};
    return ::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode);
}

// Each file procedure over an earlier file while one system call fails: it
// reports what is true, and a failure leaves the earlier file and no
// temporary file behind. The favourites file's own message: tst_favourites_commands.
TEST_F(FileIoTest, EveryWriterReportsWhatTheDiskDid) {
    const std::vector<StudentRecord> cls = {
        makeMarkedStudent("MPM2D1-01", "Aaberg", "Ann", "312000002")};
    // The file, its writer, the bytes it writes and the notice when it is not written.
    const std::tuple<std::string, std::function<SaveResult()>, std::string, Notice> writers[] = {
        {"MPM2D101.tlc", [&] { return saveClass(file("MPM2D101.tlc"), cls); }, classFileText(cls),
         msg::tl19ClassNotSaved()},
        {"MPM2D101.trc", [&] { return exportTrilliumClass(file("MPM2D101.trc"), cls, {}); },
         eFileText(cls, {}), msg::tl20EFileNotSaved()}};
    const WriteCall write = writeCall;
    const SyncCall sync = syncCall;
    const RenameCall rename = renameCall;
    const std::tuple<const char*, WriteCall, SyncCall, RenameCall, WriteOutcome> faults[] = {
        {"none", write, sync, rename, WriteOutcome::Written},
        // A write past a file-size limit fails (the program ignores SIGXFSZ) as this one does.
        {"a disk that takes nothing", +[](int, const void*, std::size_t) { return 0L; }, sync,
         rename, WriteOutcome::NotWritten},
        {"the file's sync", write,
         +[](int fd) { return isFolder(fd) ? ::fsync(fd) : failWith(EIO); }, rename,
         WriteOutcome::NotWritten},
        {"the rename", write, sync, +[](const char*, const char*) { return failWith(EXDEV); },
         WriteOutcome::NotWritten},
        {"the folder's sync", write,
         +[](int fd) { return isFolder(fd) ? failWith(EIO) : ::fsync(fd); }, rename,
         WriteOutcome::Unconfirmed},
        {"a folder that cannot be synced", write,
         +[](int fd) { return isFolder(fd) ? failWith(EINVAL) : ::fsync(fd); }, rename,
         WriteOutcome::Written}};
    for (const auto& [name, save, bytes, notWritten] : writers) {
        for (const auto& [what, faultyWrite, faultySync, faultyRename, outcome] : faults) {
            SCOPED_TRACE(name + ", " + what);
            writeBytes(dir() / name, "earlier\r\n");
            const long before = entries();
            std::tie(writeCall, syncCall, renameCall) =
                std::tie(faultyWrite, faultySync, faultyRename);
            const SaveResult result = save();
            std::tie(writeCall, syncCall, renameCall) = std::tie(write, sync, rename);

            EXPECT_EQ(result.outcome, outcome);
            EXPECT_EQ(readBytes(dir() / name), result.written() ? bytes : "earlier\r\n");
            EXPECT_EQ(entries(), before) << "a temporary file was left behind";
            EXPECT_EQ(result.notice, outcome == WriteOutcome::Written ? Failure()
                                     : result.written() ? msg::tl25WrittenUnconfirmed(name)
                                                        : notWritten);
        }
    }
}

}  // namespace
}  // namespace tl::test
