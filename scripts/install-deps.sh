#!/usr/bin/env bash
# Installs the Debian packages needed to build, run and test Quillet Vado.
# Run as root (or through sudo); packages already present are skipped.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config clang-format
  qt6-base-dev qt6-base-dev-tools libqt6svg6 qt6-image-formats-plugins
  # The rich text control lays out long documents in slices through Qt's document layout class.
  qt6-base-private-dev
  libicu-dev zlib1g-dev libjpeg-dev
  libhunspell-dev hunspell-en-us
  libsndfile1-dev libasound2-dev
  qt6-svg-dev libemf2svg-dev libwmf-dev fonts-urw-base35
  libquazip1-qt6-dev
  xvfb xauth
  xdg-utils
  poppler-utils
  # Metric-compatible faces for the fonts documents from other systems ask for: Times New Roman,
  # Arial, Courier New (Liberation), Calibri (Carlito), Cambria (Caladea); fontconfig's own
  # aliases map the names. WenQuanYi Micro Hei draws Chinese, Japanese and Korean text in 5 MB.
  fonts-liberation2 fonts-crosextra-carlito fonts-crosextra-caladea fonts-wqy-microhei fontconfig
  # The launcher and software-centre entry are validated by the install test.
  desktop-file-utils appstream
  # The Debian package's dependencies are computed by dpkg-shlibdeps.
  dpkg-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
