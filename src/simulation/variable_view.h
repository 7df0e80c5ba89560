// TVariableView: the variables of a paused program, one branch per active call frame
// from the main program to the executing procedure, values that changed since the last
// pause marked. The project tree shows it; it is rebuilt at every pause.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "runtime/interpreter.h"
#include "simulation/variable_values.h"

namespace zarvek {

namespace varimage {
inline constexpr int MainOrSub = 23;
inline constexpr int Function = 24;
inline constexpr int Simple = 48;
inline constexpr int Array = 49;
inline constexpr int Structure = 50;
}  // namespace varimage

struct TVariableNode {
  std::string text;
  int image = varimage::Simple;
  bool changed = false;  // the value differs from the one read at the previous pause
  std::vector<TVariableNode> children;
};

inline constexpr const char* kMainProgramBranch = "Hauptprogramm";

class TVariableView {
 public:
  explicit TVariableView(const TProgramSymbols& symbols) : m_symbols(symbols) {}

  // Rebuilds the branches from the paused machine; values are compared with the
  // previous pause's.
  void Rebuild(const TDebugState& state, TMachineAccess& machine, const TSimulatedHardware* hardware = nullptr);
  // The Tessel path has no call stack to read: the main program's branch only.
  void RebuildGlobals(TMachineAccess& machine, const TSimulatedHardware* hardware = nullptr) {
    Rebuild(TDebugState{}, machine, hardware);
  }
  // A stop forgets the branches and both pauses' values.
  void Discard();

  const std::vector<TVariableNode>& Branches() const { return m_branches; }
  // The procedure symbol whose code holds a token address; -1 for the main program.
  int ProcedureAt(uint32_t address) const;

 private:
  void AddVariables(TVariableNode& branch, int scope, uint8_t frame, size_t branchIndex, TVariableReader& reader);
  void Record(TVariableNode& node, const std::string& key, const std::string& raw);

  const TProgramSymbols& m_symbols;
  std::vector<TVariableNode> m_branches;
  std::map<std::string, std::string> m_previous, m_current;  // value key -> raw bytes
};

}  // namespace zarvek
