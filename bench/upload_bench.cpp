// An 8 KB program uploaded at 9600 baud to a virtual Pyxon board that paces its line like
// a real one, against the line's own time: 10 bits for every byte in either direction,
// each byte waiting for its echo. The ratio shows what the host and the board add.
#include <benchmark/benchmark.h>

#include <atomic>
#include <sstream>
#include <thread>

#include "base/profile.h"
#include "link/posix_port.h"
#include "link/upload.h"
#include "link/virtual_board.h"

namespace zarvek::link {
namespace {

constexpr int32_t kBaud = 9600;
constexpr size_t kProgramBytes = 8192;
const std::string kIdent = "Zarvek Pyxon 32\r";

class TQuiet final : public TUploadListener {
 public:
  void OnStatus(const std::string&) override {}
  void OnProgress(int32_t, int32_t) override {}
  void OnAnimationStopped() override {}
  void OnTransferred() override {}
};

void BM_Upload8KAt9600(benchmark::State& state) {
  // A program that ends at once: the board starts it when the upload is complete.
  const std::string image = std::string(1, '\xFF') + std::string(kProgramBytes - 1, '\0');
  TUploadStreams streams;
  if (BuildUploadStreams(image, "", streams)) {
    state.SkipWithError("streams");
    return;
  }
  // Host to board: probe, memory byte, command, the stream; board to host: the
  // identification and one echo per stream byte.
  const double hostBytes = 1 + 1 + 1 + static_cast<double>(streams.tokenCode.size());
  const double boardBytes = static_cast<double>(kIdent.size() + streams.tokenCode.size());
  const double lineSeconds = (hostBytes + boardBytes) * 10.0 / kBaud;
  double seconds = 0;
  for (auto _ : state) {
    TPacedLine line;
    std::string error;
    if (!line.Open(kBaud, error)) {
      state.SkipWithError(error.c_str());
      return;
    }
    std::ostringstream log;
    TPyxonBoardOptions options;
    options.profile = profile::Pyxon32;
    TPyxonVirtualBoard board(line, options, log);
    std::atomic<bool> stop{false};
    std::thread boardThread([&] { RunVirtualBoard(line, board, [&] { return stop.load(); }); });

    TLink link([] { return std::make_unique<TPosixPort>(); });
    TSteadyClock clock;
    TQuiet listener;
    TUploadMachine upload(link, clock, listener);
    const auto start = std::chrono::steady_clock::now();
    if (link.LinkOpen(line.TerminalPath(), std::to_string(kBaud))) {
      link.receiveHandler = [&](const std::string& d) {
        if (link.TransferState != 0) upload.ReceiveCallBack(d);
      };
      upload.Start(profile::Pyxon32, 1, streams);
      while (upload.Outcome() == TUploadOutcome::Running) {
        const int64_t due = upload.MillisUntilTimer();
        link.Pump(due < 0 ? 100 : static_cast<int>(std::min<int64_t>(due, 100)));
        upload.Poll();
      }
    }
    seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    stop = true;
    boardThread.join();
    if (upload.Outcome() != TUploadOutcome::Transferred) {
      state.SkipWithError(("upload failed: " + upload.Status()).c_str());
      return;
    }
    state.SetIterationTime(seconds);
  }
  state.counters["line_s"] = lineSeconds;
  state.counters["upload_s"] = seconds;
  state.counters["ratio"] = seconds / lineSeconds;
}

BENCHMARK(BM_Upload8KAt9600)->UseManualTime()->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace
}  // namespace zarvek::link

BENCHMARK_MAIN();
