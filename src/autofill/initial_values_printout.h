// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <ctime>
#include <vector>

#include "core/printed_page.h"

// The printed initial values of the Initial Values Setup window, without Qt.
namespace tl {

struct Workspace;

// Every line of the printout in order: an empty line in the printer's font,
// then in Courier New 8 the program and version, the date and time
// ("12-07-2026 ~ 14:05:09"), the favourites file and a blank line, and for
// each range its three detail lines indented by three blanks and a blank line.
std::vector<PrintedLine> initialValuesPrintout(const Workspace& ws, const std::tm& when);

}  // namespace tl
