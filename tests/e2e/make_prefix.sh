#!/bin/sh
# Boots one Wine prefix that every end-to-end test copies. Booting costs
# about 13 s, a copy half a second, so the run boots once.
# Usage: make_prefix.sh DIR
set -eu

dir=${1:?usage: make_prefix.sh DIR}
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver64
for tool in "$wine" "$wineserver"; do
  if [ ! -x "$tool" ]; then
    echo "make_prefix.sh: $tool is missing (Debian packages wine and wine64)" >&2
    exit 1
  fi
done

rm -rf "$dir"
mkdir -p "$dir"
export WINEPREFIX="$(cd "$dir" && pwd)"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
# Boot headless: the prefix needs no display, and a stray one must not
# receive Wine's first-run windows.
unset DISPLAY WAYLAND_DISPLAY

# A server of our own, so that ending it cannot touch anyone else's, and
# so that the registry is written to disk before the prefix is copied.
"$wineserver" -f -p &
server=$!
trap 'kill "$server" 2>/dev/null || true' EXIT

"$wine" wineboot -i
# Unmanaged X windows: without a window manager Wine would otherwise wait
# for one on every window destruction and let the focus follow the pointer.
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f
"$wineserver" -k
wait "$server" || true
trap - EXIT

grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" || {
  echo "make_prefix.sh: the X11 driver setting did not reach $WINEPREFIX/user.reg" >&2
  exit 1
}
touch "$WINEPREFIX/.startwin-e2e-ready"
