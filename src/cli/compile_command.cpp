// Compiles a BASIC text file or a project file with its modules: diagnostics in the
// FILE:LINE:COLUMN form editors jump to.
#include "cli/compile_command.h"

#include <ostream>

#include "cli/cli.h"
#include "project/project.h"
#include "text/hex.h"

namespace zarvek::cli {

namespace {

int Usage(std::ostream& err, const std::string& problem) {
  err << "zarvek-cli compile: " << problem << "\n"
      << "Aufruf: zarvek-cli compile [--profile tessel-1.1|tessel-micro|tessel-2.0|atmega-32|atmega-128] "
         "[--asm DATEI.asm] [--dump] DATEI.bas|PROJEKT.xml\n";
  return kExitUsage;
}

}  // namespace

int CompileCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  TSourceFiles files;
  bool dump = false;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--dump") {
      dump = true;
    } else if (args[i] == "--profile" || args[i] == "--asm") {
      if (i + 1 >= args.size()) return Usage(err, "der Option " + args[i] + " fehlt ihr Wert");
      if (args[i] == "--asm") {
        files.asmPath = args[++i];
        continue;
      }
      files.profile = FindProfileFileValue(args[++i]);
      if (!files.profile) return Usage(err, "unbekanntes Profil \"" + args[i] + "\"");
    } else if (args[i].starts_with("--")) {
      return Usage(err, "unbekannte Option " + args[i]);
    } else if (files.path.empty()) {
      files.path = args[i];
    } else {
      return Usage(err, "nur eine Quelldatei erwartet");
    }
  }
  if (files.path.empty()) return Usage(err, "keine Quelldatei angegeben");
  if (IsProjectPath(files.path) && !files.asmPath.empty())
    return Usage(err, "eine Projektdatei bringt ihren Assembler-Teil selbst mit (--asm nur mit DATEI.bas)");

  TBuilder builder;
  TBuildResult result;
  if (!BuildAndReport(files, err, builder, result)) return kExitDiagnosed;
  if (dump) {
    out << "image: " << HexBytes(result.program.image) << "\n";
    if (!files.asmPath.empty() || !result.program.assemblerLines.empty())
      out << "start: " << result.machineCode.startAddress << "\ncode: " << HexBytes(result.machineCode.code) << "\n";
  }
  return kExitOk;
}

}  // namespace zarvek::cli
