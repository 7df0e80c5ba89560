// The assembler editor's help list: for the word under the caret the reserved names that
// begin with it, each with its two-line help text; after a mnemonic the operand forms its
// class allows, with the program's labels and constants.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "hc05/asm_symbols.h"

namespace zarvek::workspace {

struct THelpEntry {
  char tag = ' ';     // 'd' drawn as text only; 'e', 'f' and ' ' drawn with an icon
  std::string text;   // the first line: a reserved name, an operand form or a symbol (cp1252)
  std::string detail; // the second line; empty for one-line entries
  std::string insert; // what choosing the entry writes at the caret (empty: nothing)
  bool replacesWord = false;  // the insert replaces the word before the caret
  bool operator==(const THelpEntry&) const = default;
};

// Where the word before the caret begins (the part a chosen name replaces).
size_t HelpWordStart(std::string_view line, size_t caret);

// The list entry as the list box holds it: the tag, then the text.
std::string EntryString(const THelpEntry& entry);

// `line` is the caret's line (cp1252) and `caret` the byte offset of the caret in it.
// Empty when the caret is in a comment or a string, or nothing fits.
std::vector<THelpEntry> AssemblerHelp(std::string_view line, size_t caret, const std::vector<hc05::TAsmSymbol>& symbols);

}  // namespace zarvek::workspace
