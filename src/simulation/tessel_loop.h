// TTesselLoop: the simulation loop of the Tessel boards. The emulated controller runs the
// board's runtime, which reads the token program from the serial EEPROM; the loop drives it
// tick by tick from the simulated-hardware record, stops at BASIC statements (seen where the
// runtime fetches tokens) and at assembler lines, and reports serial output and stops to its
// owner. Everything happens on the caller's thread.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "base/sim_hardware.h"
#include "hc05/assembler.h"
#include "hc05/motorola_engine.h"
#include "runtime/interpreter.h"
#include "simulation/run_kind.h"

namespace zarvek {

// What one run loads: the compiled token program with its line table, the machine code of
// the assembler part with its line map and breakpoint positions.
struct TTesselProgram {
  std::string image;  // the compiled program image
  uint32_t eepromSize = 8192;
  std::vector<TLineRecord> lines;  // BuildLineTable's records
  std::string machineCode;
  uint32_t codeStart = hc05::kAsmDefaultStart;
  std::vector<hc05::TAsmLineMapEntry> asmLineMap;
  std::vector<uint16_t> asmBreakpoints;  // code positions
};

// Points of the runtime that a run without a window watches for (the runtime publishes
// them): where it rests after END, where it waits for a received byte with none buffered,
// and where it stops for an error that no handler caught, with the error number in the RAM
// cell errorNumber (in A without one).
struct TTesselRuntimePoints {
  std::optional<uint16_t> end;
  std::optional<uint16_t> inputWait;
  std::optional<uint16_t> error;
  std::optional<uint16_t> errorNumber;
  // The RAM cell counting the characters in the runtime's receive buffer, and its size:
  // prepared input is handed over only as the buffer has room.
  std::optional<uint16_t> receiveCount;
  uint8_t receiveBufferSize = 0;
};

enum class TTesselStopReason : uint8_t {
  Statement,            // single step or step over reached a statement
  BasicBreakpoint,
  AssemblerBreakpoint,
  AssemblerStep,        // one instruction of the user's machine code ran
  Paused,
  EngineError,          // the controller's error state
  RuntimeError,         // an error of the BASIC program that no handler caught
};

struct TTesselStop {
  TTesselStopReason reason = TTesselStopReason::Paused;
  std::optional<TLineRecord> statement;  // the statement stopped at, or the last one begun
  uint16_t tokenAddress = 0;             // EEPROM address of the statement or the last token
  std::optional<int32_t> assemblerLine;  // line index of the assembler text
  std::string message;                   // error text; empty for plain stops
  std::string registerLine;              // the CPU registers (with the BASIC PC when paused)
};

class TTesselListener {
 public:
  virtual ~TTesselListener() = default;
  // The serial bytes the program sent, raw, and as the console shows them.
  virtual void OnSerialOutput(const std::string& bytes, const std::string& consoleText) = 0;
  virtual void OnStop(const TTesselStop& stop) = 0;
};

enum class TTesselTickEnd : uint8_t {
  Budget,           // the tick's cycles are used up
  Stopped,          // a stop was reported; the run kind is paused
  Ended,            // the runtime rests after END
  WaitingForInput,  // the runtime waits for a byte and none is on its way
  TokenLimit,       // the next token fetch would pass the token limit
  NotRunning,       // run kind none or paused
};

struct TTesselTickResult {
  TTesselTickEnd end = TTesselTickEnd::Budget;
  uint64_t cycles = 0;
  uint64_t steps = 0;   // instructions
  uint64_t tokens = 0;  // token fetches in this tick
};

class TTesselLoop {
 public:
  static constexpr int kDefaultIntervalMs = 10;

  // Uses the given engine, or one of its own.
  TTesselLoop(TSimulatedHardware& hardware, TTesselListener& listener, hc05::TMotorolaEngine* engine = nullptr);

  // Loads the runtime image and the program, resets cold at 4000 kHz. False, with the
  // message, when the program does not fit the EEPROM or the machine code its memory.
  bool Start(const hc05::TRuntimeImage& runtime, const TTesselProgram& program, std::string* message = nullptr);
  void SetRuntimePoints(const TTesselRuntimePoints& points) { m_points = points; }
  // Ticks end before the token fetch that would pass this many tokens in all.
  void SetTokenLimit(std::optional<uint64_t> limit) { m_tokenLimit = limit; }

  // A run command: run, single step, step over or run to breakpoint (a step over keeps the
  // current call depth as its limit).
  void SetRunKind(uint8_t kind);
  uint8_t RunKind() const { return m_kind; }
  // Pauses and reports where (registers with the BASIC PC).
  void Pause();
  void Stop() { m_kind = runkind::None; }

  // A BASIC breakpoint on an editor line of the main source or of a module (origin).
  void SetBasicBreakpoint(uint32_t editorLine, uint32_t origin = kMainSourceOrigin) {
    m_basicBreakpoints.insert({origin, editorLine});
  }
  void ClearBasicBreakpoint(uint32_t editorLine, uint32_t origin = kMainSourceOrigin) {
    m_basicBreakpoints.erase({origin, editorLine});
  }
  void SetAssemblerBreakpoints(std::vector<uint16_t> positions);

  // One timer tick of the given length: inputs from the record, serial rates, the step loop
  // within its cycle budget, serial output, outputs back into the record.
  TTesselTickResult Tick(int intervalMs = kDefaultIntervalMs);

  hc05::TMotorolaEngine& Engine() { return *m_engine; }
  uint8_t CallDepth() const { return m_depth; }
  // EEPROM address of the token fetched last (0 before the first).
  uint16_t LastTokenAddress() const { return m_lastToken; }
  uint64_t Tokens() const { return m_tokens; }
  // The statement that contains a token address.
  std::optional<TLineRecord> StatementOf(uint16_t tokenAddress) const;
  // The CPU registers as a stop shows them, with where the runtime reads the token program.
  std::string RegisterLine(bool withBasicPc) const;

 private:
  enum class TStepCheck : uint8_t { Go, Stop };
  void ApplyInputs();
  void WriteOutputs();
  void TakeSerialOutput();
  TStepCheck AssemblerCheck(uint16_t pc);
  TStepCheck BasicCheck();
  const TLineRecord* StatementStartingAt(uint16_t tokenAddress) const;
  std::optional<int32_t> AssemblerLineAt(uint16_t pc) const;
  void ReportStop(TTesselStop stop);

  TSimulatedHardware& m_hw;
  TTesselListener& m_listener;
  std::unique_ptr<hc05::TMotorolaEngine> m_ownEngine;
  hc05::TMotorolaEngine* m_engine;
  TTesselRuntimePoints m_points;
  std::optional<uint64_t> m_tokenLimit;

  uint8_t m_kind = runkind::None;
  uint8_t m_depth = 0;
  uint8_t m_stepOverDepth = 0;
  std::optional<uint16_t> m_lastStopAddress;  // statement address of the last BASIC stop
  uint16_t m_lastToken = 0;
  uint64_t m_tokens = 0;
  // After a stop the run goes on from the very instruction it stopped at: that first step
  // must not stop again.
  bool m_resumeAtStop = false;
  // The statement stopped at begins with a GOSUB: counted in the depth, not yet run.
  bool m_stoppedOnGosub = false;

  std::vector<TLineRecord> m_lines;        // by token offset
  std::vector<uint16_t> m_statementStarts;  // EEPROM addresses, sorted, parallel to m_lines
  std::set<std::pair<uint32_t, uint32_t>> m_basicBreakpoints;  // origin, editor line
  uint32_t m_codeStart = hc05::kAsmDefaultStart;
  std::vector<int32_t> m_asmLineAt;  // by code position; -1 where no line starts
  std::vector<bool> m_asmBreakAt;    // by code position
};

}  // namespace zarvek
