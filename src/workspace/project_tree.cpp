#include "workspace/project_tree.h"

#include <algorithm>
#include <map>

#include "hc05/assembler.h"
#include "text/cp1252.h"
#include "text/names.h"
#include "workspace/paths.h"
#include "workspace/texts.h"

namespace zarvek::workspace {

namespace {

TTreeAction Act(TTreeActionKind kind) {
  TTreeAction a;
  a.kind = kind;
  return a;
}

TTreeNode AssemblerNode(const TTreeContent& content) {
  TTreeNode node{content.assemblerBytes ? hc05::AsmSizeCaption(*content.assemblerBytes, true) : std::string("Assembler"), -1, Act(TTreeActionKind::ShowAssemblerPage), {}, false, "Assembler"};
  std::vector<const hc05::TAsmSymbol*> labels;
  for (const hc05::TAsmSymbol& s : content.assemblerSymbols)
    if (s.kind == hc05::asmsymbol::Label) labels.push_back(&s);
  std::stable_sort(labels.begin(), labels.end(), [](const auto* a, const auto* b) {
    return UpperCase(a->name) < UpperCase(b->name);
  });
  for (const hc05::TAsmSymbol* s : labels) {
    TTreeAction click = Act(TTreeActionKind::AssemblerLine);
    click.line = s->line;
    node.children.push_back({Cp1252ToUtf8(s->name), kLabelNodeImage, click, {}, false, s->name});
  }
  return node;
}

TTreeNode ModulesNode(const std::vector<TIncludeRecord>& includes) {
  TTreeNode node{"Module", -1, Act(TTreeActionKind::None), {}, false, "Module"};
  for (const TIncludeRecord& r : includes) {
    TTreeAction click = Act(TTreeActionKind::ModuleJump);
    click.file = r.fileName;
    const std::string caption = r.moduleName.empty() ? ModuleDisplayName(r.fileName) : Cp1252ToUtf8(r.moduleName);
    node.children.push_back({caption, kModuleNodeImage, click, {}, false, r.fileName});
  }
  return node;
}

// "name=value", "[3]=value", "member: value", "name[...]", "name...": the part before
// the value.
std::string VariableKey(const std::string& text) {
  return text.substr(0, std::min(text.find('='), text.find(": ")));
}

TTreeNode VariableNode(const TVariableNode& v) {
  TTreeNode node{Cp1252ToUtf8(v.text), v.image, Act(TTreeActionKind::None), {}, v.changed, VariableKey(v.text)};
  for (const TVariableNode& child : v.children) node.children.push_back(VariableNode(child));
  return node;
}

TTreeNode SimulatorNode(const TTreeContent& content) {
  TTreeNode simulator{"Simulator", -1, Act(TTreeActionKind::None), {}, false, "Simulator"};
  if (!content.objects.empty()) {
    TTreeNode hardware{"Hardware", -1, Act(TTreeActionKind::ObjectsNode), {}, false, "Hardware"};
    for (const TObjectNode& o : content.objects) {
      TTreeAction click = Act(TTreeActionKind::SelectObject);
      click.x = o.x;
      click.y = o.y;
      hardware.children.push_back({Cp1252ToUtf8(o.name), o.image, click, {}, false, o.name});
    }
    simulator.children.push_back(std::move(hardware));
  }
  if (content.variables) {
    TTreeNode variables{kVariablesNode, -1, Act(TTreeActionKind::None), {}, false, kVariablesNode};
    for (const TVariableNode& branch : *content.variables) variables.children.push_back(VariableNode(branch));
    simulator.children.push_back(std::move(variables));
  }
  return simulator;
}

}  // namespace

std::string BasicCaption(std::optional<size_t> bytes) {
  if (!bytes) return "BASIC";
  return "BASIC (" + std::to_string(*bytes) + (*bytes == 1 ? " Byte)" : " Bytes)");
}

TTreeNode BuildProjectTree(const TTreeContent& content) {
  TTreeNode root{content.untitled || content.fileName.empty() ? std::string(kUntitledTab) : content.fileName, -1, Act(TTreeActionKind::None), {}, false, ""};
  root.children.push_back(AssemblerNode(content));
  root.children.push_back({BasicCaption(content.basicBytes), -1, Act(TTreeActionKind::ShowBasicPage), {}, false, "BASIC"});
  if (!content.includes.empty()) root.children.push_back(ModulesNode(content.includes));
  if (!content.objects.empty() || content.variables) root.children.push_back(SimulatorNode(content));
  return root;
}

std::vector<std::string> TTreeFolding::ChildPaths(const std::string& path, const TTreeNode& node) {
  std::vector<std::string> paths;
  std::map<std::string, int> seen;
  for (const TTreeNode& child : node.children) {
    const int occurrence = seen[child.key]++;
    // The separators cannot occur in names or file paths.
    paths.push_back(path + '\x1F' + child.key + '\x1E' + std::to_string(occurrence));
  }
  return paths;
}

void TTreeFolding::SetFolded(const std::string& path, bool folded) {
  if (folded)
    m_folded.insert(path);
  else
    m_folded.erase(path);
}

}  // namespace zarvek::workspace
