#include "ui/source_lexers.h"

#include <Qsci/qsciscintilla.h>

#include <cctype>
#include <string>

#include "workspace/editor_colours.h"
#include "workspace/lexer_words.h"

namespace zarvek::ui {

QColor ColourFromSettings(int colour) { return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF); }

TSourceLexer::TSourceLexer(Kind kind, QObject* parent) : QsciLexerCustom(parent), m_kind(kind) {
  SetColours(0x000000, 0x808080, 0xFFFFFF);
}

const char* TSourceLexer::language() const { return m_kind == Kind::Basic ? "BASIC" : "Assembler"; }

QString TSourceLexer::description(int s) const {
  switch (s) {
    case style::Default: return QStringLiteral("Text");
    case style::Comment: return QStringLiteral("Kommentar");
    case style::Keyword: return QStringLiteral("Schlüsselwort");
    case style::String: return QStringLiteral("Zeichenkette");
    case style::Number: return QStringLiteral("Zahl");
    case style::Directive: return QStringLiteral("Direktive");
    case style::Symbol: return QStringLiteral("Zeichen");
    default: return {};
  }
}

void TSourceLexer::SetColours(int textColour, int commentColour, int background) {
  const workspace::TStyleColours c = workspace::StyleColours(textColour, commentColour, background);
  setPaper(ColourFromSettings(background), -1);
  setColor(ColourFromSettings(c.text), style::Default);
  setColor(ColourFromSettings(c.text), style::Symbol);
  setColor(ColourFromSettings(c.comment), style::Comment);
  setColor(ColourFromSettings(c.keyword), style::Keyword);
  setColor(ColourFromSettings(c.string), style::String);
  setColor(ColourFromSettings(c.number), style::Number);
  setColor(ColourFromSettings(c.directive), style::Directive);
}
void TSourceLexer::SetEditorFont(const QFont& font) { setFont(font, -1); }

void TSourceLexer::styleText(int start, int end) {
  QsciScintilla* e = editor();
  if (!e) return;
  // Comments and strings end with their line, so styling whole lines needs no state.
  const int firstLine = static_cast<int>(e->SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION, start));
  const int lastLine = static_cast<int>(e->SendScintilla(QsciScintillaBase::SCI_LINEFROMPOSITION, end));
  for (int line = firstLine; line <= lastLine; ++line) {
    const int from = static_cast<int>(e->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, line));
    const int to = static_cast<int>(e->SendScintilla(QsciScintillaBase::SCI_GETLINEENDPOSITION, line));
    const int next = line + 1 < e->lines()
                         ? static_cast<int>(e->SendScintilla(QsciScintillaBase::SCI_POSITIONFROMLINE, line + 1))
                         : to;
    StyleLine(e->bytes(from, to), from);
    if (next > to) {
      startStyling(to);
      setStyling(next - to, style::Default);
    }
  }
}

namespace {
bool IsWordByte(char ch) {
  const auto c = static_cast<unsigned char>(ch);
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '$' ||
         c >= 0x80;
}
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
}  // namespace

void TSourceLexer::StyleLine(const QByteArray& bytes, int lineStart) {
  // bytes() may carry a terminating zero.
  const std::string line(bytes.constData(), static_cast<size_t>(qstrnlen(bytes.constData(), static_cast<uint>(bytes.size()))));
  startStyling(lineStart);
  const bool basic = m_kind == Kind::Basic;
  size_t i = 0;
  auto run = [&](size_t length, int s) {
    setStyling(static_cast<int>(length), s);
    i += length;
  };
  if (!basic && !line.empty() && line[0] == '*') {
    run(line.size(), style::Comment);
    return;
  }
  while (i < line.size()) {
    const char c = line[i];
    if ((basic && c == '\'') || (!basic && c == ';')) {
      run(line.size() - i, style::Comment);
    } else if (c == '"' || (!basic && c == '\'')) {
      const size_t close = line.find(c, i + 1);
      run(close == std::string::npos ? line.size() - i : close + 1 - i, style::String);
    } else if (IsDigit(c) || (!basic && (c == '$' || c == '%' || c == '@') && i + 1 < line.size() &&
                              std::isxdigit(static_cast<unsigned char>(line[i + 1])))) {
      size_t j = i + 1;
      while (j < line.size() && std::isalnum(static_cast<unsigned char>(line[j]))) ++j;
      run(j - i, style::Number);
    } else if (IsWordByte(c)) {
      size_t j = i;
      while (j < line.size() && (IsWordByte(line[j]) || (!basic && line[j] == '.'))) ++j;
      const std::string word = line.substr(i, j - i);
      int s = style::Default;
      if (basic) {
        if (workspace::IsBasicKeyword(word)) s = style::Keyword;
      } else {
        switch (workspace::AssemblerWordClass(word)) {
          case workspace::TAsmWordClass::Mnemonic: s = style::Keyword; break;
          case workspace::TAsmWordClass::Directive: s = style::Directive; break;
          default: break;
        }
      }
      run(j - i, s);
    } else {
      run(1, c == ' ' || c == '\t' ? style::Default : style::Symbol);
    }
  }
}

}  // namespace zarvek::ui
