// The token machine's services: system variables and the clock, baud rates, serial text
// out and in, PAUSE, the data file and the random generator.
#include <gtest/gtest.h>

#include "test_machine.h"

namespace zarvek::test {
namespace {

using namespace std::string_literals;
using Words = std::vector<uint16_t>;

const std::string kException = "Unbehandelter Ausnahmefehler: ";
const std::string kCritical = "Unbehandelter, kritischer Fehler: ";

// Pops the top of the stack into word `slot` of the variable memory.
TTokenProgram& Keep(TTokenProgram& p, uint8_t slot) { return p.PushB(slot).Op(tok::MWORDWRITE, 0); }
TTokenProgram& Sys(TTokenProgram& p, uint8_t var, uint8_t slot) {
  return Keep(p.Op(tok::SYSREAD, var), slot);
}

Words Slots(TTestMachine& m, int count) {
  const std::string bytes = m.ReadMemory(0, 0, 2 * count);
  Words words;
  for (int i = 0; i < count; ++i)
    words.push_back(static_cast<uint16_t>(uint8_t(bytes[2 * i]) << 8 | uint8_t(bytes[2 * i + 1])));
  return words;
}

// YEAR, MONTH, DAY, DOW, HOUR, MINUTE, SECOND and TIMER into slots from `first` on.
void ReadClock(TTokenProgram& p, uint8_t first) {
  for (uint8_t v = 0; v < 8; ++v) Sys(p, v, first + v);
}

TEST(Services, ClockStartsAtNewYear2005AndFollowsVirtualTime) {
  TTestMachine m;
  TTokenProgram p;
  ReadClock(p, 0);
  m.Load(p.Op(tok::END));
  auto at = [&](int64_t micros) {
    m.Time().Advance(micros - m.Time().NowMicros());
    EXPECT_EQ(m.Run().end, TSliceEnd::Ended);
    return Slots(m, 8);
  };
  EXPECT_EQ(at(0), (Words{2005, 1, 1, 6, 0, 0, 0, 0}));  // a Saturday
  EXPECT_EQ(at(10'000)[7], 0);                            // half a tick rounds to even
  EXPECT_EQ(at(30'000)[7], 2);
  EXPECT_EQ(at(1'310'680'000)[7], 65534);  // TIMER counts modulo 65535
  EXPECT_EQ(at(1'310'700'000)[7], 0);
  // Sunday 2 January 2005, 01:02:03.5 = 186175 ticks into the day.
  EXPECT_EQ(at(90'123'500'000), (Words{2005, 1, 2, 7, 1, 2, 3, 186175 % 65535}));
  EXPECT_TRUE(m.Reports().empty());
}

TEST(Services, ClockFieldWritesSetTheClockAndInvalidOnesAreIgnored) {
  TTestMachine m;
  TTokenProgram p;
  const std::pair<uint8_t, uint16_t> valid[] = {{0, 2010}, {1, 7},  {2, 15}, {4, 13},
                                                {5, 45},   {6, 30}, {7, 25}};
  for (auto [var, value] : valid) p.PushW(value).Op(tok::SYSWRITE, var);
  p.PushB(50).Op(tok::PAUSE);  // one second
  ReadClock(p, 0);
  const std::pair<uint8_t, uint16_t> invalid[] = {{6, 61}, {5, 60}, {4, 24}, {2, 32},
                                                  {1, 13}, {1, 0},  {7, 50}};
  for (auto [var, value] : invalid) p.PushW(value).Op(tok::SYSWRITE, var);
  p.PushW(35000).PushB(1).Op(tok::SHL).Op(tok::SYSWRITE, 0);  // year 70000, not 4464
  p.PushB(100).Op(tok::PAUSE);                                 // two seconds
  ReadClock(p, 8);
  m.Load(p.Op(tok::END));
  EXPECT_EQ(m.Run().end, TSliceEnd::Ended);
  // Thursday 15 July 2010, 13:45:31.5 and 13:45:33.5.
  EXPECT_EQ(Slots(m, 16), (Words{2010, 7, 15, 4, 13, 45, 31, 2476575 % 65535,  //
                                 2010, 7, 15, 4, 13, 45, 33, 2476675 % 65535}));
  EXPECT_TRUE(m.Reports().empty());
}

TEST(Services, ProtectedAndUnknownSystemVariables) {
  TTestMachine m;
  m.SetContinueAfterReport(true);
  m.freq = {{1, 1000}, {2, 2000}};
  TTokenProgram p;
  std::vector<TReport> expected;
  for (uint8_t var : {3, 9, 10, 11, 12, 13}) {
    p.PushB(1);
    expected.push_back(
        {kCritical + "Zugriffsverletzung beim Schreiben auf Systemvariable", p.Here()});
    p.Op(tok::SYSWRITE, var);
  }
  Keep(p.PushW(1234), 0);
  expected.push_back({kCritical + "Zugriffsverletzung beim Lesen von Systemvariable", p.Here()});
  Sys(p, 15, 0);  // still pushes 0
  Sys(Sys(Sys(Sys(p, 13, 1), 14, 2), 9, 3), 10, 4);
  p.PushB(5).Op(tok::SYSWRITE, 14);   // KEYCOUNT takes writes silently
  p.PushW(440).Op(tok::SYSWRITE, 8);  // BEEP
  m.Load(p.Op(tok::END));
  EXPECT_EQ(m.RunToEnd().end, TSliceEnd::Ended);
  EXPECT_EQ(m.Reports(), expected);
  EXPECT_EQ(Slots(m, 5), (Words{0, 0xFFFF, 0, 1000, 2000}));
  EXPECT_EQ(m.Calls().back(), "Beep(440)");
}

TEST(Services, BaudCodesSetTheRateAndAnInvalidOneKeepsIt) {
  TTestMachine m;
  TTokenProgram p;
  for (uint8_t code = 0; code <= 12; ++code) p.Op(tok::SETBAUD, code);
  const uint16_t bad = p.Op(tok::SETBAUD, 0).Here();
  m.Load(p.Op(tok::SETBAUD, 13).PrintStr("0123456789").Op(tok::END));
  EXPECT_EQ(m.Run().end, TSliceEnd::Paused);
  EXPECT_EQ(m.Reports(), (std::vector<TReport>{{"Ungültige Baudrate", bad}}));
  std::vector<std::string> expected;
  for (int baud : {300, 600, 1200, 2400, 4800, 9600, 14400, 19200, 28800, 38400, 57600, 76800,
                   115200, 300})
    expected.push_back("SetBaud(" + std::to_string(baud) + ")");
  const auto calls = m.Calls();
  ASSERT_GE(calls.size(), expected.size());
  EXPECT_EQ(std::vector(calls.end() - expected.size(), calls.end()), expected);
  m.ClearCalls();
  m.SetRunMode(TRunMode::Run);
  const int64_t before = m.Time().NowMicros();
  EXPECT_EQ(m.Run().end, TSliceEnd::Ended);
  EXPECT_EQ(m.Time().NowMicros() - before, 300'000);  // 10 characters at 300 baud
  EXPECT_TRUE(m.Calls().empty());
}

TEST(Services, TextOutputAndPauseTakeVirtualTime) {
  TTestMachine m;
  TTokenProgram p;
  p.PushW(60000).Op(tok::PRINTNUM).PushW(321).Op(tok::PUTCHAR).PrintStr("Hallo");
  p.Op(tok::SETBAUD, 2).PushB('x').Op(tok::PUTCHAR).PrintStr("abc");
  m.Load(p.PushW(150).Op(tok::PAUSE).PushB(0).Op(tok::PAUSE).Op(tok::END));
  auto spent = [&](uint64_t tokens) {
    const int64_t before = m.Time().NowMicros();
    m.Run(tokens);
    return m.Time().NowMicros() - before;
  };
  EXPECT_EQ(spent(2), 2'000);  // 5 characters at 19200 baud: 2.34 ms
  EXPECT_EQ(spent(2), 0);      // one character: 0.47 ms
  EXPECT_EQ(spent(1), 2'000);
  EXPECT_EQ(spent(1), 0);
  EXPECT_EQ(spent(2), 8'000);   // one character at 1200 baud: 7.5 ms, to even
  EXPECT_EQ(spent(1), 22'000);  // 22.5 ms, to even
  EXPECT_EQ(spent(2), 3'000'000);
  EXPECT_EQ(spent(2), 0);
  EXPECT_EQ(m.Output(), "-5536AHalloxabc");
}

TEST(Services, PrintStrStopsAtTheEndOfProgramMemory) {
  TTestMachine::TOptions small;
  small.programMemorySize = 64;
  TTestMachine m(small);
  TTokenProgram p;
  std::string text;
  for (int i = 0; i < 59; ++i) text.push_back(static_cast<char>('a' + i % 26));
  p.Op(tok::PRINTSTR);
  for (char c : text) p.Byte(static_cast<uint8_t>(c));  // no terminator: fills the memory
  m.Load(p);
  m.Run(1);
  EXPECT_EQ(m.Output(), text);
  EXPECT_EQ(m.GetDebugState().programCounter, 0);
  EXPECT_EQ(m.Time().NowMicros(), 28'000);  // 59 characters at 19200 baud
}

TEST(Services, ReceiveBufferKeepsTheNewest32Characters) {
  TTestMachine m;
  TTokenProgram p;
  Keep(p.Op(tok::RXREADY), 0);  // the typed text arrives after this first token
  Keep(p.Op(tok::RXREADY), 1);
  Sys(p, 8, 2);
  Sys(Keep(p.Op(tok::GETCHAR), 3), 8, 4);
  m.Load(p.Op(tok::END));
  m.Type("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmn");
  EXPECT_EQ(m.Run().end, TSliceEnd::Ended);
  EXPECT_EQ(Slots(m, 5), (Words{0, 0xFFFF, 32, 'I', 31}));  // the eight oldest were pushed out
}

TEST(Services, GetCharAndInputNumWaitForInputAndParseLines) {
  TTestMachine m;
  TTokenProgram p;
  Keep(p.Op(tok::GETCHAR), 0);
  const uint16_t input = p.Here();
  for (uint8_t slot = 1; slot < 7; ++slot) Keep(p.Op(tok::INPUTNUM), slot);
  m.Load(Keep(Sys(p, 8, 7).Op(tok::GETCHAR), 8).Op(tok::END));
  EXPECT_EQ(m.Run().end, TSliceEnd::WaitingForInput);
  EXPECT_EQ(m.Run().end, TSliceEnd::WaitingForInput);
  EXPECT_EQ(m.GetDebugState().programCounter, 4);
  m.Type("x42");
  EXPECT_EQ(m.Run().end, TSliceEnd::WaitingForInput);  // no carriage return yet
  EXPECT_EQ(m.GetDebugState().programCounter, input);
  m.Type("\r1-2\r1234567\r123456-\r 7\r1a\r7");
  EXPECT_EQ(m.Run().end, TSliceEnd::Ended);
  // '-' goes in front of the text; "-12345" is cut to five again; the trailing 7 stays.
  EXPECT_EQ(Slots(m, 9),
            (Words{'x', 42, uint16_t(-12), 12345, uint16_t(-1234), 7, 0, 1, '7'}));
}

TEST(Services, DataFileWriteReadAndAppend) {
  TTestMachine m;
  m.SetContinueAfterReport(true);
  TTokenProgram p;
  p.Op(tok::FILEOP, 2);
  for (uint16_t w : {0x1234, 0xABCD, 7}) p.PushW(w).Op(tok::FILEOP, 5);
  Sys(p.Op(tok::FILEOP, 4), 12, 0);
  Keep(p.Op(tok::FILEOP, 1).Op(tok::EOF_), 1);
  for (uint8_t slot = 2; slot < 5; ++slot) Keep(p.Op(tok::FILEOP, 6), slot);
  const uint16_t pastEnd = p.Here();
  Keep(Keep(p.Op(tok::FILEOP, 6), 5).Op(tok::EOF_), 6);
  Keep(p.Op(tok::FILEOP, 4).Op(tok::FILEOP, 1).Op(tok::FILEOP, 6), 7);
  Sys(p.Op(tok::FILEOP, 4), 12, 8);  // closing after reading keeps the size
  p.Op(tok::FILEOP, 3).PushW(0x5555).Op(tok::FILEOP, 5).Op(tok::FILEOP, 4);
  m.Load(Sys(p, 12, 9).Op(tok::END));
  EXPECT_EQ(m.RunToEnd().end, TSliceEnd::Ended);
  EXPECT_EQ(m.Reports(), (std::vector<TReport>{{kException + "Dateiende erreicht", pastEnd}}));
  EXPECT_EQ(Slots(m, 10), (Words{3, 0, 0x1234, 0xABCD, 7, 0, 0xFFFF, 0x1234, 3, 4}));
  const auto imageLength = static_cast<uint32_t>(p.Image().size());
  EXPECT_EQ(m.ReadMemory(3, imageLength, 8), "\x12\x34\xAB\xCD\x00\x07\x55\x55"s);
  EXPECT_EQ(m.ReadMemory(3, m.ProgramMemorySize() - 2, 2), "\x00\x04"s);  // header offsets 2, 3
}

TEST(Services, DataFileMisuse) {
  TTestMachine handled;
  TTokenProgram h;
  h.Handler(254, "error").Op(tok::FILEOP, 1);
  const uint16_t second = h.Here();
  handled.Load(Keep(Keep(h.Op(tok::FILEOP, 1).Op(tok::END).Label("error"), 0), 1).Op(tok::END));
  EXPECT_EQ(handled.Run().end, TSliceEnd::Ended);
  EXPECT_TRUE(handled.Reports().empty());
  EXPECT_EQ(Slots(handled, 2), (Words{8, second}));

  TTestMachine m;
  m.SetContinueAfterReport(true);
  TTokenProgram p;
  std::vector<TReport> expected;
  auto failing = [&](uint8_t function, const std::string& text) -> TTokenProgram& {
    expected.push_back({kException + text, p.Here()});
    return p.Op(tok::FILEOP, function);
  };
  Keep(Keep(p.PushW(0xFFFF).PushW(0xFFFF), 0), 1);
  failing(4, "Schließen einer ungeöffneten Datei").PushB(1);
  failing(5, "Datei nicht zum Schreiben geöffnet");
  Keep(failing(6, "Datei nicht zum Lesen geöffnet"), 0).Op(tok::FILEOP, 1).PushB(1);
  failing(5, "Datei nicht zum Schreiben geöffnet").Op(tok::FILEOP, 4).Op(tok::FILEOP, 2);
  Keep(failing(6, "Datei nicht zum Lesen geöffnet"), 1);
  m.Load(p.Op(tok::FILEOP, 9).Op(tok::FILEOP, 4).Op(tok::END));
  EXPECT_EQ(m.RunToEnd().end, TSliceEnd::Ended);
  EXPECT_EQ(m.Reports(), expected);
  EXPECT_EQ(Slots(m, 2), (Words{0, 0}));  // failed reads push 0
}

TEST(Services, DataFileCapacityEndsBeforeProgramMemoryDoes) {
  TTokenProgram p;
  Sys(p, 11, 0).Op(tok::FILEOP, 2);
  for (uint8_t w = 1; w <= 3; ++w) p.PushB(w).Op(tok::FILEOP, 5);
  const uint16_t full = p.PushB(4).Here();
  Sys(Sys(p.Op(tok::FILEOP, 5).Op(tok::FILEOP, 4), 11, 1), 12, 2).Op(tok::END);
  const auto imageLength = static_cast<uint32_t>(p.Image().size());
  TTestMachine::TOptions small;
  small.programMemorySize = 4 + imageLength + 7;  // three words and a spare byte
  TTestMachine m(small);
  m.SetContinueAfterReport(true);
  m.Load(p);
  EXPECT_EQ(m.RunToEnd().end, TSliceEnd::Ended);
  EXPECT_EQ(m.Reports(), (std::vector<TReport>{{kException + "Speicherende erreicht", full}}));
  EXPECT_EQ(Slots(m, 3), (Words{3, 0, 3}));  // FILEFREE empty and full, FILESIZE
  EXPECT_EQ(m.ReadMemory(3, imageLength, 7), "\0\1\0\2\0\3\0"s);
}

TEST(Services, RandomNumbersFollowTheSharedGenerator) {
  uint32_t seed = 0xFFFFFFFF;
  auto next = [&] {
    seed = seed * 134775813u + 1u;
    return static_cast<uint32_t>((uint64_t{seed} * 2147483647u) >> 32);
  };
  auto draw = [](TTokenProgram& p, uint8_t slot) {  // high word, then low word
    Keep(Keep(p.Op(tok::RAND).Op(tok::DUP).PushB(16).Op(tok::SHR), slot), slot + 1);
  };
  auto value = [](const Words& w, int slot) { return uint32_t{w[slot]} << 16 | w[slot + 1]; };
  TTestMachine::TOptions o;
  o.random = std::make_shared<TRandomGenerator>();
  TTestMachine first(o), second(o);
  TTokenProgram p, q;
  p.PushB(1).Op(tok::NEG).Op(tok::RANDSEED);  // the seed takes all 32 bits of -1
  for (uint8_t slot = 0; slot < 6; slot += 2) draw(p, slot);
  draw(q, 0);
  first.Load(p.Op(tok::END));
  second.Load(q.Op(tok::END));
  EXPECT_EQ(first.Run().end, TSliceEnd::Ended);
  const Words drawn = Slots(first, 6);
  for (int slot = 0; slot < 6; slot += 2) EXPECT_EQ(value(drawn, slot), next());
  EXPECT_EQ(second.Run().end, TSliceEnd::Ended);
  EXPECT_EQ(value(Slots(second, 2), 0), next());  // a new machine continues the sequence
}

}  // namespace
}  // namespace zarvek::test
