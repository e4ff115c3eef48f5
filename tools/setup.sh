#!/usr/bin/env bash
# One-time machine set-up for building and testing: packages, cross-built
# dependencies and the project's Wine prefix. Idempotent; fast when done.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tools/env.sh
. "$here/env.sh"

die() { echo "setup: $*" >&2; exit 1; }
as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

packages=(
  g++-mingw-w64-i686-posix mingw-w64-tools libz-mingw-w64-dev
  cmake ninja-build make autoconf automake libtool pkg-config dpkg-dev xz-utils
  wine wine32:i386
  libgl1:i386 libglx-mesa0:i386 libgl1-mesa-dri:i386
  libasound2:i386 libasound2-plugins:i386 libmpg123-0:i386
  xvfb xauth x11-utils libxcomposite1:i386 fonts-dejavu-core googletest
  python3 imagemagick ffmpeg lame
)

have_all_packages() {
  local p
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || return 1
  done
}

enable_sources() {
  local f=/etc/apt/sources.list.d/debian.sources changed=0
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    as_root dpkg --add-architecture i386; changed=1
  fi
  if [ -f "$f" ] && grep -q '^Types: deb$' "$f"; then
    as_root sed -i 's/^Types: deb$/Types: deb deb-src/' "$f"; changed=1
  elif [ -f /etc/apt/sources.list ] && ! grep -q '^deb-src' /etc/apt/sources.list \
       && grep -q '^deb ' /etc/apt/sources.list; then
    sed -n 's/^deb /deb-src /p' /etc/apt/sources.list | as_root tee -a /etc/apt/sources.list >/dev/null
    changed=1
  fi
  return $changed
}

install_packages() {
  local fresh=0
  enable_sources || fresh=1
  if [ $fresh = 1 ] || ! have_all_packages; then
    as_root apt-get update -qq || die "apt-get update failed"
    DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq --no-install-recommends "${packages[@]}" \
      || die "could not install the packages: ${packages[*]}"
  fi
}

# Some virtual machines run no 32-bit Linux programs (exec format error), and
# Wine's loader is one. There the loader runs under qemu's user-mode emulator,
# registered with binfmt_misc; the backports' qemu is needed because it keeps
# MAP_FIXED_NOREPLACE, without which Wine's address-space reservation crawls.
# wine64 brings a native wineserver.
enable_i386_programs() {
  /lib/ld-linux.so.2 --version >/dev/null 2>&1 && return 0
  local binfmt=/proc/sys/fs/binfmt_misc
  [ -e "$binfmt/register" ] || as_root mount -t binfmt_misc binfmt_misc "$binfmt" \
    || die "this machine runs no 32-bit programs and binfmt_misc cannot be mounted"
  if ! dpkg-query -W -f='${Status}' qemu-user-static 2>/dev/null | grep -q 'install ok installed' \
     || ! qemu-i386-static --version 2>/dev/null | grep -qE 'version ([89]|[1-9][0-9])\.'; then
    local codename uri list=/etc/apt/sources.list.d/vistello-backports.list
    codename=$(. /etc/os-release && echo "$VERSION_CODENAME")
    uri=$(sed -n 's/^URIs: *//p' /etc/apt/sources.list.d/debian.sources 2>/dev/null | head -n1)
    [ -n "$uri" ] || uri=$(awk '$1 == "deb" { print $2; exit }' /etc/apt/sources.list 2>/dev/null)
    [ -n "$uri" ] && [ -n "$codename" ] || die "cannot tell where the backports are"
    echo "deb $uri $codename-backports main" | as_root tee "$list" >/dev/null
    as_root apt-get update -qq || die "apt-get update failed"
    DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq --no-install-recommends \
      -t "$codename-backports" qemu-user-static || die "could not install qemu-user-static"
  fi
  dpkg-query -W -f='${Status}' wine64 2>/dev/null | grep -q 'install ok installed' \
    || DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq --no-install-recommends wine64 \
    || die "could not install wine64"
  if [ ! -e "$binfmt/qemu-i386" ]; then
    printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' \
      | as_root tee "$binfmt/register" >/dev/null || die "could not register qemu for 32-bit programs"
  fi
  /lib/ld-linux.so.2 --version >/dev/null 2>&1 || die "32-bit programs still do not run"
  echo "setup: 32-bit programs run under qemu-i386 on this machine"
}

# Fetches the upstream tarball of a Debian source package into $1's work dir
# and unpacks it; prints the unpacked folder.
fetch_source() {
  local pkg=$1 work=$2 tarball dir
  mkdir -p "$work"
  (cd "$work" && { ls "${pkg}"_*.orig.tar.* >/dev/null 2>&1 || apt-get source --download-only -qq "$pkg" >/dev/null 2>&1 || true; })
  tarball=$(ls "$work/${pkg}"_*.orig.tar.* 2>/dev/null | grep -v '\.asc$' | head -n1 || true)
  [ -n "$tarball" ] || die "the source of Debian package '$pkg' cannot be had (apt-get source $pkg)"
  dir="$work/src"
  rm -rf "$dir" && mkdir -p "$dir"
  tar -xf "$tarball" -C "$dir" --strip-components=1
  echo "$dir"
}

# The version of a source package that apt would fetch; keys the cache.
source_version() {
  apt-cache showsrc "$1" 2>/dev/null | sed -n 's/^Version: //p' | sort -V | tail -n1
}

build_dep() {
  local name=$1 pkg=$2 ver stamp src
  ver=$(source_version "$pkg")
  [ -n "$ver" ] || die "no source package '$pkg' in the apt lists (deb-src enabled?)"
  stamp="$VISTELLO_DEPS/stamps/$name-$ver"
  [ -f "$stamp" ] && return 0
  echo "setup: building $name $ver for mingw"
  src=$(fetch_source "$pkg" "$VISTELLO_DEPS/work/$name")
  local log="$VISTELLO_DEPS/work/$name/build.log"
  if ! ( cd "$src" && "build_$name" ) >"$log" 2>&1; then
    tail -n 30 "$log" >&2
    die "building $name failed (log: $log)"
  fi
  mkdir -p "$VISTELLO_DEPS/stamps" && touch "$stamp"
  rm -rf "$VISTELLO_DEPS/work/$name/src"
}

host=i686-w64-mingw32
autotools_build() {
  [ -x ./configure ] || autoreconf -fi
  CC=$host-gcc-posix CXX=$host-g++-posix AR=$host-ar RANLIB=$host-ranlib \
  CPPFLAGS="-I$VISTELLO_DEPS/include" LDFLAGS="-L$VISTELLO_DEPS/lib" \
  CFLAGS="-O2 -msse2 -mfpmath=sse" PKG_CONFIG_LIBDIR="$VISTELLO_DEPS/lib/pkgconfig" \
    ./configure --host=$host --prefix="$VISTELLO_DEPS" --disable-shared --enable-static "$@"
  make -j"$(nproc)"
  make install
}
cmake_build() {
  cmake -S "${CMAKE_SRC:-.}" -B _build -G Ninja -DCMAKE_SYSTEM_NAME=Windows -DCMAKE_SYSTEM_PROCESSOR=i686 \
    -DCMAKE_C_COMPILER=$host-gcc-posix -DCMAKE_CXX_COMPILER=$host-g++-posix \
    -DCMAKE_RC_COMPILER=$host-windres -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_C_FLAGS="-msse2 -mfpmath=sse" \
    -DCMAKE_INSTALL_PREFIX="$VISTELLO_DEPS" "$@"
  cmake --build _build
  cmake --install _build
}

build_zlib() {
  # Debian ships zlib for mingw as a binary package; copy it into the cache so
  # every dependency and our code link one zlib.
  cp /usr/$host/include/zlib.h /usr/$host/include/zconf.h "$VISTELLO_DEPS/include/"
  cp /usr/$host/lib/libz.a "$VISTELLO_DEPS/lib/"
  mkdir -p "$VISTELLO_DEPS/lib/pkgconfig"
  printf 'prefix=%s\nlibdir=${prefix}/lib\nincludedir=${prefix}/include\nName: zlib\nDescription: zlib\nVersion: 1.2\nLibs: -L${libdir} -lz\nCflags: -I${includedir}\n' \
    "$VISTELLO_DEPS" > "$VISTELLO_DEPS/lib/pkgconfig/zlib.pc"
}
build_libpng() { autotools_build; }
build_libjpeg() { cmake_build -DENABLE_SHARED=OFF -DENABLE_STATIC=ON -DWITH_SIMD=OFF -DWITH_TURBOJPEG=OFF -DWITH_JPEG7=OFF -DWITH_JPEG8=OFF; }
build_expat() { CMAKE_SRC=expat cmake_build -DEXPAT_CHAR_TYPE=wchar_t -DEXPAT_SHARED_LIBS=OFF -DEXPAT_BUILD_TOOLS=OFF -DEXPAT_BUILD_EXAMPLES=OFF -DEXPAT_BUILD_TESTS=OFF -DEXPAT_BUILD_DOCS=OFF -DEXPAT_BUILD_PKGCONFIG=ON; }
build_lzma() { autotools_build --disable-xz --disable-xzdec --disable-lzmadec --disable-lzmainfo --disable-scripts --disable-doc --disable-nls --disable-threads; }
build_pixman() { autotools_build --disable-gtk --disable-libpng --disable-openmp --disable-arm-simd --disable-arm-neon --disable-mmx; }
build_cairo() {
  autotools_build --enable-win32 --enable-win32-font --disable-xlib --disable-xcb --disable-ft --disable-fc \
    --disable-png --disable-svg --disable-pdf --disable-ps --disable-script --disable-gobject \
    --disable-trace --disable-interpreter --disable-full-testing --disable-valgrind \
    LIBS="-lgdi32 -lmsimg32 -lssp"
}

build_dependencies() {
  mkdir -p "$VISTELLO_DEPS/include" "$VISTELLO_DEPS/lib"
  local zver; zver=$(dpkg-query -W -f='${Version}' libz-mingw-w64-dev)
  if [ ! -f "$VISTELLO_DEPS/stamps/zlib-$zver" ]; then
    build_zlib; mkdir -p "$VISTELLO_DEPS/stamps"; touch "$VISTELLO_DEPS/stamps/zlib-$zver"
  fi
  build_dep libpng libpng1.6
  build_dep libjpeg libjpeg-turbo
  build_dep expat expat
  build_dep lzma xz-utils
  build_dep pixman pixman
  build_dep cairo cairo
}

prepare_prefix() {
  # ALSA null device so waveOut has a device without sound hardware.
  [ -f "$HOME/.asoundrc" ] || printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' > "$HOME/.asoundrc"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "setup: creating the Wine prefix $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || die "wineboot could not create $WINEPREFIX"
    wineserver -w
  fi
  # Unmanaged windows: without a window manager on Xvfb, Wine otherwise waits
  # for every managed window to be withdrawn when it is destroyed.
  if ! grep -q '"Managed"="N"' "$WINEPREFIX/user.reg" 2>/dev/null; then
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 \
      || die "could not configure the Wine prefix"
    # Saves the registry now and leaves no short-lived server (started here
    # without a display) behind for the test run to take for its own.
    wineserver -k >/dev/null 2>&1 || true
  fi
}

install_packages
enable_i386_programs
build_dependencies
prepare_prefix
echo "setup: ready (dependencies in $VISTELLO_DEPS, Wine prefix $WINEPREFIX)"
