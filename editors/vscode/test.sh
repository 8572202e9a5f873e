#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Installs the pinned npm packages, checks that the grammars in syntaxes/ are the ones
# build-grammars.js makes, runs the grammar tests and packages the extension, with the
# version of project(VERSION) in CMakeLists.txt.
#   editors/vscode/test.sh [path of the .vsix to write]
set -euo pipefail
cd "$(dirname "$0")"
vsix="${1:-xvantor-frame-text.vsix}"
version=$(sed -n 's/^project(xvantor VERSION \([0-9][0-9.]*\).*/\1/p' ../../CMakeLists.txt)
[ -n "$version" ] || { echo "no project(xvantor VERSION ...) in CMakeLists.txt" >&2; exit 1; }

# npm ci starts from nothing every time; a stamp of the lock file it installed lets a
# second run skip it. No package needs its install script (one would fetch signing
# tools from outside the registry).
if ! cmp -s package-lock.json node_modules/.installed-lock 2>/dev/null; then
    npm ci --ignore-scripts --no-audit --no-fund --loglevel=error
    cp package-lock.json node_modules/.installed-lock
fi

node build-grammars.js --check

# The host grammars of C++, Java and C#; the C++ grammar also names grammars of
# embedded assembly, regular expressions and shaders, which these tests never reach.
hosts=()
for name in cpp cpp-macro java csharp; do
    hosts+=(-g "node_modules/tm-grammars/grammars/$name.json")
done
node node_modules/vscode-tmgrammar-test/dist/unit.js "${hosts[@]}" 'test/*.test.*' \
    2> >(grep -v -E '^grammar not found for "source\.(asm|x86|x86_64|arm|regexp\.python|glsl)"$' >&2)

node node_modules/@vscode/vsce/vsce package "$version" --no-update-package-json \
    --no-git-tag-version --allow-missing-repository --out "$vsix"
