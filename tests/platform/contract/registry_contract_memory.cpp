// The registry contract held against the in-memory registry.

#include <memory>
#include <string>

#include "platform/ansi_text.h"
#include "platform/memory/memory_registry.h"
#include "tests/platform/contract/registry_contract_subject.h"

namespace contract {
namespace {

class MemoryRegistrySubject final : public RegistrySubject {
 public:
  platform::Registry& Registry() override { return registry_; }
  platform::RegRoot ScratchRoot() const override { return platform::RegRoot::CurrentUser; }
  const std::string& ScratchPath() const override { return path_; }
  RegistryDifferences Differences() const override {
    RegistryDifferences differences;
    differences.ordersDoubleByteNamesByCodePage = true;
    return differences;
  }
  bool DenySettingValues(const std::string& path) override {
    return registry_.DenyWrite(platform::RegRoot::CurrentUser, path_ + "\\" + path);
  }

 private:
  platform::MemoryRegistry registry_;
  std::string path_ = "Software\\Contract";
};

std::unique_ptr<RegistrySubject> MakeMemoryRegistry() {
  return std::make_unique<MemoryRegistrySubject>();
}

// The in-memory registry converts narrow strings through whatever code page the program
// follows, as Windows converts through the ANSI code page of the machine.
TEST(MemoryRegistryCodePage, NarrowStringsConvertThroughTheActiveCodePage) {
  struct Restore {
    ~Restore() { ansi::SetActiveCodePage(ansi::kCodePage936); }
  } restore;
  ansi::SetActiveCodePage(1252);
  platform::MemoryRegistry registry;
  const auto root = platform::RegRoot::CurrentUser;
  EXPECT_TRUE(registry.SetString(root, "A", "Narrow", "\xC5\xFA"));
  EXPECT_TRUE(registry.SetStringWide(root, "A", "Wide", u"\u4E2D\u00E9"));
  EXPECT_EQ(registry.ReadStringWide(root, "A", "Narrow"), u"\u00C5\u00FA");
  EXPECT_EQ(registry.ReadString(root, "A", "Wide"), "?\xE9");
  ansi::SetActiveCodePage(ansi::kCodePage936);
  EXPECT_EQ(registry.ReadString(root, "A", "Wide"), "\xD6\xD0\xA8\xA6");
}

// A 32-bit program on 64-bit Windows: below SOFTWARE every open, creation and deletion reaches
// the 32-bit view unless the open asks for the 64-bit one, whichever view its handle came from.
TEST(MemoryRegistryViews, AThirtyTwoBitProgramSeesWow6432NodeUnlessItAsksForTheNative) {
  namespace reg = platform::reg;
  const auto machine = platform::RegRoot::LocalMachine;
  platform::MemoryRegistry registry;
  ASSERT_TRUE(registry.CreateKeyPath(machine, "SOFTWARE\\Native"));
  registry.SetWow64Process(true);
  platform::RegKey software;
  platform::RegKey key;
  ASSERT_EQ(registry.OpenKeyEx(machine, "SOFTWARE", reg::kKeyRead | reg::kWow64_64Key, software),
            reg::kSuccess);
  EXPECT_EQ(registry.OpenKeyEx(software, "Native", reg::kKeyRead, key), reg::kFileNotFound);
  EXPECT_EQ(registry.OpenKeyEx(software, "Native", reg::kKeyRead | reg::kWow64_64Key, key),
            reg::kSuccess);
  ASSERT_EQ(registry.CreateKey(software, "Made", key), reg::kSuccess);
  EXPECT_EQ(registry.DeleteKey(machine, "Software\\Wow6432Node\\Made"), reg::kSuccess);
}

INSTANTIATE_TEST_SUITE_P(Memory, RegistryContract,
                         ::testing::Values(RegistrySubjectMaker{"Memory", MakeMemoryRegistry}),
                         RegistrySubjectName);

}  // namespace
}  // namespace contract
