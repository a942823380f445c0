#pragma once

#include "install/closing_notice.h"
#include "install/package_copy.h"
#include "install/package_prompts.h"
#include "registration/registration_outcome.h"

namespace install {

// The installation's questions and notices beyond the copy's, in the order the work reaches
// them: the registration's outcome, then what went wrong around the installation.
class InstallPrompts : public PackagePrompts {
 public:
  // The package is registered; where a machine-wide place refused it, the outcome says whom
  // the plug-in serves and what is missing where.
  virtual void Registered(const registration::RegistrationOutcome& outcome) = 0;
  // The installation has ended with its package in place; `problems` may hold nothing.
  virtual void Closing(const ClosingProblems& problems) = 0;
};

// How far the installation has come: started once the folder is accepted, a step per entry of
// the package and per stage of the registration, finished before the registration's notice.
class InstallProgress : public ProgressSteps {
 public:
  virtual void Started() = 0;
  virtual void Finished() = 0;
};

}  // namespace install
