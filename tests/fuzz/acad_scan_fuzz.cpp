// The start-up scan over a random machine registry: keys with any names at any depth, values
// of any size and type, keys that deny reading, links that loop. The scan must end, close
// every handle it opened, keep its two lists parallel, file an installation only where one
// key holds both values and its ProductName names the release it is filed under, and give
// the same answer when run again.
//
// The search's key budget is lowered to keep looping inputs quick.
//
// Input: a list of steps, each a byte that picks the step and bytes that fill it in (see
// Build); the registry starts with both AutoCAD branches and one release key in each.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "discovery/installation_inventory.h"
#include "platform/ansi_text.h"
#include "platform/memory/memory_platform.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

using discovery::kReleaseCount;
using discovery::kReleaseTable;
using platform::RegRoot;
namespace reg = platform::reg;

constexpr std::string_view kWowBranch = "SOFTWARE\\Wow6432Node\\Autodesk\\AutoCAD";
constexpr std::string_view kNativeBranch = "SOFTWARE\\Autodesk\\AutoCAD";
constexpr std::size_t kWowRows = 3;  // the releases the Wow6432Node branch is searched for
constexpr std::size_t kValueBufferSize = 256;
// A search's key budget, lowered from the program's so that a looping registry costs
// milliseconds, not seconds, per input; the budget rule itself is the program's.
constexpr std::size_t kFuzzCollectKeys = 2000;
// Filed entries per release that are read back from the registry (see CheckFiled).
constexpr std::size_t kFullChecks = 32;

// Links make the tree a graph; a few are enough to make any loop.
constexpr int kMostLinks = 6;
constexpr std::size_t kMostSteps = 96;

constexpr std::uint32_t kTypeMultiSz = 7;
constexpr std::array<std::uint32_t, 6> kTypes{reg::kTypeSz,     reg::kTypeExpandSz, reg::kTypeDword,
                                              reg::kTypeBinary, kTypeMultiSz,       reg::kTypeNone};
constexpr std::array<std::string_view, 5> kValueNames{"AcadLocation", "ProductName", "ProductName",
                                                      "Release", ""};
// Bits of text that make a product name worth filing, or almost.
constexpr std::array<std::string_view, 8> kNameParts{
    "AutoCAD ", "2008", "2024", "2013 Edition", " - \xBC\xF2\xCC\xE5\xD6\xD0\xCE\xC4",
    "\x95\x5C", "\x95\x7C", "Map 3D 2010"};

// A key name as the registry can hold one: whole characters of the input's code page, no
// backslash or NUL of its own.
// Lengths reach past the 255 characters that fit the scan's name buffer.
std::string MakeName(fuzz::ByteReader& input) {
  const std::uint8_t shape = input.Byte();
  std::size_t length = shape & 15;
  if ((shape & 0xF0) == 0xF0) length = 250 + (shape & 15);  // 250 to 265 characters
  std::string name;
  for (std::size_t i = 0; i < length; ++i) {
    const std::uint8_t byte = input.Byte();
    if (ansi::IsLeadByte(byte)) {
      // A trail byte of 0x40-0xFE other than 0x7F, 0x5C and 0x7C among them.
      std::uint8_t trail = static_cast<std::uint8_t>(0x40 + input.Byte() % 0xBF);
      if (trail == 0x7F) trail = 0x5C;
      name += static_cast<char>(byte);
      name += static_cast<char>(trail);
    } else if (byte == '\\' || byte < 0x20 || byte == 0x7F || byte >= 0x80) {
      name += static_cast<char>('a' + byte % 26);
    } else {
      name += static_cast<char>(byte);
    }
  }
  if (name.empty()) name = "k";
  return name;
}

std::string MakeData(fuzz::ByteReader& input) {
  const std::uint8_t shape = input.Byte();
  std::string data;
  switch (shape & 7) {
    case 0:  // a product name, or a near miss
      for (int part = 0, parts = 1 + (shape >> 3) % 4; part < parts; ++part) {
        data += kNameParts[input.Byte() % kNameParts.size()];
      }
      break;
    case 1:  // raw bytes
      data = std::string(input.Take(input.Byte()));
      break;
    case 2:  // around the scan's buffer size, and far beyond it
      data.assign(std::array<std::size_t, 5>{255, 256, 257, 1024, 20000}[(shape >> 3) % 5], 'A');
      data.replace(data.size() / 2, 4, "2010");
      break;
    default:
      data = "C:\\Program Files\\AutoCAD " + std::string(kNameParts[(shape >> 3) % 3]);
      break;
  }
  if ((shape & 0x80) == 0) data += '\0';
  return data;
}

struct Machine {
  platform::MemoryPlatform platform;
  std::vector<std::string> keys;  // paths below HKEY_LOCAL_MACHINE, links among them
  int links = 0;
};

const std::string& PickKey(Machine& machine, fuzz::ByteReader& input) {
  return machine.keys[input.Byte() % machine.keys.size()];
}

void Build(Machine& machine, fuzz::ByteReader& input) {
  platform::MemoryRegistry& registry = machine.platform.registry;
  for (const std::string_view branch : {kWowBranch, kNativeBranch}) {
    const std::string release = std::string(branch) + "\\R17.1";
    FUZZ_CHECK(registry.CreateKeyPath(RegRoot::LocalMachine, release));
    machine.keys.emplace_back(branch);
    machine.keys.push_back(release);
  }
  for (std::size_t step = 0; step < kMostSteps && !input.AtEnd(); ++step) {
    const std::uint8_t kind = input.Byte() % 8;
    const std::string parent = PickKey(machine, input);
    switch (kind) {
      case 0:
      case 1:
      case 2: {
        const std::string path = parent + '\\' + MakeName(input);
        // Over-long names are refused here as by the registry; the step then adds nothing.
        if (registry.CreateKeyPath(RegRoot::LocalMachine, path)) machine.keys.push_back(path);
        break;
      }
      case 3:
      case 4: {
        const std::string_view name = kValueNames[input.Byte() % kValueNames.size()];
        const std::uint32_t type = kTypes[input.Byte() % kTypes.size()];
        registry.SetRawValue(RegRoot::LocalMachine, parent, name, type, MakeData(input));
        break;
      }
      case 5:
        if (input.Byte() & 1) {
          registry.DenyReadTree(RegRoot::LocalMachine, parent);
        } else {
          registry.DenyRead(RegRoot::LocalMachine, parent);
        }
        break;
      case 6:
      case 7: {
        if (machine.links >= kMostLinks) break;
        // Often to a key above it: a loop.
        const std::string path = parent + '\\' + MakeName(input);
        const std::string& target = PickKey(machine, input);
        if (registry.AddLink(RegRoot::LocalMachine, path, RegRoot::LocalMachine, target)) {
          machine.keys.push_back(path);
          ++machine.links;
        }
        break;
      }
    }
  }
}

// A value's text as the scan reads it: absent when it does not fit the buffer, and up to
// its first NUL.
bool ReadAsScan(const platform::MemoryRegistry& registry, std::string_view keyPath,
                std::string_view valueName, std::string& text) {
  const auto value = registry.ReadValue(RegRoot::LocalMachine, keyPath, valueName);
  if (!value || value->data.size() > kValueBufferSize) return false;
  text = value->data.substr(0, value->data.find('\0'));
  return true;
}

// Where the year text of `row` stands in the name on a character boundary, not at its start.
bool NamesRelease(std::string_view productName, std::size_t row) {
  const std::size_t at = ansi::FindText(productName, kReleaseTable[row].yearText);
  return at != std::string_view::npos && at > 0;
}

void CheckFiled(const Machine& machine, const discovery::InstallationInventory& inventory) {
  const platform::MemoryRegistry& registry = machine.platform.registry;
  for (std::size_t row = 0; row < kReleaseCount; ++row) {
    const auto& paths = inventory.productKeyPaths[row];
    const auto& locations = inventory.acadLocations[row];
    FUZZ_CHECK(paths.size() == locations.size());
    for (std::size_t i = 0; i < paths.size(); ++i) {
      const std::string& path = paths[i];
      FUZZ_CHECK(ansi::EndsWithBackslash(path));
      const bool wow = path.starts_with(std::string(kWowBranch) + '\\');
      FUZZ_CHECK(wow || path.starts_with(std::string(kNativeBranch) + '\\'));
      const std::size_t rows = wow ? kWowRows : kReleaseCount;
      FUZZ_CHECK(row < rows);
      // A loop files the keys below it once per level, hundreds of paths 512 names deep, and
      // each is read back through every link on it. Of a long list only the first and the
      // last (the deepest and the shallowest) are read back.
      if (i >= kFullChecks / 2 && i + kFullChecks / 2 < paths.size()) continue;

      const std::string keyPath = path.substr(0, path.size() - 1);
      std::string productName;
      std::string location;
      FUZZ_CHECK(ReadAsScan(registry, keyPath, "ProductName", productName));
      FUZZ_CHECK(ReadAsScan(registry, keyPath, "AcadLocation", location));
      FUZZ_CHECK(location == locations[i]);
      // Filed under the first release whose year the name holds.
      FUZZ_CHECK(NamesRelease(productName, row));
      for (std::size_t earlier = 0; earlier < row; ++earlier) {
        FUZZ_CHECK(!NamesRelease(productName, earlier));
      }
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::ByteReader input(data, size);
  const fuzz::CodePageScope codePage(fuzz::CodePageFrom(input.Byte()));
  Machine machine;
  Build(machine, input);
  const platform::RegistrySnapshot before = machine.platform.registry.Snapshot();
  FUZZ_CHECK(machine.platform.registry.OpenHandleCount() == 0);

  discovery::InstallationInventory first(machine.platform.Get());
  first.maxCollectKeys = kFuzzCollectKeys;
  first.ScanAcadInstallations();
  FUZZ_CHECK(machine.platform.registry.OpenHandleCount() == 0);
  FUZZ_CHECK(machine.platform.registry.WriteCount() == 0);
  FUZZ_CHECK(machine.platform.registry.Snapshot() == before);
  CheckFiled(machine, first);

  discovery::InstallationInventory second(machine.platform.Get());
  second.maxCollectKeys = kFuzzCollectKeys;
  second.ScanAcadInstallations();
  FUZZ_CHECK(second.acadLocations == first.acadLocations);
  FUZZ_CHECK(second.productKeyPaths == first.productKeyPaths);
  return 0;
}
