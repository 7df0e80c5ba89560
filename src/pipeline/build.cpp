#include "pipeline/build.h"

#include "text/lines.h"

namespace zarvek {

TBuildResult TBuilder::Build(const TBuildInput& input) {
  TBuildResult result;

  // The assembler part's labels are known by name before the BASIC text compiles, so that
  // both share one name space; each module adds its own as it is included.
  TCompileInput compile;
  compile.assemblerLines = SplitLines(input.assemblerSource);
  m_assembler.PreRegisterLabels(compile.assemblerLines);
  compile.source = input.basicSource;
  compile.profile = input.profile;
  compile.projectFileName = input.projectFileName;
  compile.silent = input.silent;
  compile.cancel = input.cancel;
  compile.modules = input.modules;
  compile.assemblerLabelNames = hc05::PreRegisteredLabelNames;
  compile.memoryDump = input.memoryDump;
  for (const hc05::TAsmSymbol& s : m_assembler.Symbols()) compile.assemblerLabels.push_back({s.name, 0});
  result.program = m_compiler.CompileProgram(compile);
  result.memoryDump = result.program.memoryDump;
  if (!result.program.success) {
    result.basicError = result.program.error;
    return result;
  }

  result.stage = TBuildStage::Assemble;
  const std::vector<std::string>& assemblerLines = result.program.assemblerLines;
  if (!result.program.includes.empty()) m_assembler.PreRegisterLabels(assemblerLines);
  hc05::TAssembleOptions options;
  options.basicSymbols = &result.program.symbols;
  options.breakpointLines = input.assemblerBreakpointLines;
  options.modules = AssemblerModuleRanges(result.program.includes);
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
  if (!result.memoryDump.empty()) result.memoryDump += ImageBytesLine(result.program.image);
  if (!result.link.success) {
    result.basicError = result.link.error;
    return result;
  }
  result.stage = TBuildStage::Done;
  result.success = true;
  return result;
}

std::string ImageBytesLine(const std::string& image) {
  std::string line = "\r\n";
  for (size_t k = 0; k < image.size(); ++k) {
    if (k > 0) line += ", ";
    line += std::to_string(static_cast<uint8_t>(image[k]));
  }
  return line;
}

std::vector<hc05::TAsmModuleRange> AssemblerModuleRanges(const std::vector<TIncludeRecord>& includes) {
  std::vector<hc05::TAsmModuleRange> ranges;
  for (const TIncludeRecord& r : includes)
    if (r.assemblerLineCount > 0) ranges.push_back({ModuleDisplayName(r), r.assemblerFirstLine, r.assemblerLineCount});
  return ranges;
}

TAsmLineOrigin LocateAssemblerLine(const std::vector<TIncludeRecord>& includes, int32_t line) {
  for (size_t k = 0; k < includes.size(); ++k) {
    const TIncludeRecord& r = includes[k];
    if (line >= r.assemblerFirstLine && line - r.assemblerFirstLine < r.assemblerLineCount)
      return {static_cast<int32_t>(k), line - r.assemblerFirstLine};
  }
  return {-1, line};
}

std::optional<int32_t> AssembledLine(const std::vector<TIncludeRecord>& includes, TAsmLineOrigin origin) {
  if (origin.line < 0) return std::nullopt;
  if (origin.moduleIndex < 0) return origin.line;
  if (static_cast<size_t>(origin.moduleIndex) >= includes.size()) return std::nullopt;
  const TIncludeRecord& r = includes[static_cast<size_t>(origin.moduleIndex)];
  if (origin.line >= r.assemblerLineCount) return std::nullopt;
  return r.assemblerFirstLine + origin.line;
}

}  // namespace zarvek
