// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/phrase_library.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "core/comment_text.h"
#include "core/file_io.h"
#include "core/file_text.h"
#include "core/limits.h"
#include "core/messages.h"
#include "core/pronouns.h"
#include "core/text.h"

namespace tl {

namespace {
LibraryLoad fatal(Notice notice) {
    return LibraryLoad{LibraryStatus::Fatal, std::move(notice)};
}
}  // namespace

LibraryLoad loadPhraseLibrary(const std::string& programFolder, std::vector<Phrase>& phrases) {
    return loadPhraseLibraryFile(
        (std::filesystem::path(programFolder) / kPhraseLibraryName).string(), phrases);
}

LibraryLoad loadPhraseLibraryFile(const std::string& path, std::vector<Phrase>& phrases) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::file_status status = fs::status(path, ec);
    if (ec || !fs::exists(status)) return fatal(msg::tl2PhraseLibraryMissing());
    // Present, but not a plain file that a listing shows: go on without phrases.
    if (!fs::is_regular_file(status)) {
        return LibraryLoad{LibraryStatus::Hidden, msg::tl3PhraseLibraryHidden()};
    }
    const std::optional<std::string> text = readDataFile(path);
    if (!text) return fatal(msg::tl2PhraseLibraryMissing());

    const std::vector<std::string_view> lines = splitLines(*text);
    // A file of zero bytes has no header line to discard.
    if (lines.empty()) return fatal(msg::tl2PhraseLibraryMissing());
    std::vector<Phrase> loaded;
    loaded.reserve(lines.size());
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string_view line = lines[i];
        const std::string_view trimmed = trimBlanks(line);
        if (!trimmed.empty() && trimmed.back() == '#') continue;
        if (loaded.size() >= static_cast<std::size_t>(kMaxPhrases)) {
            return fatal(msg::tl2PhraseLibraryMissing());
        }
        const std::size_t firstComma = line.find(',');
        if (firstComma == std::string_view::npos) return fatal(msg::tl2PhraseLibraryMissing());
        const std::string_view rawCode = line.substr(0, firstComma);
        Phrase phrase;
        phrase.code = padLeftZeros(rawCode, 4);
        if ((!rawCode.empty() && rawCode.front() == '"') || phrase.code.front() == '"') {
            return fatal(msg::tl1PhraseLibraryCorrupt());
        }
        const std::string_view rest = line.substr(firstComma + 1);
        const std::size_t lastComma = rest.rfind(',');
        if (lastComma == std::string_view::npos) {
            phrase.text = std::string(rest);
        } else {
            phrase.text = std::string(rest.substr(0, lastComma));
            phrase.category = std::string(rest.substr(lastComma + 1));
        }
        loaded.push_back(std::move(phrase));
    }
    // Sorted by code so that a library written out of order still finds every
    // code; a library in order (as the board writes it) is left as it is, which
    // is what the stable sort would leave.
    const auto byCode = [](const Phrase& a, const Phrase& b) { return a.code < b.code; };
    if (!std::is_sorted(loaded.begin(), loaded.end(), byCode))
        std::stable_sort(loaded.begin(), loaded.end(), byCode);
    phrases = std::move(loaded);
    return LibraryLoad{};
}

int findPhrase(const std::vector<Phrase>& phrases, std::string_view code) {
    if (code.empty() || code == "    ") return -1;
    int low = 0;
    int high = static_cast<int>(phrases.size()) - 1;
    while (low <= high) {
        const int middle = low + (high - low) / 2;
        const int cmp = std::string_view(phrases[middle].code).compare(code);
        if (cmp == 0) return middle;
        if (cmp > 0) {
            high = middle - 1;
        } else {
            low = middle + 1;
        }
    }
    return -1;
}

std::string lookupPhrase(const std::vector<Phrase>& phrases, std::string_view code) {
    const int position = findPhrase(phrases, code);
    return position < 0 ? std::string() : cleanPhrase(phrases[position].text);
}

Failure writeSortedPhraseLibrary(const std::string& folder, const std::vector<Phrase>& phrases) {
    std::string bytes;
    for (const Phrase& p : phrases)
        bytes += p.code + "," + p.text + "," + p.category + "\r\n";
    const std::string path = (std::filesystem::path(folder) / kSortedPhraseLibraryName).string();
    if (!writeFileAtomically(path, bytes)) return msg::tlTempPhraseFileNotSaved();
    return std::nullopt;
}

}  // namespace tl
