// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/favourites_file.h"

// The edits of the favourites list in the Comment Selection window, without
// Qt. Rows count from 0 and follow the entries; -1 is no selection. Each edit
// works on the entries themselves and returns the row to select.
namespace tl {

// Inserts code after the selected row, or at the end without a selection, and
// returns its row; nothing when the list is full (1000 entries).
std::optional<int> insertFavourite(std::vector<std::string>& entries, int selected,
                                   std::string_view code);

// insertFavourite with the separator entry (four blanks).
std::optional<int> insertSeparator(std::vector<std::string>& entries, int selected);

// Removes the selected entry. The row that now holds its place is selected,
// the new last row when the last was removed, none when the list is empty.
int removeFavourite(std::vector<std::string>& entries, int selected);

// Moves the selected entry one row up or down; nothing at the ends.
int moveFavouriteUp(std::vector<std::string>& entries, int selected);
int moveFavouriteDown(std::vector<std::string>& entries, int selected);

// A drag: the entry at from is taken out and inserted at to, the entries in
// between shift by one. Returns the new dragged row (from when out of range).
int moveFavourite(std::vector<std::string>& entries, int from, int to);

}  // namespace tl
