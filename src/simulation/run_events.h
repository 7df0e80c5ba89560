// The run-state events a simulator reports to its owner: typed, so that the owner never
// has to read a message text to tell a breakpoint from an error.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "runtime/interpreter.h"

namespace zarvek {

enum class TRunEventKind : uint8_t {
  Started,          // the machine runs: first start, or on again after any stop below
  Paused,           // stopped before or after a statement; see TPauseReason
  WaitingForInput,  // GETCHAR or INPUTNUM waits for characters
  Ended,            // see TEndReason
  RuntimeError,     // an error report; the run is paused
};

enum class TPauseReason : uint8_t {
  UserPause,       // the owner set the run mode to Pause
  Breakpoint,      // a statement with a breakpoint, running to breakpoints
  SingleStepDone,  // the next statement, single stepping
  StepOverDone,    // the next statement at the caller's depth, stepping over
};

enum class TEndReason : uint8_t {
  EndStatement,  // END ran; resuming starts the program again
  Stopped,       // the machine's thread has ended (stop or shutdown)
};

// A statement's place in the project's sources, as the owner's locator gives it.
struct TStatementPlace {
  std::string file;
  uint32_t line = 0;    // 1-based
  uint32_t column = 0;  // 1-based
};

struct TRunEvent {
  TRunEventKind kind = TRunEventKind::Started;
  TPauseReason pauseReason = TPauseReason::UserPause;  // Paused only
  TEndReason endReason = TEndReason::EndStatement;     // Ended only
  int errorNumber = 0;                                  // RuntimeError only
  // RuntimeError: the message. Paused: what the stop shows in the error display ("Haltepunkt"
  // for a token machine's stop, the controller's registers on the Tessel boards); empty
  // when the stop shows nothing.
  std::string errorText;
  // Paused and RuntimeError: the token address the stop refers to (the failing token, or
  // the statement the machine stands at) with the line table's answer for it and, when
  // the owner gave a locator, its place; -1 for the other kinds.
  int32_t tokenAddress = -1;
  TLinePosition statement;
  std::optional<TStatementPlace> place;
};

// Turns the line table's answer for a token address into a place in the sources. The
// compiler and its line index live with the owner, so the owner supplies this.
using TStatementLocator = std::function<std::optional<TStatementPlace>(const TLinePosition&)>;

}  // namespace zarvek
