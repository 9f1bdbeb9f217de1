#!/usr/bin/env bash
# Installs the npm crossword layout generator into WORK_DIR beside the script
# that runs it.
#   install.sh SOURCE_DIR WORK_DIR
set -euo pipefail
source=$1 work=$2
bash "$source/../../scripts/npm-install-into.sh" "$source" "$work" crossword-layout-generator \
  "crossword-layout-generator"
cp "$source/layout.cjs" "$work/"
