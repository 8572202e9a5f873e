#!/bin/sh
# Runs a Windows program under wine from the working directory of one test case, with the
# drive W: mapped to that directory, so that a case can name its files as W:\dir\file.
# Needs WINEPREFIX and XV_WINE (the wine command) in the environment.
set -e
ln -sfn "$PWD" "$WINEPREFIX/dosdevices/w:"
exec "$XV_WINE" "$@"
