// The source editor's lexer: colours QN+ source with the rules of editor/syntax_scanner.h and the
// editor settings of the main window (white on black, keyword colour set at start-up).
#pragma once

#include <Qsci/qscilexercustom.h>

#include <QColor>
#include <QFont>

#include <string>
#include <vector>

#include "editor/syntax_scanner.h"

namespace trel::gui {

class QnLexer : public QsciLexerCustom {
  Q_OBJECT
 public:
  explicit QnLexer(QObject* parent = nullptr);

  const char* language() const override { return "QN+"; }
  QString description(int style) const override;
  QColor defaultColor(int style) const override;
  QColor defaultPaper(int style) const override;
  QFont defaultFont(int style) const override;
  void styleText(int start, int end) override;

  // The keyword colour; the form design gives yellow, start-up sets it to its own colour.
  void setKeywordColour(const QColor& colour);
  QColor keywordColour() const { return keywordColour_; }

 private:
  QColor keywordColour_{Qt::yellow};
  // Kept between calls so that colouring allocates only when a range is longer than before.
  std::string styles_;
  std::vector<SyntaxSpan> spans_;
};

}  // namespace trel::gui
