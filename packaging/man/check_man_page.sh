#!/bin/sh
# Formats a manual page as man(1) would and fails on any formatter warning, or when the page
# lacks its name line: check_man_page.sh PAGE NAME
set -eu
page=$1
name=$2
out=$(mktemp)
err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$page" >"$out" 2>"$err"
if [ -s "$err" ]; then
    echo "warnings formatting $page:" >&2
    cat "$err" >&2
    exit 1
fi
grep -q "^ИМЯ" "$out" || { echo "$page: no ИМЯ section" >&2; exit 1; }
grep -Eq "^ +$name +- " "$out" || { echo "$page: no name line for $name" >&2; exit 1; }
