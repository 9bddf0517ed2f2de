#!/usr/bin/env bash
# tools/setup on a Debian whose apt sources are one-line entries in /etc/apt/sources.list, as
# Debian's installer writes them, seen through a private mount namespace: the machine's own apt
# configuration and package database stay as they are, and apt-get is a stand-in that records
# its calls.
#  1. With everything installed, tools/setup passes without calling apt-get.
#  2. With Debian 12's own qemu, it adds the backports suite of the archive that sources.list
#     names, with its keyring, installs qemu from there, and says what is still missing.
#  3. When the 32-bit install fails (a mirror mid-sync), it tries once more from that archive's
#     own suite and its updates alone. No install may remove a package.
#   setup_test.sh <source folder>    (as root, on a machine that tools/setup has set up)
set -euo pipefail
source_dir=$1
[ "$(id -u)" -eq 0 ] || { echo "SKIPPED: a private mount namespace needs root"; exit 77; }
[ -n "${KIT_SETUP_TEST_PRIVATE:-}" ] ||
    exec env KIT_SETUP_TEST_PRIVATE=1 unshare --mount --propagation private "$0" "$@"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. /etc/os-release
keyring=/usr/share/keyrings/debian-archive-keyring.gpg

# /etc/apt with no *.sources and *.list files, and a sources.list of the installer's kind.
cp -a /etc/apt "$work/apt"
find "$work/apt/sources.list.d" -type f -delete
cat >"$work/apt/sources.list" <<EOF
#deb cdrom:[Debian GNU/Linux 12.8.0 _Bookworm_ - Official amd64 DVD Binary-1]/ $VERSION_CODENAME main
deb cdrom:[Debian GNU/Linux 12.8.0 _Bookworm_ - Official amd64 DVD Binary-1]/ $VERSION_CODENAME main

deb [arch=amd64 signed-by=$keyring] http://archivo.example/debian/ $VERSION_CODENAME main non-free-firmware
deb-src http://archivo.example/debian/ $VERSION_CODENAME main non-free-firmware
deb http://security.example/debian-security $VERSION_CODENAME-security main # security
EOF
mount --bind "$work/apt" /etc/apt
cat >"$work/apt-get" <<EOF
#!/bin/sh
echo "\$*" >>"$work/apt-calls"
case "\$*" in
*SourceParts=*) cat "\$(echo "\$*" | sed 's/.*SourceParts=\([^ ]*\).*/\1/')"/* >"$work/own-sources" ;;
*install*wine32:i386*) [ ! -e "$work/i386-index-unread" ] ;;
esac
EOF
chmod +x "$work/apt-get"
mount --bind "$work/apt-get" "$(command -v apt-get)"

status=0
fail() { echo "FAILED: $*"; status=1; }

if ! output=$("$source_dir/tools/setup" 2>&1); then
    fail "everything installed: tools/setup failed: $output"
fi
[ ! -e "$work/apt-calls" ] || fail "everything installed: apt-get was called: $(cat "$work/apt-calls")"
[ -z "$(ls "$work/apt/sources.list.d")" ] || fail "everything installed: a source was added"
[ $status -ne 0 ] || echo "everything installed: tools/setup passes and leaves apt alone"

# The package database as it is but for qemu, which is Debian 12's own; and but for 32-bit Wine.
cp /var/lib/dpkg/status "$work/status"
sed '/^Package: wine32$/,/^$/d' /var/lib/dpkg/status >"$work/status-without-wine32"
sed -i '/^Package: qemu-user-static$/,/^$/s/^Version: .*/Version: 1:7.2+dfsg-7+deb12u18/' \
    "$work/status"
mount --bind "$work/status" /var/lib/dpkg/status
output=$("$source_dir/tools/setup" 2>&1) || fail "Debian 12's qemu: tools/setup failed: $output"
expected="Types: deb
URIs: http://archivo.example/debian/
Suites: $VERSION_CODENAME-backports
Components: main
Signed-By: $keyring"
[ "$(cat "$work/apt/sources.list.d/kit-backports.sources" 2>&1)" = "$expected" ] ||
    fail "the backports source: $(cat "$work/apt/sources.list.d/kit-backports.sources" 2>&1)"
touch "$work/apt-calls"
grep -q " update$" "$work/apt-calls" || fail "no apt-get update: $(cat "$work/apt-calls")"
grep -q -- "install .*-t $VERSION_CODENAME-backports qemu-user-static" "$work/apt-calls" ||
    fail "qemu not installed from backports: $(cat "$work/apt-calls")"
grep " install " "$work/apt-calls" | grep -qv -- "--no-remove" &&
    fail "an install may remove packages: $(cat "$work/apt-calls")"
grep -q "32-bit programs cannot run here; missing: qemu-user-static" <<<"$output" ||
    fail "what is missing was not said: $output"
[ $status -ne 0 ] ||
    echo "Debian 12's qemu: the backports source from sources.list, then: $(tail -n 1 <<<"$output")"

rm -f "$work/apt-calls"
touch "$work/i386-index-unread"
umount /var/lib/dpkg/status
mount --bind "$work/status-without-wine32" /var/lib/dpkg/status
output=$("$source_dir/tools/setup" 2>&1) || fail "an i386 index unread: tools/setup failed: $output"
[ "$(grep -c "install .*wine32:i386" "$work/apt-calls")" -eq 2 ] &&
    grep "install .*wine32:i386" "$work/apt-calls" | tail -n 1 | grep -q "SourceParts=" ||
    fail "the 32-bit install was not tried again on its own: $(cat "$work/apt-calls")"
grep " install " "$work/apt-calls" | grep -qv -- "--no-remove" &&
    fail "an install may remove packages: $(cat "$work/apt-calls")"
expected="Types: deb
URIs: http://archivo.example/debian/
Suites: $VERSION_CODENAME $VERSION_CODENAME-updates
Components: main
Signed-By: $keyring"
[ "$(cat "$work/own-sources" 2>&1)" = "$expected" ] ||
    fail "the own suite's source: $(cat "$work/own-sources" 2>&1)"
[ $status -ne 0 ] || echo "an i386 index unread: the 32-bit install again from the own suite"
exit $status
