// SPDX-License-Identifier: GPL-3.0-or-later

#include "export/export_gate.h"

#include "export/efile.h"

namespace tl {

ExportGate checkExportGate(const ReconcileResult& update,
                           const std::vector<StudentRecord>& students,
                           const std::vector<Phrase>& phrases) {
    if (update.refused) return {GateOutcome::Refused, update.notice, {}, {}};
    if (!update.dropped.empty() || !update.added.empty()) {
        return {
            GateOutcome::Discrepancies, {}, discrepancyReport(update.dropped, update.added), {}};
    }
    std::vector<StudentComments> comments = classComments(students, phrases);
    std::vector<std::string> problems = problemReport(students, comments);
    if (!problems.empty())
        return {GateOutcome::Problems, {}, std::move(problems), std::move(comments)};
    return {GateOutcome::Ready, {}, {}, std::move(comments)};
}

}  // namespace tl
