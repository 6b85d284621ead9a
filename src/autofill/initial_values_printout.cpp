#include "autofill/initial_values_printout.h"

#include <cstdio>
#include <string>

#include "autofill/mark_ranges.h"
#include "core/limits.h"
#include "core/workspace.h"

namespace tl {

std::vector<PrintedLine> initialValuesPrintout(const Workspace& ws, const std::tm& when) {
    char stamp[96];
    std::snprintf(stamp, sizeof stamp, "%02d-%02d-%04d ~ %02d:%02d:%02d", when.tm_mon + 1,
                  when.tm_mday, when.tm_year + 1900, when.tm_hour, when.tm_min, when.tm_sec);
    const PrintFont fixed = kInitialValuesFont;
    std::vector<PrintedLine> lines = {{kPrinterDefaultFont, ""},
                                      {fixed, std::string("Tallyleaf v") + kVersion},
                                      {fixed, stamp},
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
