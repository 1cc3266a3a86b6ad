#!/usr/bin/env bash
# Installs the Debian package on a fresh Debian 12 and starts it there: debootstrap makes
# a minimal bookworm system (kept in CHROOT_BASE for the next run), a copy of it takes
# `apt install ./pelumo_*.deb`, and then
#   - pelumo --version runs with no display;
#   - the program starts on the offscreen platform and stays up;
#   - after xvfb and gio are added, the desktop entry starts it on an X server, and a
#     screenshot of it is left in OUT_DIR.
# Needs root, debootstrap and a reachable Debian mirror; takes a few minutes.
#
#   BUILD_DIR    build folder with the program built (default build)
#   CHROOT_BASE  where the untouched bookworm system is kept (default /var/tmp/pelumo-bookworm)
#   OUT_DIR      where the package, the logs and the screenshot go (default a new temporary one)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(cd "${BUILD_DIR:-build}" && pwd)
base=${CHROOT_BASE:-/var/tmp/pelumo-bookworm}
out=${OUT_DIR:-$(mktemp -d "${TMPDIR:-/tmp}/pelumo-clean.XXXXXX")}
mirror=${MIRROR:-http://deb.debian.org/debian}
[ "$(id -u)" -eq 0 ] || { echo "run as root (debootstrap and chroot)"; exit 2; }
command -v debootstrap >/dev/null || { echo "no debootstrap: apt-get install debootstrap"; exit 2; }

log() { printf '[%s] %s\n' "$(date +%T)" "$*"; }

log "package"
(cd "$build" && cpack -G DEB -B "$out" >"$out/cpack.log")
deb=$(ls "$out"/pelumo_*.deb)

if [ ! -x "$base/usr/bin/apt-get" ]; then
    log "debootstrap bookworm into $base"
    debootstrap --variant=minbase bookworm "$base" "$mirror" >"$out/debootstrap.log" 2>&1
fi
root="$out/root"
log "a fresh copy in $root"
cp -a "$base" "$root"
cleanup()
{
    for m in dev/pts dev proc; do
        mountpoint -q "$root/$m" && umount "$root/$m"
    done
}
trap cleanup EXIT
mount -t proc proc "$root/proc"
mount --bind /dev "$root/dev"
mount --bind /dev/pts "$root/dev/pts"
cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true
cp "$deb" "$root/tmp/"
in_root() { chroot "$root" env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 "$@"; }

log "apt install ./$(basename "$deb")"
in_root apt-get update -qq
in_root env DEBIAN_FRONTEND=noninteractive sh -c 'cd /tmp && apt install -y -q ./pelumo_*.deb' \
    >"$out/apt.log" 2>&1 || { tail -30 "$out/apt.log"; exit 1; }
grep -E "^Setting up pelumo" "$out/apt.log"

log "pelumo --version with no display"
version=$(in_root pelumo --version)
[ "$version" = "pelumo $(dpkg-deb -f "$deb" Version)" ] || { echo "FAIL: --version says $version"; exit 1; }
echo "$version"

log "pelumo on the offscreen platform"
in_root sh -c 'QT_QPA_PLATFORM=offscreen pelumo >/tmp/offscreen.log 2>&1 & pid=$!; sleep 5;
               kill -0 $pid && kill $pid' || { cat "$root/tmp/offscreen.log"; echo "FAIL: it did not stay up"; exit 1; }
if grep -Ei "cannot|could not|not found|error" "$root/tmp/offscreen.log"; then
    echo "FAIL: it complained"; exit 1
fi

log "the desktop entry, on an X server"
in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends \
    xvfb xauth libglib2.0-bin imagemagick desktop-file-utils >"$out/apt-x.log" 2>&1
in_root desktop-file-validate /usr/share/applications/pelumo.desktop
in_root xvfb-run -a -s "-screen 0 1024x600x24" sh -c \
    'gio launch /usr/share/applications/pelumo.desktop & sleep 6;
     import -window root /tmp/desktop-entry.png; pgrep -x pelumo >/tmp/pid' \
    >"$out/xvfb.log" 2>&1 || true
[ -s "$root/tmp/pid" ] || { cat "$out/xvfb.log"; echo "FAIL: the desktop entry started no pelumo"; exit 1; }
cp "$root/tmp/desktop-entry.png" "$out/"
log "PASS: installed and started on a fresh bookworm; screenshot $out/desktop-entry.png"
