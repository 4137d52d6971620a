#!/bin/sh
# Renders a manual page with groff and fails on any warning; exit 77 (skipped) without groff,
# or a failure under CI=true.
# Usage: check_manpage.sh PAGE
set -u
page=${1:?usage: check_manpage.sh PAGE}

. "$(dirname "$0")/cannot_run.sh"
command -v groff >/dev/null 2>&1 || cannot_run "groff is not installed: manual page not checked"

# The terminal widths people read it at: the default 78 columns and a narrow window, where
# long paths and verbatim lines most easily overflow.
status=0
for width in 78 65; do
    warnings=$(groff -man -Tutf8 -ww -z -rLL=${width}n "$page" 2>&1) || status=1
    if [ -n "$warnings" ]; then
        printf 'groff warnings at %s columns:\n%s\n' "$width" "$warnings"
        status=1
    fi
done
exit $status
