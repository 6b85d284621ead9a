#include "core/file_io.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/test_support.h"

namespace tl {
namespace {

namespace fs = std::filesystem;
using test::readBytes;
using test::writeBytes;

class FileIoTest : public test::TempDirTest {
  protected:
    std::size_t entries() const {
        std::size_t count = 0;
        for ([[maybe_unused]] const auto& entry : fs::directory_iterator(dir()))
            ++count;
        return count;
    }
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

TEST_F(FileIoTest, AtomicWriteCreatesAndReplaces) {
    ASSERT_TRUE(writeFileAtomically(file("f.txt"), "first, longer content\r\n"));
    EXPECT_EQ(readBytes(dir() / "f.txt"), "first, longer content\r\n");
    ASSERT_TRUE(writeFileAtomically(file("f.txt"), std::string("x\0y", 3)));
    EXPECT_EQ(readBytes(dir() / "f.txt"), std::string("x\0y", 3));
    ASSERT_TRUE(writeFileAtomically(file("f.txt"), ""));
    EXPECT_EQ(readBytes(dir() / "f.txt"), "");
    EXPECT_EQ(entries(), 1u) << "a temporary file was left behind";
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
    {
        test::FileSizeLimit limit(64);
        EXPECT_FALSE(writeFileAtomically(file("f.txt"), std::string(4096, 'n')));
    }
    EXPECT_EQ(readBytes(dir() / "f.txt"), "earlier");
    EXPECT_EQ(entries(), 3u) << "a temporary file was left behind";
}

}  // namespace
}  // namespace tl

namespace tl {
namespace {

TEST_F(FileIoTest, ReplacedFileKeepsItsPermissions) {
    writeBytes(dir() / "private.tlc", "earlier");
    fs::permissions(dir() / "private.tlc", fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(writeFileAtomically(file("private.tlc"), "later"));
    EXPECT_EQ(readBytes(dir() / "private.tlc"), "later");
    EXPECT_EQ(fs::status(dir() / "private.tlc").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}

}  // namespace
}  // namespace tl
