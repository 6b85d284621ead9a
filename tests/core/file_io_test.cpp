#include "core/file_io.h"

#include <signal.h>
#include <sys/resource.h>

#include "core/test_support.h"

namespace tl::test {
namespace {

// Runs write while files of this process cannot grow beyond the given size: a write
// fails even for root, for whom a read-only file is no obstacle.
void withFileSizeLimit(unsigned long bytes, const std::function<void()>& write) {
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit previous = limit;
    auto* previousHandler = signal(SIGXFSZ, SIG_IGN);  // a too-long write fails with EFBIG instead
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
    write();
    setrlimit(RLIMIT_FSIZE, &previous);
    signal(SIGXFSZ, previousHandler);
}

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
        ASSERT_TRUE(writeFileAtomically(file("f.txt"), bytes));
        EXPECT_EQ(readBytes(dir() / "f.txt"), bytes);
    }
    const auto ownerOnly = fs::perms::owner_read | fs::perms::owner_write;
    fs::permissions(dir() / "f.txt", ownerOnly);
    ASSERT_TRUE(writeFileAtomically(file("f.txt"), "later"));
    EXPECT_EQ(readBytes(dir() / "f.txt"), "later");
    EXPECT_EQ(fs::status(dir() / "f.txt").permissions() & fs::perms::all, ownerOnly);
    EXPECT_EQ(entries(), 1) << "a temporary file was left behind";
}

TEST_F(FileIoTest, FailedWriteChangesNothing) {
    EXPECT_FALSE(writeFileAtomically(file("no/such/f.txt"), "data"));
    writeBytes(dir() / "plain", "plain file");
    EXPECT_FALSE(writeFileAtomically(file("plain/f.txt"), "data"));
    EXPECT_EQ(readBytes(dir() / "plain"), "plain file");
    fs::create_directory(dir() / "target");
    EXPECT_FALSE(writeFileAtomically(file("target"), "data"));
    EXPECT_TRUE(fs::is_directory(dir() / "target"));
    writeBytes(dir() / "f.txt", "earlier");
    bool written = true;
    withFileSizeLimit(
        64, [&] { written = writeFileAtomically(file("f.txt"), std::string(4096, 'n')); });
    EXPECT_FALSE(written);
    EXPECT_EQ(readBytes(dir() / "f.txt"), "earlier");
    EXPECT_EQ(entries(), 3) << "a temporary file was left behind";
    // A disk that takes nothing: saveWhileWritesFail, for each writer's own message.
}

}  // namespace
}  // namespace tl::test
