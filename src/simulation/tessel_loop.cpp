#include "simulation/tessel_loop.h"

#include <algorithm>

#include "hc05/engine_messages.h"
#include "hc05/engine_registers.h"
#include "simulation/tessel_board.h"

namespace zarvek {

namespace {

constexpr uint8_t kTokenGosub = 0x05, kTokenReturn = 0x06, kTokenMachineCall = 0x08;
constexpr uint8_t kMiscSlowClock = 0x02;  // SLOWMODE: the clock runs at a sixteenth

bool InUserCode(uint16_t pc) { return pc >= kTesselUserCodeFirst && pc <= kTesselUserCodeLast; }

}  // namespace

TTesselLoop::TTesselLoop(TSimulatedHardware& hardware, TTesselListener& listener, hc05::TMotorolaEngine* engine)
    : m_hw(hardware), m_listener(listener) {
  if (!engine) {
    m_ownEngine = std::make_unique<hc05::TMotorolaEngine>();
    engine = m_ownEngine.get();
  }
  m_engine = engine;
}

bool TTesselLoop::Start(const hc05::TRuntimeImage& runtime, const TTesselProgram& program, std::string* message) {
  hc05::TMotorolaEngine& e = *m_engine;
  m_kind = runkind::None;
  e.SetRuntimeImage(runtime);
  e.Eeprom().SetSize(program.eepromSize);
  if (!e.LoadEeprom(0, program.image, message)) return false;
  e.Eeprom().Bytes()[2] = e.Eeprom().Bytes()[3] = 0;  // no data file uploaded with it
  e.Reset(true);
  m_hw.clockKHz = kTesselDefaultClockKHz;
  e.Environment().clockKHz = kTesselDefaultClockKHz;
  // The board keeps machine code only in its user area; anywhere else it would overwrite
  // the operating system or land where no memory is.
  if (!program.machineCode.empty() &&
      (program.codeStart < kTesselUserCodeFirst - 1 || program.codeStart + program.machineCode.size() > kTesselUserCodeLast + 2 ||
       !e.LoadCode(program.codeStart, program.machineCode))) {
    if (message) *message = "Der Maschinencode passt nicht in den Bereich $0100 bis $01FF des Controllers.";
    return false;
  }

  m_lines = program.lines;
  std::sort(m_lines.begin(), m_lines.end(),
            [](const TLineRecord& a, const TLineRecord& b) { return a.tokenOffset < b.tokenOffset; });
  m_statementStarts.clear();
  for (const TLineRecord& r : m_lines) m_statementStarts.push_back(static_cast<uint16_t>(r.tokenOffset + 4));

  m_codeStart = program.codeStart;
  m_asmLineAt.assign(program.machineCode.size(), -1);
  for (const hc05::TAsmLineMapEntry& entry : program.asmLineMap)
    if (entry.position < m_asmLineAt.size()) m_asmLineAt[entry.position] = entry.line;
  SetAssemblerBreakpoints(program.asmBreakpoints);

  m_depth = 0;
  m_stepOverDepth = 0;
  m_lastStopAddress.reset();
  m_lastToken = 0;
  m_tokens = 0;
  m_resumeAtStop = false;
  m_stoppedOnGosub = false;
  m_hw.serialOutput.Clear();
  return true;
}

void TTesselLoop::SetAssemblerBreakpoints(std::vector<uint16_t> positions) {
  m_asmBreakAt.assign(m_asmLineAt.size(), false);
  for (const uint16_t p : positions)
    if (p < m_asmBreakAt.size()) m_asmBreakAt[p] = true;
}

void TTesselLoop::SetRunKind(uint8_t kind) {
  // Stopped on a GOSUB, the call is counted but has not run: stepping over it keeps the
  // caller's depth.
  if (kind == runkind::StepOver)
    m_stepOverDepth = static_cast<uint8_t>(m_depth - (m_resumeAtStop && m_stoppedOnGosub && m_depth > 0 ? 1 : 0));
  // Going on after an error state runs the instruction again; the owner has had the chance
  // to remove the cause.
  m_engine->ClearErrorState();
  m_kind = kind;
}

void TTesselLoop::Pause() {
  if (m_kind == runkind::None) return;
  if (m_kind != runkind::Paused) m_resumeAtStop = false;
  m_kind = runkind::Paused;
  TTesselStop stop;
  stop.reason = TTesselStopReason::Paused;
  stop.tokenAddress = m_lastToken;
  stop.statement = StatementOf(m_lastToken);
  stop.assemblerLine = AssemblerLineAt(m_engine->Cpu().pc);
  stop.registerLine = RegisterLine(true);
  m_listener.OnStop(stop);
}

TTesselTickResult TTesselLoop::Tick(int intervalMs) {
  TTesselTickResult result;
  if (m_kind == runkind::None || m_kind == runkind::Paused) {
    result.end = TTesselTickEnd::NotRunning;
    return result;
  }
  hc05::TMotorolaEngine& e = *m_engine;
  hc05::TEngineEnvironment& env = e.Environment();
  ApplyInputs();

  const uint32_t clock = m_hw.clockKHz.load(std::memory_order_relaxed);
  const TSerialRates rates = SerialRatesFromBaudRegister(e.Memory()[hc05::reg::kSciBaud], clock);
  m_hw.transmitBaud.store(rates.transmit, std::memory_order_relaxed);
  m_hw.receiveBaud.store(rates.receive, std::memory_order_relaxed);
  hc05::TSerialBudget budget{SerialBytesPerTick(rates.receive, intervalMs),
                             SerialBytesPerTick(rates.transmit, intervalMs)};
  m_hw.serialInput.TakeInto(env.receiveText);

  const uint64_t tokensBefore = m_tokens;
  const uint64_t interval = static_cast<uint64_t>(std::max(intervalMs, 0));
  uint64_t cycles = 0;
  for (;;) {
    env.clockKHz = (e.Memory()[hc05::reg::kMisc] & kMiscSlowClock) ? clock / 16 : clock;
    if (2 * cycles >= uint64_t{env.clockKHz} / 2 * interval) break;
    // An interrupt is entered first, so that a stop sees the handler's first instruction;
    // going on from a stop, that was done before it.
    if (!m_resumeAtStop) e.EnterInterrupts();
    const uint16_t pc = e.Cpu().pc;
    if (!m_resumeAtStop) {
      if (pc == kTesselTokenFetchPoint && m_tokenLimit && m_tokens >= *m_tokenLimit) {
        result.end = TTesselTickEnd::TokenLimit;
        break;
      }
      if (m_points.error && pc == *m_points.error) {
        TTesselStop stop;
        stop.reason = TTesselStopReason::RuntimeError;
        stop.tokenAddress = m_lastToken;
        stop.statement = StatementOf(m_lastToken);
        stop.message = TesselRuntimeErrorText(m_points.errorNumber ? e.Memory()[*m_points.errorNumber] : e.Cpu().a);
        stop.registerLine = RegisterLine(true);
        ReportStop(std::move(stop));
        m_resumeAtStop = true;
        m_stoppedOnGosub = false;
        result.end = TTesselTickEnd::Stopped;
        break;
      }
      if (AssemblerCheck(pc) == TStepCheck::Stop || (pc == kTesselTokenFetchPoint && BasicCheck() == TStepCheck::Stop)) {
        result.end = TTesselTickEnd::Stopped;
        break;
      }
    }
    m_resumeAtStop = false;
    cycles += static_cast<uint64_t>(e.StepAndServices(budget));
    ++result.steps;
    if (e.ErrorState() != hc05::kEngineOk) {
      TTesselStop stop;
      stop.reason = TTesselStopReason::EngineError;
      stop.tokenAddress = m_lastToken;
      stop.statement = StatementOf(m_lastToken);
      stop.assemblerLine = AssemblerLineAt(e.Cpu().previousPc);
      stop.message = std::string(hc05::EngineErrorMessage(e.ErrorState()));
      stop.registerLine = RegisterLine(false);
      ReportStop(std::move(stop));
      result.end = TTesselTickEnd::Stopped;
      break;
    }
    if (m_kind == runkind::SingleStep && InUserCode(e.Cpu().previousPc)) {
      TTesselStop stop;
      stop.reason = TTesselStopReason::AssemblerStep;
      stop.tokenAddress = m_lastToken;
      stop.statement = StatementOf(m_lastToken);
      stop.assemblerLine = AssemblerLineAt(e.Cpu().pc);
      stop.registerLine = RegisterLine(true);
      ReportStop(std::move(stop));
      m_resumeAtStop = false;  // the next instruction has not been looked at yet
      result.end = TTesselTickEnd::Stopped;
      break;
    }
    const uint16_t next = e.Cpu().pc;
    // A branch to itself with interrupts masked: nothing can ever move the program again.
    const bool halted = next == e.Cpu().previousPc && e.Cpu().i;
    if (halted || (m_points.end && next == *m_points.end)) {
      result.end = TTesselTickEnd::Ended;
      break;
    }
    if (m_points.inputWait && next == *m_points.inputWait && env.receiveText.empty() && m_hw.serialInput.Empty() &&
        !(e.Memory()[hc05::reg::kSciStatus] & hc05::reg::kSciRdrf)) {
      result.end = TTesselTickEnd::WaitingForInput;
      break;
    }
  }
  result.cycles = cycles;
  result.tokens = m_tokens - tokensBefore;
  TakeSerialOutput();
  WriteOutputs();
  return result;
}

// The record's input bytes 1 and 2 are the external inputs of ports B and C; the bits of
// byte 3 are the analog port read digitally, so a set bit makes its AD input read 255.
void TTesselLoop::ApplyInputs() {
  hc05::TEngineEnvironment& env = m_engine->Environment();
  env.portInputs[0] = static_cast<uint8_t>((m_hw.inputPorts[0].load(std::memory_order_relaxed) & ~3) |
                                           (env.portInputs[0] & 3));  // bits 0-1 are the bus
  env.portInputs[1] = m_hw.inputPorts[1].load(std::memory_order_relaxed);
  env.portInputs[2] = m_hw.inputPorts[2].load(std::memory_order_relaxed);
  const uint8_t digital = m_hw.inputPorts[3].load(std::memory_order_relaxed);
  for (size_t i = 0; i < env.analogInputs.size(); ++i)
    env.analogInputs[i] = (digital >> i & 1) ? 255 : m_hw.adInputs[i].load(std::memory_order_relaxed);
  // The pin is active low: a pressed interrupt button pulls it down.
  env.interruptPin = m_hw.interruptLine.load(std::memory_order_relaxed) == 0;
}

void TTesselLoop::WriteOutputs() {
  const hc05::TMotorolaEngine& e = *m_engine;
  for (uint16_t port = 0; port < 4; ++port) m_hw.outputPorts[port].store(e.Peek(port), std::memory_order_relaxed);
  for (size_t i = 0; i < 2; ++i) m_hw.daOutputs[i].store(e.Environment().plmOutputs[i], std::memory_order_relaxed);
}

void TTesselLoop::TakeSerialOutput() {
  std::string& sent = m_engine->Environment().transmitText;
  if (!sent.empty()) {
    m_hw.serialOutput.Append(sent);
    sent.clear();
  }
  if (m_hw.serialOutput.Empty()) return;
  std::string bytes;
  m_hw.serialOutput.TakeInto(bytes);
  m_listener.OnSerialOutput(bytes, ConsoleText(bytes));
}

TTesselLoop::TStepCheck TTesselLoop::AssemblerCheck(uint16_t pc) {
  if (m_kind != runkind::ToBreakpoint || pc < m_codeStart) return TStepCheck::Go;
  const uint32_t position = pc - m_codeStart;
  if (position >= m_asmBreakAt.size() || !m_asmBreakAt[position] || m_asmLineAt[position] < 0) return TStepCheck::Go;
  TTesselStop stop;
  stop.reason = TTesselStopReason::AssemblerBreakpoint;
  m_stoppedOnGosub = false;
  stop.tokenAddress = m_lastToken;
  stop.statement = StatementOf(m_lastToken);
  stop.assemblerLine = m_asmLineAt[position];
  stop.registerLine = RegisterLine(true);
  ReportStop(std::move(stop));
  m_resumeAtStop = true;
  return TStepCheck::Stop;
}

TTesselLoop::TStepCheck TTesselLoop::BasicCheck() {
  const hc05::TSerialEeprom& eeprom = m_engine->Eeprom();
  const uint16_t next = eeprom.WordAddress();
  const auto address = static_cast<uint16_t>(next - 1);
  const uint8_t token = eeprom.At(address);
  ++m_tokens;
  m_lastToken = address;
  if (token == kTokenGosub) ++m_depth;
  else if (token == kTokenReturn && m_depth > 0) --m_depth;

  const TLineRecord* statement = StatementStartingAt(address);
  if (!statement) return TStepCheck::Go;
  const bool fresh = m_lastStopAddress != address;
  TTesselStopReason reason = TTesselStopReason::Statement;
  bool stop = false;
  switch (m_kind) {
    case runkind::SingleStep: stop = fresh; break;
    case runkind::ToBreakpoint:
      stop = m_basicBreakpoints.count({statement->origin, statement->sourceLine}) > 0;
      reason = TTesselStopReason::BasicBreakpoint;
      break;
    case runkind::StepOver: {
      const uint8_t following = eeprom.At(next);
      stop = token != kTokenMachineCall && token != kTokenReturn && m_depth <= m_stepOverDepth && fresh &&
             following != kTokenMachineCall && following != kTokenGosub;
      break;
    }
    default: break;
  }
  if (!stop) return TStepCheck::Go;
  TTesselStop report;
  report.reason = reason;
  report.tokenAddress = address;
  report.statement = *statement;
  report.registerLine = RegisterLine(true);
  m_lastStopAddress = address;
  m_stoppedOnGosub = token == kTokenGosub;
  ReportStop(std::move(report));
  m_resumeAtStop = true;
  return TStepCheck::Stop;
}

void TTesselLoop::ReportStop(TTesselStop stop) {
  m_kind = runkind::Paused;
  m_listener.OnStop(stop);
}

const TLineRecord* TTesselLoop::StatementStartingAt(uint16_t tokenAddress) const {
  const auto it = std::lower_bound(m_statementStarts.begin(), m_statementStarts.end(), tokenAddress);
  if (it == m_statementStarts.end() || *it != tokenAddress) return nullptr;
  return &m_lines[static_cast<size_t>(it - m_statementStarts.begin())];
}

std::optional<TLineRecord> TTesselLoop::StatementOf(uint16_t tokenAddress) const {
  const auto it = std::upper_bound(m_statementStarts.begin(), m_statementStarts.end(), tokenAddress);
  if (it == m_statementStarts.begin()) return std::nullopt;
  return m_lines[static_cast<size_t>(it - m_statementStarts.begin()) - 1];
}

std::optional<int32_t> TTesselLoop::AssemblerLineAt(uint16_t pc) const {
  if (pc < m_codeStart) return std::nullopt;
  const uint32_t position = pc - m_codeStart;
  if (position >= m_asmLineAt.size() || m_asmLineAt[position] < 0) return std::nullopt;
  return m_asmLineAt[position];
}

std::string TTesselLoop::RegisterLine(bool withBasicPc) const {
  std::string line = hc05::RegisterLine(m_engine->Cpu());
  if (withBasicPc) line += hc05::BasicPcSuffix(m_engine->Eeprom().WordAddress());
  return line;
}

}  // namespace zarvek
