#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the Debian packages that building and testing XVantor need, when missing.
# Arguments name further packages that one task needs (scripts/release.sh: lintian).
set -euo pipefail
packages=(cmake g++ clang clang-format libclang-rt-14-dev libgtest-dev libgmock-dev python3 default-jdk-headless mono-mcs mono-runtime time xxd groff man-db nodejs ninja-build meson locales)
packages+=("$@")
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
# Some builds of nodejs bring npm along and conflict with Debian's npm package.
command -v npm >/dev/null 2>&1 || missing+=(npm)
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq "${missing[@]}"
fi
# The C# and Java compile-and-run cases also run under these locales, which must not change
# a byte of their output.
for locale in de_DE tr_TR; do
    if ! locale -a 2>/dev/null | grep -qix "$locale.utf8"; then
        echo "Generating the locale $locale.UTF-8"
        localedef -i "$locale" -f UTF-8 "$locale.UTF-8"
    fi
done
