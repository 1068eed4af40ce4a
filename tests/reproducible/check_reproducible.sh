#!/usr/bin/env bash
# Builds both Windows programs again from a copy of the source tree in another
# folder and compares them byte for byte with the builds in the project's own
# build folders, made earlier. Nothing in them may depend on where or when
# they were built.
#
#   check_reproducible.sh SOURCE_DIR WIN32_BUILD_DIR WIN64_BUILD_DIR
set -euo pipefail
source_dir=$(realpath "$1")
win32_dir=$(realpath "$2")
win64_dir=$(realpath "$3")

for program in "$win32_dir/startwin.exe" "$win64_dir/startwin.exe"; do
  [ -f "$program" ] || { echo "FAIL: $program is missing: build the win32 and win64 presets first"; exit 1; }
done

# A folder whose path differs in length from the original, so that any
# absolute path left in the output would show.
scratch=$(mktemp -d /tmp/startwin-reproducible-other-place.XXXXXX)
trap 'rm -rf "$scratch"' EXIT
copy="$scratch/source"
mkdir -p "$copy"
tar -C "$source_dir" --exclude=./build --exclude=./.git -cf - . | tar -C "$copy" -xf -

status=0
cd "$copy"
for preset in win32 win64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --target startwin -j "$(nproc)" >/dev/null
  if [ "$preset" = win32 ]; then original="$win32_dir/startwin.exe"; else original="$win64_dir/startwin.exe"; fi
  rebuilt="$copy/build/$preset/startwin.exe"
  if cmp -s "$original" "$rebuilt"; then
    echo "ok: $preset startwin.exe is byte-identical ($(stat -c %s "$rebuilt") bytes)"
  else
    echo "FAIL: $preset startwin.exe differs between $original and $rebuilt:"
    cmp -l "$original" "$rebuilt" | head -n 5 || true
    status=1
  fi
done
exit $status
