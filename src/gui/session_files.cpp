// The session's comforts around files: the caption, Open recent, Examples, the Build exe note,
// autosave to a recovery file and its restore, and the windows' places between starts.
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStatusBar>

#include <filesystem>

#include "editor/help_topic.h"
#include "formula/function_table.h"
#include "gui/ide_settings.h"
#include "gui/recent_files.h"
#include "gui/session.h"
#include "gui/text_bytes.h"
#include "gui/window_placement.h"
#include "rtl/errors.h"
#include "rtl/text.h"

namespace trel::gui {

namespace {

constexpr char kRecoveryFile[] = "code.qn.recovery";
constexpr char kEditorFile[] = "code.qn";
constexpr int kStatusMessageMs = 10000;

QString shownName(const std::string& path) {
  return QFileInfo(QFile::decodeName(path.c_str())).fileName();
}

std::string absolute(const std::string& path) {
  std::error_code ec;
  std::filesystem::path p = std::filesystem::absolute(path, ec);
  return ec ? path : p.lexically_normal().string();
}

// The examples shipped with Trel: beside an installed executable, or in the source tree of a
// development build.
QString examplesFolder() {
  const QString installed =
      QCoreApplication::applicationDirPath() + QStringLiteral("/../share/trel/examples");
  if (QFileInfo(installed).isDir()) return QDir(installed).canonicalPath();
#ifdef TREL_SOURCE_EXAMPLES
  if (QFileInfo(QStringLiteral(TREL_SOURCE_EXAMPLES)).isDir())
    return QStringLiteral(TREL_SOURCE_EXAMPLES);
#endif
  return {};
}

const std::vector<std::string_view>& functionNames() {
  static const std::vector<std::string_view> names = [] {
    std::vector<std::string_view> n;
    for (const FTableItem& item : kFunctionTable) n.push_back(item.name);
    return n;
  }();
  return names;
}

}  // namespace

void Session::afterCommand(MainCommand c) {
  switch (c) {
    case MainCommand::ShowLowLevel:
      presentLowLevel();
      break;
    case MainCommand::Help:
      presentHelp();
      break;
    case MainCommand::Open:
    case MainCommand::Save:
      if (host_.chosenFile()) noteFile(*host_.chosenFile());
      break;
    case MainCommand::BuildExe: {
      std::error_code ec;
      uintmax_t size = std::filesystem::file_size(form_.Label3, ec);
      if (!ec)
        main_->statusBar()->showMessage(QStringLiteral("Built %1 (%2 bytes)")
                                            .arg(fromBytes(form_.Label3))
                                            .arg(QLocale::c().toString(qulonglong(size))),
                                        kStatusMessageMs);
      break;
    }
    default:
      break;
  }
}

void Session::noteFile(const std::string& path) {
  currentFile_ = absolute(path);
  storeRecentFiles(withRecentFile(loadRecentFiles(), currentFile_));
  main_->editor().setModified(false);
  updateCaption();
}

void Session::updateCaption() {
  if (currentFile_.empty()) {
    main_->setWindowTitle(QStringLiteral("Trel"));
    return;
  }
  QString mark = main_->editor().isModified() ? QStringLiteral("*") : QString();
  main_->setWindowTitle(mark + shownName(currentFile_) + QStringLiteral(" - Trel"));
}

void Session::fillRecentMenu() {
  QMenu& menu = main_->recentMenu();
  menu.clear();
  RecentFiles files = checkRecentFiles(loadRecentFiles());
  if (!files.dropped.empty()) {
    storeRecentFiles(files.kept);
    QStringList names;
    for (const std::string& path : files.dropped) names << shownName(path);
    main_->statusBar()->showMessage(
        QStringLiteral("No longer there, dropped from Open recent: %1").arg(names.join(", ")),
        kStatusMessageMs);
  }
  int number = 0;
  for (const std::string& path : files.kept) {
    ++number;
    QString label = number < 10 ? QStringLiteral("&%1 ").arg(number) : QStringLiteral("1&0 ");
    QAction* item = menu.addAction(label + QFile::decodeName(path.c_str()));
    connect(item, &QAction::triggered, this, [this, path] { openFile(path); });
  }
  if (files.kept.empty()) menu.addAction(QStringLiteral("(none yet)"))->setEnabled(false);
}

void Session::openFile(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) {
    storeRecentFiles(checkRecentFiles(loadRecentFiles()).kept);
    host_.messageBox(path + " is no longer there; it was dropped from Open recent.", "Trel",
                     mb::kOk | mb::kIconWarning);
    return;
  }
  host_.forgetChosenFile();
  host_.presetOpenAnswer(path);
  bool ok = command([this] { form_.Button2Click(); });
  if (ok) afterCommand(MainCommand::Open);
  host_.forgetChosenFile();
}

void Session::fillExamplesMenu() {
  QMenu& menu = main_->examplesMenu();
  menu.clear();
  const QString folder = examplesFolder();
  const QStringList names =
      folder.isEmpty() ? QStringList()
                       : QDir(folder).entryList({QStringLiteral("*.qn")}, QDir::Files, QDir::Name);
  for (const QString& name : names) {
    std::string path = toBytes(folder + QLatin1Char('/') + name);
    connect(menu.addAction(name), &QAction::triggered, this, [this, path] { openExample(path); });
  }
  if (names.isEmpty()) menu.addAction(QStringLiteral("(no examples found)"))->setEnabled(false);
}

void Session::openExample(const std::string& path) {
  // A copy in the projects folder, under a name no file there has yet, so the original stays as
  // it was and a save goes to the user's own file.
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::path folder = fs::path(form_.machine.startupDirectory) / "projects";
  fs::create_directories(folder, ec);
  fs::path source(path);
  fs::path copy = folder / source.filename();
  for (int n = 2; fs::exists(copy, ec); ++n)
    copy =
        folder / (source.stem().string() + "-" + std::to_string(n) + source.extension().string());
  if (!fs::copy_file(source, copy, ec)) {
    host_.messageBox(
        "Cannot copy the example " + path + " to " + copy.string() + ": " + ec.message(), "Trel",
        mb::kOk | mb::kIconError);
    return;
  }
  openFile(copy.string());
}

void Session::helpAtCursor() {
  int line = 0, index = 0;
  SourceEditor& editor = main_->editor();
  editor.getCursorPosition(&line, &index);
  QByteArray text = editor.text(line).toUtf8();
  while (text.endsWith('\n') || text.endsWith('\r')) text.chop(1);
  const std::string topic =
      helpTopicAt(std::string_view(text.constData(), static_cast<size_t>(text.size())),
                  static_cast<size_t>(index), functionNames());
  bool ok = command([this] { form_.Button8Click(); });
  if (!ok) return;
  presentHelp();
  if (!topic.empty()) help_->showTopic(fromBytes(topic));
}

std::string Session::recoveryPath() const {
  return (std::filesystem::path(form_.machine.startupDirectory) / kRecoveryFile).string();
}

void Session::autosaveNow() {
  if (!autosaveDirty_ || !form_.ideMode()) return;
  try {
    writeFileAtomically(recoveryPath(), main_->editor().bytes());
    autosaveDirty_ = false;
  } catch (const std::exception& e) {
    main_->statusBar()->showMessage(
        QStringLiteral("Autosave failed: %1").arg(fromBytes(errorText(e))), kStatusMessageMs);
  }
}

void Session::offerRecovery() {
  namespace fs = std::filesystem;
  const std::string recovery = recoveryPath();
  std::error_code ec;
  if (!fs::is_regular_file(recovery, ec)) return;
  const fs::path editorFile = fs::path(form_.machine.startupDirectory) / kEditorFile;
  auto saved = fs::last_write_time(recovery, ec);
  std::error_code noEditorFile;
  auto edited = fs::last_write_time(editorFile, noEditorFile);
  std::string text;
  try {
    text = readWholeFile(recovery);
  } catch (const std::exception&) {
    return;
  }
  const bool newer = !ec && (noEditorFile || saved > edited);
  if (!newer || text == main_->editor().bytes()) {
    fs::remove(recovery, ec);  // nothing in it that code.qn lacks
    return;
  }
  int answer = host_.messageBox(
      "Trel was not closed normally last time. The editor text it saved for recovery is newer "
      "than code.qn.\n\nRestore it? (No keeps code.qn's text; the recovery file is deleted.)",
      "Trel", mb::kYesNo | mb::kIconQuestion);
  if (answer == mb::kIdYes) {
    form_.machine.highlvl = splitAtLineBreaks(text);
    form_.highlvlChange();
    main_->editor().replaceLines(form_.machine.highlvl);
    autosaveDirty_ = true;  // the restored text is not in code.qn yet
    refresh();
  } else {
    fs::remove(recovery, ec);
  }
}

void Session::restorePlaces() {
  std::unique_ptr<QSettings> settings = openSettings();
  QByteArray geometry = settings->value(QStringLiteral("window/geometry")).toByteArray();
  if (!geometry.isEmpty() && main_->restoreGeometry(geometry)) {
    placesRestored_ = true;
    if (!main_->isMaximized()) placeWindow(*main_, main_->geometry().topLeft());
  }
  QVariant console = settings->value(QStringLiteral("console/position"));
  if (console.canConvert<QPoint>() && console.isValid()) consolePlace_ = console.toPoint();
  QVariant viewer = settings->value(QStringLiteral("viewer/position"));
  if (viewer.canConvert<QPoint>() && viewer.isValid()) viewerPlace_ = viewer.toPoint();
  main_->editMenu()
      .action(EditCommand::ShowWhitespace)
      ->setChecked(settings->value(QStringLiteral("editor/whitespace"), false).toBool());
}

void Session::rememberPlaces() {
  std::unique_ptr<QSettings> settings = openSettings();
  settings->setValue(QStringLiteral("window/geometry"), main_->saveGeometry());
  if (consolePlaced_)
    settings->setValue(QStringLiteral("console/position"), console_->frameGeometry().topLeft());
  // A window that was shown once keeps its last place while hidden.
  if (lowLevel_->testAttribute(Qt::WA_WState_Created))
    settings->setValue(QStringLiteral("viewer/position"), lowLevel_->frameGeometry().topLeft());
  settings->setValue(QStringLiteral("editor/whitespace"),
                     main_->editMenu().action(EditCommand::ShowWhitespace)->isChecked());
}

}  // namespace trel::gui
