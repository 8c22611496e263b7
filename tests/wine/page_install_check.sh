#!/usr/bin/env bash
# Installs OBXPage through its INF with Wine's setupapi, checks the file and
# every registry entry, optionally runs the page host against the installed
# page, then uninstalls through the INF the copy in the INF folder and
# checks that the keys and the files are gone.
#
#   run_wine.sh [--display] -- page_install_check.sh DIST_DIR [PAGE_HOST ARTIFACT_DIR]
set -euo pipefail

[ $# -eq 1 ] || [ $# -eq 3 ] || {
  echo "usage: page_install_check.sh DIST_DIR [PAGE_HOST ARTIFACT_DIR]" >&2
  exit 2
}
dist=$1
host=${2:-}
artifacts=${3:-}
: "${OBX_WINE:?run this through run_wine.sh}"
: "${WINEPREFIX:?run this through run_wine.sh}"

for file in OBXPage.dll OBXPage.inf OBXPage.reg; do
  [ -f "$dist/$file" ] || { echo "FAIL: $dist/$file was not built" >&2; exit 1; }
done
clsid=$(grep -o '{[0-9A-F-]*}' "$dist/OBXPage.reg" | head -n 1)
drive_c="$WINEPREFIX/drive_c"
system="$drive_c/windows/system32"
inf_folder="$drive_c/windows/inf"
class_key="HKCR\\CLSID\\$clsid"
handler_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Controls Folder\Display\shellex\PropertySheetHandlers\OBXPage'
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\OBXPage'

failures=0
check() {
  local what=$1
  shift
  if "$@"; then echo "PASS $what"; else echo "FAIL $what"; failures=$((failures + 1)); fi
}

# The data of one value as `reg query` prints it ("" when there is none).
value_of() {
  local key=$1 name=$2 output
  if [ -z "$name" ]; then
    output=$("$OBX_WINE" reg query "$key" /ve 2>/dev/null | tr -d '\r') || return 0
  else
    output=$("$OBX_WINE" reg query "$key" /v "$name" 2>/dev/null | tr -d '\r') || return 0
  fi
  printf '%s\n' "$output" | sed -n 's/^ *[^ ].*  *REG_SZ  *//p' | head -n 1
}
value_is() { [ "$(value_of "$1" "$2")" = "$3" ]; }
value_is_ci() { [ "$(value_of "$1" "$2" | tr '[:upper:]' '[:lower:]')" = "$(printf '%s' "$3" | tr '[:upper:]' '[:lower:]')" ]; }
value_contains() { value_of "$1" "$2" | grep -qF -- "$3"; }
key_exists() { "$OBX_WINE" reg query "$1" >/dev/null 2>&1; }
key_absent() { ! key_exists "$1"; }
file_present() { [ -f "$1" ]; }
file_absent() { [ ! -e "$1" ]; }

# --- Install, as right-click Install does.
media="$drive_c/obxmedia"
mkdir -p "$media"
cp "$dist/OBXPage.dll" "$dist/OBXPage.inf" "$media/"
"$OBX_WINE" rundll32 setupapi.dll,InstallHinfSection DefaultInstall 128 'C:\obxmedia\OBXPage.inf'
"$OBX_WINE_WAIT"

check "the DLL is in the system folder" file_present "$system/OBXPage.dll"
check "the INF is in the INF folder" file_present "$inf_folder/OBXPage.inf"
check "the class has a name" value_is "$class_key" "" "Ombrix TV Out Page"
check "InprocServer32 is the DLL's path" value_is_ci "$class_key\\InprocServer32" "" \
  'C:\windows\system32\OBXPage.dll'
check "ThreadingModel is Apartment" value_is "$class_key\\InprocServer32" ThreadingModel Apartment
check "the Display handler names the class" value_is "$handler_key" "" "$clsid"
check "Add/Remove Programs lists it" value_is "$uninstall_key" DisplayName "Ombrix TV Out Page"
check "the uninstall command runs the INF's uninstall section" value_is "$uninstall_key" \
  UninstallString 'RunDll setupx.dll,InstallHinfSection DefaultUninstall 4 OBXPage.inf'

# --- The page as the shell loads it.
if [ -n "$host" ]; then
  mkdir -p "$artifacts" "$drive_c/obxshots"
  status=0
  "$OBX_WINE" "$host" 'C:\obxshots' | tr -d '\r' || status=$?
  check "the page host passed" [ "$status" -eq 0 ]
  cp "$drive_c"/obxshots/*.bmp "$artifacts/" 2>/dev/null || true
  check "screenshots kept in $artifacts" file_present "$artifacts/page.bmp"
  "$OBX_WINE_WAIT"
fi

# --- Uninstall, as Add/Remove Programs does (Wine has setupapi, not setupx).
"$OBX_WINE" rundll32 setupapi.dll,InstallHinfSection DefaultUninstall 128 'C:\windows\inf\OBXPage.inf'
"$OBX_WINE_WAIT"

check "the class key is gone" key_absent "$class_key"
check "the Display handler key is gone" key_absent "$handler_key"
check "the Add/Remove Programs entry is gone" key_absent "$uninstall_key"
check "the DLL is gone" file_absent "$system/OBXPage.dll"
check "the INF is gone from the INF folder" file_absent "$inf_folder/OBXPage.inf"

echo "page install: $failures failed"
[ "$failures" -eq 0 ]
