#include "cli/upload_command.h"

#include <ostream>

#include "base/profile.h"
#include "cli/build_report.h"
#include "cli/cli.h"
#include "cli/link_session.h"
#include "cli/profile_option.h"
#include "link/link_texts.h"
#include "link/upload.h"
#include "project/open_file.h"
#include "runtime/interpreter.h"

namespace zarvek::cli {

namespace {

struct TUploadRequest {
  TPortChoice port;
  std::optional<TProfile> profile;
  std::string path;
  std::string asmPath;  // an assembler part beside a BASIC file
};

class TPrintingListener final : public link::TUploadListener {
 public:
  explicit TPrintingListener(std::ostream& err) : m_status(err) {}
  void OnStatus(const std::string& text) override { m_status.Print(text); }
  void OnProgress(int32_t, int32_t) override {}
  void OnAnimationStopped() override {}
  void OnTransferred() override { m_status.Print(link::texts::kProjectTransferred); }

 private:
  TStatusPrinter m_status;
};

}  // namespace

int UploadCommand(const std::vector<std::string>& args, std::ostream&, std::ostream& err) {
  TUploadRequest r;
  const TCommandSyntax syntax{"upload",
                              "--port PFAD [--baud N] [--profile NAME] [--asm DATEI.asm] DATEI.bas|PROJEKT.xml",
                              "Quelldatei",
                              {PortOption(r.port), BaudOption(r.port), ProfileOption(r.profile), TextOption("--asm", r.asmPath)}};
  if (const auto problem = ParseCommandLine(syntax, args, r.path)) return UsageError(syntax, err, *problem);
  if (r.port.port.empty()) return UsageError(syntax, err, "--port fehlt");
  const TFileKind kind = KindOfFile(r.path);
  if (kind != TFileKind::BasicText && kind != TFileKind::Project)
    return UsageError(syntax, err, "unbekannte Dateiart: " + r.path + " (DATEI.bas oder PROJEKT.xml)");

  if (kind == TFileKind::Project && !r.asmPath.empty())
    return UsageError(syntax, err, "--asm gilt nur für eine BASIC-Datei; ein Projekt nennt seine Module selbst");
  TSourceFiles files;
  files.path = r.path;
  files.asmPath = r.asmPath;
  files.profile = r.profile;
  files.warnings = false;
  TSourceBuild build(files);
  if (!build.Load(err) || !build.Build(err)) return kExitDiagnosed;
  const TBuildResult& built = build.Result();
  if (const auto problem = link::ProgramRoomProblem(build.Profile(), built.program.image.size())) {
    err << r.path << ": " << *problem << "\n";
    return kExitDiagnosed;
  }
  link::TUploadStreams streams;
  if (const auto problem = link::BuildUploadStreams(built.program.image, built.machineCode.code, streams)) {
    err << r.path << ": " << *problem << "\n";
    return kExitDiagnosed;
  }

  link::TLink link = MakeSystemLink();
  if (!OpenLink(link, r.port, err)) return kExitDiagnosed;
  link::TSteadyClock clock;
  TPrintingListener listener(err);
  link::TUploadMachine upload(link, clock, listener);
  link.receiveHandler = [&](const std::string& data) {
    if (link.TransferState != 0) upload.ReceiveCallBack(data);
  };
  link.onLost = [&](const std::string&) { upload.PortLost(); };
  upload.Start(build.Profile(), built.program.programMemorySelector, std::move(streams));
  while (upload.Outcome() == link::TUploadOutcome::Running) {
    const int64_t due = upload.MillisUntilTimer();
    link.Pump(due < 0 ? 100 : static_cast<int>(std::min<int64_t>(due, 100)));
    upload.Poll();
  }
  upload.Stop();
  link.LinkClose();
  return upload.Outcome() == link::TUploadOutcome::Transferred ? kExitOk : kExitDiagnosed;
}

}  // namespace zarvek::cli
