#include "tests/e2e/driver/look_checks.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "tests/e2e/driver/screen_capture.h"
#include "tests/e2e/driver/text.h"
#include "tests/e2e/driver/text_ink.h"
#include "tests/e2e/driver/window_queries.h"
#include "ui/resource_ids.h"

namespace e2e {

namespace {

constexpr COLORREF kBackground = RGB(170, 210, 150);
constexpr COLORREF kCaptionText = RGB(10, 70, 40);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr int kPixelTolerance = 1;

std::string_view YesNo(bool value, std::string_view yes, std::string_view no) {
  return value ? yes : no;
}

// The dialog's base units, as the dialog manager converts its template with them.
struct BaseUnits {
  int x = 0;
  int y = 0;
  int Px(int dluX) const { return ::MulDiv(dluX, x, 4); }
  int Py(int dluY) const { return ::MulDiv(dluY, y, 8); }
};

std::optional<BaseUnits> MeasureBaseUnits(HWND dialog) {
  // Box 2007 sits at (18, 81), box 2019 at (190, 61), box 2012 at (18, 181).
  HWND box2007 = ::GetDlgItem(dialog, 1018);
  HWND box2019 = ::GetDlgItem(dialog, 1035);
  HWND box2012 = ::GetDlgItem(dialog, 1028);
  if (box2007 == nullptr || box2019 == nullptr || box2012 == nullptr) {
    return std::nullopt;
  }
  const RECT a = RectInParent(box2007, dialog);
  const RECT b = RectInParent(box2019, dialog);
  const RECT c = RectInParent(box2012, dialog);
  BaseUnits units;
  units.x = static_cast<int>(std::lround(4.0 * (b.left - a.left) / (190 - 18)));
  units.y = static_cast<int>(std::lround(8.0 * (c.top - b.top) / (181 - 61)));
  if (units.x <= 0 || units.y <= 0) {
    return std::nullopt;
  }
  return units;
}

bool Near(long actual, int expected) { return std::abs(actual - expected) <= kPixelTolerance; }

// Empty when the rectangle is where the dialog units put it.
std::string CompareRect(const RECT& actual, const DluRect& dlu, const BaseUnits& units,
                        bool positionOnly) {
  const int left = units.Px(dlu.x);
  const int top = units.Py(dlu.y);
  const int width = units.Px(dlu.w);
  const int height = units.Py(dlu.h);
  bool ok = Near(actual.left, left) && Near(actual.top, top);
  if (!positionOnly) {
    ok = ok && Near(actual.right - actual.left, width) && Near(actual.bottom - actual.top, height);
  }
  if (ok) {
    return {};
  }
  return Cat({"expected ", Number(left), ",", Number(top), " ", Number(width), "x",
              Number(height), " px, is ", Number(actual.left), ",", Number(actual.top), " ",
              Number(actual.right - actual.left), "x", Number(actual.bottom - actual.top)});
}

// The controls without an id, by kind of static.
std::vector<HWND> StaticsOfType(HWND dialog, LONG_PTR type) {
  std::vector<HWND> found;
  for (HWND child : ChildWindowsOf(dialog)) {
    const LONG_PTR style = ::GetWindowLongPtrA(child, GWL_STYLE);
    if (ClassNameOf(child) == "Static" && (style & SS_TYPEMASK) == type &&
        ::GetDlgCtrlID(child) != IDC_MENU_PICTURE) {
      found.push_back(child);
    }
  }
  std::sort(found.begin(), found.end(), [dialog](HWND a, HWND b) {
    return RectInParent(a, dialog).top < RectInParent(b, dialog).top;
  });
  return found;
}

// How often each colour occurs inside a rectangle of the captured client area.
std::map<COLORREF, int> ColoursIn(const ScreenImage& image, const RECT& rect) {
  std::map<COLORREF, int> counts;
  for (int y = std::max(0L, rect.top); y < std::min<long>(rect.bottom, image.Height()); ++y) {
    for (int x = std::max(0L, rect.left); x < std::min<long>(rect.right, image.Width()); ++x) {
      ++counts[image.At(x, y)];
    }
  }
  return counts;
}

COLORREF MostFrequent(const std::map<COLORREF, int>& counts) {
  COLORREF best = CLR_INVALID;
  int bestCount = -1;
  for (const auto& [colour, count] : counts) {
    if (count > bestCount) {
      best = colour;
      bestCount = count;
    }
  }
  return best;
}

std::string ColourText(COLORREF colour) {
  if (colour == CLR_INVALID) {
    return "nothing";
  }
  return Cat({"RGB(", Number(GetRValue(colour)), ",", Number(GetGValue(colour)), ",",
              Number(GetBValue(colour)), ")"});
}

int CountOf(const std::map<COLORREF, int>& counts, COLORREF colour) {
  const auto found = counts.find(colour);
  return found == counts.end() ? 0 : found->second;
}

// The screen's pixels shrunk to the bitmap's size (each the average of those it covers)
// against the bitmap's own: the mean difference of a colour channel, 0 to 255.
int MeanDifference(HBITMAP bitmap, const ScreenImage& shown) {
  BITMAP info{};
  ::GetObjectA(bitmap, sizeof info, &info);
  const int width = info.bmWidth, height = info.bmHeight;
  if (width <= 0 || shown.Width() < width || shown.Height() < height) return 255;
  std::vector<std::uint32_t> own(static_cast<std::size_t>(width) * height);
  BITMAPINFO format{};
  format.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  const HDC dc = ::CreateCompatibleDC(nullptr);
  const int rows = ::GetDIBits(dc, bitmap, 0, height, own.data(), &format, DIB_RGB_COLORS);
  ::DeleteDC(dc);
  if (rows != height) return 255;
  long long total = 0;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const int left = x * shown.Width() / width, right = (x + 1) * shown.Width() / width;
      const int top = y * shown.Height() / height, bottom = (y + 1) * shown.Height() / height;
      for (int channel = 0; channel < 24; channel += 8) {
        long long sum = 0;
        for (int sy = top; sy < bottom; ++sy) {
          for (int sx = left; sx < right; ++sx) {
            const std::size_t at = static_cast<std::size_t>(sy) * shown.Width() + sx;
            sum += (shown.Pixels()[at] >> channel) & 0xFF;
          }
        }
        const std::size_t at = static_cast<std::size_t>(y) * width + x;
        const long long reference = (own[at] >> channel) & 0xFF;
        total += std::llabs(sum / ((bottom - top) * (right - left)) - reference);
      }
    }
  }
  return static_cast<int>(total / (3LL * width * height));
}

}  // namespace

void CheckControlStates(HWND dialog, const DialogLook& look, Report& report) {
  const std::string caption = ReadCaption(dialog);
  report.Check(caption == look.caption, Cat({"dialog caption ", Quoted(look.caption)}),
               Cat({"is ", Quoted(caption)}));
  report.Check(ClassNameOf(dialog) == "#32770", "dialog is a dialog box (#32770)",
               Cat({"class ", ClassNameOf(dialog)}));

  for (const ControlLook& control : look.controls) {
    HWND window = ::GetDlgItem(dialog, control.id);
    const std::string what = Cat({control.name, " (", Number(control.id), ")"});
    if (window == nullptr) {
      report.Fail(what, "no control with this id");
      continue;
    }
    std::string problems;
    const bool visible = ::IsWindowVisible(window) != FALSE;
    const bool enabled = ::IsWindowEnabled(window) != FALSE;
    if (visible != control.visible) {
      problems += Cat({" expected ", YesNo(control.visible, "visible", "hidden"), ", is ",
                       YesNo(visible, "visible", "hidden"), ";"});
    }
    if (enabled != control.enabled) {
      problems += Cat({" expected ", YesNo(control.enabled, "enabled", "disabled"), ", is ",
                       YesNo(enabled, "enabled", "disabled"), ";"});
    }
    if (control.ticked) {
      const std::optional<LRESULT> check = ReadCheck(window);
      if (!check) {
        problems += " no answer to BM_GETCHECK;";
      } else if ((*check == BST_CHECKED) != *control.ticked) {
        problems += Cat({" expected ", YesNo(*control.ticked, "ticked", "unticked"), ", is ",
                         YesNo(*check == BST_CHECKED, "ticked", "unticked"), ";"});
      }
    }
    if (control.text) {
      const std::optional<std::string> text = ReadText(window);
      if (!text) {
        problems += " no answer to WM_GETTEXT;";
      } else if (*text != *control.text) {
        problems += Cat({" expected text ", Quoted(*control.text), ", is ", Quoted(*text), ";"});
      }
    }
    std::string summary = Cat({what, ": ", YesNo(control.visible, "visible", "hidden"), ", ",
                               YesNo(control.enabled, "enabled", "disabled")});
    if (control.ticked) {
      summary += YesNo(*control.ticked, ", ticked", ", unticked");
    }
    if (control.text) {
      summary += Cat({", ", Quoted(*control.text)});
    }
    report.Check(problems.empty(), summary, problems);
  }
}

void CheckGeometry(HWND dialog, const DialogLook& look, Report& report) {
  const std::optional<BaseUnits> units = MeasureBaseUnits(dialog);
  if (!units) {
    report.Fail("dialog base units", "release boxes 2007, 2012, 2019 not found or misplaced");
    return;
  }
  report.Note(Cat({"dialog base units measured from the release boxes: ", Number(units->x),
                   " x ", Number(units->y), " px"}));

  RECT client{};
  ::GetClientRect(dialog, &client);
  const int width = units->Px(look.widthDlu);
  const int height = units->Py(look.heightDlu);
  report.Check(Near(client.right, width) && Near(client.bottom, height),
               Cat({"dialog client area ", Number(look.widthDlu), " x ", Number(look.heightDlu),
                    " dialog units"}),
               Cat({"expected ", Number(width), "x", Number(height), " px, is ",
                    Number(client.right), "x", Number(client.bottom)}));

  std::string misplaced;
  for (const ControlLook& control : look.controls) {
    HWND window = ::GetDlgItem(dialog, control.id);
    if (window == nullptr) {
      continue;  // reported by the state checks
    }
    const std::string problem =
        CompareRect(RectInParent(window, dialog), control.rect, *units, control.sizedByImage);
    if (!problem.empty()) {
      misplaced += Cat({" ", control.name, ": ", problem, ";"});
    }
  }
  report.Check(misplaced.empty(), "every control with an id at its place and size", misplaced);

  const std::vector<HWND> lines = StaticsOfType(dialog, SS_ETCHEDHORZ);
  std::string lineProblems;
  if (lines.size() != look.etchedLines.size()) {
    lineProblems = Cat({" expected ", Number(static_cast<long long>(look.etchedLines.size())),
                        " lines, found ", Number(static_cast<long long>(lines.size()))});
  } else {
    for (std::size_t i = 0; i < lines.size(); ++i) {
      // The lines are wider than the dialog (286 units); Wine gives an etched static a pixel
      // of edge on each side, so only the place is held to the template, and the line must
      // span the whole dialog.
      const RECT line = RectInParent(lines[i], dialog);
      std::string problem = CompareRect(line, look.etchedLines[i], *units, true);
      if (line.right < client.right) {
        problem += Cat({" ends at x = ", Number(line.right), ", short of the dialog's right edge"});
      }
      if (!problem.empty()) {
        lineProblems += Cat({" line ", Number(static_cast<long long>(i + 1)), ": ", problem, ";"});
      }
      if (!::IsWindowVisible(lines[i])) {
        lineProblems += Cat({" line ", Number(static_cast<long long>(i + 1)), " hidden;"});
      }
    }
  }
  report.Check(lineProblems.empty(), "three etched lines at y = 51, 206, 255", lineProblems);

  const std::vector<HWND> pictures = StaticsOfType(dialog, SS_BITMAP);
  if (pictures.size() != 1) {
    report.Fail("logo picture", Cat({"expected one picture without id, found ",
                                     Number(static_cast<long long>(pictures.size()))}));
  } else {
    const std::string problem =
        CompareRect(RectInParent(pictures[0], dialog), look.logo, *units, true);
    report.Check(problem.empty() && ::IsWindowVisible(pictures[0]),
                 "logo picture visible at its place",
                 problem.empty() ? std::string("hidden") : problem);
  }
}

void CheckPictures(HWND dialog, Report& report) {
  auto imageOf = [](HWND picture) {
    DWORD_PTR image = 0;
    if (picture == nullptr ||
        ::SendMessageTimeoutA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0, SMTO_ABORTIFHUNG,
                              kAnswerTimeoutMs, &image) == 0) {
      return DWORD_PTR{0};
    }
    return image;
  };
  const std::vector<HWND> logos = StaticsOfType(dialog, SS_BITMAP);
  report.Check(!logos.empty() && imageOf(logos.front()) != 0, "logo picture holds its bitmap",
               "no bitmap");
  report.Check(imageOf(::GetDlgItem(dialog, IDC_MENU_PICTURE)) != 0,
               "menu picture holds its bitmap", "no bitmap");
}

void CheckPicturesAtDpi(HWND dialog, int dpi, Report& report) {
  // Smoothing alone leaves about 9 of 255; a picture cut by a tenth, 25 and more.
  constexpr int kMostDifference = 16;
  const std::vector<HWND> logos = StaticsOfType(dialog, SS_BITMAP);
  const std::pair<HWND, int> pictures[] = {
      {logos.empty() ? nullptr : logos.front(), IDB_LOGO},
      {::GetDlgItem(dialog, IDC_MENU_PICTURE), IDB_MENU_PICTURE}};
  for (const auto& [control, bitmapId] : pictures) {
    const std::string name = bitmapId == IDB_LOGO ? "logo" : "menu picture";
    // This program carries the same pictures as SetUp.exe.
    const auto bitmap = static_cast<HBITMAP>(::LoadImageA(
        ::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(bitmapId), IMAGE_BITMAP, 0, 0, 0));
    BITMAP own{};
    RECT rect{};
    ::GetObjectA(bitmap, sizeof own, &own);
    ::GetWindowRect(control, &rect);
    const int width = ::MulDiv(own.bmWidth, dpi, 96), height = ::MulDiv(own.bmHeight, dpi, 96);
    const long shownWidth = rect.right - rect.left, shownHeight = rect.bottom - rect.top;
    report.Check(Near(shownWidth, width) && Near(shownHeight, height),
                 Cat({name, " ", Number(width), " x ", Number(height), " px at ", Number(dpi)}),
                 Cat({"is ", Number(shownWidth), " x ", Number(shownHeight)}));
    const std::optional<ScreenImage> image = ScreenImage::Capture(rect);
    if (::IsWindowVisible(control) && image) {
      const int difference = MeanDifference(bitmap, *image);
      report.Check(difference < kMostDifference, name + " on the screen: the whole picture, scaled",
                   Cat({"shrunk back, it differs by ", Number(difference), " of 255"}));
    }
    if (bitmap != nullptr) ::DeleteObject(bitmap);
  }
}

void CheckPaint(HWND dialog, const DialogLook& look, Report& report) {
  const std::optional<BaseUnits> units = MeasureBaseUnits(dialog);
  RECT client{};
  ::GetClientRect(dialog, &client);
  ::MapWindowPoints(dialog, HWND_DESKTOP, reinterpret_cast<POINT*>(&client), 2);
  const std::optional<ScreenImage> image = ScreenImage::Capture(client);
  if (!units || !image) {
    report.Fail("dialog painting", "the dialog's pixels could not be read from the screen");
    return;
  }

  // Left of the boxes' first column, between the last row and the lower line: nothing there.
  const COLORREF blank = image->At(units->Px(8), units->Py(199));
  report.Check(blank == kBackground, "dialog background light green RGB(170,210,150)",
               Cat({"is ", ColourText(blank)}));

  for (const ControlLook& control : look.controls) {
    HWND window = ::GetDlgItem(dialog, control.id);
    const bool isText = control.id == IDC_VERSION_TEXT || control.id == IDC_CHOOSE_COMPONENTS ||
                        control.id == IDC_CHOOSE_FOLDER;
    const bool isBox = control.ticked.has_value();
    if (window == nullptr || !::IsWindowVisible(window) || !(isText || isBox)) {
      continue;
    }
    const std::map<COLORREF, int> colours = ColoursIn(*image, RectInParent(window, dialog));
    const COLORREF ground = MostFrequent(colours);
    report.Check(ground == kBackground,
                 Cat({control.name,
                      " painted on the light green brush (text background transparent)"}),
                 Cat({"most pixels are ", ColourText(ground)}));
  }

  if (HWND caption = ::GetDlgItem(dialog, IDC_VERSION_TEXT)) {
    const std::map<COLORREF, int> colours = ColoursIn(*image, RectInParent(caption, dialog));
    report.Check(CountOf(colours, kCaptionText) > 0 && CountOf(colours, kBlack) == 0,
                 "version caption drawn in dark green RGB(10,70,40)",
                 Cat({Number(CountOf(colours, kCaptionText)), " dark green and ",
                      Number(CountOf(colours, kBlack)), " black pixels"}));
  }
  if (HWND caption = ::GetDlgItem(dialog, IDC_VERSION_TEXT)) {
    // The caption's own font (12 units high, semi-bold) against the dialog's (9 pt, normal):
    // the caption's ink on the screen is held against the same text drawn here in each.
    const std::optional<std::string> text = ReadText(caption);
    const std::map<COLORREF, int> colours = ColoursIn(*image, RectInParent(caption, dialog));
    int screenInk = 0;
    for (const auto& [colour, count] : colours) {
      screenInk += colour == kBackground ? 0 : count;
    }
    // Below the dialog, where only the desktop shows.
    const RECT spot{client.left, client.bottom + 40, client.left + 400, client.bottom + 70};
    HDC screen = ::GetDC(nullptr);
    const int dialogFontHeight = -::MulDiv(9, ::GetDeviceCaps(screen, LOGPIXELSY), 72);
    ::ReleaseDC(nullptr, screen);
    const int captionFontInk = text ? InkOfText(*text, "宋体", 12, FW_SEMIBOLD, spot) : -1;
    const int dialogFontInk = text ? InkOfText(*text, "宋体", dialogFontHeight, FW_NORMAL, spot) : -1;
    const std::string measures =
        Cat({Number(screenInk), " ink pixels; in the caption font ", Number(captionFontInk),
             ", in the dialog font ", Number(dialogFontInk)});
    if (captionFontInk <= 0 || dialogFontInk <= 0 || captionFontInk == dialogFontInk) {
      report.Note(Cat({"the two fonts cannot be told apart here; caption font not checked (",
                       measures, ")"}));
    } else {
      report.Check(std::abs(screenInk - captionFontInk) < std::abs(screenInk - dialogFontInk),
                   "version caption drawn in its own font, 12 high and semi-bold", measures);
    }
  }
  if (HWND label = ::GetDlgItem(dialog, IDC_CHOOSE_COMPONENTS)) {
    const std::map<COLORREF, int> colours = ColoursIn(*image, RectInParent(label, dialog));
    report.Check(CountOf(colours, kBlack) > 0, "components label drawn in black",
                 "no black pixel");
  }
  if (HWND folder = ::GetDlgItem(dialog, IDC_TARGET_FOLDER)) {
    // The box's text cells are painted in the brush's own colour: no white around the letters.
    RECT inside = RectInParent(folder, dialog);
    ::InflateRect(&inside, -3, -3);
    const std::map<COLORREF, int> colours = ColoursIn(*image, inside);
    report.Check(CountOf(colours, kWhite) == 0 && CountOf(colours, kBlack) > 0 &&
                     CountOf(colours, kBackground) > 0,
                 "folder box: black text on light green, text cells and brush alike",
                 Cat({Number(CountOf(colours, kWhite)), " white, ",
                      Number(CountOf(colours, kBlack)), " black and ",
                      Number(CountOf(colours, kBackground)), " light green pixels"}));
  }
}

}  // namespace e2e
