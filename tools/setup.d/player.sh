#!/usr/bin/env bash
# Installs the npm packages of the player tests (jsdom, playwright-core) when
# node_modules is missing or older than the lock file. Idempotent and quiet.
set -euo pipefail
dir="$(cd "$(dirname "$0")/../.." && pwd)/tests/player"
if ! command -v node >/dev/null || ! command -v npm >/dev/null; then
    echo "player tests: node and npm are needed (Node.js 20 or newer)" >&2
    exit 1
fi
major=$(node -p 'process.versions.node.split(".")[0]')
if [ "$major" -lt 20 ]; then
    echo "player tests: Node.js 20 or newer is needed, found $(node --version)" >&2
    exit 1
fi
stamp="$dir/node_modules/.package-lock.json"
if [ -f "$stamp" ] && [ ! "$dir/package-lock.json" -nt "$stamp" ]; then
    exit 0
fi
cd "$dir"
npm ci --no-audit --no-fund --loglevel=error >/dev/null
