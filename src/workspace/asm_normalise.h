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
