// Compiles a BASIC text file: diagnostics in the FILE:LINE:COLUMN form editors jump to.
#include "cli/compile_command.h"

#include <filesystem>
#include <ostream>

#include "cli/cli.h"
#include "cli/cli_args.h"
#include "cli/profiles.h"
#include "compiler/compiler.h"
#include "pipeline/build.h"
#include "text/cp1252.h"
#include "text/hex.h"

namespace zarvek::cli {

namespace {

int Usage(std::ostream& err, const std::string& problem) {
  err << "zarvek-cli compile: " << problem << "\n"
      << "Aufruf: zarvek-cli compile [--profile tessel-1.1|tessel-micro|tessel-2.0|atmega-32|atmega-128] "
         "[--asm DATEI.asm] [--dump] DATEI.bas\n";
  return kExitUsage;
}

}  // namespace

void PrintCompileError(std::ostream& err, const std::string& path, const TCompileError& e) {
  const std::string file = e.mapped.moduleIndex >= 0 ? e.mapped.fileName : path;
  err << file << ":" << e.line << ":" << e.column << ": Fehler " << e.code << ": " << e.message << "\n";
}

int CompileCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  uint8_t profileCode = profile::Tessel11;
  bool dump = false;
  std::string path, asmPath;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--dump") {
      dump = true;
    } else if (args[i] == "--profile" || args[i] == "--asm") {
      if (i + 1 >= args.size()) return Usage(err, "der Option " + args[i] + " fehlt ihr Wert");
      if (args[i] == "--asm") {
        asmPath = args[++i];
        continue;
      }
      const auto code = ParseProfileName(args[++i]);
      if (!code) return Usage(err, "unbekanntes Profil \"" + args[i] + "\"");
      profileCode = *code;
    } else if (args[i].starts_with("--")) {
      return Usage(err, "unbekannte Option " + args[i]);
    } else if (path.empty()) {
      path = args[i];
    } else {
      return Usage(err, "nur eine Quelldatei erwartet");
    }
  }
  if (path.empty()) return Usage(err, "keine Quelldatei angegeben");
  TBuildInput input;
  for (const auto& [file, text] : {std::pair{path, &input.basicSource}, {asmPath, &input.assemblerSource}}) {
    if (file.empty()) continue;
    const auto content = ReadBinaryFile(file);
    if (!content) {
      err << file << ": Datei kann nicht gelesen werden\n";
      return kExitDiagnosed;
    }
    *text = *content;
  }
  input.profile = profileCode;
  input.projectFileName = path;
  input.fileExists = [](const std::string& name) { return std::filesystem::exists(name); };

  TBuilder builder;
  const TBuildResult result = builder.Build(input);
  if (result.basicError) {
    PrintCompileError(err, path, *result.basicError);
    return kExitDiagnosed;
  }
  if (result.assemblerError) {
    const hc05::TAsmError& e = *result.assemblerError;
    err << asmPath << ":" << e.line + 1 << ":" << e.column << ": " << e.message << "\n";
    return kExitDiagnosed;
  }
  for (const TWarning& w : result.link.warnings)
    err << path << ":" << w.line << ":" << w.column << ": Warnung: " << Cp1252ToUtf8(w.text) << "\n";
  if (!result.program.statusText.empty()) err << path << ": Hinweis: " << result.program.statusText << "\n";
  if (dump) {
    out << "image: " << HexBytes(result.program.image) << "\n";
    if (!asmPath.empty())
      out << "start: " << result.machineCode.startAddress << "\ncode: " << HexBytes(result.machineCode.code) << "\n";
  }
  return kExitOk;
}
}  // namespace zarvek::cli
