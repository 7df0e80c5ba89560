// The Tessel operating system on the emulated controller: token groups run from the
// serial EEPROM, results read from RAM, ports and the serial output.
#include <gtest/gtest.h>

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
