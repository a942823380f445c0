#!/usr/bin/env bash
# Writes a registry file (UTF-8, for scripts/load-demo-registry.sh) of 10,000 keys below the
# two AutoCAD branches that the start-up scan walks through and finds nothing in: per branch,
# 50 release keys left behind by uninstalled products, each with a product key that lost its
# AcadLocation and that product's 97 registered applications (release key, product key,
# Applications key and 97 application keys: 100 keys per release).
#   make-extra-keys.sh > extra-keys.reg
set -euo pipefail

awk 'BEGIN {
  print "Windows Registry Editor Version 5.00"
  print ""
  branches[1] = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Wow6432Node\\Autodesk\\AutoCAD"
  branches[2] = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Autodesk\\AutoCAD"
  for (b = 1; b <= 2; b++) {
    for (r = 0; r < 50; r++) {
      release = branches[b] "\\R90." r
      product = release "\\ACAD-" (9000 + r) ":804"
      printf "[%s]\n\"CurVer\"=\"ACAD-%d:804\"\n\n", release, 9000 + r
      printf "[%s]\n\"Language\"=\"简体中文 (Simplified Chinese)\"\n\"LocaleId\"=dword:00000804\n\n", product
      printf "[%s\\Applications]\n\n", product
      for (a = 1; a <= 97; a++) {
        printf "[%s\\Applications\\应用程序%d]\n", product, a
        printf "\"DESCRIPTION\"=\"第三方插件 %d\"\n", a
        printf "\"LOADCTRLS\"=dword:00000002\n"
        printf "\"LOADER\"=\"C:\\\\Program Files\\\\插件厂商%d\\\\plugin%d.arx\"\n\n", a, a
      }
    }
  }
}'
