// Compiles a BASIC text file or a project file with its modules: diagnostics in the
// FILE:LINE:COLUMN form editors jump to.
#include "cli/compile_command.h"

#include <ostream>

#include "cli/cli.h"
#include "cli/cli_args.h"
#include "cli/profile_option.h"
#include "text/hex.h"

namespace zarvek::cli {

namespace {
void PrintMemoryDump(const TBuildResult& result, std::ostream& out, std::ostream& err) {
  if (result.memoryDump.empty()) {
    err << "zarvek-cli compile: kein Speicherabbild: das Programm ist " << kMemoryDumpImageLimit
        << " Bytes lang oder länger.\n";
    return;
  }
  out << ToUtf8(TCp1252Text(result.memoryDump)) << "\r\n";
}
}  // namespace

int CompileCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  TSourceFiles files;
  bool dump = false;
  const TCommandSyntax syntax{
      "compile",
      "[--profile tessel-1.1|tessel-micro|tessel-2.0|atmega-32|atmega-128] [--asm DATEI.asm] [--dump] [--memory-dump] "
      "DATEI.bas|PROJEKT.xml",
      "Quelldatei",
      {ProfileOption(files.profile), TextOption("--asm", files.asmPath), FlagOption("--dump", dump),
       FlagOption("--memory-dump", files.memoryDump)}};
  if (const auto problem = ParseCommandLine(syntax, args, files.path)) return UsageError(syntax, err, *problem);
  if (IsProjectPath(files.path) && !files.asmPath.empty())
    return UsageError(syntax, err, "eine Projektdatei bringt ihren Assembler-Teil selbst mit (--asm nur mit DATEI.bas)");

  TSourceBuild build(files);
  if (!build.Load(err)) return kExitDiagnosed;
  const bool built = build.Build(err);
  // The dump is there for a failed compile too: it shows how far the allocation got.
  if (files.memoryDump) PrintMemoryDump(build.Result(), out, err);
  if (!built) return kExitDiagnosed;
  if (dump) {
    const TBuildResult& result = build.Result();
    out << "image: " << HexBytes(result.program.image) << "\n";
    if (!files.asmPath.empty() || !result.program.assemblerLines.empty())
      out << "start: " << result.machineCode.startAddress << "\ncode: " << HexBytes(result.machineCode.code) << "\n";
  }
  return kExitOk;
}

}  // namespace zarvek::cli
