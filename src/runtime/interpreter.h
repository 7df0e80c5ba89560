// TInterpreter: the token machine. It owns the whole machine state and executes one
// token per step, in a thread of its own (the IDE) or on the caller's thread (the
// command-line tool, tests, benchmarks). Everything outside the machine is reached
// through sixteen hooks that subclasses implement.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/machine_lock.h"
#include "runtime/machine_thread.h"
#include "runtime/time_source.h"

namespace zarvek {

// Origin of a statement of the main source (other origins name a module).
inline constexpr uint32_t kMainSourceOrigin = 0xFFFFFFFF;

struct TLineRecord {
  uint32_t tokenOffset = 0;     // statement's first token, as an offset into the image
  uint32_t sourceLine = 0;      // editor line; breakpoints match on it
  uint32_t sourcePosition = 0;  // handed back to select the statement in the editor
  uint32_t origin = 0;          // kMainSourceOrigin or the module the statement comes from
  uint8_t breakpoint = 0;       // 1: stop here when running to breakpoints
};

struct TLinePosition {
  uint32_t sourcePosition = 0;
  uint32_t origin = 0;
};

struct TDebugState {
  TLineRecord line;                       // the statement of the current position
  std::array<uint32_t, 16> callStack{};  // return addresses, innermost first
  uint8_t callDepth = 0;
  int32_t programCounter = 0;
  int32_t instructionStart = 0;
};

// The run control's run modes; the numbers are those the machine keeps in its run-mode byte.
enum class TRunMode : uint8_t {
  Run = 0,           // no stops
  SingleStep = 1,    // stop before the next statement
  ToBreakpoint = 2,  // stop before a statement whose breakpoint flag is set
  StepOver = 3,      // stop before the next statement at the step-over threshold's depth
  Pause = 4,         // stop after the current token
};

// What the error dispatcher hands to ReportError.
struct TMachineReport {
  int number = 0;         // the runtime error number (253 for a breakpoint stop)
  std::string text;       // the message, with the "unhandled" prefix where one applies
  int32_t address = 0;    // instruction start of the token that raised it (for a
                          // breakpoint stop: of the token before the statement)
  int32_t programCounter = 0;  // when raised; for a breakpoint stop the statement's address
  TRunMode runMode = TRunMode::Run;  // the run mode the machine ran in when it was raised
};

// What the machine's own thread is doing, told to the subclass whenever it changes.
enum class TThreadActivity : uint8_t {
  Running,          // started, or continuing after a pause, END or waiting for input
  Paused,           // suspended after a token because the run mode is Pause
  WaitingForInput,  // GETCHAR or INPUTNUM waits for characters
  Ended,            // END: suspended until resumed, which starts the program again
  Terminated,       // the thread has ended
};

// The machine's random generator. One generator may be shared by successive machines
// so that a new run continues the sequence, as on the board.
class TRandomGenerator {
 public:
  void SetSeed(uint32_t seed) { m_seed.store(seed, std::memory_order_relaxed); }
  // Linear congruential: seed := seed * 134775813 + 1; result 0 .. 2147483646.
  int32_t Next() {
    const uint32_t seed = m_seed.load(std::memory_order_relaxed) * 134775813u + 1u;
    m_seed.store(seed, std::memory_order_relaxed);
    return static_cast<int32_t>((uint64_t{seed} * 2147483647u) >> 32);
  }

 private:
  std::atomic<uint32_t> m_seed{0};
};

struct TMachineConfig {
  uint32_t space1Size = 1024;          // internal EEPROM
  uint32_t programMemorySize = 32745;  // header, image and data file
  uint32_t space4Size = 0;
  std::shared_ptr<TTimeSource> time;             // real time when empty
  std::shared_ptr<TRandomGenerator> random;      // a fresh generator when empty
  bool ownThread = true;  // false: the owner drives the machine with RunSlice

  static TMachineConfig Pyxon32() { return {1024, 32745, 0, nullptr, nullptr, true}; }
  static TMachineConfig Pyxon128() { return {2048, 65535, 0, nullptr, nullptr, true}; }
};

enum class TSliceEnd : uint8_t {
  Budget,           // the token budget is used up
  Ended,            // END: the machine suspends itself
  Paused,           // run mode 4 after a token (a pause or a stop report)
  WaitingForInput,  // GETCHAR or INPUTNUM waits and no character arrived in that step
  Slept,            // the step slept (PAUSE, serial delay): time moved on
  Terminated,       // termination was requested
};

struct TSliceResult {
  uint64_t tokens = 0;
  TSliceEnd end = TSliceEnd::Budget;
};

class TInterpreter {
 public:
  static constexpr int kStackCells = 64;
  static constexpr int kCallStackSize = 16;
  static constexpr int kReceiveBufferSize = 32;
  static constexpr uint32_t kSpace0Size = 512;
  static constexpr uint32_t kLocalMemorySize = 1024;
  static constexpr int kFrameSize = 32;
  static constexpr int kMaxFrame = 16;

  explicit TInterpreter(TMachineConfig config);
  virtual ~TInterpreter();
  TInterpreter(const TInterpreter&) = delete;
  TInterpreter& operator=(const TInterpreter&) = delete;

  // --- Run control (any thread) ---
  void LoadProgram(std::string_view image, uint32_t codeLength, uint32_t tableLength);
  void SetLineTable(std::vector<TLineRecord> records);
  void SetBreakpoint(uint32_t sourceLine);
  void ClearBreakpoint(uint32_t sourceLine);
  // The same for the statements of one text: the main source or a module, whose lines
  // count from 1 in each.
  void SetBreakpoint(uint32_t sourceLine, uint32_t origin);
  void ClearBreakpoint(uint32_t sourceLine, uint32_t origin);
  // Sets the run mode and resumes the machine; Pause does not resume a machine
  // that has already suspended itself, so pausing never executes a token.
  void SetRunMode(TRunMode mode);
  TRunMode RunMode() const { return m_runMode.load(std::memory_order_acquire); }
  TLinePosition LookupLine(uint32_t tokenAddress);
  TDebugState GetDebugState();
  std::string ReadMemory(uint8_t space, uint32_t start, uint32_t count);
  std::string ReadFrame(uint8_t frame, uint32_t start, uint32_t count);
  void RaiseInterrupt();
  // Tells the machine that TakeInput has characters for it: they are taken after the
  // current token. Without this call TakeInput is still asked at the start of every slice,
  // after every token that waits for or consumes input, and at least every
  // kInputPollTokens tokens.
  void NotifyInput() { Attend(kAttendInput); }
  static constexpr uint64_t kInputPollTokens = 1024;

  // --- The machine's thread ---
  void Resume();
  void Terminate();
  // Terminates and waits for the thread to end. Safe from any thread and more than once;
  // on the machine's own thread (inside a hook or a listener call) it only asks the thread
  // to end, since a thread cannot wait for itself. Subclasses call it in their destructor,
  // before their hooks go away; the machine must not be destroyed on its own thread.
  void Shutdown();
  void WaitUntilIdle() { m_thread.WaitUntilIdle(); }
  bool Suspended() const { return m_thread.Suspended(); }
  bool Finished() const { return m_thread.Finished(); }
  // Tokens the machine's own thread has run (counted per slice, for speed figures).
  uint64_t TokensRun() const { return m_tokensRun.load(std::memory_order_relaxed); }

  // --- Driving the machine on the caller's thread (ownThread = false) ---
  TSliceResult RunSlice(uint64_t maxTokens);

  uint32_t ProgramMemorySize() const { return static_cast<uint32_t>(m_program.size()); }


 protected:
  // The thread body: runs slices until termination, suspending at END and pauses.
  virtual void Execute();

  // The hooks, all called on the machine's thread.
  virtual void DeactPin(int pin) = 0;
  virtual void DeactPort(int port) = 0;
  virtual void WritePin(int pin, int32_t value) = 0;
  virtual void WritePort(int port, int32_t value) = 0;
  virtual void WriteWordPort(int wordPort, int32_t value) = 0;
  virtual void WriteDA(int channel, int32_t value) = 0;
  virtual void Beep(int32_t value) = 0;
  virtual void SetBaud(int32_t baud) = 0;
  virtual int32_t ReadPin(int pin) = 0;           // -1 when high, else 0
  virtual int32_t ReadPort(int port) = 0;         // byte value
  virtual int32_t ReadWordPort(int wordPort) = 0;  // high byte from port 2w
  virtual int32_t ReadAD(int channel) = 0;        // 10-bit reading
  virtual int32_t ReadFreq(int counter) = 0;
  virtual void ReportError(const TMachineReport& report) = 0;
  virtual void OutputText(const std::string& text) = 0;
  // Appends the characters received since the last call and clears their source. Asked
  // after a token when input may matter (see NotifyInput), not after every token.
  virtual void TakeInput(std::string& received) = 0;

  // Not hooks of the token code: called on the thread that runs the machine while it
  // holds none of its locks, so that they may call back into the machine (read memory,
  // the debug state, pause, stop). Deliver comes at the end of every slice, before every
  // sleep and after every activity change; ActivityChanged only on the machine's own
  // thread.
  virtual void Deliver() {}
  virtual void ActivityChanged(TThreadActivity) {}

  // Ends the current slice after the current token (for example when buffered output
  // should be delivered); machine thread.
  void EndSliceSoon() { Attend(kAttendEndSlice); }

  // Number of characters in the receive buffer (machine thread).
  int32_t ReceiveCount() const { return m_rxCount; }
  // True while the last step's GETCHAR or INPUTNUM waited (machine thread).
  bool WaitingForInput() const { return m_waiting; }

 private:
  struct TSpace {
    uint8_t* data = nullptr;
    uint32_t size = 0;  // 0: no storage
  };
  // Reasons to leave the token loop's fast path, one bit each in the attention word.
  static constexpr uint32_t kAttendInput = 1u << 0;      // ask TakeInput after the token
  static constexpr uint32_t kAttendInterrupt = 1u << 1;  // an interrupt is pending
  static constexpr uint32_t kAttendRunMode = 1u << 2;    // the run mode changed
  static constexpr uint32_t kAttendLocks = 1u << 3;      // another thread wants a lock
  static constexpr uint32_t kAttendTerminate = 1u << 4;  // the thread is to end
  static constexpr uint32_t kAttendEnded = 1u << 5;      // END ran
  static constexpr uint32_t kAttendWaiting = 1u << 6;    // the token waits for input
  static constexpr uint32_t kAttendSlept = 1u << 7;      // the token slept
  static constexpr uint32_t kAttendEndSlice = 1u << 8;   // the subclass asked for a slice end
  void Attend(uint32_t reasons) { m_attention.fetch_or(reasons, std::memory_order_acq_rel); }

  // Bits of the watch table: what the breakpoint check may stop on at an address.
  static constexpr uint8_t kWatchStatement = 1;   // a statement starts here
  static constexpr uint8_t kWatchBreakpoint = 2;  // ... and its breakpoint flag is set
  static constexpr uint8_t kWatchEverything = 4;  // the line table is empty: check everywhere

  struct TInterrupt {
    uint16_t handler = 0;
    std::atomic<bool> enabled{false};
    std::atomic<bool> pending{false};
    std::atomic<bool> inService{false};
    int32_t savedPc = 0;
  };

  void Reset();
  void ApplyResetToHardware();
  void TellActivity(TThreadActivity activity);
  void AfterThreadSlice(TSliceEnd end, bool& waiting);
  void TakeLocks();
  void ReleaseLocks();
  void YieldLocks();
  void Sleep(int64_t micros);

  // One token: the breakpoint check when the watch table asks for it, then the token.
  // What else happens after a token (input, interrupts, the ends of a slice) waits for
  // the attention word, so that a token without any of it costs nothing more.
  void Step();
  // Handles the attention word after a token; how the slice ends, or nothing when it
  // goes on.
  std::optional<TSliceEnd> AttendAfterToken();
  void BreakpointCheck();
  void Dispatch(uint8_t token);
  void TakeIncoming();
  void EnterPendingInterrupts();
  static uint8_t WatchMask(TRunMode mode);
  void RefreshWatch(uint32_t address);
  void MarkBreakpoint(uint32_t sourceLine, std::optional<uint32_t> origin, uint8_t flag);

  // Program counter values always index program memory: addresses beyond it wrap.
  void JumpTo(uint64_t address) {
    m_pc = static_cast<int32_t>(address < m_program.size() ? address : address % m_program.size());
  }
  uint8_t Fetch();
  uint16_t Fetch16();
  void Push(int32_t value);
  int32_t Pop();
  void PushCall(uint32_t address);
  uint32_t PopCall();
  void RaiseError(int number);

  TSpace Space(uint8_t space);
  void PushFromSpace(uint8_t space, uint8_t width, uint32_t address);
  void WriteSpace(uint8_t space, uint8_t width, uint32_t address, int32_t value);
  int32_t ReadLocal(uint8_t width, uint8_t operand) const;
  void WriteLocal(uint8_t width, uint8_t operand, int32_t value);
  uint8_t& ProgramByte(uint64_t offset) { return m_program[offset % m_program.size()]; }

  void DriveLatch(int port, uint8_t value);
  void ReleasePort(int port);
  void SetPinLatch(int pin, bool high);
  bool PinLatch(int pin) const;

  // Services behind SYSREAD, SYSWRITE, the serial line, the data file and SETBAUD.
  int64_t ClockNowMillis();
  void PushSystemVariable(uint8_t number);
  void WriteSystemVariable(uint8_t number, int32_t value);
  void SendText(const std::string& text);
  void PrintString();
  void GetChar();
  void InputNumber();
  void WaitForInput();
  void ConsumeReceived(int count);
  void ReceiveChar(uint8_t c);
  void FileOperation(uint8_t function);
  void FileOpen(uint8_t function);
  void FileClose();
  void FileWriteWord();
  void FileReadWord();
  uint64_t FileWordOffset() const;
  void AdvanceFilePosition();
  uint32_t FileImageLength() const;
  int32_t FileCapacity() const;
  uint16_t FileSize() const;
  void SetBaudCode(uint8_t code);
  void SetHandler(uint8_t kind, uint16_t address);

  // Line table search exactly as the run control's binary search goes; -1 when nothing
  // matched exactly, the last record probed in lastProbed.
  int SearchLine(uint32_t address, int* lastProbed) const;
  void RebuildStatementIndex();

  // Configuration and platform.
  std::shared_ptr<TTimeSource> m_time;
  std::shared_ptr<TRandomGenerator> m_random;
  const bool m_ownThread;

  // Memories (memory lock).
  std::vector<uint8_t> m_program;
  std::vector<uint8_t> m_space0, m_space1, m_space4;
  std::array<uint8_t, kLocalMemorySize> m_local{};
  uint8_t m_frame = 0;
  uint32_t m_codeLength = 0, m_tableLength = 0;

  // Registers (the machine holds the memory lock while it changes them, so other threads
  // read them under that lock).
  int32_t m_pc = 4;
  int32_t m_instrStart = 0;
  bool m_errorFlag = false;
  bool m_ended = false;
  bool m_waiting = false;
  bool m_inputArrived = false;
  bool m_slept = false;
  std::array<int32_t, kStackCells> m_stack{};  // ring; m_stackTop is cell 0
  unsigned m_stackTop = 0;
  uint8_t m_stackCount = 0;
  std::array<uint32_t, kCallStackSize> m_calls{};  // ring; m_callTop is position 0
  unsigned m_callTop = 0;
  uint8_t m_callDepth = 0;
  uint8_t m_stepOverThreshold = 0;
  std::array<uint8_t, 4> m_latch{};
  std::array<bool, 32> m_driven{};
  std::array<uint8_t, kReceiveBufferSize> m_rx{};  // ring, oldest at m_rxHead
  int m_rxHead = 0;
  int32_t m_rxCount = 0;
  std::string m_incoming;
  TInterrupt m_interrupts[2];
  uint16_t m_exceptionHandler = 0;
  uint16_t m_criticalHandler = 0;
  int64_t m_clockOffsetMillis = 0;  // the date-time the clock was last set to
  int64_t m_clockBaseMicros = 0;    // the time source's "now" at that moment
  int32_t m_baud = 19200;
  int32_t m_filePosition = 0;
  uint8_t m_fileMode = 2;
  bool m_resetHooksPending = true;

  // Line table (line-table lock); for each program counter value, the record the
  // breakpoint check's search ends on (-1: no statement starts there), and the watch
  // table that says whether the check has anything to do there.
  std::vector<TLineRecord> m_lines;
  std::vector<int32_t> m_statementAt;
  std::vector<uint8_t> m_watch;
  uint8_t m_watchMask = kWatchEverything;  // machine thread: the bits the run mode stops on

  std::atomic<TRunMode> m_runMode{TRunMode::Run};
  std::atomic<uint32_t> m_attention{0};
  std::atomic<uint64_t> m_tokensRun{0};

  TMachineLock m_memoryLock;
  TMachineLock m_lineLock;
  TMachineLock m_runModeLock;
  TMachineThread m_thread;
};

}  // namespace zarvek
