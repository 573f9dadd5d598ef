#!/usr/bin/env bash
# transient-under-xvfb.sh QVHOSTD SAMPLES_FOLDER
#
# Under a virtual X display, Insert Data asked with a host window's id comes
# up transient for that window (WM_TRANSIENT_FOR), and the end of the host
# process's input closes the open dialog: the request answers cancelled and
# the process ends.
set -euo pipefail
qvhostd="${1:?usage: transient-under-xvfb.sh QVHOSTD SAMPLES_FOLDER}" samples="${2:?samples folder}"
if [ "${QV_UNDER_XVFB:-}" != 1 ]; then
  QV_UNDER_XVFB=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi
fail() { echo "FAIL: $*" >&2; exit 1; }
work="$(mktemp -d)"
host=""
cleanup() {
  [ -z "$host" ] || kill "$host" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
export QT_QPA_PLATFORM=xcb QV_REGISTRY_ROOT="$work/registry" QV_DATA_ROOT="$work/data" XDG_RUNTIME_DIR="$work/runtime"
mkdir -p "$QV_REGISTRY_ROOT" "$QV_DATA_ROOT" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
"$qvhostd" --personal "$samples/qvDataView Sample.cfg"

# The root window stands for the asking host's window.
asking="$(xwininfo -root | sed -n 's/.*Window id: \(0x[0-9a-f]*\).*/\1/p')"
echo "[{\"log\": \"$work/log\"}]" >"$work/script.json"
mkfifo "$work/input"
QVHOSTD_SCRIPT="$work/script.json" "$qvhostd" <"$work/input" >"$work/answers" &
host=$!
exec 3>"$work/input"
echo "{\"request\": \"insert-data\", \"dataView\": {\"name\": \"Sample Customers\"}, \"window\": $((asking))}" >&3

# The scripted step logs once the dialog shows its rows.
deadline=$((SECONDS + 120))
until [ -s "$work/log" ]; do
  [ $SECONDS -lt $deadline ] || fail "the Insert Data dialog did not come"
  kill -0 "$host" 2>/dev/null || fail "the host process ended"
  sleep 0.1
done
dialog="$(xwininfo -root -tree | awk '/"Insert Data"/ {print $1; exit}')"
[ -n "$dialog" ] || fail "no window is called Insert Data"
parent="$(xprop -id "$dialog" WM_TRANSIENT_FOR | sed -n 's/.*window id # \(0x[0-9a-f]*\).*/\1/p')"
[ "$((parent))" = "$((asking))" ] || fail "the dialog is transient for ${parent:-nothing}, not for $asking"

exec 3>&-
wait "$host" || fail "the host process failed when its input ended"
host=""
grep -q '"cancelled":true' "$work/answers" || fail "the open request answered $(cat "$work/answers")"
echo "Insert Data came up transient for $asking and was cancelled when the input ended"
