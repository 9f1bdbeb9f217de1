#!/usr/bin/env bash
# Installs the npm packages locked in SOURCE_DIR (package.json, package-lock.json)
# into WORK_DIR: once per build tree, and again when the lock file changes.
# Fails, saying so, without node and npm.
#   npm-install.sh SOURCE_DIR WORK_DIR PACKAGE
# PACKAGE is the package the caller needs (its folder under node_modules).
set -euo pipefail
source=$1 work=$2 package=$3
if ! command -v npm >/dev/null || ! command -v node >/dev/null; then
  echo "BŁĄD: potrzebne są node i npm (scripts/install-deps.sh je instaluje)" >&2
  exit 1
fi
mkdir -p "$work"
if ! cmp -s "$source/package-lock.json" "$work/package-lock.json" || [ ! -d "$work/node_modules/$package" ]; then
  cp "$source/package.json" "$source/package-lock.json" "$work/"
  if ! (cd "$work" && npm ci --no-audit --no-fund --loglevel=error); then
    rm -f "$work/package-lock.json"
    echo "BŁĄD: nie udało się zainstalować $package z npm" >&2
    exit 1
  fi
fi
