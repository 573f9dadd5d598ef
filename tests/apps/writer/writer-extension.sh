#!/usr/bin/env bash
# writer-extension.sh insert|kill|time EXTENSION QVHOSTD SAMPLES_FOLDER
#
# The Writer extension in a headless Writer of its own: a temporary user
# profile, the extension added with unopkg, Writer accepting a pipe, and
# writer_driver.py working the Data Views menu's commands while the host
# process takes scripted answers.
#   insert: Insert Data of three sample customers as a table with header in
#           a Writer table style after the selection, saved as .odt and its
#           content.xml checked; then, in a Writer started afresh on the
#           saved file, Insert Data again comes up with the same rows ticked.
#   kill:   the host process is killed while its dialog is open: Writer
#           answers the error and the document is unchanged.
#   time:   the time from the menu command to the dialog on screen, with the
#           host process started for it and already running (bench/ uses it).
set -euo pipefail
mode="${1:?usage: writer-extension.sh insert|kill|time EXTENSION QVHOSTD SAMPLES_FOLDER}"
extension="${2:?extension}" qvhostd="${3:?qvhostd}" samples="${4:?samples folder}"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"

fail() { echo "FAIL: $*" >&2; exit 1; }
# python3 with the UNO bridge: the system's, whatever else PATH puts first.
python=""
for candidate in python3 /usr/bin/python3; do
  if "$candidate" -c 'import uno' 2>/dev/null; then python="$candidate"; break; fi
done
[ -n "$python" ] || fail "no python3 with the UNO bridge (python3-uno)"
command -v soffice >/dev/null && command -v unopkg >/dev/null || fail "no LibreOffice (./qv deps installs it)"

work="$(mktemp -d)"
soffice_pid=""
stop_writer() {
  [ -n "$soffice_pid" ] || return 0
  kill "$soffice_pid" 2>/dev/null || true
  wait "$soffice_pid" 2>/dev/null || true
  soffice_pid=""
}
cleanup() {
  stop_writer
  # Host processes end with Writer (their input closes); one that did not is ended here.
  for log in "$work"/log*; do
    [ -f "$log" ] || continue
    for pid in $(sed -n 's/.*"pid":\([0-9]*\).*/\1/p' "$log"); do
      kill -9 "$pid" 2>/dev/null || true
    done
  done
  rm -rf "$work"
}
trap cleanup EXIT

export QV_REGISTRY_ROOT="$work/registry" QV_DATA_ROOT="$work/data" XDG_CONFIG_HOME="$work/config"
export XDG_RUNTIME_DIR="$work/runtime" HOME="$work/home" QVUSER_HOSTD="$qvhostd"
mkdir -p "$QV_REGISTRY_ROOT" "$QV_DATA_ROOT" "$XDG_CONFIG_HOME" "$XDG_RUNTIME_DIR" "$HOME"
chmod 700 "$XDG_RUNTIME_DIR"
"$qvhostd" --personal "$samples/qvDataView Sample.cfg" || fail "the samples could not be made the personal configuration"

profile=(-env:UserInstallation="file://$work/profile")
# unopkg refuses a user install as root; root's goes to a shared cache of the test's own.
if [ "$(id -u)" -eq 0 ]; then
  profile+=(-env:UNO_SHARED_PACKAGES_CACHE="file://$work/shared")
  unopkg add --shared "${profile[@]}" "$extension" || fail "unopkg could not add $extension"
else
  unopkg add "${profile[@]}" "$extension" || fail "unopkg could not add $extension"
fi

pipe="qvwriter$$"
# start_writer SCRIPT: a headless Writer whose host processes take SCRIPT's answers.
start_writer() {
  QVHOSTD_SCRIPT="$1" soffice --headless --invisible --norestore --nologo --nodefault "${profile[@]}" \
    --accept="pipe,name=$pipe;urp;StarOffice.ComponentContext" >>"$work/soffice.log" 2>&1 &
  soffice_pid=$!
}
# quit_writer: Writer ends as an author closes it; its host process goes with it.
quit_writer() {
  "$python" "$here/writer_driver.py" "$pipe" quit
  wait "$soffice_pid" 2>/dev/null || true
  soffice_pid=""
}
driver() { timeout 300 "$python" "$here/writer_driver.py" "$pipe" "$@"; }

if [ "$mode" = kill ]; then
  echo "[{\"log\": \"$work/log-kill\"}]" >"$work/script-kill.json"
  start_writer "$work/script-kill.json"
  driver kill "$work/log-kill" || fail "Writer did not survive its host process"
  quit_writer
  exit 0
fi

if [ "$mode" = time ]; then
  rounds=6
  "$python" -c "import json, sys; print(json.dumps([{'press': 'cmdCancel', 'log': sys.argv[1]}] * $rounds))" \
    "$work/log-time" >"$work/script-time.json"
  start_writer "$work/script-time.json"
  driver time "$work/log-time" "$rounds" || fail "the timed Insert Data failed"
  quit_writer
  exit 0
fi

document="$work/customers.odt"
cat >"$work/script-insert.json" <<JSON
[{"tick": [1, 3, 4], "layout": "Table with Header", "style": "Academic", "position": "After",
  "press": "cmdOK", "log": "$work/log-insert"}]
JSON
start_writer "$work/script-insert.json"
driver insert "$document" "$work/log-insert" || fail "Insert Data through the extension failed"
quit_writer

"$python" - "$document" "$work/log-insert" <<'PY'
import json, sys, zipfile
import xml.etree.ElementTree as ET

TABLE = "{urn:oasis:names:tc:opendocument:xmlns:table:1.0}"
TEXT = "{urn:oasis:names:tc:opendocument:xmlns:text:1.0}"
document, log = sys.argv[1], sys.argv[2]
shown = [json.loads(line) for line in open(log, encoding="utf-8") if line.strip()][-1]
expected = [shown["header"]] + shown["shown"]
if len(shown["shown"]) != 3:
    sys.exit("FAIL: the dialog had %d rows ticked, not three" % len(shown["shown"]))

root = ET.fromstring(zipfile.ZipFile(document).read("content.xml"))
tables = list(root.iter(TABLE + "table"))
if len(tables) != 1:
    sys.exit("FAIL: the document holds %d tables, not one" % len(tables))
table = tables[0]
if table.get(TABLE + "template-name") != "Academic":
    sys.exit("FAIL: the table's style is %r, not Academic" % table.get(TABLE + "template-name"))
headers = table.find(TABLE + "table-header-rows")
if headers is None or len(headers.findall(TABLE + "table-row")) != 1:
    sys.exit("FAIL: the table has no header row")

def texts(row):
    return ["".join(cell.itertext()) for cell in row.iter(TABLE + "table-cell")]

rows = [texts(row) for row in table.iter(TABLE + "table-row")]
if rows != expected:
    sys.exit("FAIL: the table holds %s, not the header and rows the dialog showed: %s" % (rows, expected))
body = root.find(".//office:text", {"office": "urn:oasis:names:tc:opendocument:xmlns:office:1.0"})
first = [child for child in body if child.tag in (TEXT + "p", TABLE + "table")]
if not first or first[0].tag != TEXT + "p" or "".join(first[0].itertext()) != "Our three customers:":
    sys.exit("FAIL: the table is not after the selected sentence")
print("the table holds the header and the three rows the dialog showed, in style Academic")
PY

cat >"$work/script-again.json" <<JSON
[{"press": "cmdOK", "log": "$work/log-again"}]
JSON
start_writer "$work/script-again.json"
driver again "$document" "$work/log-again" || fail "Insert Data on the reopened document failed"
quit_writer
"$python" - "$work/log-insert" "$work/log-again" <<'PY'
import json, sys
first, again = ([json.loads(l) for l in open(p, encoding="utf-8") if l.strip()][-1] for p in sys.argv[1:3])
if again["ticked"] != first["ticked"] or again["shown"] != first["shown"]:
    sys.exit("FAIL: the reopened document's Insert Data ticked %s, not %s" % (again["ticked"], first["ticked"]))
print("the reopened document's Insert Data came up with rows %s ticked" % again["ticked"])
PY
