#include "project/project_xml.h"

#include "project/integer_text.h"

namespace zarvek {

namespace {

std::string ReplaceAll(std::string_view text, std::string_view from, std::string_view to) {
  std::string out;
  size_t at = 0;
  for (size_t found; (found = text.find(from, at)) != std::string_view::npos; at = found + from.size())
    out.append(text.substr(at, found - at)).append(to);
  return out.append(text.substr(at));
}

std::string BreakpointText(const std::vector<int32_t>& lines) {
  std::string text;
  for (int32_t line : lines) text += std::to_string(line) + " ";
  return text;
}

void AddSourcePart(TElementDocXML& project, const char* name, const std::string& source,
                   const std::vector<int32_t>& breakpoints) {
  TElementDocXML* part = project.AddChild(name);
  part->AddChild("source")->Text = EscapeSource(source);
  part->AddChild("breakpoint")->Text = BreakpointText(breakpoints);
}

// Names and parameter texts go into the file as they are. A "<" in one would end its
// content early and leave a file that no longer opens, so such a text goes as a CDATA
// section, which every reader of the format takes verbatim.
std::string PlainContent(std::string_view text) {
  if (text.find('<') == std::string_view::npos) return std::string(text);
  return "<![CDATA[" + ReplaceAll(text, "]]>", "]]]]><![CDATA[>") + "]]>";
}

void AddObject(TElementDocXML& simulator, const TSimObject& o, int x, int y) {
  TElementDocXML* e = simulator.AddChild("object");
  const TObjectClass* cls = ObjectClassOfType(o.type);
  e->AddChild("class")->Text = cls ? std::string(cls->fileName) : "unknown";
  if (cls)
    for (size_t slot = 0; slot < cls->parameters.size(); ++slot)
      e->AddChild(std::string(cls->parameters[slot].first))->Text = PlainContent(o.slots[slot].text);
  e->AddChild("name")->Text = PlainContent(o.name);
  e->AddChild("x")->Text = std::to_string(x);
  e->AddChild("y")->Text = std::to_string(y);
}

const std::string* ChildText(const TElementDocXML& e, std::string_view name) {
  const TElementDocXML* child = e.FindChild(name);
  return child ? &child->Text : nullptr;
}

std::string SourceOf(const TElementDocXML& project, std::string_view part) {
  const TElementDocXML* e = project.FindChild(part);
  const std::string* text = e ? ChildText(*e, "source") : nullptr;
  return text ? UnescapeSource(*text) : std::string();
}

// Reads one object; false ends the reading of objects (an element is missing), and what
// was read so far stays.
bool ReadObject(const TElementDocXML& e, TProject& project, std::vector<TObjectNode>& nodes) {
  const std::string* xText = ChildText(e, "x");
  const std::string* yText = ChildText(e, "y");
  const std::string* name = ChildText(e, "name");
  if (!xText || !yText || !name) return false;
  const int32_t x = ParseInteger(*xText).value_or(0), y = ParseInteger(*yText).value_or(0);
  if (!InGrid(x, y)) return true;  // no cell to hold it
  TSimObject& o = project.At(x, y);
  o = TSimObject{};
  o.name = CutText(*name, kObjectNameLength);
  nodes.push_back({o.name, -1, x, y});
  const std::string* className = ChildText(e, "class");
  if (!className) return false;
  const TObjectClass* cls = ObjectClassNamed(*className);
  if (!cls) return true;  // stays an empty cell, which the next save leaves out
  o.type = cls->type;
  o.pictureIndex = cls->pictureIndex;
  nodes.back().image = cls->treeImage;
  for (size_t slot = 0; slot < cls->parameters.size(); ++slot) {
    const std::string* text = ChildText(e, cls->parameters[slot].first);
    if (!text) return false;
    o.slots[slot] = {CutText(*text, kSlotTextLength), cls->parameters[slot].second};
  }
  return true;
}

void ReadObjects(const TElementDocXML& project, TProject& target, std::vector<TObjectNode>& nodes) {
  const TElementDocXML* simulator = project.FindChild("simulator");
  if (!simulator) return;
  for (const TElementDocXML* e : simulator->FindChildren("object"))
    if (!ReadObject(*e, target, nodes)) return;
}

}  // namespace

std::string EscapeSource(std::string_view text) {
  return ReplaceAll(ReplaceAll(ReplaceAll(text, "&", "&amp;"), "<", "&lt;"), ">", "&gt;");
}

std::string UnescapeSource(std::string_view text) {
  return ReplaceAll(ReplaceAll(ReplaceAll(text, "&lt;", "<"), "&gt;", ">"), "&amp;", "&");
}

void BuildProjectDocument(const TProject& project, TXML& xml) {
  TElementDocXML* root = xml.NewDocument("project");
  root->AddChild("system")->Text = std::string(ProfileFileValue(project.profile));
  AddSourcePart(*root, "assembler", project.assemblerSource, project.assemblerBreakpoints);
  AddSourcePart(*root, "basic", project.basicSource, project.basicBreakpoints);
  TElementDocXML* simulator = root->AddChild("simulator");
  for (int x = 0; x < kGridColumns; ++x)
    for (int y = 0; y < kGridRows; ++y)
      if (project.At(x, y).type != objecttype::Empty) AddObject(*simulator, project.At(x, y), x, y);
}

std::string ProjectToXml(const TProject& project) {
  TXML xml;
  BuildProjectDocument(project, xml);
  return xml.SaveToString();
}

bool ReadProjectDocument(const TXML& xml, TLoadMode mode, TProject& project, std::vector<TObjectNode>& nodes) {
  const TElementDocXML* root = xml.DocumentElement();
  if (!root || root->Name != "project") return false;
  if (mode == TLoadMode::Interactive) ReadObjects(*root, project, nodes);
  const std::string* system = ChildText(*root, "system");
  project.profile = system ? ProfileFromFileValue(*system) : profile::Tessel11;
  project.basicSource = SourceOf(*root, "basic");
  project.assemblerSource = SourceOf(*root, "assembler");
  return true;
}

}  // namespace zarvek
