#!/bin/bash
# Configures and builds one preset: native or windows.
set -eu
cd "$(dirname "$(readlink -f "$0")")/.."
preset=$1
shift
cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" "$@"
