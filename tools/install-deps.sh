#!/usr/bin/env bash
# Installs the Debian packages listed in tools/packages/*.txt that are missing.
# Root uses apt-get directly, others go through sudo; without either the
# missing packages are named and the script fails.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

mapfile -t wanted < <(cat "$here"/packages/*.txt | sed 's/#.*//' | tr -s ' \t' '\n' | sed '/^$/d' | sort -u)
missing=()
for p in "${wanted[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
    [ "$status" = installed ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
    sudo=()
elif command -v sudo >/dev/null && sudo -n true 2>/dev/null; then
    sudo=(sudo -n)
else
    echo "Missing Debian packages: ${missing[*]}" >&2
    echo "Install them with: sudo apt-get install ${missing[*]}" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
log=$(mktemp)
if ! { "${sudo[@]}" apt-get -o DPkg::Lock::Timeout=900 update -qq && "${sudo[@]}" apt-get -o DPkg::Lock::Timeout=900 install -y -qq --no-install-recommends "${missing[@]}"; } >"$log" 2>&1; then
    cat "$log" >&2
    rm -f "$log"
    echo "Could not install: ${missing[*]}" >&2
    exit 1
fi
rm -f "$log"
