#!/usr/bin/env bash
# The binaries import only DLLs that every Windows 10 and 11 has: the C++
# runtime, libgcc and winpthread are linked in, so no MinGW DLL has to sit
# beside them.
#   check_imports.sh FILE...
set -euo pipefail
system_dlls=(kernel32.dll user32.dll gdi32.dll shell32.dll ole32.dll oleaut32.dll advapi32.dll
  comctl32.dll version.dll msvcrt.dll oleacc.dll comdlg32.dll)
failed=0
for file in "$@"; do
  dlls=$(x86_64-w64-mingw32-objdump -p "$file" | awk '/DLL Name:/ {print tolower($3)}')
  if [ -z "$dlls" ]; then
    echo "$file: no import table read" >&2
    failed=1
  fi
  for dll in $dlls; do
    case " ${system_dlls[*]} " in
      *" $dll "*) ;;
      *) echo "$file imports $dll, which Windows does not have" >&2; failed=1 ;;
    esac
  done
  echo "$(basename "$file"): $(echo $dlls)"
done
exit $failed
