#!/usr/bin/env bash
# Checks that a Windows executable is a 32-bit GUI program importing only system DLLs.
set -euo pipefail
exe=$1
allowed='^(kernel32|user32|gdi32|comctl32|comdlg32|ole32|oleaut32|shell32|shlwapi|advapi32|msvcrt)\.dll$'
# Loaded on first use instead (win/system_proc.h): importing them costs every start-up.
on_first_use='^(comctl32|comdlg32|shell32|shlwapi)\.dll$'
file "$exe" | grep -q 'PE32 executable (GUI) Intel 80386' || { echo "not a 32-bit GUI executable: $(file "$exe")"; exit 1; }
status=0
while read -r dll; do
    if ! echo "$dll" | tr 'A-Z' 'a-z' | grep -Eq "$allowed"; then
        echo "imports $dll, which is not a system library"
        status=1
    fi
    if echo "$dll" | tr 'A-Z' 'a-z' | grep -Eq "$on_first_use"; then
        echo "imports $dll at start-up; it is to be loaded on first use"
        status=1
    fi
done < <(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p')
[ $status -eq 0 ] && echo "imports: $(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr '\n' ' ')"
exit $status
