#!/usr/bin/env bash
# Runs the runtime probe inside the scratch prefix of run_wine.sh and reads
# its report: every check passed, the summary says so, exit code 0, and
# the static destructors reported after WinMain had returned.
#
#   run_wine.sh -- runtime_probe_check.sh PATH/runtime_probe.exe
set -euo pipefail

[ $# -eq 1 ] || { echo "usage: runtime_probe_check.sh runtime_probe.exe" >&2; exit 2; }
probe=$1
: "${OBX_WINE:?run this through run_wine.sh}"
[ -f "$probe" ] || { echo "FAIL: $probe was not built" >&2; exit 1; }
[ -f "$(dirname "$probe")/runtime_probe_dll.dll" ] || {
  echo "FAIL: runtime_probe_dll.dll is not next to $probe" >&2
  exit 1
}

status=0
report=$("$OBX_WINE" "$probe" | tr -d '\r') || status=$?
printf '%s\n' "$report"

failures=()
[ "$status" -eq 0 ] || failures+=("exit code $status, expected 0")
if grep -q '^FAIL' <<<"$report"; then
  failures+=("some checks failed")
fi
passed=$(grep -c '^PASS' <<<"$report" || true)
[ "$passed" -gt 0 ] || failures+=("no check reported")

# The end of the report, in this order: WinMain's summary, WinMain's last
# line, then the two static destructors.
expected_tail=$(printf '%s\n' \
  "runtime probe: $((passed - 2)) passed, 0 failed" \
  "winmain done" \
  "PASS destructor after winmain" \
  "PASS destructors in reverse order of construction")
actual_tail=$(tail -n 4 <<<"$report")
if [ "$actual_tail" != "$expected_tail" ]; then
  failures+=("the report does not end with the summary, \"winmain done\" and the destructors' lines")
fi

for row in "static constructors ran before WinMain" \
  "dll: static constructor before DllMain(ATTACH)" \
  "dll: DllMain(DETACH) before static destructor, each once" \
  "nothrow new of an impossible size gives null"; do
  grep -qxF "PASS $row" <<<"$report" || failures+=("no \"PASS $row\"")
done
tails=$(grep -c '^PASS command tail: ' <<<"$report" || true)
[ "$tails" -ge 10 ] || failures+=("only $tails command tail rows passed")

if [ ${#failures[@]} -gt 0 ]; then
  printf 'FAIL: %s\n' "${failures[@]}"
  exit 1
fi
echo "runtime probe: all $passed checks passed"
