// A program as the action: who may have one started, and the command line
// and names it is started and shown with.
#include <gtest/gtest.h>

#include "command/RunTrust.h"
#include "program/Program.h"

namespace {

TEST(RunAction, OnlyTheSameUserAtTheSameOrAHigherIntegrityHasAProgramStartedAndNeverElevated) {
  const command::TokenFacts self{"S-1-5-21-1-1001", 0x2000, false};
  const std::string admin = "Dormix runs as an administrator: it starts no programs, so that none runs with those rights.";
  const struct {
    command::TokenFacts self;
    std::optional<command::TokenFacts> sender;
    std::string refusal;  // "" when allowed
  } cases[] = {
      {self, self, ""},
      {self, command::TokenFacts{"S-1-5-21-1-1001", 0x3000, true}, ""},
      {self, command::TokenFacts{"S-1-5-21-1-1001", 0x1000, false},
       "'/run' is taken only from a process of the same or higher integrity."},
      {self, command::TokenFacts{"S-1-5-21-1-1002", 0x3000, false}, "'/run' is taken only from the user Dormix runs as."},
      {self, std::nullopt, "'/run' was refused: the process that sent it could not be checked."},
      {{"S-1-5-21-1-1001", 0x3000, true}, command::TokenFacts{"S-1-5-21-1-1001", 0x3000, true}, admin},
  };
  for (const auto& c : cases)
    EXPECT_EQ(command::RunRefusal(c.self, c.sender).value_or(""), c.refusal) << c.self.integrity << " " << c.refusal;
}

TEST(RunAction, AProgramIsStartedQuotedInItsFolderAndNamedShort) {
  const struct {
    schedule::Run run;
    std::string line, folder, name;
  } cases[] = {
      {{"C:\\Tools\\x y\\backup.EXE", "-v \"a b\""}, "\"C:\\Tools\\x y\\backup.EXE\" -v \"a b\"", "C:\\Tools\\x y",
       "Run backup.EXE"},
      {{"C:\\b.cmd", ""}, "/c \"\"C:\\b.cmd\"\"", "C:\\", "Run b.cmd"},
      {{"D:\\s\\nightly-backup-of-everything.ps1", "x"}, "\"D:\\s\\nightly-backup-of-everything.ps1\" x", "D:\\s",
       "Run nightly-backup-of-eve..."},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(program::CommandLineOf(c.run), c.line);
    EXPECT_EQ(program::Folder(c.run.program), c.folder);
    EXPECT_EQ(program::RunName(c.run.program), c.name);
  }
}

}  // namespace
