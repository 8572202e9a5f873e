#!/bin/sh
# SPDX-License-Identifier: MIT
# Formats the man page with every groff warning enabled; any warning fails the test.
# Usage: check_man_page.sh MAN_PAGE. Exit status 77 (skipped) when groff is missing.
set -u
page=$1
if ! command -v groff >/dev/null 2>&1; then
    echo "skipped: groff is not installed"
    exit 77
fi
warnings=$(LC_ALL=C.UTF-8 groff -man -Tutf8 -ww -z "$page" 2>&1)
status=$?
if [ $status -ne 0 ] || [ -n "$warnings" ]; then
    echo "groff reported on $page (status $status):"
    echo "$warnings"
    exit 1
fi
echo "passed"
