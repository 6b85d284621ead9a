// SPDX-License-Identifier: GPL-3.0-or-later

#include "favourites/favourites_text.h"

#include "core/text.h"

namespace tl {

namespace {

constexpr int kCodeColumn = 75;  // width of a code with its phrase in a range's lines

// A code with its phrase text, as wide as the code column or wider.
std::string codeColumn(const std::vector<Phrase>& phrases, const std::string& code) {
    return padRight(code + " " + lookupPhrase(phrases, code), kCodeColumn);
}

}  // namespace

std::string favouriteItemText(const std::vector<Phrase>& phrases, const std::string& entry) {
    if (isSeparatorEntry(entry)) return "           ---------------";
    return entry + " " + lookupPhrase(phrases, entry);
}

std::vector<std::string> favouritesListItems(const std::vector<std::string>& favourites,
                                             const std::vector<Phrase>& phrases) {
    std::vector<std::string> items;
    items.reserve(favourites.size() + 1);
    for (const std::string& entry : favourites)
        items.push_back(favouriteItemText(phrases, entry));
    items.push_back(kNoCommentItem);
    return items;
}

std::array<std::string, 3> rangeDetailLines(const InitialValueRange& range,
                                            const std::vector<Phrase>& phrases) {
    const std::string marks = std::to_string(range.lowMark) + "-" + std::to_string(range.highMark);
    std::string skills;
    for (const std::string& skill : range.skills)
        skills += "  " + skill;  // under the second letter of its heading
    constexpr int column = kDetailCodeColumn;
    return {padRight("Range", column) + codeColumn(phrases, range.codes[0]) + "Learning Skills",
            padRight(marks, column) + codeColumn(phrases, range.codes[1]) + " RE OR IW CO IN SR",
            std::string(column, ' ') + codeColumn(phrases, range.codes[2]) + skills};
}

std::array<std::string, 4> printedRangeLines(const InitialValueRange& range,
                                             const std::vector<Phrase>& phrases) {
    const auto lines = rangeDetailLines(range, phrases);
    return {"   " + lines[0], "   " + lines[1], "   " + lines[2], " "};
}

}  // namespace tl
