#!/usr/bin/env bash
# Fails when a Windows executable imports a DLL that is not a KnownDLL.
#
#   check-imports.sh PROGRAM.exe [PROGRAM.exe ...]
#
# Windows loads a KnownDLL only from its system folder. Any other imported
# DLL (comctl32, version, uxtheme, winmm, dwmapi, ...) is looked for in the
# executable's own folder first, so a copy planted beside a downloaded
# installer would be loaded into it. Exit code 0 when every import is known,
# 1 when some are not (they are listed), 2 when a file cannot be read.
set -euo pipefail

objdump=${OBJDUMP:-i686-w64-mingw32-objdump}

# The KnownDLLs that Windows 7 and Windows 10/11 have in common (the program
# is built for Windows 7 and later), plus ntdll, which every process has
# mapped before its imports are resolved. Not here, although Windows 10 lists
# them: combase, coml2, gdiplus and shcore, which Windows 7 does not.
known=" advapi32 clbcatq comdlg32 difxapi gdi32 imagehlp imm32 kernel32 msctf msvcrt normaliz nsi ntdll
        ole32 oleaut32 psapi rpcrt4 sechost setupapi shell32 shlwapi user32 wldap32 ws2_32"
known=" $(echo $known) "  # one space between names, one at each end

[ $# -ge 1 ] || { echo "usage: check-imports.sh PROGRAM.exe..." >&2; exit 2; }

status=0
for program in "$@"; do
  if ! dump=$("$objdump" -p "$program" 2>&1); then
    echo "check-imports: cannot read $program: $dump" >&2
    exit 2
  fi
  if ! grep -q '^The Data Directory' <<<"$dump"; then
    echo "check-imports: $program is not a PE executable" >&2
    exit 2
  fi
  offenders=()
  while read -r dll; do
    base=${dll,,}
    base=${base%.dll}
    [[ $known == *" $base "* ]] || offenders+=("$dll")
  done < <(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$dump" | tr -d '\r')

  # Delay-loaded DLLs are looked for the same way, only later; objdump does not
  # list them, so any delay-import table fails the check.
  delay=$(sed -n 's/^Entry d \([0-9a-fA-F]*\) \([0-9a-fA-F]*\) Delay Import Directory$/\2/p' <<<"$dump")
  if [ -n "$delay" ] && [ $((16#$delay)) -ne 0 ]; then
    offenders+=("(a delay-import table)")
  fi

  if [ ${#offenders[@]} -gt 0 ]; then
    echo "check-imports: $program imports DLLs that are not KnownDLLs: ${offenders[*]}"
    status=1
  else
    echo "check-imports: $program imports only KnownDLLs"
  fi
done
exit $status
