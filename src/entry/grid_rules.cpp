#include "entry/grid_rules.h"

#include <algorithm>

#include "core/text.h"

namespace tl {

std::string nextSkillValue(const std::string& cell, bool leftButton) {
    int d = 3;
    if (cell.size() == 1 && cell[0] >= '1' && cell[0] <= '4') d = cell[0] - '0';
    if (leftButton) return cell == "1" ? "4" : std::to_string((d - 1) & 3);
    return std::to_string((d & 3) + 1);
}

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

double markValue(const std::string& mark) {
    return leadingNumber(mark);
}

int findAutoFillRange(const std::vector<InitialValueRange>& ranges, const std::string& mark) {
    const double m = markValue(mark);
    for (std::size_t k = 0; k < ranges.size(); ++k) {
        if (ranges[k].lowMark <= m && m <= ranges[k].highMark) return static_cast<int>(k);
    }
    return -1;
}

bool skillsAllThree(const std::vector<std::string>& cells) {
    // A cell that holds no rating at all is not taken for a 3.
    for (const std::string& cell : cells) {
        if (cell != "3") return false;
    }
    return cells.size() == 6;
}

}  // namespace tl
