#!/usr/bin/env bash
# Sourced by the other scripts: installs the Debian packages Coastra and its
# companions use when they are missing and the script runs as root; otherwise
# names the missing ones. The build itself works without the optional ones
# (libnetcdf-dev for NetCDF output, python3-* for coastra-plot, parallel for
# coastra-ensemble).
coastra_debian_packages() {
  command -v dpkg-query >/dev/null 2>&1 || return 0
  local wanted=(g++ cmake libgtest-dev libnetcdf-dev python3-numpy python3-matplotlib parallel)
  local missing=()
  for p in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -eq 0 ] && command -v apt-get >/dev/null 2>&1; then
    echo "Installing Debian packages: ${missing[*]}"
    apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
      "${missing[@]}" >/dev/null
  else
    echo "Missing Debian packages (run as root to install them): ${missing[*]}"
  fi
}
