// The Tool Help walk as the setup uses it to find a running AutoCAD: every record is a bare
// executable name, and the walk ends.

#include <string>
#include <vector>

#include "platform/ansi_text.h"
#include "tests/platform/contract/file_system_contract_subject.h"

namespace contract {
namespace {

std::vector<std::string> Walk(platform::ProcessList& processes, platform::ProcessSnapshot& snapshot) {
  std::vector<std::string> names;
  platform::ProcessEntry entry;
  for (bool more = processes.First(snapshot, entry); more; more = processes.Next(snapshot, entry)) {
    names.push_back(entry.exeFile);
  }
  return names;
}

std::string ThisProgramsName(platform::FileSystem& files) {
  char path[platform::kMaxPath] = {};
  const std::uint32_t length = files.GetModulePath(path, platform::kMaxPath);
  const std::string full(path, length < platform::kMaxPath ? length : 0);
  const std::size_t slash = ansi::FindLastBackslash(full);
  return slash == std::string::npos ? full : full.substr(slash + 1);
}

TEST_P(ProcessListContract, SnapshotHoldsThisProgramByItsBareName) {
  platform::ProcessList& processes = subject->Processes();
  platform::ProcessSnapshot snapshot;
  ASSERT_TRUE(processes.TakeSnapshot(snapshot));
  const std::vector<std::string> names = Walk(processes, snapshot);

  const std::string self = ThisProgramsName(files());
  ASSERT_FALSE(self.empty());
  bool found = false;
  for (const std::string& name : names) {
    EXPECT_FALSE(name.empty());
    EXPECT_EQ(name.find_first_of("\\/:"), std::string::npos) << name;
    found = found || ansi::EqualsNoCase(name, self);
  }
  EXPECT_TRUE(found) << self << " among " << names.size() << " processes";
}

TEST_P(ProcessListContract, TheWalkEndsAndFirstStartsItAgain) {
  platform::ProcessList& processes = subject->Processes();
  platform::ProcessSnapshot snapshot;
  ASSERT_TRUE(processes.TakeSnapshot(snapshot));
  const std::vector<std::string> names = Walk(processes, snapshot);
  ASSERT_FALSE(names.empty());

  platform::ProcessEntry entry;
  EXPECT_FALSE(processes.Next(snapshot, entry));
  EXPECT_EQ(Walk(processes, snapshot), names) << "a snapshot does not change once taken";
}

TEST_P(ProcessListContract, NextOnAFreshSnapshotGivesTheFirstRecord) {
  platform::ProcessList& processes = subject->Processes();
  platform::ProcessSnapshot walked;
  ASSERT_TRUE(processes.TakeSnapshot(walked));
  platform::ProcessEntry first;
  ASSERT_TRUE(processes.First(walked, first));

  platform::ProcessSnapshot fresh;
  ASSERT_TRUE(processes.TakeSnapshot(fresh));
  platform::ProcessEntry entry;
  ASSERT_TRUE(processes.Next(fresh, entry));
  EXPECT_EQ(entry.exeFile, first.exeFile);
}

TEST_P(ProcessListContract, RunsAsAdministratorAgreesWithTheToken) {
  const std::optional<bool> started = subject->StartedAsAdministrator();
  if (!started.has_value()) GTEST_SKIP() << "nothing else tells how this process was started";
  EXPECT_EQ(subject->Processes().RunsAsAdministrator(), *started);
}

TEST_P(ProcessListContract, LocalDateIsTheDayTheClockShows) {
  const platform::CalendarDate before = subject->Today();
  const platform::CalendarDate date = subject->Processes().LocalDate();
  const platform::CalendarDate after = subject->Today();
  // Midnight may pass between the reads.
  EXPECT_TRUE(date == before || date == after)
      << date.year << "-" << +date.month << "-" << +date.day << " against " << before.year << "-"
      << +before.month << "-" << +before.day;
}

TEST_P(ProcessListContract, ASixtyFourBitProgramDoesNotRunUnderWow64) {
  if (sizeof(void*) != 8) GTEST_SKIP() << "a 32-bit build";
  EXPECT_FALSE(subject->Processes().RunsUnderWow64());
}

}  // namespace
}  // namespace contract
