#pragma once

#include <ctime>
#include <string>
#include <string_view>
#include <vector>

// The printed favourites list and initial values, without Qt.
namespace tl {

struct Workspace;

// A printer font; an empty name keeps the printer's default font.
struct PrintFont {
    std::string_view name;
    double points = 10;
    bool operator==(const PrintFont&) const = default;
};

inline constexpr PrintFont kPrinterDefaultFont{"", 10};
inline constexpr PrintFont kFavouritesHeadingFont{"Arial", 14};
inline constexpr PrintFont kFavouritesEntryFont{"Times New Roman", 12};
inline constexpr PrintFont kInitialValuesFont{"Courier New", 9};

struct PrintedLine {
    PrintFont font;
    std::string text;
    bool operator==(const PrintedLine&) const = default;
};

// "Tallyleaf ~ v3.3 Growing Success ~ 12-07-2026 ~ 14:05:09"
std::string favouritesPrintoutHeading(const std::tm& when);

// Every line of the printout in order: the heading and file, the favourites
// with their texts, then four lines per initial-value range.
std::vector<PrintedLine> favouritesPrintout(const Workspace& ws, const std::tm& when);

}  // namespace tl
