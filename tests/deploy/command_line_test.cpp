#include "deploy/command_line.h"

#include <gtest/gtest.h>

namespace {

using Args = std::vector<std::string>;
const std::string kLong(240, 'a');

struct Good {
  Args args;
  deploy::Verb verb;
  std::string folder;
  std::vector<int> years;  // empty: every release
  std::string log;
};

TEST(DeployCommandLine, ReadsEachVerbAndItsOptions) {
  const Good rows[] = {
      {{"machine", "--folder", "C:\\Zelvar"}, deploy::Verb::Machine, "C:\\Zelvar", {}, ""},
      {{"machine", "--releases", "2010,2014", "--folder", "C:\\Zelvar\\.", "--log", "d.log"},
       deploy::Verb::Machine, "C:\\Zelvar", {2010, 2014}, "d.log"},
      {{"machine", "--folder", "C:\\Zelvar", "--releases", "all"}, deploy::Verb::Machine,
       "C:\\Zelvar", {}, ""},
      {{"user", "--folder", "\\\\srv\\share\\Zelvar批\\"}, deploy::Verb::User,
       "\\\\srv\\share\\Zelvar批", {}, ""},
      {{"remove", "--log", "C:\\l.txt", "--folder", "D:\\工具\\Zelvar"}, deploy::Verb::Remove,
       "D:\\工具\\Zelvar", {}, "C:\\l.txt"},
  };
  for (const Good& row : rows) {
    SCOPED_TRACE(row.args[1] + " " + row.args[2]);
    deploy::DeployCommand command;
    std::string error;
    ASSERT_TRUE(deploy::ParseCommandLine(row.args, command, error)) << error;
    discovery::ReleaseFlags expected{};
    if (row.years.empty()) expected.fill(1);
    for (const int year : row.years) {
      expected[static_cast<std::size_t>(discovery::FindReleaseByYear(year)->releaseIndex)] = 1;
    }
    EXPECT_EQ(command.verb, row.verb);
    EXPECT_EQ(command.folder, row.folder);
    EXPECT_EQ(command.releases, expected);
    EXPECT_EQ(command.logPath, row.log);
  }
}

TEST(DeployCommandLine, RefusesBadArgumentsWithTheReason) {
  const std::pair<Args, std::string> rows[] = {
      {{}, "no verb"},
      {{"install", "--folder", "C:\\Z"}, "unknown verb: install"},
      {{"user"}, "--folder is missing"},
      {{"user", "--folder", "C:\\Z", "--quiet", "1"}, "unknown option: --quiet"},
      {{"user", "--folder", "C:\\Z", "--folder", "C:\\Y"}, "twice: --folder"},
      {{"user", "--folder"}, "without its value: --folder"},
      {{"user", "--folder", "--log", "x"}, "without its value: --folder"},
      {{"machine", "--folder", "C:\\Z", "--releases", "2006"}, "knows: 2006"},
      {{"machine", "--folder", "C:\\Z", "--releases", "2010,,2014"}, "knows: "},
      {{"machine", "--folder", "C:\\Z", "--releases", "20x0"}, "knows: 20x0"},
      {{"user", "--folder", "C:\\Z", "--releases", "all"}, "machine alone"},
      {{"user", "--folder", "Zelvar"}, "not an absolute"},
      {{"user", "--folder", "C:\\"}, "not an absolute"},
      {{"user", "--folder", "C:\\" + kLong}, "too long"},
      {{"user", "--folder", "C:\\a;b"}, "';'"},
      {{"user", "--folder", "C:\\Z", "--log", "C:\\" + std::string(260, 'l')}, "too long"},
  };
  for (const auto& [args, reason] : rows) {
    SCOPED_TRACE(reason);
    deploy::DeployCommand command;
    command.folder = "untouched";
    std::string error;
    EXPECT_FALSE(deploy::ParseCommandLine(args, command, error));
    EXPECT_NE(error.find(reason), std::string::npos) << error;
    EXPECT_EQ(command.folder, "untouched");
  }
}

}  // namespace
