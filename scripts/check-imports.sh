#!/usr/bin/env bash
# Checks that a Windows executable is a 32-bit GUI program importing only system DLLs.
set -euo pipefail
exe=$1
allowed='^(kernel32|user32|gdi32|comctl32|comdlg32|ole32|oleaut32|shell32|shlwapi|advapi32|msvcrt)\.dll$'
file "$exe" | grep -q 'PE32 executable (GUI) Intel 80386' || { echo "not a 32-bit GUI executable: $(file "$exe")"; exit 1; }
status=0
while read -r dll; do
    if ! echo "$dll" | tr 'A-Z' 'a-z' | grep -Eq "$allowed"; then
        echo "imports $dll, which is not a system library"
        status=1
    fi
done < <(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p')
[ $status -eq 0 ] && echo "imports: $(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr '\n' ' ')"
exit $status
