#include "tests/e2e/driver/expected_look.h"

#include <windows.h>

#include "tests/e2e/driver/text.h"
#include "ui/resource_ids.h"

namespace e2e {

namespace {
constexpr int kBoxWidth = 74;
constexpr int kBoxHeight = 10;
constexpr int kLastYearOf32BitEdition = 2016;
}  // namespace

const std::vector<ReleaseBox>& ReleaseBoxes() {
  // Three columns; 2010 and 2011 have their ids the other way round.
  static const std::vector<ReleaseBox> boxes{
      {2007, 1018, 18, 81},   {2008, 1019, 18, 101},  {2009, 1020, 18, 121},
      {2010, 1027, 18, 141},  {2011, 1026, 18, 161},  {2012, 1028, 18, 181},
      {2013, 1029, 104, 81},  {2014, 1030, 104, 101}, {2015, 1031, 104, 121},
      {2016, 1032, 104, 141}, {2017, 1033, 104, 161}, {2018, 1034, 104, 181},
      {2019, 1035, 190, 61},  {2020, 1036, 190, 81},  {2021, 1037, 190, 101},
      {2022, 1038, 190, 121}, {2023, 1039, 190, 141}, {2024, 1040, 190, 161},
      {2025, 1041, 190, 181},
  };
  return boxes;
}

bool EditionOffers(int setupBits, int year) {
  return setupBits != 32 || year <= kLastYearOf32BitEdition;
}

std::string VersionCaption(int setupBits) {
  return Cat({"Zelvar批打印软件 V2024.4.26 (", Number(setupBits), "位版本)"});
}

DialogLook ChoosingLook(int setupBits, const std::set<int>& foundYears) {
  DialogLook look;
  look.caption = "Zelvar批打印软件安装";
  look.widthDlu = 283;
  look.heightDlu = 283;

  bool anyTicked = false;
  for (const ReleaseBox& box : ReleaseBoxes()) {
    const bool offered = EditionOffers(setupBits, box.year);
    const bool found = foundYears.count(box.year) != 0;
    anyTicked = anyTicked || (offered && found);
    look.controls.push_back({box.id, Cat({"box ", Number(box.year)}),
                             Cat({"For AutoCAD", Number(box.year)}), offered, found,
                             offered && found, {box.x, box.y, kBoxWidth, kBoxHeight}, false});
  }

  look.controls.push_back(
      {IDOK, "finish button", "安装完成", false, true, std::nullopt, {110, 214, 63, 14}, false});
  look.controls.push_back(
      {IDCANCEL, "Cancel button", "取  消", true, true, std::nullopt, {173, 262, 50, 14}, false});
  look.controls.push_back({IDC_VERSION_TEXT, "version caption", VersionCaption(setupBits), true,
                           true, std::nullopt, {67, 22, 205, 10}, false});
  look.controls.push_back({IDC_CHOOSE_COMPONENTS, "components label", "请选择安装组件：", true,
                           true, std::nullopt, {14, 62, 69, 10}, false});
  look.controls.push_back({IDC_TARGET_FOLDER, "folder box", "C:\\Zelvar", true, true,
                           std::nullopt, {13, 233, 202, 12}, false});
  look.controls.push_back(
      {IDC_BROWSE, "Browse button", "浏览...", true, true, std::nullopt, {221, 231, 51, 13}, false});
  look.controls.push_back(
      {IDC_PROGRESS, "progress bar", "", false, true, std::nullopt, {13, 236, 256, 6}, false});
  look.controls.push_back({IDC_CHOOSE_FOLDER, "folder label", "请选择安装路径：", true, true,
                           std::nullopt, {14, 215, 71, 9}, false});
  look.controls.push_back({IDC_MENU_PICTURE, "menu picture", std::nullopt, false, true,
                           std::nullopt, {39, 78, 205, 117}, true});
  look.controls.push_back({IDC_INSTALL, "Install button", "安  装", true, anyTicked, std::nullopt,
                           {60, 263, 50, 13}, false});
  look.controls.push_back({IDC_FINISHED_NOTICE, "finished notice",
                           "安装完成！重启CAD，CAD菜单尾会有以下子菜单：", false, true,
                           std::nullopt, {47, 62, 190, 10}, false});

  look.etchedLines = {{0, 51, 286, 1}, {0, 206, 286, 1}, {0, 255, 286, 1}};
  look.logo = {13, 2, 43, 43};
  return look;
}

}  // namespace e2e
