#include "workspace/lexer_words.h"

#include <algorithm>
#include <array>
#include <string>

#include "hc05/asm_reserved.h"
#include "text/names.h"

namespace zarvek::workspace {

namespace {
constexpr std::array<std::string_view, kBasicKeywordCount> kKeywords{
    "if",   "do",    "as",     "end",    "dim",     "call", "case",  "is",    "on",      "to",     "for",
    "else", "sub",   "then",   "byte",   "elseif",  "goto", "while", "exit",  "loop",    "next",   "gosub",
    "select", "boolean", "type", "const", "until",  "integer", "downto", "return", "function", "interrupt"};
constexpr std::array<std::string_view, 8> kDirectives{"DB", "DEFINE", "DW", "ELSE", "END", "EQU", "IF", "ORG"};

std::string Lower(std::string_view word) {
  std::string s(word);
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; });
  return s;
}
}  // namespace

std::span<const std::string_view> BasicKeywords() { return kKeywords; }

bool IsBasicKeyword(std::string_view word) {
  const std::string lower = Lower(word);
  return std::find(kKeywords.begin(), kKeywords.end(), lower) != kKeywords.end();
}

std::span<const std::string_view> AssemblerDirectives() { return kDirectives; }

TAsmWordClass AssemblerWordClass(std::string_view word) {
  const std::string upper = UpperCase(word);
  if (!hc05::FindReserved(upper)) return TAsmWordClass::None;
  if (std::find(kDirectives.begin(), kDirectives.end(), upper) != kDirectives.end()) return TAsmWordClass::Directive;
  return TAsmWordClass::Mnemonic;
}

}  // namespace zarvek::workspace
