#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "discovery/installation_inventory.h"
#include "discovery/release_table.h"

namespace ui {

using discovery::ReleaseFlags;

// What the user chose in the setup dialog, as the installation reads it.
struct InstallSelection {
  ReleaseFlags releaseFlags;
  std::string targetFolder;
};

// How the setup dialog starts: every release ticked, the default folder.
InstallSelection InitialSelection();

struct ReleaseBoxState {
  bool enabled = true;
  bool visible = true;
};
using ReleaseBoxStates = std::array<ReleaseBoxState, discovery::kReleaseCount>;

// Which release boxes the dialog offers. A release without an AutoCAD location found is
// disabled and unticked; the 32-bit edition hides and unticks 2017 to 2025 whether or not they
// were found. Releases that stay offered keep their flag.
ReleaseBoxStates OfferReleases(const discovery::InstallationInventory& inventory, int bits,
                               ReleaseFlags& flags);

// Install is possible only while some release is ticked.
bool AnyReleaseTicked(const ReleaseFlags& flags);

// The version caption, e.g. "Zelvar批打印软件 V2024.4.26 (32位版本)": the version's year,
// month and day without leading zeros, and the edition's bits.
std::string FormatVersionText(int version, int bits);

}  // namespace ui
