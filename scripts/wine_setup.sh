# Kept for scripts written against the old helpers: the Wine and display helpers are in
# scripts/lib/harness.bash, which new scripts source.
source "$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/scripts/lib/harness.bash"
