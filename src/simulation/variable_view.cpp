#include "simulation/variable_view.h"

#include <algorithm>

#include "base/tokens.h"
#include "text/names.h"

namespace zarvek {

int TVariableView::ProcedureAt(uint32_t address) const {
  const std::vector<Tlabel>& symbols = m_symbols.Basic();
  int best = -1;
  for (size_t i = 0; i < symbols.size(); ++i) {
    const Tlabel& s = symbols[i];
    if ((s.kind & Kinds(kind::Sub, kind::Function)) == 0 || s.address > address) continue;
    if (best < 0 || s.address > symbols[static_cast<size_t>(best)].address) best = static_cast<int>(i);
  }
  if (best < 0) return -1;
  // The hidden label behind a procedure's last token: beyond it lies main program code.
  const Tlabel& p = symbols[static_cast<size_t>(best)];
  const std::string endName = (HasKind(p.kind, kind::Function) ? ".fun" : ".sub") + p.name;
  for (const Tlabel& s : symbols)
    if (s.name == endName && s.address <= address) return -1;
  return best;
}

void TVariableView::Record(TVariableNode& node, const std::string& key, const std::string& raw) {
  const auto before = m_previous.find(key);
  node.changed = before != m_previous.end() && before->second != raw;
  m_current[key] = raw;
}

void TVariableView::AddVariables(TVariableNode& branch, int scope, uint8_t frame, size_t branchIndex,
                                 TVariableReader& reader) {
  const std::vector<Tlabel>& symbols = m_symbols.Basic();
  for (size_t i = 0; i < symbols.size(); ++i) {
    const Tlabel& s = symbols[i];
    if (s.scope != scope || !TVariableReader::IsVariable(s)) continue;
    const std::string key = std::to_string(branchIndex) + ":" + std::to_string(i) + ":";
    const Tlabel* structure = nullptr;
    if (HasKind(s.kind, kind::StructVar)) {
      const int index = std::atoi(s.value.c_str());
      if (index >= 0 && static_cast<size_t>(index) < symbols.size()) structure = &symbols[static_cast<size_t>(index)];
    }
    uint32_t structureSize = 0;
    if (structure) structureSize = static_cast<uint32_t>(std::max<size_t>(1, structure->bitPattern.size()));
    auto members = [&](TVariableNode& parent, uint32_t element, const std::string& elementKey) {
      for (size_t m = 0; structure && m < structure->attributes.size(); ++m) {
        const TAttribute& a = structure->attributes[m];
        const TValueRead v = reader.ReadMember(s, a, frame, element, structureSize);
        TVariableNode node{a.name + ": " + v.text, varimage::Simple, false, {}};
        Record(node, elementKey + "." + std::to_string(m), v.raw);
        parent.children.push_back(std::move(node));
      }
    };
    if (HasKind(s.kind, kind::Array)) {
      TVariableNode node{s.name + "[...]", varimage::Array, false, {}};
      const int32_t lower = s.bounds.size() == 1 ? s.bounds[0].lower : 0;
      const uint32_t count = TVariableReader::ElementCount(s);
      for (uint32_t e = 0; e < count; ++e) {
        const std::string index = "[" + std::to_string(int64_t{lower} + e) + "]";
        if (structure) {
          TVariableNode element{index + "...", varimage::Structure, false, {}};
          members(element, e, key + std::to_string(e));
          node.children.push_back(std::move(element));
        } else {
          const TValueRead v = reader.Read(s, frame, e);
          TVariableNode element{index + "=" + v.text, varimage::Simple, false, {}};
          Record(element, key + std::to_string(e), v.raw);
          node.children.push_back(std::move(element));
        }
      }
      branch.children.push_back(std::move(node));
    } else if (structure) {
      TVariableNode node{s.name + "...", varimage::Structure, false, {}};
      members(node, 0, key + "0");
      branch.children.push_back(std::move(node));
    } else {
      const TValueRead v = reader.Read(s, frame);
      TVariableNode node{s.name + "=" + v.text, varimage::Simple, false, {}};
      Record(node, key + "0", v.raw);
      branch.children.push_back(std::move(node));
    }
  }
  // Variables alphabetically; frames stay in call order, elements in index order.
  std::stable_sort(branch.children.begin(), branch.children.end(),
                   [](const TVariableNode& a, const TVariableNode& b) { return UpperCase(a.text) < UpperCase(b.text); });
}

void TVariableView::Rebuild(const TDebugState& state, TMachineAccess& machine, const TSimulatedHardware* hardware) {
  m_branches.clear();
  m_previous = std::move(m_current);
  m_current.clear();
  TVariableReader reader(machine, hardware);

  const size_t depth = std::min<size_t>(state.callDepth, state.callStack.size());
  std::vector<uint32_t> addresses;
  for (size_t k = depth; k-- > 0;) addresses.push_back(state.callStack[k]);  // oldest first
  addresses.push_back(static_cast<uint32_t>(state.instructionStart));

  // A call entry opens a local frame only when a procedure call made it (not GOSUB).
  uint8_t frame = 0;
  for (size_t j = 0; j < addresses.size(); ++j) {
    if (j > 0) {
      const std::string call = machine.ReadProgram(addresses[j - 1] - 3, 1);
      if (call.empty() || static_cast<uint8_t>(call[0]) == tok::CALLF) ++frame;
    }
    const int procedure = ProcedureAt(addresses[j]);
    TVariableNode branch;
    if (procedure < 0) {
      branch.text = kMainProgramBranch;
      branch.image = varimage::MainOrSub;
    } else {
      const Tlabel& p = m_symbols.Basic()[static_cast<size_t>(procedure)];
      branch.text = p.name;
      branch.image = HasKind(p.kind, kind::Function) ? varimage::Function : varimage::MainOrSub;
    }
    AddVariables(branch, procedure, procedure < 0 ? 0 : frame, j, reader);
    m_branches.push_back(std::move(branch));
  }
}

void TVariableView::Discard() {
  m_branches.clear();
  m_previous.clear();
  m_current.clear();
}

}  // namespace zarvek
