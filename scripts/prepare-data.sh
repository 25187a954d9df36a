#!/usr/bin/env bash
# Fills the Data directory with the supplied tables that it lacks.
# A table already there, in any letter case, is the user's and is left alone.
set -euo pipefail
build="$1"; dir="$2"
mkdir -p "$dir"
shopt -s nullglob
for src in "$build"/tables/*; do
  name=$(basename "$src")
  lower=$(echo "$name" | tr '[:upper:]' '[:lower:]')
  present=""
  for f in "$dir"/*; do
    [ "$(basename "$f" | tr '[:upper:]' '[:lower:]')" = "$lower" ] && present=1 && break
  done
  if [ -z "$present" ]; then cp "$src" "$dir/$name"; echo "Table installée : $dir/$name"; fi
done
