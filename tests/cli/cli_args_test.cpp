// The option parser every subcommand shares.
#include <gtest/gtest.h>

#include "cli/cli_args.h"
#include "cli_test_support.h"

namespace zarvek::cli {
namespace {

struct TParsed {
  bool flag = false;
  std::string text, file;
  int count = 0;
};

std::optional<std::string> Parse(const std::vector<std::string>& args, TParsed& p) {
  const TCommandSyntax syntax{"probe",
                              "[--flag] [-o TEXT] [--count N] DATEI",
                              "Probedatei",
                              {FlagOption("--flag", p.flag),
                               TextOption("-o", p.text),
                               {"--count", true, [&p](const std::string& v) -> std::optional<std::string> {
                                  if (v != "1" && v != "2") return "--count erwartet 1 oder 2";
                                  p.count += std::stoi(v);
                                  return std::nullopt;
                                }}}};
  return ParseCommandLine(syntax, args, p.file);
}

TEST(CliArgs, OptionsInAnyOrderAroundTheFile) {
  TParsed p;
  EXPECT_FALSE(Parse({"--count", "1", "a.bas", "-o", "x", "--flag", "--count", "2"}, p));
  EXPECT_TRUE(p.flag);
  EXPECT_EQ(p.text, "x");
  EXPECT_EQ(p.file, "a.bas");
  EXPECT_EQ(p.count, 3);
  // "--" ends the options: a file may begin with "-".
  TParsed q;
  EXPECT_FALSE(Parse({"--flag", "--", "-name.bas"}, q));
  EXPECT_EQ(q.file, "-name.bas");
}

TEST(CliArgs, BadUsageIsNamed) {
  TParsed p;
  EXPECT_EQ(Parse({"--frob", "a"}, p), "unbekannte Option --frob");
  EXPECT_EQ(Parse({"a", "-o"}, p), "der Option -o fehlt ihr Wert");
  EXPECT_EQ(Parse({"--count", "7", "a"}, p), "--count erwartet 1 oder 2");
  EXPECT_EQ(Parse({"a", "b"}, p), "nur eine Probedatei erwartet");
  EXPECT_EQ(Parse({"--flag"}, p), "keine Probedatei angegeben");
  EXPECT_EQ(Parse({""}, p), "keine Probedatei angegeben");
}

TEST(CliArgs, EveryCommandRefusesUnknownOptionsAndASecondFile) {
  for (const std::string command : {"compile", "run", "asm", "disasm", "export", "import"}) {
    std::ostringstream out, err;
    EXPECT_EQ(Main({command, "--frob", "a.bas"}, out, err), kExitUsage) << command;
    EXPECT_TRUE(err.str().starts_with("zarvek-cli " + command + ": unbekannte Option --frob\nAufruf: zarvek-cli " + command))
        << err.str();
    std::ostringstream err2;
    EXPECT_EQ(Main({command, "a.bas", "b.bas", "-o", "c"}, out, err2), kExitUsage) << command;
    EXPECT_NE(err2.str().find(" erwartet"), std::string::npos) << err2.str();
  }
}

}  // namespace
}  // namespace zarvek::cli
