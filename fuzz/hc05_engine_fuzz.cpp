// No memory image may crash the emulated controller: the input's first 16 bytes set the
// environment (pins, inputs, received bytes, EEPROM size, reset kind, vectors), the rest
// is machine code from $0100. The machine then runs a bounded number of steps through all
// per-step services, with error states cleared so that it goes on, and the views and
// messages are read.
#include <cstddef>
#include <cstdint>
#include <string>

#include "hc05/engine_messages.h"
#include "hc05/motorola_engine.h"

using zarvek::hc05::TMotorolaEngine;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  constexpr size_t kHeader = 16;
  constexpr int kSteps = 20000;
  if (size < kHeader) return 0;
  const uint8_t* h = data;
  const std::string code(reinterpret_cast<const char*>(data + kHeader), size - kHeader);

  TMotorolaEngine engine;
  engine.Eeprom().SetSize(h[0] & 1 ? 65535 : 8192);
  engine.LoadEeprom(0, code);
  engine.LoadCode(0x0100, code.substr(0, 0x1EF2));
  for (int v = 0; v < 7; ++v) {  // every vector into the code
    const uint16_t target = static_cast<uint16_t>(0x0100 + h[1 + v]);
    engine.Memory()[0x1FF2 + 2 * v] = static_cast<uint8_t>(target >> 8);
    engine.Memory()[0x1FF3 + 2 * v] = static_cast<uint8_t>(target);
  }
  engine.Reset(h[0] & 2);
  auto& env = engine.Environment();
  for (int k = 0; k < 8; ++k) env.analogInputs[static_cast<size_t>(k)] = static_cast<uint8_t>(h[8] * (k + 1));
  env.portInputs = {h[9], h[10], h[11]};
  env.receiveText.assign(code, 0, h[12] % 64);

  zarvek::hc05::TSerialBudget budget{h[13], h[14]};
  for (int step = 0; step < kSteps; ++step) {
    if (step % 97 == 0) env.interruptPin = (h[15] >> (step / 97 % 8)) & 1;
    if (step % 61 == 0) env.capturePin = !env.capturePin;
    if (step % 1000 == 0) budget = {h[13], h[14]};
    engine.RunStep(budget);
    if (engine.ErrorState() != 0) engine.ClearErrorState();
  }
  unsigned sum = 0;
  for (uint32_t a = 0; a < 0x10000; a += 7) sum += engine.Peek(static_cast<uint16_t>(a));
  const std::string line = zarvek::hc05::RegisterLine(engine.Cpu()) +
                           zarvek::hc05::BasicPcSuffix(engine.Eeprom().WordAddress()) +
                           std::string(zarvek::hc05::EngineErrorMessage(static_cast<uint8_t>(sum)));
  return line.size() > 1000 ? -1 : 0;
}
