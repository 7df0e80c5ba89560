// The serial EEPROM on port A: driven by a bit-banged bus master in HC05 assembler (write a
// page, read it back sequentially), and the slave's protocol rules driven directly.
#include <gtest/gtest.h>

#include "engine_test_util.h"
#include "hc05/serial_eeprom.h"

namespace zarvek::hc05 {
namespace {

// SDA is port A bit 0, SCL bit 1. The master drives SCL always and SDA except while the
// slave answers; it writes the 5 bytes at $80 to EEPROM $0123, then reads them back from
// the same address into $90 (random read: address, repeated start, sequential read).
const std::vector<std::string> kMaster = {
    "PORTA    EQU $00",
    "DDRA     EQU $04",
    "COUNT    EQU $A0",
    "SHIFT    EQU $A1",
    "ACKS     EQU $A2",
    "main     LDA #3",
    "         STA PORTA",
    "         STA DDRA",
    "         CLR ACKS",
    "         JSR address",
    "         CLRX",
    "wloop    LDA $80,X",
    "         JSR sendbyte",
    "         INCX",
    "         CPX #5",
    "         BNE wloop",
    "         JSR bstop",
    "written  JSR address",
    "         JSR bstart",
    "         LDA #$A1",
    "         JSR sendbyte",
    "         CLRX",
    "rloop    JSR recvbyte",
    "         STA $90,X",
    "         INCX",
    "         CPX #5",
    "         BEQ rlast",
    "         JSR ack",
    "         BRA rloop",
    "rlast    JSR nack",
    "         JSR bstop",
    "done     BRA done",
    // start, device byte for writing, word address $0123
    "address  JSR bstart",
    "         LDA #$A0",
    "         JSR sendbyte",
    "         LDA #$01",
    "         JSR sendbyte",
    "         LDA #$23",
    "         JMP sendbyte",
    "bstart   BSET 0,DDRA",
    "         BSET 0,PORTA",
    "         BSET 1,PORTA",
    "         BCLR 0,PORTA",  // SDA falls while SCL is high
    "         BCLR 1,PORTA",
    "         RTS",
    "bstop    BSET 0,DDRA",
    "         BCLR 0,PORTA",
    "         BSET 1,PORTA",
    "         BSET 0,PORTA",  // SDA rises while SCL is high
    "         RTS",
    // sends A, most significant bit first; counts the slave's acknowledges in ACKS and
    // leaves SDA released
    "sendbyte STA SHIFT",
    "         BSET 0,DDRA",
    "         LDA #8",
    "         STA COUNT",
    "sbit     BCLR 0,PORTA",
    "         LSL SHIFT",
    "         BCC szero",
    "         BSET 0,PORTA",
    "szero    BSET 1,PORTA",
    "         BCLR 1,PORTA",
    "         DEC COUNT",
    "         BNE sbit",
    "         BCLR 0,DDRA",
    "         BSET 1,PORTA",
    "         BRSET 0,PORTA,noack",
    "         INC ACKS",
    "noack    BCLR 1,PORTA",
    "         RTS",
    // receives a byte into A while the slave drives SDA
    "recvbyte BCLR 0,DDRA",
    "         LDA #8",
    "         STA COUNT",
    "rbit     BSET 1,PORTA",
    "         BRSET 0,PORTA,rone",  // the bit goes to C
    "rone     ROL SHIFT",
    "         BCLR 1,PORTA",
    "         DEC COUNT",
    "         BNE rbit",
    "         LDA SHIFT",
    "         RTS",
    "ack      BSET 0,DDRA",
    "         BCLR 0,PORTA",
    "         BSET 1,PORTA",
    "         BCLR 1,PORTA",
    "         BCLR 0,DDRA",
    "         RTS",
    "nack     BSET 0,DDRA",
    "         BSET 0,PORTA",
    "         BSET 1,PORTA",
    "         BCLR 1,PORTA",
    "         RTS",
};

TEST(EngineEeprom, ABitBangedMasterWritesAPageAndReadsItBack) {
  TTestMachine m;
  ASSERT_TRUE(m.Load(kMaster));
  const uint8_t data[5] = {0x12, 0xFF, 0x00, 0xA5, 0x7E};
  std::copy(data, data + 5, m.engine.Memory().begin() + 0x80);
  ASSERT_TRUE(m.RunTo("written"));
  const auto& e = m.engine.Eeprom().Bytes();
  for (int i = 0; i < 5; ++i) EXPECT_EQ(e[0x0123 + i], data[i]) << i;
  EXPECT_EQ(e[0x0128], 0xFF);
  EXPECT_EQ(m.engine.Memory()[0xA2], 8);  // device byte, two address bytes, five data bytes
  EXPECT_EQ(m.engine.Eeprom().WordAddress(), 0x0128);

  ASSERT_TRUE(m.RunTo("done"));
  for (int i = 0; i < 5; ++i) EXPECT_EQ(m.engine.Memory()[0x90 + i], data[i]) << i;
  EXPECT_EQ(m.engine.Memory()[0xA2], 8 + 4);
  EXPECT_EQ(m.engine.Eeprom().WordAddress(), 0x0128);  // the BASIC PC the loop shows
  EXPECT_EQ(m.engine.ErrorState(), kEngineOk);
}

// A bus master in C++ for the slave's own rules.
class TBus {
 public:
  explicit TBus(TSerialEeprom& e) : m_e(e) {}
  void Start() { Lines(1, 1), Lines(0, 1), Lines(0, 0); }
  void Stop() { Lines(0, 0), Lines(0, 1), Lines(1, 1); }
  bool Send(uint8_t byte) {  // true when acknowledged
    for (int bit = 7; bit >= 0; --bit) Clock(byte >> bit & 1);
    return !Clock(1);
  }
  uint8_t Receive(bool acknowledge) {
    uint8_t byte = 0;
    for (int bit = 0; bit < 8; ++bit) byte = static_cast<uint8_t>(byte << 1 | Clock(1));
    Clock(!acknowledge);
    return byte;
  }
  void Write(uint16_t address, const std::vector<uint8_t>& bytes) {
    Start();
    Send(0xA0), Send(static_cast<uint8_t>(address >> 8)), Send(static_cast<uint8_t>(address));
    for (uint8_t b : bytes) Send(b);
    Stop();
  }

 private:
  // SDA 1 lets the line go: it then shows what the slave drives.
  bool Clock(bool sda) {
    Lines(sda, 0);
    Lines(sda, 1);
    const bool seen = m_line;
    Lines(sda, 0);
    return seen;
  }
  void Lines(bool sda, bool scl) { m_line = m_e.Observe(sda, scl); }
  TSerialEeprom& m_e;
  bool m_line = true;
};

TEST(EngineEeprom, AWriteOfMoreThanAPageKeepsTheLast64Bytes) {
  TSerialEeprom e;
  TBus bus(e);
  std::vector<uint8_t> bytes(70);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i + 1);
  bus.Write(0x0200, bytes);
  EXPECT_EQ(e.At(0x0200 + 5), 0xFF);  // the first six were overwritten in the page buffer
  EXPECT_EQ(e.At(0x0200 + 6), 7);
  EXPECT_EQ(e.At(0x0200 + 69), 70);
  EXPECT_EQ(e.WordAddress(), 0x0200 + 70);
}

TEST(EngineEeprom, SlaveProtocolRules) {
  TSerialEeprom e;
  TBus bus(e);
  bus.Start();
  EXPECT_FALSE(bus.Send(0xA2));  // another device
  bus.Stop();

  bus.Write(0x1FFF, {0x11, 0x22});  // the 8 KB chip wraps its address
  EXPECT_EQ(e.At(0x1FFF), 0x11);
  EXPECT_EQ(e.At(0x0000), 0x22);

  bus.Start();  // a repeated start abandons a write that was not stopped
  EXPECT_TRUE(bus.Send(0xA0));
  bus.Send(0x00), bus.Send(0x10), bus.Send(0x99);
  bus.Start();
  EXPECT_TRUE(bus.Send(0xA1));  // current-address read: after the abandoned byte
  EXPECT_EQ(bus.Receive(false), 0xFF);
  bus.Stop();
  EXPECT_EQ(e.At(0x0010), 0xFF);

  bus.Write(0x0040, {1, 2, 3});
  bus.Start();
  bus.Send(0xA0), bus.Send(0x00), bus.Send(0x40);
  bus.Start();
  bus.Send(0xA1);
  EXPECT_EQ(bus.Receive(true), 1);
  EXPECT_EQ(bus.Receive(true), 2);
  EXPECT_EQ(bus.Receive(false), 3);
  EXPECT_EQ(bus.Receive(false), 0xFF);  // after a missing acknowledge the slave is silent
  bus.Stop();
  EXPECT_EQ(e.WordAddress(), 0x0043);
}

}  // namespace
}  // namespace zarvek::hc05
