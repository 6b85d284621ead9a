// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <ctime>
#include <string>
#include <vector>

#include "core/notice.h"

// What the export window shows as it opens, without Qt.
namespace tl {

struct Workspace;

enum class GateOutcome {
    Refused,        // the class list update was refused: its message, nothing else
    Discrepancies,  // students dropped or added: the report, no export
    Problems,       // incomplete students: the report, no export
    Ready           // the class may be previewed and exported
};

struct ExportGate {
    GateOutcome outcome = GateOutcome::Ready;
    Failure notice;                  // Refused: TL4, TL5 or TL21
    std::vector<std::string> lines;  // Discrepancies and Problems: the report
};

// Brings the class into line with the enrolment file, then checks that no
// student was dropped or added and that every student is complete; stops at
// the first that fails.
ExportGate checkExportGate(Workspace& ws, const std::string& masterPath, std::time_t now,
                           std::size_t listCapacity);

}  // namespace tl
