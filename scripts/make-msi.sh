#!/usr/bin/env bash
# Builds the Windows Installer package of the 64-bit edition from a distribution folder
# (scripts/make-distribution.sh):
#   scripts/make-msi.sh --check-action DLL [--version YYYYMMDD] [--arch x86] DIST OUT_DIR
# writes OUT_DIR/Zelvar批打印软件-<year.month.day>-x64.msi and prints its path.
#   --check-action DLL   the argument check the package runs before anything changes
#                        (deploy-check-action.dll of the build of that edition)
#   --arch x86           the 32-bit package (-x86.msi) from the 32-bit build's programs
#   --version YYYYMMDD   another version than install/product_identity.h's (an older package
#                        for the upgrade test)
#
# The package holds the distribution's package files as the setup installs them (the same
# renamings, the settings file as Zelvar.Ini.default), the sources of the machine-wide part
# (fonts, the 2008 plot driver) under their package names, and the tool; not SetUp.exe, not
# UnInstall.exe, not UnInstall.lst, whose work Windows Installer does itself.
#
# Windows Installer's ProductVersion is major.minor.build with major at most 255 and only those
# three fields compared, so YYYYMMDD becomes (YYYY-2000).MM.DD: 20240426 is 24.4.26, and the
# upgrade order follows the date until 2255.
#
# wixl (0.101) cannot write Chinese texts into a database of code page 936 by itself
# (packaging/wixl-cp936.py does it around wixl), nor mark a custom action as rollback-only,
# which msibuild does here. Signing, if any, comes after this script: msibuild would
# break a signature.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)

usage() {
  echo "usage: $0 --check-action DLL [--version YYYYMMDD] [--arch x86] DIST OUT_DIR" >&2
  exit 2
}
check_action= version= arch=x64
while [ $# -gt 0 ]; do
  case $1 in
    --check-action) check_action=${2:-}; shift 2 || usage ;;
    --version) version=${2:-}; shift 2 || usage ;;
    --arch) arch=${2:-}; shift 2 || usage ;;
    -*) usage ;;
    *) break ;;
  esac
done
[ $# -eq 2 ] && [ -n "$check_action" ] || usage
case $arch in
  x64) program_files=ProgramFiles64Folder system=System64Folder win64=yes ;;
  x86) program_files=ProgramFilesFolder system=SystemFolder win64=no ;;
  *) usage ;;
esac
dist=$1 out=$(realpath -m -- "$2")
identity=$here/install/product_identity.h
if [ -z "$version" ]; then
  version=$(sed -n 's/.*setupVersion = \([0-9]\{8\}\);.*/\1/p' "$identity")
fi
if ! [[ $version =~ ^(20[0-9][0-9])([01][0-9])([0-3][0-9])$ ]]; then
  echo "make-msi: the version must be YYYYMMDD from 2000 on, not '$version'" >&2
  exit 2
fi
year=${BASH_REMATCH[1]} month=$((10#${BASH_REMATCH[2]})) day=$((10#${BASH_REMATCH[3]}))
active_setup_id=$(grep -A2 'kPackageActiveSetupComponentPath =' "$identity" |
  grep -o '{[0-9A-Fa-f-]\{36\}}')
[ -n "$active_setup_id" ] || { echo "make-msi: no package component id in $identity" >&2; exit 1; }
tool=$dist/Data/zelvar-deploy.exe
for file in "$check_action" "$tool" "$dist/Data"; do
  if [ ! -e "$file" ]; then
    echo "make-msi: no $file" >&2
    exit 1
  fi
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/files"

# A text as XML attributes hold it.
xml() { sed -e 's/&/\&amp;/g' -e 's/</\&lt;/g' -e 's/>/\&gt;/g' -e 's/"/\&quot;/g' <<<"$1"; }

# One component per file, in INSTALLFOLDER; the tool's id is fixed, the custom actions name it.
components=() count=0
add_file() {
  local source=$1 name=$2 id=$3
  cp "$source" "$work/files/$id"
  printf '  <Component Id="c_%s" Guid="*" Win64="'"$win64"'"><File Id="%s" Name="%s" Source="%s" KeyPath="yes"/></Component>\n' \
    "$id" "$id" "$(xml "$name")" "files/$id" >>"$work/files.wxi.body"
  components+=("$id")
}
: >"$work/files.wxi.body"
for source in "$dist"/Data/*; do
  base=$(basename "$source")
  case ${base,,} in
    setup.exe | uninstall.exe | uninstall.lst | zelvar-deploy.exe) continue ;;
    zelvar.prt7) name=itextsharp.dll ;;
    zelvar.prt8) name=PdfSharp.Charting.dll ;;
    zelvar.prt9) name=PdfSharp.dll ;;
    zelvar.ini) name=Zelvar.Ini.default ;;
    *) name=$base ;;
  esac
  [ -f "$source" ] || continue
  count=$((count + 1))
  add_file "$source" "$name" "f$count"
done
add_file "$tool" zelvar-deploy.exe zelvar_deploy.exe
# files.wxi goes into INSTALLFOLDER, file-refs.wxi into the feature.
{
  echo '<?xml version="1.0" encoding="utf-8"?>'
  echo '<Include>'
  cat "$work/files.wxi.body"
  echo '</Include>'
} >"$work/files.wxi"
{
  echo '<?xml version="1.0" encoding="utf-8"?>'
  echo '<Include>'
  for id in "${components[@]}"; do
    echo "  <ComponentRef Id=\"c_$id\"/>"
  done
  echo '</Include>'
} >"$work/file-refs.wxi"

# The ProductCode follows from the version and the edition: the same package always has the
# same one.
upgrade_code=$(sed -n 's/.*UpgradeCode="\([^"]*\)".*/\1/p' "$here/packaging/zelvar.wxs")
product_code=$(python3 -c 'import sys, uuid; print(str(uuid.uuid5(uuid.UUID(sys.argv[1]), sys.argv[2])).upper())' \
  "$upgrade_code" "$version-$arch")

mkdir -p "$out"
msi=$out/Zelvar批打印软件-$year.$month.$day-$arch.msi
rm -f "$msi"
# wixl takes only paths relative to the folder it runs in: everything is staged there.
cp "$here/packaging/zelvar.wxs" "$here/ui/resources/setup.ico" "$work/"
cp "$check_action" "$work/check-action.dll"
cd "$work"
"$here/packaging/wixl-cp936.py" "$msi" zelvar.wxs -a "$arch" \
  -D ProgramFilesFolder="$program_files" -D SystemFolder="$system" -D Win64="$win64" \
  -D ProductCode="$product_code" -D ProductVersion="$((year - 2000)).$month.$day" \
  -D ActiveSetupVersion="$year,$month,$day,0" \
  -D ActiveSetupKey="Software\\Microsoft\\Active Setup\\Installed Components\\$active_setup_id"
# Rollback only (256), beside deferred, no impersonation, errors ignored and the installed
# file's program (3154): wixl makes Execute="rollback" an immediate action.
msibuild "$msi" -q "UPDATE CustomAction SET Type = 3410 WHERE Action = 'DeployMachineRollback'"
# A program in a folder (34), deferred, no impersonation (3106): cmd.exe, which runs the tool's
# machine verb and, where it fails, its remove verb.
msibuild "$msi" -q "UPDATE CustomAction SET Type = 3106, Source = 'INSTALLFOLDER' WHERE Action = 'DeployMachine'"
secure=$(msiinfo export "$msi" Property | tr -d '\r' | sed -n 's/^SecureCustomProperties\t//p')
msibuild "$msi" -q "UPDATE Property SET Value = '$secure;INSTALLFOLDER;RELEASES' WHERE Property = 'SecureCustomProperties'"
echo "$msi"
