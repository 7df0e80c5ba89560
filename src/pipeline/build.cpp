#include "pipeline/build.h"

#include "text/lines.h"

namespace zarvek {

TBuildResult TBuilder::Build(const TBuildInput& input) {
  TBuildResult result;
  const std::vector<std::string> assemblerLines = SplitLines(input.assemblerSource);

  // The assembler part's labels are known by name before the BASIC text compiles, so that
  // both share one name space.
  m_assembler.PreRegisterLabels(assemblerLines);
  TCompileInput compile;
  compile.source = input.basicSource;
  compile.profile = input.profile;
  compile.projectFileName = input.projectFileName;
  compile.silent = input.silent;
  for (const hc05::TAsmSymbol& s : m_assembler.Symbols()) compile.assemblerLabels.push_back({s.name, 0});
  result.program = m_compiler.CompileProgram(compile);
  if (!result.program.success) {
    result.basicError = result.program.error;
    return result;
  }

  result.stage = TBuildStage::Assemble;
  hc05::TAssembleOptions options;
  options.basicSymbols = &result.program.symbols;
  options.breakpointLines = input.assemblerBreakpointLines;
  options.modules = input.assemblerModules;
  options.fileExists = input.fileExists;
  options.showSize = true;
  result.machineCode = m_assembler.Assemble(assemblerLines, options);
  if (!result.machineCode.success) {
    result.assemblerError = result.machineCode.error;
    return result;
  }

  result.stage = TBuildStage::Link;
  std::vector<TAsmLabel> labels;
  for (const hc05::TAsmSymbol& s : m_assembler.Symbols())
    if (const auto value = hc05::AsmSymbolNumber(s)) labels.push_back({s.name, *value});
  result.link = m_compiler.LinkAndWarn(result.program.image, labels, input.warnings);
  if (!result.link.success) {
    result.basicError = result.link.error;
    return result;
  }
  result.stage = TBuildStage::Done;
  result.success = true;
  return result;
}

}  // namespace zarvek
