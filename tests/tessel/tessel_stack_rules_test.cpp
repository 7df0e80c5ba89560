// The stack rules of the Tessel operating system with the compiler's Tessel sequences:
// FUNCTION results survive the statements that follow their assignment, on Tessel 1.1
// (result on the stack) and on Micro (result in byte 23).
#include <gtest/gtest.h>

#include "tessel_rig.h"

namespace zarvek::tessel {
namespace {

struct TRuleCase {
  const char* name;
  const char* body;      // statements of FUNCTION f(a) after "f = a * 2"
  const char* output;    // of PRINT 1000 + f(3); 2000 + f(7)
};

class TesselStackRules : public ::testing::TestWithParam<TRuleCase> {};

std::string Program(const TRuleCase& c, bool micro) {
  const std::string type = micro ? "BYTE" : "INTEGER";
  return "DIM r, k AS " + type + "\r\nSUB bump\r\nr = r + 1\r\nEND SUB\r\nFUNCTION f(a AS " + type +
         ")\r\nf = a * 2\r\n" + c.body + "END FUNCTION\r\nPRINT 100 + f(3); \" \"; 200 + f(7); \" \"; r\r\n" +
         "END\r\nmore:\r\nr = r + 1\r\nRETURN\r\n";
}

void Check(const TRuleCase& c, TTesselVariant v) {
  TRig rig(v);
  ASSERT_TRUE(rig.LoadBasic(Program(c, v == TTesselVariant::Micro)));
  rig.engine.Environment().receiveText = "1\r2\r3\r4\r";
  EXPECT_EQ(rig.Run(), TRunEnd::Idle);
  EXPECT_EQ(rig.Output(), c.output);
  EXPECT_EQ(rig.badFetches, 0);
  // The processor stack keeps clear of the system's RAM: $F1 on Micro, $DB on Tessel 1.1.
  EXPECT_GE(rig.lowestSp + 1, v == TTesselVariant::Micro ? 0xF1 : 0xDB);
}

TEST_P(TesselStackRules, Tessel11) { Check(GetParam(), TTesselVariant::Tessel11); }
TEST_P(TesselStackRules, Micro) { Check(GetParam(), TTesselVariant::Micro); }

const TRuleCase kRuleCases[] = {
    {"Nothing", "", "106 214 0\r\n"},
    {"Assignment", "r = r + 1\r\n", "106 214 2\r\n"},
    {"IfWithElse", "IF a > 5 THEN\r\nr = r + 1\r\nELSE\r\nr = r + 10\r\nEND IF\r\n", "106 214 11\r\n"},
    {"IfWithoutElse", "IF a > 5 THEN\r\nr = r + 1\r\nEND IF\r\n", "106 214 1\r\n"},
    {"SingleLineIf", "IF a > 5 THEN r = r + 1\r\n", "106 214 1\r\n"},
    {"ElseIf", "IF a > 5 THEN\r\nr = r + 1\r\nELSEIF a > 1 THEN\r\nr = r + 10\r\nEND IF\r\n",
     "106 214 11\r\n"},
    {"PrintText", "PRINT \"x\";\r\n", "x106 x214 0\r\n"},
    {"PrintTwoNumbers", "PRINT a; a;\r\n", "33106 77214 0\r\n"},
    {"ForNext", "FOR k = 1 TO 3\r\nr = r + 1\r\nNEXT\r\n", "106 214 6\r\n"},
    {"ExitFor", "FOR k = 1 TO 3\r\nIF k = 2 THEN EXIT FOR\r\nr = r + 1\r\nNEXT\r\n", "106 214 2\r\n"},
    {"DoWhile", "k = 0\r\nDO WHILE k < 3\r\nk = k + 1\r\nLOOP\r\nr = r + k\r\n", "106 214 6\r\n"},
    {"DoLoopUntil", "k = 0\r\nDO\r\nk = k + 1\r\nLOOP UNTIL k = 3\r\nr = r + k\r\n", "106 214 6\r\n"},
    {"DoExitDo", "k = 0\r\nDO\r\nk = k + 1\r\nIF k = 3 THEN EXIT DO\r\nLOOP\r\nr = r + k\r\n",
     "106 214 6\r\n"},
    {"CallSub", "CALL bump\r\nGOSUB more\r\n", "106 214 4\r\n"},
    {"InputTwo", "INPUT k, r\r\n", "106 214 4\r\n"},
    {"SelectCase",
     "SELECT CASE a\r\nCASE 3\r\nr = r + 1\r\nCASE 4 TO 9\r\nr = r + 10\r\nCASE ELSE\r\nr = r + "
     "100\r\nEND SELECT\r\n",
     "106 214 11\r\n"},
};

INSTANTIATE_TEST_SUITE_P(FunctionBodies, TesselStackRules, ::testing::ValuesIn(kRuleCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zarvek::tessel

namespace zarvek::tessel {
namespace {

TEST(TesselStrings, PrintingAStringVariableKeepsItsReference) {
  TRig rig;
  ASSERT_TRUE(rig.LoadBasic(
      "CONST name$ = \"Zarvek\"\r\nDIM s$ AS STRING\r\nDIM t$ AS STRING = \"initial\"\r\n"
      "PRINT \"[\"; s$; \"]\"\r\nPRINT t$\r\ns$ = \"assigned\"\r\nPRINT s$; \" \"; LEN(s$)\r\n"
      "s$ = name$\r\nt$ = s$\r\nPRINT s$, t$\r\nPRINT s$\r\n"
      "FUNCTION shout(n AS INTEGER)\r\nPRINT t$; \"!\";\r\nshout = n + 1\r\nEND FUNCTION\r\n"
      "PRINT shout(4); t$\r\n"));
  EXPECT_EQ(rig.Run(), TRunEnd::Idle);
  EXPECT_EQ(rig.Output(),
            "[]\r\ninitial\r\nassigned 8\r\nZarvek Zarvek\r\nZarvek\r\nZarvek!5Zarvek\r\n");
  EXPECT_EQ(rig.badFetches, 0);
}

}  // namespace
}  // namespace zarvek::tessel

namespace zarvek::tessel {
namespace {

// The IRQ handler runs between tokens, in the middle of expressions and FUNCTION calls of
// the main program, with loops and blocks of its own: nothing of the interrupted
// computation may change.
TEST(TesselInterrupts, TheHandlerLeavesTheInterruptedExpressionAlone) {
  TRig rig;
  ASSERT_TRUE(rig.LoadBasic(
      "DIM hits, total, i AS INTEGER\r\nSUB INTERRUPT\r\nDIM j AS INTEGER\r\nFOR j = 1 TO 3\r\n"
      "IF j = 2 THEN\r\nhits = hits + 1\r\nEND IF\r\nNEXT\r\nDO\r\nj = j - 1\r\nLOOP UNTIL j = 0\r\n"
      "PRINT \"*\";\r\nEND SUB\r\nFUNCTION sq(x AS INTEGER)\r\nsq = x * x\r\nEND FUNCTION\r\n"
      "INTERRUPT ON\r\nFOR i = 1 TO 200\r\n"
      "total = total + (i MOD 7) * 3 + sq(i MOD 5) - (i AND 3)\r\nNEXT\r\nPRINT total; \" \"; hits\r\n"));
  rig.interruptAfter = {500, 1501, 3002, 4503, 6004};
  ASSERT_EQ(rig.Run(), TRunEnd::Idle);
  int total = 0;
  for (int i = 1; i <= 200; ++i) total += (i % 7) * 3 + (i % 5) * (i % 5) - (i & 3);
  EXPECT_EQ(rig.Output(), "*****" + std::to_string(total) + " 5\r\n");
  EXPECT_EQ(rig.badFetches, 0);
}

}  // namespace
}  // namespace zarvek::tessel

namespace zarvek::tessel {
namespace {

// A SUB's statements leave their cells on the stack (only FUNCTIONs drop them): called
// from a FUNCTION in the middle of an expression, a SUB with a long loop must not reach
// the pending operands of its callers.
TEST(TesselStackRules, ASubsLeftoversStayInItsFrame) {
  for (auto v : {TTesselVariant::Tessel11, TTesselVariant::Micro}) {
    TRig rig(v);
    ASSERT_TRUE(rig.LoadBasic(
        "DIM r, k AS BYTE\r\nSUB noisy\r\nFOR k = 1 TO 40\r\nr = r + 1\r\nIF k > 0 THEN r = r + 0\r\n"
        "NEXT\r\nEND SUB\r\nFUNCTION g(a AS BYTE)\r\nCALL noisy\r\ng = a * 2\r\nEND FUNCTION\r\n"
        "PRINT 100 + (3 + g(5)) * 2; \" \"; r\r\nGOSUB more\r\nPRINT 7 + g(1); \" \"; r\r\nEND\r\n"
        "more:\r\nFOR k = 1 TO 30\r\nr = r + 1\r\nNEXT\r\nRETURN\r\n"));
    EXPECT_EQ(rig.Run(), TRunEnd::Idle);
    EXPECT_EQ(rig.Output(), "126 40\r\n9 110\r\n");
    EXPECT_EQ(rig.badFetches, 0);
  }
}

}  // namespace
}  // namespace zarvek::tessel
