#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/memory/memory_registry_key.h"
#include "platform/memory/memory_registry_snapshot.h"
#include "platform/registry.h"

namespace platform {

// A change the in-memory registry is about to make, as its write hook is told of it.
enum class RegistryWriteKind { CreateKey, DeleteKey, SetValue, DeleteValue };

struct RegistryWrite {
  RegistryWriteKind kind = RegistryWriteKind::SetValue;
  RegRoot root = RegRoot::LocalMachine;
  // From the root, names joined with single backslashes; for CreateKey the new key's own path.
  std::string keyPath;
  std::string valueName;  // SetValue and DeleteValue only; "" for the default value
};

// Answers 0 to let a write happen, or the result code to fail it with.
using RegistryWriteHook = std::function<long(const RegistryWrite&)>;

// The registry of a test machine, held in memory, with the behaviour of the Windows registry
// (see the contract tests, which hold it and the real registry under Wine to the same
// behaviour). As Windows does, it keeps string values as UTF-16 and converts what the narrow
// functions write and read through the active code page (ansi::ActiveCodePage()), so a
// character that code page lacks reads back narrow as '?'. Beyond the Registry interface it lets a
// test deny access to keys, fail writes, build looping key trees with links, and look at the
// whole content without handles.
class MemoryRegistry final : public Registry {
 public:
  // Result codes this registry answers beside those of reg::.
  static constexpr long kInvalidHandle = 6;    // ERROR_INVALID_HANDLE
  static constexpr long kBadPathname = 161;    // ERROR_BAD_PATHNAME: a leading backslash
  static constexpr long kNoAccess = 998;       // ERROR_NOACCESS: value data missing
  static constexpr long kKeyDeleted = 1018;    // ERROR_KEY_DELETED

  MemoryRegistry();
  ~MemoryRegistry() override;
  // Handles point into the registry, so it stays where it was made.
  MemoryRegistry(const MemoryRegistry&) = delete;
  MemoryRegistry& operator=(const MemoryRegistry&) = delete;

  long OpenKey(KeyRef parent, const char* subKey, RegKey& key) override;
  long OpenKeyEx(KeyRef parent, const char* subKey, std::uint32_t access, RegKey& key) override;
  long CreateKey(KeyRef parent, const char* subKey, RegKey& key) override;
  long DeleteKey(KeyRef parent, const char* subKey) override;
  long QueryKeyInfo(KeyRef key, KeyInfo& info) override;
  long EnumKey(KeyRef key, std::uint32_t index, char* name, std::uint32_t& nameLength) override;
  long QueryValue(KeyRef key, const char* valueName, std::uint32_t* type, unsigned char* data,
                  std::uint32_t* dataSize) override;
  long SetValue(KeyRef key, const char* valueName, std::uint32_t type, const unsigned char* data,
                std::uint32_t dataSize) override;
  long DeleteValue(KeyRef key, const char* valueName) override;
  long QueryValueWide(KeyRef key, const char* valueName, std::uint32_t* type,
                      unsigned char* data, std::uint32_t* dataSize) override;
  long SetValueWide(KeyRef key, const char* valueName, std::uint32_t type,
                    const unsigned char* data, std::uint32_t dataSize) override;

  // Whether the registry is seen by a 32-bit program on 64-bit Windows (WOW64): then opening,
  // creating and deleting a key below HKEY_LOCAL_MACHINE\SOFTWARE reach the 32-bit view
  // (registry_path::In32BitView), unless an OpenKeyEx asks for reg::kWow64_64Key. Windows
  // shares a few keys between the views (parts of Classes); nothing here reads them. Off by
  // default: a 64-bit program, which opens every path as written, and reaches the 32-bit view
  // only by an OpenKeyEx with reg::kWow64_32Key.
  void SetWow64Process(bool wow64) { wow64_ = wow64; }

  // Handles open now, the roots' own among them: a test proves with it that every handle
  // the code under test opened was closed again.
  std::size_t OpenHandleCount() const { return handles_.size(); }

  // Permissions, checked by later opens (handles already open keep the access they got).
  // A key denied reading still appears in its parent's enumeration; opening it for reading
  // fails with ERROR_ACCESS_DENIED. Without write access no value is set through a handle,
  // no sub-key is created in the key and the key is not deleted. The *Tree forms apply to
  // the key, every key below it, and every key created below it later (an inherited access
  // control list): DenyWriteTree(LocalMachine, "") is a user without administrator rights.
  // False when the key does not exist.
  bool DenyRead(RegRoot root, std::string_view path);
  bool DenyWrite(RegRoot root, std::string_view path);
  bool DenyReadTree(RegRoot root, std::string_view path);
  bool DenyWriteTree(RegRoot root, std::string_view path);

  // Injected failures. The hook is called for every write the registry is about to make,
  // once all checks have passed: the creation of each key that did not exist (so creating
  // "A\B" where neither exists is two writes, and a failure of the second leaves "A"), the
  // deletion of a key, the setting or deletion of a value. Opening an existing key is no
  // write. The hook must not write to this registry itself.
  void SetWriteHook(RegistryWriteHook hook) { writeHook_ = std::move(hook); }
  // Writes shown to the hook so far, those it failed included.
  std::size_t WriteCount() const { return writeCount_; }

  // Makes `linkPath` a link to `targetPath`, as a registry symbolic link: paths through it
  // lead to the target (looked up each time, so the target may be missing or made later),
  // and its parent lists it under its own name. Missing keys on the way to the link are
  // created. False when the link's key exists already. A link that leads to itself through
  // other links fails to open (ERROR_FILE_NOT_FOUND) instead of looping.
  bool AddLink(RegRoot root, std::string_view linkPath, RegRoot targetRoot,
               std::string_view targetPath);

  // Set-up helpers for tests, by root and path: they need no handle, ignore permissions and
  // the write hook, are not counted as writes, and create missing keys on the way. Paths
  // follow the rules of the registry functions (and links). False on a path those refuse.
  bool CreateKeyPath(RegRoot root, std::string_view path);
  // Any type and bytes, as RegSetValueExA takes them: a string type's bytes are narrow text
  // of the active code page and are stored converted to UTF-16.
  bool SetRawValue(RegRoot root, std::string_view path, std::string_view valueName,
                   std::uint32_t type, std::string_view data);
  // The bytes as they are to be stored, as RegSetValueExW takes them: UTF-16LE for a string.
  bool SetStoredValue(RegRoot root, std::string_view path, std::string_view valueName,
                      std::uint32_t type, std::string_view data);
  // The text and its NUL, as installers store strings: narrow text in the active code page,
  // converted as RegSetValueExA converts it, or UTF-16 as it is.
  bool SetString(RegRoot root, std::string_view path, std::string_view valueName,
                 std::string_view text);
  bool SetExpandString(RegRoot root, std::string_view path, std::string_view valueName,
                       std::string_view text);
  bool SetStringWide(RegRoot root, std::string_view path, std::string_view valueName,
                     std::u16string_view text);
  bool SetDword(RegRoot root, std::string_view path, std::string_view valueName,
                std::uint32_t number);
  bool SetBinary(RegRoot root, std::string_view path, std::string_view valueName,
                 const std::vector<unsigned char>& bytes);

  // Inspection, by root and path; a null result or false when the key or value is missing.
  // A value's type and data as RegQueryValueExA hands them over (a string in the active code
  // page; the snapshot holds the stored bytes).
  std::optional<registry_tree::Value> ReadValue(RegRoot root, std::string_view path,
                                                std::string_view valueName) const;
  // The type and the bytes as stored.
  std::optional<registry_tree::Value> ReadStoredValue(RegRoot root, std::string_view path,
                                                      std::string_view valueName) const;
  // A REG_SZ or REG_EXPAND_SZ value's text, up to its first NUL: narrow as RegQueryValueExA
  // hands it over, or as stored.
  std::optional<std::string> ReadString(RegRoot root, std::string_view path,
                                        std::string_view valueName) const;
  std::optional<std::u16string> ReadStringWide(RegRoot root, std::string_view path,
                                               std::string_view valueName) const;
  // A REG_DWORD value of four bytes.
  std::optional<std::uint32_t> ReadDword(RegRoot root, std::string_view path,
                                         std::string_view valueName) const;
  bool KeyExists(RegRoot root, std::string_view path) const;
  // The names of the sub-keys in enumeration order, in the case they were created with.
  std::vector<std::string> SubKeyNames(RegRoot root, std::string_view path) const;
  RegistrySnapshot Snapshot() const;

 private:
  using KeyPtr = std::shared_ptr<registry_tree::Key>;

  struct OpenHandle {
    KeyPtr key;
    std::uint32_t access = 0;
  };
  // The key an operation works on, with the access the caller holds on it.
  struct Target {
    long result = reg::kSuccess;
    KeyPtr key;
    std::uint32_t access = 0;
  };
  struct Found {
    long result = reg::kSuccess;
    KeyPtr key;
  };

  void ReleaseHandle(std::uintptr_t handle) override;

  const KeyPtr& RootKey(RegRoot root) const;
  Target Resolve(KeyRef ref) const;
  // kSuccess when the target is open with every right of `needed` and its key still exists.
  static long Check(const Target& target, std::uint32_t needed);
  // Follows `path` from `from`, and every link on the way; `makeMissing(parent, name, made)`
  // decides what a missing key means.
  template <class MakeMissing>
  Found Walk(const KeyPtr& from, std::string_view path, MakeMissing&& makeMissing,
             int linkDepth = 0) const;
  Found Find(const KeyPtr& from, std::string_view path) const;
  // Where an operation on `path` from `from` starts, and along which path, in the view it
  // works in.
  std::pair<KeyPtr, std::string> InView(const KeyPtr& from, std::string_view path,
                                        std::uint32_t access) const;
  Found CreateAsWrites(const KeyPtr& from, std::string_view path);
  Found CreateForSetUp(RegRoot root, std::string_view path);
  static KeyPtr AddSubKey(registry_tree::Key& parent, std::string_view name);
  long RecordWrite(RegistryWrite write);
  long Open(KeyRef parent, const char* subKey, std::uint32_t access, bool create, RegKey& key);
  // The value functions; `wide` hands the data over as stored, otherwise strings convert.
  long Query(KeyRef key, const char* valueName, std::uint32_t* type, unsigned char* data,
             std::uint32_t* dataSize, bool wide);
  long Set(KeyRef key, const char* valueName, std::uint32_t type, const unsigned char* data,
           std::uint32_t dataSize, bool wide);
  RegKey AddHandle(KeyPtr key, std::uint32_t access);
  bool Deny(RegRoot root, std::string_view path, bool read, bool tree);

  KeyPtr localMachine_;
  KeyPtr currentUser_;
  std::unordered_map<std::uintptr_t, OpenHandle> handles_;
  std::uintptr_t lastHandle_ = 0;
  RegistryWriteHook writeHook_;
  std::size_t writeCount_ = 0;
  bool wow64_ = false;
};

}  // namespace platform
