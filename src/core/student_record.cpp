// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/student_record.h"

namespace tl {

bool isEmptyCode(const std::string& code) {
    return code.empty() || code == "    ";
}

bool isVacantSlot(const std::string& code) {
    return code.empty();
}

}  // namespace tl
