// Runtime error numbers of the token machine with their texts and classes.
#pragma once

#include <cstdint>
#include <string>

namespace zarvek {

enum class TErrorClass : uint8_t {
  Exception,  // caught by the exception handler (SUB ERROR) when one is set
  Critical,   // caught by the critical handler (SUB CRASH) when one is set
  Report,     // always reported to the run control
};

namespace err {
inline constexpr int CallStackOverflow = 1;
inline constexpr int ReturnImpossible = 2;
inline constexpr int StackOverflow = 3;
inline constexpr int StackUnderflow = 4;
inline constexpr int NoSuchMemory = 5;
inline constexpr int SysVarRead = 6;
inline constexpr int SysVarWrite = 7;
inline constexpr int FileAlreadyOpen = 8;
inline constexpr int FileNotOpen = 9;
inline constexpr int FileNotForReading = 10;
inline constexpr int FileEnd = 11;
inline constexpr int FileNotForWriting = 12;
inline constexpr int MemoryEnd = 13;
inline constexpr int InvalidBaud = 14;
inline constexpr int InvalidInterruptKind = 15;
inline constexpr int Breakpoint = 253;
inline constexpr int NothingToRun = 254;
inline constexpr int InvalidToken = 255;
}  // namespace err

struct TRuntimeError {
  std::string text;  // UTF-8
  TErrorClass errorClass;
};

// Text and class of a runtime error number; unknown numbers are reported with their
// number as the text.
TRuntimeError DescribeRuntimeError(int number);

// Prefixes of the messages for errors that no handler catches.
inline constexpr const char* kUnhandledException = "Unbehandelter Ausnahmefehler: ";
inline constexpr const char* kUnhandledCritical = "Unbehandelter, kritischer Fehler: ";

}  // namespace zarvek
