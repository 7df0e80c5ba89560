#include "compiler/messages.h"

#include <algorithm>

#include "compiler/message_table.h"
#include "text/shown_text.h"

namespace zarvek {
namespace {

// Where and how much of the argument a message shows: none, all of it (cut to a readable
// length), a file name (its end kept when it is cut), the first 16 characters.
enum class A { None, Whole, FileName, First16 };

// Message = head + argument + tail.
struct TMessageRow {
  int code;
  std::string_view head;
  A argument = A::None;
  std::string_view tail = {};
};

// Texts that two codes share.
constexpr std::string_view kHashExpected = "'#' erwartet.";
constexpr std::string_view kBytePortIndex1To2 = "Der Byte Port Index muss zwischen 1 und 2 liegen.";

// Texts kept exactly as the user sees them, in message_table.h.
constexpr TMessageRow kMessages[] = {
#define ZARVEK_MESSAGE_ROW(code, name, head, argument, tail) {code, head, A::argument, tail},
    ZARVEK_COMPILER_MESSAGES(ZARVEK_MESSAGE_ROW)
#undef ZARVEK_MESSAGE_ROW
};

static_assert(std::ranges::adjacent_find(kMessages, std::ranges::greater_equal{}, &TMessageRow::code) ==
                  std::ranges::end(kMessages),
              "message codes must be strictly ascending for the binary search");

}  // namespace

std::string ComposeMessage(int code, std::string_view argument) {
  const auto row = std::ranges::lower_bound(kMessages, code, {}, &TMessageRow::code);
  if (row == std::end(kMessages) || row->code != code) return {};
  if (argument.empty()) argument = "fehlend";
  // 228 shows an over-long name only as far as it is allowed.
  if (row->argument == A::First16) argument = argument.substr(0, 16);
  std::string message(row->head);
  if (row->argument != A::None) message += row->argument == A::FileName ? ShownText(argument, TCutAt::Start, kShownPathCharacters)
                                             : ShownText(argument);
  message += row->tail;
  return message;
}

std::string_view UnusedSymbolText(TUnusedKind kind) {
  switch (kind) {
    case TUnusedKind::Constant: return " Konstante wird nicht verwendet. ";
    case TUnusedKind::Function: return " Funktion wird an keiner Stelle aufgerufen . ";
    case TUnusedKind::Sub: return " Sub Prozedur wird an keiner Stelle aufgerufen. ";
    case TUnusedKind::StringConstant: return " String Konstante wird nicht verwendet. ";
    case TUnusedKind::Structure: return " Datenstruktur wird nicht verwendet. ";
    case TUnusedKind::Variable: return " Variable wird nicht verwendet. ";
    case TUnusedKind::String: return " String wird nicht verwendet. ";
  }
  return {};
}

std::string UnnamedModule(const std::string& fileName) { return "Modul " + fileName; }

std::string CompilingStatus(int percent) { return "Compilieren " + std::to_string(percent) + " % ..."; }

std::string_view LargerEepromStatus() { return "Für dieses Programm benötigen Sie ein größeres EEPROM."; }

}  // namespace zarvek
