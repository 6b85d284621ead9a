// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/pronouns.h"

#include <algorithm>
#include <array>
#include <utility>

#include "core/comment_text.h"

namespace tl {

PronounSet defaultPronouns(const std::string& gender) {
    if (gender == "M") return PronounSet::He;
    if (gender == "X") return PronounSet::They;
    return PronounSet::She;
}

PronounSet pronounsOf(const StudentRecord& student) {
    return pronounChoice(student.pronouns).value_or(defaultPronouns(student.gender));
}

namespace {
// Each set's word and its letter in the class file, in the order of PronounSet.
constexpr std::array<std::pair<std::string_view, std::string_view>, 3> kSetNames{{
    {"he", "H"},
    {"she", "S"},
    {"they", "T"},
}};
}  // namespace

const char* pronounWord(PronounSet set) {
    return kSetNames[static_cast<std::size_t>(set)].first.data();
}

std::string pronounChoiceCode(PronounSet set) {
    return std::string(kSetNames[static_cast<std::size_t>(set)].second);
}

std::optional<PronounSet> pronounChoice(std::string_view code) {
    for (std::size_t i = 0; i < kSetNames.size(); ++i)
        if (code == kSetNames[i].second) return static_cast<PronounSet>(i);
    return std::nullopt;
}

std::string storedPronounChoice(const StudentRecord& student, std::optional<PronounSet> choice) {
    if (!choice || *choice == defaultPronouns(student.gender)) return "";
    return pronounChoiceCode(*choice);
}

std::array<PronounOption, 4> pronounOptions(const StudentRecord& student) {
    const std::optional<PronounSet> current = pronounChoice(student.pronouns);
    std::array<PronounOption, 4> options;
    const std::array sets{PronounSet::He, PronounSet::She, PronounSet::They};
    for (std::size_t i = 0; i < sets.size(); ++i)
        options[i] = {std::string("Pronouns: ") + pronounWord(sets[i]), sets[i],
                      current == sets[i]};
    options[3] = {std::string("Pronouns: from the enrolment (") +
                      pronounWord(defaultPronouns(student.gender)) + ")",
                  std::nullopt, !current};
    return options;
}

std::string pronounLabel(const StudentRecord& student) {
    return std::string("Pronouns: ") + pronounWord(pronounsOf(student));
}

namespace {

char lowerAscii(char ch) {
    return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch;
}

bool isLetter(char ch) {
    const auto byte = static_cast<unsigned char>(ch);
    return (byte >= 'a' && byte <= 'z') || (byte >= 'A' && byte <= 'Z') ||
           (byte >= 0xC0 && byte != 0xD7 && byte != 0xF7) || byte == 0x8A || byte == 0x8C ||
           byte == 0x8E || byte == 0x9A || byte == 0x9C || byte == 0x9E || byte == 0x9F;
}

bool isApostrophe(char ch) {
    return ch == '\'' || ch == '\x92';
}

// Lower case, the typographic apostrophe as the plain one.
std::string folded(std::string_view word) {
    std::string out(word);
    for (char& ch : out)
        ch = isApostrophe(ch) ? '\'' : lowerAscii(ch);
    return out;
}

bool endsWith(std::string_view word, std::string_view tail) {
    return word.size() >= tail.size() && word.substr(word.size() - tail.size()) == tail;
}

bool isSkippedAdverb(const std::string& word) {
    static constexpr std::array<std::string_view, 10> kAdverbs{
        "always", "also",    "often",  "never",  "sometimes",
        "still",  "usually", "rarely", "seldom", "generally"};
    return endsWith(word, "ly") ||
           std::find(kAdverbs.begin(), kAdverbs.end(), word) != kAdverbs.end();
}

constexpr std::array<std::pair<std::string_view, std::string_view>, 9> kIrregular{{
    {"is", "are"},
    {"was", "were"},
    {"has", "have"},
    {"does", "do"},
    {"goes", "go"},
    {"isn't", "aren't"},
    {"wasn't", "weren't"},
    {"hasn't", "haven't"},
    {"doesn't", "don't"},
}};

// The verb w as it reads after "they"; doubtful when no dictionary word
// confirms a form in "s".
std::string agreedVerb(std::string_view w, const KnowsWord& knows, bool& doubtful) {
    const std::string lower = folded(w);
    for (const auto& [said, agreed] : kIrregular) {
        if (lower != said) continue;
        std::string out(agreed);
        // The word's own apostrophe and capital stay.
        const std::size_t mark = w.find_first_of("'\x92");
        if (mark != std::string_view::npos) out[out.find('\'')] = w[mark];
        if (w.front() >= 'A' && w.front() <= 'Z') out[0] = static_cast<char>(out[0] - 'a' + 'A');
        return out;
    }
    if (!endsWith(lower, "s")) return std::string(w);
    std::vector<std::string> candidates;
    if (endsWith(lower, "ies")) candidates.push_back(std::string(w.substr(0, w.size() - 3)) + "y");
    for (const std::string_view tail : {"sses", "shes", "ches", "xes", "zes", "oes"}) {
        if (endsWith(lower, tail)) {
            candidates.emplace_back(w.substr(0, w.size() - 2));
            break;
        }
    }
    candidates.emplace_back(w.substr(0, w.size() - 1));
    if (endsWith(lower, "es")) candidates.emplace_back(w.substr(0, w.size() - 2));
    if (knows) {
        for (const std::string& candidate : candidates)
            if (!candidate.empty() && knows(candidate)) return candidate;
    }
    doubtful = true;
    return std::string(w.substr(0, w.size() - 1));
}

}  // namespace

TheyForm agreeWithThey(std::string_view body, const KnowsWord& knows) {
    TheyForm out;
    std::size_t copied = 0;
    std::size_t at = body.find('@');
    while (at != std::string_view::npos) {
        std::size_t next = at + 1;
        // Past the blanks and the adverbs to the verb.
        for (std::size_t pos = at + 1;;) {
            while (pos < body.size() && body[pos] == ' ')
                ++pos;
            const std::size_t start = pos;
            if (pos < body.size() && isLetter(body[pos])) {
                while (pos < body.size() && (isLetter(body[pos]) || isApostrophe(body[pos])))
                    ++pos;
            }
            if (pos == start) {
                out.doubtful = true;
                break;
            }
            const std::string_view word = body.substr(start, pos - start);
            if (isSkippedAdverb(folded(word))) continue;
            out.text.append(body.substr(copied, start - copied));
            out.text += agreedVerb(word, knows, out.doubtful);
            copied = pos;
            next = pos;
            break;
        }
        at = body.find('@', next);
    }
    out.text.append(body.substr(copied));
    return out;
}

void useDictionary(std::vector<Phrase>& phrases, KnowsWord knows) {
    const auto shared = std::make_shared<const KnowsWord>(std::move(knows));
    for (Phrase& phrase : phrases) {
        phrase.dictionary = shared;
        phrase.theyText.reset();
    }
}

const std::string& theyForm(const Phrase& phrase) {
    if (!phrase.theyText) {
        const KnowsWord none;
        phrase.theyText =
            agreeWithThey(phraseBody(phrase.text), phrase.dictionary ? *phrase.dictionary : none)
                .text;
    }
    return *phrase.theyText;
}

void prepareTheyForms(const std::vector<Phrase>& phrases) {
    for (const Phrase& phrase : phrases)
        theyForm(phrase);
}

std::string theyCheckReport(const std::vector<Phrase>& phrases, const KnowsWord& knows) {
    // "$" stands where a student's name goes.
    StudentRecord student;
    student.firstName = "$";
    student.gender = "X";
    std::string report;
    int doubtful = 0;
    for (const Phrase& phrase : phrases) {
        const std::string_view body = phraseBody(phrase.text);
        const TheyForm they = agreeWithThey(body, knows);
        if (!they.doubtful) continue;
        ++doubtful;
        std::string composed;
        substitutePlaceholders(they.text, student, false, composed);
        report += phrase.code + "\t" + std::string(body) + ".\t" + composed + ".\n";
    }
    report += std::to_string(doubtful) + " of " + std::to_string(phrases.size()) +
              " phrases need a look for they/them.\n";
    return report;
}

}  // namespace tl
