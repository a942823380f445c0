#include "tests/e2e/driver/machine_state.h"

#include <windows.h>
#include <sddl.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <vector>

#include "tests/e2e/driver/text.h"

namespace e2e {
namespace {

std::wstring Wide(const std::string& utf8) {
  const int length = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(),
                                           static_cast<int>(utf8.size()), nullptr, 0);
  std::wstring text(static_cast<std::size_t>(length), L'\0');
  ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), text.data(),
                        length);
  return text;
}

std::string Utf8(const std::wstring& wide) {
  const int length = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                           nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(length), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(),
                        length, nullptr, nullptr);
  return text;
}

// The report prints code page 936, as the rest of the driver does.
std::string Ansi(const std::wstring& wide) {
  const int length = ::WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()),
                                           nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<std::size_t>(length), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), text.data(),
                        length, nullptr, nullptr);
  return text;
}

std::wstring Expand(const std::wstring& path) {
  std::wstring expanded(32768, L'\0');
  const DWORD length = ::ExpandEnvironmentStringsW(path.c_str(), expanded.data(),
                                                   static_cast<DWORD>(expanded.size()));
  if (length == 0 || length > expanded.size()) {
    return path;
  }
  expanded.resize(length - 1);
  return expanded;
}

struct Item {
  int line = 0;
  std::string verb;
  std::vector<std::wstring> fields;
};

bool ReadItems(const std::string& file, std::vector<Item>& items, Report& report) {
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    report.Fail(Cat({"read ", file}), "cannot open it");
    return false;
  }
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (!line.empty() && line.back() == '\r') {
      line.pop_back();
    }
    if (line.empty() || line[0] == '#') {
      continue;
    }
    Item item;
    item.line = number;
    std::stringstream fields(line);
    std::string field;
    std::getline(fields, item.verb, '\t');
    while (std::getline(fields, field, '\t')) {
      item.fields.push_back(Wide(field));
    }
    items.push_back(std::move(item));
  }
  return true;
}

struct RegPath {
  HKEY root = nullptr;
  std::wstring subKey;
};

bool SplitKey(const std::wstring& key, RegPath& path) {
  if (key.rfind(L"HKLM\\", 0) == 0) {
    path.root = HKEY_LOCAL_MACHINE;
  } else if (key.rfind(L"HKCU\\", 0) == 0) {
    path.root = HKEY_CURRENT_USER;
  } else {
    return false;
  }
  path.subKey = key.substr(5);
  return true;
}

// The name a listing gives the path's last part, in its stored case; empty if none.
std::wstring StoredName(const std::wstring& path) {
  WIN32_FIND_DATAW data{};
  const HANDLE found = ::FindFirstFileW(path.c_str(), &data);
  if (found == INVALID_HANDLE_VALUE) {
    return std::wstring();
  }
  ::FindClose(found);
  return data.cFileName;
}

std::wstring LastPart(const std::wstring& path) {
  const std::size_t slash = path.find_last_of(L'\\');
  return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

bool MakeFolders(const std::wstring& path) {
  for (std::size_t pos = path.find(L'\\', 3); pos != std::wstring::npos;
       pos = path.find(L'\\', pos + 1)) {
    ::CreateDirectoryW(path.substr(0, pos).c_str(), nullptr);
  }
  ::CreateDirectoryW(path.c_str(), nullptr);
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool WriteFileText(const std::wstring& path, const std::string& text) {
  MakeFolders(path.substr(0, path.find_last_of(L'\\')));
  const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return false;
  }
  DWORD written = 0;
  const BOOL ok = ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  ::CloseHandle(file);
  return ok != 0 && written == text.size();
}

std::string ReadFileText(const std::wstring& path) {
  std::string text;
  const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return text;
  }
  char buffer[4096];
  DWORD read = 0;
  while (::ReadFile(file, buffer, sizeof buffer, &read, nullptr) != 0 && read > 0) {
    text.append(buffer, read);
  }
  ::CloseHandle(file);
  return text;
}

// A registry value as text for the report: REG_SZ as its text, REG_DWORD as its number.
bool ReadRegistryValue(const RegPath& key, const std::wstring& name, DWORD& type,
                       std::wstring& text, DWORD& number) {
  HKEY opened = nullptr;
  if (::RegOpenKeyExW(key.root, key.subKey.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) {
    return false;
  }
  std::vector<BYTE> data(65536);
  DWORD size = static_cast<DWORD>(data.size());
  const LONG result = ::RegQueryValueExW(opened, name.c_str(), nullptr, &type, data.data(), &size);
  ::RegCloseKey(opened);
  if (result != ERROR_SUCCESS) {
    return false;
  }
  if (type == REG_DWORD && size == sizeof(DWORD)) {
    std::memcpy(&number, data.data(), sizeof number);
  } else {
    text.assign(reinterpret_cast<const wchar_t*>(data.data()), size / sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0') {
      text.pop_back();
    }
  }
  return true;
}

// The day `offset` days from today by this machine's clock, as YYYYMMDD.
std::wstring LocalDay(int offset) {
  SYSTEMTIME day{};
  ::GetLocalTime(&day);
  FILETIME time{};
  ::SystemTimeToFileTime(&day, &time);
  ULARGE_INTEGER ticks{};
  ticks.LowPart = time.dwLowDateTime;
  ticks.HighPart = time.dwHighDateTime;
  ticks.QuadPart += static_cast<ULONGLONG>(static_cast<LONGLONG>(offset) * 864000000000LL);
  time.dwLowDateTime = ticks.LowPart;
  time.dwHighDateTime = ticks.HighPart;
  ::FileTimeToSystemTime(&time, &day);
  wchar_t text[16] = {};
  ::swprintf(text, 16, L"%04u%02u%02u", unsigned{day.wYear}, unsigned{day.wMonth},
             unsigned{day.wDay});
  return text;
}

std::string What(const Item& item) {
  std::wstring text = Wide(item.verb);
  for (const std::wstring& field : item.fields) {
    text += L" ";
    text += field;
  }
  return Ansi(text);
}

bool Need(const Item& item, std::size_t fields, Report& report) {
  if (item.fields.size() >= fields) {
    return true;
  }
  report.Fail(Cat({"line ", Number(item.line), " ", What(item)}), "too few fields");
  return false;
}

// In whatever code page the setup ran: the demand-load key's LOADER names a module file that
// exists, and the profile's TRUSTEDPATHS holds the folder of that file.
void CheckLoaderTrusted(const Item& item, const std::string& what, Report& report) {
  RegPath demandLoad;
  RegPath profile;
  if (!Need(item, 2, report) || !SplitKey(item.fields[0], demandLoad) ||
      !SplitKey(item.fields[1], profile)) {
    report.Fail(what, "two HKLM\\ or HKCU\\ keys needed");
    return;
  }
  DWORD type = 0;
  DWORD number = 0;
  std::wstring loader;
  std::wstring trusted;
  if (!ReadRegistryValue(demandLoad, L"LOADER", type, loader, number) || type != REG_SZ) {
    report.Fail(what, "no LOADER text");
    return;
  }
  if (!ReadRegistryValue(profile, L"TRUSTEDPATHS", type, trusted, number) || type != REG_SZ) {
    report.Fail(what, "no TRUSTEDPATHS text");
    return;
  }
  const DWORD attributes = ::GetFileAttributesW(loader.c_str());
  const bool moduleThere =
      attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  std::wstring folder = loader.substr(0, loader.find_last_of(L'\\'));
  std::wstring upperTrusted = trusted;
  ::CharUpperBuffW(folder.data(), static_cast<DWORD>(folder.size()));
  ::CharUpperBuffW(upperTrusted.data(), static_cast<DWORD>(upperTrusted.size()));
  const bool folderTrusted = !folder.empty() && upperTrusted.find(folder) != std::wstring::npos;
  report.Check(moduleThere && folderTrusted, what,
               Cat({"LOADER ", Quoted(Ansi(loader)), moduleThere ? " exists" : " is missing",
                    ", TRUSTEDPATHS ", Quoted(Ansi(trusted))}));
}

// The user's product key of a machine-wide one: without "SOFTWARE\Wow6432Node\" or
// "SOFTWARE\", below HKCU\Software.
std::wstring UserProductKey(const std::wstring& product) {
  for (const std::wstring prefix : {L"SOFTWARE\\Wow6432Node\\", L"SOFTWARE\\"}) {
    if (product.size() > prefix.size() &&
        ::CompareStringOrdinal(product.c_str(), static_cast<int>(prefix.size()), prefix.c_str(),
                               static_cast<int>(prefix.size()), TRUE) == CSTR_EQUAL) {
      return L"Software\\" + product.substr(prefix.size());
    }
  }
  return product;
}

bool KeyExists(HKEY root, const std::wstring& path) {
  HKEY opened = nullptr;
  if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) {
    return false;
  }
  ::RegCloseKey(opened);
  return true;
}

std::vector<std::wstring> SubKeys(HKEY root, const std::wstring& path) {
  std::vector<std::wstring> names;
  HKEY opened = nullptr;
  if (::RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) {
    return names;
  }
  wchar_t name[256];
  for (DWORD index = 0;; ++index) {
    DWORD length = 256;
    if (::RegEnumKeyExW(opened, index, name, &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS) {
      break;
    }
    names.emplace_back(name, length);
  }
  ::RegCloseKey(opened);
  return names;
}

std::wstring Upper(std::wstring text) {
  ::CharUpperBuffW(text.data(), static_cast<DWORD>(text.size()));
  return text;
}

void CheckAcadView(const Item& item, const std::string& what, Report& report) {
  if (!Need(item, 3, report)) {
    return;
  }
  const std::wstring& product = item.fields[0];
  const std::wstring user = UserProductKey(product);
  const std::wstring applications = L"\\Applications\\" + item.fields[1];
  // AutoCAD reads the user's demand-load keys before the machine's.
  RegPath demandLoad{HKEY_CURRENT_USER, user + applications};
  if (!KeyExists(demandLoad.root, demandLoad.subKey)) {
    demandLoad = {HKEY_LOCAL_MACHINE, product + applications};
  }
  DWORD type = 0;
  DWORD controls = 0;
  std::wstring loader;
  std::wstring ignored;
  const bool loads = ReadRegistryValue(demandLoad, L"LOADCTRLS", type, ignored, controls) &&
                     type == REG_DWORD && controls == 2;
  const bool named = ReadRegistryValue(demandLoad, L"LOADER", type, loader, controls) &&
                     type == REG_SZ;
  const DWORD attributes = named ? ::GetFileAttributesW(loader.c_str()) : INVALID_FILE_ATTRIBUTES;
  const bool moduleThere =
      attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
  std::string detail;
  if (!loads || !moduleThere) {
    detail = Cat({demandLoad.root == HKEY_CURRENT_USER ? "HKCU" : "HKLM", " key, LOADER ",
                  Quoted(Ansi(loader)), moduleThere ? "" : " missing",
                  loads ? "" : ", not loaded at start-up"});
  }

  const std::wstring folder = Upper(loader.substr(0, loader.find_last_of(L'\\')));
  // A folder the release's documentation names always trusted needs no profile's word.
  const std::wstring implicit = item.fields.size() > 3 ? Upper(item.fields[3]) + L"\\" : L"";
  const bool trustedByFolder = !implicit.empty() && (folder + L"\\").starts_with(implicit);
  const std::vector<std::wstring> profiles =
      trustedByFolder ? std::vector<std::wstring>{} : SubKeys(HKEY_CURRENT_USER, user + L"\\Profiles");
  if (profiles.empty() && !trustedByFolder) {
    detail += " no profile;";
  }
  for (const std::wstring& profile : profiles) {
    std::wstring trusted;
    const RegPath variables{HKEY_CURRENT_USER, user + L"\\Profiles\\" + profile + L"\\Variables"};
    if (!ReadRegistryValue(variables, L"TRUSTEDPATHS", type, trusted, controls) ||
        Upper(trusted).find(folder) == std::wstring::npos) {
      detail += Cat({" profile ", Ansi(profile), " does not trust it;"});
    }
  }

  std::wstring roaming;
  std::vector<std::wstring> searchPath;
  if (ReadRegistryValue({HKEY_CURRENT_USER, user}, L"RoamableRootFolder", type, roaming, controls) &&
      !roaming.empty()) {
    if (roaming.back() == L'\\') {
      roaming.pop_back();
    }
    searchPath.push_back(roaming + L"\\Support");
  }
  searchPath.push_back(item.fields[2] + L"\\Fonts");
  for (const wchar_t* font : {L"Zelvar_EN.shx", L"Zelvar_HZ.shx"}) {
    std::wstring found;
    for (const std::wstring& folderOnPath : searchPath) {
      const std::wstring path = folderOnPath + L"\\" + font;
      if (::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
        found = path;
        break;
      }
    }
    // The package's fonts say what they are (see make-distribution.sh).
    if (found.empty() || ReadFileText(found).rfind("Zelvar shape font", 0) != 0) {
      detail += Cat({" ", Ansi(font), found.empty() ? " not on the support path;"
                                                    : Cat({" found first is not the package's: ",
                                                           Ansi(found), ";"})});
    }
  }
  report.Check(detail.empty(), what, detail);
}

void CheckItem(const Item& item, Report& report) {
  const std::string what = What(item);
  if (item.verb == "folder" || item.verb == "file" || item.verb == "missing" ||
      item.verb == "readonly" || item.verb == "writable" || item.verb == "changed") {
    if (!Need(item, 1, report)) {
      return;
    }
    const std::wstring path = Expand(item.fields[0]);
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    const bool exists = attributes != INVALID_FILE_ATTRIBUTES;
    const bool isFolder = exists && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (item.verb == "missing") {
      report.Check(!exists, what, "it exists");
    } else if (item.verb == "folder") {
      report.Check(isFolder, what, exists ? "not a folder" : "missing");
    } else if (!exists || isFolder) {
      report.Fail(what, exists ? "a folder" : "missing");
    } else if (item.verb == "changed") {
      const bool same = item.fields.size() > 1 && ReadFileText(path) == Utf8(item.fields[1]);
      report.Check(!same, what, "it still holds that");
    } else if (item.verb == "readonly" || item.verb == "writable") {
      const bool readOnly = (attributes & FILE_ATTRIBUTE_READONLY) != 0;
      report.Check(readOnly == (item.verb == "readonly"), what,
                   readOnly ? "read-only" : "not read-only");
    } else {
      const std::wstring stored = StoredName(path);
      std::string detail;
      if (stored != LastPart(path)) {
        detail = Cat({"stored as ", Ansi(stored)});
      } else if (item.fields.size() > 1 && ReadFileText(path) != Utf8(item.fields[1])) {
        detail = Cat({"holds ", Quoted(ReadFileText(path))});
      }
      report.Check(detail.empty(), what, detail);
    }
    return;
  }
  if (item.verb == "loader-trusted") {
    CheckLoaderTrusted(item, what, report);
    return;
  }
  if (item.verb == "acad-view") {
    CheckAcadView(item, what, report);
    return;
  }
  if (item.verb == "sz" || item.verb == "dword" || item.verb == "nokey" || item.verb == "values" ||
      item.verb == "today") {
    RegPath key;
    if (!Need(item, 1, report) || !SplitKey(item.fields[0], key)) {
      report.Fail(what, "not a HKLM\\ or HKCU\\ key");
      return;
    }
    if (item.verb == "nokey" || item.verb == "values") {
      HKEY opened = nullptr;
      const bool exists =
          ::RegOpenKeyExW(key.root, key.subKey.c_str(), 0, KEY_READ, &opened) == ERROR_SUCCESS;
      DWORD count = 0;
      if (exists) {
        ::RegQueryInfoKeyW(opened, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count,
                           nullptr, nullptr, nullptr, nullptr);
        ::RegCloseKey(opened);
      }
      if (item.verb == "nokey") {
        report.Check(!exists, what, "the key exists");
      } else if (Need(item, 2, report)) {
        report.Check(exists && std::to_wstring(count) == item.fields[1], what,
                     exists ? Cat({"holds ", Number(count)}) : std::string("no such key"));
      }
      return;
    }
    if (!Need(item, item.verb == "today" ? 2 : 3, report)) {
      return;
    }
    DWORD type = 0;
    DWORD number = 0;
    std::wstring text;
    if (!ReadRegistryValue(key, item.fields[1], type, text, number)) {
      report.Fail(what, "no such value");
    } else if (item.verb == "sz") {
      report.Check(type == REG_SZ && text == Expand(item.fields[2]), what,
                   Cat({"type ", Number(type), ", ", Quoted(Ansi(text))}));
    } else if (item.verb == "today") {
      report.Check(type == REG_SZ && (text == LocalDay(0) || text == LocalDay(-1)), what,
                   Cat({"type ", Number(type), ", ", Quoted(Ansi(text)), ", today ",
                        Ansi(LocalDay(0))}));
    } else {
      report.Check(type == REG_DWORD && std::to_wstring(number) == item.fields[2], what,
                   Cat({"type ", Number(type), ", ", Number(number)}));
    }
    return;
  }
  report.Fail(Cat({"line ", Number(item.line), " ", what}), "unknown item");
}

// Everyone may do everything with the key except set its values, as HKEY_LOCAL_MACHINE refuses
// a user without administrator rights. Wine checks this when a value is set through a handle.
bool DenySettingValues(const std::wstring& key) {
  RegPath path;
  if (!SplitKey(key, path)) {
    return false;
  }
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(D;;0x2;;;WD)(A;;KA;;;WD)",
                                                              SDDL_REVISION_1, &descriptor,
                                                              nullptr)) {
    return false;
  }
  HKEY opened = nullptr;
  bool denied = false;
  if (::RegOpenKeyExW(path.root, path.subKey.c_str(), 0, WRITE_DAC, &opened) == ERROR_SUCCESS) {
    denied = ::RegSetKeySecurity(opened, DACL_SECURITY_INFORMATION, descriptor) == ERROR_SUCCESS;
    ::RegCloseKey(opened);
  }
  ::LocalFree(descriptor);
  return denied;
}

// A file held open without sharing until the driver ends: every copy onto it is refused.
bool HoldFile(const std::wstring& path) {
  const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
  return file != INVALID_HANDLE_VALUE;  // closed by the system when the driver ends
}

// PATH made a Unix symbolic link to the folder TARGET by /bin/ln: Wine cannot make a junction,
// and such a link shows as one (a folder that is a reparse point). Wine starts a Unix program
// without a handle to wait on, so the link itself is waited for.
bool MakeLink(const std::wstring& link, const std::wstring& target) {
  using ToUnix = char*(CDECL*)(LPCWSTR);
  const auto toUnix = reinterpret_cast<ToUnix>(reinterpret_cast<void (*)()>(
      ::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
  std::wstring line = L"/bin/ln -s --";
  for (const std::wstring* path : {&target, &link}) {
    char* unixPath = toUnix != nullptr ? toUnix(path->c_str()) : nullptr;
    if (unixPath == nullptr) return false;
    line += L" \"" + Wide(unixPath) + L"\"";
    ::HeapFree(::GetProcessHeap(), 0, unixPath);
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &started)) {
    return false;
  }
  if (started.hThread != nullptr) ::CloseHandle(started.hThread);
  if (started.hProcess != nullptr) ::CloseHandle(started.hProcess);
  for (int waited = 0; waited < 100; ++waited, ::Sleep(50)) {
    const DWORD attributes = ::GetFileAttributesW(link.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
        (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      return true;
    }
  }
  return false;
}

}  // namespace

bool PrepareMachine(const std::string& file, Report& report) {
  std::vector<Item> items;
  if (!ReadItems(file, items, report)) {
    return false;
  }
  for (const Item& item : items) {
    if (!Need(item, 1, report)) {
      return false;
    }
    const std::wstring path = Expand(item.fields[0]);
    bool ok = false;
    if (item.verb == "folder") {
      ok = MakeFolders(path);
    } else if (item.verb == "file") {
      ok = WriteFileText(path, item.fields.size() > 1 ? Utf8(item.fields[1]) : std::string());
    } else if (item.verb == "readonly") {
      const DWORD attributes = ::GetFileAttributesW(path.c_str());
      ok = attributes != INVALID_FILE_ATTRIBUTES &&
           ::SetFileAttributesW(path.c_str(), attributes | FILE_ATTRIBUTE_READONLY) != 0;
    } else if (item.verb == "hold") {
      ok = HoldFile(path);
    } else if (item.verb == "deny-values") {
      ok = DenySettingValues(item.fields[0]);
    } else if (item.verb == "link" && item.fields.size() > 1) {
      ok = MakeLink(path, Expand(item.fields[1]));
    } else {
      report.Fail(Cat({"prepare line ", Number(item.line), " ", What(item)}), "unknown item");
      return false;
    }
    if (!ok) {
      report.Fail(Cat({"prepare ", What(item)}), "failed");
      return false;
    }
  }
  report.Pass(Cat({"prepared ", Number(static_cast<long long>(items.size())), " items of ", file}));
  return true;
}

bool CheckMachine(const std::string& file, Report& report) {
  std::vector<Item> items;
  if (!ReadItems(file, items, report)) {
    return false;
  }
  for (const Item& item : items) {
    CheckItem(item, report);
  }
  return true;
}

}  // namespace e2e
