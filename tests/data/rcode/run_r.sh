#!/bin/sh
# Runs each generated script in R and keeps what R printed beside it
# (<form>.Rout), for r_code_test.cpp. Needs R (Debian: r-base-core); the
# test suite itself does not.
set -e
cd "$(dirname "$0")"
for script in *.R; do
  LC_ALL=C.UTF-8 Rscript --vanilla "$script" > "${script%.R}.Rout"
done
R --version | head -n 1
