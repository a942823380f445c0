#include "ui/setup_dialog.h"

#include "install/installed_apps_entry.h"
#include "platform/built_in_text.h"
#include "ui/logic/build_constants.h"
#include "ui/path_dialog.h"
#include "ui/resource_ids.h"
#include "ui/setup_install_view.h"
#include "ui/window_dpi.h"

namespace ui {

namespace {
constexpr COLORREF kBackgroundColour = RGB(170, 210, 150);
constexpr COLORREF kTextColour = RGB(0, 0, 0);
constexpr COLORREF kCaptionColour = RGB(10, 70, 40);

// Posted by OnDpiChanged with the new DPI, once the dialog manager's rescaling is done.
constexpr UINT kDpiSettled = WM_APP + 1;

// 12 pixels high at 100 %, growing with the DPI as the template's 9-point font beside it does.
LOGFONTA CaptionFont(UINT dpi) {
  LOGFONTA font{};
  font.lfHeight = ScaledToDpi(12, dpi);
  font.lfWeight = 600;
  font.lfCharSet = ANSI_CHARSET;
  font.lfOutPrecision = OUT_DEFAULT_PRECIS;
  font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  font.lfQuality = DEFAULT_QUALITY;
  font.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
  lstrcpynA(font.lfFaceName, ansi::BuiltIn("宋体"), LF_FACESIZE);
  return font;
}
}  // namespace

Dlg_Setup::Dlg_Setup(discovery::InstallationInventory& inventory, platform::Platform platform,
                     platform::MessageBoxes& messages, HWND parent)
    : CDialog(IDD_SETUP, parent),
      inventory_(inventory),
      platform_(platform),
      messages_(messages),
      installCommand_(inventory, platform, messages) {
  const InstallSelection initial = InitialSelection();
  releaseFlags = initial.releaseFlags;
  targetFolder = initial.targetFolder;
  // Installing again offers the folder chosen then, so the new files replace the old ones.
  install::EarlierChosenFolder(platform_, targetFolder);
}

MessageMap Dlg_Setup::GetMessageMap() const {
  static constexpr MessageMapEntry kMap[] = {
      OnCtlColorRequest<&Dlg_Setup::OnCtlColor>(),
      OnMessage<&Dlg_Setup::OnDpiChanged>(WM_DPICHANGED),
      OnMessage<&Dlg_Setup::OnDpiSettled>(kDpiSettled),
      OnMessage<&Dlg_Setup::OnDestroy>(WM_DESTROY),
      OnButtonClicked<&Dlg_Setup::OnReleaseBoxClicked>(IDC_BOX_2007),
      OnButtonClicked<&Dlg_Setup::OnReleaseBoxClicked>(IDC_BOX_2008),
      OnButtonClicked<&Dlg_Setup::OnReleaseBoxClicked>(IDC_BOX_2009),
      OnButtonClicked<&Dlg_Setup::OnReleaseBoxClicked>(IDC_BOX_2010),
      OnButtonClicked<&Dlg_Setup::OnReleaseBoxClicked>(IDC_BOX_2011),
      OnButtonClicked<&Dlg_Setup::OnReleaseBoxClicked>(IDC_BOX_2012),
      OnButtonClicked<&Dlg_Setup::OnReleaseBoxClicked>(IDC_BOX_2013),
      OnButtonClicked<&Dlg_Setup::OnReleaseBoxClicked>(IDC_BOX_2014),
      OnButtonClicked<&Dlg_Setup::OnReleaseBoxClicked>(IDC_BOX_2015),
      OnButtonClicked<&Dlg_Setup::OnReleaseBoxClicked>(IDC_BOX_2016),
      OnButtonClicked<&Dlg_Setup::OnReleaseBoxClicked>(IDC_BOX_2017),
      OnButtonClicked<&Dlg_Setup::OnReleaseBoxClicked>(IDC_BOX_2018),
      OnButtonClicked<&Dlg_Setup::OnReleaseBoxClicked>(IDC_BOX_2019),
      OnButtonClicked<&Dlg_Setup::OnReleaseBoxClicked>(IDC_BOX_2020),
      OnButtonClicked<&Dlg_Setup::OnReleaseBoxClicked>(IDC_BOX_2021),
      OnButtonClicked<&Dlg_Setup::OnReleaseBoxClicked>(IDC_BOX_2022),
      OnButtonClicked<&Dlg_Setup::OnReleaseBoxClicked>(IDC_BOX_2023),
      OnButtonClicked<&Dlg_Setup::OnReleaseBoxClicked>(IDC_BOX_2024),
      OnButtonClicked<&Dlg_Setup::OnReleaseBoxClicked>(IDC_BOX_2025),
      OnButtonClicked<&Dlg_Setup::OnBrowse>(IDC_BROWSE),
      OnButtonClicked<&Dlg_Setup::OnInstall>(IDC_INSTALL),
  };
  // The installation lets the queue's messages through between its files (SetupInstallView),
  // and a click another program sends then must not start a second installation, open the
  // chooser or change the ticks being registered: until it ends, only the entries above the
  // commands answer. (Input from the user is dropped there; IDOK and IDCANCEL keep the dialog
  // manager's handling, whose end takes effect once the installation returns.)
  constexpr std::size_t kWithoutCommands = 4;
  static_assert(kMap[kWithoutCommands - 1].kind != MessageMapEntry::Kind::Command &&
                kMap[kWithoutCommands].kind == MessageMapEntry::Kind::Command);
  return installing_ ? MessageMap(kMap).first(kWithoutCommands) : MessageMap(kMap);
}

void Dlg_Setup::DoDataExchange(CDataExchange* dx) {
  CDialog::DoDataExchange(dx);
  // The boxes are bound from 2025 down to 2007, their ticks exchanged from 2007 up.
  for (std::size_t k = 0; k < discovery::kReleaseCount; ++k) {
    DDX_Control(dx, discovery::kReleaseTable[discovery::kReleaseCount - 1 - k].checkBoxId,
                releaseBoxes[k]);
  }
  for (std::size_t i = 0; i < discovery::kReleaseCount; ++i) {
    DDX_Check(dx, discovery::kReleaseTable[i].checkBoxId, releaseFlags[i]);
  }
  DDX_Text(dx, IDC_VERSION_TEXT, versionText);
  DDX_Control(dx, IDC_PROGRESS, progressBar);
  DDX_Text(dx, IDC_TARGET_FOLDER, targetFolder);
}

BOOL Dlg_Setup::OnInitDialog() {
  CDialog::OnInitDialog();
  backgroundBrush.CreateSolidBrush(kBackgroundColour);
  versionText = FormatVersionText(setupVersion, setupBits);
  pictures_.Attach(m_hWnd);
  ShowAtDpi(WindowDpi(m_hWnd));

  const ReleaseBoxStates offered = OfferReleases(inventory_, setupBits, releaseFlags);
  for (std::size_t i = 0; i < discovery::kReleaseCount; ++i) {
    CWnd box(GetDlgItem(discovery::kReleaseTable[i].checkBoxId));
    if (!offered[i].enabled) {
      box.EnableWindow(false);
    }
    if (!offered[i].visible) {
      box.ShowWindow(SW_HIDE);
    }
  }

  UpdateData(false);
  UpdateInstallButton();
  return TRUE;
}

void Dlg_Setup::ShowAtDpi(UINT dpi) {
  // The font shown until now goes once the caption has the new one.
  CFont previous;
  previous.Adopt(captionFont_.Release());
  if (!captionFont_.CreateFontIndirect(CaptionFont(dpi))) {
    // Without a new font the caption keeps the one it has.
    captionFont_.Adopt(previous.Release());
  }
  // Some static controls select their own font after asking the dialog for colours, which
  // would undo the font chosen in OnCtlColor; the caption is given the font as its own too,
  // so it is semi-bold wherever it is drawn.
  if (captionFont_.Get() != nullptr) {
    // Redrawn at once only once the window shows (after a change of DPI).
    CWnd(GetDlgItem(IDC_VERSION_TEXT)).SendMessage(WM_SETFONT,
        reinterpret_cast<WPARAM>(captionFont_.Get()), IsWindowVisible() ? TRUE : FALSE);
  }
  pictures_.ShowAt(dpi);

  // A missing icon leaves the window without one.
  CIcon icon;
  icon.Adopt(static_cast<HICON>(::LoadImageA(
      AfxGetResourceHandle(), MAKEINTRESOURCEA(IDI_SETUP), IMAGE_ICON,
      SystemMetricForDpi(SM_CXSMICON, dpi), SystemMetricForDpi(SM_CYSMICON, dpi),
      LR_DEFAULTCOLOR)));
  if (icon.Get() != nullptr) {
    SetIcon(icon.Get(), false);
    smallIcon_.Adopt(icon.Release());
  }
}

void Dlg_Setup::OnDpiChanged(WPARAM dpi, LPARAM /*suggestedRect*/) {
  ::PostMessageA(m_hWnd, kDpiSettled, LOWORD(dpi), 0);
}

void Dlg_Setup::OnDpiSettled(WPARAM dpi, LPARAM) {
  if (dpi != 0) ShowAtDpi(static_cast<UINT>(dpi));
}

// The picture controls get their own bitmaps back before they are destroyed with the dialog.
void Dlg_Setup::OnDestroy(WPARAM, LPARAM) { pictures_.Restore(); }

void Dlg_Setup::UpdateInstallButton() {
  UpdateData(true);
  CWnd install(GetDlgItem(IDC_INSTALL));
  install.EnableWindow(AnyReleaseTicked(releaseFlags));
}

void Dlg_Setup::OnReleaseBoxClicked() { UpdateInstallButton(); }

bool Dlg_Setup::HighContrastOn() const {
  HIGHCONTRASTA contrast{};
  contrast.cbSize = sizeof contrast;
  return ::SystemParametersInfoA(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) != FALSE &&
         (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

HBRUSH Dlg_Setup::OnCtlColor(HDC dc, CWnd& control, UINT ctlColor) {
  // The system's own colours for the request, set into the DC as an uncoloured control has them.
  const HBRUSH systemBrush = CDialog::OnCtlColor(dc, control, ctlColor);
  const int id = control.GetDlgCtrlID();
  if (id == IDC_TARGET_FOLDER && HighContrastOn()) {
    // The user's high-contrast window and text colours: ours would paint the path black on
    // black in High Contrast Black.
    return systemBrush;
  }
  ::SetTextColor(dc, kTextColour);
  if (id == IDC_TARGET_FOLDER) {
    // The edit box keeps an opaque background, so its text is redrawn cleanly as it scrolls,
    // in the colour of the brush around it.
    ::SetBkColor(dc, kBackgroundColour);
  } else {
    ::SetBkMode(dc, TRANSPARENT);
  }
  if (id == IDC_VERSION_TEXT) {
    ::SelectObject(dc, captionFont_.Get());
    ::SetTextColor(dc, kCaptionColour);
  }
  return backgroundBrush;
}

// IDOK is the hidden finish button, and with no default push button the dialog manager also
// sends IDOK for the Enter key wherever the focus is. Only the finished look, where the
// button shows, ends the dialog that way; before, Enter would end the setup unseen.
void Dlg_Setup::OnOK() {
  if (CWnd(GetDlgItem(IDOK)).IsWindowVisible()) {
    CDialog::OnOK();
  }
}

void Dlg_Setup::OnCancel() { CDialog::OnCancel(); }

// The folder chooser and the installation hang here.
void Dlg_Setup::OnBrowse() {
  // A folder typed into the edit box is where the chooser starts.
  UpdateData(true);
  static constexpr const char* kChooseFolder = "请选择安装目录：";
  const std::string startFolder = targetFolder;
  const char* const title = ansi::BuiltIn(kChooseFolder);
  CPathDialog chooser(platform_, messages_, title, title, startFolder.c_str(), nullptr);
  if (chooser.DoModal() == IDOK) {
    // Taken as confirmed; the product folder is appended only when installing.
    targetFolder = chooser.GetPathName();
    UpdateData(false);
  }
  UpdateInstallButton();
}

void Dlg_Setup::OnInstall() {
  SetupInstallView view(*this);
  // Cleared on every way out, a failure caught at the window's edge included.
  struct Installing {
    bool& flag;
    ~Installing() { flag = false; }
  };
  installing_ = true;
  const Installing installing{installing_};
  installCommand_.OnInstall(view, releaseFlags, targetFolder);
}

}  // namespace ui
