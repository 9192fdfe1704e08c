#!/usr/bin/env bash
# Installs the Debian packages the build, the data pipeline and the tests need,
# but only those that are missing. Runs apt-get as root, or through sudo.
set -euo pipefail
packages=(
  g++ make cmake pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev qt6-tools-dev qt6-l10n-tools qt6-tools-dev-tools qt6-translations-l10n liberfa-dev libjpeg62-turbo-dev
  fonts-liberation xvfb xauth tzdata
  clang libfuzzer-14-dev libclang-rt-14-dev
  python3-ephem
  lintian desktop-file-utils appstream dpkg-dev file poppler-utils python3-icalendar calcurse
  ccache help2man
)
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing missing packages: ${missing[*]}" >&2
if [ "$(id -u)" -eq 0 ]; then sudo=(); else sudo=(sudo); fi
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
