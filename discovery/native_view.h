#pragma once

#include "platform/registry.h"

namespace discovery {

// Whether the 64-bit registry view holds an AutoCAD product key, a key
// HKEY_LOCAL_MACHINE\SOFTWARE\Autodesk\AutoCAD\R<release>\ACAD-<product>, each key on the way
// opened read only with reg::kWow64_64Key. A 32-bit program on 64-bit Windows sees 64-bit
// AutoCAD installations in no other way; its own scan finds only the 32-bit ones.
bool SixtyFourBitViewHoldsAcad(platform::Registry& registry);

}  // namespace discovery
