#include "export/name_check.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "export/efile.h"

namespace tl {

namespace {

// Windows-1252 letters and digits: ASCII, the accented letters and the few
// letters among 0x80 to 0x9F.
bool isWordByte(unsigned char c) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
    if (c >= 0xC0) return c != 0xD7 && c != 0xF7;
    return c == 0x8A || c == 0x8C || c == 0x8E || c == 0x9A || c == 0x9C || c == 0x9E || c == 0x9F;
}

unsigned char lowered(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32);
    if (c == 0x8A || c == 0x8C || c == 0x8E) return static_cast<unsigned char>(c + 16);
    if (c == 0x9F) return 0xFF;
    return c;
}

std::string lowerText(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(lowered(static_cast<unsigned char>(c)));
    return out;
}

// Calls found(word, position) for every whole word of the lowered text: a run
// of letters and apostrophes, and each apostrophe-free piece of it, so that
// both "o'neil" and the "jordan" of "jordan's" are words.
template <typename Found>
void forEachWord(const std::string& text, Found found) {
    const auto wordOrApostrophe = [](unsigned char c) { return isWordByte(c) || c == '\''; };
    std::size_t i = 0;
    while (i < text.size()) {
        if (!wordOrApostrophe(static_cast<unsigned char>(text[i]))) {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < text.size() && wordOrApostrophe(static_cast<unsigned char>(text[end])))
            ++end;
        const std::string_view run(text.data() + i, end - i);
        found(run, i);
        if (run.find('\'') != std::string_view::npos) {
            std::size_t p = 0;
            while (p < run.size()) {
                const std::size_t q = std::min(run.find('\'', p), run.size());
                if (q > p) found(run.substr(p, q - p), i + p);
                p = q + 1;
            }
        }
        i = end;
    }
}

std::string commentStart(const std::string& comment) {
    constexpr std::size_t kStart = 50;
    if (comment.size() <= kStart) return comment;
    const std::size_t end = comment.find_last_not_of(' ', kStart - 1);
    return comment.substr(0, end == std::string::npos ? 0 : end + 1) + "...";
}

}  // namespace

std::vector<std::string> namePartsOf(const std::string& name) {
    std::vector<std::string> parts;
    std::size_t i = 0;
    while (i <= name.size()) {
        const std::size_t end = std::min(name.find_first_of(" -", i), name.size());
        if (end - i >= 3) parts.push_back(lowerText(std::string_view(name).substr(i, end - i)));
        i = end + 1;
    }
    return parts;
}

std::vector<NameWarning> nameWarnings(const std::vector<StudentRecord>& students,
                                      const std::vector<Phrase>& phrases) {
    // The words a phrase's placeholders put into a comment count as its words.
    std::unordered_set<std::string> libraryWords = {"he",  "she", "his",     "her",
                                                    "him", "son", "daughter"};
    for (const Phrase& p : phrases)
        forEachWord(lowerText(p.text),
                    [&](std::string_view w, std::size_t) { libraryWords.emplace(w); });
    // Each name part of the class, with its spelling in the first name that holds it.
    std::unordered_map<std::string, std::string> parts;
    std::vector<std::vector<std::string>> ownParts(students.size());
    for (std::size_t n = 0; n < students.size(); ++n) {
        for (const std::string* name : {&students[n].firstName, &students[n].lastName}) {
            for (const std::string& part : namePartsOf(*name)) {
                ownParts[n].push_back(part);
                if (libraryWords.count(part)) continue;
                if (parts.count(part)) continue;
                parts.emplace(part, name->substr(lowerText(*name).find(part), part.size()));
            }
        }
    }
    std::vector<NameWarning> warnings;
    for (std::size_t n = 0; n < students.size(); ++n) {
        const StudentRecord& s = students[n];
        const std::string comment = exportComment(s, phrases);
        if (comment.empty()) continue;
        std::vector<std::string_view> found;
        forEachWord(lowerText(comment), [&](std::string_view word, std::size_t) {
            if (word.size() < 3) return;
            const auto it = parts.find(std::string(word));
            if (it == parts.end()) return;
            const std::vector<std::string>& own = ownParts[n];
            if (std::find(own.begin(), own.end(), it->first) != own.end()) return;
            if (std::find(found.begin(), found.end(), it->first) != found.end()) return;
            found.push_back(it->first);
            warnings.push_back({s.lastName + " " + s.firstName, it->second, commentStart(comment)});
        });
    }
    return warnings;
}

std::string nameWarningLine(const NameWarning& w) {
    return w.student + ": \"" + w.name + "\" in \"" + w.commentStart + "\"";
}

}  // namespace tl
