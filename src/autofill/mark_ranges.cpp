// SPDX-License-Identifier: GPL-3.0-or-later

#include "autofill/mark_ranges.h"

#include <algorithm>
#include <utility>

#include "core/editing_rules.h"
#include "core/limits.h"
#include "core/messages.h"
#include "core/text.h"

namespace tl {

namespace {

// The leading number of the text (an optional sign, digits and one decimal
// point) rounded half to even, exactly as written; 0 when there is none.
// Magnitudes beyond every mark are held at a million.
int roundedNumber(std::string_view text) {
    constexpr long kCap = 1'000'000;
    auto isDigit = [&text](std::size_t i) {
        return i < text.size() && text[i] >= '0' && text[i] <= '9';
    };
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long whole = 0;
    for (; isDigit(i); ++i)
        whole = std::min(whole * 10 + (text[i] - '0'), kCap);
    if (i < text.size() && text[i] == '.' && isDigit(i + 1)) {
        const char first = text[++i];
        bool beyondHalf = false;
        for (++i; isDigit(i); ++i)
            beyondHalf = beyondHalf || text[i] != '0';
        if (first > '5' || (first == '5' && (beyondHalf || whole % 2 != 0))) ++whole;
    }
    return static_cast<int>(negative ? -whole : whole);
}

std::string defaultSkill(int low, int high) {
    if (low >= 81) return "4";
    if (high <= 50) return "1";
    if (high <= 60) return "2";
    return "3";
}

bool holds(const std::pair<int, int>& range, int mark) {
    return range.first <= mark && mark <= range.second;
}

RangesParse refused(Notice notice) {
    return RangesParse{{}, std::move(notice)};
}

}  // namespace

std::array<std::string, rangegrid::kColumnCount> rangeRowTexts(const InitialValueRange& range) {
    std::array<std::string, rangegrid::kColumnCount> cells;
    cells[rangegrid::kLow] = std::to_string(range.lowMark);
    cells[rangegrid::kHigh] = std::to_string(range.highMark);
    std::copy(range.codes.begin(), range.codes.end(), cells.begin() + rangegrid::kFirstCode);
    std::copy(range.skills.begin(), range.skills.end(), cells.begin() + rangegrid::kFirstSkill);
    return cells;
}

RangesParse parseMarkRanges(std::string_view answer) {
    std::vector<std::pair<int, int>> pairs;
    std::string_view rest = answer;
    while (!rest.empty()) {
        const std::string_view text = trimBlanks(rest);
        const std::size_t dash = text.find('-');
        if (dash == std::string_view::npos) return refused(msg::tl11MissingDash());
        const std::size_t blank = std::min(text.find(' '), text.size());
        if (blank < dash) return refused(msg::tl12InvalidFormat());
        const int low = roundedNumber(text.substr(0, dash));
        const int high = roundedNumber(text.substr(dash + 1, blank - dash - 1));
        if (low < 0 || high > 100 || low >= high) return refused(msg::tl13MarkOutOfRange());
        if (pairs.size() == kMaxEnteredRanges) return refused(msg::tl12InvalidFormat());
        pairs.emplace_back(low, high);
        rest = text.substr(std::min(blank + 1, text.size()));
    }
    std::stable_sort(pairs.begin(), pairs.end(),
                     [](const auto& a, const auto& b) { return a.first > b.first; });
    for (std::size_t i = 0; i < pairs.size(); ++i) {
        for (std::size_t j = 0; j < pairs.size(); ++j) {
            if (i != j && (holds(pairs[j], pairs[i].first) || holds(pairs[j], pairs[i].second)))
                return refused(msg::tl14OverlappingRanges());
        }
    }
    RangesParse result;
    for (const auto& [low, high] : pairs) {
        InitialValueRange range;
        range.lowMark = low;
        range.highMark = high;
        range.skills.fill(defaultSkill(low, high));
        result.ranges.push_back(std::move(range));
    }
    return result;
}

}  // namespace tl
