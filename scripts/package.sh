#!/usr/bin/env bash
# Builds the Release configuration of the Windows tree and writes the
# portable release a Windows user downloads:
#   dist/Scourly-VERSION-win64.zip
# holding Scourly.exe, Purgix.dll, README.txt and LICENSE.txt (texts with
# CR LF line ends). VERSION is the product version of res/version.h.
#   BUILD_ROOT     build folder (default: build/ in the repository)
#   WIN_BUILD_DIR  the Windows tree (default: BUILD_ROOT/win)
#   DIST_DIR       where the zip goes (default: dist/ in the repository)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_ROOT:-$top/build}
win=${WIN_BUILD_DIR:-$build/win}
dist=${DIST_DIR:-$top/dist}

bash "$top/scripts/deps.sh"
cmake -S "$top" -B "$win" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$win" -j2 --target Scourly Purgix

part() { sed -n "s/^#define SCOURLY_VERSION_$1 \([0-9][0-9]*\)\$/\1/p" "$top/res/version.h"; }
version="$(part MAJOR).$(part MINOR).$(part PATCH)"
case "$version" in
  *[0-9].*[0-9].*[0-9]) ;;
  *) echo "cannot read the version from res/version.h" >&2; exit 1 ;;
esac

mkdir -p "$dist"
zip="$dist/Scourly-$version-win64.zip"
python3 - "$zip" "$version" "$win/bin/Scourly.exe" "$win/bin/Purgix.dll" \
  "$top/package/README.txt" "$top/LICENSE" "$top/package/THIRD-PARTY-NOTICES.txt" <<'PY'
import os, sys, time, zipfile

zip_path, version, exe, dll, readme, license_, notices = sys.argv[1:]

def text(path):
    with open(path, encoding="utf-8") as f:
        return f.read()

def windows_text(content):
    # CR LF line ends, whatever the checkout uses.
    return content.replace("\r\n", "\n").replace("\n", "\r\n").encode("utf-8")

def stamp(path):
    return time.localtime(os.path.getmtime(path))[:6]

def add(archive, name, data, when):
    info = zipfile.ZipInfo(name, date_time=when)
    info.compress_type = zipfile.ZIP_DEFLATED
    info.external_attr = 0o644 << 16
    archive.writestr(info, data)

title = "Scourly " + version
readme_text = text(readme).replace("@VERSION@", version)
lines = readme_text.split("\n")
lines[1] = "=" * len(title)  # the title's underline
readme_text = "\n".join(lines)
license_text = text(license_) + "\n\n" + text(notices)

partial = zip_path + ".partial"
with zipfile.ZipFile(partial, "w") as archive:
    for path, name in ((exe, "Scourly.exe"), (dll, "Purgix.dll")):
        with open(path, "rb") as f:
            add(archive, name, f.read(), stamp(path))
    add(archive, "README.txt", windows_text(readme_text), stamp(readme))
    add(archive, "LICENSE.txt", windows_text(license_text), stamp(license_))
os.replace(partial, zip_path)
PY
echo "$zip"
