// The editor's find, replace and go to line on a 100,000-line source, on the offscreen platform:
// each operation timed alone, best of five rounds, in milliseconds (wall clock, the editor does
// its work on the GUI thread). A learner's editor should answer each within 100 ms.
//
//     editor_bench [LINES]
#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "gui/editor_search.h"
#include "gui/source_editor.h"

namespace {

double bestMs(const std::function<void()>& setUp, const std::function<void()>& run) {
  double best = 1e300;
  for (int round = 0; round < 5; ++round) {
    setUp();
    QElapsedTimer clock;
    clock.start();
    run();
    best = std::min(best, static_cast<double>(clock.nsecsElapsed()) / 1e6);
  }
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  const int lines = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100000;
  std::vector<std::string> source;
  source.reserve(static_cast<size_t>(lines));
  for (int i = 0; i < lines; ++i)
    source.push_back(i % 100 == 99 ? "  %ECHO marker " + std::to_string(i)
                                   : "  x:=x+" + std::to_string(i) + " // step");
  source.back() = "needle at the end";

  trel::gui::SourceEditor editor;
  editor.resize(633, 465);
  editor.show();
  auto load = [&] {
    editor.loadLines(source);
    editor.setCursorPosition(0, 0);
  };
  const trel::gui::SearchOptions plain;
  const trel::gui::SearchOptions whole{true, true};

  std::printf("editor of %d lines, best of 5 rounds\n", lines);
  std::printf("%-44s %9.2f ms\n", "find next: a match on the last line",
              bestMs(load, [&] { trel::gui::findMatch(editor, "needle", plain, true); }));
  std::printf("%-44s %9.2f ms\n", "find next: no match anywhere",
              bestMs(load, [&] { trel::gui::findMatch(editor, "absent", whole, true); }));
  std::printf("%-44s %9.2f ms\n", "find previous: wraps to the last line",
              bestMs(load, [&] { trel::gui::findMatch(editor, "needle", plain, false); }));
  std::printf("%-44s %9.2f ms\n", "highlight all: 1,000 matches",
              bestMs(load, [&] { trel::gui::highlightMatches(editor, "marker", plain); }));
  std::printf("%-44s %9.2f ms\n", "replace all: 1,000 matches, one undo step",
              bestMs(load, [&] { trel::gui::replaceAllMatches(editor, "marker", "MARK", plain); }));
  std::printf("%-44s %9.2f ms\n", "replace all: every line (100,000 matches)",
              bestMs(load, [&] { trel::gui::replaceAllMatches(editor, "x:=", "y:=", plain); }));
  std::printf("%-44s %9.2f ms\n", "go to line: the last one", bestMs(load, [&] {
                editor.goToLine(lines);
                QCoreApplication::processEvents();
              }));
  std::printf("%-44s %9.2f ms\n", "undo of replace all (every line)",
              bestMs(
                  [&] {
                    load();
                    trel::gui::replaceAllMatches(editor, "x:=", "y:=", plain);
                  },
                  [&] { editor.undo(); }));
  return 0;
}
