// Syntax colouring of the two editors; the words come from the workspace models.
#pragma once

#include <Qsci/qscilexercustom.h>

namespace zarvek::ui {

namespace style {
inline constexpr int Default = 0;
inline constexpr int Comment = 1;
inline constexpr int Keyword = 2;
inline constexpr int String = 3;
inline constexpr int Number = 4;
inline constexpr int Directive = 5;
inline constexpr int Symbol = 6;
}  // namespace style

class TSourceLexer : public QsciLexerCustom {
 public:
  enum class Kind { Basic, Assembler };
  TSourceLexer(Kind kind, QObject* parent);
  const char* language() const override;
  QString description(int style) const override;
  void styleText(int start, int end) override;
  // Settings colours hold red in the low byte. Every style's colour is made readable on
  // the background.
  void SetColours(int textColour, int commentColour, int background);
  void SetEditorFont(const QFont& font);

 private:
  void StyleLine(const QByteArray& line, int lineStart);
  Kind m_kind;
};

QColor ColourFromSettings(int colour);

}  // namespace zarvek::ui
