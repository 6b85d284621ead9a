// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "core/file_io.h"
#include "core/notice.h"
#include "core/phrase_library.h"

// The favourites file (.tlf): the range count, the mark ranges, then one
// favourites entry (code or four-blank separator) per line.
namespace tl {

struct Workspace;

struct InitialValueRange {
    int lowMark = 0;
    int highMark = 0;
    std::array<std::string, 3> codes;   // CM1..CM3, "" or four blanks = none
    std::array<std::string, 6> skills;  // RE, OR, IW, CO, IN, SR
    bool operator==(const InitialValueRange&) const = default;
};

// The filter of the file dialogs that open and save favourites files.
inline constexpr const char* kFavouritesFilter = "Tallyleaf Favourites (*.tlf)|*.tlf";

// An entry that is a separator (four blanks) rather than a code.
bool isSeparatorEntry(std::string_view entry);

// The seven ranges of a new favourites list.
std::vector<InitialValueRange> defaultRanges();

// Starts a new, unnamed list with the default ranges.
void newFavourites(Workspace& ws);

// Reads ws.favouritesFile into the ranges and favourites (TL16, TL17). Codes
// the phrase library lacks are dropped. On TL16 the name is cleared.
Failure readFavouritesFile(Workspace& ws);

// Writes the ranges and favourites to ws.favouritesFile atomically: TL18 when
// it cannot be written, TL25 when the disk did not confirm it.
SaveResult writeFavouritesFile(const Workspace& ws);

// Appends the favourites entries of another favourites file, up to the limit
// of 1000 entries; the ranges are not touched.
Failure addFavouritesFromFile(Workspace& ws, const std::string& path);

// The text of a favourites file for these tables.
std::string favouritesFileText(const std::vector<InitialValueRange>& ranges,
                               const std::vector<std::string>& favourites);

}  // namespace tl
