// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <string>
#include <vector>

#include "checks/completeness.h"
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
    // Problems and Ready: every student's comments, composed once for the
    // completeness tests, for the preview and the name check to read.
    std::vector<StudentComments> comments = {};
};

// After the class was brought into line with the enrolment file (update):
// checks that the update was done, that no student was dropped or added and
// that every student is complete; stops at the first that fails. The
// comments are composed only once the class is found in line.
ExportGate checkExportGate(const ReconcileResult& update,
                           const std::vector<StudentRecord>& students,
                           const std::vector<Phrase>& phrases);

}  // namespace tl
