#!/usr/bin/env bash
# host-from-install.sh prefix|packages BUILD_DIR HOST_SOURCE SOURCE_DIR
#   prefix:   cmake --install into a temporary prefix, build the host there
#   packages: make the Debian packages, check what each lists, unpack them
#             into a scratch root and build the host against that root
# Either way the host must be built from the installed files alone and run.
set -euo pipefail
mode="$1" build="$2" host="$3" source="$4"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# lists DEB ENTRY...: every entry is among the package's paths.
lists() {
  local deb="$1"; shift
  local contents
  contents="$(dpkg-deb --contents "$deb" | awk '{print $6}')"
  for entry in "$@"; do
    grep -qx "$entry" <<<"$contents" || fail "$(basename "$deb") lacks $entry"
  done
  if grep -q '/src/' <<<"$contents"; then fail "$(basename "$deb") ships a source folder"; fi
}

if [ "$mode" = prefix ]; then
  root="$work/prefix"
  cmake --install "$build" --prefix "$root" >/dev/null
else
  cpack --config "$build/CPackConfig.cmake" -B "$work/debs" >/dev/null
  lib="$(dpkg-deb --contents "$work/debs"/libqvuser0_*.deb | awk '{print $6}' | grep -m1 '/libqvuser\.so\.' | xargs dirname)"
  lists "$work/debs"/libqvuser0_*.deb "$lib/libqvuser.so.0" "$lib/libqvplatform.so.0" "$lib/libqvdata.so.0" \
    ./usr/share/qvuser/1033/qvres.txt ./usr/share/qvuser/1033/qvhelp/index.html ./usr/share/qvuser/1033/tutorial/
  lists "$work/debs"/libqvuser-dev_*.deb ./usr/include/qvuser/DVUser.h ./usr/include/qvuser/QVUser.h \
    ./usr/include/qvuser/ado/Recordset.h ./usr/include/qvuser/automation/ComError.h ./usr/include/qvuser/ui/Modal.h \
    "$lib/cmake/QVUser/QVUserConfig.cmake" "$lib/pkgconfig/qvuser.pc" "$lib/libqvuser.so"
  lists "$work/debs"/qvdemo_*.deb ./usr/bin/qvdemo ./usr/bin/qvsamplegen ./usr/bin/qvhostd
  dpkg-deb -f "$work/debs"/qvdemo_*.deb Depends | grep -q 'libqvuser0' || fail "qvdemo does not depend on libqvuser0"
  dpkg-deb -f "$work/debs"/libqvuser0_*.deb Depends | grep -q 'libqt6widgets6' || fail "libqvuser0 does not depend on Qt"
  for deb in "$work/debs"/*.deb; do dpkg -x "$deb" "$work/unpacked"; done
  root="$work/unpacked/usr"
fi

# pkg-config answers the unpacked folders, wherever they are.
included="$(PKG_CONFIG_PATH="$(dirname "$(find "$root" -name qvuser.pc)")" pkg-config --variable=includedir qvuser)"
[ "$(realpath "$included")" = "$(realpath "$root/include")" ] || fail "pkg-config points at $included, not into $root"

cmake -S "$host" -B "$work/host" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_PREFIX_PATH="$root" \
  -DCMAKE_EXPORT_COMPILE_COMMANDS=ON ${CMAKE_CXX_COMPILER_LAUNCHER:+-DCMAKE_CXX_COMPILER_LAUNCHER=ccache} >/dev/null
cmake --build "$work/host" >/dev/null
if grep -q -e "$source/src" -e "-I$source/include" "$work/host/compile_commands.json"; then
  fail "the host was compiled with the source tree on its include path"
fi

out="$(QT_QPA_PLATFORM=offscreen "$work/host/qvinstalledhost")"
echo "$out"
expected=$'view Offices\nrow Leeds 42\nerror 424 QVUSER.DVUser.GetValueListDictionary(): QVUSER'
[ "$out" = "$expected" ] || fail "the host printed something else than: $expected"
