#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# The Windows leg: cross-builds xvantor.exe with MinGW-w64, checks that it needs no MinGW
# DLL, packs the zip, and runs the black-box tests against the exe under wine.
#   scripts/test-windows.sh    builds in build-windows/, wine's files in a temporary folder
set -euo pipefail
cd "$(dirname "$0")/.."

# wine runs the tests only: the build itself runs nothing built for Windows.
scripts/setup.sh --only g++-mingw-w64-x86-64-posix g++ make wine64 groff python3 cmake

export XV_WINE=/usr/lib/wine/wine64
[ -x "$XV_WINE" ] || XV_WINE=$(command -v wine64 || command -v wine)
WINEPREFIX=$(mktemp -d /tmp/xv-wineprefix-XXXXXX)
export WINEPREFIX WINEDEBUG=-all
wineserver=$(dirname "$XV_WINE")/wineserver
[ -x "$wineserver" ] || wineserver=wineserver
trap '"$wineserver" -k 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT

build=build-windows
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/toolchains/mingw-w64-x86_64.cmake \
    -DCMAKE_BUILD_TYPE=Release -DXV_WERROR=ON >/dev/null
cmake --build "$build" -j"$(nproc)"
exe="$build/driver/xvantor.exe"

# Only system DLLs: the C++ runtime and the threads library are linked in.
dlls=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr '\n' ' ')
echo "xvantor.exe imports: $dlls"
for dll in $dlls; do
    case "${dll,,}" in
    kernel32.dll | msvcrt.dll | user32.dll | advapi32.dll | shell32.dll) ;;
    *)
        echo "xvantor.exe needs $dll, which Windows does not bring" >&2
        exit 1
        ;;
    esac
done

(cd "$build" && cpack -G ZIP >/dev/null)
zip=$(ls "$build"/xvantor-*-win64.zip)
python3 - "$zip" <<'EOF'
import sys, zipfile
names = [n.split("/", 1)[1] for n in zipfile.ZipFile(sys.argv[1]).namelist()]
print("%s: %s" % (sys.argv[1], " ".join(sorted(names))))
missing = {"xvantor.exe", "README.md", "xvantor.txt"} - set(names)
sys.exit("the zip lacks " + ", ".join(sorted(missing)) if missing else 0)
EOF

python3 tests/windows/run_windows.py "$exe"
