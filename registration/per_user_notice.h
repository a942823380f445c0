#pragma once

#include <cstdint>
#include <string>

#include "registration/registration_outcome.h"

namespace registration {

// What the user is told after an installation in which a machine-wide place refused a write:
// that the plug-in serves this Windows user only, or which AutoCAD releases lack what and how
// to mend it. Empty when everything was written machine-wide: then nothing is shown.
std::string PerUserNotice(const RegistrationOutcome& outcome);

// The message box flags of that notice: OK, with an information icon when everything found
// its place and a warning icon when something did not.
std::uint32_t PerUserNoticeFlags(const RegistrationOutcome& outcome);

}  // namespace registration
