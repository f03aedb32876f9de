#!/bin/sh
# A manual page as man shows it at 80 columns (MANWIDTH=80) breaks no bold or
# italic word (a callsign, a key, a path, a metric) at a hyphen, and sets every
# .TP tag in bold or italic: a tag in roman is a paragraph that lost its place.
#   tests/docs/man_page_identifiers.sh PAGE
page=$1
status=0
backspace=$(printf '\b')
# -P-c writes bold and italic as overstrikes (X BACKSPACE X, _ BACKSPACE X), as
# man does into a pipe; the line length is the one man sets for 80 columns.
broken=$(groff -man -Tutf8 -P-c -rLL=78n -rLT=78n "$page" | grep -n "$backspace[^ ]*[-‐]\$" | sed "s/.$backspace//g")
if [ -n "$broken" ]; then
  printf '%s: a bold or italic word broken at a hyphen (mark it \\%% or write its hyphen as \\-):\n%s\n' "$page" "$broken" >&2
  status=1
fi
roman=$(awk 'previous == ".TP" && !/^\.(B|I|BR|IR|RB|RI|BI|IB)( |$)/ && !/^\\f[BI]/ {print NR ": " $0} {previous = $0}' "$page")
if [ -n "$roman" ]; then
  printf '%s: a .TP tag in roman, a paragraph that belongs to the entry above (.IP):\n%s\n' "$page" "$roman" >&2
  status=1
fi
exit $status
