#!/usr/bin/env bash
# Makes an unpacked distribution of the setup, as a user receives it:
#   scripts/make-distribution.sh SETUP.EXE OUT_DIR [UNINSTALL.EXE]
# OUT_DIR/SetUp.exe is the program; OUT_DIR/Data holds a demo package whose files carry the
# names of the real plug-in's package. Their contents are short placeholder texts that say
# what each file stands for: this is not the plug-in, only something to install.
# acad-inventory.exe, the support tool, goes beside SetUp.exe when the build made one.
#
# The programs are shipped stripped: the build links the runtime statically, and the
# runtime's own objects bring their debug information and symbols along (a 64-bit SetUp.exe
# of 906 KB is 335 KB without them).
#
# Signing: every program the distribution carries is signed (Authenticode, SHA-256, through
# osslsigncode, after stripping) when the environment names a code-signing certificate:
#   CODESIGN_CERT=FILE CODESIGN_KEY=FILE   the certificate (PEM or DER; with the chain up to the
#                                          root where there are intermediates) and its key
#   CODESIGN_PKCS12=FILE                   or both in one PKCS#12 (.pfx/.p12) file instead
#   CODESIGN_PASSWORD=TEXT                 the password of the key or the PKCS#12 file, if any
#                                          (handed to osslsigncode in a file of this user's)
#   CODESIGN_TIMESTAMP_URL=URL             optional: an RFC 3161 time-stamping server, whose
#                                          countersignature keeps the signature valid once the
#                                          certificate has expired
# Without a certificate the programs are shipped unsigned, as before, and the script says so
# on stderr; Windows' SmartScreen then names no publisher.
#
# The package, and what the setup does with each file:
#   ZV_BatchPlot<year>.ARX   the plug-in's ARX modules (2008, 2010, 2013, 2015, 2017, 2018,
#                            2019, 2021, 2025); copied into the product folder, and the
#                            demand-load keys point at them. ZV_BatchPlot2010.ARX also marks a
#                            folder as a data folder (found as ZV_BatchPlot2010.arx: names
#                            are matched without regard to case).
#   Zelvar_EN.shx, Zelvar_HZ.shx   shape fonts; copied into each AutoCAD's Fonts folder
#   Zelvar.prt5              the PDF plot driver; copied as Drv\pdfplot9.hdi for AutoCAD 2008
#   Zelvar.prt7/.prt8/.prt9  libraries; installed as itextsharp.dll, PdfSharp.Charting.dll
#                            and PdfSharp.dll
#   Zelvar.Ini               the settings file; copied into %APPDATA%\Zelvar, and into the
#                            product folder as Zelvar.Ini.default for the machine's other users
#   SetUp.EXE                the setup itself, as distributions carry it inside Data too;
#                            never copied
#   UnInstall.exe            the uninstaller (UNINSTALL.EXE, or UnInstall.exe beside SETUP.EXE
#                            when it was built there); copied into the product folder like
#                            any other file, and the setup lists the product in installed apps
#   zelvar-deploy.exe        the console tool (zelvar-deploy.exe beside SETUP.EXE when the build
#                            made one); copied into the product folder like any other file, where
#                            Active Setup runs it at each user's logon
#   使用说明.txt              any other file: copied into the product folder as it is
set -euo pipefail

if [ $# -ne 2 ] && [ $# -ne 3 ]; then
  echo "usage: $0 SETUP.EXE OUT_DIR [UNINSTALL.EXE]" >&2
  exit 2
fi
setup=$1 out=$2
uninstaller=${3:-$(dirname "$setup")/UnInstall.exe}
if [ ! -f "$setup" ]; then
  echo "make-distribution: no program $setup" >&2
  exit 1
fi

signing=()
if [ -n "${CODESIGN_PKCS12:-}" ]; then
  if [ -n "${CODESIGN_CERT:-}${CODESIGN_KEY:-}" ]; then
    echo "make-distribution: CODESIGN_PKCS12 or CODESIGN_CERT and CODESIGN_KEY, not both" >&2
    exit 2
  fi
  signing=(-pkcs12 "$CODESIGN_PKCS12")
elif [ -n "${CODESIGN_CERT:-}" ] && [ -n "${CODESIGN_KEY:-}" ]; then
  signing=(-certs "$CODESIGN_CERT" -key "$CODESIGN_KEY")
elif [ -n "${CODESIGN_CERT:-}${CODESIGN_KEY:-}" ]; then
  echo "make-distribution: CODESIGN_CERT and CODESIGN_KEY go together" >&2
  exit 2
else
  echo "make-distribution: no CODESIGN_CERT and CODESIGN_KEY or CODESIGN_PKCS12:" \
    "the programs are not signed" >&2
fi
if [ ${#signing[@]} -gt 0 ]; then
  if ! command -v osslsigncode >/dev/null; then
    echo "make-distribution: signing needs osslsigncode (scripts/bootstrap.sh installs it)" >&2
    exit 1
  fi
  if [ -n "${CODESIGN_TIMESTAMP_URL:-}" ]; then
    signing+=(-ts "$CODESIGN_TIMESTAMP_URL")
  fi
  if [ -n "${CODESIGN_PASSWORD:-}" ]; then
    # In a file only this user can read, so that no process list shows it.
    password_file=$(mktemp)
    trap 'rm -f "$password_file"' EXIT
    printf '%s' "$CODESIGN_PASSWORD" >"$password_file"
    signing+=(-readpass "$password_file")
  fi
fi

# Signs a shipped program in place, with the product's name as the signature's description
# (what Windows' consent prompt shows).
sign() {
  rm -f "$1.signed"
  if ! osslsigncode sign "${signing[@]}" -h sha256 -n "Zelvar批打印软件" -in "$1" \
    -out "$1.signed" >/dev/null; then
    rm -f "$1.signed"
    echo "make-distribution: osslsigncode could not sign $1" >&2
    exit 1
  fi
  mv "$1.signed" "$1"
}

# Copies a program without its debug information and symbols, with the strip of its own
# bitness, and signs the copy when a certificate was given (stripping after signing would
# break the signature).
ship() {
  local format
  format=$(x86_64-w64-mingw32-objdump -f "$1" | sed -n 's/.*file format //p')
  case $format in
    pei-x86-64) x86_64-w64-mingw32-strip -o "$2" "$1" ;;
    pei-i386) i686-w64-mingw32-strip -o "$2" "$1" ;;
    *)
      echo "make-distribution: $1 is no Windows program ($format)" >&2
      exit 1
      ;;
  esac
  if [ ${#signing[@]} -gt 0 ]; then
    sign "$2"
  fi
}

mkdir -p "$out"
rm -rf "$out/Data" "$out/SetUp.exe" "$out/acad-inventory.exe"
mkdir "$out/Data"
# The program takes its message boxes' caption from its own file name.
ship "$setup" "$out/SetUp.exe"
cp "$out/SetUp.exe" "$out/Data/SetUp.EXE"
inventory="$(dirname "$setup")/acad-inventory.exe"
if [ -f "$inventory" ]; then
  ship "$inventory" "$out/acad-inventory.exe"
fi
deploy_tool="$(dirname "$setup")/zelvar-deploy.exe"
if [ -f "$deploy_tool" ]; then
  ship "$deploy_tool" "$out/Data/zelvar-deploy.exe"
fi
if [ -f "$uninstaller" ]; then
  ship "$uninstaller" "$out/Data/UnInstall.exe"
elif [ $# -eq 3 ]; then
  echo "make-distribution: no uninstaller $uninstaller" >&2
  exit 1
fi

# A placeholder text with Windows line ends.
placeholder() {
  local file=$1
  shift
  printf '%s\r\n' "$@" >"$out/Data/$file"
}

for year in 2008 2010 2013 2015 2017 2018 2019 2021 2025; do
  placeholder "ZV_BatchPlot$year.ARX" \
    "Zelvar batch-printing plug-in: ARX module ZV_BatchPlot$year.ARX (demo placeholder)." \
    "AutoCAD loads this module at start-up through its demand-load key."
done
placeholder Zelvar_EN.shx "Zelvar shape font Zelvar_EN.shx, Latin letters (demo placeholder)."
placeholder Zelvar_HZ.shx "Zelvar shape font Zelvar_HZ.shx, Chinese characters (demo placeholder)."
placeholder Zelvar.prt5 "Zelvar PDF plot driver, installed as Drv\\pdfplot9.hdi for AutoCAD 2008" \
  "(demo placeholder)."
placeholder Zelvar.prt7 "Zelvar library, installed as itextsharp.dll (demo placeholder)."
placeholder Zelvar.prt8 "Zelvar library, installed as PdfSharp.Charting.dll (demo placeholder)."
placeholder Zelvar.prt9 "Zelvar library, installed as PdfSharp.dll (demo placeholder)."
placeholder Zelvar.Ini "; Zelvar batch-printing settings, copied into %APPDATA%\\Zelvar" \
  "; (demo placeholder)." "[Zelvar]" "Demo=1"
# A Chinese reader's text file is in code page 936.
printf '%s\r\n' "Zelvar批打印软件 使用说明（演示用占位文件，不是真正的插件）。" \
  "安装后重启AutoCAD，菜单栏末尾会出现Zelvar批打印菜单。" |
  iconv -f UTF-8 -t CP936 >"$out/Data/使用说明.txt"
