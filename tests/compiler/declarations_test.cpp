// Declarations, variable memory and assignments: the token bytes of small programs on each
// memory scheme (Tessel 1.1; Tessel Micro and 2.0; Pyxon), where the allocator puts
// variables, and the messages with their positions.
#include <gtest/gtest.h>

#include "compile_helpers.h"
#include "compiler/compiler_context.h"
#include "compiler/scanner.h"
#include "compiler/symbol_table.h"
#include "compiler/variables.h"

namespace zarvek::test {
namespace {

const Tlabel& Symbol(const TCompileResult& r, const std::string& name) {
  for (const Tlabel& s : r.symbols)
    if (s.name == name) return s;
  static const Tlabel none;
  ADD_FAILURE() << name << " not declared";
  return none;
}

// "kind address" of each named symbol, kinds in hex.
std::string Layout(const std::string& source, std::initializer_list<const char*> names,
                   TProfile profile = profile::Pyxon32) {
  const TCompileResult r = Compile(source, profile);
  if (!r.success) return "error " + std::to_string(r.error->code) + ": " + r.error->message.str();
  std::string text;
  char buffer[48];
  for (const char* name : names) {
    const Tlabel& s = Symbol(r, name);
    std::snprintf(buffer, sizeof buffer, "%s%s=%X@%lld", text.empty() ? "" : " ", name, s.kind,
                  static_cast<long long>(s.address));
    text += buffer;
  }
  return text;
}

TEST(Allocation, Tessel11FillsBitsFromTheTopByteAndPairsBytes) {
  EXPECT_EQ(Layout(Lines({"DIM a AS BOOLEAN, b AS BOOLEAN", "DIM c AS BYTE", "DIM x", "DIM d AS BYTE"}),
                   {"a", "b", "c", "x", "d"}, profile::Tessel11),
            "a=4@184 b=4@185 c=8@22 x=10@10 d=8@19");
  // Twelve words fill the 24 bytes; the thirteenth finds none.
  std::string twelve = "DIM w1, w2, w3, w4, w5, w6, w7, w8, w9, w10, w11, w12\r\n";
  EXPECT_EQ(Layout(twelve, {"w1", "w12"}, profile::Tessel11), "w1=10@11 w12=10@0");
  EXPECT_EQ(Error(twelve + "DIM w13\r\n", profile::Tessel11),
            "117 2:5 Integer: kein passender Variablen Speicher mehr vorhanden");
  EXPECT_EQ(Error(twelve + "DIM f AS BOOLEAN\r\n", profile::Tessel11),
            "117 2:5 Boolean: kein passender Variablen Speicher mehr vorhanden");
  // Ports and analogue channels take no memory.
  EXPECT_EQ(Layout(Lines({"DIM p AS BYTE PORT[1]", "DIM q AS BYTE"}), {"q"}, profile::Tessel11), "q=8@23");
}

TEST(Allocation, MicroAndTessel20SearchBitsFromTheTop) {
  const std::string source = Lines({"DIM a AS BOOLEAN, b AS BYTE, c AS BYTE", "DIM d AS BOOLEAN"});
  EXPECT_EQ(Layout(source, {"a", "b", "c", "d"}, profile::TesselMicro), "a=4@0 b=8@1 c=8@61 d=4@1");
  EXPECT_EQ(Layout(Lines({"DIM w AS WORD, b AS BYTE"}), {"w", "b"}, profile::Tessel20), "w=10@30 b=8@59");
  std::string bits = "DIM f0 AS BOOLEAN";
  for (int k = 1; k < 248; ++k) bits += ", f" + std::to_string(k) + " AS BOOLEAN";
  EXPECT_EQ(Layout(bits + "\r\n", {"f7", "f8", "f247"}, profile::Tessel20), "f7=4@7 f8=4@8 f247=4@247");
  EXPECT_EQ(Code(bits + ", g AS BOOLEAN\r\n", profile::Tessel20), 117);
  const TCompileResult micro = Compile(bits + ", g AS BOOLEAN\r\n", profile::TesselMicro);
  ASSERT_FALSE(micro.success);
  EXPECT_EQ(micro.error->message.str(), "fehlend: kein passender Variablen Speicher mehr vorhanden");
}

TEST(Allocation, PyxonMapsPackFromTheBottomAndPlaceRunsAligned) {
  EXPECT_EQ(Layout(Lines({"DIM a AS BOOLEAN, b AS BYTE, c AS WORD", "DIM d[3] AS WORD", "DIM e[10] AS BOOLEAN",
                          "DIM g AS BOOLEAN", "DIM h AS BYTE"}),
                   {"a", "b", "c", "d", "e", "g", "h"}),
            "a=4@0 b=8@1 c=10@1 d=4010@2 e=4004@80 g=4@1 h=8@12");
  // A byte array takes no alignment; a structure with words does (see the TYPE tests).
  EXPECT_EQ(Layout(Lines({"DIM b AS BYTE", "DIM s$ AS STRING * 3", "DIM w[2] AS WORD"}), {"b", "s$", "w"}),
            "b=8@0 s$=4808@1 w=4010@3");
  EXPECT_EQ(Error(Lines({"DIM a[200, 200] AS WORD"})),
            "272 1:5 Array zu groß. Reduzieren Sie die Indexgrenzen oder Dimensionen. 80000byte ");
  EXPECT_EQ(Code(Lines({"DIM a[60000] AS BYTE", "DIM b[6000] AS BYTE"})), 117);
  // At the top of the map: the last free bytes go to bits and bytes until none is left.
  const std::string top = Lines({"DIM a[65534] AS BYTE", "DIM b AS BOOLEAN", "DIM c AS BOOLEAN", "DIM d AS BYTE",
                                 "DIM e AS BOOLEAN"});
  EXPECT_EQ(Layout(top, {"b", "c", "d", "e"}), "b=4@524272 c=4@524273 d=8@65535 e=4@524274");
  EXPECT_EQ(Code(top + Lines({"DIM f AS BYTE"})), 117);
  EXPECT_EQ(Code(top + Lines({"DIM f AS WORD"})), 117);
}

TEST(Variables, TesselUseTheLocalTokens) {
  const std::string source =
      Lines({"DIM a AS BOOLEAN = 1, c AS BYTE = 7", "DIM x = 300", "c = x", "a = c", "x[9] = 1", "c[2] = a"});
  // Initialisation first: constant pushes and stores; then the statements.
  EXPECT_EQ(ImageHex(source, profile::Tessel11),
            "14 00 01 18 B8 14 00 07 19 16 14 01 2C 1A 0A "
            "17 0A 19 16 16 16 18 B8 14 00 01 18 A0 15 B8 18 B1 FF");
  // Bits 1 to 8 of a word lie in its second byte.
  EXPECT_EQ(ImageHex(Lines({"DIM x AS WORD", "x[1] = 1", "x[16] = 0"}), profile::Tessel11),
            "14 00 01 18 B8 14 00 00 18 B7 FF FF");
  // Bits of the upper bytes are beyond the local bit tokens.
  EXPECT_EQ(Error(Lines({"DIM x AS WORD", "x[9] = 1"}), profile::Tessel20),
            "222 2:2 Indizierung ist nicht möglich, da die Variable kein Array darstellt, das einen kleineren "
            "Datentyp enthalten könnte.");
}

TEST(Variables, PyxonGlobalsUseTheMemoryTokens) {
  const std::string source =
      Lines({"DIM a AS BOOLEAN = 1, c AS BYTE = 7", "DIM x = 300", "c = x", "a = c", "x[9] = 1", "c[2] = a"});
  EXPECT_EQ(ImageHex(source),
            "5A 01 5A 00 5E 00 5A 07 5A 01 5F 00 14 01 2C 5A 01 60 00 "
            "5A 01 5D 00 5A 01 5F 00 5A 01 5C 00 5A 00 5E 00 5A 01 5A 10 5E 00 5A 00 5B 00 5A 09 5E 00 FF FF");
  const TCompileResult r = Compile(source);
  EXPECT_EQ(r.programMemorySelector, 1);  // the first variable access chose the external EEPROM
  EXPECT_EQ(Symbol(r, "x").value, "300");
  EXPECT_TRUE(Symbol(r, "c").used);
}

TEST(Variables, ArrayElementsComputeTheirAddressAfterTheValue) {
  const std::string source = Lines({"DIM a[3, 2 TO 4] AS INTEGER", "DIM i AS BYTE", "a[2, 3] = 5", "i = a[i, 4]"});
  const TCompileResult r = Compile(source);
  ASSERT_TRUE(r.success);
  const Tlabel& a = Symbol(r, "a");
  ASSERT_EQ(a.bounds.size(), 2u);
  EXPECT_EQ(a.bounds[0].lower, 1);
  EXPECT_EQ(a.bounds[0].stride, 3);
  EXPECT_EQ(a.bounds[1].lower, 2);
  EXPECT_EQ(a.bounds[1].stride, 1);
  EXPECT_EQ(Hex(r.image),
            "5A 05 5A 02 5A 01 34 5A 03 35 5A 03 5A 02 34 33 5A 00 33 60 00 "
            "5A 12 5C 00 5A 01 34 5A 03 35 5A 04 5A 02 34 33 5A 00 33 5D 00 5A 12 5F 00 FF FF");
  EXPECT_EQ(Error(Lines({"DIM a[3, 3]", "a[1] = 1"})), "107 2:4 , erwartet");
  EXPECT_EQ(Error(Lines({"DIM a[3]", "a[1, 2] = 1"})), "107 2:4 ???BUG??? erwartet");
  EXPECT_EQ(Error(Lines({"DIM a[3]", "a[1) = 1"})), "107 2:4 ] erwartet");
  EXPECT_EQ(Error(Lines({"DIM a[3]", "a = 1"})), "107 2:3 [ erwartet");
}

TEST(Variables, StringStarHoldsItsLengthThenItsCharacters) {
  const std::string source = Lines({"DIM s$ AS STRING * 3", "DIM t$[2] AS STRING * 2", "s$[2] = 65",
                                    "s$ = \"hiya\"", "t$[2] = s$"});
  const TCompileResult r = Compile(source);
  ASSERT_TRUE(r.success) << r.error->message.str();
  EXPECT_EQ(Symbol(r, "s$").bounds.back().upper, 3);
  EXPECT_EQ(Symbol(r, "t$").address, 4);
  EXPECT_EQ(Hex(r.image),
            // s$[2] = 65
            "5A 41 5A 02 5A 00 33 5F 00 "
            // s$ = "hiya", cut to three characters
            "5A 03 5A 00 5F 00 5A 68 5A 01 5F 00 5A 69 5A 02 5F 00 5A 79 5A 03 5F 00 "
            // t$[2] = s$: the length limited to 2, then the characters that fit
            "5A 00 5C 00 5A 02 3B 5A 02 5A 01 34 5A 03 35 5A 04 33 5F 00 "
            "5A 01 5C 00 5A 02 5A 01 34 5A 03 35 5A 04 33 5A 01 33 5F 00 "
            "5A 02 5C 00 5A 02 5A 01 34 5A 03 35 5A 04 33 5A 02 33 5F 00 FF");
  EXPECT_EQ(Error(Lines({"DIM s$ AS STRING * 3", "s$ = s$"})), "300 2:6 Die Stringvariable darf sich nicht selbst zuweisen.");
}

TEST(Variables, StringsHoldReferencesToStringConstants) {
  const std::string source = Lines({"DIM s$ = \"ab\"", "DIM t$", "t$ = s$", "s$ = \"xyz\""});
  const TCompileResult r = Compile(source, profile::Tessel11);
  ASSERT_TRUE(r.success);
  // "~i" + code length + "." + table length + "$" for the initial value, "~" ... for the
  // assignment; a reference is the constant's address / 2 + 1.
  EXPECT_EQ(Symbol(r, "~i0.0$").address, 2);
  EXPECT_EQ(Symbol(r, "s$").value, "2");
  EXPECT_EQ(Symbol(r, "~4.8$").address, 10);
  EXPECT_EQ(Hex(r.image),
            "14 00 02 1A 0B 14 00 0B 1A 0A 17 0B 1A 0A 14 00 06 1A 0B FF "
            "00 02 00 61 00 62 00 00 00 03 00 78 00 79 00 7A 00 00 00 00 00 00");
  // The empty string that uninitialised strings refer to comes after the anonymous "A".
  EXPECT_EQ(ImageHex(Lines({"DIM s$", "s$ = CHR$(65)"})),
            "5A 05 5A 00 60 00 5A 02 5A 00 60 00 FF 00 01 00 41 00 00 00 00 00 00 FF");
  EXPECT_EQ(Error(Lines({"DIM s$", "s$ = 5"})),
            "255 2:6 Erwartet eine String Konstante oder Variable, einen \" String \" Ausdruck, Chr$ oder Str$.");
  EXPECT_EQ(Error(Lines({"DIM s$", "s$ = s$"})), "300 2:6 Die Stringvariable darf sich nicht selbst zuweisen.");
  EXPECT_EQ(Error(Lines({"CONST k$ = \"a\"", "k$ = \"b\""})),
            "242 2:1 Der linken Seite kann nichts zugewiesen werden (String Konstante).");
}

TEST(Variables, StringStarTakesAStringVariablesText) {
  // The length word lies before the character a reference points at: TABLEREAD of the
  // table area less two bytes ("<0") at reference - 1, then the characters.
  EXPECT_EQ(ImageHex(Lines({"DIM r$", "DIM s$ AS STRING * 1", "s$ = r$"})),
            "5A 02 5A 00 60 00 "
            "5A 00 5D 00 5A 01 34 1B 00 25 5A 01 3B 5A 02 5F 00 "
            "5A 00 5D 00 1B 00 25 5A 03 5F 00 FF 00 00 00 00 FF");
}

// Joined values are built at run time (the e2e program string_star_joins runs them); here
// what is refused.
TEST(Variables, StringStarJoinsRefuseWhatCannotBeText) {
  const auto declared = [](const char* statement) {
    return Lines({"DIM a$ AS STRING * 3", "DIM c$ AS STRING * 5", "DIM n", "DIM r$", statement});
  };
  EXPECT_EQ(Code(declared("c$ = a$ + b$")), 255);  // b$ is not declared
  EXPECT_EQ(Error(declared("c$ = \"x\" + c$")), "300 5:12 Die Stringvariable darf sich nicht selbst zuweisen.");
  EXPECT_EQ(Error(declared("c$ = a$ + n")),
            "255 5:11 Erwartet eine String Konstante oder Variable, einen \" String \" Ausdruck, Chr$ oder Str$.");
  EXPECT_EQ(Error(declared("c$ = a$ +")).substr(0, 3), "255");
  // A STRING refers to a constant: a STRING * n's text cannot become one.
  EXPECT_EQ(Error(declared("r$ = \"<\" + a$")), "254 5:12 Erwartet eine String Konstante. a$ ist eine Stringvariable.");
  EXPECT_EQ(Code(declared("c$ = c$ + a$ + CHR$(n) + STR$(n)")), 0);
  EXPECT_EQ(Code(declared("c$ = a$ + a$")), 0);
}

// Many procedures with locals of one name: each finds its own, the others find the global.
TEST(Variables, LocalsOfOneNameStayInTheirProcedures) {
  std::vector<std::string> keep;
  for (int k = 0; k < 50; ++k) {
    keep.push_back("SUB p" + std::to_string(k) + "()");
    keep.push_back("DIM x AS BYTE");
    keep.push_back("x = " + std::to_string(k));
    keep.push_back("END SUB");
  }
  keep.push_back("DIM x AS INTEGER");
  keep.push_back("SUB later()");
  keep.push_back("x = 1000");
  keep.push_back("END SUB");
  std::string source;
  for (const std::string& line : keep) source += line + "\r\n";
  const TCompileResult r = Compile(source);
  ASSERT_TRUE(r.success) << Describe(r);
  int locals = 0, globals = 0;
  for (const Tlabel& s : r.symbols)
    if (s.name == "x") (s.scope == -1 ? globals : locals) += 1;
  EXPECT_EQ(locals, 50);
  EXPECT_EQ(globals, 1);
  // The last SUB writes the global word (memory form), the others their local byte 0.
  EXPECT_NE(CodeHex(source).find("14 03 E8 5A 00 60 00"), std::string::npos) << CodeHex(source);
  EXPECT_EQ(Code(Lines({"SUB a()", "DIM x", "DIM x", "END SUB"})), 115);
}

TEST(Variables, PortsAndAnalogueChannelsUseTheirTokens) {
  const std::string source =
      Lines({"DIM p AS BYTE PORT[2]", "DIM q AS BOOLEAN PORT[1, 3]", "DIM w AS WORD PORT", "DIM d AS BYTE DA[2]",
             "DIM an AS BYTE AD[3]", "p = 5", "q = 1", "w = 1000", "d = 7", "p[3] = 1", "p = an + w + q"});
  EXPECT_EQ(ImageHex(source, profile::Tessel11),
            "14 00 05 0E 01 14 00 01 0D 02 14 03 E8 0F 14 00 07 11 01 14 00 01 0D 0A 10 02 0C 33 0A 02 33 0E 01 FF");
  // Pyxon names the word port and keeps the 8-bit AD reading (SWAP, DROP).
  EXPECT_EQ(ImageHex(source),
            "5A 05 0E 01 5A 01 0D 02 14 03 E8 0F 00 5A 07 11 01 5A 01 0D 0A 10 02 58 57 0C 00 33 0A 02 33 0E 01 FF");
  // A word AD input keeps the 10-bit reading; word port 2 holds byte ports 3 (high) and 4.
  EXPECT_EQ(ImageHex(Lines({"DIM v AS WORD AD[1]", "DIM w AS WORD PORT[2]", "w = v", "w[9] = 1", "w[1] = 0"}),
                     profile::Pyxon128),
            "10 00 57 0F 01 5A 01 0D 10 5A 00 0D 18 FF");
  EXPECT_EQ(Error(Lines({"DIM d AS BYTE DA[1]", "DIM b AS BYTE", "b = d"})),
            "134 3:5 Auf einen DA Port kann nur geschrieben werden. (d)");
  EXPECT_EQ(Error(Lines({"DIM a AS BYTE AD[1]", "a = 1"})), "135 2:1 Von einem AD Port kann nur gelesen werden. (a)");
  EXPECT_EQ(Error(Lines({"DIM p AS BYTE PORT[1]", "p[9] = 1"})),
            "120 2:3 Der Index muss zwischen Bit Nr. 1 und 8 liegen.");
  EXPECT_EQ(Error(Lines({"DIM q AS BOOLEAN PORT[1, 1]", "q[1] = 1"})).substr(0, 8), "222 2:2 ");
}

TEST(Variables, EepromVariablesLieBehindTheProgram) {
  const std::string source = Lines({"DIM e AS BYTE EEPROM = 9", "DIM f AS WORD IEEPROM", "DIM g AS BOOLEAN EEPROM = 1",
                                    "DIM h[4] AS WORD XEEPROM", "e = 5", "f = e", "h[2] = 7", "g = 0"});
  const TCompileResult r = Compile(source);
  ASSERT_TRUE(r.success) << r.error->message.str();
  // The external EEPROM holds the program: its variables add the program length (54
  // bytes), the internal one's do not. Initial values go into the EEPROM image.
  EXPECT_EQ(Hex(r.image),
            "5A 05 5A 00 14 00 36 33 5F 03 5A 00 14 00 36 33 5C 03 5A 00 60 01 "
            "5A 07 5A 02 5A 01 34 5A 01 33 14 00 1B 33 60 03 5A 00 5A 08 14 01 B0 33 5E 03 FF FF "
            "09 01 FF FF FF FF FF FF FF FF");
  EXPECT_EQ(Layout(source, {"e", "f", "g", "h"}), "e=800008@0 f=1000010@0 g=800004@8 h=804010@1");
  EXPECT_EQ(r.fixups[0].text, "*PROGLEN*BYTE");
  EXPECT_EQ(r.fixups[2].text, "*PROGLEN*WORD");
  EXPECT_EQ(r.fixups[3].text, "*PROGLEN*BIT");
  // With the program in the internal EEPROM the roles change.
  EXPECT_EQ(ImageHex(Lines({"$IEEPROM", "DIM f AS WORD IEEPROM = 258", "DIM e AS BYTE EEPROM", "f = 1", "e = 2"})),
            "5A 01 5A 00 14 00 0B 33 60 01 5A 02 5A 00 5F 03 FF FF 01 02");
  const std::string m283 = "EEPROM Variablen, die nicht auf dem selben EEPROM wie das Programm liegen, können nicht "
                           "initialisiert werden.";
  EXPECT_EQ(Error(Lines({"DIM e AS BYTE IEEPROM = 3"})), "283 1:23 " + m283);
  EXPECT_EQ(Error(Lines({"$IEEPROM", "DIM e AS BYTE XEEPROM = 3"})), "283 2:23 " + m283);
  EXPECT_EQ(Error(Lines({"DIM e AS BYTE EEPROM"}), profile::Tessel20),
            "268 1:15 EEPROM Variablen sind auf der Tessel nicht verfügbar.");
}

TEST(Variables, BusVariablesAppendTheirBusAddress) {
  const std::string source =
      Lines({"DIM p AS BYTE PCF8574[32]", "DIM q AS BOOLEAN PCF8574[33, 4]", "DIM i AS WORD I2C[80]",
             "DIM j[300] AS BYTE I2C[81]", "DIM k[2, 8] AS BOOLEAN I2C[82]", "DIM b[8] AS BOOLEAN I2C[83]", "p = 1",
             "q = 1", "i = 2", "j[5] = 3", "k[1, 2] = 1", "p[2] = 0", "i[10] = 1"});
  EXPECT_EQ(ImageHex(source),
            "5A 01 5A 20 5F 07 20 5A 01 5A 03 5E 07 21 5A 02 5A 50 60 07 50 "
            "5A 03 5A 05 5A 01 34 5F 09 51 5A 01 5A 01 5A 01 34 5A 08 35 5A 02 5A 01 34 33 5E 08 52 "
            "5A 00 5A 01 5E 07 20 5A 01 5A 01 5E 07 50 FF FF");
  EXPECT_EQ(Layout(source, {"p", "q", "i", "j", "k", "b"}),
            "p=40008@32 q=40004@267 i=80010@80 j=204008@81 k=104004@82 b=84004@83");
  EXPECT_EQ(Error(Lines({"DIM i AS BOOLEAN I2C[1]"})), "295 1:18 I2C Bus Variable muss vom Typ BYTE oder WORD sein.");
  EXPECT_EQ(Code(Lines({"DIM i[7] AS BOOLEAN I2C[1]"})), 298);
  EXPECT_EQ(Code(Lines({"DIM i[2, 7] AS BOOLEAN I2C[1]"})), 298);
  EXPECT_EQ(Code(Lines({"DIM i[2, 2, 2] AS BYTE I2C[1]"})), 297);
  EXPECT_EQ(Code(Lines({"DIM i[2, 8] AS BYTE I2C[1]"})), 299);
  EXPECT_EQ(Error(Lines({"DIM i AS BYTE I2C[256]"})), "296 1:19 Die I2C Bus Adresse muss zwischen 0 und 255 liegen.");
  EXPECT_EQ(Code(Lines({"DIM i AS WORD PCF8574[1]"})), 220);
  EXPECT_EQ(Error(Lines({"DIM i AS BYTE PCF8574[256]"})),
            "219 1:23 Erwartet Adresse 0..255 von der I²C Port Erweiterung PCF8574");
  EXPECT_EQ(Code(Lines({"DIM i AS BOOLEAN PCF8574[1, 9]"})), 120);
  EXPECT_EQ(Code(Lines({"DIM i AS BYTE I2C[1]"}), profile::Tessel11), 218);
  EXPECT_EQ(Code(Lines({"DIM i AS BYTE PCF8574[1]"}), profile::Tessel20), 218);
}

TEST(Structures, TypeElementsTakeTheirPlacesInThePattern) {
  const TCompileResult r = Compile(Lines({"TYPE P", "  x AS BYTE, y AS INTEGER", "", "  f AS BOOLEAN ' flag",
                                          "  ' a comment line", "  a$, b$ AS STRING", "END TYPE"}));
  ASSERT_TRUE(r.success) << r.error->message.str();
  const Tlabel& p = Symbol(r, "P");
  EXPECT_EQ(p.kind, KindBit(kind::Structure));
  std::string elements;
  for (const TAttribute& a : p.attributes)
    elements += a.name + ":" + std::to_string(a.typeKind) + "@" + std::to_string(a.offset) + " ";
  EXPECT_EQ(elements, "x:8@0 y:16@2 f:4@8 a$:1024@4 b$:1024@6 ");
  EXPECT_EQ(Hex(std::string(p.bitPattern.begin(), p.bitPattern.end())), "FF 01 FF FF FF FF FF FF");
}

TEST(Structures, MembersAddTheirOffsetAndWholeStructuresCopy) {
  const std::string source =
      Lines({"TYPE P", "x AS BYTE, y AS INTEGER", "f AS BOOLEAN", "n$ AS STRING", "END TYPE", "DIM c AS BYTE",
             "DIM v AS P", "DIM arr[3] AS P", "v.y = 3", "v.f = 1", "arr[2].x = v.x", "v.n$ = \"hi\"", "DIM u AS P",
             "u = v"});
  // v and arr start on even bytes and arr's elements take 6 bytes: words stay aligned.
  EXPECT_EQ(Layout(source, {"v", "arr", "u"}), "v=2000@2 arr=6000@8 u=2000@26");
  EXPECT_EQ(ImageHex(source),
            "5A 03 5A 01 5A 01 33 60 00 5A 01 5A 10 5A 08 33 5E 00 "
            "5A 02 5A 00 33 5C 00 5A 02 5A 01 34 5A 06 35 5A 08 33 5A 00 33 5F 00 "
            "5A 02 5A 01 5A 02 33 60 00 "
            "5A 02 5C 00 5A 1A 5F 00 5A 03 5C 00 5A 1B 5F 00 5A 04 5C 00 5A 1C 5F 00 "
            "5A 05 5C 00 5A 1D 5F 00 5A 06 5C 00 5A 1E 5F 00 5A 07 5C 00 5A 1F 5F 00 FF "
            "00 02 00 68 00 69 00 00 FF");
  // An odd-sized structure with a word is padded, so its array elements keep words aligned.
  EXPECT_EQ(ImageHex(Lines({"TYPE T", "w AS WORD, b AS BYTE", "END TYPE", "DIM c AS BYTE", "DIM tt[2] AS T",
                            "tt[2].w = 1"})),
            "5A 01 5A 02 5A 01 34 5A 02 35 5A 01 33 5A 00 33 60 00 FF FF");
  const std::string prefix = "TYPE P\r\nx AS BYTE\r\nEND TYPE\r\nTYPE Q\r\nx AS BYTE\r\nEND TYPE\r\nDIM v AS P\r\n";
  EXPECT_EQ(Error(prefix + "v = 1\r\n"), "290 8:2 Erwartet \".\" ... Element.");
  EXPECT_EQ(Error(prefix + "DIM w AS Q\r\nv = w\r\n"), "291 9:5 Erwartet Variable vom Typ P.");
  EXPECT_EQ(Error(prefix + "v.z = 1\r\n"), "292 8:3 z ist kein Element der Datenstruktur.");
  EXPECT_EQ(Error(prefix + "v. = 1\r\n"), "293 8:4 Erwartet ein Element der Datenstruktur.");
  EXPECT_EQ(Error(prefix + "DIM b AS BYTE\r\nb = v\r\n"), "290 9:6 Erwartet \".\" ... Element.");
}

TEST(Structures, TypeMessages) {
  EXPECT_EQ(Error(Lines({"TYPE P", "END TYPE"}), profile::Tessel11),
            "275 1:1 Nur unter Profileinstellung Atmega32 oder Atmega128 verfügbar. (TYPE)");
  EXPECT_EQ(Error(Lines({"TYPE P", "x BYTE", "END TYPE"})),
            "286 2:3 Erwartet AS ... Typdeklaration oder \",\" vor dem nächsten Element.");
  EXPECT_EQ(Error(Lines({"TYPE P", "x AS REAL", "END TYPE"})),
            "288 2:6 Erwartet einen BOOLEAN, BYTE, WORD/INTEGER oder STRING Datentyp. (REAL)");
  EXPECT_EQ(Error(Lines({"TYPE P", "  AS BYTE", "END TYPE"})),
            "289 2:3 Erwartet eine Bezeichnung für ein Element der Datenstruktur.");
  EXPECT_EQ(Error(Lines({"TYPE P", "x AS BYTE y", "END TYPE"})),
            "285 2:11 Erwartet Zeilenende oder \",\" vor dem nächsten Element oder END TYPE.");
  EXPECT_EQ(Code(Lines({"TYPE P", "x AS STRING", "END TYPE"})), 252);
  EXPECT_EQ(Code(Lines({"TYPE P", "x AS BYTE", "x AS WORD", "END TYPE"})), 115);
  EXPECT_EQ(Error(Lines({"TYPE P", "x AS BYTE"})), "107 3:1 END TYPE erwartet");
  EXPECT_EQ(Error(Lines({"TYPE P", "x AS BYTE", "END SUB"})), "107 3:1 END TYPE erwartet");
  EXPECT_EQ(Error(Lines({"DIM b AS BYTE", "DIM v AS b"})), "108 2:10 b: Typ deklaration erwartet ");
}

TEST(Constants, NumbersStringsAndTables) {
  const std::string source = Lines({"CONST k = 2 + 3", "CONST s$ = \"ab\"", "CONST t[3] = ARRAY{1, 2, 3}",
                                    "CONST u[] = ARRAY{&HFFFF, -1}", "DIM x AS BYTE", "x = t[x]", "CONST v = t[2]"});
  const TCompileResult r = Compile(source);
  ASSERT_TRUE(r.success) << r.error->message.str();
  EXPECT_EQ(Symbol(r, "k").address, 5);
  EXPECT_EQ(Symbol(r, "s").address, 2);  // the length constant
  EXPECT_EQ(Symbol(r, "t").address, 8);  // the table offset
  EXPECT_EQ(Symbol(r, "t").kind, KindBit(kind::Table));
  EXPECT_EQ(Symbol(r, "u").bounds[0].upper, 2);
  EXPECT_EQ(Symbol(r, "v").address, 2);  // a constant index folds; tables count from 1
  // TABLEREAD at "<" + offset: one word before the table's first value, so that index 1
  // reads the first value.
  EXPECT_EQ(r.fixups[0].text, "<8");
  EXPECT_EQ(Hex(r.image), "5A 00 5C 00 1B 00 16 5A 00 5F 00 FF 00 02 00 61 00 62 00 00 00 01 00 02 00 03 FF FF FF FF");
}

TEST(Constants, TableMessages) {
  EXPECT_EQ(Error(Lines({"CONST t[3] = ARRAY{1, 2, 3, 4}"})),
            "172 1:29 dem Array werden mehr Elemente zugewiesen als definiert (4/3)");
  EXPECT_EQ(Error(Lines({"CONST t[3] = ARRAY{1, 2}"})), "173 1:24 dem Array werden nicht genug Werte (2/3) zugewiesen. ");
  EXPECT_EQ(Error(Lines({"CONST t[0] = ARRAY{1}"})), "169 1:9 Array Anzahl der Elemente muss mindestens 1 sein.");
  EXPECT_EQ(Code(Lines({"CONST t[4097] = ARRAY{1}"})), 170);
  EXPECT_EQ(Error(Lines({"CONST t[2] ARRAY{1, 2}"})), "107 1:12 = erwartet");
  EXPECT_EQ(Error(Lines({"CONST t[2] = {1, 2}"})), "168 1:14 'ARRAY{}' erwartet.");
  EXPECT_EQ(Error(Lines({"CONST t[2] = ARRAY 1, 2"})), "107 1:20 { erwartet");
  EXPECT_EQ(Error(Lines({"CONST t[2] = ARRAY{1)"})), "175 1:21 ',' mehr Array Elemente erwartet");
  EXPECT_EQ(Error(Lines({"CONST t[2] = ARRAY{1, 2)"})), "176 1:24 '}' weniger Array Element erwartet");
  EXPECT_EQ(Error(Lines({"CONST a = ARRAY{1}"})), "174 1:11 '[' Array Index oder '[]' erwartet.");
  EXPECT_EQ(Error(Lines({"CONST t[] = ARRAY{255, 256}"}), profile::TesselMicro),
            "235 1:24 Der Micro/Mini Controller unterstützt nur Byte oder Boolean Datentypen.");
  EXPECT_EQ(Error(Lines({"DIM s", "CONST s$ = \"x\""})),
            "243 2:7 Eine Variable mit ähnlichem Namen 's' wurde bereits deklariert.");
  EXPECT_EQ(Error(Lines({"CONST k = 1", "CONST k = 2"})), "115 2:7 k: bereits definiert");
  EXPECT_EQ(Error(Lines({"CONST k = 1", "k = 2"})), "127 2:1 k: Der linken Seite kann nichts zugewiesen werden");
}

TEST(Declarations, TypeMessages) {
  EXPECT_EQ(Error(Lines({"DIM a[4] AS BYTE"}), profile::Tessel11),
            "275 1:6 Nur unter Profileinstellung Atmega32 oder Atmega128 verfügbar. (Dim Array)");
  EXPECT_EQ(Error(Lines({"DIM s$ AS STRING * 255"})), "276 1:20 Die String Länge muss zwischen 1 und 254 liegen. (255)");
  EXPECT_EQ(Code(Lines({"DIM s$ AS STRING * 0"})), 276);
  EXPECT_EQ(Code(Lines({"DIM s$ AS STRING * 255"}), profile::Tessel11), 277);
  EXPECT_EQ(Error(Lines({"DIM s AS STRING"})),
            "252 1:10 Erwartet einen String Variablen Namen, der mit '$' endet. (s)");
  EXPECT_EQ(Error(Lines({"DIM s$ AS BYTE"})), "253 1:11 Erwaret String als Datentyp und nicht BYTE.");
  EXPECT_EQ(Error(Lines({"DIM s$[3] AS STRING"})), "107 1:14 * erwartet");
  EXPECT_EQ(Error(Lines({"DIM s$ AS STRING"}), profile::TesselMicro),
            "232 1:11 STRING: In der Profileinstellung \"Micro/Mini\" des Hauptprojektes nicht verfügbar.");
  EXPECT_EQ(Code(Lines({"DIM x AS INTEGER"}), profile::TesselMicro), 232);
  EXPECT_EQ(Code(Lines({"DIM x"}), profile::TesselMicro), 232);  // no AS: an INTEGER
  EXPECT_EQ(Error(Lines({"DIM x AS FOO"})), "108 1:10 FOO: Typ deklaration erwartet ");
  EXPECT_EQ(Layout(Lines({"DIM x, t$", "DIM a, b AS BYTE"}), {"x", "t$", "a", "b"}), "x=10@0 t$=400@1 a=8@4 b=8@5");
}

TEST(Declarations, DimensionMessages) {
  EXPECT_EQ(Error(Lines({"DIM a[5 TO 2]"})), "273 1:7 Array Indexgrenzen ungültig. (5 ... 2)");
  EXPECT_EQ(Error(Lines({"DIM a[0]"})), "273 1:7 Array Indexgrenzen ungültig. (1 ... 0)");
  EXPECT_EQ(Error(Lines({"DIM a[40000, 40000]"})),
            "272 1:6 Array zu groß. Reduzieren Sie die Indexgrenzen oder Dimensionen. 80000");
  EXPECT_EQ(Error(Lines({"DIM a[3"})), "107 1:8 ] erwartet");
  EXPECT_EQ(Error(Lines({"DIM a[2] = 3"})), "271 1:10 Arrays können nicht initialisiert werden.");
  EXPECT_EQ(Error(Lines({"TYPE P", "x AS BYTE", "END TYPE", "DIM v AS P = 1"})),
            "271 4:12 Arrays können nicht initialisiert werden.");
  EXPECT_EQ(Error(Lines({"DIM x AS BYTE = 5 TO y"})), "109 1:19 Ende erwartet ");
}

TEST(Declarations, NameMessages) {
  EXPECT_EQ(Error(Lines({"DIM x", "DIM x"})), "115 2:5 x: bereits definiert");
  EXPECT_EQ(Error(Lines({"DIM x", "DIM X$"})), "115 2:5 X$: bereits definiert");
  EXPECT_EQ(Error(Lines({"DIM a, b, a AS BYTE"})), "115 1:11 a: bereits definiert");
  EXPECT_EQ(Error(Lines({"DIM print"})), "123 1:5 print reserviert");
  EXPECT_EQ(Error(Lines({"DIM 1x"})), "106 1:5 1x ist eine ungültige Bezeichnung");
  TCompiler compiler;
  TCompileInput input = Input(Lines({"DIM Loop1"}));
  input.assemblerLabels = {TAsmLabel{"LOOP1", 300}};
  const TCompileResult r = compiler.CompileProgram(input);
  ASSERT_FALSE(r.success);
  EXPECT_EQ(r.error->code, 125);
  EXPECT_EQ(r.error->message.str(), "Loop1 Name schon im Assembler Teil vergeben");
}

TEST(Declarations, LocationMessagesPerProfile) {
  const char* byte4 = "DIM p AS BYTE PORT[4]\r\n";
  EXPECT_EQ(Error(byte4, profile::Tessel11), "118 1:20 Der Index muss zwischen Byte Nr. 1 und 3 liegen.");
  EXPECT_EQ(Error(byte4, profile::Tessel20), "265 1:20 Der Byte Port Index muss zwischen 1 und 2 liegen.");
  EXPECT_EQ(Error(byte4, profile::Pyxon32), "302 1:20 Der Byte Port Index muss zwischen 1 und 2 liegen.");
  EXPECT_EQ(Error(byte4, profile::Pyxon128), "no error");
  EXPECT_EQ(Code("DIM p AS BYTE PORT[5]\r\n", profile::Pyxon128), 266);
  EXPECT_EQ(Error(byte4, profile::TesselMicro),
            "232 1:15 BYTE PORT: In der Profileinstellung \"Micro/Mini\" des Hauptprojektes nicht verfügbar.");
  EXPECT_EQ(Layout("DIM q AS BOOLEAN PORT[6]\r\n", {"q"}, profile::TesselMicro), "q=8004@5");
  EXPECT_EQ(Code("DIM q AS BOOLEAN PORT[7]\r\n", profile::TesselMicro), 233);
  EXPECT_EQ(Code("DIM q AS BOOLEAN PORT[0, 1]\r\n", profile::Tessel11), 118);
  EXPECT_EQ(Error("DIM q AS BOOLEAN PORT[1, 9]\r\n"), "120 1:26 Der Index muss zwischen Bit Nr. 1 und 8 liegen.");
  EXPECT_EQ(Error("DIM w AS WORD PORT[1]\r\n"), "109 1:19 Ende erwartet ");
  EXPECT_EQ(Error("DIM w AS WORD PORT[3]\r\n", profile::Pyxon128),
            "284 1:20 Erwartet einen Word Port Index zwischen 1 und 2. (3)");
  EXPECT_EQ(Error("DIM a AS WORD AD[1]\r\n", profile::Tessel11),
            "130 1:15 erwartet BYTE als passende Typdeklaration zu AD.");
  EXPECT_EQ(Code("DIM a AS BOOLEAN AD[1]\r\n"), 281);
  EXPECT_EQ(Error("DIM a AS BYTE AD[9]\r\n"), "132 1:18 Der Index muss zwischen AD Nr. 1 und 8 liegen.");
  EXPECT_EQ(Code("DIM a AS BYTE AD[3]\r\n", profile::TesselMicro), 234);
  EXPECT_EQ(Layout("DIM a AS BYTE AD[5]\r\n", {"a"}, profile::TesselMicro), "a=10008@4");
  EXPECT_EQ(Code("DIM d AS WORD DA[1]\r\n"), 131);
  EXPECT_EQ(Error("DIM d AS BYTE DA[3]\r\n"), "133 1:18 Der Index muss zwischen DA Nr. 1 und 2 liegen.");
  EXPECT_EQ(Error("DIM x AS BYTE FOO\r\n"), "110 1:15 FOO: Ende oder 'Port' erwartet.");
  EXPECT_EQ(Error("DIM x AS BYTE FOO\r\n", profile::Tessel20), "217 1:15 FOO: Ende, 'Port' oder 'PCF8574' erwartet.");
  EXPECT_EQ(Error("DIM a[3] AS BYTE PORT[1]\r\n"), "274 1:18 Ende erwartet und nicht PORT. ");
  EXPECT_EQ(Code(Lines({"TYPE P", "x AS BYTE", "END TYPE", "DIM v AS P I2C[1]"})), 274);
}

TEST(Assignment, TargetMessages) {
  EXPECT_EQ(Error("x = 1\r\n"), "126 1:1 x Variable wurde zuvor nicht deklariert");
  EXPECT_EQ(Error("x\r\n"), "102 1:1 x keine Anweisung");
  EXPECT_EQ(Error("1x = 2\r\n"), "102 1:1 1x keine Anweisung");
  EXPECT_EQ(Error("INKEY$ = 1\r\n"), "138 1:1 Von INKEY$ können nur empfangene Zeichen gelesen werden");
  EXPECT_EQ(Error(Lines({"start:", "start = 1"})), "127 2:1 start: Der linken Seite kann nichts zugewiesen werden");
  EXPECT_EQ(Error(Lines({"DIM x AS BYTE", "x 1"})), "107 2:3 = erwartet");
  const std::string m221 = "Erwartet ein Bit 1..8 für Byte Variablen oder 1..16 für Integer Variablen";
  EXPECT_EQ(Error(Lines({"DIM x AS BYTE", "x[9] = 1"})), "221 2:3 " + m221);
  EXPECT_EQ(Error(Lines({"DIM x AS BYTE", "x[0] = 1"})), "221 2:3 " + m221);
  EXPECT_EQ(Error(Lines({"DIM x AS WORD", "x[16] = 1"})), "no error");
  EXPECT_EQ(Code(Lines({"DIM x AS BOOLEAN", "x[1] = 1"})), 222);
  EXPECT_EQ(Code(Lines({"DIM s$", "s$[1] = 1"})), 222);
  // System variables are targets too.
  EXPECT_EQ(ImageHex("SECOND = 5\r\n"), "5A 05 1D 06 FF FF");
}

// Statements inside a procedure, which the procedure statements set up.
struct InProcedure : ::testing::Test {
  TCompilerContext c;

  void Enter(TProfile p, uint32_t procedureKind, const std::string& name) {
    c.profile = p;
    if (c.Pyxon()) {
      c.memoryMaps.resize(3);
      c.memoryMaps[1].owner = 1;
      c.memoryMaps[2].owner = 2;
    }
    c.discard = c.Pyxon() ? std::string("\x57") : std::string("\x14\x00\x00\x29\x2B", 5);
    Tlabel procedure;
    procedure.name = name;
    procedure.kind = procedureKind;
    procedure.value = "0";
    c.currentProcedure = AddSymbol(c, procedure);
  }
  // The code of one statement, or the error as "error code".
  std::string Statement(const std::string& text) {
    c.code.clear();
    c.source = text + "\r\n";
    c.position = 1;
    const std::string word = ReadWord(c);
    if (word == "DIM") CompileDim(c);
    else CompileAssignment(c, word);
    return c.errorReported ? "error " + std::to_string(c.error->code) : Hex(c.code);
  }
  std::string Global(const std::string& text) {
    const int32_t procedure = c.currentProcedure;
    c.currentProcedure = -1;
    const std::string code = Statement(text);
    c.currentProcedure = procedure;
    return code;
  }
  const Tlabel& Named(const std::string& name) { return c.symbols[FindSymbol(c, name, kAnyScope)]; }
};

TEST_F(InProcedure, PyxonLocalsUseTheLocalTokens) {
  Enter(profile::Pyxon32, KindBit(kind::Sub), "Work");
  EXPECT_EQ(Global("DIM g AS WORD"), "");
  EXPECT_EQ(Statement("DIM a AS BYTE, w AS WORD, f AS BOOLEAN"), "");
  EXPECT_EQ(Named("a").scope, c.currentProcedure);
  EXPECT_EQ(Named("w").address, 1);
  EXPECT_EQ(Named("f").address, 8);
  EXPECT_EQ(c.memoryMaps.size(), 4u);
  EXPECT_EQ(c.memoryMaps[3].owner, c.currentProcedure);
  EXPECT_EQ(Statement("a = 5"), "5A 05 19 00");
  EXPECT_EQ(Statement("f = a"), "16 00 18 08");
  EXPECT_EQ(Statement("w = g"), "5A 00 5D 00 1A 01");
  EXPECT_EQ(Statement("DIM x AS BYTE = 1"), "error 270");
  EXPECT_FALSE(StatementEndsWithDiscard(c));
}

TEST_F(InProcedure, PyxonLocalArraysLiveInGlobalMemory) {
  Enter(profile::Pyxon32, KindBit(kind::Sub), "Work");
  EXPECT_EQ(Global("DIM g AS WORD"), "");
  EXPECT_EQ(Statement("DIM arr[2] AS BYTE"), "");
  EXPECT_EQ(Named("arr").address, 2);
  EXPECT_EQ(Statement("arr[1] = 3"), "5A 03 5A 01 5A 01 34 5A 02 33 5F 00");
}

TEST_F(InProcedure, PyxonLocalsStayWithinTheirFrame) {
  Enter(profile::Pyxon32, KindBit(kind::Sub), "Work");
  std::string names = "DIM b0 AS BYTE";
  for (int k = 1; k < 32; ++k) names += ", b" + std::to_string(k) + " AS BYTE";
  EXPECT_EQ(Statement(names), "");
  EXPECT_EQ(Named("b31").address, 31);
  EXPECT_EQ(Statement("DIM more AS BYTE"), "error 117");
  c.errorReported = false;
  Enter(profile::Pyxon32, KindBit(kind::Sub), "Other");
  std::string words = "DIM w0 AS WORD";
  for (int k = 1; k < 16; ++k) words += ", w" + std::to_string(k) + " AS WORD";
  EXPECT_EQ(Statement(words), "");
  EXPECT_EQ(Statement("DIM more AS WORD"), "error 117");
}

TEST_F(InProcedure, TesselFunctionsDiscardAfterEachAssignment) {
  EXPECT_EQ(Statement("DIM x AS BYTE"), "");
  Enter(profile::Tessel11, KindBit(kind::Function), "F");
  EXPECT_TRUE(StatementEndsWithDiscard(c));
  EXPECT_EQ(Statement("x = 1"), "14 00 01 19 17 14 00 00 29 2B");
  // The FUNCTION's own name: the value stays on the stack as its result.
  EXPECT_EQ(Statement("F = x"), "16 17");
  Enter(profile::Tessel11, KindBit(kind::Function), "G");
  EXPECT_EQ(Statement("F = 1"), "error 192");
  EXPECT_EQ(c.error->message.str(), "F: Der Rückgabewert der Funktion muss innerhalb der zugehörigen Funktion festgelegt sein.");
}

TEST_F(InProcedure, InterruptHandlersDiscardOnTesselOnly) {
  Enter(profile::Tessel20, KindBit(kind::Sub), "Interrupt");
  EXPECT_EQ(Statement("DIM x AS BYTE"), "");
  EXPECT_EQ(Statement("x = 2"), "14 00 02 19 3D 14 00 00 29 2B");
  Enter(profile::Pyxon32, KindBit(kind::Function), "F");
  EXPECT_EQ(Statement("F = 7"), "5A 07");
}

}  // namespace
}  // namespace zarvek::test
