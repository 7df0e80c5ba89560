// The assembler editor rewrites the line the caret leaves: reserved names in upper case,
// names of the BASIC program as declared, assembler symbols as defined.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "base/symbols.h"
#include "hc05/asm_symbols.h"

namespace zarvek::workspace {

// The line (cp1252, without its line end) rewritten word by word. Strings (in double or
// single quotes) and comments stay as they are; on an EQU line the assembler symbols keep
// their spelling, as the line defines one.
std::string NormaliseAssemblerLine(std::string_view line, const std::vector<Tlabel>& basicNames,
                                   const std::vector<hc05::TAsmSymbol>& asmSymbols);

}  // namespace zarvek::workspace

namespace zarvek::workspace {

enum class TCaretKey { Other, Up, Down, PageUp, PageDown, Enter };

// The line the caret was on is rewritten when no simulation runs and the user pressed a
// key that leaves it (Up, Down, Page Up, Page Down, Enter) or the caret moved to another
// line.
bool NormaliseLeftLine(bool simulationRunning, TCaretKey key, int previousLine, int currentLine);

}  // namespace zarvek::workspace
