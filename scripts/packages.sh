# Installs the Debian packages that are missing, one short line per step;
# apt's own output goes to a log that is shown only when a step fails.
# Sourced by scripts/run, scripts/test and bench/run.

# The packages every build and test of the project needs.
STARTWIN_PACKAGES=(
  cmake make g++ python3 libgtest-dev
  g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  wine wine64 xvfb x11-utils xdotool libx11-dev libxtst-dev icoutils imagemagick
)
# Debian's 32-bit Wine, for the shipped i686 program; a multiarch install.
STARTWIN_I386_PACKAGES=(wine32:i386)
# The full-system emulator that runs the i686 program where the kernel
# refuses 32-bit code.
STARTWIN_EMULATOR_PACKAGES=(qemu-system-x86 qemu-system-data busybox-static)

_installed() {
  dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'
}

# Runs an apt step quietly; on failure shows the end of its log.
_apt_step() {
  local what=$1 log
  shift
  echo "  $what"
  log=$(mktemp)
  if ! DEBIAN_FRONTEND=noninteractive "$@" >"$log" 2>&1; then
    tail -n 20 "$log" >&2
    rm -f "$log"
    echo "error: $what failed" >&2
    return 1
  fi
  rm -f "$log"
}

require_packages() {
  local missing=() package
  for package in "$@"; do
    _installed "$package" || missing+=("$package")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing ${#missing[@]} missing Debian package(s): ${missing[*]}"
  if [ "$(id -u)" -ne 0 ]; then
    echo "error: installing packages needs root (run this command as root)" >&2
    return 1
  fi
  local wants_i386=no
  for package in "${missing[@]}"; do
    [[ $package == *:i386 ]] && wants_i386=yes
  done
  if [ "$wants_i386" = yes ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    _apt_step "adding the i386 architecture" dpkg --add-architecture i386 || return 1
  fi
  _apt_step "updating the package lists" apt-get update -q || return 1
  _apt_step "installing" apt-get install -y -q --no-install-recommends "${missing[@]}" || return 1
  echo "  done"
}
