// SPDX-License-Identifier: GPL-3.0-or-later

#include "autofill/initial_values_printout.h"

#include <string>

#include "core/limits.h"
#include "core/workspace.h"
#include "favourites/favourites_text.h"

namespace tl {

std::vector<PrintedLine> initialValuesPrintout(const Workspace& ws, const std::tm& when) {
    const PrintFont fixed = kInitialValuesFont;
    std::vector<PrintedLine> lines = {{kPrinterDefaultFont, ""},
                                      {fixed, std::string("Tallyleaf v") + kVersion},
                                      {fixed, printoutTimeStamp(when)},
                                      {fixed, "Initial Values for: " + ws.favouritesFile},
                                      {fixed, " "}};
    for (const InitialValueRange& range : ws.doc.ranges()) {
        for (const std::string& line : printedRangeLines(range, ws.phrases))
            lines.push_back({fixed, line});
    }
    return lines;
}

}  // namespace tl
