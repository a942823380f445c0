#include "platform/memory/memory_file_system.h"

#include <algorithm>
#include <cstring>
#include <tuple>

#include "platform/ansi_text.h"

namespace platform {

using paths::WindowsPath;

struct MemoryFileSystem::Node {
  std::string name;
  bool isFolder = false;
  std::uint32_t attributes = 0;  // the stored bits; a folder's directory bit is implied
  std::string contents;
  std::vector<std::unique_ptr<Node>> children;
  std::string linkTarget;  // the full path a link leads to; empty for everything else
  FolderAccess access = FolderAccess::Inherited;
  std::vector<std::pair<std::string, std::string>> streams;  // name, contents

  bool IsLink() const { return !linkTarget.empty(); }

  Node* Child(std::string_view childName) const {
    for (const auto& child : children) {
      if (ansi::EqualsNoCase(child->name, childName)) return child.get();
    }
    return nullptr;
  }

  Node& AddChild(std::string childName, bool folder) {
    children.push_back(std::make_unique<Node>());
    Node& child = *children.back();
    child.name = std::move(childName);
    child.isFolder = folder;
    child.attributes = folder ? 0 : attr::kArchive;
    return child;
  }

  // What GetFileAttributesA reports: a file without any bit is "normal".
  std::uint32_t Reported() const {
    if (IsLink()) return attributes | attr::kDirectory | attr::kReparsePoint;
    if (isFolder) return attributes | attr::kDirectory;
    return attributes == 0 ? attr::kNormal : attributes;
  }
};

// Where a path leads. `parent` is the folder that holds, or would hold, the last name (null
// when that folder is missing or the path is a root); `error` says why `node` is null.
struct MemoryFileSystem::Lookup {
  Node* parent = nullptr;
  Node* node = nullptr;
  std::uint32_t error = 0;
};

namespace {

constexpr std::uint32_t kSettableAttributes =
    attr::kReadOnly | attr::kHidden | attr::kSystem | attr::kArchive;
constexpr int kWriteAccess = 2;

std::string_view TextOf(const char* text) { return text == nullptr ? std::string_view() : text; }

// A fixed scramble of the upper-cased name: stable from run to run, unrelated to the order
// of the names, so no caller can come to rely on listings being sorted.
std::uint32_t ListingRank(const std::string& name) {
  std::uint32_t hash = 2166136261u;
  for (unsigned char byte : ansi::ToUpper(name)) hash = (hash ^ byte) * 16777619u;
  return hash;
}

FindData EntryFor(std::string name, std::uint32_t attributes, std::size_t size) {
  FindData data;
  data.attributes = attributes;
  data.fileName = std::move(name);
  data.size = size;
  return data;
}

void CopyWithNul(std::string_view text, char* buffer) {
  std::memcpy(buffer, text.data(), text.size());
  buffer[text.size()] = '\0';
}

}  // namespace

MemoryFileSystem::MemoryFileSystem()
    : modulePath_("C:\\SetUp.exe"), appDataFolder_("C:\\Users\\User\\AppData\\Roaming") {
  AddDrive('C');
  current_.root = "C:";
}

MemoryFileSystem::~MemoryFileSystem() = default;

bool MemoryFileSystem::Fail(std::uint32_t error) {
  lastError_ = error;
  return false;
}

bool MemoryFileSystem::Resolve(std::string_view text, WindowsPath& path) const {
  return paths::ResolveWindowsPath(text, current_, path);
}

bool MemoryFileSystem::ResolveForCall(const char* text, WindowsPath& path, std::uint32_t limit) {
  const std::string_view given = TextOf(text);
  // The text itself must fit the conversion buffer of MAX_PATH characters and its NUL; the
  // full path it names must then be shorter than the limit.
  if (PathCharacters(given) > kMaxPath) return Fail(fs_error::kFilenameExcedRange);
  if (!Resolve(given, path)) return Fail(fs_error::kPathNotFound);
  if (PathCharacters(paths::WindowsPathText(path)) >= limit) {
    return Fail(fs_error::kFilenameExcedRange);
  }
  return true;
}

MemoryFileSystem::Node* MemoryFileSystem::FindRoot(std::string_view root) const {
  for (const auto& node : roots_) {
    if (ansi::EqualsNoCase(node->name, root)) return node.get();
  }
  return nullptr;
}

MemoryFileSystem::Lookup MemoryFileSystem::Find(const WindowsPath& path, int depth) const {
  Lookup found;
  Node* folder = FindRoot(path.root);
  if (folder == nullptr) {
    found.error = fs_error::kPathNotFound;
    return found;
  }
  if (path.names.empty()) {
    found.node = folder;
    return found;
  }
  for (std::size_t k = 0; k + 1 < path.names.size(); ++k) {
    folder = Followed(folder->Child(path.names[k]), depth);
    if (folder == nullptr || !folder->isFolder) {
      found.error = fs_error::kPathNotFound;
      return found;
    }
  }
  found.parent = folder;
  found.node = folder->Child(path.names.back());
  if (found.node == nullptr) found.error = fs_error::kFileNotFound;
  return found;
}

MemoryFileSystem::Node* MemoryFileSystem::Followed(Node* node, int depth) const {
  // Windows gives up after 63 reparse points on one path.
  constexpr int kMostLinks = 63;
  if (node == nullptr || !node->IsLink()) return node;
  if (depth >= kMostLinks) return nullptr;
  WindowsPath target;
  if (!Resolve(node->linkTarget, target)) return nullptr;
  return Followed(Find(target, depth + 1).node, depth + 1);
}

MemoryFileSystem::Node* MemoryFileSystem::EnsureFolders(const WindowsPath& path,
                                                        std::size_t nameCount) {
  Node* folder = FindRoot(path.root);
  for (std::size_t k = 0; folder != nullptr && k < nameCount; ++k) {
    Node* next = Followed(folder->Child(path.names[k]));
    if (next == nullptr && folder->Child(path.names[k]) == nullptr) {
      if (!paths::IsValidFileName(path.names[k])) return nullptr;
      next = &folder->AddChild(path.names[k], true);
    }
    folder = next != nullptr && next->isFolder ? next : nullptr;
  }
  return folder;
}

bool MemoryFileSystem::IsDenied(const WindowsPath& path) const {
  return std::any_of(denied_.begin(), denied_.end(), [&](const WindowsPath& folder) {
    return paths::IsAtOrBelow(path, folder);
  });
}

bool MemoryFileSystem::AllowedByHook(const std::string& source,
                                     const std::string& destination) const {
  return !writeHook_ || writeHook_(source, destination);
}

bool MemoryFileSystem::FindFirst(const char* pattern, FindHandle& listing, FindData& data) {
  listing.Close();
  WindowsPath path;
  if (!ResolveForCall(pattern, path)) return false;
  if (path.endsWithSeparator || path.names.empty()) return Fail(fs_error::kFileNotFound);

  const std::string wanted = path.names.back();
  WindowsPath folderPath = path;
  folderPath.names.pop_back();
  const Lookup folderFound = Find(folderPath);
  const Node* folder = Followed(folderFound.node);
  if (folder == nullptr) return Fail(fs_error::kPathNotFound);
  if (!folder->isFolder) {
    return Fail(paths::HasWildcard(wanted) ? fs_error::kInvalidName : fs_error::kPathNotFound);
  }
  if (std::any_of(unlistable_.begin(), unlistable_.end(), [&](const WindowsPath& refused) {
        return paths::SamePlace(folderPath, refused);
      })) {
    return Fail(fs_error::kAccessDenied);
  }

  Listing found;
  if (!paths::HasWildcard(wanted)) {
    if (const Node* node = folder->Child(wanted)) {
      found.entries.push_back(EntryFor(node->name, node->Reported(), node->contents.size()));
    }
  } else {
    // Every folder but a root lists itself and its parent first, as NTFS does.
    if (!folderPath.names.empty()) {
      const Node* parent = folderFound.parent != nullptr ? folderFound.parent : folder;
      if (paths::NameMatchesPattern(wanted, ".")) {
        found.entries.push_back(EntryFor(".", folder->Reported(), 0));
      }
      if (paths::NameMatchesPattern(wanted, "..")) {
        found.entries.push_back(EntryFor("..", parent->Reported(), 0));
      }
    }
    std::vector<const Node*> children;
    for (const auto& child : folder->children) children.push_back(child.get());
    std::sort(children.begin(), children.end(), [](const Node* a, const Node* b) {
      return std::make_tuple(ListingRank(a->name), a->name) <
             std::make_tuple(ListingRank(b->name), b->name);
    });
    for (const Node* child : children) {
      if (paths::NameMatchesPattern(wanted, child->name)) {
        found.entries.push_back(EntryFor(child->name, child->Reported(), child->contents.size()));
      }
    }
  }
  if (found.entries.empty()) return Fail(fs_error::kFileNotFound);

  data = found.entries.front();
  found.next = 1;
  const std::uintptr_t handle = nextListing_;
  nextListing_ += 4;
  listings_.emplace(handle, std::move(found));
  listing = MakeListing(handle);
  return true;
}

bool MemoryFileSystem::FindNext(FindHandle& listing, FindData& data) {
  const auto open = listings_.find(listing.Value());
  if (listing.OwnerObject() != this || open == listings_.end()) {
    return Fail(fs_error::kInvalidHandle);
  }
  Listing& state = open->second;
  if (state.next >= state.entries.size()) return Fail(fs_error::kNoMoreFiles);
  data = state.entries[state.next++];
  return true;
}

void MemoryFileSystem::ReleaseHandle(std::uintptr_t handle) { listings_.erase(handle); }

bool MemoryFileSystem::Copy(const char* source, const char* destination, bool failIfExists) {
  return CopyOneFile(source, destination, failIfExists, nullptr);
}

bool MemoryFileSystem::CopyReporting(const char* source, const char* destination,
                                     bool failIfExists, CopyProgress& progress) {
  return CopyOneFile(source, destination, failIfExists, &progress);
}

bool MemoryFileSystem::CopyOneFile(const char* source, const char* destination,
                                   bool failIfExists, CopyProgress* progress) {
  ++copyAttempts_;
  WindowsPath from;
  WindowsPath to;
  const bool resolvedFrom = Resolve(TextOf(source), from);
  const bool resolvedTo = Resolve(TextOf(destination), to);
  if ((resolvedFrom && !ResolveForCall(source, from)) ||
      (resolvedTo && !ResolveForCall(destination, to))) {
    return false;
  }
  if (!AllowedByHook(resolvedFrom ? paths::WindowsPathText(from) : std::string(TextOf(source)),
                     resolvedTo ? paths::WindowsPathText(to) : std::string(TextOf(destination)))) {
    return Fail(fs_error::kAccessDenied);
  }
  if (!resolvedFrom || !resolvedTo) return Fail(fs_error::kPathNotFound);
  if (from.endsWithSeparator || to.endsWithSeparator) return Fail(fs_error::kInvalidName);

  const Lookup sourceFound = Find(from);
  const Node* original = sourceFound.node;
  if (original == nullptr) return Fail(sourceFound.error);
  if (original->isFolder) return Fail(fs_error::kAccessDenied);

  if (to.names.empty()) return Fail(fs_error::kAccessDenied);
  const Lookup target = Find(to);
  if (target.parent == nullptr) return Fail(fs_error::kPathNotFound);
  if (!paths::IsValidFileName(to.names.back())) return Fail(fs_error::kInvalidName);
  Node* existing = target.node;
  if (existing == original) {
    return Fail(failIfExists ? fs_error::kFileExists : fs_error::kSharingViolation);
  }
  if (existing != nullptr && existing->isFolder) return Fail(fs_error::kAccessDenied);
  if (existing != nullptr && failIfExists) return Fail(fs_error::kFileExists);
  if (IsDenied(to)) return Fail(fs_error::kAccessDenied);
  if (IsHeld(heldOpen_, from) || IsHeld(heldOpen_, to)) return Fail(fs_error::kSharingViolation);
  if (existing != nullptr) {
    // Overwriting asks for write access, which a read-only file refuses; and Windows will not
    // replace a hidden or system file by one that lacks that bit.
    const std::uint32_t kept = existing->attributes;
    const std::uint32_t coming = original->attributes;
    if ((kept & attr::kReadOnly) != 0) return Fail(fs_error::kAccessDenied);
    if ((kept & attr::kHidden) != 0 && (coming & attr::kHidden) == 0) {
      return Fail(fs_error::kAccessDenied);
    }
    if ((kept & attr::kSystem) != 0 && (coming & attr::kSystem) == 0) {
      return Fail(fs_error::kAccessDenied);
    }
  }

  Node& copy = existing != nullptr ? *existing : target.parent->AddChild(to.names.back(), false);
  if (progress != nullptr) {
    const std::size_t parts = (original->contents.size() + kCopyPartSize - 1) / kCopyPartSize;
    for (std::size_t part = 0; part <= parts; ++part) progress->OnPartCopied();
  }
  copy.contents = original->contents;
  // CopyFileA takes the alternate data streams along, a download's mark among them.
  copy.streams = original->streams;
  // The file system marks every file it writes for backup.
  copy.attributes = original->attributes | attr::kArchive;
  return true;
}

bool MemoryFileSystem::CreateOneFolder(const char* path) {
  ++folderCreationAttempts_;
  WindowsPath folder;
  const bool resolved = Resolve(TextOf(path), folder);
  if (resolved && !ResolveForCall(path, folder, kMaxFolderPath)) return false;
  if (!AllowedByHook("", resolved ? paths::WindowsPathText(folder) : std::string(TextOf(path)))) {
    return Fail(fs_error::kAccessDenied);
  }
  if (!resolved) return Fail(fs_error::kPathNotFound);
  if (folder.names.empty()) {
    return Fail(FindRoot(folder.root) != nullptr ? fs_error::kAlreadyExists
                                                 : fs_error::kPathNotFound);
  }
  const Lookup found = Find(folder);
  if (found.node != nullptr) return Fail(fs_error::kAlreadyExists);
  if (found.parent == nullptr) return Fail(found.error);
  if (!paths::IsValidFileName(folder.names.back())) return Fail(fs_error::kInvalidName);
  if (IsDenied(folder)) return Fail(fs_error::kAccessDenied);
  found.parent->AddChild(folder.names.back(), true);
  return true;
}

bool MemoryFileSystem::CreateFolder(const char* path) { return CreateOneFolder(path); }

int MemoryFileSystem::MakeFolder(const char* path) { return CreateOneFolder(path) ? 0 : -1; }

std::uint32_t MemoryFileSystem::GetAttributes(const char* path) {
  WindowsPath place;
  if (!ResolveForCall(path, place)) return attr::kInvalid;
  const Lookup found = Find(place);
  if (found.node == nullptr) {
    Fail(found.error);
    return attr::kInvalid;
  }
  if (!found.node->isFolder && place.endsWithSeparator) {
    Fail(fs_error::kPathNotFound);
    return attr::kInvalid;
  }
  return found.node->Reported();
}

bool MemoryFileSystem::SetAttributes(const char* path, std::uint32_t attributes) {
  WindowsPath place;
  if (!ResolveForCall(path, place)) return false;
  const Lookup found = Find(place);
  if (found.node == nullptr) return Fail(found.error);
  if (!found.node->isFolder && place.endsWithSeparator) return Fail(fs_error::kPathNotFound);
  if (IsDenied(place)) return Fail(fs_error::kAccessDenied);
  // The directory bit cannot be set or cleared; "normal" alone clears every bit.
  found.node->attributes = attributes & kSettableAttributes;
  return true;
}

int MemoryFileSystem::Access(const char* path, int mode) {
  const std::uint32_t attributes = GetAttributes(path);
  if (attributes == attr::kInvalid) return -1;
  // The C runtime looks at the read-only bit of files only: every folder counts as writable.
  const bool isFolder = (attributes & attr::kDirectory) != 0;
  if (!isFolder && (attributes & attr::kReadOnly) != 0 && (mode & kWriteAccess) != 0) {
    Fail(fs_error::kAccessDenied);
    return -1;
  }
  return 0;
}

std::uint32_t MemoryFileSystem::GetModulePath(char* buffer, std::uint32_t size) {
  const std::size_t length = modulePath_.size();
  if (length < size) {
    CopyWithNul(modulePath_, buffer);
    return static_cast<std::uint32_t>(length);
  }
  // As under Wine (and Windows XP): the buffer is filled to the last byte, with no NUL.
  if (size > 0) std::memcpy(buffer, modulePath_.data(), size);
  Fail(fs_error::kInsufficientBuffer);
  return size;
}

std::uint32_t MemoryFileSystem::GetCurrentFolder(std::uint32_t size, char* buffer) {
  const std::string text = paths::WindowsPathText(current_);
  if (text.size() >= size) return static_cast<std::uint32_t>(text.size() + 1);
  CopyWithNul(text, buffer);
  return static_cast<std::uint32_t>(text.size());
}

std::uint32_t MemoryFileSystem::GetEnvironment(const char* name, char* buffer,
                                               std::uint32_t size) {
  const std::string_view wanted = TextOf(name);
  const auto variable = std::find_if(environment_.begin(), environment_.end(), [&](const auto& v) {
    return ansi::EqualsNoCase(v.first, wanted);
  });
  if (variable == environment_.end()) {
    Fail(fs_error::kEnvVarNotFound);
    return 0;
  }
  const std::string& value = variable->second;
  if (value.empty()) {
    lastError_ = 0;
    return 0;
  }
  if (value.size() >= size) return static_cast<std::uint32_t>(value.size() + 1);
  CopyWithNul(value, buffer);
  return static_cast<std::uint32_t>(value.size());
}

bool MemoryFileSystem::GetAppDataFolder(char (&path)[kMaxPath]) {
  if (appDataFails_ || appDataFolder_.size() >= kMaxPath) return false;
  CopyWithNul(appDataFolder_, path);
  return true;
}

void MemoryFileSystem::AddDrive(char letter) {
  if (letter >= 'a' && letter <= 'z') letter = static_cast<char>(letter - 'a' + 'A');
  const std::string root{letter, ':'};
  if (FindRoot(root) != nullptr) return;
  roots_.push_back(std::make_unique<Node>());
  roots_.back()->name = root;
  roots_.back()->isFolder = true;
}

bool MemoryFileSystem::AddShare(std::string_view uncRoot) {
  WindowsPath share;
  if (!Resolve(uncRoot, share) || share.root.rfind("\\\\", 0) != 0 || !share.names.empty()) {
    return false;
  }
  if (FindRoot(share.root) == nullptr) {
    roots_.push_back(std::make_unique<Node>());
    roots_.back()->name = share.root;
    roots_.back()->isFolder = true;
  }
  return true;
}

bool MemoryFileSystem::AddFolder(std::string_view path) {
  WindowsPath folder;
  return Resolve(path, folder) && EnsureFolders(folder, folder.names.size()) != nullptr;
}

bool MemoryFileSystem::AddFile(std::string_view path, std::string_view contents,
                               std::uint32_t attributes) {
  WindowsPath file;
  if (!Resolve(path, file) || file.names.empty() || file.endsWithSeparator) return false;
  if (!paths::IsValidFileName(file.names.back())) return false;
  Node* folder = EnsureFolders(file, file.names.size() - 1);
  if (folder == nullptr) return false;
  Node* node = folder->Child(file.names.back());
  if (node == nullptr) node = &folder->AddChild(file.names.back(), false);
  if (node->isFolder) return false;
  node->contents = std::string(contents);
  node->attributes = attributes & kSettableAttributes;
  return true;
}

bool MemoryFileSystem::SetCurrentFolder(std::string_view path) {
  WindowsPath folder;
  if (!Resolve(path, folder)) return false;
  const Lookup found = Find(folder);
  if (found.node == nullptr || !found.node->isFolder) return false;
  // Windows keeps the spelling it was given, not the stored case.
  folder.endsWithSeparator = false;
  current_ = std::move(folder);
  return true;
}

void MemoryFileSystem::SetModulePath(std::string_view path) { modulePath_ = std::string(path); }

void MemoryFileSystem::SetEnvironment(std::string_view name, std::string_view value) {
  for (auto& variable : environment_) {
    if (ansi::EqualsNoCase(variable.first, name)) {
      variable.second = std::string(value);
      return;
    }
  }
  environment_.emplace_back(std::string(name), std::string(value));
}

void MemoryFileSystem::UnsetEnvironment(std::string_view name) {
  std::erase_if(environment_,
                [&](const auto& variable) { return ansi::EqualsNoCase(variable.first, name); });
}

void MemoryFileSystem::SetAppDataFolder(std::string_view path) {
  appDataFolder_ = std::string(path);
}

void MemoryFileSystem::FailAppDataFolder(bool fail) { appDataFails_ = fail; }

void MemoryFileSystem::DenyWrites(std::string_view folder) {
  WindowsPath place;
  if (Resolve(folder, place)) denied_.push_back(std::move(place));
}

void MemoryFileSystem::SetWriteHook(WriteHook hook) { writeHook_ = std::move(hook); }

void MemoryFileSystem::DenyListing(std::string_view folder) {
  WindowsPath place;
  if (Resolve(folder, place)) unlistable_.push_back(std::move(place));
}

std::optional<std::string> MemoryFileSystem::ReadFile(std::string_view path) const {
  WindowsPath place;
  if (!Resolve(path, place)) return std::nullopt;
  const Lookup found = Find(place);
  if (found.node == nullptr || found.node->isFolder) return std::nullopt;
  return found.node->contents;
}

std::uint32_t MemoryFileSystem::Attributes(std::string_view path) const {
  WindowsPath place;
  if (!Resolve(path, place)) return attr::kInvalid;
  const Lookup found = Find(place);
  return found.node == nullptr ? attr::kInvalid : found.node->Reported();
}

bool MemoryFileSystem::Exists(std::string_view path) const {
  return Attributes(path) != attr::kInvalid;
}

void MemoryFileSystem::AddSubtree(const Node& node, const std::string& path,
                                  FileTree& tree) const {
  tree[path] = FileState{node.Reported(),
                         node.IsLink() ? "-> " + node.linkTarget : node.contents, node.access};
  for (const auto& [stream, contents] : node.streams) {
    tree[path + ":" + stream] = FileState{0, contents, FolderAccess::Inherited};
  }
  const std::string prefix = ansi::EndsWithBackslash(path) ? path : path + '\\';
  for (const auto& child : node.children) AddSubtree(*child, prefix + child->name, tree);
}

FileTree MemoryFileSystem::Snapshot() const {
  FileTree tree;
  for (const auto& root : roots_) AddSubtree(*root, root->name + '\\', tree);
  return tree;
}

}  // namespace platform

namespace platform {

// Deletion, as DeleteFileA and RemoveDirectoryA refuse it: folders are never deleted as files,
// files never removed as folders, a folder only when empty, a read-only file or one a running
// process holds not at all.

namespace {

void Hold(std::vector<std::string>& holds, std::string key, bool held) {
  const auto found = std::find(holds.begin(), holds.end(), key);
  if (held && found == holds.end()) holds.push_back(std::move(key));
  if (!held && found != holds.end()) holds.erase(found);
}

}  // namespace

void MemoryFileSystem::HoldInUse(std::string_view path, bool held) {
  WindowsPath place;
  if (Resolve(path, place)) Hold(heldInUse_, ansi::ToUpper(paths::WindowsPathText(place)), held);
}

void MemoryFileSystem::HoldOpen(std::string_view path, bool held) {
  WindowsPath place;
  if (Resolve(path, place)) Hold(heldOpen_, ansi::ToUpper(paths::WindowsPathText(place)), held);
}

bool MemoryFileSystem::IsHeld(const std::vector<std::string>& holds,
                              const WindowsPath& path) const {
  return std::find(holds.begin(), holds.end(), ansi::ToUpper(paths::WindowsPathText(path))) !=
         holds.end();
}

void MemoryFileSystem::SetRemoveHook(std::function<bool(const std::string& path)> hook) {
  removeHook_ = std::move(hook);
}

bool MemoryFileSystem::RemoveFile(const char* path) {
  WindowsPath place;
  if (!Resolve(TextOf(path), place)) return Fail(fs_error::kPathNotFound);
  const Lookup found = Find(place);
  if (found.node == nullptr || place.names.empty()) {
    return Fail(found.error != 0 ? found.error : fs_error::kAccessDenied);
  }
  const std::string text = paths::WindowsPathText(place);
  if (found.node->isFolder) return Fail(fs_error::kAccessDenied);
  if (place.endsWithSeparator) return Fail(fs_error::kInvalidName);
  if (removeHook_ && !removeHook_(text)) return Fail(fs_error::kAccessDenied);
  if (IsDenied(place) || (found.node->attributes & attr::kReadOnly) != 0) {
    return Fail(fs_error::kAccessDenied);
  }
  if (IsHeld(heldInUse_, place)) return Fail(fs_error::kAccessDenied);
  if (IsHeld(heldOpen_, place)) return Fail(fs_error::kSharingViolation);
  auto& siblings = found.parent->children;
  siblings.erase(std::find_if(siblings.begin(), siblings.end(),
                              [&](const auto& child) { return child.get() == found.node; }));
  return true;
}

bool MemoryFileSystem::RemoveFolder(const char* path) {
  WindowsPath place;
  if (!Resolve(TextOf(path), place)) return Fail(fs_error::kPathNotFound);
  const Lookup found = Find(place);
  if (found.node == nullptr) return Fail(found.error);
  // A root is no folder that can go.
  if (place.names.empty()) return Fail(fs_error::kAccessDenied);
  if (!found.node->isFolder) return Fail(fs_error::kDirectory);
  if (removeHook_ && !removeHook_(paths::WindowsPathText(place))) {
    return Fail(fs_error::kAccessDenied);
  }
  if (!found.node->children.empty()) return Fail(fs_error::kDirNotEmpty);
  if (IsDenied(place)) return Fail(fs_error::kAccessDenied);
  auto& siblings = found.parent->children;
  siblings.erase(std::find_if(siblings.begin(), siblings.end(),
                              [&](const auto& child) { return child.get() == found.node; }));
  return true;
}

}  // namespace platform

namespace platform {

// Whole-file reads and writes, streams, folder protection and removal at restart: what the
// setup's record of installed files, the download mark and the product folder's DACL need.

std::string MemoryFileSystem::ErrorText(std::uint32_t error) {
  return "Windows error " + std::to_string(error);
}

bool MemoryFileSystem::ReadWholeFile(const char* path, std::size_t limit, std::string& contents) {
  WindowsPath place;
  if (!ResolveForCall(path, place)) return false;
  const Lookup found = Find(place);
  if (found.node == nullptr) return Fail(found.error);
  if (found.node->isFolder) return Fail(fs_error::kAccessDenied);
  if (IsHeld(heldOpen_, place)) return Fail(fs_error::kSharingViolation);
  if (found.node->contents.size() > limit) return Fail(fs_error::kFileTooLarge);
  contents = found.node->contents;
  return true;
}

bool MemoryFileSystem::WriteWholeFile(const char* path, std::string_view contents) {
  WindowsPath place;
  WindowsPath beside;
  if (!ResolveForCall(path, place) ||
      !ResolveForCall((std::string(TextOf(path)) + ".new").c_str(), beside)) {
    return false;
  }
  if (place.names.empty() || place.endsWithSeparator) return Fail(fs_error::kInvalidName);
  if (!AllowedByHook(kWholeFileWrite, paths::WindowsPathText(place))) {
    return Fail(fs_error::kAccessDenied);
  }
  const Lookup found = Find(place);
  if (found.parent == nullptr) return Fail(fs_error::kPathNotFound);
  if (!paths::IsValidFileName(place.names.back())) return Fail(fs_error::kInvalidName);
  if (IsDenied(place)) return Fail(fs_error::kAccessDenied);
  Node* existing = found.node;
  if (existing != nullptr) {
    // MoveFileExA replaces neither a folder nor a read-only file, nor one held open.
    if (existing->isFolder || (existing->attributes & attr::kReadOnly) != 0 ||
        IsHeld(heldInUse_, place)) {
      return Fail(fs_error::kAccessDenied);
    }
    if (IsHeld(heldOpen_, place)) return Fail(fs_error::kSharingViolation);
  }
  const Node* leftover = found.parent->Child(place.names.back() + ".new");
  if (leftover != nullptr && leftover->isFolder) return Fail(fs_error::kAccessDenied);
  auto& siblings = found.parent->children;
  std::erase_if(siblings, [&](const auto& child) { return child.get() == leftover; });
  // The moved file is a new one: no stream or attribute of the old file stays.
  Node& file = existing != nullptr ? *existing : found.parent->AddChild(place.names.back(), false);
  file.contents = std::string(contents);
  file.attributes = attr::kArchive;
  file.streams.clear();
  return true;
}

bool MemoryFileSystem::RemoveStream(const char* path, const char* stream) {
  WindowsPath place;
  if (!ResolveForCall(path, place)) return false;
  const Lookup found = Find(place);
  if (found.node == nullptr) return Fail(found.error);
  if (found.node->isFolder) return Fail(fs_error::kAccessDenied);
  const std::string name(TextOf(stream));
  const auto named = [&](const auto& entry) { return ansi::EqualsNoCase(entry.first, name); };
  auto& streams = found.node->streams;
  if (std::none_of(streams.begin(), streams.end(), named)) return true;
  if (removeHook_ && !removeHook_(paths::WindowsPathText(place) + ":" + name)) {
    return Fail(fs_error::kAccessDenied);
  }
  if (IsDenied(place) || (found.node->attributes & attr::kReadOnly) != 0) {
    return Fail(fs_error::kAccessDenied);
  }
  std::erase_if(streams, named);
  return true;
}

bool MemoryFileSystem::ProtectFolder(const char* path, FolderAccess access) {
  WindowsPath place;
  if (!ResolveForCall(path, place)) return false;
  if (!AllowedByHook(kFolderProtection, paths::WindowsPathText(place))) {
    return Fail(fs_error::kAccessDenied);
  }
  const Lookup found = Find(place);
  if (found.node == nullptr) return Fail(found.error);
  if (IsDenied(place)) return Fail(fs_error::kAccessDenied);
  found.node->access = access;
  return true;
}

bool MemoryFileSystem::RemoveAtRestart(const char* path) {
  WindowsPath place;
  if (!Resolve(TextOf(path), place)) return Fail(fs_error::kPathNotFound);
  if (restartRemovalRefused_) return Fail(fs_error::kAccessDenied);
  pendingRestart_.push_back(paths::WindowsPathText(place));
  return true;
}

bool MemoryFileSystem::AddFolderLink(std::string_view link, std::string_view target) {
  WindowsPath place;
  WindowsPath to;
  if (!Resolve(link, place) || !Resolve(target, to) || place.names.empty()) return false;
  const Lookup found = Find(place);
  if (found.parent == nullptr || found.node != nullptr) return false;
  Node& node = found.parent->AddChild(place.names.back(), true);
  node.linkTarget = paths::WindowsPathText(to);
  return true;
}

bool MemoryFileSystem::AddStream(std::string_view path, std::string_view stream,
                                 std::string_view contents) {
  WindowsPath place;
  if (!Resolve(path, place)) return false;
  Node* node = Find(place).node;
  if (node == nullptr || node->isFolder || stream.empty()) return false;
  for (auto& [name, data] : node->streams) {
    if (ansi::EqualsNoCase(name, stream)) {
      data = std::string(contents);
      return true;
    }
  }
  node->streams.emplace_back(std::string(stream), std::string(contents));
  return true;
}

std::optional<std::string> MemoryFileSystem::ReadStream(std::string_view path,
                                                        std::string_view stream) const {
  WindowsPath place;
  if (!Resolve(path, place)) return std::nullopt;
  const Node* node = Find(place).node;
  if (node == nullptr) return std::nullopt;
  for (const auto& [name, data] : node->streams) {
    if (ansi::EqualsNoCase(name, stream)) return data;
  }
  return std::nullopt;
}

FolderAccess MemoryFileSystem::FolderAccessOf(std::string_view path) const {
  WindowsPath place;
  if (!Resolve(path, place)) return FolderAccess::Inherited;
  const Node* node = Find(place).node;
  return node == nullptr ? FolderAccess::Inherited : node->access;
}

}  // namespace platform
