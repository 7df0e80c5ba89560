// Any byte string is a program image: whatever it does, the machine must stay inside its
// memories and keep running. The first bytes choose the profile, the run mode, some
// input and the line table; the rest is the image.
#include <cstddef>
#include <cstdint>
#include <string>

#include "quiet_machine.h"

namespace {

using namespace zarvek;

class TFuzzMachine final : public test::TQuietMachine {
 public:
  TFuzzMachine(bool large, std::string input)
      : TQuietMachine(large ? 2048 : 1024, large ? 65535 : 32745), m_input(std::move(input)) {}

 protected:
  int32_t ReadPin(int pin) override { return pin & 1 ? -1 : 0; }
  int32_t ReadPort(int port) override { return port * 37 & 0xFF; }
  int32_t ReadWordPort(int w) override { return w * 4099 & 0xFFFF; }
  int32_t ReadAD(int ch) override { return ch * 101 & 0x3FF; }
  int32_t ReadFreq(int n) override { return n; }
  void ReportError(const TMachineReport&) override { SetRunMode(TRunMode::Pause); }
  void TakeInput(std::string& received) override {
    // A character every fifth time the machine asks, like a slow line.
    if (!m_input.empty() && ++m_calls % 5 == 0) {
      received.push_back(m_input.back());
      m_input.pop_back();
    }
  }

 private:
  std::string m_input;
  uint64_t m_calls = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  const uint8_t flags = data[0];
  const auto runMode = static_cast<TRunMode>((flags >> 1) % 5);
  const uint8_t lineStride = static_cast<uint8_t>(data[1] | 1);
  const size_t inputLength = std::min<size_t>(data[2] % 48, size - 3);
  const std::string input(reinterpret_cast<const char*>(data + 3), inputLength);
  const std::string image(reinterpret_cast<const char*>(data + 3 + inputLength), size - 3 - inputLength);

  TFuzzMachine machine((flags & 1) != 0, input);
  std::vector<TLineRecord> lines;
  for (uint32_t offset = 0; offset < image.size() + 8 && lines.size() < 400; offset += lineStride)
    lines.push_back(TLineRecord{offset, offset / lineStride + 1, offset, kMainSourceOrigin, uint8_t(offset % 3 == 0)});
  if ((flags & 0x40) == 0) machine.SetLineTable(lines);
  machine.LoadProgram(image, flags, data[1]);

  uint64_t tokens = 0;
  for (int slice = 0; slice < 400 && tokens < 20000; ++slice) {
    machine.SetRunMode(runMode);
    if (slice == 3) machine.RaiseInterrupt();
    const TSliceResult r = machine.RunSlice(2000);
    tokens += r.tokens + 1;
  }
  // The views the debugger reads from a paused machine.
  const TDebugState state = machine.GetDebugState();
  machine.LookupLine(static_cast<uint32_t>(state.programCounter));
  for (uint8_t space = 0; space < 10; ++space) machine.ReadMemory(space, flags * 1000u, 70);
  machine.ReadFrame(data[1] % 40, flags, 40);
  return 0;
}
