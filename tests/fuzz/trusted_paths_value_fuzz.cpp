// The new TRUSTEDPATHS value on any old value and any folder, and the update of a profile
// holding that old value as any type of value: nothing of the old text is lost, the folder
// is in the result, a second installation changes nothing, every handle is closed.
//
// Input: a selector byte (bits 0, 6, 7: the code page; bits 1-3: the stored value's type;
// bit 4: stored without a NUL; bit 5: the profile's Variables key denies reading), a length
// byte n, n bytes of the product folder, and the old value as the rest.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "discovery/installation_inventory.h"
#include "platform/ansi_text.h"
#include "platform/memory/memory_platform.h"
#include "registration/trusted_paths.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

using platform::RegRoot;
namespace reg = platform::reg;

constexpr std::uint32_t kTypeMultiSz = 7;
constexpr std::array<std::uint32_t, 8> kValueTypes{reg::kTypeSz,     reg::kTypeExpandSz,
                                                   reg::kTypeDword,  reg::kTypeBinary,
                                                   kTypeMultiSz,     reg::kTypeNone,
                                                   reg::kTypeSz,     reg::kTypeSz};

constexpr const char* kVariables =
    "SOFTWARE\\Autodesk\\AutoCAD\\R24.3\\ACAD-7101:804\\Profiles\\<<Unnamed Profile>>\\Variables";

void CheckValueRule(std::string_view current, std::string_view folder) {
  const std::string result = registration::FormTrustedPathsValue(current, folder);
  // AutoCAD's placeholder in a fresh profile names no folder and is replaced.
  if (current.size() <= 2) {
    FUZZ_CHECK(result == folder);
  } else {
    const std::string upperCurrent = ansi::ToUpper(current);
    FUZZ_CHECK(result.starts_with(upperCurrent));
    FUZZ_CHECK(ansi::FindText(result, ansi::ToUpper(folder)) != std::string::npos);
    // Only a separator and the folder may follow the old entries.
    FUZZ_CHECK(result.size() == upperCurrent.size() ||
               result.size() == upperCurrent.size() + 1 + folder.size());
  }
  // Installing again finds the folder and keeps the value as it is, letter case aside.
  const std::string second = registration::FormTrustedPathsValue(result, folder);
  FUZZ_CHECK(ansi::EqualsNoCase(second, result));
  FUZZ_CHECK(registration::FormTrustedPathsValue(second, folder) == second);
}

// The text the update reads from stored data: up to the first NUL, whatever the type.
std::string_view AsText(std::string_view data) { return data.substr(0, data.find('\0')); }

void CheckProfileUpdate(std::uint8_t selector, std::string_view current, std::string_view folder) {
  platform::MemoryPlatform machine;
  const std::uint32_t type = kValueTypes[(selector >> 1) & 7];
  std::string stored(current);
  if ((selector & 0x10) == 0) stored += '\0';
  FUZZ_CHECK(machine.registry.SetRawValue(RegRoot::CurrentUser, kVariables, "TRUSTEDPATHS", type,
                                          stored));
  FUZZ_CHECK(machine.registry.SetString(RegRoot::CurrentUser, kVariables, "ACADPREFIX", "C:\\A"));
  const bool denied = (selector & 0x20) != 0;
  if (denied) FUZZ_CHECK(machine.registry.DenyRead(RegRoot::CurrentUser, kVariables));
  const platform::RegistrySnapshot before = machine.registry.Snapshot();

  discovery::InstallationInventory inventory(machine.Get());
  inventory.installFolder = std::string(folder);
  registration::UpdateTrustedPaths(inventory, machine.registry);

  FUZZ_CHECK(machine.registry.OpenHandleCount() == 0);
  const auto value = machine.registry.ReadValue(RegRoot::CurrentUser, kVariables, "TRUSTEDPATHS");
  FUZZ_CHECK(value.has_value());
  if (denied) {
    // What cannot be read is never overwritten.
    FUZZ_CHECK(machine.registry.Snapshot() == before);
    return;
  }
  FUZZ_CHECK(value->type == reg::kTypeSz);
  const std::string expected = registration::FormTrustedPathsValue(AsText(stored), folder);
  FUZZ_CHECK(value->data == expected + '\0');
  FUZZ_CHECK(machine.registry.ReadString(RegRoot::CurrentUser, kVariables, "ACADPREFIX") ==
             "C:\\A");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::ByteReader input(data, size);
  const std::uint8_t selector = input.Byte();
  const fuzz::CodePageScope codePage(fuzz::CodePageFrom(selector));
  const std::string_view folder = input.Take(input.Byte());
  const std::string_view current = input.Rest();

  CheckValueRule(current, folder);
  CheckProfileUpdate(selector, current, folder);
  return 0;
}
