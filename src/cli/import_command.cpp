// Converts a legacy binary project into a project file; an existing file is kept as its
// ".BAK" backup.
#include "cli/import_command.h"

#include <ostream>

#include "cli/build_report.h"
#include "cli/cli.h"
#include "project/legacy_import.h"
#include "project/project_file.h"

namespace zarvek::cli {

namespace {

int Usage(std::ostream& err, const std::string& problem) {
  err << "zarvek-cli import: " << problem << "\n"
      << "Aufruf: zarvek-cli import ALT.cpo -o PROJEKT.xml\n";
  return kExitUsage;
}

}  // namespace

int ImportCommand(const std::vector<std::string>& args, std::ostream&, std::ostream& err) {
  std::string input, output;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "-o") {
      if (i + 1 >= args.size()) return Usage(err, "der Option -o fehlt ihr Wert");
      output = args[++i];
    } else if (args[i].starts_with("-")) {
      return Usage(err, "unbekannte Option " + args[i]);
    } else if (input.empty()) {
      input = args[i];
    } else {
      return Usage(err, "nur eine Datei erwartet");
    }
  }
  if (input.empty()) return Usage(err, "keine Datei angegeben");
  if (output.empty()) return Usage(err, "keine Ausgabedatei angegeben (-o)");

  TProject project;
  const TLoadOutcome loaded = ImportLegacyProject(input, project);
  if (loaded.result != loadresult::Loaded) {
    PrintOpenFailure(err, input, loaded);
    return kExitDiagnosed;
  }
  const TSaveOutcome saved = SaveProject(output, project);
  if (!saved.saved) {
    err << output << ": " << saved.message << "\n";
    return kExitDiagnosed;
  }
  return kExitOk;
}

}  // namespace zarvek::cli
