// Captions and clicks of the project tree.
#include <gtest/gtest.h>

#include "workspace/project_tree.h"

namespace zarvek::workspace {
namespace {

std::vector<std::string> Captions(const TTreeNode& node) {
  std::vector<std::string> c;
  for (const TTreeNode& child : node.children) c.push_back(child.caption);
  return c;
}

TEST(ProjectTree, NewProject) {
  const TTreeNode root = BuildProjectTree({});
  EXPECT_EQ(root.caption, "(unbenannt)");
  EXPECT_EQ(Captions(root), (std::vector<std::string>{"Assembler", "BASIC"}));
  EXPECT_EQ(root.children[0].click.kind, TTreeActionKind::ShowAssemblerPage);
  EXPECT_EQ(root.children[1].click.kind, TTreeActionKind::ShowBasicPage);
}

TEST(ProjectTree, SizesAndSingularByte) {
  EXPECT_EQ(BasicCaption(std::nullopt), "BASIC");
  EXPECT_EQ(BasicCaption(1), "BASIC (1 Byte)");
  EXPECT_EQ(BasicCaption(0), "BASIC (0 Bytes)");
  EXPECT_EQ(BasicCaption(142), "BASIC (142 Bytes)");
  TTreeContent c;
  c.assemblerBytes = 12;
  EXPECT_EQ(BuildProjectTree(c).children[0].caption, "Assembler (12 Bytes)");
}

TEST(ProjectTree, FullProject) {
  TTreeContent c;
  c.fileName = "Ampel.xml";
  c.untitled = false;
  c.basicBytes = 20;
  c.assemblerSymbols = {{"zeit", "300", 4, hc05::asmsymbol::Label},
                        {"Start", "257", 0, hc05::asmsymbol::Label},
                        {"MAXW", "#5", 1, hc05::asmsymbol::Constant},
                        {"ende", "270", 9, hc05::asmsymbol::Label}};
  TIncludeRecord named;
  named.fileName = "/p/lib/Anzeige.xml";
  named.moduleName = "Display";
  TIncludeRecord unnamed;
  unnamed.fileName = "/p/lib/Tasten.XML";
  c.includes = {named, unnamed};
  c.objects = {{"LED1", 32, 0, 1}, {"Schalter", 35, 3, 4}};

  const TTreeNode root = BuildProjectTree(c);
  EXPECT_EQ(root.caption, "Ampel.xml");
  EXPECT_EQ(Captions(root), (std::vector<std::string>{"Assembler", "BASIC (20 Bytes)", "Module", "Simulator"}));
  // Labels sorted without regard to case, constants left out; a click goes to the line.
  EXPECT_EQ(Captions(root.children[0]), (std::vector<std::string>{"ende", "Start", "zeit"}));
  EXPECT_EQ(root.children[0].children[2].click.kind, TTreeActionKind::AssemblerLine);
  EXPECT_EQ(root.children[0].children[2].click.line, 4);
  EXPECT_EQ(root.children[0].children[2].image, kLabelNodeImage);

  const TTreeNode& modules = root.children[2];
  EXPECT_EQ(Captions(modules), (std::vector<std::string>{"Display", "Tasten"}));
  EXPECT_EQ(modules.children[1].image, kModuleNodeImage);
  EXPECT_EQ(modules.children[1].click.kind, TTreeActionKind::ModuleJump);
  EXPECT_EQ(modules.children[1].click.file, "/p/lib/Tasten.XML");

  const TTreeNode& simulator = root.children[3];
  ASSERT_EQ(Captions(simulator), (std::vector<std::string>{"Hardware"}));
  const TTreeNode& led = simulator.children[0].children[0];
  EXPECT_EQ(led.caption, "LED1");
  EXPECT_EQ(led.image, 32);
  EXPECT_EQ(simulator.children[0].children[1].click.kind, TTreeActionKind::SelectObject);
  EXPECT_EQ(simulator.children[0].children[1].click.x, 3);
  EXPECT_EQ(simulator.children[0].children[1].click.y, 4);
}

TEST(ProjectTree, CaptionsAreShownInUtf8) {
  TTreeContent c;
  c.objects = {{"Gr\xfcn", 34, 0, 0}};  // cp1252 ü
  EXPECT_EQ(BuildProjectTree(c).children[2].children[0].children[0].caption, "Grün");
}

// What a pause inside a FUNCTION called from a SUB leaves: three frames in call order.
std::vector<TVariableNode> PausedFrames() {
  TVariableNode main{kMainProgramBranch, varimage::MainOrSub, false, {}};
  main.children = {{"a=1", varimage::Simple, true, {}},
                   {"feld[...]", varimage::Array, false, {{"[0]=4", varimage::Simple, false, {}}, {"[1]=5", varimage::Simple, true, {}}}},
                   {"s=\"\xe4\"", varimage::Simple, false, {}}};
  TVariableNode sub{"zeige", varimage::MainOrSub, false, {{"n=2", varimage::Simple, false, {}}}};
  TVariableNode function{"fak", varimage::Function, false, {{"x=-32768", varimage::Simple, true, {}}}};
  return {main, sub, function};
}

TEST(ProjectTree, PausedVariablesHangUnderSimulatorAfterTheHardware) {
  TTreeContent c;
  c.objects = {{"LED1", 32, 0, 1}};
  c.variables = PausedFrames();
  const TTreeNode root = BuildProjectTree(c);
  const TTreeNode& simulator = root.children.back();
  ASSERT_EQ(Captions(simulator), (std::vector<std::string>{"Hardware", "Variablen"}));
  const TTreeNode& variables = simulator.children[1];
  // The frames in call order, the main program first, as the view gave them.
  EXPECT_EQ(Captions(variables), (std::vector<std::string>{"Hauptprogramm", "zeige", "fak"}));
  EXPECT_EQ(variables.children[0].image, varimage::MainOrSub);
  EXPECT_EQ(variables.children[2].image, varimage::Function);
  const TTreeNode& main = variables.children[0];
  EXPECT_EQ(Captions(main), (std::vector<std::string>{"a=1", "feld[...]", "s=\"ä\""}));  // shown in UTF-8
  EXPECT_EQ(main.children[1].image, varimage::Array);
  // Changed values keep their mark down to the array elements; the others carry none.
  EXPECT_TRUE(main.children[0].changed);
  EXPECT_FALSE(main.children[1].changed);
  EXPECT_FALSE(main.children[1].children[0].changed);
  EXPECT_TRUE(main.children[1].children[1].changed);
  EXPECT_TRUE(variables.children[2].children[0].changed);
  EXPECT_FALSE(variables.children[1].changed);
  // Variable nodes do nothing when clicked; the objects node takes a paste.
  EXPECT_EQ(main.children[0].click.kind, TTreeActionKind::None);
  EXPECT_EQ(simulator.children[0].click.kind, TTreeActionKind::ObjectsNode);
}

TEST(ProjectTree, TheVariablesNodeExistsOnlyWhilePaused) {
  TTreeContent c;
  EXPECT_EQ(Captions(BuildProjectTree(c)), (std::vector<std::string>{"Assembler", "BASIC"}));
  // Paused with no objects: the simulator node carries the variables alone.
  c.variables = PausedFrames();
  const TTreeNode paused = BuildProjectTree(c);
  ASSERT_EQ(Captions(paused), (std::vector<std::string>{"Assembler", "BASIC", "Simulator"}));
  EXPECT_EQ(Captions(paused.children[2]), (std::vector<std::string>{"Variablen"}));
  // A program without variables still shows its frame.
  c.variables = std::vector<TVariableNode>{{kMainProgramBranch, varimage::MainOrSub, false, {}}};
  EXPECT_EQ(Captions(BuildProjectTree(c).children[2].children[0]), (std::vector<std::string>{"Hauptprogramm"}));
  // Stopped: gone again, the objects stay.
  c.variables.reset();
  c.objects = {{"LED1", 32, 0, 1}};
  EXPECT_EQ(Captions(BuildProjectTree(c).children[2]), (std::vector<std::string>{"Hardware"}));
}

// The path of the node reached by child indices from the root.
std::string PathTo(const TTreeNode& root, std::initializer_list<size_t> steps) {
  std::string path;
  const TTreeNode* node = &root;
  for (const size_t k : steps) {
    path = TTreeFolding::ChildPaths(path, *node).at(k);
    node = &node->children.at(k);
  }
  return path;
}

TEST(ProjectTree, AFoldedNodeIsKnownAgainAfterSizesAndValuesChanged) {
  TTreeContent c;
  c.assemblerBytes = 12;
  c.basicBytes = 20;
  c.variables = PausedFrames();
  const TTreeNode before = BuildProjectTree(c);
  TTreeFolding folding;
  folding.SetFolded(PathTo(before, {0}), true);           // "Assembler (12 Bytes)"
  folding.SetFolded(PathTo(before, {2, 0, 0, 1}), true);  // "feld[...]" in the main program
  folding.SetFolded(PathTo(before, {2, 0, 0, 0}), true);  // "a=1"

  // Compiled again and paused once more: other sizes, other values.
  c.assemblerBytes = 30;
  c.basicBytes = 1;
  std::vector<TVariableNode> frames = PausedFrames();
  frames[0].children[0].text = "a=2";
  frames[0].children[1].children[1].text = "[1]=6";
  // A variable that comes before the array now (a new frame's, say, or another program's).
  frames[0].children.insert(frames[0].children.begin() + 1, {"b=0", varimage::Simple, false, {}});
  c.variables = frames;
  const TTreeNode after = BuildProjectTree(c);
  EXPECT_TRUE(folding.Folded(PathTo(after, {0})));
  EXPECT_FALSE(folding.Folded(PathTo(after, {1})));  // BASIC, whose size changed as well
  EXPECT_TRUE(folding.Folded(PathTo(after, {2, 0, 0, 0})));   // "a=2"
  EXPECT_FALSE(folding.Folded(PathTo(after, {2, 0, 0, 1})));  // "b=0"
  EXPECT_TRUE(folding.Folded(PathTo(after, {2, 0, 0, 2})));   // "feld[...]"
  // The same name elsewhere is another node: an array "feld" of the SUB's frame.
  frames[1].children.push_back({"feld[...]", varimage::Array, false, {}});
  c.variables = frames;
  EXPECT_FALSE(folding.Folded(PathTo(BuildProjectTree(c), {2, 0, 1, 1})));
  EXPECT_TRUE(folding.Folded(PathTo(BuildProjectTree(c), {2, 0, 0, 2})));

  folding.SetFolded(PathTo(after, {0}), false);
  EXPECT_FALSE(folding.Folded(PathTo(after, {0})));
}

TEST(ProjectTree, TheFramesOfARecursiveFunctionFoldEachOnItsOwn) {
  TTreeContent c;
  TVariableNode call{"fak", varimage::Function, false, {{"n=3", varimage::Simple, false, {}}}};
  c.variables = std::vector<TVariableNode>{{kMainProgramBranch, varimage::MainOrSub, false, {}}, call, call, call};
  const TTreeNode root = BuildProjectTree(c);
  const std::string outer = PathTo(root, {2, 0, 1}), inner = PathTo(root, {2, 0, 3});
  EXPECT_NE(outer, inner);
  TTreeFolding folding;
  folding.SetFolded(outer, true);
  EXPECT_TRUE(folding.Folded(outer));
  EXPECT_FALSE(folding.Folded(PathTo(root, {2, 0, 2})));
  EXPECT_FALSE(folding.Folded(inner));
  // A string's value may hold '=' and ": " without making the node another one.
  TVariableNode record{"r...", varimage::Structure, false, {{"x: \"a=b: c\"", varimage::Simple, false, {}}}};
  c.variables = std::vector<TVariableNode>{{kMainProgramBranch, varimage::MainOrSub, false, {record}}};
  folding.SetFolded(PathTo(BuildProjectTree(c), {2, 0, 0, 0, 0}), true);
  record.children[0].text = "x: \"\"";
  c.variables = std::vector<TVariableNode>{{kMainProgramBranch, varimage::MainOrSub, false, {record}}};
  EXPECT_TRUE(folding.Folded(PathTo(BuildProjectTree(c), {2, 0, 0, 0, 0})));
}

}  // namespace
}  // namespace zarvek::workspace
