#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the Debian packages that a task needs, when missing, without the packages that
# they only recommend. Run as root or by a user who may use sudo: apt-get then runs under
# sudo, and the script says so.
#   scripts/setup.sh [package...]         what the tests need, and the packages named
#                                         (scripts/release.sh: lintian and the Windows tools)
#   scripts/setup.sh --only package...    the packages named and nothing else
#                                         (scripts/example.sh: a C++ compiler and CMake)
set -euo pipefail
tests=1
if [ "${1:-}" = "--only" ]; then
    tests=0
    shift
fi
sudo=()
if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
fi
packages=()
if [ $tests -eq 1 ]; then
    packages=(cmake make g++ clang clang-format libclang-rt-14-dev libgtest-dev libgmock-dev python3 default-jdk-headless mono-mcs mono-runtime time xxd groff man-db nodejs ninja-build meson locales maven libmaven-plugin-tools-java libmaven-compiler-plugin-java libmaven-resources-plugin-java libmaven-jar-plugin-java libmaven-install-plugin-java libsurefire-java g++-aarch64-linux-gnu qemu-user-static)
fi
packages+=("$@")
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
# Some builds of nodejs bring npm along and conflict with Debian's npm package.
if [ $tests -eq 1 ] && ! command -v npm >/dev/null 2>&1; then
    missing+=(npm)
fi
if [ ${#missing[@]} -gt 0 ]; then
    if [ ${#sudo[@]} -gt 0 ]; then
        if ! command -v sudo >/dev/null 2>&1; then
            echo "Missing: ${missing[*]}; run this as root, or install sudo" >&2
            exit 1
        fi
        echo "Not running as root: installing with sudo"
    fi
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
# The C# and Java compile-and-run cases also run under these locales, which must not change
# a byte of their output.
if [ $tests -eq 1 ]; then
    for locale in de_DE tr_TR; do
        if ! locale -a 2>/dev/null | grep -qix "$locale.utf8"; then
            echo "Generating the locale $locale.UTF-8"
            "${sudo[@]}" localedef -i "$locale" -f UTF-8 "$locale.UTF-8"
        fi
    done
fi
