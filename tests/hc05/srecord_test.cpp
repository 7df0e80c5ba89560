#include <gtest/gtest.h>

#include "hc05/disassembler.h"
#include "hc05/srecord.h"

namespace zarvek::hc05 {
namespace {

// NOP NOP ... from $0101 to $0110, and RTS NOP ... from $0111 to $0120.
constexpr std::string_view kFirst = "S11301019D9D9D9D9D9D9D9D9D9D9D9D9D9D9D9D1A";
constexpr std::string_view kSecond = "S113011181819D9D9D9D9D9D9D9D9D9D9D9D9D9D42";

std::string Code() { return std::string(16, '\x9D') + "\x81\x81" + std::string(14, '\x9D'); }

TEST(SRecords, ContiguousS1RecordsFormOneBlock) {
  const std::string file = "S00600004844521B\r\n" + std::string(kFirst) + "\r\n" + std::string(kSecond) +
                           "\r\nS9030000FC\r\n";
  const TSRecordBlock block = ParseSRecords(file);
  EXPECT_EQ(block.error, "");
  EXPECT_EQ(block.start, 0x0101);
  EXPECT_EQ(block.bytes, Code());
  EXPECT_EQ(ReadSRecords(file), JoinEditorLines(Disassemble(Code(), 0x0101)));
}

TEST(SRecords, LayoutIsFree) {
  // Lower-case record marks, blanks and tabs between records, S5 ends like S9.
  EXPECT_EQ(ParseSRecords("\t s1040200A653  s5030000FC").bytes, "\xA6");
  EXPECT_EQ(ParseSRecords("S1040200A653S9").start, 0x0200);
  EXPECT_EQ(ParseSRecords("S9").bytes, "");  // no data: an empty block
}

TEST(SRecords, ChecksumMustBePresentButIsNotCompared) {
  EXPECT_EQ(ParseSRecords("S1040101A600\nS9").error, "");
  EXPECT_EQ(ParseSRecords("S1040101A6\nS9").error, "ERROR! CHECKSUM???");
}

TEST(SRecords, ErrorTexts) {
  const std::string first(kFirst);
  EXPECT_EQ(ReadSRecords(first + "\nS1130121" + first.substr(8)), "ERROR! ADDRESS???");  // a gap
  EXPECT_EQ(ReadSRecords("S1040101a653\nS9"), "ERROR! DATA HEX???");
  EXPECT_EQ(ReadSRecords("S1040101A"), "ERROR! DATA HEX???");
  EXPECT_EQ(ReadSRecords("S1x40101A6FF"), "ERROR! S1 HEX???");
  EXPECT_EQ(ReadSRecords("S1040g01A6FF"), "ERROR! S1 HEX???");
  EXPECT_EQ(ReadSRecords("\r\nS"), "ERROR! S-|");
}

TEST(SRecords, AnErrorAfterDataIsTheErrorTextAlone) {
  EXPECT_EQ(ReadSRecords(std::string(kFirst) + "\r\n:10010000"), "ERROR! S???");
}

TEST(SRecords, TextWithoutEndRecordIsAnError) {
  EXPECT_EQ(ReadSRecords(kFirst), "ERROR! S9???");
  EXPECT_EQ(ReadSRecords(""), "ERROR! S9???");
  EXPECT_EQ(ReadSRecords("S00600004844521B\r\n"), "ERROR! S9???");
}

TEST(SRecords, OtherRecordTypesAreSkipped) {
  EXPECT_EQ(ParseSRecords("S00600004844521B S2080001010203FF S1040101A653 S9").bytes, "\xA6");
}

}  // namespace
}  // namespace zarvek::hc05
