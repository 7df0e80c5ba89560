#include "runtime/interpreter.h"

#include <algorithm>

#include "runtime/calendar.h"
#include "runtime/runtime_errors.h"
#include "base/tokens.h"

namespace zarvek {

namespace {

// The clock of a new machine starts at 1 January 2005 00:00:00.
int64_t ClockStart() { return *BuildDateTime({2005, 1, 1, 0, 0, 0, 0}); }

// Tokens a thread-driven machine runs before it checks in with its thread.
constexpr uint64_t kThreadSliceTokens = 1u << 16;

}  // namespace

TInterpreter::TInterpreter(TMachineConfig config)
    : m_time(config.time ? std::move(config.time) : std::make_shared<TRealTimeSource>()),
      m_random(config.random ? std::move(config.random) : std::make_shared<TRandomGenerator>()),
      m_ownThread(config.ownThread),
      m_program(std::max<uint32_t>(config.programMemorySize, 1), 0),
      m_space0(kSpace0Size, 0),
      m_space1(config.space1Size, 0),
      m_space4(config.space4Size, 0),
      m_statementAt(m_program.size(), -1),
      m_thread([this] { Execute(); }) {
  Reset();
}

TInterpreter::~TInterpreter() { Shutdown(); }

// The state part of a reset. The hooks cannot be called while the subclass is still
// being built, so their part runs on the machine's thread before its first token.
void TInterpreter::Reset() {
  JumpTo(4);
  m_instrStart = 0;
  m_filePosition = 0;
  m_fileMode = 2;
  {
    std::lock_guard lock(m_memoryLock);
    m_frame = 0;
  }
  m_exceptionHandler = 0;
  m_criticalHandler = 0;
  m_errorFlag = false;
  for (TInterrupt& irq : m_interrupts) {
    irq.handler = 0;
    irq.enabled = false;
    irq.pending = false;
    irq.inService = false;
    irq.savedPc = 0;
  }
  m_clockOffsetMillis = ClockStart();
  m_clockBaseMicros = m_time->NowMicros();
  m_callDepth = 0;
  m_stackCount = 0;
  m_baud = 19200;
  m_rxCount = 0;
  m_latch.fill(0);
  m_driven.fill(false);
  m_resetHooksPending = true;
}

void TInterpreter::ApplyResetToHardware() {
  m_resetHooksPending = false;
  SetBaud(m_baud);
  for (int port = 0; port < 4; ++port) {
    WritePort(port, 0);
    DeactPort(port);
  }
  WriteDA(0, 0);
  WriteDA(1, 0);
}

// ---------------------------------------------------------------------------------------
// Run control

void TInterpreter::LoadProgram(std::string_view image, uint32_t length1, uint32_t length2) {
  std::lock_guard lock(m_memoryLock);
  for (size_t k = 0; k < image.size(); ++k) ProgramByte(4 + k) = static_cast<uint8_t>(image[k]);
  ProgramByte(0) = static_cast<uint8_t>(image.size() >> 8);
  ProgramByte(1) = static_cast<uint8_t>(image.size());
  ProgramByte(2) = 0;
  ProgramByte(3) = 0;
  m_length1 = length1;
  m_length2 = length2;
}

void TInterpreter::SetLineTable(std::vector<TLineRecord> records) {
  std::lock_guard lock(m_lineLock);
  m_lines = std::move(records);
  RebuildStatementIndex();
}

void TInterpreter::SetBreakpoint(uint32_t sourceLine) {
  std::lock_guard lock(m_lineLock);
  for (TLineRecord& r : m_lines)
    if (r.sourceLine == sourceLine) {
      r.breakpoint = 1;
      return;
    }
}

void TInterpreter::ClearBreakpoint(uint32_t sourceLine) {
  std::lock_guard lock(m_lineLock);
  for (TLineRecord& r : m_lines)
    if (r.sourceLine == sourceLine) {
      r.breakpoint = 0;
      return;
    }
}

void TInterpreter::SetRunMode(uint8_t mode) {
  {
    std::lock_guard lock(m_runModeLock);
    m_runMode.store(mode, std::memory_order_release);
  }
  if (mode == runmode::StepOver) {
    std::lock_guard lock(m_memoryLock);
    m_stepOverThreshold = static_cast<uint8_t>(m_callDepth - 1);
  }
  if (mode != runmode::Pause) Resume();
}

int TInterpreter::SearchLine(uint32_t address, int* lastProbed) const {
  int lo = 0;
  int hi = static_cast<int>(m_lines.size()) - 1;
  int last = -1;
  do {
    const int mid = (lo + hi) / 2;
    last = mid;
    const uint64_t recordAddress = uint64_t{m_lines[mid].tokenOffset} + 4;
    if (recordAddress == address) {
      if (lastProbed) *lastProbed = mid;
      return mid;
    }
    if (recordAddress > address) {
      lo = 0;
      hi = mid - 1;
    } else {
      lo = mid + 1;
    }
  } while (hi >= lo);
  if (lastProbed) *lastProbed = last;
  return -1;
}

// The breakpoint check runs before nearly every token, so the search result for every
// statement address is worked out once, here, instead of searching at run time.
void TInterpreter::RebuildStatementIndex() {
  std::fill(m_statementAt.begin(), m_statementAt.end(), -1);
  if (m_lines.empty()) return;
  for (const TLineRecord& r : m_lines) {
    const uint64_t address = uint64_t{r.tokenOffset} + 4;
    if (address >= m_statementAt.size() || m_statementAt[address] >= 0) continue;
    m_statementAt[address] = SearchLine(static_cast<uint32_t>(address), nullptr);
  }
}

TLinePosition TInterpreter::LookupLine(uint32_t tokenAddress) {
  std::lock_guard lock(m_lineLock);
  if (m_lines.empty()) return {};
  int last = 0;
  SearchLine(tokenAddress, &last);
  return {m_lines[last].sourcePosition, m_lines[last].origin};
}

TDebugState TInterpreter::GetDebugState() {
  TDebugState state;
  bool errorFlag = false;
  {
    std::lock_guard lock(m_memoryLock);
    for (int k = 0; k < kCallStackSize; ++k)
      state.callStack[k] = m_calls[(m_callTop + k) % kCallStackSize];
    state.callDepth = m_callDepth;
    state.programCounter = m_pc;
    state.instructionStart = m_instrStart;
    errorFlag = m_errorFlag;
  }
  // The line-table lock is taken only after the memory lock is released: the machine
  // takes them in the other order.
  std::lock_guard lock(m_lineLock);
  if (m_lines.empty()) {
    state.programCounter = 4;
    state.instructionStart = 4;
    state.callDepth = 0;
    return state;
  }
  const int32_t address = errorFlag ? state.instructionStart : state.programCounter;
  int last = 0;
  SearchLine(static_cast<uint32_t>(address), &last);
  state.line = m_lines[last];
  return state;
}

std::string TInterpreter::ReadMemory(uint8_t space, uint32_t start, uint32_t count) {
  std::lock_guard lock(m_memoryLock);
  const TSpace s = Space(space);
  if (s.size == 0) return {};
  uint64_t first = start;
  if (space == 3) first += 4 + uint64_t{m_length1} + m_length2;
  std::string text(count, '\0');
  for (uint32_t k = 0; k < count; ++k) text[k] = static_cast<char>(s.data[(first + k) % s.size]);
  return text;
}

std::string TInterpreter::ReadFrame(uint8_t frame, uint32_t start, uint32_t count) {
  std::lock_guard lock(m_memoryLock);
  const size_t base = size_t{frame} * kFrameSize;
  if (base + kFrameSize > m_local.size()) return {};
  std::string text(count, '\0');
  for (uint32_t k = 0; k < count; ++k)
    text[k] = static_cast<char>(m_local[base + (uint64_t{start} + k) % kFrameSize]);
  return text;
}

void TInterpreter::RaiseInterrupt() {
  TInterrupt& irq = m_interrupts[0];
  if (!irq.enabled.load(std::memory_order_acquire) || irq.inService.load(std::memory_order_acquire))
    return;
  irq.inService.store(true, std::memory_order_release);
  irq.pending.store(true, std::memory_order_release);
}

// ---------------------------------------------------------------------------------------
// Thread

void TInterpreter::Resume() {
  if (m_ownThread) m_thread.Resume();
}

void TInterpreter::Terminate() { m_thread.Terminate(); }

void TInterpreter::Shutdown() {
  m_thread.Terminate();
  m_thread.WaitFor();
}

void TInterpreter::Execute() {
  while (!m_thread.TerminateRequested()) {
    switch (RunSlice(kThreadSliceTokens).end) {
      case TSliceEnd::Ended:
        m_thread.SuspendSelf();
        break;
      case TSliceEnd::Paused:
        m_thread.SuspendSelfIf([this] { return RunMode() == runmode::Pause; });
        break;
      case TSliceEnd::WaitingForInput:
        // The waiting token re-runs every step; a short real-time rest between those
        // steps keeps a program that waits for input from burning a processor core.
        m_thread.StopSignal().WaitFor(1000);
        break;
      default:
        break;
    }
  }
  OutputText("Terminated.");
}

void TInterpreter::TakeLocks() {
  m_lineLock.LockQuietly();
  m_memoryLock.LockQuietly();
}

void TInterpreter::ReleaseLocks() {
  m_memoryLock.unlock();
  m_lineLock.unlock();
}

void TInterpreter::YieldLocks() {
  ReleaseLocks();
  m_memoryLock.WaitWhileWanted();
  m_lineLock.WaitWhileWanted();
  TakeLocks();
}

void TInterpreter::Sleep(int64_t micros) {
  m_slept = true;
  ReleaseLocks();
  m_time->SleepMicros(micros, m_thread.StopSignal());
  TakeLocks();
}

TSliceResult TInterpreter::RunSlice(uint64_t maxTokens) {
  TSliceResult result;
  TakeLocks();
  if (m_resetHooksPending) ApplyResetToHardware();
  while (result.tokens < maxTokens) {
    if (m_thread.TerminateRequested()) {
      result.end = TSliceEnd::Terminated;
      break;
    }
    if (m_memoryLock.Wanted() || m_lineLock.Wanted()) YieldLocks();
    Step();
    ++result.tokens;
    if (m_ended) {
      m_ended = false;
      result.end = TSliceEnd::Ended;
      break;
    }
    if (m_runMode.load(std::memory_order_acquire) == runmode::Pause) {
      result.end = TSliceEnd::Paused;
      break;
    }
    if (m_waiting && !m_inputArrived) {
      result.end = TSliceEnd::WaitingForInput;
      break;
    }
    if (m_slept) {
      m_slept = false;
      result.end = TSliceEnd::Slept;
      break;
    }
  }
  ReleaseLocks();
  return result;
}

void TInterpreter::Step() {
  m_errorFlag = false;
  if (m_pc != m_instrStart) BreakpointCheck();
  m_instrStart = m_pc;
  m_waiting = false;
  Dispatch(Fetch());
  TakeIncoming();
  EnterPendingInterrupts();
}

void TInterpreter::BreakpointCheck() {
  if (m_lines.empty()) {
    RaiseError(err::NothingToRun);
    return;
  }
  const int index = m_statementAt[static_cast<uint32_t>(m_pc)];
  if (index < 0) return;
  // The run mode is read without its lock: one byte, written under the lock by
  // SetRunMode, and a stale value only delays the stop by one statement.
  bool stop = false;
  switch (m_runMode.load(std::memory_order_acquire)) {
    case runmode::SingleStep: stop = true; break;
    case runmode::ToBreakpoint: stop = m_lines[index].breakpoint != 0; break;
    case runmode::StepOver: stop = m_callDepth <= m_stepOverThreshold; break;
    default: break;
  }
  if (stop) RaiseError(err::Breakpoint);
}

void TInterpreter::TakeIncoming() {
  m_incoming.clear();
  TakeInput(m_incoming);
  m_inputArrived = !m_incoming.empty();
  for (char c : m_incoming) ReceiveChar(static_cast<uint8_t>(c));
}

void TInterpreter::EnterPendingInterrupts() {
  for (TInterrupt& irq : m_interrupts) {
    if (!irq.pending.load(std::memory_order_acquire)) continue;
    irq.savedPc = m_pc;
    JumpTo(irq.handler);
    irq.pending.store(false, std::memory_order_release);
  }
}

// ---------------------------------------------------------------------------------------
// Fetch, stacks, errors

uint8_t TInterpreter::Fetch() {
  const uint8_t byte = m_program[static_cast<uint32_t>(m_pc)];
  m_pc = (static_cast<uint32_t>(m_pc) + 1 == m_program.size()) ? 0 : m_pc + 1;
  return byte;
}

uint16_t TInterpreter::Fetch16() {
  const uint16_t high = Fetch();
  return static_cast<uint16_t>(high << 8 | Fetch());
}

void TInterpreter::Push(int32_t value) {
  m_stackTop = (m_stackTop + kStackCells - 1) % kStackCells;
  m_stack[m_stackTop] = value;
  if (m_stackCount < 255) ++m_stackCount;  // a byte; it must not wrap to "empty"
  if (m_stackCount > kStackCells) RaiseError(err::StackOverflow);
}

int32_t TInterpreter::Pop() {
  if (m_stackCount == 0) {
    RaiseError(err::StackUnderflow);
    return 0;
  }
  const int32_t value = m_stack[m_stackTop];
  m_stack[m_stackTop] = 0;  // the freed last cell reads 0
  m_stackTop = (m_stackTop + 1) % kStackCells;
  --m_stackCount;
  return value;
}

void TInterpreter::PushCall(uint32_t address) {
  m_callTop = (m_callTop + kCallStackSize - 1) % kCallStackSize;
  m_calls[m_callTop] = address;
  if (m_callDepth < 255) ++m_callDepth;
  if (m_callDepth > kCallStackSize) RaiseError(err::CallStackOverflow);
}

uint32_t TInterpreter::PopCall() {
  if (m_callDepth == 0) {
    RaiseError(err::ReturnImpossible);
    return static_cast<uint32_t>(m_pc);
  }
  const uint32_t address = m_calls[m_callTop];
  m_calls[m_callTop] = 65535;
  m_callTop = (m_callTop + 1) % kCallStackSize;
  --m_callDepth;
  return address;
}

void TInterpreter::RaiseError(int number) {
  m_errorFlag = true;
  const TRuntimeError error = DescribeRuntimeError(number);
  switch (error.errorClass) {
    case TErrorClass::Exception:
      if (m_exceptionHandler == 0) {
        ReportError(kUnhandledException + error.text, m_instrStart);
        return;
      }
      PushCall(static_cast<uint32_t>(m_pc));
      Push(m_instrStart);
      Push(number);
      JumpTo(m_exceptionHandler);
      return;
    case TErrorClass::Critical:
      if (m_criticalHandler == 0) {
        ReportError(kUnhandledCritical + error.text, m_instrStart);
        return;
      }
      m_callDepth = 0;
      m_stackCount = 0;
      PushCall(4);  // a RETURN from the handler restarts the program
      Push(m_instrStart);
      Push(number);
      JumpTo(m_criticalHandler);
      return;
    case TErrorClass::Report:
      ReportError(error.text, m_instrStart);
      if (number == err::Breakpoint) m_errorFlag = false;
      return;
  }
}

}  // namespace zarvek
