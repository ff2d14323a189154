#!/usr/bin/env bash
# Installs what building, running and testing the program needs, on Debian,
# as root. Packages already installed are left alone; nothing is downloaded
# when nothing is missing.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev
  libgtest-dev libbenchmark-dev
  libboost-math-dev
  clang libclang-rt-14-dev
  fonts-liberation2 fontconfig
  locales
  xvfb xauth
  dpkg-dev file desktop-file-utils appstream librsvg2-bin lintian
  shared-mime-info poppler-utils
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# A comma-decimal locale, for the test that number texts ignore the locale.
if ! locale -a 2>/dev/null | grep -qi '^de_DE\.utf-\?8$'; then
  grep -q '^de_DE.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null || echo 'de_DE.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi
