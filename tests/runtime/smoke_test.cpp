#include <gtest/gtest.h>

#include "test_machine.h"

namespace zarvek::test {
namespace {

TEST(Smoke, PrintsAndEnds) {
  TTestMachine m;
  TTokenProgram p;
  p.PrintStr("Hallo ").PushW(0x8000).Op(tok::PRINTNUM).Op(tok::END);
  m.Load(p);
  const TSliceResult r = m.Run();
  EXPECT_EQ(r.end, TSliceEnd::Ended);
  EXPECT_EQ(m.Output(), "Hallo -32768");
  EXPECT_TRUE(m.Reports().empty());
}

}  // namespace
}  // namespace zarvek::test
