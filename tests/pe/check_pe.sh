#!/usr/bin/env bash
# Static checks of a built startwin.exe: what the Windows loader and shell
# read from the file before any of the program's code runs. A regression in
# the build flags, the link line or the resources shows up here even when
# the program still starts under Wine.
#
# Usage: check_pe.sh EXE ARCH      ARCH is i686 or x86_64
#
# Runs every check and exits non-zero if any failed, naming each failure.
# A missing tool or input is a failure too, never a skip.

set -uo pipefail

HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
readonly HERE

readonly ALLOWED_DLLS=(KERNEL32.DLL USER32.DLL GDI32.DLL MSVCRT.DLL)
readonly EXPECTED_ICON_IMAGES="16x16x4 32x32x4 48x48x4"
readonly EXPECTED_VERSION="1.0.0.0"

# PE header bits, from the PE/COFF format documentation.
readonly SUBSYSTEM_WINDOWS_GUI=2
readonly DLLCHAR_HIGH_ENTROPY_VA=0x0020
readonly DLLCHAR_DYNAMIC_BASE=0x0040
readonly DLLCHAR_NX_COMPAT=0x0100
readonly SCN_MEM_EXECUTE=0x20000000
readonly SCN_MEM_WRITE=0x80000000

failures=0

fail() {
    echo "check_pe: FAIL: $*" >&2
    failures=$((failures + 1))
}

pass() {
    echo "check_pe: ok: $*"
}

# For problems that make the remaining checks meaningless.
die() {
    echo "check_pe: ERROR: $*" >&2
    exit 2
}

usage() {
    echo "usage: $0 EXE ARCH   (ARCH: i686 or x86_64)" >&2
    exit 2
}

# --- helpers ---------------------------------------------------------------

# Little-endian unsigned integer of SIZE bytes at byte OFFSET of FILE, in
# decimal. Assembled byte by byte so the host's byte order does not matter.
read_le() {
    local file=$1 offset=$2 size=$3 value=0 shift=0 byte
    for byte in $(od -An -v -tu1 -j "$offset" -N "$size" "$file"); do
        value=$((value | (byte << shift)))
        shift=$((shift + 8))
    done
    [[ $shift -eq $((size * 8)) ]] || return 1
    echo "$value"
}

# The value of a "Name  hexvalue ..." line of `objdump -p`, in decimal.
objdump_field() {
    local name=$1 hex
    hex=$(awk -v name="$name" '$1 == name { print $2; exit }' <<<"$OBJDUMP_P")
    [[ $hex =~ ^[0-9A-Fa-f]+$ ]] || return 1
    echo $((16#$hex))
}

# Runs the python3 helper HELPER of this folder on FILE for the check WHAT.
# The helper prints one line and exits 0 when all is well, or prints one line
# per problem and exits 1; anything else means it did not run properly.
run_helper() {
    local what=$1 helper=$2 file=$3 out status line
    out=$(python3 "$HERE/$helper" "$file" 2>"$WORK/$helper.err")
    status=$?
    if [[ $status -eq 0 && -n $out && ! -s $WORK/$helper.err ]]; then
        pass "$out"
    elif [[ $status -eq 1 && -n $out ]]; then
        while IFS= read -r line; do fail "$line"; done <<<"$out"
    else
        fail "$what: $helper exited with status $status: $(tail -n 1 "$WORK/$helper.err")"
    fi
}

# --- setup -----------------------------------------------------------------

require_tools() {
    local tool missing=()
    for tool in wrestool icotool od awk sed tr sort python3; do
        command -v "$tool" >/dev/null 2>&1 || missing+=("$tool")
    done
    [[ ${#missing[@]} -eq 0 ]] ||
        die "required tool(s) not found: ${missing[*]} (wrestool and icotool come with icoutils)"

    # The cross binutils know the PE formats for sure; the host objdump
    # only does if it was built with them.
    local format=pei-i386
    [[ $ARCH == x86_64 ]] && format=pei-x86-64
    if command -v "$ARCH-w64-mingw32-objdump" >/dev/null 2>&1; then
        OBJDUMP=$ARCH-w64-mingw32-objdump
    elif command -v objdump >/dev/null 2>&1 && objdump -i 2>/dev/null | grep -qx "$format"; then
        OBJDUMP=objdump
    else
        die "no objdump that reads PE files: install binutils-mingw-w64 ($ARCH-w64-mingw32-objdump)"
    fi
}

# --- checks ----------------------------------------------------------------

check_exists() {
    [[ -f $EXE ]] || die "$EXE does not exist (build the $ARCH program first)"
    [[ -s $EXE ]] || die "$EXE is empty"
    [[ $(od -An -c -N2 "$EXE" | tr -d ' ') == MZ ]] || die "$EXE is not an executable (no MZ header)"
    OBJDUMP_P=$("$OBJDUMP" -p "$EXE" 2>&1) || die "$OBJDUMP -p could not read $EXE (is it an $ARCH program?): $OBJDUMP_P"
    pass "$EXE exists, read with $OBJDUMP"
}

check_format() {
    local want_format want_magic format magic
    case $ARCH in
        i686)   want_format=pei-i386;   want_magic="010b (PE32)" ;;
        x86_64) want_format=pei-x86-64; want_magic="020b (PE32+)" ;;
    esac
    format=$(sed -n 's/.*file format \(.*\)$/\1/p' <<<"$OBJDUMP_P" | head -n 1)
    magic=$(awk '$1 == "Magic" { print $2, $3; exit }' <<<"$OBJDUMP_P")
    if [[ $format == "$want_format" && $magic == "$want_magic" ]]; then
        pass "format $format, magic $magic"
    else
        fail "format: want $want_format / $want_magic for $ARCH, got '${format:-?}' / '${magic:-?}'"
    fi
}

check_subsystem() {
    local subsystem
    subsystem=$(objdump_field Subsystem) || { fail "subsystem: no Subsystem line in objdump -p"; return; }
    if [[ $subsystem -eq $SUBSYSTEM_WINDOWS_GUI ]]; then
        pass "subsystem Windows GUI"
    else
        fail "subsystem: want $SUBSYSTEM_WINDOWS_GUI (Windows GUI), got $subsystem$([[ $subsystem -eq 3 ]] && echo ' (console)')"
    fi
}

check_dll_characteristics() {
    local flags missing=()
    flags=$(objdump_field DllCharacteristics) ||
        { fail "DllCharacteristics: no such line in objdump -p"; return; }
    (( flags & DLLCHAR_DYNAMIC_BASE )) || missing+=(DYNAMIC_BASE)
    (( flags & DLLCHAR_NX_COMPAT )) || missing+=(NX_COMPAT)
    if [[ $ARCH == x86_64 ]]; then
        (( flags & DLLCHAR_HIGH_ENTROPY_VA )) || missing+=(HIGH_ENTROPY_VA)
    fi
    if [[ ${#missing[@]} -eq 0 ]]; then
        pass "DllCharacteristics $(printf '0x%04x' "$flags")"
    else
        fail "DllCharacteristics $(printf '0x%04x' "$flags") lacks ${missing[*]}"
    fi
}

# Read from the section table itself: objdump -h shows BFD's flags, which
# fold "contains code" and "executable" together.
check_no_writable_executable_section() {
    local pe count optional_size table i entry name flags bad=()
    pe=$(read_le "$EXE" 60 4) || { fail "sections: truncated DOS header"; return; }
    [[ $(od -An -c -j "$pe" -N4 "$EXE" | tr -d ' ') == 'PE\0\0' ]] ||
        { fail "sections: no PE signature at offset $pe"; return; }
    if ! count=$(read_le "$EXE" $((pe + 6)) 2) ||
       ! optional_size=$(read_le "$EXE" $((pe + 20)) 2); then
        fail "sections: truncated COFF header"
        return
    fi
    [[ $count -gt 0 ]] || { fail "sections: the file has no sections"; return; }
    table=$((pe + 24 + optional_size))
    for ((i = 0; i < count; i++)); do
        entry=$((table + 40 * i))
        name=$(od -An -c -j "$entry" -N8 "$EXE" | tr -d ' ' | sed 's/\\0.*//')
        flags=$(read_le "$EXE" $((entry + 36)) 4) || { fail "sections: truncated section table"; return; }
        if (( (flags & SCN_MEM_WRITE) && (flags & SCN_MEM_EXECUTE) )); then
            bad+=("$name($(printf '0x%08x' "$flags"))")
        fi
    done
    if [[ ${#bad[@]} -eq 0 ]]; then
        pass "no writable+executable section among $count"
    else
        fail "writable and executable section(s): ${bad[*]}"
    fi
}

check_imports() {
    local dlls=() dll upper allowed ok_dll found_kernel32=no bad=() delay
    mapfile -t dlls < <(awk '$1 == "DLL" && $2 == "Name:" { print $3 }' <<<"$OBJDUMP_P")
    for dll in "${dlls[@]}"; do
        upper=${dll^^}
        [[ $upper == KERNEL32.DLL ]] && found_kernel32=yes
        allowed=no
        for ok_dll in "${ALLOWED_DLLS[@]}"; do
            [[ $upper == "$ok_dll" ]] && allowed=yes
        done
        [[ $allowed == yes ]] || bad+=("$dll")
    done
    # Every Windows program imports KERNEL32; not seeing it means the
    # import table was not read, not that the imports are clean.
    [[ $found_kernel32 == yes ]] ||
        { fail "imports: KERNEL32.dll not found among imports (${dlls[*]:-none}); import table unreadable?"; return; }
    [[ ${#bad[@]} -eq 0 ]] ||
        fail "imports: DLL(s) beyond ${ALLOWED_DLLS[*]}: ${bad[*]}"
    # objdump does not list delay-loaded DLLs, so there must be none.
    delay=$(awk '/Delay Import Directory/ { print $3; exit }' <<<"$OBJDUMP_P")
    [[ -z $delay || $delay =~ ^0+$ ]] ||
        fail "imports: the file has a delay-load import table, which this check cannot vet"
    [[ ${#bad[@]} -gt 0 ]] || pass "imports only from: ${dlls[*]}"
}

check_icon() {
    local ico=$WORK/default_icon.ico listing images
    grep -q -- "--type=14 --name='DEFAULT_ICON' " <<<"$RESOURCES" ||
        { fail "icon: no icon group named DEFAULT_ICON among the resources"; return; }
    wrestool -x --type=14 --name=DEFAULT_ICON "$EXE" >"$ico" 2>"$WORK/wrestool.err"
    [[ -s $ico ]] ||
        { fail "icon: wrestool could not extract DEFAULT_ICON: $(cat "$WORK/wrestool.err")"; return; }
    listing=$(icotool -l "$ico" 2>&1) ||
        { fail "icon: icotool cannot read the extracted DEFAULT_ICON: $listing"; return; }
    images=$(sed -n 's/.*--width=\([0-9]*\) --height=\([0-9]*\) --bit-depth=\([0-9]*\).*/\1x\2x\3/p' <<<"$listing" |
             sort -n | tr '\n' ' ' | sed 's/ $//')
    if [[ $images == "$EXPECTED_ICON_IMAGES" ]]; then
        pass "icon DEFAULT_ICON: $images (width x height x bits per pixel)"
    else
        fail "icon: DEFAULT_ICON has images '${images}', want exactly '$EXPECTED_ICON_IMAGES' (width x height x bits per pixel)"
    fi
}

# The loader only uses the manifest with id 1 for an executable.
check_manifest() {
    local manifest identities tag found=no
    local name_re="[[:space:]]name=[\"']Microsoft\\.Windows\\.Common-Controls[\"']"
    local version_re="[[:space:]]version=[\"']6\\.0\\.0\\.0[\"']"
    local token_re="[[:space:]]publicKeyToken=[\"']6595b64144ccf1df[\"']"
    manifest=$(wrestool -x --raw --type=24 --name=1 "$EXE" 2>/dev/null | tr -s '\r\n\t ' ' ')
    [[ -n $manifest ]] || { fail "manifest: no RT_MANIFEST (type 24) resource with id 1"; return; }
    # One tag per line; keep the assemblyIdentity tags inside dependentAssembly.
    identities=$(awk '
        /^<dependentAssembly[ >]/ { inside = 1 }
        /^<\/dependentAssembly>/ { inside = 0 }
        inside && /^<assemblyIdentity[ \/]/ { print }' <<<"${manifest//</$'\n'<}")
    while IFS= read -r tag; do
        [[ $tag =~ $name_re ]] || continue
        if [[ $tag =~ $version_re && $tag =~ $token_re ]]; then
            found=yes
        else
            fail "manifest: Common-Controls dependency is not version 6.0.0.0 with token 6595b64144ccf1df: $tag"
            return
        fi
    done <<<"$identities"
    if [[ $found == yes ]]; then
        pass "manifest depends on Microsoft.Windows.Common-Controls 6.0.0.0"
    else
        fail "manifest: no dependentAssembly on Microsoft.Windows.Common-Controls"
    fi
}

check_execution_level() {
    local manifest=$WORK/manifest.xml
    wrestool -x --raw --type=24 --name=1 "$EXE" >"$manifest" 2>/dev/null
    [[ -s $manifest ]] || { fail "manifest: no RT_MANIFEST (type 24) resource with id 1"; return; }
    run_helper manifest execution_level.py "$manifest"
}

# VS_FIXEDFILEINFO: signature FEEF04BD, struct version, then the file and
# product versions as two DWORDs each (major<<16|minor, build<<16|revision).
check_version() {
    local raw=$WORK/version.bin hex prefix at file_version product_version
    wrestool -x --raw --type=16 "$EXE" >"$raw" 2>/dev/null
    [[ -s $raw ]] || { fail "version: no RT_VERSION (type 16) resource"; return; }
    hex=$(od -An -v -tx1 "$raw" | tr -d ' \n')
    prefix=${hex%%bd04effe*}
    # The structure is DWORD-aligned: 8 hex digits per DWORD.
    if [[ $prefix == "$hex" || $(( ${#prefix} % 8 )) -ne 0 ]]; then
        fail "version: no VS_FIXEDFILEINFO signature FEEF04BD in the version resource"
        return
    fi
    at=$(( ${#prefix} / 2 ))
    file_version=$(version_at "$raw" $((at + 8)))
    product_version=$(version_at "$raw" $((at + 16)))
    if [[ $file_version == "$EXPECTED_VERSION" && $product_version == "$EXPECTED_VERSION" ]]; then
        pass "version: file $file_version, product $product_version"
    else
        fail "version: want file and product version $EXPECTED_VERSION, got file $file_version, product $product_version"
    fi
}

# Four-part version from the MS/LS DWORD pair at OFFSET.
version_at() {
    local ms ls
    if ! ms=$(read_le "$1" "$2" 4) || ! ls=$(read_le "$1" $(($2 + 4)) 4); then
        echo "(truncated)"
        return
    fi
    echo "$((ms >> 16)).$((ms & 0xffff)).$((ls >> 16)).$((ls & 0xffff))"
}

# The file's properties read the version record with id 1 (VS_VERSION_INFO).
check_version_translation() {
    local raw=$WORK/version_info.bin
    wrestool -x --raw --type=16 --name=1 "$EXE" >"$raw" 2>/dev/null
    [[ -s $raw ]] || { fail "version: no RT_VERSION (type 16) resource with id 1"; return; }
    run_helper version version_translation.py "$raw"
}

# --- main ------------------------------------------------------------------

[[ $# -eq 2 ]] || usage
EXE=$1
ARCH=$2
[[ $ARCH == i686 || $ARCH == x86_64 ]] || usage

require_tools
check_exists
WORK=$(mktemp -d) || die "cannot create a temporary folder"
trap 'rm -rf "$WORK"' EXIT
RESOURCES=$(wrestool -l "$EXE" 2>&1) || die "wrestool -l could not read $EXE: $RESOURCES"

check_format
check_subsystem
check_dll_characteristics
check_no_writable_executable_section
check_imports
check_icon
check_manifest
check_execution_level
check_version
check_version_translation

if [[ $failures -gt 0 ]]; then
    echo "check_pe: $failures check(s) failed for $EXE ($ARCH)" >&2
    exit 1
fi
echo "check_pe: all checks passed for $EXE ($ARCH)"
