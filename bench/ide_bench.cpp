// The IDE's editor on a long source, through the session as the user drives it, on the platform the
// environment gives (tools/bench-ide.sh runs it under Xvfb; without a display it runs offscreen):
//
// - Open: the Open command on a file of LINES lines (default 100,000), from the command to the
//   editor's visible part painted and coloured; best of five.
// - Typing: a keystroke (a letter, Enter, Backspace) near the start, the middle and the end of that
//   text, from the key event through the text change, the session's listeners and the repaint of
//   the editor; median and worst of the keystrokes at each place.
// - The copy of the edited text into the form that follows a pause in typing.
//
// Wall clock in milliseconds: the editor does its work on the GUI thread.
//
//     ide_bench [LINES]
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QTemporaryDir>

#include <Qsci/qsciscintillabase.h>

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

double msSince(const QElapsedTimer& clock) {
  return static_cast<double>(clock.nsecsElapsed()) / 1e6;
}

void pressKey(QWidget& target, int key, const QString& text) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
  QApplication::sendEvent(&target, &press);
  QApplication::sendEvent(&target, &release);
}

struct Spread {
  double median, worst;
};

Spread spread(std::vector<double> ms) {
  std::sort(ms.begin(), ms.end());
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

  // Open: the command, then the editor painted as the event loop would paint it.
  double bestOpen = 1e300;
  for (int round = 0; round < 5; ++round) {
    session.form().machine.highlvl = {"// before"};
    session.editorTextReplaced();
    QApplication::processEvents();
    QElapsedTimer clock;
    clock.start();
    session.openFile(path);
    editor.viewport()->repaint();
    bestOpen = std::min(bestOpen, msSince(clock));
    QApplication::processEvents();
  }
  const long styled = editor.SendScintilla(QsciScintillaBase::SCI_GETENDSTYLED);
  const long length = editor.SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
  std::printf("%-52s %9.2f ms  (coloured so far: %.2f%% of the text)\n",
              "open: the Open command to the text painted", bestOpen,
              100.0 * static_cast<double>(styled) / static_cast<double>(std::max(1L, length)));
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
    std::vector<double> ms;
    for (int i = 0; i < 60; ++i) {
      const int step = i % 6;  // three letters, Enter, a letter, Backspace
      const int key = step == 3 ? Qt::Key_Return : step == 5 ? Qt::Key_Backspace : Qt::Key_A;
      const QString text = step == 3 ? "\r" : step == 5 ? "\b" : "a";
      QElapsedTimer clock;
      clock.start();
      pressKey(editor, key, text);
      QApplication::processEvents();
      editor.viewport()->repaint();
      ms.push_back(msSince(clock));
    }
    Spread s = spread(ms);
    std::printf("%-52s %9.2f ms median, %.2f ms worst\n",
                ("typing near the " + std::string(name) + ": a keystroke painted").c_str(),
                s.median, s.worst);
  }

  // The pause after typing: the session copies the editor's text into the form.
  QElapsedTimer clock;
  clock.start();
  session.syncEditorToForm();
  std::printf("%-52s %9.2f ms\n", "after a pause in typing: the text copied to the form",
              msSince(clock));
  return 0;
}
