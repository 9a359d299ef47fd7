// The IDE's editor on a long source, through the session as the user drives it, on the platform the
// environment gives (tools/bench-ide.sh runs it under Xvfb; without a display it runs offscreen):
//
// - Open: the Open command on a file of LINES lines (default 100,000), from the command to the
//   editor's visible part painted and coloured; best of five.
// - Typing: a keystroke (a letter, Enter, Backspace) near the start, the middle and the end of that
//   text, from the key event through the text change, the session's listeners and the repaint of
//   the editor; median and worst of the keystrokes at each place.
// - After the typing at each place, and after edits at both ends of the text, the edited text
//   taken into the form as a pause in typing does.
//
// Milliseconds of the GUI thread's processor time, which does all the editor's work and which a
// machine busy with other jobs stretches less, and in brackets of the wall clock (the X server's
// share of painting included).
//
//     ide_bench [LINES]
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTemporaryDir>

#include <Qsci/qsciscintillabase.h>

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "gui/qt_host.h"
#include "gui/session.h"

namespace {

// A long source of the kinds of lines a program holds: procedures, blocks, formulas, texts,
// comments.
std::string longSource(int lines) {
  static const char* const kBody[] = {
      "var total%d",
      "total%d:=0",
      "repeat",
      "total%d+1",
      "if (total%d < 10)",
      "%%ECHO still counting %d",
      "endif",
      "until (total%d > 20)",
      "x:=@FORMULA(sin(%d)*2+total%d/3)",
      "// a comment about step %d",
      "call work%d(,,,,)",
      "HALT",
  };
  std::string text;
  char line[160];
  for (int i = 0; i < lines; ++i) {
    if (i % 40 == 0)
      std::snprintf(line, sizeof line, "def (work%d)", i);
    else if (i % 40 == 39)
      std::snprintf(line, sizeof line, "RETURN");
    else
      std::snprintf(line, sizeof line, kBody[i % std::size(kBody)], i, i);
    text += line;
    text += '\n';
  }
  return text;
}

double threadMs() {
  timespec t{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// Processor and wall time from its start.
class Clock {
 public:
  Clock() { restart(); }
  void restart() {
    wall_.start();
    cpu_ = threadMs();
  }
  struct Ms {
    double cpu, wall;
  };
  Ms elapsed() const {
    return {threadMs() - cpu_, static_cast<double>(wall_.nsecsElapsed()) / 1e6};
  }

 private:
  QElapsedTimer wall_;
  double cpu_ = 0;
};

// The best of several timings, each taken by processor time.
struct Best {
  Clock::Ms ms{1e300, 1e300};
  void add(Clock::Ms m) {
    if (m.cpu < ms.cpu) ms = m;
  }
};

void print(const std::string& what, Clock::Ms ms, const std::string& note = {}) {
  std::printf("%-50s %8.2f ms (%8.2f ms wall)%s\n", what.c_str(), ms.cpu, ms.wall, note.c_str());
}

void pressKey(QWidget& target, int key, const QString& text) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QApplication::sendEvent(&target, &press);
  QApplication::sendEvent(&target, &release);
}

// The median and the worst of timings, ordered by processor time.
std::pair<Clock::Ms, Clock::Ms> spread(std::vector<Clock::Ms> ms) {
  std::sort(ms.begin(), ms.end(), [](Clock::Ms a, Clock::Ms b) { return a.cpu < b.cpu; });
  return {ms[ms.size() / 2], ms.back()};
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
    qputenv("QT_QPA_PLATFORM", "offscreen");
  // Open notes the file in the recent files of the settings: keep the user's own out of it.
  QTemporaryDir scratch;
  qputenv("XDG_CONFIG_HOME", QDir(scratch.path()).filePath("config").toLocal8Bit());
  QApplication app(argc, argv);
  const int lines = argc > 1 ? std::max(100, std::atoi(argv[1])) : 100000;
  const std::string path = QDir(scratch.path()).filePath("long.qn").toStdString();
  { std::ofstream(path, std::ios::binary) << longSource(lines); }

  trel::gui::QtHost host;
  trel::gui::Session session(host, {"base.exe"});
  trel::gui::MainWindow& main = session.mainWindow();
  trel::gui::SourceEditor& editor = main.editor();
  main.show();
  editor.setFocus();
  QApplication::processEvents();

  std::printf("IDE on %s, a source of %d lines\n", qPrintable(QApplication::platformName()), lines);

  // Open: the command, then the editor painted as the event loop would paint it. Then Ctrl+End,
  // which shows the last lines of the text, coloured.
  Best open, toEnd;
  long styledLines = 0;
  for (int round = 0; round < 5; ++round) {
    session.form().machine.highlvl = {"// before"};
    session.editorTextReplaced();
    QApplication::processEvents();
    Clock clock;
    session.openFile(path);
    editor.viewport()->repaint();
    open.add(clock.elapsed());
    QApplication::processEvents();
    styledLines = editor.SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION,
                                       editor.SendScintilla(QsciScintillaBase::SCI_GETENDSTYLED));
    clock.restart();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_End, Qt::ControlModifier);
    QApplication::sendEvent(&editor, &press);
    QApplication::processEvents();
    editor.viewport()->repaint();
    toEnd.add(clock.elapsed());
  }
  print("open: the Open command to the text painted", open.ms,
        "  lines coloured by then: " + std::to_string(styledLines));
  print("then Ctrl+End: the last lines painted", toEnd.ms);
  if (editor.lines() < lines || session.form().machine.highlvl.size() < size_t(lines))
    std::printf("  the editor or the form does not hold the whole file\n");

  // Typing at three places; each keystroke ends with the editor painted.
  const std::pair<const char*, int> places[] = {
      {"start", 5}, {"middle", lines / 2}, {"end", lines - 5}};
  for (const auto& [name, line] : places) {
    editor.setCursorPosition(line, 0);
    editor.ensureLineVisible(line);
    editor.viewport()->repaint();
    QApplication::processEvents();
    std::vector<Clock::Ms> ms;
    for (int i = 0; i < 60; ++i) {
      const int step = i % 6;  // three letters, Enter, a letter, Backspace
      const int key = step == 3 ? Qt::Key_Return : step == 5 ? Qt::Key_Backspace : Qt::Key_A;
      const QString text = step == 3 ? "\r" : step == 5 ? "\b" : "a";
      Clock clock;
      pressKey(editor, key, text);
      QApplication::processEvents();
      editor.viewport()->repaint();
      ms.push_back(clock.elapsed());
    }
    auto [median, worst] = spread(ms);
    print("typing near the " + std::string(name) + ": a keystroke, median", median);
    print("typing near the " + std::string(name) + ": a keystroke, worst", worst);
    // The pause after typing: the session takes the editor's text into the form.
    Clock clock;
    session.syncEditorToForm();
    print("typing near the " + std::string(name) + ": the pause after, text to the form",
          clock.elapsed());
  }

  // The same after edits at both ends of the text.
  for (int line : {2, lines - 2}) {
    editor.setCursorPosition(line, 0);
    pressKey(editor, Qt::Key_A, "a");
  }
  QApplication::processEvents();
  Clock clock;
  session.syncEditorToForm();
  print("edits at both ends: the pause after, text to the form", clock.elapsed());
  return 0;
}
