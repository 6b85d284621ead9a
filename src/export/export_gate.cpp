// SPDX-License-Identifier: GPL-3.0-or-later

#include "export/export_gate.h"

#include "core/class_document.h"
#include "core/workspace.h"
#include "export/efile.h"

namespace tl {

ExportGate checkExportGate(Workspace& ws, const std::string& masterPath, std::time_t now,
                           std::size_t listCapacity) {
    ReconcileResult result = reconcileClass(ws, masterPath, now, listCapacity);
    if (result.refused) return {GateOutcome::Refused, std::move(result.notice), {}};
    if (!result.dropped.empty() || !result.added.empty())
        return {GateOutcome::Discrepancies, {}, discrepancyReport(result.dropped, result.added)};
    std::vector<std::string> problems = problemReport(ws.students, ws.phrases);
    if (!problems.empty()) return {GateOutcome::Problems, {}, std::move(problems)};
    return {};
}

}  // namespace tl
