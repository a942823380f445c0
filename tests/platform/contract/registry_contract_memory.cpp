// The registry contract held against the in-memory registry.

#include <memory>
#include <string>

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

INSTANTIATE_TEST_SUITE_P(Memory, RegistryContract,
                         ::testing::Values(RegistrySubjectMaker{"Memory", MakeMemoryRegistry}),
                         RegistrySubjectName);

}  // namespace
}  // namespace contract
