#include "cli/flash_command.h"

#include <ostream>

#include "cli/cli.h"
#include "cli/link_session.h"
#include "link/bootloader.h"
#include "link/clock.h"
#include "link/link_texts.h"
#include "base/profile.h"
#include "project/project.h"

namespace zarvek::cli {

namespace {

// A runtime image for the larger board fills 128 KiB; as HEX text with generous line
// ends that is well below this.
constexpr uint64_t kHexFileLimit = 4u << 20;

struct TFlashRequest {
  TPortChoice port;
  std::optional<TProfile> profile;
  double promptSeconds = 60;
  std::string path;
};

class TPrintingListener final : public link::TBootloaderListener {
 public:
  explicit TPrintingListener(std::ostream& err) : m_status(err) {}
  void OnStatus(const std::string& text) override { m_status.Print(text); }
  void OnProgress(int32_t) override {}

 private:
  TStatusPrinter m_status;
};

}  // namespace

int FlashCommand(const std::vector<std::string>& args, std::ostream&, std::ostream& err) {
  TFlashRequest r;
  const TCommandSyntax syntax{
      "flash",
      "--port PFAD [--baud N] --profile atmega-32|atmega-128 [--wait SEKUNDEN] LAUFZEIT.hex",
      "HEX-Datei",
      {PortOption(r.port), BaudOption(r.port),
       {"--profile", true,
        [&r](const std::string& v) -> std::optional<std::string> {
          const auto code = FindProfileFileValue(v);
          if (!code || !IsPyxon(*code)) return "das Profil \"" + v + "\" hat keinen Bootloader (atmega-32 oder atmega-128)";
          r.profile = code;
          return std::nullopt;
        }},
       {"--wait", true,
        [&r](const std::string& v) -> std::optional<std::string> {
          const auto s = ParseSeconds(v);
          if (!s) return "--wait erwartet Sekunden (eine Zahl ab 0)";
          r.promptSeconds = *s;
          return std::nullopt;
        }}}};
  if (const auto problem = ParseCommandLine(syntax, args, r.path)) return UsageError(syntax, err, *problem);
  if (r.port.port.empty()) return UsageError(syntax, err, "--port fehlt");
  if (!r.profile) return UsageError(syntax, err, "--profile fehlt (atmega-32 oder atmega-128)");
  const auto text = ReadInputFile(r.path, kHexFileLimit, err);
  if (!text) return kExitDiagnosed;

  link::TLink link = MakeSystemLink();
  if (!OpenLink(link, r.port, err)) return kExitDiagnosed;
  link::TSteadyClock clock;
  TPrintingListener listener(err);
  link::TBootloaderMachine update(link, clock, listener);
  link.onLost = [&](const std::string&) { update.PortLost(); };
  update.Start(*r.profile, r.port.port, r.port.baud, *text);
  if (update.Outcome() == link::TUpdateOutcome::Failed) {
    const link::THexImage& image = update.Image();
    if (!image.valid && image.line > 0) err << r.path << ":" << image.line << ": " << image.reason << "\n";
    link.LinkClose();
    return kExitDiagnosed;
  }
  // The prompt needs the user's hand at the board when its runtime does not answer "B";
  // waiting has a limit here, since nobody may be watching.
  const int64_t promptDeadline = clock.NowMillis() + static_cast<int64_t>(r.promptSeconds * 1000);
  while (update.Outcome() == link::TUpdateOutcome::Running) {
    if (update.State() == link::update::WaitPrompt && clock.NowMillis() >= promptDeadline) {
      listener.OnStatus(link::texts::kNoAnswer);
      link.LinkClose();
      return kExitDiagnosed;
    }
    link.Pump(50);
    update.Poll();
  }
  const bool finished = update.Outcome() == link::TUpdateOutcome::Finished;
  if (finished) link.Pump(100);  // lets the end packet leave before the port closes
  link.LinkClose();
  return finished ? kExitOk : kExitDiagnosed;
}

}  // namespace zarvek::cli
