// Compiles and assembles a project as the compile command does and writes the compiled
// project export.
#include "cli/export_command.h"

#include <ostream>

#include "cli/build_report.h"
#include "cli/cli.h"
#include "cli/cli_args.h"
#include "cli/profile_option.h"
#include "project/file_io.h"
#include "project/project_export.h"
#include "project/project_file.h"

namespace zarvek::cli {

int ExportCommand(const std::vector<std::string>& args, std::ostream&, std::ostream& err) {
  TSourceFiles files;
  std::string output;
  const TCommandSyntax syntax{
      "export",
      "[--profile tessel-1.1|tessel-micro|tessel-2.0|atmega-32|atmega-128] PROJEKT.xml|DATEI.bas -o AUSGABE.dat",
      "Projektdatei",
      {ProfileOption(files.profile), TextOption("-o", output)}};
  if (const auto problem = ParseCommandLine(syntax, args, files.path)) return UsageError(syntax, err, *problem);
  if (output.empty()) return UsageError(syntax, err, "keine Ausgabedatei angegeben (-o)");
  if (!RefuseOverwritingInput(output, {files.path}, false, err)) return kExitUsage;

  TSourceBuild build(files);
  if (!build.Load(err) || !build.Build(err)) return kExitDiagnosed;
  const TBuildResult& result = build.Result();
  // Nor any module the build read.
  std::vector<std::string> modules;
  for (const TIncludeRecord& r : result.program.includes) modules.push_back(r.fileName);
  if (!RefuseOverwritingInput(output, modules, false, err)) return kExitUsage;
  if (!WriteFileReplacing(output, CompiledProjectExport(result.program.image, result.machineCode.code))) {
    err << output << ": " << kSaveFailedText << "\n";
    return kExitDiagnosed;
  }
  return kExitOk;
}

}  // namespace zarvek::cli
