// A link over an in-memory port and a clock the test moves.
#pragma once

#include <gtest/gtest.h>

#include <utility>

#include <memory>
#include <string>

#include "link/clock.h"
#include "link/fake_port.h"
#include "link/link.h"

namespace zarvek::link {

class TFakeLinkTest : public ::testing::Test {
 protected:
  TFakeLinkTest()
      : link([this] {
          auto p = std::make_unique<TFakePort>();
          port = p.get();
          ++portsMade;
          port->failOpen = failNextOpen;
          sentLog.clear();  // what a new port sends starts afresh
          port->writtenLog = &sentLog;
          return p;
        }) {}

  // What went out since the last call, also through a port the link has closed since.
  std::string Sent() { return std::exchange(sentLog, {}); }
  static std::string Bytes(std::initializer_list<int> values) {
    std::string s;
    for (const int v : values) s.push_back(static_cast<char>(v));
    return s;
  }

  bool failNextOpen = false;
  int portsMade = 0;
  TFakePort* port = nullptr;  // the newest port the link made
  std::string sentLog;
  TManualClock clock;
  TLink link;
};

}  // namespace zarvek::link
