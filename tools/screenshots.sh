#!/usr/bin/env bash
# Builds the window, opens the sample mass-calibration model under a virtual
# display and photographs what a user sees: the pages, the table, the
# function palette, the correlations dialog, a distribution page, the
# observations dialog, the result pages with the GUM page and its curve, the
# printed report, the report written without a window, the File menu and the
# question before unsaved changes are lost.
# Writes PNGs into docs/screenshots/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh xvfb xauth xdotool imagemagick poppler-utils
cmake -S . -B build -G Ninja >/dev/null
cmake --build build --target corvanta
out=docs/screenshots
mkdir -p "$out"

if [ -z "${SCREENSHOTS_INNER:-}" ]; then
  SCREENSHOTS_INNER=1 exec xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$@"
fi

work=$(mktemp -d)
trap 'kill "$app" 2>/dev/null || true; rm -rf "$work"' EXIT
# The report written without a window or display, as laboratory automation
# writes it: its first two pages.
env -u DISPLAY HOME="$work" build/ui/corvanta --report "$work/annex.pdf" --seed 12345 \
  samples/mass-calibration.cvm
pdftoppm -png -r 80 -f 1 -l 1 -singlefile "$work/annex.pdf" "$out/report-pdf-1"
pdftoppm -png -r 80 -f 2 -l 2 -singlefile "$work/annex.pdf" "$out/report-pdf-2"
# A language folder of its own, so that the photographs show the built-in texts.
cp build/ui/corvanta "$work/"
# Its own home too: the print dialog offers a PDF file there.
(cd "$work" && HOME="$work" ./corvanta "$OLDPWD/samples/mass-calibration.cvm") &
app=$!

window=""
for _ in $(seq 50); do
  window=$(xdotool search --onlyvisible --name "Corvanta" 2>/dev/null | head -n 1) && [ -n "$window" ] && break
  sleep 0.2
done
[ -n "$window" ] || { echo "the window did not appear" >&2; exit 1; }
sleep 1
eval "$(xdotool getwindowgeometry --shell "$window")"
menu=$(( HEIGHT - 522 ))  # the menu bar stands above the 425 x 522 client area

click() {  # x y in the client area
  xdotool mousemove $((X + $1)) $((Y + menu + $2)) click 1
  sleep 0.4
}
key() { xdotool key "$@"; sleep 0.4; }
shoot() {  # name [extra width] [extra height]
  import -window root -crop "$((WIDTH + ${2:-0}))x$((HEIGHT + ${3:-0}))+$X+$Y" "$out/$1.png"
}
row() { echo $((38 + 105 + 18 + 18 * $1 + 9)); }  # client y of a data row of the table

click 73 19;   shoot general
# The File menu with the keys of its commands.
xdotool mousemove $((X + 18)) $((Y + menu / 2)) click 1; sleep 0.5; shoot file-menu
key Escape
click 216 19;  click 250 "$(row 1)"; shoot model-table
# Correlations... on the Model page: a coefficient typed into the dialog.
click 72 467; sleep 0.6; xdotool type "0.5"; key Tab
dialog=$(xdotool search --onlyvisible --name "^Correlations$" | head -n 1)
eval "$(xdotool getwindowgeometry --shell --prefix D "$dialog")"
import -window root -crop "${DWIDTH}x${DHEIGHT}+$DX+$DY" "$out/correlations-dialog.png"
# Its Cancel button: Escape would only end the cell being edited.
xdotool mousemove $((DX + DWIDTH - 52)) $((DY + DHEIGHT - 22)) click 1; sleep 0.5
click 100 100; click 271 60; sleep 0.5; shoot palette
click 324 241                                   # close the palette
click 250 "$(row 1)"; shoot normal-page
# A refused Apply: the message over the page, the typed values kept behind it.
click 250 "$(row 3)"                            # ra, Rectangular
click 108 361; key ctrl+a; xdotool type "2,5"   # the mean with a decimal comma
click 108 403; key ctrl+a; xdotool type "0.05"
click 353 424; sleep 0.5; shoot apply-refused
key Return
click 250 "$(row 5)"                            # rW
click 302 319; xdotool type --delay 80 "Exper"; key Return   # pick Experimental in the list
click 195 390                                   # Values...
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$window")"
import -window root -crop "520x560+$((X - 40))+$Y" "$out/experimental-dialog.png"
key Escape
click 358 19;  shoot simulation
click 65 432; key ctrl+a; xdotool type "2000000"; key Tab   # 2,000,000 iterations
click 340 441; sleep 0.15; shoot run-progress               # Start, and a look during the run
sleep 6;       shoot run-histogram
click 135 383; shoot results
click 233 383; shoot contributions
click 318 383; shoot gum                                    # the GUM page
click 40 357;  click 40 383; shoot histogram-gum-curve      # its curve over the histogram
# File > Print results..., printed to a PDF file from the print dialog.
xdotool mousemove $((X + 18)) $((Y + menu / 2)) click 1; sleep 0.4
key Down Down Down Down Down Down Return; sleep 1   # New, Open, Open recent, Save, Save as, Print
# The print dialog stands centred on the window: its Print button.
xdotool mousemove $((X + 227)) $((Y + 297)) click 1; sleep 2
pdf=$(find "$work" -name "*.pdf" ! -name annex.pdf | head -n 1)
[ -n "$pdf" ] || { echo "no report was printed" >&2; exit 1; }
pdftoppm -png -r 60 -f 1 -l 1 -singlefile "$pdf" "$out/report"
pdftoppm -png -r 60 -f 2 -l 2 -singlefile "$pdf" "$out/report-2"
# A changed title, then File > New: the question before the change is lost.
click 73 19; click 200 44; key End; xdotool type " (draft)"
key ctrl+n; sleep 0.6; shoot save-changes
key Escape; sleep 0.4                               # Cancel: the model stays

# The Model and Simulation pages in Spanish and German, each installed
# through the Language menu as a user does it.
language() {  # suffix file
  xdotool mousemove $((X + 70)) $((Y + menu / 2)) click 1; sleep 0.4
  key Down Return; sleep 1                          # Install language plugin
  xdotool mousemove $((X + 212)) $((Y + 250)); sleep 0.2
  xdotool type --delay 20 "$PWD/languages/$2.cvl"; key Return; sleep 0.8
  key Return; sleep 0.8                             # use it as the default language: OK
  click 216 19; click 250 "$(row 1)"; shoot "model-$1"
  click 358 19; click 59 383; shoot "simulation-$1"
}
language es spanish
language de german
echo "screenshots written to $out"
