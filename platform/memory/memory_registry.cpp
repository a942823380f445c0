#include "platform/memory/memory_registry.h"

#include <cstring>
#include <utility>

#include "platform/ansi_text.h"
#include "platform/code_page.h"
#include "platform/memory/memory_registry_access.h"
#include "platform/memory/memory_registry_path.h"

namespace platform {
namespace {

using registry_access::GrantAccess;
using registry_access::kMaximumAllowed;
using registry_tree::Key;

// Links that lead through further links are followed this deep, then the path fails: a
// loop made of links must end.
constexpr int kMostNestedLinks = 16;

// Handle values step by four, as those of Windows do; none is ever handed out twice, so a
// stale handle can never reach a key by chance.
constexpr std::uintptr_t kHandleStep = 4;

using reg::IsStringType;

std::string_view OrEmpty(const char* text) { return text != nullptr ? text : std::string_view(); }

long FailMissing(Key&, std::string_view, std::shared_ptr<Key>&) { return reg::kFileNotFound; }

std::string BytesOf(const unsigned char* data, std::uint32_t size) {
  if (data == nullptr || size == 0) return {};
  return std::string(reinterpret_cast<const char*>(data), size);
}

// Data as the narrow functions hand it over and take it: a string value's UTF-16 in the
// active code page, '?' for every unit that code page lacks.
std::string NarrowFromStored(std::uint32_t type, std::string stored) {
  if (!IsStringType(type)) return stored;
  return code_page::FromUtf16(ansi::ActiveCodePage(), code_page::Utf16FromBytes(stored));
}

std::string StoredFromNarrow(std::uint32_t type, std::string narrow) {
  if (!IsStringType(type)) return narrow;
  return code_page::Utf16Bytes(code_page::ToUtf16(ansi::ActiveCodePage(), narrow));
}

void ApplyDenial(Key& key, bool read, bool tree) {
  (read ? key.permissions.read : key.permissions.write) = false;
  if (!tree) return;
  (read ? key.inheritedPermissions.read : key.inheritedPermissions.write) = false;
  for (auto& entry : key.subKeys) ApplyDenial(*entry.second, read, tree);
}

}  // namespace

MemoryRegistry::MemoryRegistry()
    : localMachine_(std::make_shared<Key>("HKEY_LOCAL_MACHINE", RegRoot::LocalMachine, nullptr)),
      currentUser_(std::make_shared<Key>("HKEY_CURRENT_USER", RegRoot::CurrentUser, nullptr)) {}

MemoryRegistry::~MemoryRegistry() = default;

// ---- The Registry interface ----

long MemoryRegistry::OpenKey(KeyRef parent, const char* subKey, RegKey& key) {
  return Open(parent, subKey, kMaximumAllowed, false, key);
}

long MemoryRegistry::OpenKeyEx(KeyRef parent, const char* subKey, std::uint32_t access,
                               RegKey& key) {
  return Open(parent, subKey, access, false, key);
}

long MemoryRegistry::CreateKey(KeyRef parent, const char* subKey, RegKey& key) {
  return Open(parent, subKey, kMaximumAllowed, true, key);
}

// The old key is given up after the new one is open, so that a key may be its own parent.
long MemoryRegistry::Open(KeyRef parent, const char* subKey, std::uint32_t access, bool create,
                          RegKey& key) {
  const Target from = Resolve(parent);
  long result = from.result != reg::kSuccess ? from.result : Check(from, 0);
  Found found;
  if (result == reg::kSuccess) {
    const auto [start, path] = InView(from.key, OrEmpty(subKey), access);
    found = create ? CreateAsWrites(start, path) : Find(start, path);
    result = found.result;
  }
  std::optional<std::uint32_t> granted;
  if (result == reg::kSuccess) {
    granted = GrantAccess(access, found.key->permissions);
    if (!granted) result = reg::kAccessDenied;
  }
  if (result != reg::kSuccess) {
    key.Close();
    return result;
  }
  key = AddHandle(std::move(found.key), *granted);
  return reg::kSuccess;
}

long MemoryRegistry::DeleteKey(KeyRef parent, const char* subKey) {
  if (subKey == nullptr) return reg::kInvalidParameter;
  const Target from = Resolve(parent);
  if (from.result != reg::kSuccess) return from.result;
  if (const long checked = Check(from, 0); checked != reg::kSuccess) return checked;
  const auto [start, path] = InView(from.key, subKey, 0);
  const Found found = Find(start, path);
  if (found.result != reg::kSuccess) return found.result;

  Key& key = *found.key;
  // A root cannot go, nor a key with sub-keys (RegDeleteKey is not recursive).
  if (key.parent == nullptr || !key.subKeys.empty() || !key.permissions.write) {
    return reg::kAccessDenied;
  }
  if (const long hook = RecordWrite({RegistryWriteKind::DeleteKey, key.root, key.Path(), {}});
      hook != reg::kSuccess) {
    return hook;
  }
  Key& parentKey = *key.parent;
  parentKey.subKeys.erase(parentKey.subKeys.find(key.name));
  parentKey.SubKeysChanged();
  key.deleted = true;
  key.parent = nullptr;
  return reg::kSuccess;
}

long MemoryRegistry::QueryKeyInfo(KeyRef key, KeyInfo& info) {
  const Target target = Resolve(key);
  if (target.result != reg::kSuccess) return target.result;
  // Windows asks KEY_QUERY_VALUE of RegQueryInfoKey (Wine asks nothing).
  if (const long checked = Check(target, registry_access::kQueryValue);
      checked != reg::kSuccess) {
    return checked;
  }
  const registry_tree::Key& found = *target.key;
  info.subKeyCount = static_cast<std::uint32_t>(found.subKeys.size());
  info.valueCount = static_cast<std::uint32_t>(found.values.size());
  // Names are kept in the active code page; Windows measures them in UTF-16 units.
  std::size_t longest = 0;
  for (const auto& value : found.values) {
    const std::size_t units = code_page::ToUtf16(ansi::ActiveCodePage(), value.first).size();
    if (units > longest) longest = units;
  }
  info.maxValueNameLength = static_cast<std::uint32_t>(longest);
  return reg::kSuccess;
}

long MemoryRegistry::EnumKey(KeyRef key, std::uint32_t index, char* name,
                             std::uint32_t& nameLength) {
  const Target target = Resolve(key);
  if (target.result != reg::kSuccess) return target.result;
  if (const long checked = Check(target, registry_access::kEnumerateSubKeys);
      checked != reg::kSuccess) {
    return checked;
  }
  const auto& subKeys = target.key->SubKeysInOrder();
  if (index >= subKeys.size()) return reg::kNoMoreItems;
  if (name == nullptr) return reg::kInvalidParameter;
  const std::string& found = subKeys[index]->name;
  // The name and its NUL must fit; otherwise neither the buffer nor its length changes.
  if (found.size() >= nameLength) return reg::kMoreData;
  std::memcpy(name, found.data(), found.size());
  name[found.size()] = '\0';
  nameLength = static_cast<std::uint32_t>(found.size());
  return reg::kSuccess;
}

long MemoryRegistry::QueryValue(KeyRef key, const char* valueName, std::uint32_t* type,
                                unsigned char* data, std::uint32_t* dataSize) {
  return Query(key, valueName, type, data, dataSize, false);
}

long MemoryRegistry::QueryValueWide(KeyRef key, const char* valueName, std::uint32_t* type,
                                    unsigned char* data, std::uint32_t* dataSize) {
  return Query(key, valueName, type, data, dataSize, true);
}

long MemoryRegistry::Query(KeyRef key, const char* valueName, std::uint32_t* type,
                           unsigned char* data, std::uint32_t* dataSize, bool wide) {
  if (data != nullptr && dataSize == nullptr) return reg::kInvalidParameter;
  const Target target = Resolve(key);
  if (target.result != reg::kSuccess) return target.result;

  // Once the handle is known, a failed query still answers: no type and, when only the size
  // was asked for, no data (as Wine shows).
  const auto fail = [&](long result) {
    if (type != nullptr) *type = reg::kTypeNone;
    if (data == nullptr && dataSize != nullptr) *dataSize = 0;
    return result;
  };
  if (const long checked = Check(target, registry_access::kQueryValue);
      checked != reg::kSuccess) {
    return fail(checked);
  }
  const auto found = target.key->values.find(OrEmpty(valueName));
  if (found == target.key->values.end()) return fail(reg::kFileNotFound);

  const registry_tree::Value& value = found->second;
  // Sizes are those of the data as handed over: for a narrow query of a string, the size of
  // its code-page form, also when only the size is asked for (as Wine answers).
  const std::string handed = wide ? value.data : NarrowFromStored(value.type, value.data);
  const auto size = static_cast<std::uint32_t>(handed.size());
  if (type != nullptr) *type = value.type;
  if (data != nullptr) {
    if (size > *dataSize) {
      *dataSize = size;
      return reg::kMoreData;
    }
    std::memcpy(data, handed.data(), size);
    // A string whose last character is no NUL gets one where the buffer has room, as Windows
    // does: one byte narrow, two bytes wide.
    const std::uint32_t nulSize = wide ? 2 : 1;
    if (IsStringType(value.type) && size >= nulSize && size + nulSize <= *dataSize &&
        handed.compare(size - nulSize, nulSize, std::string(nulSize, '\0')) != 0) {
      std::memset(data + size, 0, nulSize);
    }
  }
  if (dataSize != nullptr) *dataSize = size;
  return reg::kSuccess;
}

long MemoryRegistry::SetValue(KeyRef key, const char* valueName, std::uint32_t type,
                              const unsigned char* data, std::uint32_t dataSize) {
  return Set(key, valueName, type, data, dataSize, false);
}

long MemoryRegistry::SetValueWide(KeyRef key, const char* valueName, std::uint32_t type,
                                  const unsigned char* data, std::uint32_t dataSize) {
  return Set(key, valueName, type, data, dataSize, true);
}

long MemoryRegistry::Set(KeyRef key, const char* valueName, std::uint32_t type,
                         const unsigned char* data, std::uint32_t dataSize, bool wide) {
  const Target target = Resolve(key);
  if (target.result != reg::kSuccess) return target.result;
  if (const long checked = Check(target, registry_access::kSetValue); checked != reg::kSuccess) {
    return checked;
  }
  if (data == nullptr && dataSize != 0) return kNoAccess;
  const std::string_view name = OrEmpty(valueName);
  if (const long hook = RecordWrite({RegistryWriteKind::SetValue, target.key->root,
                                     target.key->Path(), std::string(name)});
      hook != reg::kSuccess) {
    return hook;
  }
  std::string bytes = BytesOf(data, dataSize);
  if (!wide) bytes = StoredFromNarrow(type, std::move(bytes));
  // A value replaced keeps the name it was first created with.
  target.key->values.try_emplace(std::string(name)).first->second = {type, std::move(bytes)};
  return reg::kSuccess;
}

long MemoryRegistry::DeleteValue(KeyRef key, const char* valueName) {
  const Target target = Resolve(key);
  if (target.result != reg::kSuccess) return target.result;
  if (const long checked = Check(target, registry_access::kSetValue); checked != reg::kSuccess) {
    return checked;
  }
  auto& values = target.key->values;
  const auto found = values.find(OrEmpty(valueName));
  if (found == values.end()) return reg::kFileNotFound;
  if (const long hook = RecordWrite({RegistryWriteKind::DeleteValue, target.key->root,
                                     target.key->Path(), found->first});
      hook != reg::kSuccess) {
    return hook;
  }
  values.erase(found);
  return reg::kSuccess;
}

void MemoryRegistry::ReleaseHandle(std::uintptr_t handle) { handles_.erase(handle); }

// ---- Paths, handles and writes ----

const MemoryRegistry::KeyPtr& MemoryRegistry::RootKey(RegRoot root) const {
  return root == RegRoot::LocalMachine ? localMachine_ : currentUser_;
}

MemoryRegistry::Target MemoryRegistry::Resolve(KeyRef ref) const {
  if (ref.IsRoot()) {
    const KeyPtr& root = RootKey(ref.Root());
    return {reg::kSuccess, root, GrantAccess(kMaximumAllowed, root->permissions).value_or(0)};
  }
  const auto found = handles_.find(ref.Handle());
  if (found == handles_.end()) return {kInvalidHandle, nullptr, 0};
  return {reg::kSuccess, found->second.key, found->second.access};
}

// The handle's access is checked before whether its key still exists, in Wine's order.
long MemoryRegistry::Check(const Target& target, std::uint32_t needed) {
  if ((target.access & needed) != needed) return reg::kAccessDenied;
  if (target.key->deleted) return kKeyDeleted;
  return reg::kSuccess;
}

template <class MakeMissing>
MemoryRegistry::Found MemoryRegistry::Walk(const KeyPtr& from, std::string_view path,
                                           MakeMissing&& makeMissing, int linkDepth) const {
  if (registry_path::StartsWithBackslash(path)) return {kBadPathname, nullptr};
  KeyPtr key = from;
  registry_path::KeyNames names(path);
  std::string_view name;
  while (names.Next(name)) {
    if (registry_path::CharCount(name) > registry_path::kLongestKeyNameChars) {
      return {reg::kInvalidParameter, nullptr};
    }
    KeyPtr next;
    if (const auto found = key->subKeys.find(name); found != key->subKeys.end()) {
      next = found->second;
    } else if (const long made = makeMissing(*key, name, next); made != reg::kSuccess) {
      return {made, nullptr};
    }
    if (next->link) {
      if (linkDepth >= kMostNestedLinks) return {reg::kFileNotFound, nullptr};
      Found target = Walk(RootKey(next->link->root), next->link->path, FailMissing, linkDepth + 1);
      if (target.result != reg::kSuccess) return {reg::kFileNotFound, nullptr};
      next = std::move(target.key);
    }
    key = std::move(next);
  }
  return {reg::kSuccess, std::move(key)};
}

MemoryRegistry::Found MemoryRegistry::Find(const KeyPtr& from, std::string_view path) const {
  return Walk(from, path, FailMissing);
}

// The 32-bit view follows the key's whole path from the root, whichever handle the path
// starts at. A path the walk refuses (a leading backslash) is left for it to refuse.
std::pair<MemoryRegistry::KeyPtr, std::string> MemoryRegistry::InView(const KeyPtr& from,
                                                                      std::string_view path,
                                                                      std::uint32_t access) const {
  const bool view32 =
      (access & reg::kWow64_32Key) != 0 || (wow64_ && (access & reg::kWow64_64Key) == 0);
  if (!view32 || from->root != RegRoot::LocalMachine || registry_path::StartsWithBackslash(path)) {
    return {from, std::string(path)};
  }
  return {localMachine_, registry_path::In32BitView(registry_path::Join(from->Path(), path))};
}

MemoryRegistry::Found MemoryRegistry::CreateAsWrites(const KeyPtr& from, std::string_view path) {
  return Walk(from, path, [this](Key& parent, std::string_view name, KeyPtr& made) {
    if (!parent.permissions.write) return reg::kAccessDenied;
    if (const long hook = RecordWrite({RegistryWriteKind::CreateKey, parent.root,
                                       registry_path::Join(parent.Path(), name), {}});
        hook != reg::kSuccess) {
      return hook;
    }
    made = AddSubKey(parent, name);
    return reg::kSuccess;
  });
}

MemoryRegistry::Found MemoryRegistry::CreateForSetUp(RegRoot root, std::string_view path) {
  return Walk(RootKey(root), path, [](Key& parent, std::string_view name, KeyPtr& made) {
    made = AddSubKey(parent, name);
    return reg::kSuccess;
  });
}

MemoryRegistry::KeyPtr MemoryRegistry::AddSubKey(Key& parent, std::string_view name) {
  auto key = std::make_shared<Key>(std::string(name), parent.root, &parent);
  key->permissions = parent.inheritedPermissions;
  key->inheritedPermissions = parent.inheritedPermissions;
  parent.subKeys.emplace(key->name, key);
  parent.SubKeysChanged();
  return key;
}

long MemoryRegistry::RecordWrite(RegistryWrite write) {
  ++writeCount_;
  return writeHook_ ? writeHook_(write) : reg::kSuccess;
}

RegKey MemoryRegistry::AddHandle(KeyPtr key, std::uint32_t access) {
  lastHandle_ += kHandleStep;
  handles_.emplace(lastHandle_, OpenHandle{std::move(key), access});
  return MakeKey(lastHandle_);
}

// ---- Permissions and links ----

bool MemoryRegistry::Deny(RegRoot root, std::string_view path, bool read, bool tree) {
  const Found found = Find(RootKey(root), path);
  if (found.result != reg::kSuccess) return false;
  ApplyDenial(*found.key, read, tree);
  return true;
}

bool MemoryRegistry::DenyRead(RegRoot root, std::string_view path) {
  return Deny(root, path, true, false);
}
bool MemoryRegistry::DenyWrite(RegRoot root, std::string_view path) {
  return Deny(root, path, false, false);
}
bool MemoryRegistry::DenyReadTree(RegRoot root, std::string_view path) {
  return Deny(root, path, true, true);
}
bool MemoryRegistry::DenyWriteTree(RegRoot root, std::string_view path) {
  return Deny(root, path, false, true);
}

bool MemoryRegistry::AddLink(RegRoot root, std::string_view linkPath, RegRoot targetRoot,
                             std::string_view targetPath) {
  if (registry_path::StartsWithBackslash(linkPath)) return false;
  registry_path::KeyNames names(linkPath);
  std::string_view name;
  std::string_view linkName;
  std::string parentPath;
  while (names.Next(name)) {
    if (!linkName.empty()) parentPath = registry_path::Join(parentPath, linkName);
    linkName = name;
  }
  if (linkName.empty() || registry_path::CharCount(linkName) > registry_path::kLongestKeyNameChars) {
    return false;
  }
  const Found found = CreateForSetUp(root, parentPath);
  if (found.result != reg::kSuccess || found.key->subKeys.contains(linkName)) return false;
  AddSubKey(*found.key, linkName)->link = registry_tree::LinkTarget{targetRoot, std::string(targetPath)};
  return true;
}

// ---- Set-up and inspection ----

bool MemoryRegistry::CreateKeyPath(RegRoot root, std::string_view path) {
  return CreateForSetUp(root, path).result == reg::kSuccess;
}

bool MemoryRegistry::SetStoredValue(RegRoot root, std::string_view path,
                                    std::string_view valueName, std::uint32_t type,
                                    std::string_view data) {
  const Found found = CreateForSetUp(root, path);
  if (found.result != reg::kSuccess) return false;
  found.key->values.try_emplace(std::string(valueName)).first->second = {type, std::string(data)};
  return true;
}

bool MemoryRegistry::SetRawValue(RegRoot root, std::string_view path, std::string_view valueName,
                                 std::uint32_t type, std::string_view data) {
  return SetStoredValue(root, path, valueName, type, StoredFromNarrow(type, std::string(data)));
}

bool MemoryRegistry::SetString(RegRoot root, std::string_view path, std::string_view valueName,
                               std::string_view text) {
  return SetRawValue(root, path, valueName, reg::kTypeSz, std::string(text) + '\0');
}

bool MemoryRegistry::SetExpandString(RegRoot root, std::string_view path,
                                     std::string_view valueName, std::string_view text) {
  return SetRawValue(root, path, valueName, reg::kTypeExpandSz, std::string(text) + '\0');
}

bool MemoryRegistry::SetStringWide(RegRoot root, std::string_view path,
                                   std::string_view valueName, std::u16string_view text) {
  std::u16string withNul(text);
  withNul += u'\0';
  return SetStoredValue(root, path, valueName, reg::kTypeSz, code_page::Utf16Bytes(withNul));
}

bool MemoryRegistry::SetDword(RegRoot root, std::string_view path, std::string_view valueName,
                              std::uint32_t number) {
  std::string bytes(4, '\0');
  for (std::size_t i = 0; i < 4; ++i) bytes[i] = static_cast<char>(number >> (8 * i) & 0xFF);
  return SetRawValue(root, path, valueName, reg::kTypeDword, bytes);
}

bool MemoryRegistry::SetBinary(RegRoot root, std::string_view path, std::string_view valueName,
                               const std::vector<unsigned char>& bytes) {
  return SetRawValue(root, path, valueName, reg::kTypeBinary,
                     BytesOf(bytes.data(), static_cast<std::uint32_t>(bytes.size())));
}

std::optional<registry_tree::Value> MemoryRegistry::ReadStoredValue(
    RegRoot root, std::string_view path, std::string_view valueName) const {
  const Found found = Find(RootKey(root), path);
  if (found.result != reg::kSuccess) return std::nullopt;
  const auto value = found.key->values.find(valueName);
  if (value == found.key->values.end()) return std::nullopt;
  return value->second;
}

std::optional<registry_tree::Value> MemoryRegistry::ReadValue(RegRoot root, std::string_view path,
                                                              std::string_view valueName) const {
  auto value = ReadStoredValue(root, path, valueName);
  if (value) value->data = NarrowFromStored(value->type, std::move(value->data));
  return value;
}

std::optional<std::string> MemoryRegistry::ReadString(RegRoot root, std::string_view path,
                                                      std::string_view valueName) const {
  const auto value = ReadValue(root, path, valueName);
  if (!value || (value->type != reg::kTypeSz && value->type != reg::kTypeExpandSz)) {
    return std::nullopt;
  }
  return value->data.substr(0, value->data.find('\0'));
}

std::optional<std::u16string> MemoryRegistry::ReadStringWide(RegRoot root, std::string_view path,
                                                             std::string_view valueName) const {
  const auto value = ReadStoredValue(root, path, valueName);
  if (!value || (value->type != reg::kTypeSz && value->type != reg::kTypeExpandSz)) {
    return std::nullopt;
  }
  std::u16string text = code_page::Utf16FromBytes(value->data);
  return text.substr(0, text.find(u'\0'));
}

std::optional<std::uint32_t> MemoryRegistry::ReadDword(RegRoot root, std::string_view path,
                                                       std::string_view valueName) const {
  const auto value = ReadValue(root, path, valueName);
  if (!value || value->type != reg::kTypeDword || value->data.size() != 4) return std::nullopt;
  std::uint32_t number = 0;
  for (std::size_t i = 4; i-- > 0;) {
    number = number << 8 | static_cast<unsigned char>(value->data[i]);
  }
  return number;
}

bool MemoryRegistry::KeyExists(RegRoot root, std::string_view path) const {
  return Find(RootKey(root), path).result == reg::kSuccess;
}

std::vector<std::string> MemoryRegistry::SubKeyNames(RegRoot root, std::string_view path) const {
  const Found found = Find(RootKey(root), path);
  std::vector<std::string> names;
  if (found.result != reg::kSuccess) return names;
  for (const Key* subKey : found.key->SubKeysInOrder()) names.push_back(subKey->name);
  return names;
}

RegistrySnapshot MemoryRegistry::Snapshot() const {
  return TakeRegistrySnapshot(*localMachine_, *currentUser_);
}

}  // namespace platform
