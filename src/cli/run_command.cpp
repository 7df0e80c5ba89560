// Runs a BASIC program or a program image on the token machine without a window: the
// program's serial output goes to stdout byte for byte, a runtime error to stderr.
#include "cli/run_command.h"

#include <optional>
#include <ostream>

#include "cli/cli.h"
#include "cli/cli_args.h"
#include "cli/compile_command.h"
#include "project/open_file.h"
#include "project/project.h"
#include "compiler/compiler.h"
#include "pipeline/build.h"
#include "simulation/line_table.h"
#include "simulation/program_runner.h"

namespace zarvek::cli {

namespace {

struct TRunOptions {
  TProgramRunOptions run;
  uint8_t profileCode = profile::Pyxon32;
  std::string path;
};

int Usage(std::ostream& err, const std::string& problem) {
  err << "zarvek-cli run: " << problem << "\n"
      << "Aufruf: zarvek-cli run [--profile atmega-32|atmega-128] [--input TEXT] "
         "[--max-tokens N] [--timeout SEKUNDEN] [--realtime] PROGRAMM.bas|PROGRAMM.bin\n";
  return kExitUsage;
}

// Fills options from args; an error text for bad usage.
std::optional<std::string> ParseRunOptions(const std::vector<std::string>& args, TRunOptions& o) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&]() -> std::optional<std::string> {
      if (i + 1 >= args.size()) return std::nullopt;
      return args[++i];
    };
    if (a == "--realtime") {
      o.run.realtime = true;
    } else if (a == "--profile" || a == "--input" || a == "--max-tokens" || a == "--timeout") {
      const auto v = value();
      if (!v) return "der Option " + a + " fehlt ihr Wert";
      if (a == "--profile") {
        const auto code = FindProfileFileValue(*v);
        if (!code || !IsPyxon(*code))
          return "das Profil \"" + *v + "\" läuft nicht auf der Token-Maschine (atmega-32 oder atmega-128)";
        o.profileCode = *code;
        o.run.machine = *code == profile::Pyxon128 ? TMachineConfig::Pyxon128() : TMachineConfig::Pyxon32();
      } else if (a == "--input") {
        const auto decoded = DecodeEscapes(*v);
        if (!decoded) return "ungültige Escape-Folge in --input (erlaubt: \\r \\n \\t \\\\ \\xHH)";
        o.run.input += *decoded;
      } else if (a == "--max-tokens") {
        if (!(o.run.maxTokens = ParseCount(*v))) return "--max-tokens erwartet eine ganze Zahl";
      } else if (!(o.run.timeoutSeconds = ParseSeconds(*v))) {
        return "--timeout erwartet Sekunden (eine Zahl ab 0)";
      }
    } else if (a.starts_with("--")) {
      return "unbekannte Option " + a;
    } else if (o.path.empty()) {
      o.path = a;
    } else {
      return "nur eine Programmdatei erwartet";
    }
  }
  if (o.path.empty()) return "keine Programmdatei angegeben";
  return std::nullopt;
}

}  // namespace

int RunCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  TRunOptions options;
  if (const auto problem = ParseRunOptions(args, options)) return Usage(err, *problem);
  const auto file = ReadBinaryFile(options.path);
  if (!file) {
    err << options.path << ": Datei kann nicht gelesen werden\n";
    return kExitDiagnosed;
  }

  // A .bas file is compiled first; anything else is a raw program image.
  TBuilder builder;
  std::string image = *file;
  std::vector<TLineRecord> lines;
  uint32_t codeLength = 0, tableLength = 0;
  const bool basic = KindOfFile(options.path) == TFileKind::BasicText;
  if (basic) {
    TBuildInput input;
    input.basicSource = *file;
    input.profile = options.profileCode;
    input.projectFileName = options.path;
    input.warnings = false;
    const TBuildResult built = builder.Build(input);
    if (built.basicError) {
      PrintCompileError(err, options.path, *built.basicError);
      return kExitDiagnosed;
    }
    image = built.program.image;
    lines = BuildLineTable(builder.Compiler(), built.program);
    codeLength = built.program.codeLength;
    tableLength = built.program.tableLength;
  } else {
    // A raw image has no statement map: one statement at its start keeps the machine from
    // reporting that there is nothing to run.
    lines.push_back(TLineRecord{0, 1, 1, kMainSourceOrigin, 0});
  }
  const uint64_t room = options.run.machine.programMemorySize - 4;
  if (image.size() > room) {
    err << options.path << ": Das Programm ist zu groß für den Programmspeicher (" << image.size()
        << " Bytes, höchstens " << room << ").\n";
    return kExitDiagnosed;
  }

  const bool flushEach = options.run.realtime;
  options.run.output = [&out, flushEach](const std::string& text) {
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (flushEach) out.flush();
  };
  if (basic) {
    options.run.locator = [&](const TLinePosition& statement) -> std::optional<TStatementPlace> {
      const TSourceLocation at = builder.Compiler().Locate(static_cast<int32_t>(statement.sourcePosition));
      const std::string file = at.mapped.moduleIndex >= 0 ? at.mapped.fileName : options.path;
      return TStatementPlace{file, static_cast<uint32_t>(at.line), static_cast<uint32_t>(at.column)};
    };
  }
  const TProgramRunResult result = RunProgram(image, lines, codeLength, tableLength, options.run);
  out.flush();
  if (!result.error) return kExitOk;
  if (const auto& place = result.error->place) {
    err << place->file << ":" << place->line << ":" << place->column << ": Laufzeitfehler: " << result.error->text
        << "\n";
  } else {
    err << "Laufzeitfehler bei Adresse " << result.error->address << ": " << result.error->text << "\n";
  }
  return kExitDiagnosed;
}

}  // namespace zarvek::cli
