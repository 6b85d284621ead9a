#include "autofill/initial_values_printout.h"

#include <string>

#include "autofill/mark_ranges.h"
#include "core/limits.h"
#include "core/workspace.h"

namespace tl {

std::vector<PrintedLine> initialValuesPrintout(const Workspace& ws, const std::tm& when) {
    const PrintFont fixed = kInitialValuesFont;
    std::vector<PrintedLine> lines = {{kPrinterDefaultFont, ""},
                                      {fixed, std::string("Tallyleaf v") + kVersion},
                                      {fixed, printoutTimeStamp(when)},
                                      {fixed, "Initial Values for: " + ws.favouritesFile},
                                      {fixed, " "}};
    for (const InitialValueRange& range : ws.initialValues) {
        for (const std::string& line : rangeDetailLines(range, ws.phrases))
            lines.push_back({fixed, "   " + line});
        lines.push_back({fixed, " "});
    }
    return lines;
}

}  // namespace tl
