// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/file_io.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/messages.h"

namespace tl {

namespace fs = std::filesystem;

std::optional<std::string> readWholeFile(const std::string& path) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::string bytes;
    // Room for the whole file at once, so that it is not copied as it grows;
    // a file that grows meanwhile is still read to its end.
    constexpr std::uintmax_t kReserveAtMost = 256u << 20;
    const std::uintmax_t size = fs::file_size(path, ec);
    if (!ec) bytes.reserve(static_cast<std::size_t>(std::min(size, kReserveAtMost)));
    char buffer[65536];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0) {
        bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
        if (in.eof()) break;
    }
    if (in.bad()) return std::nullopt;
    return bytes;
}

namespace {
long systemWrite(int fd, const void* data, std::size_t size) {
    return ::write(fd, data, size);
}

int systemSync(int fd) {
    return ::fsync(fd);
}

int systemRename(const char* from, const char* to) {
    return std::rename(from, to);
}

// Makes a rename in folder survive a power cut. Only a failing disk counts as
// a failure: some file systems cannot sync a folder at all.
bool syncFolder(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd < 0) return true;
    const bool ok = syncCall(fd) == 0 || (errno != EIO && errno != ENOSPC && errno != EDQUOT);
    ::close(fd);
    return ok;
}
}  // namespace

WriteCall writeCall = systemWrite;
SyncCall syncCall = systemSync;
RenameCall renameCall = systemRename;

WriteOutcome replaceFile(const std::string& path, std::string_view bytes) {
    const fs::path target(path);
    fs::path folder = target.parent_path();
    if (folder.empty()) folder = ".";
    std::error_code ec;
    if (fs::is_directory(target, ec)) return WriteOutcome::NotWritten;

    static std::mt19937_64 names{std::random_device{}()};
    fs::path temp;
    int fd = -1;
    for (int attempt = 0; attempt < 20 && fd < 0; ++attempt) {
        temp = folder / ("." + target.filename().string() + "." +
                         std::to_string(names() % 1000000) + ".tmp");
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0644);
        if (fd < 0 && errno != EEXIST) return WriteOutcome::NotWritten;
    }
    if (fd < 0) return WriteOutcome::NotWritten;

    // A replaced file keeps its permissions.
    struct stat existing {};
    if (::stat(target.c_str(), &existing) == 0) ::fchmod(fd, existing.st_mode & 07777);

    bool ok = true;
    std::size_t written = 0;
    while (ok && written < bytes.size()) {
        const long n = writeCall(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            // A write that takes nothing would never finish; past the
            // file-size limit it fails with EFBIG.
            ok = false;
        } else {
            written += static_cast<std::size_t>(n);
        }
    }
    if (ok && syncCall(fd) != 0) ok = false;
    if (::close(fd) != 0) ok = false;
    if (ok && renameCall(temp.c_str(), target.c_str()) != 0) ok = false;
    if (!ok) {
        fs::remove(temp, ec);
        return WriteOutcome::NotWritten;
    }
    // The new name is on disk only once the folder is.
    return syncFolder(folder) ? WriteOutcome::Written : WriteOutcome::Unconfirmed;
}

bool writeFileAtomically(const std::string& path, std::string_view bytes) {
    return replaceFile(path, bytes) != WriteOutcome::NotWritten;
}

SaveResult saveBytes(const std::string& path, std::string_view bytes, const Notice& notWritten) {
    SaveResult result;
    result.outcome = replaceFile(path, bytes);
    if (result.outcome == WriteOutcome::NotWritten) result.notice = notWritten;
    if (result.outcome == WriteOutcome::Unconfirmed) {
        result.notice = msg::tl25WrittenUnconfirmed(fs::path(path).filename().string());
    }
    return result;
}

void ignoreFileSizeSignal() {
    std::signal(SIGXFSZ, SIG_IGN);
}

bool isRegularFile(const std::string& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

}  // namespace tl
