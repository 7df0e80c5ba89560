#include "compiler/scanner.h"
#include "compiler/messages.h"

#include "compiler/diagnostics.h"
#include "compiler/reserved_words.h"

namespace zarvek {

namespace {

bool IsLetterOrUmlaut(unsigned char u) {
  return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || u == 196 || u == 214 || u == 220 || u == 223 ||
         u == 228 || u == 246 || u == 252;
}

bool IsStatementWordChar(char c) {
  const unsigned char u = static_cast<unsigned char>(c);
  if (IsLetterOrUmlaut(u) || (u >= '0' && u <= '9')) return true;
  switch (c) {
    case ':': case ' ': case '.': case ',': case '=': case '\'': case '_': case '[': case ']':
    case '{': case '}': case '(': case ')': case '$': case '\r': case '\n': case '\t':
      return true;
    default:
      return false;
  }
}

bool IsWordTerminator(char c) {
  switch (c) {
    case ' ': case '[': case '#': case '.': case ':': case '=': case '\'': case '\t': case '\r': case '\n':
      return true;
    default:
      return false;
  }
}

}  // namespace

bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

bool IsNameChar(char c) {
  const unsigned char u = static_cast<unsigned char>(c);
  return IsLetterOrUmlaut(u) || (u >= '0' && u <= '9') || c == '_' || c == '$' || c == '&';
}

void SkipBlanks(TCompilerContext& c) {
  while (IsBlank(c.Current())) ++c.position;
  c.errorPosition = c.position;
}

void SkipLine(TCompilerContext& c) {
  while (!c.AtEnd() && !IsLineEnd(c.Current())) ++c.position;
  c.errorPosition = c.position;
}

std::string ReadWord(TCompilerContext& c) {
  SkipBlanks(c);
  c.errorPosition = c.position;
  c.wordIsFirstOfLine = c.lastWordEndedLine;
  c.lastWordEndedLine = false;
  std::string word;
  while (!c.AtEnd() && !c.errorReported) {
    const char ch = c.Current();
    // A word never takes the line end or a comment with it: the statement it starts
    // ends there, whichever line-end characters the text uses.
    if ((ch == '\'' || IsLineEnd(ch)) && !word.empty()) break;
    if (ch == '\'') {
      // A comment ends the statement; its line end is left for the next word.
      SkipLine(c);
      break;
    }
    if (ch == ':') c.errorPosition = c.position + 1;
    if (IsLineEnd(ch)) {
      c.lastWordEndedLine = true;
      c.errorPosition = c.position + 1;
    }
    if (ch == '#' && c.wordIsFirstOfLine) {
      c.errorPosition = c.position;
      CompileError(c, "", msg::NameMustStartWithLetter);
      break;
    }
    if (!IsStatementWordChar(ch)) {
      c.errorPosition = c.position;
      CompileError(c, std::string(1, ch), msg::UnexpectedCharacter);
      break;
    }
    const bool holds = (ch == ':' || ch == '=' || ch == '#' || ch == '[' || ch == '.') && !word.empty();
    if (!holds) ++c.position;
    if (IsWordTerminator(ch)) break;
    word.push_back(ch);
  }
  return word;
}

std::string ReadName(TCompilerContext& c) {
  SkipBlanks(c);
  c.errorPosition = c.position;
  std::string name;
  while (IsNameChar(c.Current())) name.push_back(c.source[static_cast<size_t>(c.position++) - 1]);
  return name;
}

std::string ReadIdentifier(TCompilerContext& c, TIdentifierVariant variant) {
  std::string name = ReadName(c);
  if (name.empty()) {
    CompileError(c, "", variant == TIdentifierVariant::Procedure ? msg::ProcedureNameExpected : msg::VariableNameExpected);
    return {};
  }
  std::string checked = UpperCase(name);
  if (variant == TIdentifierVariant::String && checked.size() > 1 && checked.back() == '$') checked.pop_back();
  if (!IsValidIdentifier(checked)) {
    CompileError(c, name, msg::InvalidName);
    return {};
  }
  SkipBlanks(c);
  return name;
}

bool ExpectChar(TCompilerContext& c, char ch) {
  SkipBlanks(c);
  if (c.Current() != ch) {
    CompileError(c, std::string(1, ch), msg::Expected);
    return false;
  }
  ++c.position;
  return true;
}

bool AtStatementEnd(const TCompilerContext& c) {
  int32_t p = c.position;
  while (IsBlank(c.At(p))) ++p;
  const char next = c.At(p);
  if (next == '\0' || IsLineEnd(next) || next == '\'' || next == ':') return true;
  // The ELSE part of a one-line IF.
  std::string word;
  while (IsNameChar(c.At(p)) && word.size() < 5) word.push_back(c.At(p++));
  return UpperCase(word) == "ELSE" && !IsNameChar(c.At(p));
}

void ExpectEnd(TCompilerContext& c) {
  const int32_t remembered = c.position;
  const std::string word = ReadWord(c);
  if (!word.empty() && UpperCase(word) != "ELSE") CompileError(c, "", msg::EndExpected);
  c.position = remembered;
}

}  // namespace zarvek
