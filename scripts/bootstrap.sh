#!/usr/bin/env bash
# Installs what building and testing the setup needs on Debian 12, if it is missing:
# the build tools, both mingw-w64 cross compilers, 64-bit Wine, Xvfb, a CJK font, ImageMagick,
# clang with the libFuzzer runtime (libclang-rt-14-dev, only recommended by clang-14), and the
# zh_CN.UTF-8, zh_TW.UTF-8 and en_US.UTF-8 locales the runs under Wine need, and osslsigncode and
# openssl for signing the distribution and its test, and msitools, gcab and wixl for the
# Windows Installer package (scripts/make-msi.sh). Quick when all is there.
set -euo pipefail

packages=(cmake ninja-build g++ libgtest-dev libgmock-dev googletest libbenchmark-dev
  g++-mingw-w64-x86-64 g++-mingw-w64-i686 wine wine64 xvfb xdotool fonts-wqy-zenhei
  imagemagick locales clang libclang-rt-14-dev python3 osslsigncode openssl msitools gcab wixl)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$package")
  fi
done

sudo=()
if [ "$(id -u)" -ne 0 ]; then
  sudo=(sudo)
fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "bootstrap: installing ${missing[*]}"
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq \
    "${missing[@]}" >/dev/null
fi

# Wine's Unix side needs the glibc locale itself, or Chinese file names fail; zh_TW.UTF-8 gives
# the code page 950 and en_US.UTF-8 the code page 1252 that some test runs use.
for locale in zh_CN zh_TW en_US; do
  if ! locale -a 2>/dev/null | grep -qi "^$locale\.utf-\?8$"; then
    echo "bootstrap: generating the $locale.UTF-8 locale"
    "${sudo[@]}" localedef -i "$locale" -f UTF-8 "$locale.UTF-8"
  fi
done
