// TSerialEeprom: the serial EEPROM chip of the Tessel boards as a slave on a two-wire (I2C)
// bus. The controller bit-bangs SDA and SCL on port A; the engine shows the slave one
// observation of both lines per step. Both lines are open-drain with pull-ups, as on the
// board: SDA is low when the controller or the chip pulls it low, high otherwise.
//
// Protocol: start (SDA falls while SCL stays high), device byte $A0 (write) or $A1 (read),
// two word-address bytes high first, then data. Bits are taken on the rising SCL edge; the
// slave changes SDA only after a falling edge, so it never fakes a start or stop. A write
// collects bytes in a 64-byte page buffer and stores them at the stop condition; a read
// sends bytes from the word address on for as long as the master acknowledges them.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace zarvek::hc05 {

class TSerialEeprom {
 public:
  static constexpr uint32_t kCapacity = 65536;  // the largest chip
  static constexpr uint32_t kPageSize = 64;
  static constexpr uint8_t kDeviceAddress = 0xA0;

  TSerialEeprom();

  // The size the compiler chose (8192, or 65535 for the large EEPROM); clamped to 1..65536.
  // Word addresses beyond the chip wrap at the next power of two, as the chip ignores the
  // address bits it does not have.
  void SetSize(uint32_t size);
  uint32_t Size() const { return m_size; }
  std::vector<uint8_t>& Bytes() { return m_bytes; }  // always kCapacity bytes, erased to $FF
  const std::vector<uint8_t>& Bytes() const { return m_bytes; }
  uint8_t At(uint32_t address) const { return m_bytes[address & m_mask]; }

  // The address the next read or write uses; the runtime reads the token program here.
  uint16_t WordAddress() const { return m_wordAddress; }

  // Back to idle with both lines seen high; the array and the word address stay.
  void ResetBus();

  // One observation of the bus lines: the level the controller puts on SDA (high when it
  // drives high or lets go) and SCL. Returns the SDA line level, the chip's pull included.
  bool Observe(bool sda, bool scl);

 private:
  enum class TState : uint8_t { Idle, DeviceAddress, WordHigh, WordLow, Write, Read };
  enum class TPhase : uint8_t {
    Bits,        // shifting a byte in or out
    AckOut,      // the slave holds SDA low for the acknowledge clock
    AckIn,       // the master acknowledges a byte the slave sent
    Ignore,      // not addressed, or the master ended a read: wait for start or stop
  };

  void Start();
  void Stop();
  void RisingClock(bool sda);
  bool FallingClock();  // the chip's new SDA output: false pulls low
  void ByteReceived();
  bool SendBit();
  void StorePage();

  std::vector<uint8_t> m_bytes;
  uint32_t m_size = 8192;
  uint32_t m_mask = 8191;
  uint16_t m_wordAddress = 0;
  TState m_state = TState::Idle;
  TPhase m_phase = TPhase::Bits;
  uint8_t m_bitCount = 0;
  uint8_t m_shift = 0;
  bool m_ackPending = false;  // a received byte is to be acknowledged at the next falling edge
  bool m_masterAck = false;
  bool m_out = true;  // the chip's SDA output; true lets the line go
  bool m_prevSda = true;
  bool m_prevScl = true;
  std::array<uint8_t, kPageSize> m_page{};
  uint32_t m_written = 0;  // data bytes of the current write transfer
};

}  // namespace zarvek::hc05
