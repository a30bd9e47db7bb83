#!/usr/bin/env bash
# quorvane.exe must be a 32-bit Intel GUI program importing system DLLs only.
set -euo pipefail
exe="$1"
headers=$(i686-w64-mingw32-objdump -p "$exe")
grep -q 'file format pei-i386' <<<"$headers" || { echo "not PE32 i386"; exit 1; }
grep -Eq '^Subsystem[[:space:]]+00000002' <<<"$headers" || { echo "not a GUI program"; exit 1; }
dlls=$(grep 'DLL Name:' <<<"$headers" | awk '{print tolower($3)}' | sort -u)
echo "$dlls"
allowed='^(kernel32|user32|gdi32|advapi32|shell32|comctl32|wininet|msvcrt|ws2_32|ole32|shlwapi)\.dll$'
while read -r dll; do
  [[ "$dll" =~ $allowed ]] || { echo "unexpected DLL: $dll"; exit 1; }
done <<<"$dlls"
