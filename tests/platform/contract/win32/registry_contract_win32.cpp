// The registry contract held against the real registry (under Wine, our stand-in for Windows).

#include <windows.h>
#include <sddl.h>

#include <memory>
#include <string>

#include "platform/win32/win32_registry.h"
#include "tests/platform/contract/registry_contract_subject.h"

namespace contract {
namespace {

class Win32RegistrySubject final : public RegistrySubject {
 public:
  Win32RegistrySubject() {
    static unsigned counter = 0;
    path_ = "Software\\ZelvarSetupContract\\" + std::to_string(GetCurrentProcessId()) + "-" +
            std::to_string(++counter);
  }
  ~Win32RegistrySubject() override { RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str()); }

  platform::Registry& Registry() override { return registry_; }
  platform::RegRoot ScratchRoot() const override { return platform::RegRoot::CurrentUser; }
  const std::string& ScratchPath() const override { return path_; }
  RegistryDifferences Differences() const override {
    RegistryDifferences differences;
    differences.ordersByLowerCase = true;
    differences.subKeyCountNeedsNoAccess = true;
    return differences;
  }
  bool DenySettingValues(const std::string& path) override {
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!ConvertStringSecurityDescriptorToSecurityDescriptorA(
            "D:(D;;0x2;;;WD)(A;;KA;;;WD)", SDDL_REVISION_1, &descriptor, nullptr)) {
      return false;
    }
    HKEY key = nullptr;
    bool denied = false;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, (path_ + "\\" + path).c_str(), 0, WRITE_DAC, &key) ==
        ERROR_SUCCESS) {
      denied = RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, descriptor) == ERROR_SUCCESS;
      RegCloseKey(key);
    }
    LocalFree(descriptor);
    return denied;
  }

 private:
  platform::Win32Registry registry_;
  std::string path_;
};

std::unique_ptr<RegistrySubject> MakeWin32Registry() {
  return std::make_unique<Win32RegistrySubject>();
}

INSTANTIATE_TEST_SUITE_P(Win32, RegistryContract,
                         ::testing::Values(RegistrySubjectMaker{"Win32", MakeWin32Registry}),
                         RegistrySubjectName);

}  // namespace
}  // namespace contract
