#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need; skips what is there.
set -euo pipefail
packages=(cmake g++ make pkg-config qt6-base-dev libjpeg62-turbo-dev libgtest-dev googletest
          fonts-ipafont-gothic qt6-translations-l10n xvfb xauth xdotool imagemagick libjpeg-turbo-progs)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing: ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
fi
