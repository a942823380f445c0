// The setup dialog's template as the program carries it: read field by field from this test
// program's own resources (it links the same resource object as SetUp.exe) and held to the
// dialog's layout, written out here a second time.

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ui/resource_ids.h"

namespace {

constexpr WORD kChineseSimplified = MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED);
constexpr WORD kButtonAtom = 0x0080, kEditAtom = 0x0081, kStaticAtom = 0x0082;

std::string Utf8(const std::u16string& text) {
  std::string out(text.size() * 3, '\0');
  const int length = ::WideCharToMultiByte(CP_UTF8, 0, reinterpret_cast<const wchar_t*>(text.data()),
                                           static_cast<int>(text.size()), out.data(),
                                           static_cast<int>(out.size()), nullptr, nullptr);
  out.resize(length > 0 ? static_cast<std::size_t>(length) : 0);
  return out;
}

// A name-or-ordinal field: absent, an ordinal (0xFFFF then the number) or a string.
struct NameOrOrdinal {
  WORD ordinal = 0;
  std::u16string name;
};

struct ControlTemplate {
  DWORD style = 0;
  DWORD exStyle = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  int id = 0;
  NameOrOrdinal windowClass;
  NameOrOrdinal text;
};

struct DialogTemplate {
  WORD version = 0;
  WORD signature = 0;
  DWORD exStyle = 0;
  DWORD style = 0;
  short cx = 0, cy = 0;
  NameOrOrdinal menu;
  NameOrOrdinal windowClass;
  std::u16string caption;
  WORD pointSize = 0;
  WORD weight = 0;
  BYTE italic = 0;
  BYTE charSet = 0;
  std::u16string face;
  std::vector<ControlTemplate> controls;
};

// Reads an extended dialog template, never past the end of the resource: a field that would
// reach beyond it marks the reading failed.
class TemplateReader {
 public:
  explicit TemplateReader(std::span<const std::byte> data) : data_(data) {}

  bool Failed() const { return failed_; }
  bool AtEnd() const { return pos_ >= data_.size(); }

  template <typename T>
  T Read() {
    T value{};
    if (failed_ || data_.size() - pos_ < sizeof(T)) {
      failed_ = true;
      return value;
    }
    std::memcpy(&value, data_.data() + pos_, sizeof(T));
    pos_ += sizeof(T);
    return value;
  }

  std::u16string String() {
    std::u16string text;
    for (char16_t c = Read<char16_t>(); !failed_ && c != 0; c = Read<char16_t>()) {
      text.push_back(c);
    }
    return text;
  }

  NameOrOrdinal Field() {
    NameOrOrdinal field;
    const std::size_t start = pos_;
    const WORD first = Read<WORD>();
    if (first == 0xFFFF) {
      field.ordinal = Read<WORD>();
    } else if (first != 0) {
      pos_ = start;
      field.name = String();
    }
    return field;
  }

  // Every control's record starts on a 4-byte boundary of the template.
  void AlignToDword() { pos_ = std::min((pos_ + 3) & ~std::size_t{3}, data_.size()); }

  void Skip(std::size_t count) {
    if (data_.size() - pos_ < count) {
      failed_ = true;
      return;
    }
    pos_ += count;
  }

 private:
  std::span<const std::byte> data_;
  std::size_t pos_ = 0;
  bool failed_ = false;
};

std::span<const std::byte> DialogResource() {
  const HMODULE self = ::GetModuleHandleA(nullptr);
  const HRSRC found =
      ::FindResourceExA(self, RT_DIALOG, MAKEINTRESOURCEA(IDD_SETUP), kChineseSimplified);
  if (found == nullptr) return {};
  const HGLOBAL loaded = ::LoadResource(self, found);
  const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
  if (bytes == nullptr) return {};
  return {static_cast<const std::byte*>(bytes), ::SizeofResource(self, found)};
}

bool ParseDialog(std::span<const std::byte> data, DialogTemplate& dialog) {
  TemplateReader reader(data);
  dialog.version = reader.Read<WORD>();
  dialog.signature = reader.Read<WORD>();
  reader.Read<DWORD>();  // help id
  dialog.exStyle = reader.Read<DWORD>();
  dialog.style = reader.Read<DWORD>();
  const WORD count = reader.Read<WORD>();
  reader.Read<short>();  // x
  reader.Read<short>();  // y
  dialog.cx = reader.Read<short>();
  dialog.cy = reader.Read<short>();
  dialog.menu = reader.Field();
  dialog.windowClass = reader.Field();
  dialog.caption = reader.String();
  if (dialog.style & (DS_SETFONT | DS_SHELLFONT)) {
    dialog.pointSize = reader.Read<WORD>();
    dialog.weight = reader.Read<WORD>();
    dialog.italic = reader.Read<BYTE>();
    dialog.charSet = reader.Read<BYTE>();
    dialog.face = reader.String();
  }
  for (WORD i = 0; i < count && !reader.Failed(); ++i) {
    reader.AlignToDword();
    ControlTemplate control;
    reader.Read<DWORD>();  // help id
    control.exStyle = reader.Read<DWORD>();
    control.style = reader.Read<DWORD>();
    control.x = reader.Read<short>();
    control.y = reader.Read<short>();
    control.cx = reader.Read<short>();
    control.cy = reader.Read<short>();
    control.id = static_cast<int>(reader.Read<DWORD>());
    control.windowClass = reader.Field();
    control.text = reader.Field();
    reader.Skip(reader.Read<WORD>());  // creation data
    dialog.controls.push_back(control);
  }
  return !reader.Failed() && dialog.controls.size() == count;
}

enum class Kind { AutoCheckBox, PushButton, LeftText, CentredText, EtchedLine, Picture, Edit, Progress };

struct ExpectedControl {
  int id;
  Kind kind;
  const char16_t* text;  // for a picture: none, the bitmap's id instead
  WORD bitmap;
  short x, y, cx, cy;
  bool visible;
  bool tabStop;
  bool group;
};

constexpr bool V = true, H = false;       // visible at start, hidden
constexpr bool Tab = true, NoTab = false;
constexpr bool Group = true, NoGroup = false;

// The dialog from top of the tab order to bottom.
const ExpectedControl kExpected[] = {
    {1018, Kind::AutoCheckBox, u"For AutoCAD2007", 0, 18, 81, 74, 10, V, Tab, NoGroup},
    {1019, Kind::AutoCheckBox, u"For AutoCAD2008", 0, 18, 101, 74, 10, V, Tab, NoGroup},
    {1020, Kind::AutoCheckBox, u"For AutoCAD2009", 0, 18, 121, 74, 10, V, Tab, NoGroup},
    {1027, Kind::AutoCheckBox, u"For AutoCAD2010", 0, 18, 141, 74, 10, V, Tab, NoGroup},
    {1026, Kind::AutoCheckBox, u"For AutoCAD2011", 0, 18, 161, 74, 10, V, Tab, NoGroup},
    {1028, Kind::AutoCheckBox, u"For AutoCAD2012", 0, 18, 181, 74, 10, V, Tab, NoGroup},
    {1029, Kind::AutoCheckBox, u"For AutoCAD2013", 0, 104, 81, 74, 10, V, Tab, NoGroup},
    {1030, Kind::AutoCheckBox, u"For AutoCAD2014", 0, 104, 101, 74, 10, V, Tab, NoGroup},
    {1031, Kind::AutoCheckBox, u"For AutoCAD2015", 0, 104, 121, 74, 10, V, Tab, NoGroup},
    {1032, Kind::AutoCheckBox, u"For AutoCAD2016", 0, 104, 141, 74, 10, V, Tab, NoGroup},
    {1033, Kind::AutoCheckBox, u"For AutoCAD2017", 0, 104, 161, 74, 10, V, Tab, NoGroup},
    {1034, Kind::AutoCheckBox, u"For AutoCAD2018", 0, 104, 181, 74, 10, V, Tab, NoGroup},
    {1035, Kind::AutoCheckBox, u"For AutoCAD2019", 0, 190, 61, 74, 10, V, Tab, NoGroup},
    {1036, Kind::AutoCheckBox, u"For AutoCAD2020", 0, 190, 81, 74, 10, V, Tab, NoGroup},
    {1037, Kind::AutoCheckBox, u"For AutoCAD2021", 0, 190, 101, 74, 10, V, Tab, NoGroup},
    {1038, Kind::AutoCheckBox, u"For AutoCAD2022", 0, 190, 121, 74, 10, V, Tab, NoGroup},
    {1039, Kind::AutoCheckBox, u"For AutoCAD2023", 0, 190, 141, 74, 10, V, Tab, NoGroup},
    {1040, Kind::AutoCheckBox, u"For AutoCAD2024", 0, 190, 161, 74, 10, V, Tab, NoGroup},
    {1041, Kind::AutoCheckBox, u"For AutoCAD2025", 0, 190, 181, 74, 10, V, Tab, NoGroup},
    {IDOK, Kind::PushButton, u"安装完成", 0, 110, 214, 63, 14, H, Tab, NoGroup},
    {IDCANCEL, Kind::PushButton, u"取  消", 0, 173, 262, 50, 14, V, Tab, NoGroup},
    {1013, Kind::LeftText, u"Zelvar批打印软件 V%d.%d.%d (%d位版本)", 0, 67, 22, 205, 10, V, NoTab, Group},
    {-1, Kind::EtchedLine, u"", 0, 0, 206, 286, 1, V, NoTab, NoGroup},
    {1016, Kind::LeftText, u"请选择安装组件：", 0, 14, 62, 69, 10, V, NoTab, Group},
    {-1, Kind::EtchedLine, u"", 0, 0, 51, 286, 1, V, NoTab, NoGroup},
    {-1, Kind::Picture, nullptr, 147, 13, 2, 43, 43, V, NoTab, NoGroup},
    {1000, Kind::Edit, u"", 0, 13, 233, 202, 12, V, Tab, NoGroup},
    {1015, Kind::PushButton, u"浏览...", 0, 221, 231, 51, 13, V, Tab, NoGroup},
    {1014, Kind::Progress, u"", 0, 13, 236, 256, 6, H, NoTab, NoGroup},
    {1017, Kind::LeftText, u"请选择安装路径：", 0, 14, 215, 71, 9, V, NoTab, Group},
    {-1, Kind::EtchedLine, u"", 0, 0, 255, 286, 1, V, NoTab, NoGroup},
    {1021, Kind::Picture, nullptr, 151, 39, 78, 205, 117, H, NoTab, NoGroup},
    {1022, Kind::PushButton, u"安  装", 0, 60, 263, 50, 13, V, Tab, NoGroup},
    {1023, Kind::CentredText, u"安装完成！重启CAD，CAD菜单尾会有以下子菜单：", 0, 47, 62, 190, 10, H, NoTab,
     Group},
};

bool IsClass(const NameOrOrdinal& field, WORD atom, std::u16string_view name) {
  if (field.ordinal != 0) return field.ordinal == atom;
  if (field.name.size() != name.size()) return false;
  for (std::size_t i = 0; i < name.size(); ++i) {
    const auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c - u'A' + u'a') : c; };
    if (lower(field.name[i]) != lower(name[i])) return false;
  }
  return true;
}

bool IsButton(const ControlTemplate& control) { return IsClass(control.windowClass, kButtonAtom, u"button"); }

class DialogTemplateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::span<const std::byte> data = DialogResource();
    ASSERT_FALSE(data.empty()) << "dialog " << IDD_SETUP << " in language 2052";
    ASSERT_TRUE(ParseDialog(data, dialog)) << "the template ends inside a field";
  }

  DialogTemplate dialog;
};

BOOL CALLBACK AddLanguage(HMODULE, LPCSTR, LPCSTR, WORD language, LONG_PTR list) {
  reinterpret_cast<std::vector<WORD>*>(list)->push_back(language);
  return TRUE;
}

// A second copy in another language would be the one Windows picks on some systems.
TEST_F(DialogTemplateTest, IsTheOnlyLanguageOfTheDialog) {
  std::vector<WORD> languages;
  ::EnumResourceLanguagesA(::GetModuleHandleA(nullptr), RT_DIALOG, MAKEINTRESOURCEA(IDD_SETUP),
                           &AddLanguage, reinterpret_cast<LONG_PTR>(&languages));
  EXPECT_EQ(languages, std::vector<WORD>{kChineseSimplified});
}

TEST_F(DialogTemplateTest, HeaderHasCaptionSizeFontAndFrameStyles) {
  EXPECT_EQ(dialog.version, 1);
  EXPECT_EQ(dialog.signature, 0xFFFF) << "an extended template";
  EXPECT_EQ(dialog.style, static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX |
                                             DS_MODALFRAME | DS_SETFONT));
  EXPECT_EQ(dialog.exStyle, static_cast<DWORD>(WS_EX_CLIENTEDGE));
  EXPECT_EQ(dialog.cx, 283);
  EXPECT_EQ(dialog.cy, 283);
  EXPECT_EQ(dialog.menu.ordinal, 0);
  EXPECT_TRUE(dialog.menu.name.empty());
  EXPECT_EQ(dialog.windowClass.ordinal, 0) << "the standard dialog class";
  EXPECT_TRUE(dialog.windowClass.name.empty());
  EXPECT_EQ(Utf8(dialog.caption), Utf8(u"Zelvar批打印软件安装"));
  EXPECT_EQ(dialog.pointSize, 9);
  EXPECT_EQ(dialog.weight, 0);
  EXPECT_EQ(dialog.italic, 0);
  EXPECT_EQ(dialog.charSet, 1);
  EXPECT_EQ(Utf8(dialog.face), Utf8(u"宋体"));
}

TEST_F(DialogTemplateTest, ControlsFollowTheLayoutInTabOrder) {
  ASSERT_EQ(dialog.controls.size(), std::size(kExpected));
  for (std::size_t i = 0; i < std::size(kExpected); ++i) {
    const ExpectedControl& want = kExpected[i];
    const ControlTemplate& got = dialog.controls[i];
    SCOPED_TRACE("control " + std::to_string(i) + ", id " + std::to_string(want.id));
    EXPECT_EQ(got.id, want.id);
    EXPECT_EQ(got.x, want.x);
    EXPECT_EQ(got.y, want.y);
    EXPECT_EQ(got.cx, want.cx);
    EXPECT_EQ(got.cy, want.cy);
    EXPECT_EQ((got.style & WS_VISIBLE) != 0, want.visible);
    EXPECT_EQ((got.style & WS_TABSTOP) != 0, want.tabStop);
    EXPECT_EQ((got.style & WS_GROUP) != 0, want.group);
    EXPECT_NE(got.style & WS_CHILD, 0u);
    EXPECT_EQ(got.style & WS_DISABLED, 0u) << "the dialog decides what is disabled";
    EXPECT_EQ(got.exStyle, 0u);
    if (want.text != nullptr) {
      EXPECT_EQ(got.text.ordinal, 0);
      EXPECT_EQ(Utf8(got.text.name), Utf8(want.text));
    } else {
      EXPECT_EQ(got.text.ordinal, want.bitmap) << "the picture's bitmap";
    }

    switch (want.kind) {
      case Kind::AutoCheckBox:
        EXPECT_TRUE(IsButton(got));
        EXPECT_EQ(got.style & BS_TYPEMASK, static_cast<DWORD>(BS_AUTOCHECKBOX));
        break;
      case Kind::PushButton:
        EXPECT_TRUE(IsButton(got));
        EXPECT_EQ(got.style & BS_TYPEMASK, static_cast<DWORD>(BS_PUSHBUTTON));
        break;
      case Kind::LeftText:
      case Kind::CentredText:
        EXPECT_TRUE(IsClass(got.windowClass, kStaticAtom, u"static"));
        EXPECT_EQ(got.style & SS_TYPEMASK,
                  static_cast<DWORD>(want.kind == Kind::LeftText ? SS_LEFT : SS_CENTER));
        break;
      case Kind::EtchedLine:
        EXPECT_TRUE(IsClass(got.windowClass, kStaticAtom, u"static"));
        EXPECT_EQ(got.style & SS_TYPEMASK, static_cast<DWORD>(SS_ETCHEDHORZ));
        break;
      case Kind::Picture:
        EXPECT_TRUE(IsClass(got.windowClass, kStaticAtom, u"static"));
        EXPECT_EQ(got.style & SS_TYPEMASK, static_cast<DWORD>(SS_BITMAP));
        break;
      case Kind::Edit:
        EXPECT_TRUE(IsClass(got.windowClass, kEditAtom, u"edit"));
        EXPECT_NE(got.style & ES_AUTOHSCROLL, 0u);
        EXPECT_NE(got.style & WS_BORDER, 0u);
        EXPECT_EQ(got.style & (ES_MULTILINE | ES_READONLY | ES_PASSWORD | ES_CENTER | ES_RIGHT), 0u);
        break;
      case Kind::Progress:
        EXPECT_TRUE(IsClass(got.windowClass, 0, u"msctls_progress32"));
        EXPECT_NE(got.style & WS_BORDER, 0u);
        break;
    }
  }
}

// Enter must not start the installation from a box that merely has the focus.
TEST_F(DialogTemplateTest, NoButtonIsTheDefaultPushButton) {
  int buttons = 0;
  for (const ControlTemplate& control : dialog.controls) {
    if (!IsButton(control)) continue;
    ++buttons;
    EXPECT_NE(control.style & BS_TYPEMASK, static_cast<DWORD>(BS_DEFPUSHBUTTON)) << control.id;
  }
  EXPECT_EQ(buttons, 19 + 4);
}

}  // namespace
