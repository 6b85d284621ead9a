// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/favourites_file.h"

#include "core/file_io.h"
#include "core/file_text.h"
#include "core/limits.h"
#include "core/messages.h"
#include "core/text.h"
#include "core/workspace.h"

namespace tl {

std::vector<InitialValueRange> defaultRanges() {
    struct Row {
        int low, high;
        const char* skill;
    };
    static constexpr Row rows[] = {{80, 100, "4"}, {70, 79, "3"}, {60, 69, "3"}, {50, 59, "2"},
                                   {40, 49, "1"},  {20, 39, "1"}, {0, 19, "1"}};
    std::vector<InitialValueRange> ranges;
    for (const Row& row : rows) {
        InitialValueRange r;
        r.lowMark = row.low;
        r.highMark = row.high;
        r.skills.fill(row.skill);
        ranges.push_back(r);
    }
    return ranges;
}

bool isSeparatorEntry(std::string_view entry) {
    return entry == kSeparatorEntry;
}

void newFavourites(Workspace& ws) {
    ws.favouritesFile.clear();
    ws.favourites.clear();
    ws.doc.replaceRanges(defaultRanges());
}

namespace {

bool endsWithTlf(const std::string& path) {
    return path.size() >= 3 && path.compare(path.size() - 3, 3, "tlf") == 0;
}

// A favourites line is a separator or sorts between "0000" and "9999".
bool plausibleEntry(const std::string& line) {
    return isSeparatorEntry(line) || (line >= "0000" && line <= "9999");
}

bool parseRange(std::string_view line, InitialValueRange& range) {
    std::string fields[11];
    for (int i = 0; i < 10; ++i)
        fields[i] = std::string(nextCsvField(line));
    // A line used up after IN gives SR the value of IN.
    fields[10] = line.empty() ? fields[9] : std::string(nextCsvField(line));
    if (fields[10].empty()) fields[10] = fields[9];
    if (!parseInt16(fields[0], range.lowMark) || !parseInt16(fields[1], range.highMark)) {
        return false;
    }
    for (int i = 0; i < 3; ++i)
        range.codes[i] = fields[2 + i];
    for (int i = 0; i < 6; ++i)
        range.skills[i] = fields[5 + i];
    return true;
}

bool knownOrEmpty(const std::vector<Phrase>& phrases, const std::string& code) {
    return isEmptyCode(code) || findPhrase(phrases, code) >= 0;
}

}  // namespace

namespace {

struct FavouritesContent {
    std::vector<InitialValueRange> ranges;
    std::vector<std::string> entries;
};

// The ranges and entries of a favourites file's text, or nothing when a line
// fails its check.
std::optional<FavouritesContent> parseFavourites(std::string_view text) {
    const std::vector<std::string_view> lines = splitLines(text);
    int count = 0;
    if (lines.empty() || !parseInt16(lines[0], count) || count < 0 || count > kMaxRanges ||
        lines.size() < static_cast<std::size_t>(count) + 1) {
        return std::nullopt;
    }
    FavouritesContent content;
    content.ranges.resize(count);
    for (int i = 0; i < count; ++i) {
        if (!parseRange(lines[1 + i], content.ranges[i])) return std::nullopt;
    }
    for (std::size_t i = count + 1; i < lines.size(); ++i) {
        std::string entry(lines[i]);
        if (!plausibleEntry(entry) ||
            content.entries.size() >= static_cast<std::size_t>(kMaxFavourites)) {
            return std::nullopt;
        }
        content.entries.push_back(std::move(entry));
    }
    return content;
}

}  // namespace

Failure readFavouritesFile(Workspace& ws) {
    ws.favourites.clear();
    ws.doc.replaceRanges({});
    // A refused file does not stay the current file, so that no later save
    // writes an empty list over it.
    if (!endsWithTlf(ws.favouritesFile)) {
        ws.favouritesFile.clear();
        return msg::tl16FavouritesType();
    }
    const std::optional<std::string> text = readDataFile(ws.favouritesFile);
    std::optional<FavouritesContent> content;
    if (text) content = parseFavourites(*text);
    if (!content) {
        ws.favouritesFile.clear();
        return msg::tl17FavouritesInvalid();
    }

    // Codes the phrase library lacks are dropped without a word.
    for (const std::string& entry : content->entries) {
        if (isSeparatorEntry(entry) || findPhrase(ws.phrases, entry) >= 0) {
            ws.favourites.push_back(entry);
        }
    }
    for (InitialValueRange& range : content->ranges) {
        for (std::string& code : range.codes) {
            if (!knownOrEmpty(ws.phrases, code)) code.clear();
        }
    }
    ws.doc.replaceRanges(std::move(content->ranges));
    return std::nullopt;
}

std::string favouritesFileText(const std::vector<InitialValueRange>& ranges,
                               const std::vector<std::string>& favourites) {
    const int count = static_cast<int>(ranges.size());
    std::string text = (count < 0 ? "" : " ") + std::to_string(count) + " \r\n";
    for (const InitialValueRange& r : ranges) {
        text += std::to_string(r.lowMark) + "," + std::to_string(r.highMark);
        for (const std::string& code : r.codes)
            text += "," + csvField(code);
        for (const std::string& skill : r.skills)
            text += "," + csvField(skill);
        text += "\r\n";
    }
    for (const std::string& entry : favourites)
        text += entry + "\r\n";
    return text;
}

SaveResult writeFavouritesFile(const Workspace& ws) {
    return saveBytes(ws.favouritesFile, favouritesFileText(ws.doc.ranges(), ws.favourites),
                     msg::tl18FavouritesNotSaved());
}

Failure addFavouritesFromFile(Workspace& ws, const std::string& path) {
    // Checked as reading checks, so that the merged list can be saved and opened again.
    const std::optional<std::string> text = readDataFile(path);
    std::optional<FavouritesContent> content;
    if (text) content = parseFavourites(*text);
    if (!content) return msg::tl17FavouritesInvalid();
    for (std::string& entry : content->entries) {
        if (ws.favourites.size() >= static_cast<std::size_t>(kMaxFavourites)) {
            return msg::favouritesFull();
        }
        ws.favourites.push_back(std::move(entry));
    }
    return std::nullopt;
}

}  // namespace tl
