// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Texts of the start-up and about windows.
namespace tl {

inline constexpr const char* kSchoolName = "Tallyleaf community edition";
inline constexpr const char* kCreditLine = "by the Tallyleaf developers";
inline constexpr const char* kSupportAddress = "support@tallyleaf.invalid";
inline constexpr const char* kWebAddress = "https://tallyleaf.invalid";

}  // namespace tl
