// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/printed_page.h"

#include <algorithm>
#include <cstdio>

namespace tl {

std::size_t continuationIndent(std::string_view line, Continuation continuation) {
    if (!continuation.afterFirstBlank) return continuation.blanks;
    const std::size_t blank = line.find(' ');
    return blank == std::string_view::npos ? 0 : blank + 1;
}

std::vector<std::string> wrapPrintedLine(std::string_view line, std::size_t fits,
                                         std::size_t indent) {
    fits = std::max<std::size_t>(fits, 1);
    if (indent >= fits) indent = 0;
    std::vector<std::string> pages;
    std::string_view rest = line;
    std::size_t lead = 0;  // the blanks that begin this page line
    while (lead + rest.size() > fits) {
        const std::size_t room = fits - lead;
        // A blank right after the room still ends a piece that fits.
        const std::size_t blank = rest.rfind(' ', room);
        const bool atBlank = blank != std::string_view::npos && rest.find_first_not_of(' ') < blank;
        const std::size_t take = atBlank ? blank : room;
        pages.push_back(std::string(lead, ' ') + std::string(rest.substr(0, take)));
        rest.remove_prefix(atBlank ? take + 1 : take);
        lead = indent;
        if (rest.empty()) return pages;
    }
    pages.push_back(std::string(lead, ' ') + std::string(rest));
    return pages;
}

std::string printoutTimeStamp(const std::tm& when) {
    char stamp[96];
    std::snprintf(stamp, sizeof stamp, "%02d-%02d-%04d ~ %02d:%02d:%02d", when.tm_mon + 1,
                  when.tm_mday, when.tm_year + 1900, when.tm_hour, when.tm_min, when.tm_sec);
    return stamp;
}

}  // namespace tl
