// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <vector>

#include "core/master_file.h"
#include "core/notice.h"
#include "core/phrase_library.h"
#include "core/student_record.h"

// What the export window shows as it opens, without Qt.
namespace tl {

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

// After the class was brought into line with the enrolment file (update):
// checks that the update was done, that no student was dropped or added and
// that every student is complete; stops at the first that fails.
ExportGate checkExportGate(const ReconcileResult& update,
                           const std::vector<StudentRecord>& students,
                           const std::vector<Phrase>& phrases);

}  // namespace tl
