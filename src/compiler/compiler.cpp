#include "compiler/compiler.h"

#include "compiler/compiler_context.h"
#include "compiler/diagnostics.h"
#include "compiler/driver.h"
#include "compiler/messages.h"

namespace zarvek {

TCompiler::TCompiler() : m_context(std::make_unique<TCompilerContext>()) {}
TCompiler::~TCompiler() = default;

TCompileResult TCompiler::CompileProgram(const TCompileInput& input) {
  TCompilerContext& c = *m_context;
  TCompileResult result;
  RunCompilation(c, input, result.image);
  result.cancelled = c.cancelled;
  result.success = !c.errorReported && !c.cancelled;
  result.error = c.error;
  result.statusText = TUtf8Text(c.statusText);
  result.statementMap = c.statementMap;
  result.symbols = c.symbols;
  result.includes = c.includes;
  result.assemblerLines = c.assemblerLines;
  result.moduleName = TCp1252Text(c.projectModuleName);
  result.fixups = c.fixups;
  result.eepromSize = c.eepromSize;
  result.clockKHz = c.clockKHz;
  result.programMemorySelector = c.programMemorySelector;
  result.initCodeLength = static_cast<uint32_t>(c.initCode.size());
  result.codeLength = static_cast<uint32_t>(c.initCode.size() + c.code.size());
  result.tableLength = static_cast<uint32_t>(c.tableArea.size());
  result.memoryDump = c.memoryDump;
  return result;
}

TLinkResult TCompiler::LinkAndWarn(std::string& image, const std::vector<TAsmLabel>& assemblerLabels,
                                   bool warningsEnabled) {
  return Link(*m_context, image, assemblerLabels, warningsEnabled);
}

std::string ModuleDisplayName(const TIncludeRecord& record) {
  return record.moduleName.empty() ? UnnamedModule(record.fileName) : record.moduleName;
}

TSourceLocation TCompiler::Locate(int32_t position) const { return zarvek::Locate(*m_context, position); }

}  // namespace zarvek
