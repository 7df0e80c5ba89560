// Looking names up in the symbol table (case-insensitive, in declaration order) and in
// the assembler's labels.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "compiler/compiler_context.h"

namespace zarvek {

inline constexpr int32_t kAnyScope = -2;

// Index of the first symbol of that name whose scope is the given one or global
// (kAnyScope: any scope); -1 when there is none.
int FindSymbol(const TCompilerContext& c, std::string_view name, int32_t scope);
// Appends the symbol; returns its index.
int AddSymbol(TCompilerContext& c, Tlabel symbol);
// The assembler part's labels, looked up by name without regard to case: FindAsmLabel
// gives the index of the first of that name, or -1.
void SetAsmLabels(TCompilerContext& c, const std::vector<TAsmLabel>& labels);
void AddAsmLabel(TCompilerContext& c, TAsmLabel label);
int FindAsmLabel(const TCompilerContext& c, std::string_view name);
// The name of the SUB or FUNCTION being compiled, empty in the main program.
std::string CurrentProcedureName(const TCompilerContext& c);

// The SUBs the machine enters by itself: INTERRUPT, KEYINTERRUPT, ERROR and CRASH.
bool IsHandlerName(std::string_view upperName);
// Whether the symbol is such a SUB. On the Pyxon profiles a handler runs in whatever local
// frame was current, so its parameters and variables live in global memory.
bool IsHandlerProcedure(const TCompilerContext& c, int32_t symbol);

}  // namespace zarvek
