// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "core/notice.h"

namespace tl {

// The whole content of a file, or nothing when it cannot be read.
std::optional<std::string> readWholeFile(const std::string& path);

// What an atomic write did.
enum class WriteOutcome {
    Written,
    // The new file is in place, but the sync of its folder failed: a power
    // cut may still lose the new name.
    Unconfirmed,
    // The earlier file stays as it was.
    NotWritten,
};

// Writes bytes into a temporary file beside path, flushes it, renames it over
// path and syncs the folder. A failed write removes its temporary file.
WriteOutcome replaceFile(const std::string& path, std::string_view bytes);

// replaceFile, true when the new file is in place (Written or Unconfirmed).
bool writeFileAtomically(const std::string& path, std::string_view bytes);

// What a file procedure did, and what the teacher is told: nothing when the
// file was written, TL25 when the disk did not confirm it, the file's own
// message when it was not written.
struct SaveResult {
    WriteOutcome outcome = WriteOutcome::NotWritten;
    Failure notice;
    // The new file is in place: the class counts as saved.
    bool written() const { return outcome != WriteOutcome::NotWritten; }
};

// replaceFile with the message of each outcome; notWritten is the file's own.
SaveResult saveBytes(const std::string& path, std::string_view bytes, const Notice& notWritten);

// The system calls of the atomic writer; tests put failing ones in their place.
using WriteCall = long (*)(int fd, const void* data, std::size_t size);
using SyncCall = int (*)(int fd);  // the file's and the folder's fsync
using RenameCall = int (*)(const char* from, const char* to);
extern WriteCall writeCall;
extern SyncCall syncCall;
extern RenameCall renameCall;

// A write past the file-size limit (ulimit -f) fails with EFBIG instead of
// ending the program with SIGXFSZ. Called once at start.
void ignoreFileSizeSignal();

// True when path names an existing regular file.
bool isRegularFile(const std::string& path);

}  // namespace tl
