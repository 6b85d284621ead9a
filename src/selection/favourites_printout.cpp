// SPDX-License-Identifier: GPL-3.0-or-later

#include "selection/favourites_printout.h"

#include "core/limits.h"
#include "core/workspace.h"
#include "favourites/favourites_text.h"

namespace tl {

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
    for (const InitialValueRange& range : ws.doc.ranges()) {
        for (const std::string& line : printedRangeLines(range, ws.phrases))
            lines.push_back({fixed, line});
    }
    return lines;
}

}  // namespace tl
