#include "gui/run_status.h"

#include "gui/text_bytes.h"

namespace trel::gui {

namespace {

QString place(const SourceMap& map, SourceLocation at) {
  QString line = QStringLiteral("line %1").arg(at.line);
  if (at.file == 0) return line;
  return line + QStringLiteral(" of ") + fromBytes(map.fileName(at.file));
}

}  // namespace

QString runningStatus(uint64_t steps) {
  return QStringLiteral("Running, %1 steps").arg(steps);
}

QString endedStatus(uint64_t steps) {
  return QStringLiteral("Ended after %1 steps").arg(steps);
}

QString pausedStatus(const SourceMap& map, SourceLocation at) {
  return QStringLiteral("Paused at ") + place(map, at);
}

QString stoppedStatus(const SourceMap& map, SourceLocation at) {
  return QStringLiteral("Stopped at ") + place(map, at);
}

QString onlyTranslateStatus() {
  return QStringLiteral("Only translate is checked: translated, not run");
}

QString noProcedureToLeaveStatus() {
  return QStringLiteral("Step out: no procedure is running here");
}

QString diagnosticStatus(const Diagnostic& d, bool inEditor) {
  QString where = inEditor ? QStringLiteral("Line %1").arg(d.line)
                           : fromBytes(d.file) + QStringLiteral(", line %1").arg(d.line);
  if (d.severity == Diagnostic::Severity::Warning) where += QStringLiteral(": warning");
  return where + QStringLiteral(": ") + fromBytes(d.message);
}

QString warningsStatus(const std::vector<Diagnostic>& warnings, bool firstInEditor) {
  if (warnings.empty()) return {};
  QString text = diagnosticStatus(warnings.front(), firstInEditor);
  if (warnings.size() > 1) text += QStringLiteral(" (and %1 more)").arg(warnings.size() - 1);
  return text;
}

}  // namespace trel::gui
