#!/usr/bin/env bash
# Runs every test of every configuration from a fresh machine:
#   native  Linux g++, ASan + UBSan: the logic on the in-memory platform
#   win32   the 32-bit edition: built and linked (these machines run no 32-bit code)
#   win64   the 64-bit edition: every test .exe under Wine, code page 936
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
cd "$here"
scripts/bootstrap.sh

jobs=$(nproc)

cmake --preset native
cmake --build --preset native -j "$jobs"
ctest --preset native -j "$jobs"
scripts/fuzz.sh  # each fuzz target for a few seconds from its seed corpus

cmake --preset win32
cmake --build --preset win32 -j "$jobs"
scripts/check-imports.sh i686-w64-mingw32-objdump build/win32/app/*.exe
scripts/check-manifest.py build/win32/app/*.exe  # the 32-bit programs ask for no elevation
# ... and say what they are, with the product's icon
scripts/check-version-info.py install/product_identity.h ui/resources/setup.ico build/win32/app/*.exe

cmake --preset win64
cmake --build --preset win64 -j "$jobs"
ctest --preset win64
