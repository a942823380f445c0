// Active Setup's component: written for a product folder, and taken out (with the user's
// record of it) only by the removal of that folder.

#include <gtest/gtest.h>

#include <cstdio>

#include "install/product_identity.h"
#include "platform/memory/memory_platform.h"
#include "registration/active_setup.h"
#include "uninstall/registry_removal.h"

namespace {

using platform::RegRoot;
const std::string kPath = install::kActiveSetupComponentPath;

TEST(ActiveSetup, TheComponentRunsTheFoldersToolWithTheSetupsVersion) {
  platform::MemoryPlatform m;
  ASSERT_EQ(registration::WriteActiveSetupComponent(m.registry, "C:\\Zelvar批"), 0);
  EXPECT_EQ(m.registry.ReadString(RegRoot::LocalMachine, kPath, "StubPath"),
            "\"C:\\Zelvar批\\zelvar-deploy.exe\" user --folder \"C:\\Zelvar批\"");
  EXPECT_EQ(m.registry.ReadString(RegRoot::LocalMachine, kPath, "Version"),
            registration::ActiveSetupVersion());
  int year = 0, month = 0, day = 0, build = -1;
  ASSERT_EQ(std::sscanf(registration::ActiveSetupVersion().c_str(), "%d,%d,%d,%d", &year,
                        &month, &day, &build), 4);
  EXPECT_EQ(year * 10000 + month * 100 + day, install::setupVersion);
  EXPECT_EQ(build, 0);
}

TEST(ActiveSetup, RemovalTakesOutOnlyTheComponentOfItsOwnFolder) {
  struct Row {
    const char* written;  // null: no component
    const char* removedFor;
    bool denied;
    bool stays;
  };
  const Row rows[] = {
      {"C:\\Zelvar", "C:\\Zelvar", false, false},
      {"C:\\Zelvar", "c:\\ZELVAR", false, false},
      {nullptr, "C:\\Zelvar", false, false},
      {"C:\\Zelvar", "C:\\Other", false, true},
      {"C:\\Zelvar\\Sub", "C:\\Zelvar", false, true},
      {"C:\\Zelvar", "C:\\Zelvar", true, true},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string(row.written ? row.written : "none") + " / " + row.removedFor);
    platform::MemoryPlatform m;
    if (row.written) {
      ASSERT_EQ(registration::WriteActiveSetupComponent(m.registry, row.written), 0);
    }
    m.registry.CreateKeyPath(RegRoot::CurrentUser, kPath);
    if (row.denied) {
      m.registry.DenyWriteTree(RegRoot::LocalMachine, "");
      m.registry.DenyWriteTree(RegRoot::CurrentUser, "");
    }
    uninstall::RemovalReport report;
    uninstall::RemoveActiveSetupComponent(m.Get(), row.removedFor, report);
    EXPECT_EQ(m.registry.KeyExists(RegRoot::LocalMachine, kPath), row.stays && row.written);
    EXPECT_EQ(m.registry.KeyExists(RegRoot::CurrentUser, kPath), row.stays);
    const std::vector<std::string> refused{"HKEY_LOCAL_MACHINE\\" + kPath,
                                           "HKEY_CURRENT_USER\\" + kPath};
    EXPECT_EQ(report.notRemoved, row.denied ? refused : std::vector<std::string>());
  }
}

}  // namespace
