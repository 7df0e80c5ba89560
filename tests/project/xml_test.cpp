// TXML: the reader's quirks that project files rely on, malformed input, and the writer.
#include <gtest/gtest.h>

#include "project/xml.h"

namespace zarvek {
namespace {

// The tree as "name[text](children...)" for compact expectations.
std::string Shape(const TElementDocXML* e) {
  if (!e) return "none";
  std::string s = e->Name + "[" + e->Text + "]";
  if (e->Children.empty()) return s;
  s += "(";
  for (size_t k = 0; k < e->Children.size(); ++k) s += (k ? "," : "") + Shape(e->Children[k].get());
  return s + ")";
}

std::string Parsed(std::string_view text) {
  TXML xml;
  int errors = 0;
  xml.OnXMLError = [&](TXML&) { ++errors; };
  const bool ok = xml.LoadFromString(text);
  if (ok != (errors == 0)) return "inconsistent";
  return ok ? Shape(xml.DocumentElement()) : "error";
}

TEST(Xml, ReadsElementsAndTheirContent) {
  EXPECT_EQ(Parsed("<?xml version=\"1.0\"?>junk<a><b>x</b><c></c></a>"), "a[](b[x],c[])");
  // Content keeps its line breaks; content of blanks only is dropped; a later text of the
  // same element replaces an earlier one.
  EXPECT_EQ(Parsed("<a>\r\n x \r\n</a>"), "a[\r\n x \r\n]");
  EXPECT_EQ(Parsed("<a> \r\n\t</a>"), "a[]");
  EXPECT_EQ(Parsed("<a>one<b/x></b/x>two</a>"), "a[two](b/x[])");
  // Whatever follows the document element is ignored.
  EXPECT_EQ(Parsed("<a></a><b></b>trailing"), "a[]");
  // A text without any tag is an empty document, an empty text an error.
  EXPECT_EQ(Parsed("just text"), "none");
  EXPECT_EQ(Parsed(""), "error");
}

TEST(Xml, KeepsTheFormatsQuirks) {
  // A tag with attributes is a name with them; closing tags match by exact text.
  EXPECT_EQ(Parsed("<a x=\"1\"><b>t</b></a x=\"1\">"), "a x=\"1\"[](b[t])");
  EXPECT_EQ(Parsed("<a><b>t</B></b></a>"), "error");
  // An empty-element tag names an element that never closes.
  EXPECT_EQ(Parsed("<a><b/></a>"), "error");
  EXPECT_EQ(Parsed("<A></a>"), "error");
}

TEST(Xml, ContentThatLooksLikeMarkupSurvives) {
  // Only a tag closes an element, and only a tag can be the declaration.
  EXPECT_EQ(Parsed("<a><b>/b</b></a>"), "a[](b[/b])");
  EXPECT_EQ(Parsed("<a>?xml stays</a>"), "a[?xml stays]");
}

TEST(Xml, CdataIsTakenVerbatim) {
  EXPECT_EQ(Parsed("<a><![CDATA[x < y && <b>]]></a>"), "a[x < y && <b>]");
  EXPECT_EQ(Parsed("<a>p<![cdata[<q>]]>r</a>"), "a[p<q>r]");
  EXPECT_EQ(Parsed("<a><![CDATA[]]></a>"), "a[]");
  // Without its end the section would swallow the rest unseen: malformed.
  EXPECT_EQ(Parsed("<a><![CDATA[x</a>"), "error");
}

TEST(Xml, MalformedAndTruncatedTextsFailCleanly) {
  EXPECT_EQ(Parsed("<a><b>x</b>"), "error");
  EXPECT_EQ(Parsed("<a><b"), "error");
  EXPECT_EQ(Parsed("<project><system>tessel-1.1</system><basic><source>x"), "error");
  EXPECT_EQ(Parsed("</>"), "none");
  // Deep nesting is refused instead of exhausting the stack.
  std::string deep;
  for (int k = 0; k < 100000; ++k) deep += "<a>";
  EXPECT_EQ(Parsed(deep), "error");
  std::string nested;
  for (int k = 0; k < 100; ++k) nested += "<a>";
  for (int k = 0; k < 100; ++k) nested += "</a>";
  EXPECT_NE(Parsed(nested), "error");
}

TEST(Xml, AFailedLoadClearsTheDocument) {
  TXML xml;
  ASSERT_TRUE(xml.LoadFromString("<a></a>"));
  EXPECT_FALSE(xml.LoadFromString("<a>"));
  EXPECT_EQ(xml.DocumentElement(), nullptr);
  int errors = 0;
  xml.OnXMLError = [&](TXML&) { ++errors; };
  EXPECT_FALSE(xml.LoadFromFile("/nonexistent/zarvek/file.xml"));
  EXPECT_EQ(errors, 1);
}

TEST(Xml, WritesTheDeclarationAndTheTreeWithoutLineBreaks) {
  TXML xml;
  EXPECT_EQ(kXmlDeclaration.size(), 43u);
  TElementDocXML* root = xml.NewDocument("project");
  root->AddChild("x")->Text = "1 < 2";  // content is written as it is
  root->AddChild("y")->AddChild("z");
  EXPECT_EQ(xml.SaveToString(),
            "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><project><x>1 < 2</x><y><z></z></y></project>");
  EXPECT_EQ(root->FindChildren("x").size(), 1u);
  EXPECT_EQ(root->FindChildren("X").size(), 0u);
  EXPECT_EQ(root->FirstChild()->Name, "x");
}

}  // namespace
}  // namespace zarvek
