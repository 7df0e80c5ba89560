// The machine's services: system variables and the clock, the serial line, the data file,
// baud rates and handlers.
#include <algorithm>
#include <cmath>
#include <iterator>

#include "runtime/calendar.h"
#include "runtime/interpreter.h"
#include "runtime/runtime_errors.h"
#include "base/tokens.h"

namespace zarvek {

namespace {

namespace sysvar {
constexpr uint8_t Year = 0, Month = 1, Day = 2, Dow = 3, Hour = 4, Minute = 5, Second = 6,
                  Timer = 7, InCountBeep = 8, Freq1 = 9, Freq2 = 10, FileFree = 11,
                  FileSize = 12, Key = 13, KeyCount = 14;
}

constexpr int32_t kBaudRates[] = {300,   600,   1200,  2400,  4800,  9600,  14400,
                                  19200, 28800, 38400, 57600, 76800, 115200};

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

// Rounds a / b (both positive) to the nearest integer, ties to even, as the platform's
// rounding does.
int64_t RoundDiv(int64_t a, int64_t b) {
  const int64_t q = a / b, r = a % b;
  return (2 * r > b || (2 * r == b && (q & 1))) ? q + 1 : q;
}

// The value of a typed number: optional blanks and sign, then decimal digits; 0 otherwise.
int32_t ParseInputNumber(const std::string& text) {
  size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  if (i == text.size()) return 0;
  int32_t value = 0;
  for (; i < text.size(); ++i) {
    if (text[i] < '0' || text[i] > '9') return 0;
    value = value * 10 + (text[i] - '0');  // at most five characters: no overflow
  }
  return negative ? -value : value;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Clock and system variables

int64_t TInterpreter::ClockNowMillis() {
  return m_clockOffsetMillis + FloorDiv(m_time->NowMicros() - m_clockBaseMicros, 1000);
}

void TInterpreter::PushSystemVariable(uint8_t number) {
  if (number <= sysvar::Timer) {
    const int64_t now = ClockNowMillis();
    const TDateTimeFields f = SplitDateTime(now);
    switch (number) {
      case sysvar::Year: Push(f.year); return;
      case sysvar::Month: Push(f.month); return;
      case sysvar::Day: Push(f.day); return;
      case sysvar::Dow: Push(DayOfWeek(now)); return;
      case sysvar::Hour: Push(f.hour); return;
      case sysvar::Minute: Push(f.minute); return;
      case sysvar::Second: Push(f.second); return;
      default: {
        const int64_t msOfDay = now - FloorDiv(now, kMillisPerDay) * kMillisPerDay;
        Push(static_cast<int32_t>(RoundDiv(msOfDay, 20) % 65535));
        return;
      }
    }
  }
  switch (number) {
    case sysvar::InCountBeep: Push(m_rxCount); return;
    case sysvar::Freq1: Push(ReadFreq(1)); return;
    case sysvar::Freq2: Push(ReadFreq(2)); return;
    case sysvar::FileFree: Push(FileCapacity() - FileSize()); return;
    case sysvar::FileSize: Push(FileSize()); return;
    case sysvar::Key: Push(-1); return;
    case sysvar::KeyCount: Push(0); return;
    default:
      Push(0);
      RaiseError(err::SysVarRead);
      return;
  }
}

void TInterpreter::WriteSystemVariable(uint8_t number, int32_t value) {
  const bool clockField = number <= sysvar::Timer && number != sysvar::Dow;
  if (!clockField && number != sysvar::InCountBeep && number != sysvar::KeyCount) {
    RaiseError(err::SysVarWrite);
    return;
  }
  if (number == sysvar::InCountBeep) Beep(value);

  // Every accepted write sets the clock anew from its fields, at 20 ms resolution.
  const int64_t nowMicros = m_time->NowMicros();
  TDateTimeFields f = SplitDateTime(ClockNowMillis());
  int ticks = f.millisecond / 20;
  switch (number) {
    case sysvar::Year: f.year = value; break;
    case sysvar::Month: f.month = value; break;
    case sysvar::Day: f.day = value; break;
    case sysvar::Hour: f.hour = value; break;
    case sysvar::Minute: f.minute = value; break;
    case sysvar::Second: f.second = value; break;
    case sysvar::Timer: ticks = value; break;
    default: break;
  }
  f.millisecond = (ticks < 0 || ticks > 49) ? -1 : ticks * 20;
  // An invalid date or time leaves the clock untouched, running on as before.
  if (const auto offset = BuildDateTime(f)) {
    m_clockOffsetMillis = *offset;
    m_clockBaseMicros = nowMicros;
  }
}

// ---------------------------------------------------------------------------------------
// Serial line

void TInterpreter::SendText(const std::string& text) {
  OutputText(text);
  // The simulated program runs no faster than the line could carry its text:
  // 9 bit times per character.
  const double millis = static_cast<double>(text.size()) * 9.0 / m_baud * 1000.0;
  const int64_t delay = static_cast<int64_t>(std::nearbyint(millis));
  if (delay > 0) Sleep(delay * 1000);
}

void TInterpreter::PrintString() {
  std::string text;
  for (;;) {
    const uint8_t c = Fetch();
    if (c == 0) break;
    text.push_back(static_cast<char>(c));
    if (m_pc == 0) break;  // the text ran into the end of program memory
  }
  SendText(text);
}

void TInterpreter::ReceiveChar(uint8_t c) {
  if (m_rxCount == kReceiveBufferSize) {  // the oldest character is pushed out
    m_rxHead = (m_rxHead + 1) % kReceiveBufferSize;
    --m_rxCount;
  }
  m_rx[(m_rxHead + m_rxCount) % kReceiveBufferSize] = c;
  ++m_rxCount;
}

// The token runs again on the next step; input is asked for after this one.
void TInterpreter::WaitForInput() {
  m_pc = m_instrStart;
  m_waiting = true;
  Attend(kAttendWaiting | kAttendInput);
}

// Removes the oldest characters; the room they leave may let held-back input in.
void TInterpreter::ConsumeReceived(int count) {
  m_rxHead = (m_rxHead + count) % kReceiveBufferSize;
  m_rxCount -= count;
  Attend(kAttendInput);
}

void TInterpreter::GetChar() {
  if (m_rxCount == 0) {
    WaitForInput();
    return;
  }
  Push(m_rx[m_rxHead]);
  ConsumeReceived(1);
}

void TInterpreter::InputNumber() {
  std::string text;
  int consumed = 0;
  for (int i = 0; i < m_rxCount; ++i) {
    const char c = static_cast<char>(m_rx[(m_rxHead + i) % kReceiveBufferSize]);
    if (c == '\r') {
      consumed = i + 1;
      break;
    }
    if (c == '-')
      text.insert(text.begin(), '-');
    else
      text.push_back(c);
    if (text.size() > 5) text.resize(5);
  }
  if (consumed == 0) {  // no complete line yet
    WaitForInput();
    return;
  }
  Push(ParseInputNumber(text));
  ConsumeReceived(consumed);
}

void TInterpreter::SetBaudCode(uint8_t code) {
  if (code >= std::size(kBaudRates)) {
    RaiseError(err::InvalidBaud);
    return;
  }
  m_baud = kBaudRates[code];
  SetBaud(m_baud);
}

void TInterpreter::SetHandler(uint8_t kind, uint16_t address) {
  switch (kind) {
    case 0:
    case 1:
      m_interrupts[kind].handler = address;
      m_interrupts[kind].enabled.store(address != 0, std::memory_order_release);
      return;
    case 254: m_exceptionHandler = address; return;
    case 255: m_criticalHandler = address; return;
    default: RaiseError(err::InvalidInterruptKind); return;
  }
}

// ---------------------------------------------------------------------------------------
// Data file: 16-bit words in program memory behind the image; its size in words is the
// header word at offsets 2 and 3.

namespace filemode {
constexpr uint8_t Reading = 0, Writing = 1, Closed = 2;
}

uint32_t TInterpreter::FileImageLength() const {
  return uint32_t{m_program[0]} << 8 | m_program[1 % m_program.size()];
}

uint16_t TInterpreter::FileSize() const {
  return static_cast<uint16_t>(m_program[2 % m_program.size()] << 8 | m_program[3 % m_program.size()]);
}

int32_t TInterpreter::FileCapacity() const {
  const int64_t room = static_cast<int64_t>(m_program.size()) - 4 - FileImageLength();
  return room <= 0 ? 0 : static_cast<int32_t>(room / 2);
}

void TInterpreter::FileOperation(uint8_t function) {
  switch (function) {
    case fileop::OpenRead:
    case fileop::OpenWrite:
    case fileop::OpenAppend: FileOpen(function); return;
    case fileop::Close: FileClose(); return;
    case fileop::Write: FileWriteWord(); return;
    case fileop::Read: FileReadWord(); return;
    default: return;
  }
}

void TInterpreter::FileOpen(uint8_t function) {
  if (m_fileMode != filemode::Closed) {
    RaiseError(err::FileAlreadyOpen);
    return;
  }
  m_fileMode = function == fileop::OpenRead ? filemode::Reading : filemode::Writing;
  m_filePosition = function == fileop::OpenAppend ? FileSize() : 0;
}

void TInterpreter::FileClose() {
  if (m_fileMode == filemode::Closed) {
    RaiseError(err::FileNotOpen);
    return;
  }
  // Closing after reading keeps the stored size, so the file's words survive.
  if (m_fileMode == filemode::Writing) {
    ProgramByte(2) = static_cast<uint8_t>(m_filePosition >> 8);
    ProgramByte(3) = static_cast<uint8_t>(m_filePosition);
  }
  m_fileMode = filemode::Closed;
}

void TInterpreter::FileWriteWord() {
  const int32_t v = Pop();
  if (m_fileMode != filemode::Writing) {
    RaiseError(err::FileNotForWriting);
    return;
  }
  if (m_filePosition >= FileCapacity()) {
    RaiseError(err::MemoryEnd);
    return;
  }
  const uint64_t at = FileWordOffset();
  ProgramByte(at) = static_cast<uint8_t>(v >> 8);
  ProgramByte(at + 1) = static_cast<uint8_t>(v);
  AdvanceFilePosition();
}

void TInterpreter::FileReadWord() {
  if (m_fileMode != filemode::Reading) {
    Push(0);
    RaiseError(err::FileNotForReading);
    return;
  }
  if (m_filePosition == FileSize()) {
    Push(0);
    RaiseError(err::FileEnd);
    return;
  }
  const uint64_t at = FileWordOffset();
  Push(ProgramByte(at) << 8 | ProgramByte(at + 1));
  AdvanceFilePosition();
}

// Program memory offset of the word at the file position.
uint64_t TInterpreter::FileWordOffset() const {
  return 4 + uint64_t{FileImageLength()} + 2 * uint64_t(static_cast<uint32_t>(m_filePosition));
}

// The position counts modulo half the program memory, as a word index into it.
void TInterpreter::AdvanceFilePosition() {
  const uint32_t positions = std::max<uint32_t>(static_cast<uint32_t>(m_program.size() / 2), 1);
  m_filePosition = static_cast<int32_t>((uint32_t(m_filePosition) + 1) % positions);
}

}  // namespace zarvek
