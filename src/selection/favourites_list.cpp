// SPDX-License-Identifier: GPL-3.0-or-later

#include "selection/favourites_list.h"

#include <algorithm>

#include "core/limits.h"

namespace tl {

namespace {

bool validRow(const std::vector<std::string>& entries, int row) {
    return row >= 0 && row < static_cast<int>(entries.size());
}

}  // namespace

std::optional<int> insertFavourite(std::vector<std::string>& entries, int selected,
                                   std::string_view code) {
    if (entries.size() >= static_cast<std::size_t>(kMaxFavourites)) return std::nullopt;
    const int row = validRow(entries, selected) ? selected + 1 : static_cast<int>(entries.size());
    entries.insert(entries.begin() + row, std::string(code));
    return row;
}

std::optional<int> insertSeparator(std::vector<std::string>& entries, int selected) {
    return insertFavourite(entries, selected, kSeparatorEntry);
}

int removeFavourite(std::vector<std::string>& entries, int selected) {
    if (!validRow(entries, selected)) return -1;
    entries.erase(entries.begin() + selected);
    return std::min(selected, static_cast<int>(entries.size()) - 1);
}

int moveFavouriteUp(std::vector<std::string>& entries, int selected) {
    if (!validRow(entries, selected)) return -1;
    if (selected == 0) return selected;
    return moveFavourite(entries, selected, selected - 1);
}

int moveFavouriteDown(std::vector<std::string>& entries, int selected) {
    if (!validRow(entries, selected)) return -1;
    if (selected + 1 == static_cast<int>(entries.size())) return selected;
    return moveFavourite(entries, selected, selected + 1);
}

int moveFavourite(std::vector<std::string>& entries, int from, int to) {
    if (!validRow(entries, from) || !validRow(entries, to)) return from;
    const auto first = entries.begin();
    if (from < to) {
        std::rotate(first + from, first + from + 1, first + to + 1);
    } else {
        std::rotate(first + to, first + from, first + from + 1);
    }
    return to;
}

}  // namespace tl
