#!/usr/bin/env bash
# 32-bit Wine on a machine whose kernel runs no 32-bit Linux code, so that the product itself,
# the PE32 build/win32/LAUNCH.EXE, runs here. Each step is done only when it is missing:
#   1. binfmt_misc mounted;
#   2. the suite bookworm-backports of the Debian archive this machine already uses;
#   3. qemu-user-static 10 or later from it (bookworm's 7.2 cannot run Wine: "failed to map the
#      shared user data"), and nothing else from it;
#   4. qemu's i386 emulator registered for i386 ELF files (flag F), before wine32 is installed:
#      without it every Wine run, the 64-bit ones too, fails with "Exec format error";
#   5. the i386 architecture and wine32:i386;
#   6. the ja_JP.UTF-8 locale, with which Wine's ANSI code page is 932.
# A step that cannot be done stops the script with one line that names it and what to do.
set -euo pipefail

fail() { # fail STEP WHAT-TO-DO
    echo "install-wine32: $1 failed; $2" >&2
    exit 1
}
installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }
root() {
    [[ $(id -u) -eq 0 ]] || fail "$1" "run scripts/install-deps.sh wine as root"
}
export DEBIAN_FRONTEND=noninteractive
log=/tmp/launch-apt-install.log
apt_update() {
    apt-get update -q >/tmp/launch-apt-update.log 2>&1 ||
        fail "$1 (apt-get update)" "see /tmp/launch-apt-update.log"
}

binfmt=/proc/sys/fs/binfmt_misc
if [[ ! -e $binfmt/register ]]; then
    root "mounting binfmt_misc"
    mount -t binfmt_misc binfmt_misc "$binfmt" 2>/dev/null ||
        fail "mounting binfmt_misc at $binfmt" "the kernel or the container does not allow it; load the binfmt_misc module or run on a machine that has it"
fi

codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
suite=$codename-backports
updated=no
if ! grep -rqs -- "$suite" /etc/apt/sources.list /etc/apt/sources.list.d/; then
    root "adding the suite $suite"
    uri=$(awk '/^URIs:/ { print $2; exit }' /etc/apt/sources.list.d/debian.sources 2>/dev/null || true)
    [[ -n $uri ]] || uri=$(awk '$1 == "deb" && $0 ~ /debian/ { print $2; exit }' /etc/apt/sources.list 2>/dev/null || true)
    [[ -n $codename && -n $uri ]] ||
        fail "adding the suite $suite" "no Debian archive found in /etc/apt; add the suite by hand"
    cat >/etc/apt/sources.list.d/launch-backports.sources <<SOURCES
Types: deb
URIs: $uri
Suites: $suite
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
    apt_update "adding the suite $suite"
    updated=yes
fi

qemu_version() { dpkg-query -W -f='${Version}' qemu-user-static 2>/dev/null || echo 0; }
if ! dpkg --compare-versions "$(qemu_version)" ge 1:10; then
    root "installing qemu-user-static 10"
    [[ $updated == yes ]] || apt_update "installing qemu-user-static 10"
    updated=yes
    apt-get install -y -q --no-install-recommends -t "$suite" qemu-user-static >"$log" 2>&1 ||
        fail "installing qemu-user-static from $suite" "see $log"
    dpkg --compare-versions "$(qemu_version)" ge 1:10 ||
        fail "installing qemu-user-static 10" "$suite gave $(qemu_version); Wine needs qemu-user 10 or later"
fi

if [[ ! -e $binfmt/qemu-i386 ]]; then
    root "registering qemu-i386 in binfmt_misc"
    printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' \
        >"$binfmt/register" 2>/dev/null ||
        fail "registering qemu-i386 in binfmt_misc" "write the entry to $binfmt/register by hand, or remove a conflicting i386 entry"
fi
grep -qx enabled "$binfmt/qemu-i386" ||
    fail "enabling qemu-i386 in binfmt_misc" "echo 1 > $binfmt/qemu-i386"

if ! dpkg --print-foreign-architectures | grep -qx i386; then
    root "adding the i386 architecture"
    dpkg --add-architecture i386 || fail "adding the i386 architecture" "run dpkg --add-architecture i386"
    apt_update "adding the i386 architecture"
    updated=yes
fi
if ! installed wine32:i386; then
    root "installing wine32:i386"
    [[ $updated == yes ]] || apt_update "installing wine32:i386"
    apt-get install -y -q --no-install-recommends wine32:i386 >"$log" 2>&1 ||
        fail "installing wine32:i386" "see $log"
fi

if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
    root "generating the locale ja_JP.UTF-8"
    installed locales || fail "generating the locale ja_JP.UTF-8" "install the package locales"
    if ! grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen; then
        echo 'ja_JP.UTF-8 UTF-8' >>/etc/locale.gen
    fi
    locale-gen >/tmp/launch-locale-gen.log 2>&1 ||
        fail "generating the locale ja_JP.UTF-8" "see /tmp/launch-locale-gen.log"
fi
