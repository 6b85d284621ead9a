// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

// The page of every printout, in points (1/72 inch). Lines advance by 0.93 of
// their font size inside margins of 29 points (10.2 mm; a page is laid out in
// whole points), so that a landscape A4 or Letter page holds the fullest page
// of the class report: the heading, the report's counter limit and the
// longest student block.
namespace tl {

inline constexpr double kLinePitch = 0.93;
// The height of a line's glyphs, its font's ascent and descent, as a part of
// its size; a line fits on a page only with all of it.
inline constexpr double kLineBoxHeight = 1.15;
inline constexpr double kPageMarginPt = 29;
inline constexpr double kMinimumMarginMm = 10;
inline constexpr double kA4LandscapeHeightPt = 595;
inline constexpr double kLetterLandscapeHeightPt = 612;

// The height that lines may fill on a page of that height.
constexpr double printableHeight(double pageHeightPt) {
    return pageHeightPt - 2 * kPageMarginPt;
}

// How much of a page the printed lines fill.
class PageFill {
  public:
    explicit PageFill(double printableHeightPt) : height_(printableHeightPt) {}
    static constexpr double advance(double fontSize) { return fontSize * kLinePitch; }
    // A line always fits on an empty page.
    bool fits(double fontSize) const {
        return used_ == 0 || used_ + fontSize * kLineBoxHeight <= height_;
    }
    // Where the line starts, from the top of the printable area; then it is added.
    double add(double fontSize) {
        const double top = used_;
        used_ += advance(fontSize);
        return top;
    }
    void clear() { used_ = 0; }
    double used() const { return used_; }

  private:
    double height_;
    double used_ = 0;
};

// A printout's line and its font; an empty font name keeps the printer's
// default font.
struct PrintFont {
    std::string_view name;
    double points = 10;
    bool operator==(const PrintFont&) const = default;
};

inline constexpr PrintFont kPrinterDefaultFont{"", 10};
inline constexpr PrintFont kFavouritesHeadingFont{"Arial", 14};
inline constexpr PrintFont kFavouritesEntryFont{"Times New Roman", 12};
inline constexpr PrintFont kInitialValuesFont{"Courier New", 8};

struct PrintedLine {
    PrintFont font;
    std::string text;
    bool operator==(const PrintedLine&) const = default;
};

// Where a line too wide for the page goes on: each continuation begins with a
// number of blanks, or, for a code followed by its text, with as many blanks
// as the line holds up to and including its first blank.
struct Continuation {
    std::size_t blanks = 0;
    bool afterFirstBlank = false;
    bool operator==(const Continuation&) const = default;
};

// A range's line goes on under its code column: three blanks and the
// eight-wide marks column.
inline constexpr Continuation kRangeLineContinuation{11, false};
inline constexpr Continuation kEntryLineContinuation{0, true};

// How the printouts' lines in a font go on: the ranges' fixed-pitch lines
// under the code column, a favourites entry under its text, any other line
// at the left margin.
constexpr Continuation continuationFor(const PrintFont& font) {
    if (font == kInitialValuesFont) return kRangeLineContinuation;
    if (font == kFavouritesEntryFont) return kEntryLineContinuation;
    return {};
}

// The blanks that begin each continuation of the line.
std::size_t continuationIndent(std::string_view line, Continuation continuation);

// The page lines of a printed line when `fits` characters fit on one. A line
// that fits is its own page line. A longer one breaks at the last blank that
// leaves a piece within the width, the blank giving way to the break; a piece
// without such a blank is cut at the width. Each continuation begins with
// `indent` blanks, or with none when the indent leaves no room for text.
// Apart from the blanks at the breaks, every character is kept, in order.
std::vector<std::string> wrapPrintedLine(std::string_view line, std::size_t fits,
                                         std::size_t indent);

// The date and time a printout heading shows: "MM-DD-YYYY ~ hh:mm:ss".
std::string printoutTimeStamp(const std::tm& when);

}  // namespace tl
