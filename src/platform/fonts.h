// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

namespace tl {

// The fonts asked for by name ("Courier New", "Arial", "Times New Roman",
// "MS Sans Serif") fall back to the metric-compatible Liberation fonts.
void installFontSubstitutes();

}  // namespace tl
