#!/usr/bin/env bash
# Installs the Debian packages that building and testing XVantor need, when missing.
set -euo pipefail
packages=(cmake g++ clang clang-format libclang-rt-14-dev libgtest-dev libgmock-dev python3 default-jdk-headless mono-mcs mono-runtime time xxd groff man-db ninja-build meson)
missing=()
for package in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq "${missing[@]}"
fi
