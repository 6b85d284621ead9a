// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/comment_text.h"

#include <array>
#include <string_view>

#include "core/limits.h"
#include "core/pronouns.h"

namespace tl {

std::string_view phraseBody(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    text = first == std::string_view::npos
               ? std::string_view{}
               : text.substr(first, text.find_last_not_of(' ') - first + 1);
    if (!text.empty() && text.front() == '"') text.remove_prefix(1);
    if (!text.empty() && text.back() == '"') text.remove_suffix(1);
    if (!text.empty() && text.back() == '.') text.remove_suffix(1);
    return text;
}

std::string cleanPhrase(std::string_view text) {
    std::string out(phraseBody(text));
    out += ". ";
    return out;
}

namespace {
constexpr std::array<bool, 256> kPlaceholders = [] {
    std::array<bool, 256> marks{};
    for (const unsigned char ch : std::string_view("$@%#*~"))
        marks[ch] = true;
    return marks;
}();
}  // namespace

namespace {
// The words of a pronoun set: subject, possessive, object, the child.
struct PronounWords {
    std::string_view subject, possessive, object, child;
};
constexpr std::array<PronounWords, 3> kPronounWords{{
    {"he", "his", "him", "son"},
    {"she", "her", "her", "daughter"},
    {"they", "their", "them", "child"},
}};
}  // namespace

bool substitutePlaceholders(std::string_view phrase, const StudentRecord& student, bool nameAllowed,
                            std::string& result) {
    const PronounWords& words = kPronounWords[static_cast<std::size_t>(pronounsOf(student))];
    bool nameUsed = false;
    result.clear();
    result.reserve(phrase.size() + 32);
    // Capitalised at the start of the comment.
    auto pronoun = [&](std::string_view word) {
        const bool start = result.empty();
        result += word;
        if (start) result[0] = static_cast<char>(result[0] - 'a' + 'A');
    };
    for (std::size_t i = 0; i < phrase.size(); ++i) {
        // The text up to the next placeholder is taken as it is.
        const std::size_t plain = i;
        while (i < phrase.size() && !kPlaceholders[static_cast<unsigned char>(phrase[i])])
            ++i;
        result.append(phrase.substr(plain, i - plain));
        if (i == phrase.size()) break;
        const bool name =
            phrase[i] == '$' || (nameAllowed && (phrase[i] == '@' || phrase[i] == '%'));
        if (name) {
            result += student.firstName;
            if (phrase[i] == '%') result += "'s";
            nameUsed = true;
            continue;
        }
        switch (phrase[i]) {
            case '@':
                pronoun(words.subject);
                break;
            case '%':
            case '#':
                pronoun(words.possessive);
                break;
            case '*':
                pronoun(words.object);
                break;
            case '~':
                pronoun(words.child);
                break;
            default:
                break;
        }
    }
    return nameUsed;
}

ComposedComments composeComments(const StudentRecord& student, const std::vector<Phrase>& phrases) {
    ComposedComments out;
    bool nameAllowed = true;
    for (std::size_t slot = 0; slot < 5; ++slot) {
        // The cleaned phrase (lookupPhrase) without a copy of it: the closing
        // ". " holds no placeholder.
        std::string& text = out.texts[slot];
        const int position = findPhrase(phrases, student.comments[slot]);
        if (position < 0) {
            text.clear();
        } else {
            // A "they" from "@" takes the phrase whose verbs agree with it.
            const Phrase& phrase = phrases[position];
            const bool agreeing = !nameAllowed && pronounsOf(student) == PronounSet::They;
            const std::string_view body = phraseBody(phrase.text);
            if (agreeing) {
                substitutePlaceholders(theyForm(phrase), student, nameAllowed, text);
            } else if (substitutePlaceholders(body, student, nameAllowed, text)) {
                nameAllowed = false;
            }
            text += ". ";
        }
        out.totalLength += static_cast<int>(text.size());
    }
    return out;
}

std::string composeWithPlaceholders(const StudentRecord& student,
                                    const std::vector<Phrase>& phrases) {
    std::string out;
    for (const std::string& code : student.comments) {
        const int position = findPhrase(phrases, code);
        if (position < 0) continue;
        out += phraseBody(phrases[static_cast<std::size_t>(position)].text);
        out += ". ";
    }
    return out;
}

BracketedComments bracketedComments(const StudentRecord& student,
                                    const std::vector<Phrase>& phrases) {
    return bracketedComments(student, composeComments(student, phrases));
}

BracketedComments bracketedComments(const StudentRecord& student,
                                    const ComposedComments& composed) {
    BracketedComments out;
    out.length = composed.totalLength;
    for (std::size_t i = 0; i < 5; ++i) {
        out.text += bracketCode(student.comments[i]);
        out.text += composed.texts[i];
    }
    return out;
}

bool exceedsCommentLimit(int totalLength) {
    return totalLength > kCommentLimit;
}

WrappedText wrapText(std::string_view text, int width) {
    WrappedText out;
    const std::size_t w = width > 0 ? static_cast<std::size_t>(width) : 1;
    for (auto& line : out.lines) {
        if (text.size() <= w) {
            line = std::string(text);
            text = {};
            continue;
        }
        // Break after the last blank within the first width characters;
        // a text without one is cut hard at width.
        std::size_t cut = w;
        for (std::size_t pos = w; pos >= 1; --pos) {
            if (text[pos - 1] == ' ') {
                cut = pos;
                break;
            }
        }
        line = std::string(text.substr(0, cut));
        text.remove_prefix(cut);
    }
    out.remainder = std::string(text);
    return out;
}

std::string bracketCode(std::string_view code) {
    if (code.find_first_not_of(' ') == std::string_view::npos && code.size() <= 4) return "";
    return "[" + std::string(code) + "] ";
}

std::string sanitizeFreeForm(std::string_view text) {
    std::string out(text);
    for (char& ch : out) {
        const bool keep = (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') ||
                          (ch >= '0' && ch <= '9') || ch == '.' || ch == ',' || ch == ';' ||
                          ch == ':' || ch == '!' || ch == '\'' || ch == ' ';
        if (!keep) ch = ' ';
    }
    return out;
}

}  // namespace tl
