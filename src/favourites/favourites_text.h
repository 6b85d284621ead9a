// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <string>
#include <vector>

#include "core/favourites_file.h"
#include "core/phrase_library.h"

// The texts the favourites are shown and printed in, without Qt: the items of
// the favourites lists and the lines of a mark range with its codes.
namespace tl {

// The last item of the lists beside the grids; it stamps four blanks.
inline constexpr const char* kNoCommentItem = "           no comment (delete existing comment)";

// A favourites list's item of an entry: the code, one blank and its phrase
// text, or the dashed line of a separator.
std::string favouriteItemText(const std::vector<Phrase>& phrases, const std::string& entry);

// The favourites list beside a grid: each entry's item, then the "no comment" item.
std::vector<std::string> favouritesListItems(const std::vector<std::string>& favourites,
                                             const std::vector<Phrase>& phrases);

// Where the code column of a range's lines begins, after the marks column; a
// line too wide for its panel goes on there.
inline constexpr int kDetailCodeColumn = 8;

// The three lines of a range in a fixed-pitch font: "Range", its marks and
// blanks down the left, a code with its phrase in each line, and the skills
// under their headings on the right.
std::array<std::string, 3> rangeDetailLines(const InitialValueRange& range,
                                            const std::vector<Phrase>& phrases);

// A range as the printouts give it: its three lines after three blanks, then
// a line of one blank.
std::array<std::string, 4> printedRangeLines(const InitialValueRange& range,
                                             const std::vector<Phrase>& phrases);

}  // namespace tl
