#!/usr/bin/env bash
# The demo-data builder writes the same bytes every time, and every archive it writes
# reads back whole.
set -euo pipefail
demodata="$1"
pack="$2"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
"$demodata" "$work/a"
"$demodata" "$work/b"
diff -r "$work/a" "$work/b"
for f in "$work"/a/*.vkp; do
  "$pack" list "$f" >/dev/null || { echo "unreadable archive $f"; exit 1; }
done
for d in Grafik Sound Video; do [ -d "$work/a/$d" ] || { echo "no $d folder"; exit 1; }; done
[ -s "$work/a/Sound/intro.ogg" ] || { echo "no menu music"; exit 1; }
echo ok
