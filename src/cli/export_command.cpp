// Compiles and assembles a project as the compile command does and writes the compiled
// project export.
#include "cli/export_command.h"

#include <ostream>

#include "cli/build_report.h"
#include "cli/cli.h"
#include "project/project.h"
#include "project/file_io.h"
#include "project/project_export.h"
#include "project/project_file.h"

namespace zarvek::cli {

namespace {

int Usage(std::ostream& err, const std::string& problem) {
  err << "zarvek-cli export: " << problem << "\n"
      << "Aufruf: zarvek-cli export [--profile tessel-1.1|tessel-micro|tessel-2.0|atmega-32|atmega-128] "
         "PROJEKT.xml|DATEI.bas -o AUSGABE.dat\n";
  return kExitUsage;
}

}  // namespace

int ExportCommand(const std::vector<std::string>& args, std::ostream&, std::ostream& err) {
  TSourceFiles files;
  std::string output;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--profile" || args[i] == "-o") {
      if (i + 1 >= args.size()) return Usage(err, "der Option " + args[i] + " fehlt ihr Wert");
      if (args[i] == "-o") {
        output = args[++i];
        continue;
      }
      files.profile = FindProfileFileValue(args[++i]);
      if (!files.profile) return Usage(err, "unbekanntes Profil \"" + args[i] + "\"");
    } else if (args[i].starts_with("-")) {
      return Usage(err, "unbekannte Option " + args[i]);
    } else if (files.path.empty()) {
      files.path = args[i];
    } else {
      return Usage(err, "nur eine Projektdatei erwartet");
    }
  }
  if (files.path.empty()) return Usage(err, "keine Projektdatei angegeben");
  if (output.empty()) return Usage(err, "keine Ausgabedatei angegeben (-o)");

  TBuilder builder;
  TBuildResult result;
  if (!BuildAndReport(files, err, builder, result)) return kExitDiagnosed;
  if (!WriteFileReplacing(output, CompiledProjectExport(result.program.image, result.machineCode.code))) {
    err << output << ": " << kSaveFailedText << "\n";
    return kExitDiagnosed;
  }
  return kExitOk;
}

}  // namespace zarvek::cli
