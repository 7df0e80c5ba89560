// Assembles a 68HC05 assembler text file: diagnostics in the FILE:LINE:COLUMN form editors
// jump to, the code on request.
#include "cli/asm_command.h"

#include <filesystem>
#include <ostream>

#include "cli/cli.h"
#include "cli/cli_args.h"
#include "hc05/assembler.h"
#include "text/hex.h"
#include "text/lines.h"

namespace zarvek::cli {

int AsmCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  bool dump = false;
  std::string path;
  const TCommandSyntax syntax{"asm", "[--dump] DATEI.asm", "Quelldatei", {FlagOption("--dump", dump)}};
  if (const auto problem = ParseCommandLine(syntax, args, path)) return UsageError(syntax, err, *problem);
  const auto source = ReadSourceFile(path, err);
  if (!source) return kExitDiagnosed;
  // DEFINE names files relative to the source file.
  const std::filesystem::path folder = std::filesystem::path(path).parent_path();
  hc05::TAssembleOptions options;
  options.fileExists = [&folder](const std::string& name) {
    std::error_code ec;
    return std::filesystem::is_regular_file(folder / name, ec);
  };
  const std::vector<std::string> lines = SplitLines(source->cp1252);
  hc05::TAssembler assembler;
  assembler.PreRegisterLabels(lines);
  const hc05::TAssembly result = assembler.Assemble(lines, options);
  if (!result.success) {
    const hc05::TAsmError& e = *result.error;
    err << path << ":" << e.line + 1 << ":" << e.column << ": " << e.message << "\n";
    return kExitDiagnosed;
  }
  if (dump) out << "start: " << result.startAddress << "\ncode: " << HexBytes(result.code) << "\n";
  return kExitOk;
}

}  // namespace zarvek::cli
