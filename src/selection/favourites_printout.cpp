#include "selection/favourites_printout.h"

#include "core/limits.h"
#include "core/text.h"
#include "core/workspace.h"

namespace tl {

namespace {

constexpr int kCodeColumn = 75;

// A code with its phrase text, as wide as the code column or wider.
std::string codeColumn(const std::vector<Phrase>& phrases, const std::string& code) {
    return padRight(code + " " + lookupPhrase(phrases, code), kCodeColumn);
}

}  // namespace

std::string favouritesPrintoutHeading(const std::tm& when) {
    return std::string("Tallyleaf ~ v") + kVersion + " ~ " + printoutTimeStamp(when);
}

std::vector<PrintedLine> favouritesPrintout(const Workspace& ws, const std::tm& when) {
    std::vector<PrintedLine> lines;
    lines.push_back({kPrinterDefaultFont, ""});
    const PrintFont heading = kFavouritesHeadingFont;
    lines.push_back({heading, favouritesPrintoutHeading(when)});
    lines.push_back({heading, "Favourites: " + ws.favouritesFile});
    lines.push_back({heading, " "});
    for (const std::string& entry : ws.favourites)
        lines.push_back({kFavouritesEntryFont, entry + " " + lookupPhrase(ws.phrases, entry)});

    const PrintFont fixed = kInitialValuesFont;
    lines.push_back({fixed, " "});
    lines.push_back({fixed, " "});
    lines.push_back({fixed, "Current Initial Values for this Favourites File"});
    lines.push_back({fixed, " "});
    const std::string three(3, ' ');
    for (const InitialValueRange& r : ws.initialValues) {
        lines.push_back({fixed, three + padRight("Range", 8) + codeColumn(ws.phrases, r.codes[0]) +
                                    "Learning Skills"});
        const std::string marks = std::to_string(r.lowMark) + "-" + std::to_string(r.highMark);
        lines.push_back({fixed, three + padRight(marks, 8) + codeColumn(ws.phrases, r.codes[1]) +
                                    " RE OR IW CO IN SR"});
        std::string skills;
        for (const std::string& skill : r.skills)
            skills += "  " + skill;
        lines.push_back(
            {fixed, three + std::string(8, ' ') + codeColumn(ws.phrases, r.codes[2]) + skills});
        lines.push_back({fixed, " "});
    }
    return lines;
}

}  // namespace tl
