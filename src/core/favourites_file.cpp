#include "core/favourites_file.h"

#include "core/file_io.h"
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

void newFavourites(Workspace& ws) {
    ws.favouritesFile.clear();
    ws.favourites.clear();
    ws.initialValues = defaultRanges();
}

namespace {

bool endsWithTlf(const std::string& path) {
    return path.size() >= 3 && path.compare(path.size() - 3, 3, "tlf") == 0;
}

// A favourites line is a separator or sorts between "0000" and "9999".
bool plausibleEntry(const std::string& line) {
    return line == kSeparatorEntry || (line >= "0000" && line <= "9999");
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

Failure readFavouritesFile(Workspace& ws) {
    ws.favourites.clear();
    ws.initialValues.clear();
    if (!endsWithTlf(ws.favouritesFile)) {
        // A file refused for its type must not receive a later save.
        ws.favouritesFile.clear();
        return msg::tl16FavouritesType();
    }
    const std::optional<std::string> bytes = readWholeFile(ws.favouritesFile);
    if (!bytes) return msg::tl17FavouritesInvalid();
    const std::vector<std::string_view> lines = splitLines(*bytes);

    int count = 0;
    if (lines.empty() || !parseInt16(lines[0], count) || count < 0 || count > kMaxRanges ||
        lines.size() < static_cast<std::size_t>(count) + 1) {
        return msg::tl17FavouritesInvalid();
    }
    std::vector<InitialValueRange> ranges(count);
    for (int i = 0; i < count; ++i) {
        if (!parseRange(lines[1 + i], ranges[i])) return msg::tl17FavouritesInvalid();
    }
    std::vector<std::string> entries;
    for (std::size_t i = count + 1; i < lines.size(); ++i) {
        std::string entry(lines[i]);
        if (!plausibleEntry(entry) || entries.size() >= static_cast<std::size_t>(kMaxFavourites)) {
            return msg::tl17FavouritesInvalid();
        }
        entries.push_back(std::move(entry));
    }

    // Codes the phrase library lacks are dropped without a word.
    for (const std::string& entry : entries) {
        if (entry == kSeparatorEntry || findPhrase(ws.phrases, entry) >= 0) {
            ws.favourites.push_back(entry);
        }
    }
    for (InitialValueRange& range : ranges) {
        for (std::string& code : range.codes) {
            if (!knownOrEmpty(ws.phrases, code)) code.clear();
        }
    }
    ws.initialValues = std::move(ranges);
    return std::nullopt;
}

std::string favouritesFileText(const std::vector<InitialValueRange>& ranges,
                               const std::vector<std::string>& favourites) {
    const int count = static_cast<int>(ranges.size());
    std::string text = (count < 0 ? "" : " ") + std::to_string(count) + " \r\n";
    for (const InitialValueRange& r : ranges) {
        text += std::to_string(r.lowMark) + "," + std::to_string(r.highMark);
        for (const std::string& code : r.codes)
            text += "," + code;
        for (const std::string& skill : r.skills)
            text += "," + skill;
        text += "\r\n";
    }
    for (const std::string& entry : favourites)
        text += entry + "\r\n";
    return text;
}

Failure writeFavouritesFile(const Workspace& ws) {
    if (!writeFileAtomically(ws.favouritesFile,
                             favouritesFileText(ws.initialValues, ws.favourites))) {
        return msg::tl18FavouritesNotSaved();
    }
    return std::nullopt;
}

Failure addFavouritesFromFile(Workspace& ws, const std::string& path) {
    const std::optional<std::string> bytes = readWholeFile(path);
    if (!bytes) return msg::tl17FavouritesInvalid();
    const std::vector<std::string_view> lines = splitLines(*bytes);
    int count = 0;
    if (lines.empty() || !parseInt16(lines[0], count) || count < 0) {
        return msg::tl17FavouritesInvalid();
    }
    for (std::size_t i = static_cast<std::size_t>(count) + 1; i < lines.size(); ++i) {
        if (ws.favourites.size() >= static_cast<std::size_t>(kMaxFavourites)) {
            return msg::favouritesFull();
        }
        ws.favourites.emplace_back(lines[i]);
    }
    return std::nullopt;
}

}  // namespace tl
