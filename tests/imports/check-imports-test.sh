#!/usr/bin/env bash
# The import check itself: it passes a program that imports only KnownDLLs,
# and fails, naming the DLL, on programs that import comctl32 or version.
#
#   check-imports-test.sh CHECKER CLEAN.exe USES_COMCTL32.exe USES_VERSION.exe
set -euo pipefail
checker=$1 clean=$2 comctl=$3 version=$4

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

expect() { # EXIT_CODE PATTERN PROGRAM...
  local code=$1 pattern=$2 output rc
  shift 2
  set +e
  output=$("$checker" "$@" 2>&1)
  rc=$?
  set -e
  echo "$output"
  [ $rc -eq "$code" ] || fail "exit code $rc, not $code, for $*"
  grep -qi -- "$pattern" <<<"$output" || fail "no '$pattern' in the output for $*"
}

expect 0 "imports only KnownDLLs" "$clean"
expect 1 "not KnownDLLs: comctl32.dll" "$comctl"
expect 1 "not KnownDLLs: version.dll" "$version"
# Several programs: every one is reported, and one offender fails them all.
expect 1 "$(basename "$version") imports DLLs" "$clean" "$comctl" "$version"
expect 2 "cannot read" "$clean.missing"
expect 2 "cannot read\|not a PE" "$0"
echo "check-imports: all checks passed"
