#include <gtest/gtest.h>

#include "test_machine.h"

namespace zarvek::test {
namespace {

const std::string kCritical = "Unbehandelter, kritischer Fehler: ";
const std::string kNoSuchMemory = kCritical + "Speicherplatz existiert nicht";

// Keeps each result cell whole in space 0, four bytes per cell, so that 32-bit results
// can be told from their low 16 bits.
class TKeeper {
 public:
  explicit TKeeper(TTokenProgram& p) : m_p(p) {}
  void operator()(TTokenProgram&) {
    m_p.Op(tok::DUP).PushB(16).Op(tok::SHR).PushB(2 * m_n).Op(tok::MWORDWRITE, 0);
    m_p.PushB(2 * m_n + 1).Op(tok::MWORDWRITE, 0);
    ++m_n;
  }
  std::vector<int32_t> Read(TTestMachine& m) const {
    std::vector<int32_t> cells(m_n);
    const std::string s = m.ReadMemory(0, 0, 4 * m_n);
    for (size_t k = 0; k < s.size(); ++k)
      cells[k / 4] = static_cast<int32_t>(static_cast<uint32_t>(cells[k / 4]) << 8 | static_cast<uint8_t>(s[k]));
    return cells;
  }

 private:
  TTokenProgram& m_p;
  uint8_t m_n = 0;
};

TTestMachine::TOptions Sizes(uint32_t space1, uint32_t program, uint32_t space4 = 0) {
  TTestMachine::TOptions o;
  o.space1Size = space1, o.programMemorySize = program, o.space4Size = space4;
  return o;
}

// Runs the program to END, continuing after every report.
void RunAll(TTestMachine& m, const TTokenProgram& p) {
  m.Load(p);
  m.SetContinueAfterReport(true);
  EXPECT_EQ(m.RunToEnd().end, TSliceEnd::Ended);
}

TEST(Tokens, DataStack) {
  TTestMachine m;
  TTokenProgram p;
  TKeeper keep(p);
  p.PushB(1).PushB(2).PushB(3).Op(tok::SWAP).Op(tok::XCHG, 1).Op(tok::DUP);  // 1 1 3 2
  keep(p), keep(p), keep(p.Op(tok::DROP));
  const uint16_t xchgAt = p.Here() + 4;
  keep(p.PushB(5).PushB(6).Op(tok::XCHG, 63));  // reaches past the 64 cells: refused
  keep(p);
  keep(p.PushB(7).PushB(8).Op(tok::CLRSTACK));  // two zeroed cells stay counted
  keep(p);
  for (int k = 1; k <= 64; ++k) p.PushB(static_cast<uint8_t>(k));
  const uint16_t overflowAt = p.Here();
  p.PushB(65);
  for (int k = 0; k < 63; ++k) p.Op(tok::DROP);
  keep(p), keep(p);  // a count of 65 lets two more cells come off: 2, and 0 for the lost 1
  const uint16_t underflowAt = p.Here();
  p.Op(tok::DROP).Op(tok::END);
  RunAll(m, p);
  EXPECT_EQ(keep.Read(m), (std::vector<int32_t>{1, 1, 2, 6, 5, 0, 0, 2, 0}));
  EXPECT_EQ(m.Reports(), (std::vector<TReport>{{kCritical + "Stack Unterlauf", xchgAt},
                                               {kCritical + "Stack Überlauf", overflowAt},
                                               {kCritical + "Stack Unterlauf", underflowAt}}));
}

TEST(Tokens, ReadingGroups) {
  TTestMachine m;
  TTokenProgram p;
  TKeeper keep(p);
  keep(p.PushW(30000).PushW(30000).Op(tok::ADD));
  keep(p.PushW(30000).PushW(30000).Op(tok::ADD).PushB(0).Op(tok::ADD));  // the reader sees -5536
  keep(p.PushW(300).PushW(300).Op(tok::MUL));
  keep(p.PushW(0x8000));
  keep(p.PushW(0x8000).Op(tok::ABS));
  keep(p.PushB(3).PushB(5).Op(tok::GT));
  keep(p.PushB(3).PushB(5).Op(tok::LT));
  keep(p.PushW(0xFFFF).PushB(0).Op(tok::GT));
  keep(p.PushW(0xFFF9).PushB(2).Op(tok::DIV));
  keep(p.PushW(0xFFF9).PushB(2).Op(tok::MOD));
  keep(p.PushB(7).PushB(1).PushB(16).Op(tok::SHL).Op(tok::DIV));  // divisor 65536
  keep(p.PushB(7).PushB(1).PushB(16).Op(tok::SHL).Op(tok::MOD));
  keep(p.PushB(0).Op(tok::NOT));
  keep(p.PushB(0).PushB(2).Op(tok::SUB).PushB(8).Op(tok::SHR));
  keep(p.PushB(1).PushB(52).Op(tok::SHL).PushB(5).Op(tok::OR));
  keep(p.PushB(0).Op(tok::NOT).PushB(16).Op(tok::SHL).PushB(0).Op(tok::NOT).Op(tok::NAND));
  keep(p.PushW(0xF0F0).PushB(16).Op(tok::SHL).PushW(0xFF00).Op(tok::XOR));
  p.PushW(0x8000).Op(tok::PRINTNUM).PushW(30000).PushW(30000).Op(tok::ADD).Op(tok::PRINTNUM);
  p.PushW(0x8000).Op(tok::ABS).PushB(100).Op(tok::MWORDWRITE, 0).Op(tok::END);
  RunAll(m, p);
  EXPECT_EQ(keep.Read(m), (std::vector<int32_t>{60000, -5536, 90000, 32768, 32768, 0, -1, 0, -3, -1, 0, 0, -1,
                                                0x00FFFFFF, 0x00100005, 0x0000FFFF, int32_t(0xF0F0FF00)}));
  EXPECT_EQ(m.Output(), "-32768-5536");
  EXPECT_EQ(m.ReadMemory(0, 200, 2), std::string("\x80\x00", 2));
  EXPECT_TRUE(m.Reports().empty());
}

TEST(Tokens, MemoryIsBigEndianAndStoresTruncate) {
  TTestMachine m;
  TTokenProgram p;
  TKeeper keep(p);
  p.PushB(1).PushB(16).Op(tok::SHL).PushW(0x1234).Op(tok::OR).PushB(3).Op(tok::MWORDWRITE, 1);
  p.PushW(0x0100).PushB(9).Op(tok::MBITWRITE, 1);  // non-zero although its low byte is 0
  p.PushW(0xABCD).PushB(3).Op(tok::MBYTEWRITE, 1).PushB(0).Op(tok::NOT).PushB(4).Op(tok::MWORDWRITE, 1);
  keep(p.PushB(4).Op(tok::MWORDREAD, 1));
  keep(p.PushB(9).Op(tok::MBYTEREAD, 1));
  keep(p.PushB(49).Op(tok::MBITREAD, 1));  // byte 6 = 0x12: bit 1
  keep(p.PushB(50).Op(tok::MBITREAD, 1));
  p.Op(tok::END);
  RunAll(m, p);
  EXPECT_EQ(m.ReadMemory(1, 0, 10), std::string("\x00\x02\x00\xCD\x00\x00\x12\x34\xFF\xFF", 10));
  EXPECT_EQ(keep.Read(m), (std::vector<int32_t>{65535, 255, -1, 0}));
}

TEST(Tokens, AccessOutsideStorageRaisesNoSuchMemory) {
  // Memory sizes, token, space and the first address beyond the space's storage.
  struct TBound {
    uint32_t space1, program, space4;
    uint8_t token, space;
    uint16_t end;
  };
  std::vector<TBound> bounds = {
      {1024, 32745, 0, tok::MBYTEWRITE, 0, 512},  {1024, 32745, 0, tok::MWORDREAD, 0, 256},
      {1024, 32745, 0, tok::MBITWRITE, 0, 4096},  {1024, 32745, 0, tok::MBYTEREAD, 1, 1024},
      {2048, 65535, 0, tok::MBYTEREAD, 1, 2048},  {1024, 32745, 0, tok::MBYTEREAD, 3, 32745},
      {2048, 65535, 0, tok::MWORDREAD, 3, 32767}, {1024, 32745, 16, tok::MBYTEWRITE, 4, 16}};
  for (uint8_t space : {2, 4, 5, 6, 7, 8, 9, 200}) {
    bounds.push_back({1024, 32745, 0, tok::MBYTEREAD, space, 0});
    bounds.push_back({1024, 32745, 0, tok::MWORDWRITE, space, 0});
  }
  for (const TBound& b : bounds) {
    for (int address = b.end - 1; address <= b.end; ++address) {
      if (address < 0) continue;
      SCOPED_TRACE(testing::Message() << "token " << int(b.token) << " space " << int(b.space) << " at " << address);
      TTestMachine m(Sizes(b.space1, b.program, b.space4));
      TTokenProgram p;
      const bool write = b.token >= tok::MBITWRITE;
      if (write) p.PushB(0x5A);
      p.PushW(static_cast<uint16_t>(address)).Op(b.token, b.space);
      if (!write) p.PushB(0).Op(tok::MWORDWRITE, 0);  // a read pushes its one cell even when it fails
      RunAll(m, p.Op(tok::END));
      std::vector<TReport> expected;
      if (address == b.end) expected.push_back({kNoSuchMemory, write ? 9 : 7});
      EXPECT_EQ(m.Reports(), expected);
      EXPECT_EQ(m.ReadMemory(0, 0, 2), std::string(2, '\0'));  // a refused write does not wrap
    }
  }
}

TEST(Tokens, AddressesAreSixteenBitSoComputedHighAddressesWork) {
  // 32000 + 1000 is a negative 16-bit sum; as an address it still means 33000.
  TTestMachine m(Sizes(2048, 65535));
  TTokenProgram p;
  p.PushB(0x42).PushW(32000).PushW(1000).Op(tok::ADD).Op(tok::MBYTEWRITE, 3);
  p.PushW(32000).PushW(1000).Op(tok::ADD).Op(tok::MBYTEREAD, 3).PushB(0).Op(tok::MBYTEWRITE, 0);
  RunAll(m, p.Op(tok::END));
  EXPECT_TRUE(m.Reports().empty());
  EXPECT_EQ(m.ReadMemory(0, 0, 1), "\x42");
  EXPECT_EQ(m.ReadMemory(3, 33000 - 4, 1), "\x42");
}

TEST(Tokens, LocalFramesFollowCallsAndAreNeverCleared) {
  TTestMachine m;
  TTokenProgram p;
  TKeeper keep(p);
  p.PushW(0x1234).Op(tok::LWORDWRITE, 0).To(tok::CALLF, "sub");
  keep(p.Op(tok::LWORDREAD, 16));  // frame 0 reaches into frame 1
  for (int k = 0; k < 20; ++k) p.To(tok::CALLF, "plainReturn");
  p.PushB(0x77).Op(tok::LBYTEWRITE, 0).PushW(0x4242).Op(tok::LWORDWRITE, 255);
  keep(p.Op(tok::LWORDREAD, 255));
  for (int k = 0; k < 20; ++k) p.To(tok::GOSUB, "leaveFrame");
  p.PushB(0x55).Op(tok::LBYTEWRITE, 2).Op(tok::END);
  p.Label("sub").PushW(0xABCD).Op(tok::LWORDWRITE, 0).PushB(1).Op(tok::LBITWRITE, 9).Op(tok::RETF);
  p.Label("plainReturn").Op(tok::RETURN).Label("leaveFrame").Op(tok::RETF);
  RunAll(m, p);
  EXPECT_EQ(m.ReadFrame(0, 0, 3), std::string("\x12\x34\x55", 3));
  EXPECT_EQ(m.ReadFrame(1, 0, 2), "\xAB\xCF");
  EXPECT_EQ(m.ReadFrame(16, 0, 1), "\x77");  // the frame index stops at 16
  EXPECT_EQ(keep.Read(m), (std::vector<int32_t>{0xABCF, 0x4242}));
  EXPECT_TRUE(m.Reports().empty());
}

TEST(Tokens, TableReadUsesSignedIndexAndChecksBounds) {
  TTestMachine m;
  TTokenProgram p;
  TKeeper keep(p);
  keep(p.PushB(1).To(tok::TABLEREAD, "table"));
  keep(p.PushB(0).PushB(2).Op(tok::SUB).To(tok::TABLEREAD, "tableEnd"));
  keep(p.PushB(0).PushB(2).Op(tok::SUB).OpWord(tok::TABLEREAD, 4));  // the header's image length
  const uint16_t beyondEnd = p.Here() + 2;
  keep(p.PushB(0).OpWord(tok::TABLEREAD, 0xFFFE));
  const uint16_t beforeStart = p.Here() + 5;
  keep(p.PushB(0).PushB(3).Op(tok::SUB).OpWord(tok::TABLEREAD, 4));
  // 0x7FFF7FFE: twice that is -4 in 16 bits, so this reads the header word again.
  keep(p.PushW(0xFFFF).PushB(15).Op(tok::SHL).PushW(0x7FFE).Op(tok::OR).OpWord(tok::TABLEREAD, 4));
  p.Op(tok::END).Label("table").Word(0x1234).Word(0xBEEF).Label("tableEnd");
  RunAll(m, p);
  EXPECT_EQ(keep.Read(m), (std::vector<int32_t>{0xBEEF, 0x1234, int32_t(p.Image().size()), 0, 0,
                                                 int32_t(p.Image().size())}));
  EXPECT_EQ(m.Reports(), (std::vector<TReport>{{kNoSuchMemory, beyondEnd}, {kNoSuchMemory, beforeStart}}));
}

TEST(Tokens, PinsAndPortsGoThroughHooksAndLatch) {
  TTestMachine m;
  m.ad[2] = 1023, m.pins[4] = -1, m.ports[1] = 0xA5;
  TTokenProgram p;
  TKeeper keep(p);
  p.Op(tok::PINTOGGLE, 3).Op(tok::PINTOGGLE, 3).Op(tok::PINPULSE, 5).PushB(1).Op(tok::PORTWRITE, 1);
  p.Op(tok::PINTOGGLE, 8).PushW(0x8001).Op(tok::WPORTWRITE, 1).Op(tok::PINTOGGLE, 31).Op(tok::PINTOGGLE, 24);
  p.Op(tok::PINTOGGLE, 23).Op(tok::PINPULSE, 23);
  keep(p.Op(tok::ADREAD, 2)), keep(p), keep(p.Op(tok::PINREAD, 4)), keep(p.Op(tok::PORTREAD, 1));
  p.PushB(9).Op(tok::PORTWRITE, 5).PushB(0).Op(tok::PINWRITE, 33);  // no latch there, hooks still called
  p.Op(tok::DEACTWPORT, 1).PushB(7).Op(tok::DAWRITE, 1).Op(tok::END);
  RunAll(m, p);
  EXPECT_EQ(m.Calls(), (std::vector<std::string>{
      "SetBaud(19200)", "WritePort(0,0)", "DeactPort(0)", "WritePort(1,0)", "DeactPort(1)", "WritePort(2,0)",
      "DeactPort(2)", "WritePort(3,0)", "DeactPort(3)", "WriteDA(0,0)", "WriteDA(1,0)", "WritePin(3,-1)",
      "WritePin(3,0)", "WritePin(5,-1)", "WritePin(5,0)", "WritePort(1,1)", "WritePin(8,0)",
      "WriteWordPort(1,32769)", "WritePin(31,-1)", "WritePin(24,0)", "WritePin(23,0)", "WritePin(23,-1)",
      "WritePin(23,0)", "WritePort(5,9)", "WritePin(33,0)", "DeactPort(2)", "DeactPort(3)", "WriteDA(1,7)"}));
  EXPECT_EQ(keep.Read(m), (std::vector<int32_t>{255, 1023, -1, 0xA5}));
}

TEST(Tokens, ControlFlowAndEndRestartKeepingMemory) {
  TTestMachine m;
  TTokenProgram p;
  p.To(tok::GOTO, "a").PrintStr("X").Label("a").PushB(0).To(tok::JUMPF, "b").PrintStr("X");
  p.Label("b").PushB(1).To(tok::JUMPF, "c").PrintStr("1").Label("c").To(tok::GOSUB, "s").PrintStr("3");
  p.PushB(0).Op(tok::MBYTEREAD, 0).PushB(1).Op(tok::ADD).Op(tok::DUP).PushB(0).Op(tok::MBYTEWRITE, 0);
  p.Op(tok::PRINTNUM).Op(tok::END).Label("s").PrintStr("2").Op(tok::RETURN);
  m.Load(p);
  EXPECT_EQ(m.Run().end, TSliceEnd::Ended);
  EXPECT_EQ(m.GetDebugState().programCounter, 4);
  EXPECT_EQ(m.Run().end, TSliceEnd::Ended);
  EXPECT_EQ(m.Output(), "12311232");
}

TEST(Tokens, ProgramCounterWrapsIntoHeader) {
  TTestMachine m(Sizes(1024, 64));
  TTokenProgram p;
  // Plant "GOTO 40" in the header, where the fetch after the last byte lands.
  p.PushB(tok::GOTO).PushB(0).Op(tok::MBYTEWRITE, 3).PushB(0).PushB(1).Op(tok::MBYTEWRITE, 3);
  p.PushB(40).PushB(2).Op(tok::MBYTEWRITE, 3).OpWord(tok::GOTO, 62);
  while (p.Here() < 40) p.Byte(0);
  p.PushB(0).Op(tok::MWORDWRITE, 0).Op(tok::END);
  while (p.Here() < 62) p.Byte(0);
  RunAll(m, p.PushB(7));
  EXPECT_EQ(m.ReadMemory(0, 0, 2), std::string("\0\7", 2));
  EXPECT_TRUE(m.Reports().empty());
}

TEST(Tokens, LoadProgramWritesHeaderAndWraps) {
  TTestMachine m(Sizes(1024, 256));
  std::string image(261, '\0'), expected(256, '\0');
  for (size_t k = 0; k < image.size(); ++k) image[k] = static_cast<char>(k * 7 + 3);
  for (size_t k = 0; k < image.size(); ++k) expected[(k + 4) % 256] = image[k];
  expected.replace(0, 4, std::string("\x01\x05\x00\x00", 4));  // length 261, empty data file
  m.LoadProgram(image, 10, 20);
  EXPECT_EQ(m.ReadMemory(3, 256 - 34, 256), expected);  // views start behind the two lengths
}

}  // namespace
}  // namespace zarvek::test
