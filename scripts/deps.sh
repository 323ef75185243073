#!/usr/bin/env bash
# Installs what building, running and testing Oskal needs, where it is missing (Debian 12).
set -euo pipefail
packages=(build-essential cmake ninja-build qt6-base-dev qt6-translations-l10n libsqlite3-dev sqlite3 libxcb-xkb-dev fonts-liberation fonts-wqy-microhei xvfb xauth xdotool poppler-utils)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
