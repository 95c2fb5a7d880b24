#!/usr/bin/env bash
# Installs the Debian package on a clean Debian 12 root and runs one
# exposure with it as an operator, the way a practice would: a check a
# person runs as root on the build machine, not part of the test suite.
#   tools/package_check.sh build-pkg/zyr-pan-weq_1.0.0-1_amd64.deb [ROOT]
# ROOT (default /work/debroot) is made with debootstrap when missing. The
# console runs inside it on an Xvfb display of the host, driven by the
# host's xdotool at the window's layout positions. Needs: debootstrap, xvfb,
# xdotool, and network access to the Debian mirror.
set -euo pipefail

deb=$(realpath "$1")
root=${2:-/work/debroot}
user=radiographer
settings=/var/lib/zyr-pan-weq/ZYR_PAN_WEQ.ini
display=""  # the X display, once started
step() { echo; echo "== $*"; }
fail() { echo "FAILED: $*" >&2; exit 1; }
in_root() { chroot "$root" "$@"; }
as_operator() { chroot "$root" runuser -u "$user" -- env DISPLAY="$display" HOME=/home/$user LANG=C.UTF-8 "$@"; }
key() { in_root sed -n "s/^$1=//p" "$settings" | tr -d '\r'; }

[ "$(id -u)" -eq 0 ] || fail "run as root (chroot, mounts)"
if [ ! -x "$root/bin/sh" ]; then
    step "a clean Debian 12 root in $root"
    debootstrap --variant=minbase bookworm "$root" http://deb.debian.org/debian
fi

xvfb_pid=""
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    for m in tmp/.X11-unix dev/pts dev proc; do
        mountpoint -q "$root/$m" && umount "$root/$m" || true
    done
}
trap cleanup EXIT
mount -t proc proc "$root/proc"
mount --bind /dev "$root/dev"
mount --bind /dev/pts "$root/dev/pts"
cp /etc/resolv.conf "$root/etc/resolv.conf"

step "install $(basename "$deb") and what it depends on"
# A root used before: start again from the package's own defaults.
if in_root dpkg -s zyr-pan-weq >/dev/null 2>&1; then
    DEBIAN_FRONTEND=noninteractive in_root apt-get purge -y -q zyr-pan-weq >/dev/null
fi
cp "$deb" "$root/tmp/"
in_root apt-get update -qq
DEBIAN_FRONTEND=noninteractive in_root apt-get install -y -q --no-install-recommends "/tmp/$(basename "$deb")"
in_root dpkg -s zyr-pan-weq | grep -E '^(Version|Depends|Recommends):'

step "layout"
in_root ls -l /usr/bin/zyr-pan-weq /usr/lib/zyr-pan-weq/ZYR_PAN_WEQ.ini
in_root stat -c '%A %U:%G %n' /var/lib/zyr-pan-weq "$settings"
[ "$(in_root stat -c '%a %U:%G' /var/lib/zyr-pan-weq)" = "2770 root:zyrpan" ] || fail "settings folder"
[ "$(in_root stat -c '%a %U:%G' "$settings")" = "660 root:zyrpan" ] || fail "settings file"
# The DICOM spool: operators write, the sender's service user removes, others see nothing.
[ "$(in_root stat -c '%a %U:%G' /var/spool/zyr-pan-weq)" = "2770 root:zyrpan" ] || fail "spool folder"
in_root id zyrpan >/dev/null || fail "the sender's service user"
in_root test -f /lib/systemd/system/zyr-pan-weq-store.service || fail "the sender's service"
in_root /usr/lib/zyr-pan-weq/zyr-pan-weq-store --version || fail "the sender"

step "an operator in the group zyrpan"
in_root id "$user" >/dev/null 2>&1 || in_root useradd -m -G zyrpan "$user"
in_root id "$user"
# The package's default has no Link: the simulated unit, and short unit
# timings, so that the exposure takes seconds; written into [ZyrPan2] (the
# [DICOM] section follows it) by the operator's own write of the file.
as_operator sh -c "sed '/^\[ZyrPan2\]/a Link=sim\\nAnswerDelay=50\\nMoveTime=300\\nReadyTime=400\\nHandSwitchDelay=400\\nXrayDelay=200\\nXrayOn=2500\\nXrayGap=200\\nCoolTime=1\\nImageBinning=2' $settings > /tmp/zyr.ini && cat /tmp/zyr.ini > $settings"
in_root sed -n '/^\[ZyrPan2\]/,$p' "$settings"
in_root rm -f /home/$user/ZYR_PAN_WEQ.bmp

# A display number no other X server holds.
n=150
while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
display=:$n
mkdir -p "$root/tmp/.X11-unix"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp -noreset -ac >/dev/null 2>&1 &
xvfb_pid=$!
mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix"
for _ in $(seq 50); do DISPLAY=$display xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.2; done
kill -0 "$xvfb_pid" || fail "no Xvfb on $display"
export DISPLAY=$display

# Starts the console as the operator from its command; leaves its pid in
# $console and the main window's corner in $x0 $y0.
start_console() {
    as_operator zyr-pan-weq &
    runner=$!
    local box=""
    for _ in $(seq 100); do
        box=$(xdotool search --onlyvisible --name '^Tolvek E$' 2>/dev/null | head -1) && [ -n "$box" ] && break
        sleep 0.2
    done
    [ -n "$box" ] || fail "no power-on question"
    # The console runs under the operator's user id, which no process of the host has.
    console=$(pgrep -n -x -u "$(in_root id -u "$user")" zyr-pan-weq) || fail "no console process"
    xdotool windowfocus --sync "$box" key --clearmodifiers Return
    local main=""
    for _ in $(seq 50); do
        for w in $(xdotool search --onlyvisible --pid "$console" 2>/dev/null); do
            xdotool getwindowgeometry "$w" | grep -q 'Geometry: 1024x768' && main=$w
        done
        [ -n "$main" ] && break
        sleep 0.2
    done
    [ -n "$main" ] || fail "no main window"
    eval "$(xdotool getwindowgeometry --shell "$main")"
    x0=$X y0=$Y
}
# A click at a point of the main window given in twips.
click() { xdotool mousemove $((x0 + $1 / 15)) $((y0 + $2 / 15)) click 1; }

step "first run: kV up, READY, the exposure"
before=$(key M0_Volt)
start_console
echo "console pid $console, main window at $x0,$y0"
echo "libraries loaded at start (sound, multimedia, network, audio server):"
grep -oE 'lib(zyrpan_sound|Qt6Multimedia|Qt6Network|pulse)[^ ]*' "/proc/$console/maps" | sort -u || echo "  none"
for _ in $(seq 20); do
    [ "$(key M0_Volt)" = "$((before + 1))" ] && break
    click $((8700 + 450)) $((2000 + 345))
    sleep 0.3
done
echo "M0_Volt $before -> $(key M0_Volt), Volt $(key Volt)"
[ "$(key M0_Volt)" = "$((before + 1))" ] && [ "$(key Volt)" = "$((before + 1))" ] || fail "kV up was not kept"
in_root ls -l /usr/lib/zyr-pan-weq/ZYR_PAN_WEQ.ini
in_root stat -c '%A %U:%G %n' "$settings"
[ -L "$root/usr/lib/zyr-pan-weq/ZYR_PAN_WEQ.ini" ] || fail "the settings link was replaced"
click $((10320 + 1350)) $((6000 + 1050))
status=0
wait "$runner" || status=$?
echo "exit status $status"
[ "$status" -eq 0 ] || fail "the exposure did not end with the image"
bmp=$root/home/$user/ZYR_PAN_WEQ.bmp  # SaveFileName=~/ZYR_PAN_WEQ.bmp
field() { od -An -tu"$1" -j"$2" -N"$1" "$bmp" | tr -d ' '; }
[ "$(head -c 2 "$bmp")" = "BM" ] || fail "no bitmap"
echo "bitmap: $(field 4 18) x $(field 4 22) pixels, $(field 2 28) bits, $(stat -c %s "$bmp") bytes"
[ "$(field 2 28)" = "8" ] || fail "not an 8-bit bitmap"

step "second run: the changed setting is still there; Close"
start_console
echo "M0_Volt $(key M0_Volt) after the new start"
[ "$(key M0_Volt)" = "$((before + 1))" ] || fail "the setting was lost"
# Close answers once the console is connected; until then a click is lost.
for _ in $(seq 40); do
    kill -0 "$console" 2>/dev/null || break
    click $((11730 + 630)) $((8400 + 435))
    sleep 0.5
done
status=0
wait "$runner" || status=$?
echo "exit status $status (1: ended without an image)"
[ "$status" -eq 1 ] || fail "Close"

step "reinstall (as an upgrade does): the operator's settings stay"
DEBIAN_FRONTEND=noninteractive in_root dpkg -i "/tmp/$(basename "$deb")" >/dev/null
echo "M0_Volt $(key M0_Volt)"
[ "$(key M0_Volt)" = "$((before + 1))" ] || fail "the upgrade replaced the settings"

step "purge removes the settings"
DEBIAN_FRONTEND=noninteractive in_root apt-get purge -y -q zyr-pan-weq >/dev/null
[ ! -e "$root/var/lib/zyr-pan-weq" ] || fail "settings left after purge"
echo "/var/lib/zyr-pan-weq is gone"
DEBIAN_FRONTEND=noninteractive in_root apt-get install -y -q --no-install-recommends "/tmp/$(basename "$deb")" >/dev/null
echo; echo "package check passed"
