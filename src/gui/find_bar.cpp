#include "gui/find_bar.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QToolButton>

#include <Qsci/qsciscintilla.h>

namespace trel::gui {

namespace {

QPushButton* button(const QString& text, const QString& tip, QWidget* parent) {
  auto* b = new QPushButton(text, parent);
  b->setToolTip(tip);
  b->setAutoDefault(false);
  return b;
}

}  // namespace

FindBar::FindBar(QsciScintilla& editor, QWidget* parent)
    : QWidget(parent),
      editor_(editor),
      find_(new QLineEdit(this)),
      replace_(new QLineEdit(this)),
      matchCase_(new QCheckBox(QStringLiteral("Match &case"), this)),
      wholeWord_(new QCheckBox(QStringLiteral("&Whole word"), this)),
      highlightAll_(new QCheckBox(QStringLiteral("&Highlight all"), this)),
      status_(new QLabel(this)),
      replaceRow_(new QWidget(this)) {
  setObjectName(QStringLiteral("FindBar"));
  find_->setObjectName(QStringLiteral("FindField"));
  find_->setPlaceholderText(QStringLiteral("Find"));
  replace_->setObjectName(QStringLiteral("ReplaceField"));
  replace_->setPlaceholderText(QStringLiteral("Replace with"));
  setAutoFillBackground(true);

  auto* findRow = new QHBoxLayout;
  findRow->setSpacing(4);
  findRow->addWidget(find_, 1);
  QPushButton* previous = button(QStringLiteral("Previous"), QStringLiteral("Shift+F3"), this);
  QPushButton* next = button(QStringLiteral("Next"), QStringLiteral("F3 or Enter"), this);
  findRow->addWidget(previous);
  findRow->addWidget(next);
  findRow->addWidget(matchCase_);
  findRow->addWidget(wholeWord_);
  findRow->addWidget(highlightAll_);
  findRow->addWidget(status_);
  auto* close = new QToolButton(this);
  close->setText(QStringLiteral("x"));
  close->setToolTip(QStringLiteral("Close (Esc)"));
  close->setAutoRaise(true);
  findRow->addWidget(close);

  auto* replaceLayout = new QHBoxLayout(replaceRow_);
  replaceLayout->setContentsMargins(0, 0, 0, 0);
  replaceLayout->setSpacing(4);
  replaceLayout->addWidget(replace_, 1);
  QPushButton* one = button(QStringLiteral("Replace"), QStringLiteral("Replace this match"), this);
  QPushButton* all = button(QStringLiteral("Replace all"), QStringLiteral("One undo step"), this);
  replaceLayout->addWidget(one);
  replaceLayout->addWidget(all);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(2, 2, 2, 2);
  layout->setSpacing(2);
  layout->addLayout(findRow);
  layout->addWidget(replaceRow_);

  connect(find_, &QLineEdit::returnPressed, this, &FindBar::findNext);
  connect(find_, &QLineEdit::textChanged, this, &FindBar::refreshHighlights);
  connect(replace_, &QLineEdit::returnPressed, this, &FindBar::replaceOne);
  connect(next, &QPushButton::clicked, this, &FindBar::findNext);
  connect(previous, &QPushButton::clicked, this, &FindBar::findPrevious);
  connect(one, &QPushButton::clicked, this, &FindBar::replaceOne);
  connect(all, &QPushButton::clicked, this, &FindBar::replaceAll);
  connect(close, &QToolButton::clicked, this, &QWidget::hide);
  for (QCheckBox* box : {matchCase_, wholeWord_, highlightAll_})
    connect(box, &QCheckBox::toggled, this, &FindBar::refreshHighlights);
  hide();
}

void FindBar::open(bool replacing) {
  replacing_ = replacing;
  replaceRow_->setVisible(replacing);
  QString selected = editor_.selectedText();
  if (!selected.isEmpty() && !selected.contains(QLatin1Char('\n'))) find_->setText(selected);
  show();
  adjustSize();
  emit shownOrHidden();
  find_->setFocus();
  find_->selectAll();
}

SearchOptions FindBar::options() const {
  return {matchCase_->isChecked(), wholeWord_->isChecked()};
}

QByteArray FindBar::needle() const {
  return find_->text().toUtf8();
}

void FindBar::report(bool found) {
  status_->setText(found || find_->text().isEmpty() ? QString() : QStringLiteral("Not found"));
}

bool FindBar::findNext() {
  bool found = findMatch(editor_, needle(), options(), true);
  report(found);
  return found;
}

bool FindBar::findPrevious() {
  bool found = findMatch(editor_, needle(), options(), false);
  report(found);
  return found;
}

bool FindBar::replaceOne() {
  bool replaced = replaceMatch(editor_, needle(), replace_->text().toUtf8(), options());
  refreshHighlights();
  return replaced;
}

int FindBar::replaceAll() {
  int count = replaceAllMatches(editor_, needle(), replace_->text().toUtf8(), options());
  refreshHighlights();
  status_->setText(QStringLiteral("%1 replaced").arg(count));
  return count;
}

void FindBar::refreshHighlights() {
  if (!highlightAll_->isChecked() || !isVisible()) {
    clearMatchHighlights(editor_);
    status_->clear();
    return;
  }
  int count = highlightMatches(editor_, needle(), options());
  status_->setText(find_->text().isEmpty() ? QString() : QStringLiteral("%1 found").arg(count));
}

void FindBar::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    hide();
    editor_.setFocus();
    return;
  }
  QWidget::keyPressEvent(event);
}

void FindBar::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  refreshHighlights();
}

void FindBar::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  clearMatchHighlights(editor_);
  // Only when the bar itself is hidden: it is also hidden along with its window, even while the
  // window is being destroyed, when the window's layout must not be touched.
  if (isHidden()) emit shownOrHidden();
}

}  // namespace trel::gui
