#pragma once

// A random machine registry for the start-up scan, made from a fuzz input: keys with any names
// at any depth below both AutoCAD branches, values of any size and type, keys that deny
// reading, links that loop. The scan's fuzz target and its differential test build from it.
//
// Input: a list of steps, each a byte that picks the step and bytes that fill it in (see
// Build); the registry starts with both AutoCAD branches and one release key in each.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ansi_text.h"
#include "platform/memory/memory_platform.h"
#include "tests/fuzz/fuzz_support.h"

namespace fuzz::acad_registry {

using platform::RegRoot;
namespace reg = platform::reg;

inline constexpr std::string_view kWowBranch = "SOFTWARE\\Wow6432Node\\Autodesk\\AutoCAD";
inline constexpr std::string_view kNativeBranch = "SOFTWARE\\Autodesk\\AutoCAD";

// Links make the tree a graph; a few are enough to make any loop.
inline constexpr int kMostLinks = 6;
inline constexpr std::size_t kMostSteps = 96;

inline constexpr std::uint32_t kTypeMultiSz = 7;
inline constexpr std::array<std::uint32_t, 6> kTypes{
    reg::kTypeSz, reg::kTypeExpandSz, reg::kTypeDword, reg::kTypeBinary, kTypeMultiSz,
    reg::kTypeNone};
inline constexpr std::array<std::string_view, 5> kValueNames{"AcadLocation", "ProductName",
                                                             "ProductName", "Release", ""};
// Bits of text that make a product name worth filing, or almost.
inline constexpr std::array<std::string_view, 8> kNameParts{
    "AutoCAD ", "2008", "2024", "2013 Edition", " - \xBC\xF2\xCC\xE5\xD6\xD0\xCE\xC4",
    "\x95\x5C", "\x95\x7C", "Map 3D 2010"};

// A key name as the registry can hold one: whole characters of the active code page, no
// backslash or NUL of its own.
// Lengths reach past the 255 characters that fit the scan's name buffer.
inline std::string MakeName(fuzz::ByteReader& input) {
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
  if (name.empty()) name.push_back('k');
  return name;
}

inline std::string MakeData(fuzz::ByteReader& input) {
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

inline const std::string& PickKey(Machine& machine, fuzz::ByteReader& input) {
  return machine.keys[input.Byte() % machine.keys.size()];
}

inline void Build(Machine& machine, fuzz::ByteReader& input) {
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

}  // namespace fuzz::acad_registry
