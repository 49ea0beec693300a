#!/usr/bin/env bash
# Builds the Debian package from a build folder and checks it the way a distribution would:
# lintian, the desktop entry, the AppStream metadata; then installs it with apt, starts the
# installed program as an ordinary user under Xvfb until its window shows, purges it and checks
# that every file it installed is gone. Runs as root, or through sudo.
#   tools/ci-package.sh [BUILD_DIR]
set -euo pipefail
build_dir=$(realpath "${1:-build}")
cd "$(dirname "$0")/.."
as_root=()
[ "$(id -u)" -eq 0 ] || as_root=(sudo)
apt_options=(-y -qq --no-install-recommends -o DPkg::Lock::Timeout=300)
export DEBIAN_FRONTEND=noninteractive

work=$(mktemp -d /tmp/tenvoria-package.XXXXXX)
chmod 711 "$work" # the ordinary user's home lies inside
xvfb_pid=
app_pid=
cleanup() {
  [ -z "$app_pid" ] || kill "$app_pid" 2>/dev/null || true
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
  if dpkg-query -W -f='${Status}' tenvoria 2>/dev/null | grep -q installed; then
    "${as_root[@]}" apt-get purge "${apt_options[@]}" tenvoria >/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "ci-package: $*" >&2; exit 1; }

echo "== building the package"
version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' "$build_dir/CPackConfig.cmake")
[ -n "$version" ] || fail "no package version in $build_dir/CPackConfig.cmake"
deb="$build_dir/tenvoria_${version}_amd64.deb"
rm -f "$deb"
(cd "$build_dir" && cpack -G DEB >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; fail "cpack failed"; }
[ -f "$deb" ] || fail "cpack made no $deb"
dpkg-deb --field "$deb"

echo "== lintian"
lintian --display-level '>=warning' "$deb" >"$work/lintian.txt" 2>&1 || true
cat "$work/lintian.txt"
if grep -q '^E: ' "$work/lintian.txt"; then fail "lintian reports errors"; fi
kept=$(sed -e 's/#.*//' packaging/lintian-kept-warnings | awk 'NF {print $1}')
while read -r tag; do
  [ -n "$tag" ] || continue
  grep -qx "$tag" <<<"$kept" || fail "lintian warning $tag is not among packaging/lintian-kept-warnings"
done < <(sed -n 's/^W: [^ ]*: \([^ ]*\).*/\1/p' "$work/lintian.txt" | sort -u)

echo "lintian: no errors; warnings only from the kept list"
echo "== desktop entry and AppStream metadata"
dpkg-deb -x "$deb" "$work/contents"
desktop-file-validate "$work/contents/usr/share/applications/tenvoria.desktop"
metainfo=("$work"/contents/usr/share/metainfo/*.metainfo.xml)
[ -f "${metainfo[0]}" ] || fail "no AppStream metadata in the package"
appstreamcli validate --no-net "${metainfo[@]}"

echo "== installing with apt"
# Dependencies the machine lacks come in first, as packages of their own: the comparison below
# is about the files of this package only.
missing=$(apt-get install -s "${apt_options[@]}" "$deb" | sed -n 's/^Inst \([^ ]*\).*/\1/p' | grep -vx tenvoria || true)
if [ -n "$missing" ]; then
  # shellcheck disable=SC2086
  "${as_root[@]}" apt-get install "${apt_options[@]}" $missing
fi
snapshot() {
  # Everything a package can place, with dpkg's own records of packages; caches that triggers
  # refresh for every package are left out.
  find /usr /etc /opt /var/lib/dpkg/info -xdev 2>/dev/null \
    | grep -v -e '/icon-theme\.cache$' -e '/mimeinfo\.cache$' -e '/gschemas\.compiled$' \
              -e '^/usr/share/applications/\(bamf-2\.index\|desktop\.[^/]*\.cache\)$' | sort
}
snapshot >"$work/before.txt"
"${as_root[@]}" apt-get install "${apt_options[@]}" "$deb"
dpkg-query -W -f='${Status} ${Version}\n' tenvoria | grep -qx "install ok installed $version" \
  || fail "tenvoria $version is not installed"
snapshot >"$work/installed.txt"
multiarch=$(dpkg-architecture -qDEB_HOST_MULTIARCH)
module=/usr/lib/$multiarch/tenvoria/tenvoria-pdfform.so
for expected in /usr/bin/tenvoria /usr/lib/tenvoria/tenvoria "$module" /usr/lib/tenvoria/HAND-M.CUR \
                /usr/share/applications/tenvoria.desktop /usr/share/icons/hicolor/256x256/apps/tenvoria.png \
                /usr/share/doc/tenvoria/copyright /usr/share/man/man1/tenvoria.1.gz \
                /usr/share/mime/packages/tenvoria.xml \
                /usr/share/icons/hicolor/scalable/mimetypes/application-x-tenvoria-applicant.svg; do
  [ -e "$expected" ] || fail "$expected was not installed"
done

# The fillable PDF's module finds every library it needs; the program itself starts without qpdf.
if ldd "$module" | grep -q 'not found'; then
  ldd "$module"
  fail "the fillable PDF's module lacks libraries"
fi
if readelf -d /usr/lib/tenvoria/tenvoria | grep -q 'NEEDED.*libqpdf'; then
  fail "the installed program links qpdf itself instead of loading its module"
fi

echo "== starting the installed program as an ordinary user under Xvfb"
home="$work/home"
mkdir -p "$home"
chown 65534:65534 "$home"
exec 5>"$work/display"
Xvfb -displayfd 5 -ac -nolisten tcp -screen 0 1280x1024x24 >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
exec 5>&-
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { cat "$work/xvfb.log"; fail "Xvfb did not start"; }
display=":$(head -n1 "$work/display")"
# The server has named its display; the program starts once a client can really connect to it (a
# start that found no display once failed this step on a loaded machine).
for _ in $(seq 100); do DISPLAY="$display" xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done
DISPLAY="$display" xdotool getmouselocation >/dev/null 2>&1 || { cat "$work/xvfb.log"; fail "Xvfb takes no clients"; }
exec_command=$(sed -n 's/^Exec=//p' /usr/share/applications/tenvoria.desktop | sed 's/ %[a-zA-Z]//g')
setpriv --reuid=65534 --regid=65534 --clear-groups \
  env -i HOME="$home" PATH=/usr/bin:/bin DISPLAY="$display" LANG=C.UTF-8 $exec_command \
  >"$work/app.log" 2>&1 &
app_pid=$!
window=
for _ in $(seq 300); do
  window=$(DISPLAY="$display" xdotool search --onlyvisible --name '^Tenvoria$' 2>/dev/null | head -n1 || true)
  [ -n "$window" ] && break
  kill -0 "$app_pid" 2>/dev/null || break
  sleep 0.1
done
[ -n "$window" ] || { cat "$work/app.log"; fail "the installed program showed no window"; }
DISPLAY="$display" xwininfo -id "$window" | grep -E 'Width|Height|Map State'
kill "$app_pid"
wait "$app_pid" 2>/dev/null || true
app_pid=

echo "== purging"
"${as_root[@]}" apt-get purge "${apt_options[@]}" tenvoria
snapshot >"$work/after.txt"
if ! diff -u "$work/before.txt" "$work/after.txt"; then
  fail "purging left the files above behind, or removed them"
fi
installed_count=$(comm -13 "$work/before.txt" "$work/installed.txt" | wc -l)
echo "ci-package: $installed_count paths installed and purged without a trace"
