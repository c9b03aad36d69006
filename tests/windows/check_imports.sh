#!/usr/bin/env bash
# The program file is one static GUI executable: the Windows GUI subsystem,
# and imports from the system's own DLLs only (no C++ runtime, libgcc or
# thread library DLL beside it). Read with objdump on the build machine.
# Usage: check_imports.sh <objdump> <kalvoro.exe>
set -euo pipefail
objdump=$1
exe=$2
headers=$("$objdump" -p "$exe")
status=0

grep -Eq '^Subsystem[[:space:]]+00000002' <<<"$headers" || { echo "FAIL: not the Windows GUI subsystem"; status=1; }

# DLLs that every Windows installation carries.
system='^(KERNEL32|USER32|GDI32|ADVAPI32|SHELL32|COMCTL32|MSIMG32|msvcrt|ntdll|VERSION)\.dll$'
dlls=$(sed -nE 's/^[[:space:]]*DLL Name: (.*)$/\1/p' <<<"$headers")
echo "imports: $(echo $dlls)"
[[ -n $dlls ]] || { echo "FAIL: no imports read"; status=1; }
while read -r dll; do
  [[ -z $dll ]] && continue
  grep -Eiq "$system" <<<"$dll" || { echo "FAIL: imports $dll, which is not a system DLL"; status=1; }
done <<<"$dlls"
exit $status
