#pragma once

// Resource and control ids shared by the resource scripts and the code. Plain #defines, since
// windres reads this header too.

#define IDD_SETUP 141
#define IDB_LOGO 147
#define IDB_MENU_PICTURE 151
#define IDI_SETUP 1

// Setup dialog controls.
#define IDC_TARGET_FOLDER 1000
#define IDC_VERSION_TEXT 1013
#define IDC_PROGRESS 1014
#define IDC_BROWSE 1015
#define IDC_CHOOSE_COMPONENTS 1016
#define IDC_CHOOSE_FOLDER 1017
#define IDC_BOX_2007 1018
#define IDC_BOX_2008 1019
#define IDC_BOX_2009 1020
#define IDC_MENU_PICTURE 1021
#define IDC_INSTALL 1022
#define IDC_FINISHED_NOTICE 1023
#define IDC_BOX_2011 1026
#define IDC_BOX_2010 1027
#define IDC_BOX_2012 1028
#define IDC_BOX_2013 1029
#define IDC_BOX_2014 1030
#define IDC_BOX_2015 1031
#define IDC_BOX_2016 1032
#define IDC_BOX_2017 1033
#define IDC_BOX_2018 1034
#define IDC_BOX_2019 1035
#define IDC_BOX_2020 1036
#define IDC_BOX_2021 1037
#define IDC_BOX_2022 1038
#define IDC_BOX_2023 1039
#define IDC_BOX_2024 1040
#define IDC_BOX_2025 1041
