# Kept for suites written against the old helpers: the helpers are scripts/lib/harness.bash
# (new suites source it and call e2e_begin themselves, see docs/ARCHITECTURE.md). This gives
# such a suite the run folder and the Wine prefix of its own that the shared library gives.
source "$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/scripts/lib/harness.bash"
e2e_begin || exit 1
