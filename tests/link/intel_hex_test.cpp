// Reading runtime images in Intel HEX form into flash pages.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "base/profile.h"
#include "link/intel_hex.h"

namespace zarvek::link {
namespace {

// A data record with its checksum.
std::string Record(uint32_t address, const std::string& data, uint8_t type = 0) {
  static const char* digits = "0123456789ABCDEF";
  std::string bytes;
  bytes.push_back(static_cast<char>(data.size()));
  bytes.push_back(static_cast<char>(address >> 8));
  bytes.push_back(static_cast<char>(address));
  bytes.push_back(static_cast<char>(type));
  bytes += data;
  uint8_t sum = 0;
  for (const char c : bytes) sum = static_cast<uint8_t>(sum + static_cast<uint8_t>(c));
  bytes.push_back(static_cast<char>(0x100 - sum));
  std::string line = ":";
  for (const char c : bytes) {
    line.push_back(digits[static_cast<uint8_t>(c) >> 4]);
    line.push_back(digits[static_cast<uint8_t>(c) & 15]);
  }
  return line + "\r\n";
}

const std::string kEnd = ":00000001FF\r\n";

TEST(IntelHexTest, PageGeometryByProfile) {
  EXPECT_EQ(PageGeometry(profile::Pyxon32).pageSize, 128);
  EXPECT_EQ(PageGeometry(profile::Pyxon32).pageCount, 256);
  EXPECT_EQ(PageGeometry(profile::Pyxon128).pageSize, 256);
  EXPECT_EQ(PageGeometry(profile::Pyxon128).pageCount, 512);
}

TEST(IntelHexTest, DataLandsInItsPageAndUncoveredBytesStayErased) {
  const auto image = ReadIntelHex(Record(0x80, "\x01\x02") + kEnd, PageGeometry(profile::Pyxon32));
  ASSERT_TRUE(image.valid);
  ASSERT_EQ(image.pages.size(), 256u);
  EXPECT_EQ(image.pages[1].data.substr(0, 3), "\x01\x02\xFF");
  EXPECT_EQ(image.pages[0].data, std::string(128, '\xFF'));
  EXPECT_EQ(image.pages[0].checksum, static_cast<uint8_t>(128 * 0xFF));
  EXPECT_EQ(image.pages[1].checksum, static_cast<uint8_t>(1 + 2 + 126 * 0xFF));
}

TEST(IntelHexTest, RecordCrossingAPageBoundarySplitsAcrossBothPages) {
  const auto image = ReadIntelHex(Record(0x7E, "ABCD"), PageGeometry(profile::Pyxon32));
  ASSERT_TRUE(image.valid);
  EXPECT_EQ(image.pages[0].data.substr(126), "AB");
  EXPECT_EQ(image.pages[1].data.substr(0, 2), "CD");
}

TEST(IntelHexTest, SegmentRecordMovesTheBaseAboveSixtyFourKilobytes) {
  const std::string text = Record(0, std::string("\x10\x00", 2), 2) + Record(0x10, "xy") + kEnd;
  const auto image = ReadIntelHex(text, PageGeometry(profile::Pyxon128));
  ASSERT_TRUE(image.valid);
  EXPECT_EQ(image.pages[256].data.substr(0x10, 2), "xy");
  EXPECT_EQ(image.pages[0].data.substr(0x10, 2), "\xFF\xFF");
}

TEST(IntelHexTest, InvalidFilesAndTheLineThatMadeThem) {
  const TPageGeometry g = PageGeometry(profile::Pyxon32);
  EXPECT_FALSE(ReadIntelHex(Record(0, "ab") + kEnd + "\r\n", g).valid);  // an empty line at the end
  EXPECT_FALSE(ReadIntelHex("0200000061620A\r\n", g).valid);             // no colon
  auto bad = Record(0, "ab");
  bad[bad.size() - 3] ^= 1;  // checksum
  auto image = ReadIntelHex(Record(4, "x") + bad, g);
  EXPECT_FALSE(image.valid);
  EXPECT_EQ(image.line, 2);
  EXPECT_FALSE(ReadIntelHex(":0300000061620A\r\n", g).valid);               // length disagrees with the count
  EXPECT_FALSE(ReadIntelHex(":02000000616299\r\n", g).valid);               // lower case has no value
  EXPECT_FALSE(ReadIntelHex(Record(0x7FFF, "ab"), g).valid);                // beyond the last page
  // Other record types are skipped unchecked, and the end record does not stop reading.
  image = ReadIntelHex(":0400000512345678E3\r\n:0400000300000000F9\r\n" + kEnd + Record(0, "z"), g);
  ASSERT_TRUE(image.valid);
  EXPECT_EQ(image.pages[0].data[0], 'z');
  EXPECT_TRUE(ReadIntelHex("", g).valid);
  EXPECT_TRUE(ReadIntelHex(Record(0, "ab").substr(0, 15) + "\n", g).valid);  // LF alone ends a line too
}

#ifdef ZARVEK_AVR_IMAGES
std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// avr-objcopy's own binary output is the reference for where every byte belongs.
void CompareWithObjcopy(const std::string& mcu, TProfile profile) {
  const std::string hex = ReadAll(std::string(ZARVEK_AVR_IMAGES) + "/rt_" + mcu + ".hex");
  const std::string bin = ReadAll(std::string(ZARVEK_AVR_IMAGES) + "/rt_" + mcu + ".bin");
  ASSERT_NE(hex.find("\r\n"), std::string::npos);
  ASSERT_FALSE(bin.empty());
  const TPageGeometry g = PageGeometry(profile);
  const auto image = ReadIntelHex(hex, g);
  ASSERT_TRUE(image.valid) << image.reason << " in line " << image.line;
  std::string flash;
  for (const auto& page : image.pages) flash += page.data;
  std::string expected = bin;
  expected.resize(flash.size(), '\xFF');
  for (size_t page = 0; page < image.pages.size(); ++page)
    ASSERT_EQ(flash.substr(page * g.pageSize, g.pageSize), expected.substr(page * g.pageSize, g.pageSize))
        << "page " << page;
}

TEST(IntelHexTest, Atmega128ImageFromObjcopyWithSegmentRecordsAndPageCrossings) {
  const std::string hex = ReadAll(std::string(ZARVEK_AVR_IMAGES) + "/rt_atmega128.hex");
  EXPECT_NE(hex.find(":02000002"), std::string::npos);
  CompareWithObjcopy("atmega128", profile::Pyxon128);
}

TEST(IntelHexTest, Atmega32ImageFromObjcopy) { CompareWithObjcopy("atmega32", profile::Pyxon32); }
#endif

}  // namespace
}  // namespace zarvek::link
