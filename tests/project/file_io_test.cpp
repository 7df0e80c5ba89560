// Reading the user's files: only regular files, never more than the limit of their kind,
// and never waiting on a pipe; names that lead to one file.
#include <gtest/gtest.h>

#include <sys/stat.h>  // mkfifo: these tests run on POSIX systems

#include "project/file_io.h"
#include "project/project_file.h"
#include "temp_folder.h"

namespace zarvek::test {
namespace {

class FileIo : public TTempFolder {};

TEST_F(FileIo, OnlyRegularFilesWithinTheLimitAreRead) {
  const std::string text = Write("a.bas", "PRINT 1\r\n");
  TFileContent c = ReadFileBytes(text, 9);
  EXPECT_EQ(c.status, TReadStatus::Ok);
  EXPECT_EQ(c.bytes, "PRINT 1\r\n");
  c = ReadFileBytes(text, 8);
  EXPECT_EQ(c.status, TReadStatus::TooLarge);
  EXPECT_TRUE(c.bytes.empty());
  EXPECT_EQ(ReadFileBytes(Write("empty.bas", ""), 0).status, TReadStatus::Ok);

  EXPECT_EQ(ReadFileBytes(Path("missing.bas"), 100).status, TReadStatus::Missing);
  EXPECT_EQ(ReadFileBytes(Path("missing/below.bas"), 100).status, TReadStatus::Missing);
  std::filesystem::create_directory(Path("folder.bas"));
  EXPECT_EQ(ReadFileBytes(Path("folder.bas"), 100).status, TReadStatus::NotAFile);
  // A device that never ends and a pipe nobody writes to are refused at once.
  EXPECT_EQ(ReadFileBytes("/dev/zero", 100).status, TReadStatus::NotAFile);
  ASSERT_EQ(::mkfifo(Path("pipe.xml").c_str(), 0600), 0);
  EXPECT_EQ(ReadFileBytes(Path("pipe.xml"), 100).status, TReadStatus::NotAFile);
  // Through a link the file it names is read.
  std::filesystem::create_symlink(text, Path("link.bas"));
  EXPECT_EQ(ReadFileBytes(Path("link.bas"), 100).bytes, "PRINT 1\r\n");
}

TEST_F(FileIo, RefusalsSayWhy) {
  EXPECT_EQ(ReadFailureText(TReadStatus::NotAFile, 1), "Keine gewöhnliche Datei (ein Ordner, ein Gerät oder eine Pipe).");
  EXPECT_EQ(ReadFailureText(TReadStatus::TooLarge, filelimit::kSourceText), "Die Datei ist zu groß (höchstens 8 MiB).");
  EXPECT_EQ(ReadFailureText(TReadStatus::TooLarge, filelimit::kMachineCode), "Die Datei ist zu groß (höchstens 64 KiB).");
  EXPECT_EQ(ReadFailureText(TReadStatus::TooLarge, 1000), "Die Datei ist zu groß (höchstens 1000 Bytes).");
  EXPECT_EQ(ReadFailureText(TReadStatus::Failed, 1), kOpenFailedText);
}

TEST_F(FileIo, SameFileThroughLinksAndHardLinks) {
  const std::string a = Write("a.xml", "x");
  const std::string b = Write("b.xml", "x");
  std::filesystem::create_symlink(a, Path("soft.dat"));
  std::filesystem::create_hard_link(a, Path("hard.dat"));
  EXPECT_TRUE(IsSameFile(a, a));
  EXPECT_TRUE(IsSameFile(Path("soft.dat"), a));
  EXPECT_TRUE(IsSameFile(Path("hard.dat"), a));
  EXPECT_TRUE(IsSameFile((Folder() / "." / "a.xml").string(), a));
  EXPECT_FALSE(IsSameFile(a, b));  // same content, other file
  EXPECT_FALSE(IsSameFile(Path("new.xml"), a));
  EXPECT_FALSE(IsSameFile(Path("new.xml"), Path("new.xml")));  // nothing exists to be lost
}

TEST_F(FileIo, ProjectsBeyondTheLimitOrNoFilesAreRefusedWithTheReason) {
  TProject p;
  p.basicSource = "kept";
  const std::string huge = Write("huge.xml", "<project><basic><source>" + std::string(filelimit::kProjectFile, 'x') +
                                                 "</source></basic></project>");
  TLoadOutcome o = LoadProject(huge, TLoadMode::Interactive, p);
  EXPECT_EQ(o.result, loadresult::ReadFailed);
  EXPECT_EQ(o.message, "Die Datei ist zu groß (höchstens 16 MiB).");
  EXPECT_EQ(p.basicSource, "kept");
  // A module load gives the result alone; the compiler words it.
  o = LoadProject("/dev/zero", TLoadMode::Module, p);
  EXPECT_EQ(o.result, loadresult::ReadFailed);
  EXPECT_TRUE(o.message.empty());
}

}  // namespace
}  // namespace zarvek::test
