#include "runtime/interpreter.h"

#include <algorithm>
#include <optional>

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
      m_watch(m_program.size(), kWatchEverything),
      m_thread([this] { Execute(); }) {
  m_memoryLock.SignalWantedTo(&m_attention, kAttendLocks);
  m_lineLock.SignalWantedTo(&m_attention, kAttendLocks);
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

void TInterpreter::LoadProgram(std::string_view image, uint32_t codeLength, uint32_t tableLength) {
  std::lock_guard lock(m_memoryLock);
  for (size_t k = 0; k < image.size(); ++k) ProgramByte(4 + k) = static_cast<uint8_t>(image[k]);
  ProgramByte(0) = static_cast<uint8_t>(image.size() >> 8);
  ProgramByte(1) = static_cast<uint8_t>(image.size());
  ProgramByte(2) = 0;
  ProgramByte(3) = 0;
  m_codeLength = codeLength;
  m_tableLength = tableLength;
}

void TInterpreter::SetLineTable(std::vector<TLineRecord> records) {
  std::lock_guard lock(m_lineLock);
  m_lines = std::move(records);
  RebuildStatementIndex();
}

void TInterpreter::SetBreakpoint(uint32_t sourceLine) { MarkBreakpoint(sourceLine, std::nullopt, 1); }
void TInterpreter::ClearBreakpoint(uint32_t sourceLine) { MarkBreakpoint(sourceLine, std::nullopt, 0); }
void TInterpreter::SetBreakpoint(uint32_t sourceLine, uint32_t origin) { MarkBreakpoint(sourceLine, origin, 1); }
void TInterpreter::ClearBreakpoint(uint32_t sourceLine, uint32_t origin) { MarkBreakpoint(sourceLine, origin, 0); }

void TInterpreter::MarkBreakpoint(uint32_t sourceLine, std::optional<uint32_t> origin, uint8_t flag) {
  std::lock_guard lock(m_lineLock);
  for (TLineRecord& r : m_lines)
    if (r.sourceLine == sourceLine && (!origin || r.origin == *origin)) {
      r.breakpoint = flag;
      RefreshWatch(r.tokenOffset);
      return;
    }
}

void TInterpreter::SetRunMode(TRunMode mode) {
  {
    std::lock_guard lock(m_runModeLock);
    m_runMode.store(mode, std::memory_order_release);
  }
  Attend(kAttendRunMode);
  if (mode == TRunMode::StepOver) {
    std::lock_guard lock(m_memoryLock);
    m_stepOverThreshold = static_cast<uint8_t>(m_callDepth - 1);
  }
  if (mode != TRunMode::Pause) Resume();
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
// statement address is worked out once, here, instead of searching at run time, and the
// watch table tells the token loop where the check can stop at all.
void TInterpreter::RebuildStatementIndex() {
  std::fill(m_statementAt.begin(), m_statementAt.end(), -1);
  if (m_lines.empty()) {
    std::fill(m_watch.begin(), m_watch.end(), kWatchEverything);
    return;
  }
  std::fill(m_watch.begin(), m_watch.end(), 0);
  for (const TLineRecord& r : m_lines) {
    const uint64_t address = uint64_t{r.tokenOffset} + 4;
    if (address >= m_statementAt.size() || m_statementAt[address] >= 0) continue;
    m_statementAt[address] = SearchLine(static_cast<uint32_t>(address), nullptr);
    RefreshWatch(r.tokenOffset);
  }
}

// The check consults the record its search ends on, so that record's flag counts.
void TInterpreter::RefreshWatch(uint32_t tokenOffset) {
  const uint64_t address = uint64_t{tokenOffset} + 4;
  if (address >= m_watch.size() || m_statementAt[address] < 0) return;
  const bool flagged = m_lines[static_cast<size_t>(m_statementAt[address])].breakpoint != 0;
  m_watch[address] = static_cast<uint8_t>(kWatchStatement | (flagged ? kWatchBreakpoint : 0));
}

uint8_t TInterpreter::WatchMask(TRunMode mode) {
  switch (mode) {
    case TRunMode::SingleStep:
    case TRunMode::StepOver: return kWatchStatement | kWatchEverything;
    case TRunMode::ToBreakpoint: return kWatchBreakpoint | kWatchEverything;
    default: return kWatchEverything;
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
  if (space == 3) first += 4 + uint64_t{m_codeLength} + m_tableLength;
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
  Attend(kAttendInterrupt);
}

// ---------------------------------------------------------------------------------------
// Thread

void TInterpreter::Resume() {
  if (m_ownThread) m_thread.Resume();
}

void TInterpreter::Terminate() {
  m_thread.Terminate();
  Attend(kAttendTerminate);
}

void TInterpreter::Shutdown() {
  Terminate();
  m_thread.WaitFor();
}

void TInterpreter::Execute() {
  TellActivity(TThreadActivity::Running);
  bool waiting = false;
  while (!m_thread.TerminateRequested()) {
    const TSliceResult slice = RunSlice(kThreadSliceTokens);
    m_tokensRun.fetch_add(slice.tokens, std::memory_order_relaxed);
    AfterThreadSlice(slice.end, waiting);
  }
  OutputText("Terminated.");
  TellActivity(TThreadActivity::Terminated);
}

void TInterpreter::TellActivity(TThreadActivity activity) {
  ActivityChanged(activity);
  Deliver();
}

// Suspends the thread where the slice end asks for it. Activity changes are told once
// each: a machine that waits for input re-runs its waiting token many times.
void TInterpreter::AfterThreadSlice(TSliceEnd end, bool& waiting) {
  if (end != TSliceEnd::WaitingForInput && waiting) {
    waiting = false;
    // A pause, END or stop tells its own activity instead.
    if (end == TSliceEnd::Budget || end == TSliceEnd::Slept) TellActivity(TThreadActivity::Running);
  }
  switch (end) {
    case TSliceEnd::Ended:
      TellActivity(TThreadActivity::Ended);
      if (m_thread.SuspendSelf()) TellActivity(TThreadActivity::Running);
      return;
    case TSliceEnd::Paused:
      TellActivity(TThreadActivity::Paused);
      m_thread.SuspendSelfIf([this] { return RunMode() == TRunMode::Pause; });
      if (!m_thread.TerminateRequested()) TellActivity(TThreadActivity::Running);
      return;
    case TSliceEnd::WaitingForInput:
      if (!waiting) {
        waiting = true;
        TellActivity(TThreadActivity::WaitingForInput);
      }
      // The waiting token re-runs every step; a short real-time rest between those
      // steps keeps a program that waits for input from burning a processor core.
      m_thread.StopSignal().WaitFor(1000);
      return;
    default: return;
  }
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
  Attend(kAttendSlept);
  ReleaseLocks();
  Deliver();  // what the program printed shows before it sleeps
  m_time->SleepMicros(micros, m_thread.StopSignal());
  TakeLocks();
}

TSliceResult TInterpreter::RunSlice(uint64_t maxTokens) {
  TakeLocks();
  if (m_resetHooksPending) ApplyResetToHardware();
  // What happened while the machine stood: characters may have arrived, and a pause that
  // is still set stops the slice after one token, as it would have after any other.
  m_watchMask = WatchMask(RunMode());
  Attend(kAttendInput | (RunMode() == TRunMode::Pause ? kAttendRunMode : 0));
  std::optional<TSliceEnd> end;
  if (m_thread.TerminateRequested()) end = TSliceEnd::Terminated;
  uint64_t tokens = 0;  // a local, so that it can stay in a register
  while (!end && tokens < maxTokens) {
    const uint64_t pollAt = std::min(maxTokens, tokens + kInputPollTokens);
    while (tokens < pollAt) {
      Step();
      ++tokens;
      if (m_attention.load(std::memory_order_relaxed) != 0 && (end = AttendAfterToken())) break;
    }
    // Input that arrives without notice is asked for between runs of tokens.
    if (!end) Attend(kAttendInput);
  }
  ReleaseLocks();
  Deliver();
  return {tokens, end.value_or(TSliceEnd::Budget)};
}

void TInterpreter::Step() {
  m_errorFlag = false;
  if (m_pc != m_instrStart && (m_watch[static_cast<uint32_t>(m_pc)] & m_watchMask) != 0) BreakpointCheck();
  m_instrStart = m_pc;
  m_waiting = false;
  Dispatch(Fetch());
}

// In the order the thread body gives: input, interrupts, then the reasons to end the
// slice; a wanted lock or a termination is handled as before the next token.
std::optional<TSliceEnd> TInterpreter::AttendAfterToken() {
  const uint32_t reasons = m_attention.exchange(0, std::memory_order_acq_rel);
  m_inputArrived = false;
  if (reasons & kAttendInput) TakeIncoming();
  if (reasons & kAttendInterrupt) EnterPendingInterrupts();
  if (reasons & kAttendRunMode) m_watchMask = WatchMask(RunMode());
  if (m_ended) {
    m_ended = false;
    return TSliceEnd::Ended;
  }
  if ((reasons & kAttendRunMode) && RunMode() == TRunMode::Pause) return TSliceEnd::Paused;
  if (m_waiting && !m_inputArrived) return TSliceEnd::WaitingForInput;
  if (m_slept) {
    m_slept = false;
    return TSliceEnd::Slept;
  }
  if (m_thread.TerminateRequested()) return TSliceEnd::Terminated;
  if (reasons & kAttendEndSlice) return TSliceEnd::Budget;
  if (m_memoryLock.Wanted() || m_lineLock.Wanted()) {
    YieldLocks();
    // A thread that came after the yield began waits for the next token boundary.
    if (m_memoryLock.Wanted() || m_lineLock.Wanted()) Attend(kAttendLocks);
  }
  return std::nullopt;
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
  switch (RunMode()) {
    case TRunMode::SingleStep: stop = true; break;
    case TRunMode::ToBreakpoint: stop = m_lines[index].breakpoint != 0; break;
    case TRunMode::StepOver: stop = m_callDepth <= m_stepOverThreshold; break;
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
  auto report = [&](const std::string& text) { ReportError({number, text, m_instrStart, m_pc, RunMode()}); };
  switch (error.errorClass) {
    case TErrorClass::Exception:
      if (m_exceptionHandler == 0) {
        report(kUnhandledException + error.text);
        return;
      }
      PushCall(static_cast<uint32_t>(m_pc));
      Push(m_instrStart);
      Push(number);
      JumpTo(m_exceptionHandler);
      return;
    case TErrorClass::Critical:
      if (m_criticalHandler == 0) {
        report(kUnhandledCritical + error.text);
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
      report(error.text);
      if (number == err::Breakpoint) m_errorFlag = false;
      return;
  }
}

}  // namespace zarvek
