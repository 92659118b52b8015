#!/usr/bin/env bash
# Installs what is missing, builds, and starts Cantorium from its program folder.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
exec build/Cantorium/cantorium
