// SPDX-License-Identifier: GPL-3.0-or-later

#include "checks/name_check.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <functional>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "checks/completeness.h"

namespace tl {

namespace {

// Windows-1252 letters and digits: ASCII, the accented letters and the few
// letters among 0x80 to 0x9F.
constexpr bool isWordByte(unsigned char c) {
    if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return true;
    if (c >= 0xC0) return c != 0xD7 && c != 0xF7;
    return c == 0x8A || c == 0x8C || c == 0x8E || c == 0x9A || c == 0x9C || c == 0x9E || c == 0x9F;
}

constexpr unsigned char lowered(unsigned char c) {
    if (c >= 'A' && c <= 'Z') return static_cast<unsigned char>(c + 32);
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<unsigned char>(c + 32);
    if (c == 0x8A || c == 0x8C || c == 0x8E) return static_cast<unsigned char>(c + 16);
    if (c == 0x9F) return 0xFF;
    return c;
}

constexpr std::array<unsigned char, 256> kLowered = [] {
    std::array<unsigned char, 256> table{};
    for (int c = 0; c < 256; ++c)
        table[static_cast<std::size_t>(c)] = lowered(static_cast<unsigned char>(c));
    return table;
}();

std::string lowerText(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(kLowered[static_cast<unsigned char>(c)]);
    return out;
}

// Byte classes for finding words: 1 a word byte, 2 an apostrophe, 0 any other.
constexpr std::array<unsigned char, 256> kWordClass = [] {
    std::array<unsigned char, 256> classes{};
    for (int c = 0; c < 256; ++c)
        classes[static_cast<std::size_t>(c)] = isWordByte(static_cast<unsigned char>(c)) ? 1 : 0;
    classes[static_cast<unsigned char>('\'')] = 2;
    return classes;
}();

// Calls found(word, position) for every whole word of the text: a run
// of letters and apostrophes, and each apostrophe-free piece of it, so that
// both "o'neil" and the "jordan" of "jordan's" are words.
template <typename Found>
void forEachWord(std::string_view text, Found found) {
    const auto classOf = [&text](std::size_t i) {
        return kWordClass[static_cast<unsigned char>(text[i])];
    };
    std::size_t i = 0;
    while (i < text.size()) {
        if (classOf(i) == 0) {
            ++i;
            continue;
        }
        std::size_t end = i;
        bool apostrophe = false;
        for (; end < text.size() && classOf(end) != 0; ++end)
            apostrophe = apostrophe || classOf(end) == 2;
        const std::string_view run(text.data() + i, end - i);
        found(run, i);
        if (apostrophe) {
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

// Up to 30 characters of the comment on each side of the name, the name
// between guillemets (Windows-1252 0xAB and 0xBB).
std::string nameContext(const std::string& comment, std::size_t at, std::size_t length) {
    constexpr std::size_t kSide = 30;
    const std::size_t from = at > kSide ? at - kSide : 0;
    const std::size_t end = std::min(comment.size(), at + length + kSide);
    return (from > 0 ? "..." : "") + comment.substr(from, at - from) + "\xAB" +
           comment.substr(at, length) + "\xBB" + comment.substr(at + length, end - at - length) +
           (end < comment.size() ? "..." : "");
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

namespace {

// Name parts looked up by a word of a text without a copy of the word.
struct WordHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view word) const {
        return std::hash<std::string_view>{}(word);
    }
};
using Parts = std::unordered_map<std::string, std::string, WordHash, std::equal_to<>>;
using Words = std::unordered_set<std::string_view, WordHash, std::equal_to<>>;

// The first letter, last letter and length of each of some words: most words
// of a text are ruled out by these without being lowered and looked up.
class PartShapes {
  public:
    explicit PartShapes(const Parts& parts) {
        for (const auto& entry : parts)
            bits_.set(index(entry.first));
    }
    explicit PartShapes(const Words& words) {
        for (const std::string_view word : words)
            bits_.set(index(word));
    }
    bool mayBePart(std::string_view word) const {
        return word.size() >= 3 && bits_.test(index(word));
    }

  private:
    // Of a word in any letter case.
    static std::size_t index(std::string_view word) {
        return (kLowered[static_cast<unsigned char>(word.front())] * 251u +
                kLowered[static_cast<unsigned char>(word.back())] * 31u + word.size()) &
               0xFFFFu;
    }
    std::bitset<0x10000> bits_;
};

// Lowers a word into out, whose storage is kept from word to word.
void lowerInto(std::string& out, std::string_view word) {
    out.assign(word);
    for (char& c : out)
        c = static_cast<char>(kLowered[static_cast<unsigned char>(c)]);
}

// The words among wanted that are words of some phrase of the library.
Words libraryWordsAmong(const Words& wanted, const std::vector<Phrase>& phrases) {
    const PartShapes shapes(wanted);
    Words found;
    std::string lowerWord;
    for (const Phrase& p : phrases) {
        if (found.size() == wanted.size()) break;
        forEachWord(p.text, [&](std::string_view word, std::size_t) {
            if (!shapes.mayBePart(word)) return;
            lowerInto(lowerWord, word);
            if (const auto it = wanted.find(std::string_view(lowerWord)); it != wanted.end())
                found.insert(*it);
        });
    }
    return found;
}

}  // namespace

std::vector<NameWarning> nameWarnings(const std::vector<StudentRecord>& students,
                                      const std::vector<Phrase>& phrases) {
    // Each name part of the class, with its spelling in the first name that holds it.
    Parts parts;
    std::vector<std::vector<std::string>> ownParts(students.size());
    for (std::size_t n = 0; n < students.size(); ++n) {
        for (const std::string* name : {&students[n].firstName, &students[n].lastName}) {
            for (const std::string& part : namePartsOf(*name)) {
                ownParts[n].push_back(part);
                if (parts.count(part)) continue;
                parts.emplace(part, name->substr(lowerText(*name).find(part), part.size()));
            }
        }
    }
    // The words the placeholders put into comments are no names.
    for (const char* word : {"he", "she", "his", "her", "him", "son", "daughter"})
        parts.erase(word);
    // Comments that hold a part of another student's name, in class order and
    // in the order each comment names them.
    struct Named {
        std::size_t student;
        const Parts::value_type* part;
        std::size_t at;
        std::size_t length;
    };
    std::vector<Named> named;
    Words namedParts;
    const PartShapes shapes(parts);
    std::string lowerWord;
    std::vector<std::string> comments;
    comments.reserve(students.size());
    for (std::size_t n = 0; n < students.size(); ++n) {
        comments.push_back(exportComment(students[n], phrases));
        if (comments[n].empty()) continue;
        std::vector<std::string_view> found;
        forEachWord(comments[n], [&](std::string_view word, std::size_t at) {
            if (!shapes.mayBePart(word)) return;
            lowerInto(lowerWord, word);
            const auto it = parts.find(std::string_view(lowerWord));
            if (it == parts.end()) return;
            const std::vector<std::string>& own = ownParts[n];
            if (std::find(own.begin(), own.end(), it->first) != own.end()) return;
            if (std::find(found.begin(), found.end(), it->first) != found.end()) return;
            found.push_back(it->first);
            named.push_back({n, &*it, at, word.size()});
            namedParts.insert(it->first);
        });
    }
    // A part that is a word of the library is no name either; the library is
    // read only for the parts that some comment holds.
    const Words libraryWords = libraryWordsAmong(namedParts, phrases);
    std::vector<NameWarning> warnings;
    for (const Named& n : named) {
        if (libraryWords.count(n.part->first)) continue;
        const StudentRecord& s = students[n.student];
        const std::string& comment = comments[n.student];
        warnings.push_back({s.lastName + " " + s.firstName, n.part->second, n.student,
                            comment.substr(n.at, n.length), nameContext(comment, n.at, n.length)});
    }
    return warnings;
}

std::string nameWarningLine(const NameWarning& w) {
    return w.student + ": \"" + w.written + "\" in \"" + w.context + "\"";
}

}  // namespace tl
