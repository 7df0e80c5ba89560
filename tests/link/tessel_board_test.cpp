// The virtual Tessel board and its paced line, driven in the test's own thread with the
// host end of the pseudo-terminal opened by the test.
#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>

#include "link/paced_line.h"
#include "link/tessel_virtual_board.h"
#include "link/virtual_board.h"

namespace zarvek::link {
namespace {

class TesselBoardTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    ASSERT_TRUE(line.Open(9600, error)) << error;
    host = ::open(line.TerminalPath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(host, 0);
  }
  void TearDown() override {
    if (host >= 0) ::close(host);
  }
  // Runs the board for `millis` of wall time.
  void Drive(TVirtualBoard& board, int64_t millis) {
    const int64_t end = TPacedLine::NowMicros() + millis * 1000;
    RunVirtualBoard(line, board, [end] { return TPacedLine::NowMicros() >= end; });
  }
  std::string HostReads() {
    std::string got;
    char buffer[256];
    ssize_t n = 0;
    while ((n = ::read(host, buffer, sizeof buffer)) > 0) got.append(buffer, static_cast<size_t>(n));
    return got;
  }
  void HostWrites(const std::string& bytes) {
    ASSERT_EQ(::write(host, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
  }

  TPacedLine line;
  int host = -1;
  std::ostringstream log;
};

// A host that sends at once after opening the line may be faster than a board that has
// just been switched on: its bytes wait until the system reads them, and the board's
// view of the transfer must still start with the first of them.
TEST_F(TesselBoardTest, BytesSentWhileTheSystemStartsCountAsItsFirstCommands) {
  TTesselBoardOptions options;
  options.faults.wrongEchoAt = 0;  // marks the echo the board takes for the stream's first byte
  TTesselVirtualBoard board(line, options, log);
  ASSERT_TRUE(board.PowerOn());
  // Machine code of 200 bytes announced, one sent, before the system ran at all.
  board.OnReceived(std::string("\x08\xC8\x01", 3));
  Drive(board, 100);
  EXPECT_EQ(HostReads(), std::string("\x37\x01", 2));

  // Given up: the next probe, well after the last echo, restarts the board and is answered.
  Drive(board, 1600);
  HostWrites("\x01");
  Drive(board, 200);
  const std::string answer = HostReads();
  EXPECT_NE(answer.find("TESEL"), std::string::npos) << answer;
  EXPECT_EQ(answer.back(), '\r') << answer;
  EXPECT_NE(log.str().find("Abgebrochene Übertragung: das Board startet neu."), std::string::npos) << log.str();
}

TEST_F(TesselBoardTest, AProbeAtPowerOnIsAnsweredWithoutStoppingAProgram) {
  TTesselBoardOptions options;
  options.faults.noiseBeforeIdent = true;  // comes only when the board follows the probe
  TTesselVirtualBoard board(line, options, log);
  ASSERT_TRUE(board.PowerOn());
  board.OnReceived("\x01");
  Drive(board, 150);
  const std::string answer = HostReads();
  EXPECT_EQ(answer.rfind("Messwert: 17\r\nMesswert: 18\r\nTESEL", 0), 0u) << answer;
  EXPECT_EQ(log.str().find("Programm angehalten"), std::string::npos) << log.str();
}

// With nobody at the other end the line must keep waiting, not return at once: the board
// loop would otherwise take a whole core from a loaded machine.
TEST_F(TesselBoardTest, TheLineWaitsWhenNoHostHoldsIt) {
  HostWrites("x");
  ::close(host);
  host = -1;
  std::string received;
  const auto start = std::chrono::steady_clock::now();
  for (int k = 0; k < 10; ++k) received += line.Pump(20'000);
  EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(150));
  EXPECT_EQ(received, "x");  // what the host wrote before closing still arrives
  EXPECT_TRUE(line.IsOpen());

  // A host that opens the line again is served as the first one was.
  host = ::open(line.TerminalPath().c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
  ASSERT_GE(host, 0);
  line.Send("ok");
  for (int k = 0; k < 10 && line.SendQueueEmpty() == false; ++k) line.Pump(5'000);
  EXPECT_EQ(HostReads(), "ok");
}

}  // namespace
}  // namespace zarvek::link
