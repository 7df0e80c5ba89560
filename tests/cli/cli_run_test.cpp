#include <gtest/gtest.h>

#include <sstream>

#include "cli/cli.h"

namespace zarvek::cli {
namespace {

TEST(CliUsage, NoArgumentsIsBadUsage) {
  std::ostringstream out, err;
  EXPECT_EQ(Main({}, out, err), kExitUsage);
}

}  // namespace
}  // namespace zarvek::cli
