// The new TRUSTEDPATHS value on any old value and any folder, and the update of a profile
// holding that old value as any type of value: nothing of the old text is lost (characters
// the code page lacks are kept exactly), the folder is in the result, a second installation
// changes nothing, every handle is closed.
//
// Input: a selector byte (bits 0, 6, 7: the code page; bits 1-3: the stored value's type;
// bit 4: stored without a NUL; bit 5: the profile's Variables key denies reading), a length
// byte n, n bytes of the product folder (narrow, in the code page), and the old value as the
// rest: the stored bytes, UTF-16LE for a string type (any units, lone surrogates among them).

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "discovery/installation_inventory.h"
#include "platform/ansi_text.h"
#include "platform/code_page.h"
#include "platform/memory/memory_platform.h"
#include "registration/trusted_paths.h"
#include "registration/trusted_paths_text.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

using platform::RegRoot;
namespace reg = platform::reg;
namespace text = registration::trusted_paths_text;

constexpr std::array<std::uint32_t, 8> kValueTypes{reg::kTypeSz,     reg::kTypeExpandSz,
                                                   reg::kTypeDword,  reg::kTypeBinary,
                                                   reg::kTypeMultiSz, reg::kTypeNone,
                                                   reg::kTypeSz,     reg::kTypeSz};

constexpr const char* kVariables =
    "SOFTWARE\\Autodesk\\AutoCAD\\R24.3\\ACAD-7101:804\\Profiles\\<<Unnamed Profile>>\\Variables";

bool IsAsciiLetter(char16_t unit) {
  return (unit >= u'a' && unit <= u'z') || (unit >= u'A' && unit <= u'Z');
}

// Whether the unit at `pos` is part of a character the code page carries.
bool CodePageCarries(std::u16string_view value, std::size_t pos) {
  const unsigned codePage = ansi::ActiveCodePage();
  const std::u16string_view unit = value.substr(pos, 1);
  return code_page::ToUtf16(codePage, code_page::FromUtf16(codePage, unit)) == unit;
}

void CheckValueRule(std::u16string_view current, std::u16string_view folder) {
  const std::u16string result = registration::FormTrustedPathsValue(current, folder);
  // AutoCAD's placeholder in a fresh profile names no folder and is replaced.
  if (text::CodePageLength(current.substr(0, 3)) <= 2) {
    FUZZ_CHECK(result == folder);
  } else {
    const std::u16string upperCurrent = text::ToUpper(current);
    FUZZ_CHECK(upperCurrent.size() == current.size());
    for (std::size_t pos = 0; pos < current.size(); ++pos) {
      // Only letters of the code page change: what it lacks is kept exactly.
      if (upperCurrent[pos] != current[pos]) {
        FUZZ_CHECK(current[pos] >= 0x80 || IsAsciiLetter(current[pos]));
        FUZZ_CHECK(CodePageCarries(current, pos));
      }
    }
    FUZZ_CHECK(result.starts_with(upperCurrent));
    FUZZ_CHECK(text::Find(result, text::ToUpper(folder)) != std::u16string::npos);
    // Only a separator and the folder may follow the old entries.
    FUZZ_CHECK(result.size() == upperCurrent.size() ||
               result.size() == upperCurrent.size() + 1 + folder.size());
  }
  // Installing again finds the folder and keeps the value as it is, letter case aside.
  const std::u16string second = registration::FormTrustedPathsValue(result, folder);
  FUZZ_CHECK(text::ToUpper(second) == text::ToUpper(result));
  FUZZ_CHECK(registration::FormTrustedPathsValue(second, folder) == second);
}

// The text the update reads from stored data, up to the first NUL: UTF-16 for a string
// type, text of the code page for any other.
std::u16string AsText(std::uint32_t type, std::string_view data) {
  if (reg::IsStringType(type)) {
    const std::u16string wide = code_page::Utf16FromBytes(data);
    return wide.substr(0, wide.find(u'\0'));
  }
  return text::FromCodePage(data.substr(0, data.find('\0')));
}

void CheckProfileUpdate(std::uint8_t selector, std::string_view current, std::string_view folder) {
  platform::MemoryPlatform machine;
  const std::uint32_t type = kValueTypes[(selector >> 1) & 7];
  std::string stored(current);
  if ((selector & 0x10) == 0) stored.append(reg::IsStringType(type) ? 2 : 1, '\0');
  FUZZ_CHECK(machine.registry.SetStoredValue(RegRoot::CurrentUser, kVariables, "TRUSTEDPATHS",
                                             type, stored));
  FUZZ_CHECK(machine.registry.SetString(RegRoot::CurrentUser, kVariables, "ACADPREFIX", "C:\\A"));
  const bool denied = (selector & 0x20) != 0;
  if (denied) FUZZ_CHECK(machine.registry.DenyRead(RegRoot::CurrentUser, kVariables));
  const platform::RegistrySnapshot before = machine.registry.Snapshot();

  discovery::InstallationInventory inventory(machine.Get());
  inventory.installFolder = std::string(folder);
  registration::UpdateTrustedPaths(inventory, machine.registry);

  FUZZ_CHECK(machine.registry.OpenHandleCount() == 0);
  const auto value =
      machine.registry.ReadStoredValue(RegRoot::CurrentUser, kVariables, "TRUSTEDPATHS");
  FUZZ_CHECK(value.has_value());
  if (denied) {
    // What cannot be read is never overwritten.
    FUZZ_CHECK(machine.registry.Snapshot() == before);
    return;
  }
  FUZZ_CHECK(value->type == reg::kTypeSz);
  const std::u16string expected =
      registration::FormTrustedPathsValue(AsText(type, stored), text::FromCodePage(folder));
  // Read up to its first NUL (a folder of the fuzzer's may hold one).
  FUZZ_CHECK(machine.registry.ReadStringWide(RegRoot::CurrentUser, kVariables, "TRUSTEDPATHS") ==
             expected.substr(0, expected.find(u'\0')));
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

  CheckValueRule(code_page::Utf16FromBytes(current), text::FromCodePage(folder));
  CheckProfileUpdate(selector, current, folder);
  return 0;
}
