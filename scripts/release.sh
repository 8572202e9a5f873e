#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds every release artefact of the commit HEAD into dist/, with SHA256SUMS beside them.
#   scripts/release.sh          the artefacts of HEAD in dist/
#   scripts/release.sh --check  the same twice, in two folders and time zones; fails unless
#                               both runs give identical bytes
#
# The version is the one in project(VERSION) of CMakeLists.txt; CHANGELOG.md must have a
# section for it. Everything is built from the source tarball itself, never from the working
# tree, so uncommitted changes cannot reach a release, and with SOURCE_DATE_EPOCH set to the
# commit time, paths mapped away, fixed permissions and stripped binaries, the same commit
# gives the same bytes. The Debian package must pass lintian without errors. The NuGet
# package needs the .NET SDK; the Maven plugin needs Maven and Debian's Maven plugins.
set -euo pipefail
cd "$(dirname "$0")/.."

check=0
case "${1:-}" in
    "") ;;
    --check) check=1 ;;
    *) echo "usage: scripts/release.sh [--check]" >&2; exit 2 ;;
esac

fail() {
    echo "release: $*" >&2
    exit 1
}

command -v dotnet >/dev/null || fail "the NuGet package needs the .NET SDK (dotnet)"

git rev-parse --verify -q HEAD >/dev/null || fail "not inside a git checkout with a commit"
# Both builds of --check take this commit, even if HEAD moves while they run.
commit=$(git rev-parse HEAD)
version=$(git show "$commit":CMakeLists.txt | sed -n 's/^project(xvantor VERSION \([0-9][0-9.]*\).*/\1/p')
[ -n "$version" ] || fail "no project(xvantor VERSION ...) in CMakeLists.txt"
git show "$commit":CHANGELOG.md | grep -q "^## \[$version\] - [0-9]\{4\}-[0-9]\{2\}-[0-9]\{2\}$" ||
    fail "CHANGELOG.md has no section \"## [$version] - YYYY-MM-DD\""
if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
    echo "release: note: uncommitted changes are left out; the release is built from HEAD" >&2
fi

windows_toolchain=cmake/toolchains/mingw-w64-x86_64.cmake
vscode=editors/vscode
# The cross builds need only their compilers: the first stage is built for this machine.
scripts/setup.sh lintian g++-mingw-w64-x86-64-posix g++-aarch64-linux-gnu

export SOURCE_DATE_EPOCH
SOURCE_DATE_EPOCH=$(git log -1 --format=%ct "$commit")
export LC_ALL=C.UTF-8
name=xvantor-$version
jobs=$(nproc)

# Rewrites a zip with the entries in the same order, every time stamp at SOURCE_DATE_EPOCH
# and every mode 644, for packers that stamp the time of packing.
normalize_zip() {
    python3 - "$1" <<'EOF'
import os, sys, time, zipfile
path = sys.argv[1]
stamp = time.gmtime(int(os.environ["SOURCE_DATE_EPOCH"]))[:6]
with zipfile.ZipFile(path) as source:
    entries = [(info, source.read(info)) for info in source.infolist()]
with zipfile.ZipFile(path + ".new", "w") as target:
    for info, data in entries:
        fixed = zipfile.ZipInfo(info.filename, stamp)
        fixed.external_attr = 0o100644 << 16
        fixed.create_system = 3
        fixed.compress_type = zipfile.ZIP_DEFLATED
        target.writestr(fixed, data, compresslevel=9)
os.replace(path + ".new", path)
EOF
}

# Builds all artefacts into the folder $1 (which must not exist), working below $2.
build_release() {
    local out=$1 work=$2
    mkdir -p "$out" "$work"
    local tarball=$out/$name.tar.gz
    git archive --format=tar --prefix="$name/" "$commit" | gzip -9n >"$tarball"
    tar -xzf "$tarball" -C "$work"
    local src=$work/$name
    # Sources and builds both lie below $work, whose name differs from run to run.
    local maps="-ffile-prefix-map=$work=."

    # Debian package, with the hardening flags that Debian builds use. Flags go in through
    # the environment, which adds them to those of the project and the toolchain.
    local linux=$work/build-linux
    CXXFLAGS="$maps -D_FORTIFY_SOURCE=2 -fstack-protector-strong" \
        LDFLAGS="-Wl,-z,relro,-z,now" \
        cmake -S "$src" -B "$linux" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
    cmake --build "$linux" -j"$jobs" >/dev/null
    # CPackDeb reports its steps on standard error, which is for problems.
    (cd "$linux" && cpack -G DEB -B "$work/deb" >/dev/null \
        2> >(grep -v -x 'CPackDeb: - Generating dependency list' >&2))
    local deb
    deb=$(find "$work/deb" -maxdepth 1 -name '*.deb')
    [ -n "$deb" ] || fail "cpack made no .deb"
    cp "$deb" "$out/"
    # lintian warns whoever runs it as root, as a container does; that is no finding on
    # the package, and left in the log it reads like one.
    lintian --fail-on error "$out/$(basename "$deb")" \
        2> >(grep -v -x 'running with root privileges is not recommended!' >&2) ||
        fail "lintian reports errors in $(basename "$deb")"

    # Windows zip.
    local windows=$work/build-windows
    # The linker would stamp the time of linking into the executable's header.
    CXXFLAGS="$maps" LDFLAGS="-Wl,--no-insert-timestamp" \
        cmake -S "$src" -B "$windows" -DCMAKE_TOOLCHAIN_FILE="$src/$windows_toolchain" \
        -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
    cmake --build "$windows" -j"$jobs" >/dev/null
    # A zip stamps local time, so the zone is fixed too.
    (cd "$windows" && TZ=UTC cpack -G ZIP -B "$work/zip" >/dev/null)
    [ -f "$work/zip/$name-win64.zip" ] || fail "cpack made no $name-win64.zip"
    cp "$work/zip/$name-win64.zip" "$out/"

    # The tool as the packages for other build systems carry it, stripped, one folder per
    # runtime identifier in $work/binaries: linux-x64/xvantor and linux-arm64/xvantor
    # statically linked (the .deb above keeps the shared libraries, as Debian wants),
    # win-x64/xvantor.exe the zip's. The arm64 build takes the first stage of the build above.
    local binaries=$work/binaries
    mkdir -p "$binaries/linux-x64" "$binaries/linux-arm64" "$binaries/win-x64"
    local rid toolchain
    for rid in linux-x64 linux-arm64; do
        toolchain=x86_64-linux-static.cmake
        [ $rid = linux-arm64 ] && toolchain=aarch64-linux-gnu.cmake
        CXXFLAGS="$maps" cmake -S "$src" -B "$work/build-$rid" -DCMAKE_BUILD_TYPE=Release \
            -DCMAKE_TOOLCHAIN_FILE="$src/cmake/toolchains/$toolchain" -DBUILD_TESTING=OFF \
            -DXV_STAGE1_EXECUTABLE="$linux/support/xvantor_stage1" >/dev/null
        cmake --build "$work/build-$rid" -j"$jobs" --target xvantor >/dev/null
    done
    strip -o "$binaries/linux-x64/xvantor" "$work/build-linux-x64/driver/xvantor"
    aarch64-linux-gnu-strip -o "$binaries/linux-arm64/xvantor" "$work/build-linux-arm64/driver/xvantor"
    x86_64-w64-mingw32-strip -o "$binaries/win-x64/xvantor.exe" "$windows/driver/xvantor.exe"

    # NuGet package. NuGet stamps every entry with the time of packing, so the zip is
    # rewritten like the extension's below.
    DOTNET_CLI_TELEMETRY_OPTOUT=1 DOTNET_NOLOGO=1 dotnet pack "$src/nuget/XVantor.csproj" \
        -nologo -nodeReuse:false -v:q --artifacts-path "$work/nuget-artifacts" -o "$work/nuget" \
        -p:Version="$version" -p:XVantorBinaries="$binaries" >/dev/null ||
        fail "dotnet pack made no NuGet package"
    cp "$work/nuget/XVantor.$version.nupkg" "$out/"
    normalize_zip "$out/XVantor.$version.nupkg"

    # Maven plugin, carrying the same tools as the NuGet package, built by Debian's Maven
    # offline from its repository in /usr/share/maven-repo. Maven stamps the jar's entries
    # with the commit's time but orders them as the file system lists them, so the jar is
    # rewritten like the extension's below.
    cmake -S "$src" -B "$linux" -DXV_MAVEN_BINARIES="$binaries" >/dev/null
    cmake --build "$linux" --target maven_plugin >/dev/null || fail "the Maven plugin did not build"
    cp "$linux/maven/xvantor-maven-plugin-$version.jar" "$linux/maven/xvantor-maven-plugin-$version.pom" "$out/"
    normalize_zip "$out/xvantor-maven-plugin-$version.jar"

    # VS Code extension, packaged by its own test script once its grammars pass.
    local vsix
    vsix=$(cd "$out" && pwd)/xvantor-frame-text-$version.vsix
    "$src/$vscode/test.sh" "$vsix" </dev/null >/dev/null || fail "the VS Code extension did not build"
    normalize_zip "$vsix"

    (cd "$out" && find . -maxdepth 1 -type f -printf '%f\n' | sort | xargs sha256sum >"$work/sums" &&
        mv "$work/sums" SHA256SUMS)
}

# cpack gives the members of a .deb the modes that the umask leaves.
umask 022
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
build_release "$work/dist" "$work/one"
if [ $check -eq 1 ]; then
    # Another place and time zone must not change a byte.
    (TZ=Pacific/Chatham build_release "$work/again/dist" "$work/again/two/deeper")
    if ! cmp -s "$work/dist/SHA256SUMS" "$work/again/dist/SHA256SUMS"; then
        diff "$work/dist/SHA256SUMS" "$work/again/dist/SHA256SUMS" >&2 || true
        fail "two builds of the same commit differ"
    fi
    echo "release: two builds of ${commit:0:12} are identical"
fi
rm -rf dist
mv "$work/dist" dist
cat dist/SHA256SUMS
