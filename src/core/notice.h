// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>
#include <string>

#include "core/limits.h"

namespace tl {

enum class NoticeIcon { None, Information, Exclamation, Critical };

// A message for the teacher, shown by the window that called the core procedure.
struct Notice {
    std::string text;
    std::string title = kProgramName;
    NoticeIcon icon = NoticeIcon::None;

    bool operator==(const Notice&) const = default;
};

// The result of a procedure that either succeeds (empty) or fails with a message.
using Failure = std::optional<Notice>;

}  // namespace tl
