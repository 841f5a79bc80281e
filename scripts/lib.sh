# shellcheck shell=bash
# Sourced by the scripts: the repository's root, installing missing Debian packages, and
# configuring a build folder from a CMake preset (CMakePresets.json).
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# install_missing PACKAGE...: installs those of the Debian packages that are not installed yet.
# Installing needs root; without it the missing packages are named and the call fails.
install_missing() {
  local missing=() p
  for p in "$@"; do
    [ "$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null)" = "install ok installed" ] || missing+=("$p")
  done
  ((${#missing[@]})) || return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "These packages are missing and installing them needs root: ${missing[*]}" >&2
    return 1
  fi
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# configure_preset PRESET [CMAKE_OPTION...]: configures the preset's build folder, or the one
# given with -B. A compiler cache, when there is one, makes the second build of the same
# sources (the sanitizer build, a rerun) fast.
configure_preset() {
  local preset=$1 launcher=()
  shift
  if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache); fi
  cmake --preset "$preset" -S "$root" "${launcher[@]}" "$@" >/dev/null
}
