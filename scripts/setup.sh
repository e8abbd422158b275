#!/usr/bin/env bash
# Installs what the build and the tests need and builds the two libraries the Windows
# build links statically (JsonCpp from Debian's source package, GoogleTest from
# /usr/src/googletest); the header-only libraries (stb, CLI11, RapidJSON) are shared with the Windows
# build through links.
# Safe to run again: every step is skipped when already done.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${BTL_BUILD:-$root/build}
prefix=$build/deps/mingw
mkdir -p "$build/deps"

packages=(cmake ninja-build g++ pkg-config libgtest-dev libgmock-dev googletest libbenchmark-dev
  libjsoncpp-dev libstb-dev libcli11-dev rapidjson-dev g++-mingw-w64-x86-64-posix mingw-w64-tools binutils-mingw-w64-x86-64
  wine wine64 xvfb xdotool imagemagick fonts-wqy-zenhei dpkg-dev clang clang-format locales time
  python3-markdown unzip x11-utils nettle-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine takes its code page and the encoding of file names from the glibc locale: without
# zh_CN.UTF-8 installed, LANG=zh_CN.UTF-8 falls back to ASCII and Chinese paths fail.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  echo "setup: generating the zh_CN.UTF-8 locale"
  localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi

toolchain=$root/cmake/mingw-w64.cmake

if [ ! -f "$prefix/lib/libjsoncpp.a" ]; then
  echo "setup: building JsonCpp for MinGW"
  src=$build/deps/src
  mkdir -p "$src"
  if [ ! -f "$src/libjsoncpp/CMakeLists.txt" ]; then
    # A deb-src entry made from the machine's own binary sources.
    list=/etc/apt/sources.list.d/btl-deb-src.sources
    if [ ! -f "$list" ]; then
      sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources > "$list"
      apt-get update -qq
    fi
    (cd "$src" && apt-get source -qq --download-only libjsoncpp >/dev/null 2>&1 || \
      (apt-get update -qq && apt-get source -qq --download-only libjsoncpp >/dev/null))
    mkdir -p "$src/libjsoncpp"
    tar xf "$src"/libjsoncpp_*.orig.tar.gz -C "$src/libjsoncpp" --strip-components=1
  fi
  jdir=$src/libjsoncpp
  cmake -S "$jdir" -B "$build/deps/jsoncpp-build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DJSONCPP_WITH_TESTS=OFF -DJSONCPP_WITH_POST_BUILD_UNITTEST=OFF -DJSONCPP_WITH_PKGCONFIG_SUPPORT=OFF \
    -DBUILD_SHARED_LIBS=OFF -DBUILD_STATIC_LIBS=ON -DBUILD_OBJECT_LIBS=OFF >/dev/null
  cmake --build "$build/deps/jsoncpp-build" >/dev/null
  cmake --install "$build/deps/jsoncpp-build" >/dev/null
fi

if [ ! -f "$prefix/lib/libgtest.a" ]; then
  echo "setup: building GoogleTest for MinGW"
  cmake -S /usr/src/googletest -B "$build/deps/gtest-build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" -DBUILD_GMOCK=OFF \
    -Dgtest_disable_pthreads=OFF >/dev/null
  cmake --build "$build/deps/gtest-build" >/dev/null
  cmake --install "$build/deps/gtest-build" >/dev/null
fi
# stb, CLI11 and RapidJSON are headers only: the Windows build takes Debian's copies through links in
# its own prefix, so the cross compiler does not search the rest of /usr/include.
mkdir -p "$prefix/include"
for headers in stb CLI rapidjson; do
  [ -e "$prefix/include/$headers" ] || ln -sfn "/usr/include/$headers" "$prefix/include/$headers"
done
echo "setup: ready"
