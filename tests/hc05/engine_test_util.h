// A machine to run test programs on: assembles HC05 source with our assembler, loads it
// and steps the engine through its per-step services until the program reaches a label.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hc05/assembler.h"
#include "hc05/motorola_engine.h"

namespace zarvek::hc05 {

class TTestMachine {
 public:
  // Assembles the lines (start $0101 unless they ORG elsewhere), loads them and sets the PC
  // to the start. Returns false, with a test failure, when the source does not assemble.
  bool Load(const std::vector<std::string>& lines) {
    m_assembler.PreRegisterLabels(lines);
    const TAssembly a = m_assembler.Assemble(lines, {});
    if (!a.success) {
      ADD_FAILURE() << a.error->message << " in line " << a.error->line + 1;
      return false;
    }
    engine.LoadCode(a.startAddress, a.code);
    engine.Cpu().pc = static_cast<uint16_t>(a.startAddress);
    return true;
  }

  uint16_t Label(const std::string& name) const {
    int index = 0;
    if (!m_assembler.FindSymbol(name, index)) {
      ADD_FAILURE() << "no label " << name;
      return 0;
    }
    return static_cast<uint16_t>(std::stoi(m_assembler.Symbol(index)->value));
  }

  // Steps until the PC is at the label; false when it is not reached within the steps or
  // an error state stops the machine.
  bool RunTo(const std::string& label, int maxSteps = 200000) {
    const uint16_t target = Label(label);
    for (int i = 0; i < maxSteps; ++i) {
      if (engine.Cpu().pc == target) return true;
      engine.RunStep(budget);
      if (engine.ErrorState() != 0) return false;
    }
    return false;
  }

  void RunSteps(int steps) {
    for (int i = 0; i < steps; ++i) engine.RunStep(budget);
  }

  TMotorolaEngine engine;
  TSerialBudget budget{1000000, 1000000};

 private:
  TAssembler m_assembler;
};

// Sets an interrupt vector ($1FF2-$1FFE, high byte first).
inline void SetVector(TMotorolaEngine& engine, uint16_t vector, uint16_t target) {
  engine.Memory()[vector] = static_cast<uint8_t>(target >> 8);
  engine.Memory()[vector + 1] = static_cast<uint8_t>(target);
}

}  // namespace zarvek::hc05
