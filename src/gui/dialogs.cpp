#include "gui/dialogs.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTreeView>

#include <array>

#include "gui/text_bytes.h"

namespace trel::gui {

namespace {

struct ButtonSet {
  int flags;
  std::array<std::pair<QMessageBox::StandardButton, int>, 3> buttons;
  int escapeAnswer;  // the answer when the box is closed without a button
};

// The button choices of the style flags' low four bits, with the answers they give.
const std::array<ButtonSet, 6> kButtonSets = {{
    {mb::kOk, {{{QMessageBox::Ok, mb::kIdOk}}}, mb::kIdOk},
    {mb::kOkCancel,
     {{{QMessageBox::Ok, mb::kIdOk}, {QMessageBox::Cancel, mb::kIdCancel}}},
     mb::kIdCancel},
    {mb::kAbortRetryIgnore,
     {{{QMessageBox::Abort, mb::kIdAbort},
       {QMessageBox::Retry, mb::kIdRetry},
       {QMessageBox::Ignore, mb::kIdIgnore}}},
     mb::kIdAbort},
    {mb::kYesNoCancel,
     {{{QMessageBox::Yes, mb::kIdYes},
       {QMessageBox::No, mb::kIdNo},
       {QMessageBox::Cancel, mb::kIdCancel}}},
     mb::kIdCancel},
    {mb::kYesNo, {{{QMessageBox::Yes, mb::kIdYes}, {QMessageBox::No, mb::kIdNo}}}, mb::kIdNo},
    {mb::kRetryCancel,
     {{{QMessageBox::Retry, mb::kIdRetry}, {QMessageBox::Cancel, mb::kIdCancel}}},
     mb::kIdCancel},
}};

QMessageBox::Icon iconOf(int flags) {
  switch (flags & 0xF0) {
    case mb::kIconError:
      return QMessageBox::Critical;
    case mb::kIconQuestion:
      return QMessageBox::Question;
    case mb::kIconWarning:
      return QMessageBox::Warning;
    case mb::kIconInformation:
      return QMessageBox::Information;
  }
  return QMessageBox::NoIcon;
}

// Shown beside the request's own filters in open dialogs: a built program usually has no
// extension on Linux, and the Icon command must reach it.
const QString kAllFiles = QStringLiteral("All files (*)");

// Large enough for the detail view's name, size, type and date columns to be read in full.
constexpr QSize kDialogSize(860, 500);

// An open dialog that adds the default extension only to a name that does not exist as typed,
// and only while the first filter (the one the extension belongs to) is chosen.
class OpenFileDialog : public QFileDialog {
 public:
  using QFileDialog::QFileDialog;
  QString suffix;
  QString suffixFilter;
  QString chosen;  // the file picked by adding the suffix, when that is how it was found

 protected:
  void accept() override {
    setDefaultSuffix(QString());
    QStringList typed = selectedFiles();
    // A typed name that names no file may not count as selected: take it from the name box.
    if (typed.isEmpty())
      if (auto* edit = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
          edit && !edit->text().isEmpty())
        typed << directory().absoluteFilePath(edit->text());
    if (!suffix.isEmpty() && typed.size() == 1 && selectedNameFilter() == suffixFilter) {
      QFileInfo info(typed.first());
      if (!info.exists() && info.suffix().isEmpty()) {
        QFileInfo withSuffix(typed.first() + QLatin1Char('.') + suffix);
        if (withSuffix.exists()) {
          // Chosen here: the dialog's own check would look for the name as typed.
          chosen = withSuffix.absoluteFilePath();
          QDialog::accept();
          return;
        }
      }
    }
    QFileDialog::accept();
  }
};

// The detail view's columns, wide enough for what they hold.
void sizeColumns(QFileDialog& dialog) {
  dialog.setViewMode(QFileDialog::Detail);
  dialog.resize(kDialogSize);
  if (auto* tree = dialog.findChild<QTreeView*>(QStringLiteral("treeView"))) {
    QHeaderView* header = tree->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int column = 1; column < header->count(); ++column)
      header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
  }
}

std::string fileNameBytes(const QString& path) {
  QByteArray encoded = QFile::encodeName(path);
  return std::string(encoded.constData(), static_cast<size_t>(encoded.size()));
}

}  // namespace

QStringList nameFilters(const std::string& filter) {
  QStringList parts = fromBytes(filter).split(QLatin1Char('|'));
  QStringList out;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
    out << parts[i] + QStringLiteral(" (") +
               QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' ')) + QLatin1Char(')');
  return out;
}

int runMessageBox(QWidget* parent, const std::string& text, const std::string& caption, int flags) {
  const ButtonSet* set = &kButtonSets[0];
  for (const ButtonSet& s : kButtonSets)
    if (s.flags == (flags & 0x0F)) set = &s;
  QMessageBox box(iconOf(flags), fromBytes(caption), fromBytes(text), QMessageBox::NoButton,
                  parent);
  std::vector<std::pair<QAbstractButton*, int>> answers;
  for (const auto& [button, answer] : set->buttons) {
    if (button == QMessageBox::NoButton) continue;
    QPushButton* b = box.addButton(button);
    answers.emplace_back(b, answer);
    if (answer == set->escapeAnswer) box.setEscapeButton(b);
  }
  box.exec();
  for (const auto& [button, answer] : answers)
    if (box.clickedButton() == button) return answer;
  return set->escapeAnswer;
}

std::optional<std::string> runInputBox(QWidget* parent, const std::string& caption,
                                       const std::string& prompt, const std::string& value) {
  bool ok = false;
  QString text = QInputDialog::getText(parent, fromBytes(caption), fromBytes(prompt),
                                       QLineEdit::Normal, fromBytes(value), &ok);
  if (!ok) return std::nullopt;
  return toBytes(text);
}

std::optional<std::string> FileDialogMemory::open(QWidget* parent,
                                                  const FileDialogRequest& request) {
  return run(parent, request, false);
}

std::optional<std::string> FileDialogMemory::save(QWidget* parent,
                                                  const FileDialogRequest& request) {
  return run(parent, request, true);
}

std::optional<std::string> FileDialogMemory::run(QWidget* parent, const FileDialogRequest& request,
                                                 bool save) {
  OpenFileDialog dialog(parent);
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  QStringList filters = nameFilters(request.filter);
  if (!save && !filters.contains(kAllFiles)) filters << kAllFiles;
  dialog.setNameFilters(filters);
  if (!filter_.isEmpty() && filters.contains(filter_)) dialog.selectNameFilter(filter_);
  QString suffix = fromBytes(request.defaultExtension);
  if (suffix.startsWith(QLatin1Char('.'))) suffix.remove(0, 1);
  if (save) {
    dialog.setDefaultSuffix(suffix);
  } else if (!filters.isEmpty()) {
    dialog.suffix = suffix;
    dialog.suffixFilter = filters.first();
  }
  QString folder = request.initialDirectory.empty()
                       ? folder_
                       : QFile::decodeName(request.initialDirectory.c_str());
  if (!folder.isEmpty()) dialog.setDirectory(folder);
  sizeColumns(dialog);
  if (dialog.exec() != QDialog::Accepted) return std::nullopt;
  QString chosen = dialog.chosen;
  if (chosen.isEmpty()) {
    if (dialog.selectedFiles().isEmpty()) return std::nullopt;
    chosen = dialog.selectedFiles().first();
  }
  filter_ = dialog.selectedNameFilter();
  folder_ = QFileInfo(chosen).absolutePath();
  return fileNameBytes(chosen);
}

}  // namespace trel::gui
