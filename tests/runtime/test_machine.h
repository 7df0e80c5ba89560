// A token machine whose hooks record what the program did, with virtual time, driven on
// the test's thread unless a test asks for the machine's own thread.
#pragma once

#include <map>
#include <mutex>
#include <ostream>
#include <string>
#include <vector>

#include "runtime/interpreter.h"
#include "token_program.h"

namespace zarvek::test {

struct TReport {
  std::string text;
  int32_t address;
  bool operator==(const TReport&) const = default;
};
// Readable reports in failed expectations.
inline void PrintTo(const TReport& r, std::ostream* os) { *os << '{' << '"' << r.text << "\", " << r.address << '}'; }

class TTestMachine : public TInterpreter {
 public:
  struct TOptions {
    uint32_t space1Size = 1024;
    uint32_t programMemorySize = 32745;
    uint32_t space4Size = 0;
    bool ownThread = false;
    bool pauseOnReport = true;  // as the IDE does: a report pauses the run
    bool realTime = false;      // real sleeps and clock instead of virtual time
    std::shared_ptr<TRandomGenerator> random;
  };

  TTestMachine() : TTestMachine(TOptions{}) {}
  explicit TTestMachine(const TOptions& o) : TTestMachine(o, std::make_shared<TVirtualTimeSource>()) {}
  ~TTestMachine() override { Shutdown(); }

  // The virtual clock (not used by the machine when realTime is set).
  TVirtualTimeSource& Time() { return *m_virtualTime; }

  // Loads the program with its statements (one statement at offset 0 when it has none).
  void Load(const TTokenProgram& program) {
    LoadProgram(program.Image(), 0, 0);
    auto lines = program.Lines();
    if (lines.empty()) lines.push_back(TLineRecord{0, 1, 1, kMainSourceOrigin, 0});
    SetLineTable(lines);
  }
  // Runs on the test's thread until END, a pause, waiting for input or the budget
  // (sleeps do not end the run here).
  TSliceResult Run(uint64_t maxTokens = 1'000'000) {
    TSliceResult total;
    do {
      const TSliceResult r = RunSlice(maxTokens - total.tokens);
      total.tokens += r.tokens;
      total.end = r.end;
    } while (total.end == TSliceEnd::Slept && total.tokens < maxTokens);
    if (total.end == TSliceEnd::Slept) total.end = TSliceEnd::Budget;
    return total;
  }
  // Runs until END or a pause, continuing after the pause of each report when asked to.
  TSliceResult RunToEnd(uint64_t maxTokens = 1'000'000) {
    TSliceResult r = Run(maxTokens);
    while (r.end == TSliceEnd::Paused && m_continueAfterReport) {
      SetRunMode(TRunMode::Run);
      r = Run(maxTokens);
    }
    return r;
  }

  // Recorded effects (read them while the machine does not run).
  std::string Output() {
    std::lock_guard lock(m_mutex);
    return m_output;
  }
  std::vector<TReport> Reports() {
    std::lock_guard lock(m_mutex);
    return m_reports;
  }
  std::vector<std::string> Calls() {
    std::lock_guard lock(m_mutex);
    return m_calls;
  }
  void ClearCalls() {
    std::lock_guard lock(m_mutex);
    m_calls.clear();
  }
  void Type(const std::string& text) {
    {
      std::lock_guard lock(m_mutex);
      m_input += text;
    }
    NotifyInput();
  }
  // Input that arrives without telling the machine, as typed into a console that only
  // fills the hardware record.
  void TypeWithoutNotice(const std::string& text) {
    std::lock_guard lock(m_mutex);
    m_input += text;
  }
  void SetContinueAfterReport(bool on) { m_continueAfterReport = on; }

  // Input levels the hooks report.
  std::map<int, int32_t> pins, ports, wordPorts, ad, freq;

 protected:
  void DeactPin(int pin) override { Log("DeactPin", pin); }
  void DeactPort(int port) override { Log("DeactPort", port); }
  void WritePin(int pin, int32_t v) override { Log("WritePin", pin, v); }
  void WritePort(int port, int32_t v) override { Log("WritePort", port, v); }
  void WriteWordPort(int w, int32_t v) override { Log("WriteWordPort", w, v); }
  void WriteDA(int ch, int32_t v) override { Log("WriteDA", ch, v); }
  void Beep(int32_t v) override { Log("Beep", v); }
  void SetBaud(int32_t baud) override { Log("SetBaud", baud); }
  int32_t ReadPin(int pin) override { return Lookup(pins, pin); }
  int32_t ReadPort(int port) override { return Lookup(ports, port); }
  int32_t ReadWordPort(int w) override { return Lookup(wordPorts, w); }
  int32_t ReadAD(int ch) override { return Lookup(ad, ch); }
  int32_t ReadFreq(int n) override { return Lookup(freq, n); }
  void ReportError(const TMachineReport& report) override {
    {
      std::lock_guard lock(m_mutex);
      m_reports.push_back({report.text, report.address});
    }
    if (m_pauseOnReport) SetRunMode(TRunMode::Pause);
  }
  void OutputText(const std::string& text) override {
    std::lock_guard lock(m_mutex);
    m_output += text;
  }
  void TakeInput(std::string& received) override {
    std::lock_guard lock(m_mutex);
    received += m_input;
    m_input.clear();
  }

 private:
  static int32_t Lookup(const std::map<int, int32_t>& m, int key) {
    const auto it = m.find(key);
    return it == m.end() ? 0 : it->second;
  }
  template <typename... A>
  void Log(const char* name, A... args) {
    std::string call = std::string(name) + "(";
    const char* sep = "";
    ((call += sep + std::to_string(args), sep = ","), ...);
    std::lock_guard lock(m_mutex);
    m_calls.push_back(call + ")");
  }

  TTestMachine(const TOptions& o, std::shared_ptr<TVirtualTimeSource> time)
      : TInterpreter(TMachineConfig{o.space1Size, o.programMemorySize, o.space4Size,
                                    o.realTime ? std::shared_ptr<TTimeSource>(std::make_shared<TRealTimeSource>()) : time,
                                    o.random, o.ownThread}),
        m_virtualTime(std::move(time)),
        m_pauseOnReport(o.pauseOnReport) {}

  std::shared_ptr<TVirtualTimeSource> m_virtualTime;
  bool m_pauseOnReport;
  bool m_continueAfterReport = false;
  std::mutex m_mutex;
  std::string m_output, m_input;
  std::vector<TReport> m_reports;
  std::vector<std::string> m_calls;
};

}  // namespace zarvek::test
