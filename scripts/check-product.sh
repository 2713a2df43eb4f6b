#!/usr/bin/env bash
# Reads a built quillmoor.exe (it does not run it) and checks its form:
#   check-product.sh EXE 32|64
# the machine and the GUI subsystem, imports of Windows system libraries only (the ones
# loaded on first use not imported at all), no debugging information, and the icon, the
# version information and the asInvoker manifest for the file's own processor, asking for
# GDI scaling and declaring no DPI awareness.
set -euo pipefail
exe=$1
bits=$2
case $bits in
    32) tools=i686-w64-mingw32; form='PE32 executable (GUI) Intel 80386'; arch=x86 ;;
    64) tools=x86_64-w64-mingw32; form='PE32+ executable (GUI) x86-64'; arch=amd64 ;;
    *) echo "check-product.sh: the build is 32 or 64, not '$bits'"; exit 2 ;;
esac
status=0
fail() { echo "$exe: $*"; status=1; }

file "$exe" | grep -qF "$form" || fail "not a $bits-bit GUI executable: $(file -b "$exe")"

allowed='^(kernel32|user32|gdi32|comctl32|comdlg32|ole32|oleaut32|shell32|shlwapi|advapi32|msvcrt)\.dll$'
# Loaded on first use instead (win/system_proc.h): importing them costs every start-up.
on_first_use='^(comctl32|comdlg32|shell32|shlwapi)\.dll$'
imports=$("$tools-objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')  || fail "objdump cannot read it"
for dll in $imports; do
    grep -Eq "$allowed" <<<"$dll" || fail "imports $dll, which is not a system library"
    grep -Eq "$on_first_use" <<<"$dll" && fail "imports $dll at start-up; it is to be loaded on first use"
done
"$tools-objdump" -h "$exe" | grep -q '\.debug_' && fail "carries debugging information"

resources=$("$tools-windres" -J coff -i "$exe" -O rc)
expect() { grep -qF -- "$1" <<<"$resources" || fail "$2"; }
expect 'Type: group icon' "has no icon"
expect 'FILEVERSION 1, 1, 0, 0' "file version is not 1.1.0.0"
expect 'PRODUCTVERSION 1, 1, 0, 0' "product version is not 1.1.0.0"
# "Quillmoor字体查看器", as windres writes UTF-16 text.
expect 'VALUE "FileDescription", L"Quillmoor\x5b57\x4f53\x67e5\x770b\x5668"' "wrong FileDescription"
expect 'VALUE "ProductName", L"Quillmoor\x5b57\x4f53\x67e5\x770b\x5668"' "wrong ProductName"
expect 'VALUE "FileVersion", "1.1.0.0"' "wrong FileVersion text"
expect '1 24 /* RT_MANIFEST */' "has no manifest"
expect 'requestedExecutionLevel level=""asInvoker""' "manifest does not ask for asInvoker"
expect "processorArchitecture=\"\"$arch\"\"" "manifest is not for $arch"
expect '<gdiScaling xmlns=""http://schemas.microsoft.com/SMI/2017/WindowsSettings"">true</gdiScaling>' \
    "manifest does not ask for GDI scaling"
grep -qiE 'dpiAware|dpiAwareness' <<<"$resources" && fail "manifest declares a DPI awareness"

[ $status -eq 0 ] && echo "$exe: $bits-bit GUI, stripped, icon, version 1.1.0.0, asInvoker manifest ($arch) with GDI scaling, imports: $(echo $imports)"
exit $status
