#!/usr/bin/env bash
# writer-menu-to-dialog.sh [BUILD_FOLDER]
#
# The time from Writer's Data Views > Insert Data command to the Insert Data
# dialog on screen (and to its rows shown), with the host process started
# for the command and already running, under a virtual X display. Three
# Writers are started, each asked six times; the first answer of each is the
# host started afresh. Prints "figure" lines: medians in ms, and how many
# times longer the fresh start takes (no goal is set: the figures are reported).
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build}"
run=(env QT_QPA_PLATFORM=offscreen)
if command -v xvfb-run >/dev/null; then
  run=(xvfb-run -a -s "-screen 0 1280x1024x24" env QT_QPA_PLATFORM=xcb)
fi
lines="$(mktemp)"
trap 'rm -f "$lines"' EXIT
for _ in 1 2 3; do
  "${run[@]}" "$root/tests/apps/writer/writer-extension.sh" time "$build/writer-extension/qvuser-dataviews.oxt" \
    "$build/bin/qvhostd" "$build/samples" 2>/dev/null >>"$lines"
done
python3 - "$lines" <<'PY'
import json, statistics, sys
rows = [json.loads(line) for line in open(sys.argv[1]) if line.startswith("{")]
def median(host, what):
    return statistics.median(r[what] for r in rows if r["host"] == host)
for what in ("dialog_ms", "rows_ms"):
    started, running = median("started", what), median("running", what)
    print("figure writer_menu_to_%s host started: %.0f ms" % (what, started))
    print("figure writer_menu_to_%s host running: %.0f ms" % (what, running))
print("figure writer_menu_to_dialog started/running: %.1fx" % (median("started", "dialog_ms") / median("running", "dialog_ms")))
PY
