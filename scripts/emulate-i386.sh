#!/usr/bin/env bash
# Runs a command on a machine that cannot execute 32-bit x86 code, with every 32-bit x86
# program it starts (Wine's 32-bit loader and its children) run by qemu's user-mode
# emulator:   emulate-i386.sh QEMU COMMAND [ARGS...]
# The emulator is registered in a binfmt_misc of the command's own, inside a user and mount
# namespace made for it (kernel 6.7 or later): nothing outside sees it, and it goes when the
# command ends. Every user and group id maps to itself in there, so that root stays root
# to the files and can still act as another user. Needs root: a user who is not calls it
# through sudo, and the command runs as that user.
set -euo pipefail
if [ "${1:-}" = --inside ]; then
    qemu=$2 handshake=$3
    shift 3
    # Wait until the ids are mapped from outside.
    echo unshared >"$handshake/ready"
    read -r _ <"$handshake/go"
    mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc
    # ELF, 32-bit, little-endian, an executable or a shared object, for the 80386.
    magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
    mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
    # F: the emulator is opened now, so that it is found from any namespace or root.
    printf ':quillmoor-i386:M::%s:%s:%s:F\n' "$magic" "$mask" "$qemu" >/proc/sys/fs/binfmt_misc/register
    # Called by a user who is not root: the command runs as that user.
    if [ -n "${QUILLMOOR_EMULATE_AS:-}" ]; then
        exec setpriv --reuid="${QUILLMOOR_EMULATE_AS%:*}" --regid="${QUILLMOOR_EMULATE_AS#*:}" --init-groups \
            env -u QUILLMOOR_EMULATE_AS "$@"
    fi
    exec "$@"
fi
if [ "$(id -u)" -ne 0 ]; then
    exec sudo --preserve-env env QUILLMOOR_EMULATE_AS="$(id -u):$(id -g)" bash "$(realpath "$0")" "$@"
fi
qemu=$(realpath "$1")
shift
handshake=$(mktemp -d)
trap 'rm -rf "$handshake"' EXIT
mkfifo "$handshake/ready" "$handshake/go"
unshare --user --mount --propagation private bash "$(realpath "$0")" --inside "$qemu" "$handshake" "$@" &
child=$!
read -r _ <"$handshake/ready"
echo "0 0 4294967295" >"/proc/$child/uid_map"
echo "0 0 4294967295" >"/proc/$child/gid_map"
echo go >"$handshake/go"
status=0
wait "$child" || status=$?
exit $status
