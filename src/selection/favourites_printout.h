// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "core/printed_page.h"

// The printed favourites list and initial values, without Qt.
namespace tl {

struct Workspace;

// "Tallyleaf ~ v3.3 Growing Success ~ 12-07-2026 ~ 14:05:09"
std::string favouritesPrintoutHeading(const std::tm& when);

// Every line of the printout in order: the heading and file, the favourites
// with their texts, then four lines per initial-value range.
std::vector<PrintedLine> favouritesPrintout(const Workspace& ws, const std::tm& when);

}  // namespace tl
