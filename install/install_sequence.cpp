#include "install/install_sequence.h"

#include "install/installed_apps_entry.h"
#include "install/package_copy.h"
#include "install/product_folder.h"
#include "platform/ansi_text.h"
#include "platform/built_in_text.h"
#include "registration/active_setup.h"
#include "registration/demand_load.h"
#include "registration/support_files.h"
#include "uninstall/earlier_installation.h"

namespace install {
namespace {

void TakeOutEarlierInstallations(platform::Platform platform,
                                 discovery::InstallationInventory& inventory,
                                 const std::string& productFolder, const InstallRecord& installed,
                                 ClosingProblems& problems) {
  for (const uninstall::EarlierInstallation& earlier :
       uninstall::FindEarlierInstallations(platform, productFolder)) {
    uninstall::RemovalReport report;
    uninstall::TakeOutEarlierInstallation(platform, inventory, earlier, installed, report);
    if (!report.Clean()) {
      problems.earlierFolder = earlier.productFolder;
      problems.earlierLeftovers = report.notRemoved;
    }
    if (!report.keptFolder.empty()) problems.earlierKeptFolder = report.keptFolder;
  }
}

}  // namespace

InstallReport Install(platform::Platform platform, discovery::InstallationInventory& inventory,
                      const InstallRequest& request, InstallPrompts& prompts,
                      InstallProgress& progress) {
  InstallReport report;
  const std::string folder = ansi::StripTrailingBackslash(request.folder);
  report.productFolder = folder + '\\' + ansi::BuiltIn(kProductFolderName);
  if (!IsAbsoluteFolder(folder) || !FolderCanBeMade(report.productFolder) ||
      !FolderFitsTrustedPaths(report.productFolder)) {
    return report;
  }
  // The folders are made by the copy, once it has found the package.
  report.problems.productFolder = report.productFolder;
  progress.Started();

  const PackageCopyJob job(report.productFolder, progress);
  PackageCopyOutcome copied;
  if (!CopyPackageFiles(platform, prompts, job, copied)) {
    report.end = copied.packageMissing ? InstallEnd::PackageMissing : InstallEnd::Aborted;
    return report;
  }
  if (copied.protectionError != 0) {
    report.problems.protectionError = platform.files.ErrorText(copied.protectionError);
    report.problems.unprotectedFolder = copied.unprotectedFolder;
  }
  if (copied.recordError != 0) {
    report.problems.recordError = platform.files.ErrorText(copied.recordError);
  }
  progress.StepIt();
  // Before the new folder is registered, so that AutoCAD is never told of two copies.
  TakeOutEarlierInstallations(platform, inventory, job.targetFolder, copied.record,
                              report.problems);

  inventory.SetInstallFolder(report.productFolder);
  registration::RegisterSelectedReleases(inventory, platform.registry, request.releases,
                                         report.registration);
  progress.StepIt();
  registration::InstallSupportFiles(inventory, platform, prompts, request.releases,
                                    report.registration);
  progress.StepIt();
  progress.Finished();
  // The package is in place, so the installation still ends as installed; but a user whose
  // machine-wide places refused the registration learns whom the plug-in serves, and what is
  // missing where even the user's own places could not take it.
  prompts.Registered(report.registration);

  long refusal = platform::reg::kSuccess;
  const EntryWrite entry = WriteInstalledAppsEntry(platform, report.productFolder, refusal);
  if (entry == EntryWrite::Refused) {
    report.problems.entryError = platform.files.ErrorText(static_cast<std::uint32_t>(refusal));
  }
  // An installation for every user: the others get their TRUSTEDPATHS entry and settings file
  // from the product folder's tool at their next logon, through Active Setup.
  if (entry == EntryWrite::ForMachine && platform.processes.RunsAsAdministrator()) {
    const long refused = registration::WriteActiveSetupComponent(platform.registry,
                                                                 report.productFolder);
    if (refused != platform::reg::kSuccess) {
      report.problems.activeSetupError =
          platform.files.ErrorText(static_cast<std::uint32_t>(refused));
    }
  }
  prompts.Closing(report.problems);
  report.end = InstallEnd::Installed;
  return report;
}

}  // namespace install
