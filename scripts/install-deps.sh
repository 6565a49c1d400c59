#!/usr/bin/env bash
# Installs the Debian packages that building and testing Orvalis needs.
# As root it uses apt-get; otherwise it prints the command to run and fails.
set -euo pipefail

# The database servers serve the round-trip suites (tests/roundtrip): Firebird 3
# runs embedded inside isql-fb, MariaDB as a private server that the tests
# start on a socket of their own; they use no system service.
packages=(cmake ninja-build g++ libgtest-dev libgmock-dev libbenchmark-dev
          qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins libgl-dev
          firebird3.0-utils firebird3.0-server-core mariadb-server mariadb-client)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update
  apt-get install -y "${missing[@]}"
else
  echo "Missing packages. Install them with:" >&2
  echo "  sudo apt-get install ${missing[*]}" >&2
  exit 1
fi
