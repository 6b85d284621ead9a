// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>
#include <string>
#include <string_view>

// The text of the data files the program reads: the class file, the
// favourites file, the phrase library and the enrolment file.
namespace tl {

// The file's bytes as Windows-1252 text. A file that begins with the UTF-8
// byte-order mark is UTF-8: the mark is dropped and the text converted (a
// character Windows-1252 lacks becomes "?"). The bytes EF BB BF are dropped
// wherever else they stand (a mark pasted inside, U+FEFF in UTF-8), so that
// no text read can begin a written file with a byte-order mark. Nothing when
// the bytes hold a NUL, or when the mark is followed by bytes that are not UTF-8.
std::optional<std::string> decodeDataFile(std::string_view bytes);

// The decoded text of the file at path, or nothing when it cannot be read or
// decoded.
std::optional<std::string> readDataFile(const std::string& path);

}  // namespace tl
