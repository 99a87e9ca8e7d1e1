#!/usr/bin/env bash
# Installs with apt-get the Debian packages this machine lacks. Each named
# package is checked first and only the missing ones are installed (after one
# apt-get update), which needs root.
#   ensure_tools.sh PKG...             required: without root, the missing ones
#                                      are named and the script fails
#   ensure_tools.sh --optional PKG...  optional (NetCDF output, the plot and
#                                      ensemble companions): without root, the
#                                      missing ones are named and the build goes on
set -euo pipefail

optional=false
if [ "${1:-}" = --optional ]; then
  optional=true
  shift
fi

# Debian's own Python (a python3 earlier on PATH may not see Debian's modules).
py=/usr/bin/python3
have() {
  case "$1" in
    libgtest-dev) [ -f /usr/include/gtest/gtest.h ] ;;
    libnetcdf-dev) [ -f /usr/include/netcdf.h ] ;;
    netcdf-bin) command -v ncdump >/dev/null 2>&1 ;;
    clang) command -v clang++ >/dev/null 2>&1 ;;
    python3-numpy) [ -x "$py" ] && "$py" -c "import numpy" 2>/dev/null ;;
    python3-matplotlib) [ -x "$py" ] && "$py" -c "import matplotlib" 2>/dev/null ;;
    python3-netcdf4) [ -x "$py" ] && "$py" -c "import netCDF4" 2>/dev/null ;;
    *) command -v "$1" >/dev/null 2>&1 ;;
  esac
}

missing=()
for pkg in "$@"; do
  have "$pkg" || missing+=("$pkg")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ] || ! command -v apt-get >/dev/null 2>&1; then
  echo "Missing Debian packages: ${missing[*]} (install them with apt-get as root)" >&2
  $optional && exit 0
  exit 1
fi
echo "Installing ${missing[*]} with apt-get"
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq
apt-get install -y -qq --no-install-recommends "${missing[@]}"
