#pragma once

#include <string>
#include <string_view>

// The page of every printout, in points (1/72 inch). Lines advance by 0.95 of
// their font size inside margins of 8 mm, so that a landscape A4 or Letter
// page holds the fullest page of the class report: the heading, the report's
// counter limit and the longest student block.
namespace tl {

inline constexpr double kLinePitch = 0.95;
inline constexpr double kPageMarginMm = 8;
inline constexpr double kPageMarginPt = kPageMarginMm * 72 / 25.4;
inline constexpr double kA4LandscapeHeightPt = 595.28;
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
    bool fits(double fontSize) const { return used_ == 0 || used_ + advance(fontSize) <= height_; }
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
inline constexpr PrintFont kInitialValuesFont{"Courier New", 9};

struct PrintedLine {
    PrintFont font;
    std::string text;
    bool operator==(const PrintedLine&) const = default;
};

}  // namespace tl
