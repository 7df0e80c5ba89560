// The device under the serial link: a serial port, a pseudo-terminal, or an in-memory
// fake in tests. It knows nothing of protocols; it opens, closes, writes and hands
// arriving bytes to its owner.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace zarvek::link {

enum class TParity : uint8_t { ptNONE, ptODD, ptEVEN, ptMARK, ptSPACE };
enum class TStopBit : uint8_t { sbONE, sbONE5, snTWO };

struct TLineSettings {
  int32_t baud = 9600;  // 0: the device keeps the speed it has
  uint8_t dataBits = 8;
  TParity parity = TParity::ptNONE;
  TStopBit stopBits = TStopBit::sbONE;
  int32_t queueIn = 8192;
  int32_t queueOut = 8192;
};

class TPort {
 public:
  virtual ~TPort() = default;
  // False with a reason in `error` when the device cannot be opened.
  virtual bool Open(const std::string& name, const TLineSettings& settings, std::string& error) = 0;
  virtual void Close() = 0;
  virtual bool IsOpen() const = 0;
  // Queues bytes for sending without waiting for them to leave.
  virtual void Write(const std::string& data) = 0;
  // Waits up to `timeoutMs` for bytes and hands them to onData (an event-driven device
  // delivers on its own and returns at once).
  virtual void Pump(int timeoutMs) = 0;

  std::function<void(const std::string&)> onData;
  // The device went away (unplugged, the other end of a pseudo-terminal closed).
  std::function<void(const std::string&)> onLost;
};

using TPortFactory = std::function<std::unique_ptr<TPort>()>;

}  // namespace zarvek::link
