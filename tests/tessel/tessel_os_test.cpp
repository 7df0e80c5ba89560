// The Tessel operating system on the emulated controller: token groups run from the
// serial EEPROM, results read from RAM, ports and the serial output.
#include <gtest/gtest.h>

#include "runtime/interpreter.h"
#include "tessel_rig.h"

namespace zarvek::tessel {
namespace {

std::string Bytes(std::initializer_list<int> bytes) {
  std::string s;
  for (int b : bytes) s.push_back(static_cast<char>(b));
  return s;
}

TEST(TesselImage, BlocksSitAtTheirFixedAddresses) {
  for (auto v : {TTesselVariant::Tessel11, TTesselVariant::Micro}) {
    const auto& image = RuntimeImage(v);
    EXPECT_EQ(image.system.size(), 5494u);
    EXPECT_EQ(image.identification.size(), 97u);
    EXPECT_EQ(image.identification.rfind("TESEL", 0), 0u);
    EXPECT_EQ(image.table.size(), 201u);
    EXPECT_EQ(image.vectors.size(), 14u);
    EXPECT_LE(SystemBytesUsed(v), 5494u);
    EXPECT_EQ(Symbol(v, "TOKFETCH"), kTokenFetchAddress);
    EXPECT_EQ(Symbol(v, "SELHELP"), kSelectHelperAddress);
    EXPECT_EQ(Symbol(v, "SELHELP1"), kSelectReloadAddress);
  }
  EXPECT_EQ(Symbol(TTesselVariant::Micro, "MICRO"), 1);
  EXPECT_EQ(Symbol(TTesselVariant::Tessel11, "MICRO"), 0);
}

TEST(TesselOs, AnEmptyEepromLeavesTheBoardIdle) {
  TRig rig;
  rig.engine.Reset(true);
  EXPECT_EQ(rig.Run(100000), TRunEnd::Idle);
  EXPECT_TRUE(rig.fetched.empty());
}

TEST(TesselOs, PushAndStoreWords) {
  TRig rig;
  // PUSHW 1234, LWORDWRITE 2, PUSHW -2, LBYTEWRITE 0, END
  rig.Load(Bytes({0x14, 0x04, 0xD2, 0x1A, 0x02, 0x14, 0xFF, 0xFE, 0x19, 0x00, 0xFF}));
  ASSERT_EQ(rig.Run(), TRunEnd::Idle);
  EXPECT_EQ(rig.WordVar(2), 1234);
  EXPECT_EQ(rig.Var(0), 0xFE);
  EXPECT_EQ(rig.fetched, (std::vector<uint16_t>{4, 7, 9, 12, 14}));
  EXPECT_EQ(rig.badFetches, 0);
  EXPECT_EQ(rig.Cell(), -2);  // stores leave their value on the stack
}

}  // namespace
}  // namespace zarvek::tessel

namespace zarvek::tessel {
namespace {

struct TCase {
  const char* name;
  const char* source;
  const char* output;
};

class TesselBasic : public ::testing::TestWithParam<TCase> {};

TEST_P(TesselBasic, PrintsWhatTheProgramComputes) {
  TRig rig;
  ASSERT_TRUE(rig.LoadBasic(GetParam().source));
  EXPECT_EQ(rig.Run(), TRunEnd::Idle);
  EXPECT_EQ(rig.Output(), GetParam().output);
  EXPECT_EQ(rig.badFetches, 0);
}

const TCase kCases[] = {
    {"Arithmetic",
     "DIM a, b AS INTEGER\r\na = 7\r\nb = -3\r\nPRINT a + b; \" \"; a - b; \" \"; a * b; \" \"; "
     "a / b; \" \"; a MOD b; \" \"; -a / 2; \" \"; 300 * 300\r\n",
     "4 10 -21 -2 1 -3 24464\r\n"},
    {"DivisionByZeroGivesZero", "DIM a AS INTEGER\r\na = 0\r\nPRINT 5 / a; \" \"; 5 MOD a\r\n",
     "0 0\r\n"},
    {"Comparisons",
     "DIM a AS INTEGER\r\na = -5\r\nPRINT a < 3; a > 3; a = -5; a <> -5; a <= -5; a >= 0\r\n",
     "-10-10-10\r\n"},
    {"Logic", "PRINT 12 AND 10; \" \"; 12 OR 10; \" \"; 12 XOR 10; \" \"; NOT 0\r\n",
     "8 14 6 -1\r\n"},
    {"Extremes", "DIM a AS INTEGER\r\na = -32768\r\nPRINT a; \" \"; 32767; \" \"; 0\r\n",
     "-32768 32767 0\r\n"},
    {"IfElse",
     "DIM a AS BYTE\r\nFOR a = 1 TO 4\r\nIF a = 2 THEN\r\nPRINT \"two\"\r\nELSEIF a > 2 "
     "THEN\r\nPRINT \"big\"; a\r\nELSE\r\nPRINT \"one\"\r\nEND IF\r\nNEXT\r\n",
     "one\r\ntwo\r\nbig3\r\nbig4\r\n"},
    {"ForWithStep",
     "DIM i, j AS INTEGER\r\nj = 2\r\nFOR i = 20 DOWNTO 5 STEP -j * 3\r\nPRINT i; \" \";\r\nNEXT\r\n"
     "FOR i = 5 TO 4\r\nPRINT \"never\"\r\nNEXT\r\nPRINT i\r\n",
     "20 14 8 5\r\n"},
    {"DoLoops",
     "DIM n AS INTEGER\r\nn = 0\r\nDO WHILE n < 3\r\nn = n + 1\r\nLOOP\r\nDO\r\nn = n * 2\r\n"
     "LOOP UNTIL n > 20\r\nPRINT n\r\n",
     "24\r\n"},
    {"Bits",
     "DIM f, g AS BOOLEAN\r\nDIM b AS BYTE\r\nf = TRUE\r\nb = 5\r\nIF f AND NOT g THEN PRINT "
     "\"ok\"; b\r\n",
     "ok5\r\n"},
    {"SubsAndFunctions",
     "DIM g AS INTEGER\r\nSUB show(n AS INTEGER)\r\nPRINT \"n=\"; n\r\nEND SUB\r\n"
     "FUNCTION sq(x AS INTEGER)\r\nsq = x * x\r\nEND FUNCTION\r\n"
     "FUNCTION add3(a AS INTEGER, b AS INTEGER, c AS INTEGER)\r\nadd3 = a + b * 10 + c * 100\r\n"
     "END FUNCTION\r\nCALL show(5)\r\ng = 1 + sq(3) + add3(1, 2, 3)\r\nPRINT g; \" \"; sq(sq(2))\r\n",
     "n=5\r\n331 16\r\n"},
    {"GosubReturn", "DIM g AS INTEGER\r\ng = 3\r\nGOSUB twice\r\nGOSUB twice\r\nPRINT g\r\nEND\r\n"
                    "twice:\r\ng = g * 2\r\nRETURN\r\n",
     "12\r\n"},
    {"SelectCase",
     "DIM r AS INTEGER\r\nFOR r = 0 TO 5\r\nSELECT CASE r\r\nCASE 1, 2\r\nPRINT \"a\";\r\n"
     "CASE 3 TO 4\r\nPRINT \"b\";\r\nCASE ELSE\r\nPRINT \"c\";\r\nEND SELECT\r\nNEXT\r\n",
     "caabbc"},
};

INSTANTIATE_TEST_SUITE_P(Programs, TesselBasic, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zarvek::tessel

namespace zarvek::tessel {
namespace {

// Runs BASIC on the board and returns the rig for checks of RAM, ports and output.
TRig RunBasic(const std::string& source, TTesselVariant v = TTesselVariant::Tessel11,
              const std::string& input = "", long maxSteps = 3'000'000) {
  TRig rig(v);
  EXPECT_TRUE(rig.LoadBasic(source));
  rig.engine.Environment().receiveText = input;
  EXPECT_EQ(rig.Run(maxSteps), TRunEnd::Idle) << rig.Output();
  EXPECT_EQ(rig.badFetches, 0);
  return rig;
}

TEST(TesselTokens, RandFollowsTheTokenMachinesGenerator) {
  TRig rig = RunBasic(
      "DIM i AS INTEGER\r\nRANDOMIZE 1234\r\nFOR i = 1 TO 6\r\nPRINT RAND; \" \";\r\nNEXT\r\n"
      "RANDOMIZE -5\r\nPRINT RAND\r\n");
  TRandomGenerator g;
  g.SetSeed(1234);
  std::string expected;
  for (int i = 0; i < 6; ++i) expected += std::to_string(static_cast<int16_t>(g.Next())) + " ";
  g.SetSeed(static_cast<uint32_t>(-5));
  expected += std::to_string(static_cast<int16_t>(g.Next())) + "\r\n";
  EXPECT_EQ(rig.Output(), expected);
}

TEST(TesselTokens, SqrAbsMinMaxAndShifts) {
  TRig rig = RunBasic(
      "DIM a AS INTEGER\r\na = -7\r\nPRINT SQR(0); SQR(2); SQR(3); SQR(30000); \" \"; ABS(a); "
      "\" \"; MAX(a, 3); MIN(a, 3); \" \"; 1 SHL 4; \" \"; 256 SHR 3\r\n");
  EXPECT_EQ(rig.Output(), "012173 7 3-7 16 32\r\n");
}

TEST(TesselTokens, ConstantTablesAreReadFromTheEeprom) {
  TRig rig = RunBasic(
      "CONST t[4] = ARRAY{5, -6, 700, 8000}\r\nDIM i AS INTEGER\r\nFOR i = 1 TO 4\r\n"
      "PRINT t[i]; \" \";\r\nNEXT\r\n");
  EXPECT_EQ(rig.Output(), "5 -6 700 8000 ");
}

TEST(TesselTokens, PortsPinsAndTheirDirections) {
  TRig rig(TTesselVariant::Tessel11);
  ASSERT_TRUE(rig.LoadBasic(
      "DIM b AS BYTE PORT[1]\r\nDIM c AS BYTE PORT[2]\r\nDIM d AS BYTE PORT[3]\r\n"
      "DIM led AS BOOLEAN PORT[2, 3]\r\nDIM sw AS BOOLEAN PORT[3, 2]\r\nDIM v AS BYTE\r\n"
      "b = 165\r\nled = TRUE\r\nv = d\r\nIF sw THEN PRINT \"sw\";\r\nPRINT v\r\n"));
  rig.engine.Environment().analogInputs[1] = 200;  // port D bit 1: above the threshold
  rig.engine.Environment().analogInputs[0] = 10;
  ASSERT_EQ(rig.Run(), TRunEnd::Idle);
  const auto& m = rig.engine.Memory();
  EXPECT_EQ(m[0x01], 165);   // port B latch
  EXPECT_EQ(m[0x05], 0xFF);  // port B drives
  EXPECT_EQ(m[0x02] & 4, 4);  // port C bit 2
  EXPECT_EQ(m[0x06], 4);
  EXPECT_EQ(rig.Output(), "sw2\r\n");
}

TEST(TesselTokens, AnalogInputAndPlmOutputs) {
  TRig rig(TTesselVariant::Tessel11);
  ASSERT_TRUE(rig.LoadBasic("DIM a AS BYTE AD[3]\r\nDIM o AS BYTE DA[2]\r\nDIM v AS BYTE\r\n"
                            "v = a\r\no = v / 2\r\nPRINT v\r\n"));
  rig.engine.Environment().analogInputs[2] = 123;
  ASSERT_EQ(rig.Run(), TRunEnd::Idle);
  EXPECT_EQ(rig.Output(), "123\r\n");
  EXPECT_EQ(rig.engine.Environment().plmOutputs[1], 61);
}

TEST(TesselTokens, SerialInputThroughTheReceiveBuffer) {
  TRig rig = RunBasic(
      "DIM a, b AS INTEGER\r\nDIM c AS BYTE\r\nINPUT a\r\nINPUT b\r\nc = INKEY$\r\n"
      "PRINT a + b; \" \"; c; \" \"; INCOUNT\r\n",
      TTesselVariant::Tessel11, "12\r-30\rxyz");
  EXPECT_EQ(rig.Output(), "-18 120 2\r\n");
}

TEST(TesselTokens, PauseWaitsInTimerTicks) {
  TRig rig = RunBasic("DIM t AS INTEGER\r\nt = TIMER\r\nPAUSE 10\r\nt = TIMER - t\r\nPRINT t\r\n");
  EXPECT_EQ(rig.Output(), "10\r\n");
  // 20 ms ticks at a 2 MHz bus clock: ten of them cost at least 400000 cycles.
  EXPECT_GE(rig.engine.TotalCycles(), 400000u);
}

TEST(TesselTokens, SetbaudWritesTheBaudRegister) {
  TRig rig = RunBasic("SETBAUD 9615, 9615\r\nPRINT 1\r\n");
  EXPECT_EQ(rig.engine.Memory()[0x0D], 0xC0);
  TRig micro = RunBasic("SETBAUD 19200, 19200\r\nPRINT 1\r\n", TTesselVariant::Micro);
  EXPECT_EQ(micro.engine.Memory()[0x0D], 0x49);
}

TEST(TesselTokens, MachineCodeIsCalledAndReturns) {
  TRig rig;
  ASSERT_TRUE(rig.LoadBasic("DIM b AS BYTE\r\nb = 41\r\nCALL bump\r\nCALL bump\r\nPRINT b\r\n",
                            "bump     LDA b\r\n         INCA\r\n         STA b\r\n         RTS\r\n"));
  ASSERT_EQ(rig.Run(), TRunEnd::Idle);
  EXPECT_EQ(rig.Output(), "43\r\n");
  EXPECT_EQ(rig.badFetches, 0);
}

TEST(TesselTokens, MicroFunctionsReturnThroughByte23) {
  TRig rig = RunBasic(
      "DIM r AS BYTE\r\nFUNCTION twice(x AS BYTE)\r\ntwice = x * 2\r\nEND FUNCTION\r\n"
      "r = twice(21) + 1\r\nSELECT CASE r\r\nCASE 43\r\nPRINT \"yes\"; r\r\nCASE ELSE\r\nPRINT "
      "\"no\"\r\nEND SELECT\r\n",
      TTesselVariant::Micro);
  EXPECT_EQ(rig.Output(), "yes43\r\n");
}

TEST(TesselErrors, AnUnhandledErrorStopsWithItsNumberAndAddress) {
  TRig rig;
  ASSERT_TRUE(rig.LoadBasic("PRINT 1\r\nCLOSE #\r\nPRINT 2\r\n"));
  ASSERT_EQ(rig.Run(), TRunEnd::Error);
  EXPECT_EQ(rig.engine.Memory()[rig.Sym("ERRNO")], 9);
  const auto& m = rig.engine.Memory();
  EXPECT_EQ(m[rig.Sym("TOKPCH")] << 8 | m[rig.Sym("TOKPCL")], 4 + 8);  // after PRINT 1
  EXPECT_EQ(rig.Output(), "1\r\n");
}

TEST(TesselErrors, CrashRestartsTheProgramAfterACriticalError) {
  // Nested GOSUBs overflow the call stack (error 1); CRASH counts and RETURN restarts.
  TRig rig = RunBasic(
      "DIM n AS BYTE\r\nSUB CRASH(a AS INTEGER, e AS INTEGER)\r\nPRINT \"crash \"; e\r\nn = n + 1\r\n"
      "END SUB\r\nIF n < 2 THEN GOSUB deeper\r\nPRINT \"done\"\r\nEND\r\ndeeper:\r\nGOSUB deeper\r\n"
      "RETURN\r\n");
  EXPECT_EQ(rig.Output(), "crash 1\r\ncrash 1\r\ndone\r\n");
}

TEST(TesselErrors, AFullDataFileStopsBeforeTheEepromEnds) {
  // 8 KB on Tessel 1.1: the words behind the program fill up, then error 13; the program
  // and its header stay intact.
  TRig rig = RunBasic(
      "DIM i AS INTEGER\r\nDIM full AS BYTE\r\nSUB ERROR(a AS INTEGER, e AS INTEGER)\r\n"
      "PRINT \"error \"; e; \" at \"; i\r\nfull = 1\r\nEND SUB\r\nPRINT FILEFREE\r\n"
      "OPEN # FOR WRITE\r\ni = 0\r\nDO WHILE full = 0\r\nPRINT #, i\r\ni = i + 1\r\nLOOP\r\n"
      "CLOSE #\r\nPRINT FILESIZE; \" \"; FILEFREE\r\n",
      TTesselVariant::Tessel11, "", 40'000'000);
  const auto& e = rig.engine.Eeprom();
  const int length = e.At(0) << 8 | e.At(1);
  const int capacity = (8192 - 4 - length) / 2;
  EXPECT_EQ(rig.Output(), std::to_string(capacity) + "\r\nerror 13 at " + std::to_string(capacity) + "\r\n" +
                              std::to_string(capacity) + " 0\r\n");
  EXPECT_EQ(e.At(4), 0x49);  // the prologue's SETHANDLER is still there
}

TEST(TesselErrors, InvalidTokenIsCritical) {
  TRig rig;
  rig.Load(Bytes({0x14, 0x00, 0x01, 0x24, 0xFF}));
  ASSERT_EQ(rig.Run(), TRunEnd::Error);
  EXPECT_EQ(rig.engine.Memory()[rig.Sym("ERRNO")], 255);
}

}  // namespace
}  // namespace zarvek::tessel
