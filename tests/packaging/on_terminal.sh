#!/usr/bin/env bash
# Runs a program on a pseudo-terminal of its own, as a console program runs
# when somebody types at it; its exit status is the program's.
# Usage: on_terminal.sh PROGRAM [ARGUMENT...]
set -euo pipefail
command -v script >/dev/null || { echo "FAIL: needs script (bsdutils)" >&2; exit 1; }
SHELL=/bin/bash exec script --quiet --return --command "$(printf '%q ' "$@")" /dev/null
