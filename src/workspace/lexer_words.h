// Word lists the editors' syntax colouring uses (the lexers only colour; they read these).
#pragma once

#include <span>
#include <string_view>

namespace zarvek::workspace {

inline constexpr int kBasicKeywordCount = 32;

// The BASIC keywords, lower case; they match without regard to case.
std::span<const std::string_view> BasicKeywords();
bool IsBasicKeyword(std::string_view word);

enum class TAsmWordClass { None, Mnemonic, Directive };

// A word of the assembler text, in any case: a mnemonic (aliases included), a directive
// (DB DEFINE DW ELSE END EQU IF ORG) or neither.
TAsmWordClass AssemblerWordClass(std::string_view word);
std::span<const std::string_view> AssemblerDirectives();

}  // namespace zarvek::workspace
