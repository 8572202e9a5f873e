#!/bin/sh
# SPDX-License-Identifier: MIT
# Runs a Windows program under wine from the working directory of one test case. A case
# that names its files as W:\dir\file gets the drive W: mapped to that directory; such
# cases must run one at a time. Needs WINEPREFIX and XV_WINE in the environment.
set -e
for arg in "$@"; do
    case "$arg" in
    [Ww]:*)
        ln -sfn "$PWD" "$WINEPREFIX/dosdevices/w:"
        break
        ;;
    esac
done
exec "$XV_WINE" "$@"
