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

namespace {

int Usage(std::ostream& err, const std::string& problem) {
  err << "zarvek-cli asm: " << problem << "\n"
      << "Aufruf: zarvek-cli asm [--dump] DATEI.asm\n";
  return kExitUsage;
}

}  // namespace

int AsmCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  bool dump = false;
  std::string path;
  for (const std::string& arg : args) {
    if (arg == "--dump") {
      dump = true;
    } else if (arg.starts_with("--")) {
      return Usage(err, "unbekannte Option " + arg);
    } else if (path.empty()) {
      path = arg;
    } else {
      return Usage(err, "nur eine Quelldatei erwartet");
    }
  }
  if (path.empty()) return Usage(err, "keine Quelldatei angegeben");
  const auto source = ReadBinaryFile(path);
  if (!source) {
    err << path << ": Datei kann nicht gelesen werden\n";
    return kExitDiagnosed;
  }
  // DEFINE names files relative to the source file.
  const std::filesystem::path folder = std::filesystem::path(path).parent_path();
  hc05::TAssembleOptions options;
  options.fileExists = [&folder](const std::string& name) {
    std::error_code ec;
    return std::filesystem::is_regular_file(folder / name, ec);
  };
  const std::vector<std::string> lines = SplitLines(*source);
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
