#pragma once

#include <optional>
#include <set>
#include <string>
#include <vector>

// What the setup dialog must show, as data: every control's text, position and state in a
// given look, worked out from the edition under test and the AutoCAD releases that the seeded
// registry holds. The driver compares the running program with it.
namespace e2e {

// Position and size in dialog units, as the dialog template places the control.
struct DluRect {
  int x;
  int y;
  int w;
  int h;
};

struct ControlLook {
  int id;
  std::string name;  // for the driver's messages
  std::optional<std::string> text;  // nothing: the text is not looked at (pictures)
  bool visible;
  bool enabled;
  std::optional<bool> ticked;  // check boxes only
  DluRect rect;
  bool sizedByImage;  // picture statics take their bitmap's size, only the position counts
};

// A release box: the release year, its control id and its place in the dialog.
struct ReleaseBox {
  int year;
  int id;
  int x;
  int y;
};

// The 19 release boxes, AutoCAD 2007 first.
const std::vector<ReleaseBox>& ReleaseBoxes();

// Does the edition offer the release at all? The 32-bit edition withdraws 2017 and later.
bool EditionOffers(int setupBits, int year);

struct DialogLook {
  std::string caption;
  int widthDlu;
  int heightDlu;
  std::vector<ControlLook> controls;
  // The controls without an id: the three etched lines (from the top) and the logo.
  std::vector<DluRect> etchedLines;
  DluRect logo;
};

// The Choosing look right after start: releases with an installation are offered, enabled
// and ticked; the others disabled and unticked; in the 32-bit edition 2017 and later hidden
// and unticked, found or not. Install is enabled while any offered box is ticked.
DialogLook ChoosingLook(int setupBits, const std::set<int>& foundYears);

// The version caption of the edition.
std::string VersionCaption(int setupBits);

}  // namespace e2e
