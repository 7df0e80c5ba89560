// The compiler's numbered error messages (codes 100 to 302).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "compiler/message_table.h"

namespace zarvek {

// The message codes by name: msg::EndExpected is 109.
namespace msg {
#define ZARVEK_MESSAGE_CODE(code, name, head, argument, tail) inline constexpr int name = code;
ZARVEK_COMPILER_MESSAGES(ZARVEK_MESSAGE_CODE)
#undef ZARVEK_MESSAGE_CODE
}  // namespace msg

// The UTF-8 text of message `code` around `argument` (cp1252 bytes, usually a piece of the
// BASIC source). An empty argument reads "fehlend"; an unknown code gives an empty text.
std::string ComposeMessage(int code, std::string_view argument);

// Texts the compiler shows besides its numbered messages.

// What an unused symbol is, for its warning.
enum class TUnusedKind : uint8_t { Constant, Function, Sub, StringConstant, Structure, Variable, String };

// The warning's text after the symbol's name, with the blanks around it that the warnings
// text keeps (ASCII: the same in cp1252 and UTF-8).
std::string_view UnusedSymbolText(TUnusedKind kind);

// How messages name a module without a MODULE name: "Modul " and its file name (cp1252).
std::string UnnamedModule(const std::string& fileName);

// The status line while compiling (UTF-8).
std::string CompilingStatus(int percent);
// The status line when the image is longer than the EEPROM (UTF-8); a notice, no error.
std::string_view LargerEepromStatus();

}  // namespace zarvek
