#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tl {

// The whole content of a file, or nothing when it cannot be read.
std::optional<std::string> readWholeFile(const std::string& path);

// Writes bytes into a temporary file beside path, flushes it and renames it
// over path. On failure the earlier file stays as it was and false is returned.
bool writeFileAtomically(const std::string& path, std::string_view bytes);

// The write call of the atomic writer; tests put a failing one in its place.
using WriteCall = long (*)(int fd, const void* data, std::size_t size);
extern WriteCall writeCall;

// True when path names an existing regular file.
bool isRegularFile(const std::string& path);

}  // namespace tl
