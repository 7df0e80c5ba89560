#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cli_test_support.h"

namespace zarvek::cli {
namespace {

class CliDisasm : public TCliTest {
 protected:
  CliDisasm() : TCliTest("disasm") {}
};

TEST_F(CliDisasm, RawBytesStartAt0101OrTheGivenAddress) {
  const std::string path = File(".bin", "\xA6\x05");
  const TRun r = Run({path});
  EXPECT_EQ(r.status, kExitOk);
  EXPECT_EQ(r.out, "                ORG   0101h\n                LDA   #05h              ;A <- #const\n");
  EXPECT_EQ(r.err, "");
  for (const std::string start : {"$C000", "0xc000", "49152"})
    EXPECT_EQ(Run({"--start", start, path}).out.substr(0, 28), "                ORG   C000h\n") << start;
}

TEST_F(CliDisasm, SRecordFilesCarryTheirAddress) {
  const TRun r = Run({File(".S19", "S1050200A6FF53\r\nS9030000FC\r\n")});
  EXPECT_EQ(r.status, kExitOk);
  EXPECT_EQ(r.out, "                ORG   0200h\n                LDA   #FFh              ;A <- #const\n");
  EXPECT_EQ(Run({File(".s19", "S1050200A6FF53\r\nS9030000FC\r\n")}).out, r.out);
}

TEST_F(CliDisasm, SRecordErrorsGoToStderr) {
  const std::string path = File(".s19", "S1050200a6FF53\r\nS9\r\n");
  const TRun r = Run({path});
  EXPECT_EQ(r.status, kExitDiagnosed);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, path + ": ERROR! DATA HEX???\n");
}

TEST_F(CliDisasm, CodeBeyondTheAddressSpaceIsRefusedNotWrapped) {
  // From $FF00 there is room for 256 bytes; one more would wrap round to $0000.
  const std::string fits = File(".bin", std::string(256, '\x9D'));
  const TRun ok = Run({"--start", "$FF00", fits});
  EXPECT_EQ(ok.status, kExitOk);
  EXPECT_EQ(ok.out.find("0000h"), std::string::npos);
  const std::string over = File(".bin", std::string(257, '\x9D'));
  const TRun r = Run({"--start", "$FF00", over});
  EXPECT_EQ(r.status, kExitDiagnosed);
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(r.err, over + ": Der Code reicht über $FFFF hinaus (257 Bytes ab $FF00, höchstens 256 passen in den Adressraum).\n");
  // From the default start $0101 a full 64 KiB file does not fit either.
  const std::string full = File(".bin", std::string(0x10000, '\x9D'));
  EXPECT_EQ(Run({full}).err,
            full + ": Der Code reicht über $FFFF hinaus (65536 Bytes ab $0101, höchstens 65279 passen in den Adressraum).\n");
  // An S-record whose data runs past $FFFF.
  const std::string records = File(".s19", "S106FFFE9D9D9D00\r\nS9030000FC\r\n");
  const TRun s = Run({records});
  EXPECT_EQ(s.status, kExitDiagnosed) << s.out;
  EXPECT_EQ(s.err, records + ": Der Code reicht über $FFFF hinaus (3 Bytes ab $FFFE, höchstens 2 passen in den Adressraum).\n");
}

TEST_F(CliDisasm, BadUsage) {
  const std::string raw = File(".bin", "\x9D");
  EXPECT_EQ(Run({}).status, kExitUsage);
  EXPECT_EQ(Run({"--start"}).status, kExitUsage);
  EXPECT_EQ(Run({"--start", "$10000", raw}).status, kExitUsage);
  EXPECT_EQ(Run({"--start", "12a", raw}).status, kExitUsage);
  EXPECT_EQ(Run({"--start", "1", File(".S19", "S9")}).status, kExitUsage);
  EXPECT_EQ(Run({"--verbose", raw}).status, kExitUsage);
  EXPECT_EQ(Run({raw, raw}).status, kExitUsage);
  EXPECT_EQ(Run({"/nonexistent/x.bin"}).status, kExitDiagnosed);
}

}  // namespace
}  // namespace zarvek::cli
