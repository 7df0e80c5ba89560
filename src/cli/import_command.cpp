// Converts a legacy binary project into a project file; an existing file is kept as its
// ".BAK" backup.
#include "cli/import_command.h"

#include <ostream>

#include "cli/build_report.h"
#include "cli/cli.h"
#include "cli/cli_args.h"
#include "project/legacy_import.h"
#include "project/project_file.h"

namespace zarvek::cli {

int ImportCommand(const std::vector<std::string>& args, std::ostream&, std::ostream& err) {
  std::string input, output;
  const TCommandSyntax syntax{"import", "ALT.cpo -o PROJEKT.xml", "Datei", {TextOption("-o", output)}};
  if (const auto problem = ParseCommandLine(syntax, args, input)) return UsageError(syntax, err, *problem);
  if (output.empty()) return UsageError(syntax, err, "keine Ausgabedatei angegeben (-o)");
  // Neither the new file nor the backup of the old one may land on the file being read.
  if (!RefuseOverwritingInput(output, {input}, true, err)) return kExitUsage;

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
