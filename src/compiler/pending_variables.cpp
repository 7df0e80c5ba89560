// Stand-ins until the declarations and variable access land.
#include "compiler/diagnostics.h"
#include "compiler/variables.h"

namespace zarvek {

void CompileDim(TCompilerContext& c) { CompileError(c, "DIM", 102); }
void CompileConst(TCompilerContext& c) { CompileError(c, "CONST", 102); }
void CompileType(TCompilerContext& c) { CompileError(c, "TYPE", 102); }
int64_t AllocateVariable(TCompilerContext& c, uint32_t, const std::vector<TArrayBounds>&, const std::vector<uint8_t>&) {
  CompileError(c, "", 117);
  return -1;
}
std::string CompileVariableOperand(TCompilerContext&, int, uint32_t) { return "0"; }
TCodePiece EmitStore(TCompilerContext&, int) { return {}; }
void CompileAssignment(TCompilerContext& c, const std::string& word) { CompileError(c, word, 102); }

}  // namespace zarvek
