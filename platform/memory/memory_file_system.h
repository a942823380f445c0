#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/file_system.h"
#include "platform/memory/memory_file_system_paths.h"
#include "platform/memory/memory_file_tree.h"

namespace platform {


// A whole machine's file system in memory, with Windows' rules for paths, copies and
// listings. Roots are drives ("C:") and UNC shares ("\\server\share"); names are compared
// without regard to case and kept as they were first written. Listings come in an order of
// their own, deliberately not sorted: Windows promises none.
//
// The narrow functions keep Windows' limits for a program without a long-path manifest: a
// path of kMaxPath (260) characters or more, counted in UTF-16 units after conversion from the
// code page, fails with kFilenameExcedRange, and no folder of kMaxFolderPath (248) characters
// or more is created. The set-up helpers below have no limit: they stand for whatever else
// made the files.
//
// Beyond Windows it can refuse writes below chosen folders (a user without administrator
// rights in a program folder) and fail any one copy or folder creation a test picks.
class MemoryFileSystem final : public FileSystem {
 public:
  // Asked before every copy, folder creation, whole-file write and folder protection, with
  // the full source path (for the others "", kWholeFileWrite or kFolderProtection) and the
  // full destination path; false makes that call fail with kAccessDenied.
  using WriteHook =
      std::function<bool(const std::string& source, const std::string& destination)>;
  static constexpr const char* kWholeFileWrite = "<whole file>";
  static constexpr const char* kFolderProtection = "<folder protection>";
  // Whether the hook was asked about a copy (of the file `source`).
  static bool IsCopy(const std::string& source) { return !source.empty() && source[0] != '<'; }

  // Drive C: with the current folder C:\; the program is C:\SetUp.exe; the application-data
  // folder is C:\Users\User\AppData\Roaming (not created); the environment is empty.
  MemoryFileSystem();
  ~MemoryFileSystem() override;
  MemoryFileSystem(const MemoryFileSystem&) = delete;
  MemoryFileSystem& operator=(const MemoryFileSystem&) = delete;

  bool FindFirst(const char* pattern, FindHandle& listing, FindData& data) override;
  bool FindNext(FindHandle& listing, FindData& data) override;
  bool Copy(const char* source, const char* destination, bool failIfExists) override;
  // Tells `progress` once as the copy starts and once per kCopyPartSize bytes begun.
  bool CopyReporting(const char* source, const char* destination, bool failIfExists,
                     CopyProgress& progress) override;
  static constexpr std::size_t kCopyPartSize = 1024 * 1024;
  bool CreateFolder(const char* path) override;
  int MakeFolder(const char* path) override;
  std::uint32_t GetAttributes(const char* path) override;
  bool SetAttributes(const char* path, std::uint32_t attributes) override;
  int Access(const char* path, int mode) override;
  std::uint32_t GetModulePath(char* buffer, std::uint32_t size) override;
  std::uint32_t GetCurrentFolder(std::uint32_t size, char* buffer) override;
  std::uint32_t GetEnvironment(const char* name, char* buffer, std::uint32_t size) override;
  bool GetAppDataFolder(char (&path)[kMaxPath]) override;
  bool RemoveFile(const char* path) override;
  bool RemoveFolder(const char* path) override;
  std::uint32_t LastError() const override { return lastError_; }
  std::string ErrorText(std::uint32_t error) override;
  bool ReadWholeFile(const char* path, std::size_t limit, std::string& contents) override;
  bool WriteWholeFile(const char* path, std::string_view contents) override;
  bool RemoveStream(const char* path, const char* stream) override;
  bool ProtectFolder(const char* path, FolderAccess access) override;
  bool RemoveAtRestart(const char* path) override;

  // Set-up. These never meet denial or the write hook. Relative paths start at the current
  // folder.
  void AddDrive(char letter);
  bool AddShare(std::string_view uncRoot);  // "\\server\share"
  // Creates the folder and every missing folder above it; true when it is there afterwards.
  bool AddFolder(std::string_view path);
  // Creates or replaces a file, creating the folders above it.
  bool AddFile(std::string_view path, std::string_view contents,
               std::uint32_t attributes = attr::kArchive);
  // A junction at `link` (its folder must exist, the name must be free) to the folder
  // `target`, which need not exist: it lists as kDirectory | kReparsePoint, a path through it
  // leads into the target, and removing it as a folder removes the link alone.
  bool AddFolderLink(std::string_view link, std::string_view target);
  // An alternate data stream of an existing file (the "Zone.Identifier" of a download).
  bool AddStream(std::string_view path, std::string_view stream, std::string_view contents);
  bool SetCurrentFolder(std::string_view path);  // an existing folder
  void SetModulePath(std::string_view path);
  void SetEnvironment(std::string_view name, std::string_view value);
  void UnsetEnvironment(std::string_view name);
  void SetAppDataFolder(std::string_view path);
  void FailAppDataFolder(bool fail = true);
  // Every later write at or below `folder` fails with kAccessDenied: creating folders, copying
  // files in, changing attributes. Reading stays allowed, and _access still answers from the
  // read-only attribute alone, as the C runtime does.
  void DenyWrites(std::string_view folder);
  void SetWriteHook(WriteHook hook);
  // Listing `folder` fails with kAccessDenied, as for a folder without the list right (or a
  // broken junction, or a share that went away): FindFirstFileA opens the folder itself to
  // look for a name, so an exact name fails too. GetFileAttributesA still answers.
  void DenyListing(std::string_view folder);
  // The file is held open by a running process (a running program's own .exe): deleting it
  // fails with kAccessDenied, as Windows refuses it, until the hold ends.
  void HoldInUse(std::string_view path, bool held = true);
  // The file is open in another program without sharing (AutoCAD, an editor): deleting,
  // reading, replacing and copying onto it fail with kSharingViolation until the hold ends.
  void HoldOpen(std::string_view path, bool held = true);
  // RemoveAtRestart fails with kAccessDenied, as for a process without administrator rights.
  void RefuseRestartRemoval(bool refuse = true) { restartRemovalRefused_ = refuse; }
  // Asked before every file deletion and folder removal with the full path; false makes that
  // call fail with kAccessDenied.
  void SetRemoveHook(std::function<bool(const std::string& path)> hook);

  // Inspection; none of these changes LastError().
  std::optional<std::string> ReadFile(std::string_view path) const;  // nullopt unless a file
  std::uint32_t Attributes(std::string_view path) const;             // attr::kInvalid if none
  bool Exists(std::string_view path) const;
  std::optional<std::string> ReadStream(std::string_view path, std::string_view stream) const;
  FolderAccess FolderAccessOf(std::string_view path) const;  // Inherited where nothing is
  const std::vector<std::string>& PendingRestartRemovals() const { return pendingRestart_; }
  FileTree Snapshot() const;
  std::size_t OpenListingCount() const { return listings_.size(); }
  std::size_t CopyAttempts() const { return copyAttempts_; }
  std::size_t FolderCreationAttempts() const { return folderCreationAttempts_; }

 private:
  struct Node;
  struct Lookup;
  struct Listing {
    std::vector<FindData> entries;
    std::size_t next = 0;
  };

  void ReleaseHandle(std::uintptr_t handle) override;

  bool Resolve(std::string_view text, paths::WindowsPath& path) const;
  // Resolve for one of the narrow functions: false, with the error set, for text that names no
  // place or a path of `limit` characters or more.
  bool ResolveForCall(const char* text, paths::WindowsPath& path,
                      std::uint32_t limit = kMaxPath);
  Node* FindRoot(std::string_view root) const;
  // Every folder on the way is followed through links; the last name is not (a link found
  // there is the link itself).
  Lookup Find(const paths::WindowsPath& path, int depth = 0) const;
  // The folder a link leads to (the node itself when it is no link); null for a link whose
  // target is missing or that leads round in circles.
  Node* Followed(Node* node, int depth = 0) const;
  bool IsHeld(const std::vector<std::string>& holds, const paths::WindowsPath& path) const;
  Node* EnsureFolders(const paths::WindowsPath& path, std::size_t nameCount);
  bool IsDenied(const paths::WindowsPath& path) const;
  bool AllowedByHook(const std::string& source, const std::string& destination) const;
  bool CreateOneFolder(const char* path);
  // Copy and CopyReporting; `progress` may be null.
  bool CopyOneFile(const char* source, const char* destination, bool failIfExists,
                   CopyProgress* progress);
  bool Fail(std::uint32_t error);
  void AddSubtree(const Node& node, const std::string& path, FileTree& tree) const;

  std::vector<std::unique_ptr<Node>> roots_;
  paths::WindowsPath current_;
  std::string modulePath_;
  std::string appDataFolder_;
  bool appDataFails_ = false;
  std::vector<std::pair<std::string, std::string>> environment_;
  std::vector<paths::WindowsPath> denied_;
  std::vector<paths::WindowsPath> unlistable_;
  std::vector<std::string> heldInUse_;  // full paths, upper-cased
  std::vector<std::string> heldOpen_;   // full paths, upper-cased
  bool restartRemovalRefused_ = false;
  std::vector<std::string> pendingRestart_;
  std::function<bool(const std::string& path)> removeHook_;
  WriteHook writeHook_;

  std::map<std::uintptr_t, Listing> listings_;
  std::uintptr_t nextListing_ = 0x1000;
  std::size_t copyAttempts_ = 0;
  std::size_t folderCreationAttempts_ = 0;
  std::uint32_t lastError_ = 0;
};

}  // namespace platform
