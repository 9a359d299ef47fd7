// The texts of the main window's status bar: the state of a run and the diagnostics of the last
// translation or run. Every line number in them counts from 1, as the editor's gutter does.
#pragma once

#include <QString>

#include <cstdint>
#include <vector>

#include "machine/diagnostic.h"
#include "machine/source_map.h"

namespace trel::gui {

QString runningStatus(uint64_t steps);
QString endedStatus(uint64_t steps);
// `map` names the files; a place in the editor's own text is "line N".
QString pausedStatus(const SourceMap& map, SourceLocation at);
QString stoppedStatus(const SourceMap& map, SourceLocation at);
QString onlyTranslateStatus();
QString noProcedureToLeaveStatus();
// "Line N: MESSAGE" for the editor's text (`inEditor`), "FILE, line N: MESSAGE" for a library;
// warnings say so after the line.
QString diagnosticStatus(const Diagnostic& d, bool inEditor);
// The first warning, and how many more there are.
QString warningsStatus(const std::vector<Diagnostic>& warnings, bool firstInEditor);

}  // namespace trel::gui
