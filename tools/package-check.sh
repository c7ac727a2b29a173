#!/usr/bin/env bash
# Builds the Debian package from a Release build, installs it with apt-get,
# checks what it put on the system, and removes it again. Needs a machine
# where packages may be installed (as root, or through sudo).
set -euo pipefail
cd "$(dirname "$0")/.."

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
apt_get() { DEBIAN_FRONTEND=noninteractive $sudo apt-get -y -qq "$@"; }

passed=0
fail() { echo "package-check: FAILED: $*" >&2; exit 1; }
ok() { passed=$((passed + 1)); echo "ok: $*"; }

bash tools/install-deps.sh dpkg-dev file gzip desktop-file-utils appstream libxml2-utils man-db \
  shared-mime-info

version=$(sed -n 's/^project(Corvanta VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
[ -n "$version" ] || fail "no version in CMakeLists.txt"
arch=$(dpkg --print-architecture)
app_id=org.corvanta.Corvanta

# --- Build the package -------------------------------------------------------
build=build-package
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCORVANTA_TESTS=OFF \
  -DCORVANTA_BENCH=OFF -DCORVANTA_UI=ON >/dev/null
cmake --build "$build" -j "$(nproc)"
rm -f "$build"/corvanta_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb="$build/corvanta_${version}_${arch}.deb"
[ -f "$deb" ] || fail "cpack made no $deb"
ok "built $(basename "$deb")"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = corvanta ] || fail "package name is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "package version is '$(field Version)'"
[ "$(field Section)" = science ] || fail "package section is '$(field Section)'"
depends=$(field Depends)
for library in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6; do
  [[ ", $depends," == *", $library "* || ", $depends," == *", $library,"* ]] ||
    fail "Depends lacks $library: $depends"
done
ok "control fields: corvanta $version, section science, Depends: $depends"

contents=$(dpkg-deb -c "$deb" | awk '{print $6}')
outside=$(grep -v '^\./usr/' <<<"$contents" | grep -v '^\./$' || true)
[ -z "$outside" ] || fail "files outside /usr: $outside"
! grep -q '^\./usr/local/' <<<"$contents" || fail "files under /usr/local"
ok "every file of the package is under /usr"

# --- Install it --------------------------------------------------------------
# A copy left by an earlier run would make apt-get skip the installation.
if dpkg -s corvanta >/dev/null 2>&1; then apt_get remove corvanta >/dev/null; fi
installed=0
cleanup() { if [ "$installed" = 1 ]; then apt_get remove corvanta >/dev/null || true; fi; }
trap cleanup EXIT
apt_get install "./$deb" >/dev/null
installed=1
[ "$(dpkg-query -W -f '${Status}' corvanta)" = "install ok installed" ] ||
  fail "corvanta is not installed after apt-get install"
ok "apt-get install ./$(basename "$deb")"

for f in /usr/bin/corvanta /usr/bin/corvanta-cli /usr/share/corvanta/samples/mass-calibration.cvm \
  /usr/share/corvanta/guide/guide.md /usr/share/corvanta/guide/screenshots/general.png \
  /usr/share/applications/$app_id.desktop /usr/share/metainfo/$app_id.metainfo.xml \
  /usr/share/mime/packages/$app_id.xml /usr/share/icons/hicolor/scalable/apps/$app_id.svg \
  /usr/share/icons/hicolor/48x48/apps/$app_id.png /usr/share/icons/hicolor/256x256/apps/$app_id.png \
  /usr/share/man/man1/corvanta.1.gz /usr/share/man/man1/corvanta-cli.1.gz; do
  [ -f "$f" ] || fail "$f is not installed"
done
for size in 48 256; do
  kind=$(file -b /usr/share/icons/hicolor/${size}x$size/apps/$app_id.png)
  [[ $kind == "PNG image data, $size x $size,"* ]] || fail "${size}x$size icon is $kind"
done
ok "programs, samples, user guide, desktop entry, metainfo, MIME type, icons and manual pages installed"

# --- The installed programs --------------------------------------------------
out=$(/usr/bin/corvanta-cli run /usr/share/corvanta/samples/mass-calibration.cvm) ||
  fail "corvanta-cli run exited $?"
grep -qx 'Iterations = 200000' <<<"$out" || fail "corvanta-cli run printed: $out"
mean=$(sed -n 's/^Mean = //p' <<<"$out")
awk -v m="$mean" 'BEGIN { exit !(m > 1.230 && m < 1.238) }' || fail "mean of the sample is '$mean'"
grep -q '^Confidence interval (p = 95%): \[ 1\.0[0-9]* , 1\.3[0-9]* \]$' <<<"$out" ||
  fail "no coverage interval in: $out"
ok "corvanta-cli run of the installed sample: mean $mean"

[ "$(/usr/bin/corvanta --version)" = "corvanta $version" ] || fail "corvanta --version"
[ "$(env PATH=/usr/bin:/bin corvanta-cli --version)" = "corvanta-cli $version" ] ||
  fail "corvanta-cli --version"
ok "corvanta --version and corvanta-cli --version print $version"

# The window, started as the menu starts it, keeps its language files in the
# user's data folder: anything it wrote beside the installed executable would
# outlive the package.
home=$(mktemp -d)
touch "$home/started"
set +e
HOME=$home XDG_DATA_HOME=$home/data QT_QPA_PLATFORM=offscreen timeout 5 /usr/bin/corvanta \
  /usr/share/corvanta/samples/mass-calibration.cvm >"$home/log" 2>&1
status=$?
set -e
[ "$status" = 124 ] || fail "corvanta exited $status before it was stopped: $(cat "$home/log")"
[ -f "$home/data/corvanta/default.lng" ] || fail "corvanta wrote no default.lng in the user's folder"
strays=$(find /usr/bin /usr/share/corvanta -newer "$home/started")
rm -rf "$home"
[ -z "$strays" ] || fail "corvanta wrote into the installation: $strays"
ok "corvanta opens the installed sample and keeps its language in the user's data folder"

# --- Desktop integration -----------------------------------------------------
# Hints are allowed: the entry is listed in more than one main category on purpose.
report=$(desktop-file-validate /usr/share/applications/$app_id.desktop 2>&1) ||
  fail "desktop-file-validate: $report"
! grep -Eq 'error:|warning:' <<<"$report" || fail "desktop-file-validate: $report"
ok "desktop-file-validate"

report=$(appstreamcli validate --no-net /usr/share/metainfo/$app_id.metainfo.xml 2>&1) ||
  fail "appstreamcli validate: $report"
ok "appstreamcli validate --no-net"

xmllint --noout /usr/share/mime/packages/$app_id.xml || fail "xmllint of the MIME type"
# The shared-mime-info trigger has compiled the type into the database.
[ -f /usr/share/mime/application/x-corvanta-model.xml ] || fail "MIME database lacks the type"
grep -q ':application/x-corvanta-model:\*\.cvm$' /usr/share/mime/globs2 ||
  fail "MIME database lacks the *.cvm glob"
grep -q "^application/x-corvanta-model=.*$app_id.desktop" /usr/share/applications/mimeinfo.cache ||
  fail "the desktop entry does not open application/x-corvanta-model"
ok "MIME type valid, in the database, opened by the desktop entry"

for page in corvanta corvanta-cli; do
  file=/usr/share/man/man1/$page.1.gz
  warnings=$(MANROFFSEQ='' MANWIDTH=80 man --warnings -l "$file" 2>&1 >/dev/null) ||
    fail "man $page exited $?"
  [ -z "$warnings" ] || fail "man $page: $warnings"
  text=$(MANWIDTH=80 man -l "$file" 2>/dev/null) || fail "man $page exited $?"
  grep -q '^EXIT STATUS' <<<"$text" || fail "man $page renders no text"
done
ok "man pages corvanta(1) and corvanta-cli(1) render without warnings"

# --- Remove it ---------------------------------------------------------------
apt_get remove corvanta >/dev/null
installed=0
if dpkg -s corvanta >/dev/null 2>&1; then
  fail "corvanta is still known to dpkg: $(dpkg-query -W -f '${Status}' corvanta)"
fi
for f in /usr/bin/corvanta /usr/bin/corvanta-cli /usr/share/corvanta \
  /usr/share/applications/$app_id.desktop /usr/share/metainfo/$app_id.metainfo.xml \
  /usr/share/mime/packages/$app_id.xml /usr/share/mime/application/x-corvanta-model.xml \
  /usr/share/icons/hicolor/scalable/apps/$app_id.svg /usr/share/icons/hicolor/48x48/apps/$app_id.png \
  /usr/share/icons/hicolor/256x256/apps/$app_id.png /usr/share/man/man1/corvanta.1.gz \
  /usr/share/man/man1/corvanta-cli.1.gz; do
  [ ! -e "$f" ] || fail "$f is left after apt-get remove"
done
! grep -q 'x-corvanta-model' /usr/share/mime/globs2 || fail "MIME database keeps the type"
ok "apt-get remove corvanta leaves nothing of it"

echo "package-check: $passed passed, 0 failed"
