#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need,
# and only those that are missing. Runs apt-get update at most once.
set -euo pipefail
# qt6-svg-dev builds with Qt SVG; libqt6svg6 holds the plugins that draw the
# program's SVG pictures at run time. qt6-translations-l10n holds Qt's own
# texts in French; desktop-file-utils checks the installed menu entry.
# libglpk-dev: the linear and mixed-integer solver behind the proposals of
# foods and grams that complete a day.
# The Debian package: librsvg2-bin renders the PNG icons from the SVG,
# dpkg-dev computes the library dependencies (dpkg-shlibdeps); lintian,
# appstream (appstreamcli) and devscripts (hardening-check) check the package.
# clang-format checks the layout of the code (make format-check).
PKGS="g++ clang libclang-rt-14-dev cmake make qt6-base-dev qt6-svg-dev libqt6svg6 libshp-dev libbenchmark-dev \
fonts-liberation fontconfig xvfb xauth poppler-utils python3-dbfread python3-dbf \
qt6-translations-l10n desktop-file-utils libglpk-dev librsvg2-bin dpkg-dev lintian appstream devscripts clang-format"
missing=""
for p in $PKGS; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $p"
  fi
done
[ -z "$missing" ] && exit 0
echo "Installation des paquets manquants :$missing"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null 2>&1; then SUDO="sudo"; else
    echo "Paquets manquants et ni root ni sudo : $missing" >&2; exit 1; fi
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends $missing
