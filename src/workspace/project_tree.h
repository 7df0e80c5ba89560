// The project tree as captions and click actions: the window builds its tree widget from
// TTreeNode and executes the action a click gives.
#pragma once

#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "compiler/compiler.h"
#include "hc05/asm_symbols.h"
#include "project/project.h"
#include "simulation/variable_view.h"

namespace zarvek::workspace {

enum class TTreeActionKind {
  None,
  ShowBasicPage,
  ShowAssemblerPage,
  AssemblerLine,  // show the assembler page with the caret on `line` (0-based)
  ModuleJump,     // open `file` as a module jump
  SelectObject,   // select cell `x`, `y` of the object grid
  ObjectsNode,    // the node of the objects ("Hardware"): pasting targets the grid's cell
};

struct TTreeAction {
  TTreeActionKind kind = TTreeActionKind::None;
  std::string file;
  int32_t line = 0;
  int x = 0, y = 0;
  bool operator==(const TTreeAction&) const = default;
};

struct TTreeNode {
  std::string caption;  // UTF-8
  int image = -1;       // picture of the main image list; -1: the window's default
  TTreeAction click;
  std::vector<TTreeNode> children;
  bool changed = false;  // a variable whose value changed since the previous pause
  // What names the node among its siblings from one build to the next: the caption
  // without the sizes and values that change.
  std::string key;
};

inline constexpr int kLabelNodeImage = 40;
inline constexpr int kModuleNodeImage = 41;
inline constexpr const char* kVariablesNode = "Variablen";

// What the tree shows; the sizes come from the last build (none before the first).
struct TTreeContent {
  std::string fileName;  // the current file's name without folder; empty while untitled
  bool untitled = true;
  std::optional<size_t> basicBytes;      // token image length
  std::optional<size_t> assemblerBytes;  // machine code length
  std::vector<hc05::TAsmSymbol> assemblerSymbols;
  std::vector<TIncludeRecord> includes;
  std::vector<TObjectNode> objects;
  // The variables of a paused simulation by call frame; nothing while no run is paused
  // (a resumed run keeps the last pause's).
  std::optional<std::vector<TVariableNode>> variables;
};

// "BASIC (N Bytes)", "BASIC (1 Byte)", or "BASIC" without a size.
std::string BasicCaption(std::optional<size_t> bytes);

// Root (the file name, "(unbenannt)" while untitled) with "Assembler" (its labels as
// children, sorted), "BASIC", "Module" (one child per included module) when there are
// modules, and "Simulator" when there are objects or paused variables: "Hardware" (one
// child per object) and "Variablen" (the frame branches, in call order, with their
// variables as the view ordered them).
TTreeNode BuildProjectTree(const TTreeContent& content);

// The nodes the user folded, so that a tree rebuilt after a compile or at every pause
// opens as the user left it; all others are shown unfolded. A node is known by the keys
// on its way from the root; a key repeated among siblings (the frames of a recursive
// FUNCTION) is told apart by its occurrence.
class TTreeFolding {
 public:
  // The paths of the node's children, given the node's own path (the root's is "").
  static std::vector<std::string> ChildPaths(const std::string& path, const TTreeNode& node);
  void SetFolded(const std::string& path, bool folded);
  bool Folded(const std::string& path) const { return m_folded.count(path) != 0; }

 private:
  std::set<std::string> m_folded;
};

}  // namespace zarvek::workspace
