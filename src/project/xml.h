// TXML: the small XML reader and writer of project files. It knows elements and character
// content only; attributes, namespaces and comments are not understood. Its quirks are the
// file format that users' projects rely on: a tag with attributes becomes an element
// whose name holds them, content of only blanks and line breaks is dropped, and closing
// tags match by exact text.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace zarvek {

class TElementDocXML {
 public:
  std::string Text;  // character content, bytes as in the file
  std::string Name;  // the whole tag text
  std::vector<std::unique_ptr<TElementDocXML>> Children;

  // Appends a child with empty content and returns it.
  TElementDocXML* AddChild(std::string name);
  // The direct children named exactly `name` (case-sensitive), in document order.
  std::vector<TElementDocXML*> FindChildren(std::string_view name) const;
  // The first child named `name`, or nullptr.
  TElementDocXML* FindChild(std::string_view name) const;
  TElementDocXML* FirstChild() const;
};

// Tokens of an XML text, as LoadFromString sees them.
struct TXmlToken {
  bool tag = false;   // the text between "<" and ">"; otherwise character content
  std::string text;   // untrimmed
};

// Splits a text into tag and content tokens. CDATA sections join the content verbatim.
// False for a CDATA section without its "]]>".
bool TokenizeXml(std::string_view text, std::vector<TXmlToken>& tokens);

// No project file nests deeper than a few levels; the bound keeps a hostile file from
// exhausting the stack when the tree is destroyed or written.
inline constexpr size_t kMaxXmlDepth = 256;

// Why the last load failed.
enum class TXmlFailure { None, Malformed, TooDeep };

class TXML {
 public:
  TXML();
  // Fired whenever a file cannot be read or a text cannot be parsed.
  std::function<void(TXML& sender)> OnXMLError;

  // Reads the file whole and parses it; a missing or unreadable file clears the document,
  // fires OnXMLError and gives false.
  bool LoadFromFile(const std::string& fileName);
  // Parses a text; an empty text or a malformed one clears the document, fires OnXMLError
  // and gives false. A text without any tag gives true and an empty document.
  bool LoadFromString(std::string_view text);
  // The 43-character declaration, then the document element serialised.
  std::string SaveToString() const;
  void Clear();
  // Clear, then a document element with that name, which is returned.
  TElementDocXML* NewDocument(std::string name);
  TElementDocXML* DocumentElement() const;
  TXmlFailure LastFailure() const { return m_failure; }

 private:
  bool Fail(TXmlFailure why = TXmlFailure::Malformed);
  TXmlFailure m_failure = TXmlFailure::None;
  std::unique_ptr<TElementDocXML> m_root;  // unnamed; the document element is its first child
};

inline constexpr std::string_view kXmlDeclaration = "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>";

// "<name>" + text + children + "</name>".
std::string SerializeElement(const TElementDocXML& element);

}  // namespace zarvek
