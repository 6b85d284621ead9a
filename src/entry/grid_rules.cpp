// SPDX-License-Identifier: GPL-3.0-or-later

#include "entry/grid_rules.h"

#include <algorithm>

#include "core/editing_rules.h"

namespace tl {

std::string markEditorOpening(int charCode) {
    if (charCode >= '0' && charCode <= '9') return std::string(1, static_cast<char>(charCode));
    if (charCode == 'I') return "I";
    return "";
}

std::string markEditorAfterKey(const std::string& text, MarkKey key) {
    switch (key) {
        case MarkKey::LetterI:
            return "I";
        case MarkKey::Digit: {
            // Digits next to an I make no mark.
            const bool digitsOnly =
                std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
            if (!digitsOnly && text != "I") return "";
            return markValue(text) > 100 ? std::string() : text;
        }
        case MarkKey::Other:
            return "";
    }
    return "";
}

}  // namespace tl
