// Runs a program image on the token machine without a window: the program's serial
// output goes to stdout byte for byte, a runtime error to stderr.
#include "cli/run_command.h"

#include <algorithm>
#include <optional>
#include <ostream>

#include "cli/cli.h"
#include "cli/cli_args.h"
#include "cli/profiles.h"
#include "compiler/compiler.h"
#include "runtime/simulator.h"

namespace zarvek::cli {

namespace {

// In virtual time every token takes this long, so that a program that waits on the
// clock, and --timeout, behave as on a running board.
constexpr int64_t kVirtualMicrosPerToken = 1;
constexpr uint64_t kSliceTokens = 4096;

struct TRunOptions {
  TMachineConfig machine = TMachineConfig::Pyxon32();
  std::string input;
  std::optional<uint64_t> maxTokens;
  std::optional<double> timeoutSeconds;
  bool realtime = false;
  std::string imagePath;
};

class TConsoleListener final : public TSimulatorListener {
 public:
  TConsoleListener(std::ostream& out, bool flushEach) : m_out(out), m_flushEach(flushEach) {}
  void OnOutputText(const std::string& text) override {
    m_out.write(text.data(), static_cast<std::streamsize>(text.size()));
    if (m_flushEach) m_out.flush();
  }
  void OnReportError(const std::string& text, int32_t address) override {
    if (!m_error) m_error = Report{text, address};
  }
  struct Report {
    std::string text;
    int32_t address;
  };
  const std::optional<Report>& Error() const { return m_error; }

 private:
  std::ostream& m_out;
  bool m_flushEach;
  std::optional<Report> m_error;
};

int Usage(std::ostream& err, const std::string& problem) {
  err << "zarvek-cli run: " << problem << "\n"
      << "Aufruf: zarvek-cli run [--profile atmega-32|atmega-128] [--input TEXT] "
         "[--max-tokens N] [--timeout SEKUNDEN] [--realtime] PROGRAMM.bin\n";
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
      o.realtime = true;
    } else if (a == "--profile" || a == "--input" || a == "--max-tokens" || a == "--timeout") {
      const auto v = value();
      if (!v) return "der Option " + a + " fehlt ihr Wert";
      if (a == "--profile") {
        const auto code = ParseProfileName(*v);
        if (code == profile::Pyxon32) o.machine = TMachineConfig::Pyxon32();
        else if (code == profile::Pyxon128) o.machine = TMachineConfig::Pyxon128();
        else return "das Profil \"" + *v + "\" läuft nicht auf der Token-Maschine (atmega-32 oder atmega-128)";
      } else if (a == "--input") {
        const auto decoded = DecodeEscapes(*v);
        if (!decoded) return "ungültige Escape-Folge in --input (erlaubt: \\r \\n \\t \\\\ \\xHH)";
        o.input += *decoded;
      } else if (a == "--max-tokens") {
        if (!(o.maxTokens = ParseCount(*v))) return "--max-tokens erwartet eine ganze Zahl";
      } else if (!(o.timeoutSeconds = ParseSeconds(*v))) {
        return "--timeout erwartet Sekunden (eine Zahl ab 0)";
      }
    } else if (a.starts_with("--")) {
      return "unbekannte Option " + a;
    } else if (o.imagePath.empty()) {
      o.imagePath = a;
    } else {
      return "nur eine Programmdatei erwartet";
    }
  }
  if (o.imagePath.empty()) return "keine Programmdatei angegeben";
  return std::nullopt;
}

}  // namespace

int RunCommand(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  TRunOptions options;
  if (const auto problem = ParseRunOptions(args, options)) return Usage(err, *problem);

  const auto image = ReadBinaryFile(options.imagePath);
  if (!image) {
    err << options.imagePath << ": Datei kann nicht gelesen werden\n";
    return kExitDiagnosed;
  }
  const uint64_t room = options.machine.programMemorySize - 4;
  if (image->size() > room) {
    err << options.imagePath << ": Das Programm ist zu groß für den Programmspeicher (" << image->size()
        << " Bytes, höchstens " << room << ").\n";
    return kExitDiagnosed;
  }

  std::shared_ptr<TVirtualTimeSource> virtualTime;
  if (options.realtime) {
    options.machine.time = std::make_shared<TRealTimeSource>();
  } else {
    virtualTime = std::make_shared<TVirtualTimeSource>();
    options.machine.time = virtualTime;
  }
  TTimeSource& time = *options.machine.time;
  options.machine.ownThread = false;

  TSimulatedHardware hardware;
  TConsoleListener listener(out, options.realtime);
  TSimulator machine(options.machine, hardware, listener);
  // A raw image has no statement map: one statement at its start keeps the machine from
  // reporting that there is nothing to run.
  machine.SetLineTable({TLineRecord{0, 1, 1, kMainSourceOrigin, 0}});
  machine.LoadProgram(*image, 0, 0);
  machine.QueueInput(options.input);

  const int64_t start = time.NowMicros();
  // Anything beyond a few thousand years is as good as no limit.
  const int64_t timeoutMicros =
      options.timeoutSeconds ? static_cast<int64_t>(std::min(*options.timeoutSeconds, 1e11) * 1e6) : 0;
  uint64_t executed = 0;
  for (;;) {
    uint64_t budget = kSliceTokens;
    if (options.maxTokens) budget = std::min(budget, *options.maxTokens - executed);
    if (budget == 0) break;
    const TSliceResult slice = machine.RunSlice(budget);
    executed += slice.tokens;
    if (virtualTime) virtualTime->Advance(static_cast<int64_t>(slice.tokens) * kVirtualMicrosPerToken);

    if (const auto& report = listener.Error()) {
      out.flush();
      err << "Laufzeitfehler bei Adresse " << report->address << ": " << report->text << "\n";
      return kExitDiagnosed;
    }
    if (slice.end == TSliceEnd::Ended || slice.end == TSliceEnd::Terminated) break;
    if (slice.end == TSliceEnd::WaitingForInput && machine.QueuedInputEmpty()) break;
    if (options.timeoutSeconds && time.NowMicros() - start >= timeoutMicros) break;
  }
  out.flush();
  return kExitOk;
}

}  // namespace zarvek::cli
