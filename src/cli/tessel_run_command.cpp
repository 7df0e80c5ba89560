// The run command on the emulated Tessel board: the program's serial output goes to stdout
// byte for byte, a runtime error or a controller error to stderr.
#include "cli/tessel_run_command.h"

#include <optional>
#include <ostream>
#include <sstream>

#include "cli/build_report.h"
#include "cli/cli.h"
#include "cli/cli_args.h"
#include "pipeline/project_modules.h"
#include "project/open_file.h"
#include "project/project.h"
#include "simulation/line_table.h"
#include "simulation/tessel_board.h"
#include "simulation/tessel_runner.h"
#include "simulation/tessel_runtime.h"

namespace zarvek::cli {

namespace {

struct TTesselRunArgs {
  TSourceFiles files;
  TTesselRunOptions run;
};

int Usage(std::ostream& err, const std::string& problem) {
  err << "zarvek-cli run: " << problem << "\n"
      << "Aufruf: zarvek-cli run --profile tessel-1.1|tessel-micro [--input TEXT] [--max-tokens N] "
         "[--timeout SEKUNDEN] [--realtime] [--asm DATEI.asm] PROGRAMM.bas|PROJEKT.xml|PROGRAMM.bin\n";
  return kExitUsage;
}

std::optional<std::string> Parse(const std::vector<std::string>& args, TTesselRunArgs& o) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a == "--realtime") {
      o.run.realtime = true;
    } else if (a == "--profile" || a == "--input" || a == "--max-tokens" || a == "--timeout" || a == "--asm") {
      if (i + 1 >= args.size()) return "der Option " + a + " fehlt ihr Wert";
      const std::string& v = args[++i];
      if (a == "--profile") {
        if (!(o.files.profile = FindProfileFileValue(v))) return "unbekanntes Profil \"" + v + "\"";
      } else if (a == "--asm") {
        o.files.asmPath = v;
      } else if (a == "--input") {
        const auto decoded = DecodeEscapes(v);
        if (!decoded) return "ungültige Escape-Folge in --input (erlaubt: \\r \\n \\t \\\\ \\xHH)";
        o.run.input += *decoded;
      } else if (a == "--max-tokens") {
        if (!(o.run.maxTokens = ParseCount(v))) return "--max-tokens erwartet eine ganze Zahl";
      } else if (!(o.run.timeoutSeconds = ParseSeconds(v))) {
        return "--timeout erwartet Sekunden (eine Zahl ab 0)";
      }
    } else if (a.starts_with("--")) {
      return "unbekannte Option " + a;
    } else if (o.files.path.empty()) {
      o.files.path = a;
    } else {
      return "nur eine Programmdatei erwartet";
    }
  }
  if (o.files.path.empty()) return "keine Programmdatei angegeben";
  if (IsProjectPath(o.files.path) && !o.files.asmPath.empty())
    return "eine Projektdatei bringt ihren Assembler-Teil selbst mit (--asm nur mit DATEI.bas)";
  return std::nullopt;
}

}  // namespace

bool RunsOnTesselBoard(const std::vector<std::string>& args) {
  TTesselRunArgs o;
  if (Parse(args, o)) {  // bad usage: only a named Tessel profile makes it ours to report
    for (size_t i = 0; i + 1 < args.size(); ++i) {
      if (args[i] != "--profile") continue;
      const auto code = FindProfileFileValue(args[i + 1]);
      return code && !IsPyxon(*code);
    }
    return false;
  }
  if (o.files.profile) return !IsPyxon(*o.files.profile);
  if (!IsProjectPath(o.files.path)) return false;
  // A project without --profile runs on the board its file names.
  const TProjectFileLoader loader;
  TBuildInput input;
  std::ostringstream ignored;
  return LoadSources(o.files, loader, input, ignored) && !IsPyxon(input.profile);
}

int RunTesselCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  TTesselRunArgs o;
  if (const auto problem = Parse(args, o)) return Usage(err, *problem);
  if (const auto refusal = TesselSimulationRefusal(o.files.profile.value_or(profile::Tessel11))) {
    err << "zarvek-cli run: " << *refusal << "\n";
    return kExitUsage;
  }

  // BASIC files and projects are built first; any other file is a program image.
  const TFileKind kind = KindOfFile(o.files.path);
  const bool built = kind == TFileKind::BasicText || kind == TFileKind::Project;
  if (!built && !o.files.asmPath.empty()) return Usage(err, "--asm nur mit DATEI.bas");
  TBuilder builder;
  TTesselProgram program;
  uint8_t board = o.files.profile.value_or(profile::Tessel11);
  if (built) {
    const TProjectFileLoader loader;
    TBuildInput input;
    if (!LoadSources(o.files, loader, input, err)) return kExitDiagnosed;
    input.warnings = false;
    board = input.profile;
    const TBuildResult result = builder.Build(input);
    if (!result.success) {
      PrintBuildReport(err, o.files, result);
      return kExitDiagnosed;
    }
    program.image = result.program.image;
    program.eepromSize = result.program.eepromSize;
    program.lines = BuildLineTable(builder.Compiler(), result.program);
    program.machineCode = result.machineCode.code;
    program.codeStart = result.machineCode.startAddress;
    program.asmLineMap = result.machineCode.lineMap;
  } else {
    const auto file = ReadBinaryFile(o.files.path);
    if (!file) {
      err << o.files.path << ": Datei kann nicht gelesen werden\n";
      return kExitDiagnosed;
    }
    program.image = *file;
  }
  std::string why;
  const auto runtime = TesselRuntimeFor(board, &why);
  if (!runtime) {
    err << o.files.path << ": " << why << "\n";
    return kExitDiagnosed;
  }
  o.run.points = runtime->points;
  const bool flushEach = o.run.realtime;
  o.run.output = [&out, flushEach](const std::string& text) {
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (flushEach) out.flush();
  };
  const TTesselRunResult result = RunTesselProgram(runtime->image, program, o.run);
  out.flush();
  if (!result.loadError.empty()) {
    err << o.files.path << ": " << result.loadError << "\n";
    return kExitDiagnosed;
  }
  if (!result.error) return kExitOk;
  if (!built || result.error->statement.sourcePosition == 0) {
    err << "Laufzeitfehler bei Adresse " << result.error->address << ": " << result.error->text;
    if (result.controllerError) err << " " << result.registerLine;
    err << "\n";
    return kExitDiagnosed;
  }
  const TSourceLocation at = builder.Compiler().Locate(static_cast<int32_t>(result.error->statement.sourcePosition));
  const std::string file = at.mapped.moduleIndex >= 0 ? at.mapped.fileName : o.files.path;
  err << file << ":" << at.line << ":" << at.column << ": Laufzeitfehler: " << result.error->text;
  if (result.controllerError) err << " " << result.registerLine;
  err << "\n";
  return kExitDiagnosed;
}

}  // namespace zarvek::cli
