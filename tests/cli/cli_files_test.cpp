// What zarvek-cli does with files that are not what they should be: devices, pipes and
// folders given as files, files too large for their kind, outputs that would replace an
// input, and output that cannot be written.
#include <gtest/gtest.h>

#include <sys/stat.h>  // mkfifo: these tests run on POSIX systems

#include <cstdlib>
#include <filesystem>

#include "cli_test_support.h"
#include "project/file_io.h"

namespace zarvek::cli {
namespace {

class CliFiles : public TCliTest {
 protected:
  CliFiles() : TCliTest("files") {}
  TRun Command(const std::string& command, std::vector<std::string> args) {
    std::ostringstream out, err;
    args.insert(args.begin(), command);
    const int status = Main(args, out, err);
    return {status, out.str(), err.str()};
  }
};

const std::string kNoFile = ": Keine gewöhnliche Datei (ein Ordner, ein Gerät oder eine Pipe).\n";

TEST_F(CliFiles, DevicesFoldersAndPipesAreRefusedUnread) {
  const std::string folder = Name(".bas");
  std::filesystem::create_directory(folder);
  const std::string pipe = Name(".xml");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  const std::string out = Name(".out");
  struct TCall {
    std::string refused;
    std::vector<std::string> args;
  };
  const std::vector<TCall> calls = {
      {"/dev/zero", {"compile", "/dev/zero"}},
      {folder, {"compile", folder}},
      {pipe, {"compile", pipe}},
      {"/dev/zero", {"compile", "--asm", "/dev/zero", File(".bas", "")}},
      {"/dev/zero", {"asm", "/dev/zero"}},
      {"/dev/zero", {"disasm", "/dev/zero"}},
      {"/dev/zero", {"run", "--image", "/dev/zero"}},
      {folder, {"run", folder}},
      {pipe, {"run", pipe}},
      {"/dev/zero", {"import", "/dev/zero", "-o", out}},
      {"/dev/zero", {"export", "/dev/zero", "-o", out}},
      {pipe, {"export", pipe, "-o", out}}};
  for (const TCall& call : calls) {
    const TRun r = Command(call.args[0], std::vector<std::string>(call.args.begin() + 1, call.args.end()));
    EXPECT_EQ(r.status, kExitDiagnosed) << call.args[0] << " " << call.refused;
    EXPECT_EQ(r.err, call.refused + kNoFile) << call.args[0];
  }
  EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(CliFiles, ModulesThatAreDevicesOrPipesAreAccessErrors) {
  const std::string pipe = Name(".xml");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  for (const std::string& module : {std::string("/dev/zero"), pipe}) {
    const std::string basic = File(".bas", "$INCLUDE \"" + module + "\"\r\nPRINT 1\r\n");
    const TRun r = Command("compile", {basic});
    EXPECT_EQ(r.status, kExitDiagnosed);
    EXPECT_EQ(r.err, basic + ":1:10: Fehler 259: Zugriffsfehler auf " + module + "\n");
    EXPECT_EQ(Command("run", {basic}).err, r.err);
  }
}

TEST_F(CliFiles, FilesBeyondTheLimitOfTheirKindAreRefused) {
  const std::string text = File(".bas", std::string(filelimit::kSourceText + 1, '\''));
  TRun r = Command("compile", {text});
  EXPECT_EQ(r.status, kExitDiagnosed);
  EXPECT_EQ(r.err, text + ": Die Datei ist zu groß (höchstens 8 MiB).\n");
  const std::string code = File(".bin", std::string(filelimit::kMachineCode + 1, '\x9D'));
  r = Command("disasm", {code});
  EXPECT_EQ(r.err, code + ": Die Datei ist zu groß (höchstens 64 KiB).\n");
  EXPECT_EQ(r.out, "");
  EXPECT_EQ(Command("run", {code}).err, r.err);
  const std::string project = File(".xml", std::string(filelimit::kProjectFile + 1, ' '));
  r = Command("compile", {project});
  EXPECT_EQ(r.err, project + ": Die Datei ist zu groß (höchstens 16 MiB).\n");
  // The largest file allowed is read.
  EXPECT_EQ(Command("compile", {File(".bas", std::string(filelimit::kSourceText, '\''))}).status, kExitOk);
}

TEST_F(CliFiles, AnExportNeverReplacesItsProjectOrAModule) {
  const std::string module = File(".xml", ProjectXml("tessel-1.1", "PRINT 2\r\n"));
  const std::string projectText =
      ProjectXml("tessel-1.1", "$INCLUDE \"" + std::filesystem::path(module).filename().string() + "\"\r\n");
  const std::string project = File(".xml", projectText);
  const std::string soft = Name(".dat"), hard = Name(".dat");
  std::filesystem::create_symlink(project, soft);
  std::filesystem::create_hard_link(project, hard);
  for (const std::string& output : {project, soft, hard}) {
    const TRun r = Command("export", {project, "-o", output});
    EXPECT_EQ(r.status, kExitUsage) << output;
    EXPECT_EQ(r.err, output + ": Die Ausgabedatei ist die Eingabedatei " + project + "; nichts geschrieben.\n");
  }
  const TRun r = Command("export", {project, "-o", module});
  EXPECT_EQ(r.status, kExitUsage);
  EXPECT_NE(r.err.find("ist die Eingabedatei"), std::string::npos) << r.err;
  EXPECT_EQ(Slurp(project), projectText);
  EXPECT_EQ(Slurp(module), ProjectXml("tessel-1.1", "PRINT 2\r\n"));
  // Another name is written.
  EXPECT_EQ(Command("export", {project, "-o", Name(".dat")}).status, kExitOk);
}

TEST_F(CliFiles, AnImportNeverLandsOnItsInputNorDoesTheBackup) {
  const std::string legacy = std::string("tsprojectfile10\x1B", 16) + std::string("\x00\x00\x05\x00\x00\x07\x00\x00\x00", 9) +
                             " NOP\n" + "PRINT 1" + "\x04";
  const std::string output = Name(".xml");
  const std::string backup = std::filesystem::path(output).replace_extension(".BAK").string();
  File(".unused", "");
  std::ofstream(backup, std::ios::binary) << legacy;
  std::ofstream(output, std::ios::binary) << "old";
  TRun r = Command("import", {backup, "-o", output});
  EXPECT_EQ(r.status, kExitUsage);
  EXPECT_EQ(r.err, output + ": Die Sicherungskopie " + backup + " wäre die Eingabedatei " + backup + "; nichts geschrieben.\n");
  EXPECT_EQ(Slurp(backup), legacy);
  EXPECT_EQ(Slurp(output), "old");
  r = Command("import", {backup, "-o", backup});
  EXPECT_EQ(r.status, kExitUsage);
  EXPECT_EQ(Slurp(backup), legacy);
  std::filesystem::remove(backup);
}

TEST_F(CliFiles, OutputThatCannotBeWrittenFailsEveryCommand) {
  TFullStreamBuffer full;
  std::ostream stdoutFull(&full);
  const std::vector<std::vector<std::string>> calls = {
      {"compile", "--dump", File(".bas", "PRINT 1\r\n")},
      {"run", File(".bas", "PRINT \"hallo\"\r\n")},
      {"asm", "--dump", File(".asm", " NOP\r\n")},
      {"disasm", File(".bin", "\x9D\x81")},
      {"--help"}};
  for (const auto& call : calls) {
    std::ostringstream err;
    stdoutFull.clear();
    EXPECT_EQ(Main(call, stdoutFull, err), kExitDiagnosed) << call[0];
    EXPECT_EQ(err.str(), "zarvek-cli: Die Ausgabe konnte nicht geschrieben werden.\n") << call[0];
  }
  // A program printing forever is stopped once its output fails.
  std::ostringstream err;
  stdoutFull.clear();
  EXPECT_EQ(Main({"run", File(".bas", "DO\r\nPRINT \"x\";\r\nLOOP\r\n")}, stdoutFull, err), kExitDiagnosed);
}

#if defined(ZARVEK_CLI_PATH) && defined(__linux__)
// The process itself: a full device and a pipe closed by its reader.
TEST_F(CliFiles, TheToolExitsWithStatusOneWhenStdoutFails) {
  const std::string tool = ZARVEK_CLI_PATH;
  const std::string code = File(".bin", std::string(60000, '\x9D'));
  const std::string errors = Name(".err");
  auto status = [](int raw) { return WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw); };
  EXPECT_EQ(status(std::system((tool + " disasm " + code + " > /dev/full 2> " + errors).c_str())), 1);
  EXPECT_EQ(Slurp(errors), "zarvek-cli: Die Ausgabe konnte nicht geschrieben werden.\n");
  const std::string endless = File(".bas", "DO\r\nPRINT \"x\";\r\nLOOP\r\n");
  for (const std::string& call : {"disasm " + code, "run " + endless}) {
    const std::string pipeline = "bash -c '" + tool + " " + call + " 2> " + errors + " | head -c 1 > /dev/null; exit ${PIPESTATUS[0]}'";
    EXPECT_EQ(status(std::system(pipeline.c_str())), 1) << call;
    EXPECT_EQ(Slurp(errors), "zarvek-cli: Die Ausgabe konnte nicht geschrieben werden.\n");
  }
}
#endif

}  // namespace
}  // namespace zarvek::cli
