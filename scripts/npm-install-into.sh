#!/usr/bin/env bash
# Installs the npm packages of SOURCE_DIR's package.json and package-lock.json
# into WORK_DIR (a build tree), once, and again when the lock file changes.
#   npm-install-into.sh SOURCE_DIR WORK_DIR PACKAGE WHAT
# PACKAGE is the package whose folder shows the install is there; WHAT names
# it in the Polish error message.
set -euo pipefail
source=$1 work=$2 package=$3 what=$4
if ! command -v npm >/dev/null || ! command -v node >/dev/null; then
  echo "BŁĄD: potrzebne są node i npm (scripts/install-deps.sh je instaluje)" >&2
  exit 1
fi
mkdir -p "$work"
if ! cmp -s "$source/package-lock.json" "$work/package-lock.json" || [ ! -d "$work/node_modules/$package" ]; then
  cp "$source/package.json" "$source/package-lock.json" "$work/"
  if ! (cd "$work" && npm ci --no-audit --no-fund --loglevel=error); then
    rm -f "$work/package-lock.json"
    echo "BŁĄD: nie udało się zainstalować $what z npm" >&2
    exit 1
  fi
fi
