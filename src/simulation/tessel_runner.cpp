#include "simulation/tessel_runner.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "hc05/engine_registers.h"
#include "simulation/tessel_board.h"

namespace zarvek {

namespace {

class TRunListener final : public TTesselListener {
 public:
  explicit TRunListener(std::function<void(const std::string&)>& output) : m_output(output) {}
  void OnSerialOutput(const std::string& bytes, const std::string&) override {
    if (m_output) m_output(bytes);
  }
  void OnStop(const TTesselStop& s) override {
    if (!stop) stop = s;
  }
  std::optional<TTesselStop> stop;

 private:
  std::function<void(const std::string&)>& m_output;
};

}  // namespace

TTesselRunResult RunTesselProgram(const hc05::TRuntimeImage& runtime, const TTesselProgram& program,
                                  TTesselRunOptions options) {
  TTesselRunResult result;
  TSimulatedHardware hardware;
  TRunListener listener(options.output);
  TTesselLoop loop(hardware, listener);
  if (!loop.Start(runtime, program, &result.loadError)) return result;
  loop.SetRuntimePoints(options.points);
  loop.SetTokenLimit(options.maxTokens);
  loop.SetRunKind(runkind::Run);
  // Prepared input goes to the serial line only as the runtime's buffer has room for it,
  // so that none is lost; without a known buffer it all goes at once.
  std::string pending = options.input;
  const auto feedInput = [&] {
    if (pending.empty()) return;
    size_t room = pending.size();
    if (options.points.receiveCount && options.points.receiveBufferSize) {
      const hc05::TMotorolaEngine& e = loop.Engine();
      const size_t inFlight = e.Environment().receiveText.size() + ((e.Memory()[hc05::reg::kSciStatus] & hc05::reg::kSciRdrf) ? 1 : 0) +
                              e.Memory()[*options.points.receiveCount];
      room = inFlight >= options.points.receiveBufferSize ? 0 : options.points.receiveBufferSize - inFlight;
    }
    const size_t n = std::min(room, pending.size());
    hardware.serialInput.Append(pending.substr(0, n));
    pending.erase(0, n);
  };

  // The board's bus clock is half the crystal's; its seconds are counted in its cycles.
  const double cyclesPerSecond = kTesselDefaultClockKHz * 1000.0 / 2;
  const auto wallStart = std::chrono::steady_clock::now();
  const auto elapsedSeconds = [&] {
    if (!options.realtime) return static_cast<double>(result.cycles) / cyclesPerSecond;
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
  };
  for (;;) {
    if (options.everyTick) options.everyTick(loop, hardware);
    feedInput();
    const TTesselTickResult tick = loop.Tick();
    result.cycles += tick.cycles;
    if (options.realtime) {
      const auto due = wallStart + std::chrono::duration<double>(static_cast<double>(result.cycles) / cyclesPerSecond);
      std::this_thread::sleep_until(std::chrono::time_point_cast<std::chrono::steady_clock::duration>(due));
    }
    if (listener.stop) {
      const TTesselStop& s = *listener.stop;
      TRuntimeReport report;
      report.text = s.message;
      report.address = s.tokenAddress;
      if (s.statement) report.statement = TLinePosition{s.statement->sourcePosition, s.statement->origin};
      result.controllerError = s.reason == TTesselStopReason::EngineError;
      if (result.controllerError) result.registerLine = s.registerLine;
      result.error = report;
      break;
    }
    if (tick.end == TTesselTickEnd::Ended || tick.end == TTesselTickEnd::TokenLimit ||
        tick.end == TTesselTickEnd::NotRunning || (tick.end == TTesselTickEnd::WaitingForInput && pending.empty())) {
      break;
    }
    if (options.timeoutSeconds && elapsedSeconds() >= *options.timeoutSeconds) break;
  }
  result.tokens = loop.Tokens();
  return result;
}

}  // namespace zarvek
