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
// of letters and apostrophes, the run without its apostrophes at either end
// and a closing "'s", and each apostrophe-free piece of it, so that "o'neil",
// the "d'arcy" of "d'arcy's" and the "jordan" of "jordan's" are words.
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
            std::string_view core = run;
            while (!core.empty() && core.front() == '\'')
                core.remove_prefix(1);
            if (core.size() > 2 && core[core.size() - 2] == '\'' &&
                (core.back() == 's' || core.back() == 'S'))
                core.remove_suffix(2);
            while (!core.empty() && core.back() == '\'')
                core.remove_suffix(1);
            if (core.size() < run.size() && core.find('\'') != std::string_view::npos)
                found(core, i + std::size_t(core.data() - run.data()));
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
        std::string_view part = std::string_view(name).substr(i, end - i);
        // "Kowalski," is looked for as "Kowalski", "'Bo'" as "Bo".
        const auto isLetter = [](char c) { return kWordClass[static_cast<unsigned char>(c)] == 1; };
        while (!part.empty() && !isLetter(part.front()))
            part.remove_prefix(1);
        while (!part.empty() && !isLetter(part.back()))
            part.remove_suffix(1);
        if (std::count_if(part.begin(), part.end(), isLetter) >= 3)
            parts.push_back(lowerText(part));
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

// Each name part of the class, with its spelling in the first name that holds it.
Parts classParts(const std::vector<StudentRecord>& students) {
    Parts parts;
    for (const StudentRecord& s : students) {
        for (const std::string* name : {&s.firstName, &s.lastName}) {
            for (const std::string& part : namePartsOf(*name)) {
                if (parts.count(part)) continue;
                parts.emplace(part, name->substr(lowerText(*name).find(part), part.size()));
            }
        }
    }
    // The words the placeholders put into comments are no names.
    for (const char* word :
         {"he", "she", "they", "his", "her", "their", "him", "them", "son", "daughter", "child"})
        parts.erase(word);
    return parts;
}

// A part of another student's name where a comment holds it.
struct Named {
    const Parts::value_type* part;
    std::size_t at;
    std::size_t length;
};

// The parts of other students' names a student's comment holds, each once, in
// the order the comment names them.
std::vector<Named> namedIn(const std::string& comment, const StudentRecord& student,
                           const Parts& parts, const PartShapes& shapes) {
    std::vector<Named> named;
    if (comment.empty()) return named;
    std::vector<std::string> own = namePartsOf(student.firstName);
    for (std::string& part : namePartsOf(student.lastName))
        own.push_back(std::move(part));
    std::string lowerWord;
    forEachWord(comment, [&](std::string_view word, std::size_t at) {
        if (!shapes.mayBePart(word)) return;
        lowerInto(lowerWord, word);
        const auto it = parts.find(std::string_view(lowerWord));
        if (it == parts.end()) return;
        if (std::find(own.begin(), own.end(), it->first) != own.end()) return;
        const auto same = [&it](const Named& n) { return n.part == &*it; };
        if (std::any_of(named.begin(), named.end(), same)) return;
        named.push_back({&*it, at, word.size()});
    });
    return named;
}

// The warnings of the parts named that are no word of the library.
std::vector<NameWarning> warningsOf(const std::vector<StudentRecord>& students, std::size_t index,
                                    const std::string& comment, const std::vector<Named>& named,
                                    const Words& libraryWords) {
    std::vector<NameWarning> warnings;
    const StudentRecord& s = students[index];
    for (const Named& n : named) {
        if (libraryWords.count(n.part->first)) continue;
        warnings.push_back({s.lastName + " " + s.firstName, n.part->second, index,
                            comment.substr(n.at, n.length), nameContext(comment, n.at, n.length)});
    }
    return warnings;
}

}  // namespace

struct NameIndex::Data {
    explicit Data(const std::vector<StudentRecord>& students) : parts(classParts(students)) {}
    Parts parts;
    PartShapes shapes{parts};
    Words libraryWords;  // the parts that are words of some phrase
};

NameIndex::NameIndex(const std::vector<StudentRecord>& students,
                     const std::vector<Phrase>& phrases) {
    auto data = std::make_shared<Data>(students);
    Words wanted;
    for (const auto& entry : data->parts)
        wanted.insert(entry.first);
    data->libraryWords = libraryWordsAmong(wanted, phrases);
    data_ = std::move(data);
}

namespace {

// The warnings of the comment of students[index], as exported.
std::vector<NameWarning> warningsInComment(const std::vector<StudentRecord>& students,
                                           std::size_t index, const std::string& comment,
                                           const NameIndex& names) {
    const NameIndex::Data& d = names.data();
    return warningsOf(students, index, comment,
                      namedIn(comment, students[index], d.parts, d.shapes), d.libraryWords);
}

}  // namespace

std::vector<NameWarning> studentNameWarnings(const std::vector<StudentRecord>& students,
                                             std::size_t index, const std::vector<Phrase>& phrases,
                                             const NameIndex& names) {
    return warningsInComment(students, index, exportComment(students[index], phrases), names);
}

std::vector<NameWarning> studentNameWarnings(const std::vector<StudentRecord>& students,
                                             std::size_t index,
                                             const std::vector<Phrase>& phrases) {
    const Parts parts = classParts(students);
    const std::string comment = exportComment(students[index], phrases);
    const std::vector<Named> named = namedIn(comment, students[index], parts, PartShapes(parts));
    // The library is read only for the parts the comment holds.
    Words namedParts;
    for (const Named& n : named)
        namedParts.insert(n.part->first);
    return warningsOf(students, index, comment, named, libraryWordsAmong(namedParts, phrases));
}

std::vector<NameWarning> nameWarnings(const std::vector<StudentRecord>& students,
                                      const std::vector<Phrase>& phrases) {
    return nameWarnings(students, phrases, classComments(students, phrases));
}

std::vector<NameWarning> nameWarnings(const std::vector<StudentRecord>& students,
                                      const std::vector<Phrase>& phrases,
                                      const std::vector<StudentComments>& comments) {
    const Parts parts = classParts(students);
    const PartShapes shapes(parts);
    std::vector<std::vector<Named>> named(students.size());
    Words namedParts;
    for (std::size_t n = 0; n < students.size(); ++n) {
        named[n] = namedIn(comments[n].exported, students[n], parts, shapes);
        for (const Named& each : named[n])
            namedParts.insert(each.part->first);
    }
    // Most classes name no other student: the library is read only for the
    // parts some comment holds.
    const Words libraryWords = libraryWordsAmong(namedParts, phrases);
    std::vector<NameWarning> warnings;
    for (std::size_t n = 0; n < students.size(); ++n) {
        for (NameWarning& w : warningsOf(students, n, comments[n].exported, named[n], libraryWords))
            warnings.push_back(std::move(w));
    }
    return warnings;
}

std::string nameWarningLine(const NameWarning& w) {
    return w.student + ": \"" + w.written + "\" in \"" + w.context + "\"";
}

}  // namespace tl
