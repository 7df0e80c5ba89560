// Compiles a BASIC text file: diagnostics in the FILE:LINE:COLUMN form editors jump to.
#include "cli/compile_command.h"

#include <ostream>

#include "cli/cli.h"
#include "cli/cli_args.h"
#include "cli/profiles.h"
#include "compiler/compiler.h"
#include "text/cp1252.h"
#include "text/hex.h"

namespace zarvek::cli {

namespace {

int Usage(std::ostream& err, const std::string& problem) {
  err << "zarvek-cli compile: " << problem << "\n"
      << "Aufruf: zarvek-cli compile [--profile tessel-1.1|tessel-micro|tessel-2.0|atmega-32|atmega-128] "
         "[--dump] DATEI.bas\n";
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
  std::string path;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--dump") {
      dump = true;
    } else if (args[i] == "--profile") {
      if (i + 1 >= args.size()) return Usage(err, "der Option --profile fehlt ihr Wert");
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
  const auto source = ReadBinaryFile(path);
  if (!source) {
    err << path << ": Datei kann nicht gelesen werden\n";
    return kExitDiagnosed;
  }

  TCompiler compiler;
  TCompileInput input;
  input.source = *source;
  input.profile = profileCode;
  input.projectFileName = path;
  TCompileResult result = compiler.CompileProgram(input);
  if (!result.success) {
    PrintCompileError(err, path, *result.error);
    return kExitDiagnosed;
  }
  const TLinkResult link = compiler.LinkAndWarn(result.image, {}, true);
  if (!link.success) {
    PrintCompileError(err, path, *link.error);
    return kExitDiagnosed;
  }
  for (const TWarning& w : link.warnings) {
    err << path << ":" << w.line << ":" << w.column << ": Warnung: " << Cp1252ToUtf8(w.text) << "\n";
  }
  if (!result.statusText.empty()) err << path << ": Hinweis: " << result.statusText << "\n";
  if (dump) out << "image: " << HexBytes(result.image) << "\n";
  return kExitOk;
}

}  // namespace zarvek::cli
