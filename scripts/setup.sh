#!/usr/bin/env bash
# Installs everything the build and the tests need on a Debian machine (run as root).
# Safe to run again: it installs only what is missing.
set -euo pipefail

need=()
have_pkg() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  updated=0
fi
for p in cmake ninja-build g++-mingw-w64-i686-posix gcc-mingw-w64-i686-posix wine wine32 wine64 \
         xvfb xauth x11-utils xdotool imagemagick fonts-ipafont-gothic locales googletest \
         clang-format clang python3 zip unzip; do
  have_pkg "$p" || need+=("$p")
done
if ((${#need[@]})); then
  echo "setup: installing ${need[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${need[@]}" >/dev/null
elif [[ ${updated:-1} == 0 ]]; then
  apt-get update -qq
fi

if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen
  locale-gen >/dev/null
fi

# libFuzzer and the sanitizer runtimes of the host tests come in a package of their own for the
# installed clang, where the release has one.
clang_rt="libclang-rt-$(clang++ -dumpversion | cut -d. -f1)-dev"
if ! have_pkg "$clang_rt" && apt-cache show "$clang_rt" >/dev/null 2>&1; then
  echo "setup: installing $clang_rt"
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$clang_rt" >/dev/null
fi
