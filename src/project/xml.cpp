// TXML: tree building, serialising and the document operations.
#include "project/xml.h"

#include "project/file_io.h"

namespace zarvek {

namespace {

enum class TBuild { Done, Malformed, TooDeep };

// Builds the document element from the tokens after the first tag token: the root takes
// exactly one element, and whatever follows its closing tag is ignored.
TBuild BuildTree(const std::vector<TXmlToken>& tokens, size_t i, TElementDocXML& root) {
  std::vector<TElementDocXML*> path{&root};
  while (i < tokens.size()) {
    TElementDocXML& e = *path.back();
    const TXmlToken& t = tokens[i++];
    // Only a tag closes an element: content that reads "/name" stays content.
    if (t.tag && t.text.size() == e.Name.size() + 1 && t.text[0] == '/' && t.text.compare(1, e.Name.size(), e.Name) == 0) {
      path.pop_back();
      if (path.size() <= 1) return TBuild::Done;
    } else if (t.tag) {
      if (path.size() > kMaxXmlDepth) return TBuild::TooDeep;
      path.push_back(e.AddChild(t.text));
    } else {
      e.Text = t.text;
    }
  }
  return TBuild::Malformed;  // the document element was never closed
}

}  // namespace

TElementDocXML* TElementDocXML::AddChild(std::string name) {
  Children.push_back(std::make_unique<TElementDocXML>());
  Children.back()->Name = std::move(name);
  return Children.back().get();
}

std::vector<TElementDocXML*> TElementDocXML::FindChildren(std::string_view name) const {
  std::vector<TElementDocXML*> found;
  for (const auto& child : Children)
    if (child->Name == name) found.push_back(child.get());
  return found;
}

TElementDocXML* TElementDocXML::FindChild(std::string_view name) const {
  for (const auto& child : Children)
    if (child->Name == name) return child.get();
  return nullptr;
}

TElementDocXML* TElementDocXML::FirstChild() const { return Children.empty() ? nullptr : Children.front().get(); }

TXML::TXML() : m_root(std::make_unique<TElementDocXML>()) {}

bool TXML::Fail(TXmlFailure why) {
  Clear();
  m_failure = why;
  if (OnXMLError) OnXMLError(*this);
  return false;
}

bool TXML::LoadFromFile(const std::string& fileName) {
  const TFileContent file = ReadFileBytes(fileName, filelimit::kProjectFile);
  if (file.status != TReadStatus::Ok) return Fail();
  return LoadFromString(file.bytes);
}

bool TXML::LoadFromString(std::string_view text) {
  Clear();
  m_failure = TXmlFailure::None;
  if (text.empty()) return Fail();
  std::vector<TXmlToken> tokens;
  if (!TokenizeXml(text, tokens)) return Fail();
  size_t first = 0;
  while (first < tokens.size() && !tokens[first].tag) ++first;
  if (first == tokens.size()) return true;
  switch (BuildTree(tokens, first, *m_root)) {
    case TBuild::Done: break;
    case TBuild::Malformed: return Fail();
    case TBuild::TooDeep: return Fail(TXmlFailure::TooDeep);
  }
  return true;
}

std::string SerializeElement(const TElementDocXML& element) {
  std::string out = "<" + element.Name + ">" + element.Text;
  for (const auto& child : element.Children) out += SerializeElement(*child);
  return out + "</" + element.Name + ">";
}

std::string TXML::SaveToString() const {
  std::string out(kXmlDeclaration);
  if (const TElementDocXML* document = DocumentElement()) out += SerializeElement(*document);
  return out;
}

void TXML::Clear() { m_root->Children.clear(); }

TElementDocXML* TXML::NewDocument(std::string name) {
  Clear();
  return m_root->AddChild(std::move(name));
}

TElementDocXML* TXML::DocumentElement() const { return m_root->FirstChild(); }

}  // namespace zarvek
