#!/usr/bin/env bash
# Checks that every #include between folders of src/ points down the layers:
#   base <- fontdata <- win <- fontcheck <- controls <- window
#        <- catalogue, preview, docking, fontfiles, fontinfo <- app
# A file may include its own folder and the layers below it; the feature folders never
# include each other. Prints every offending line and exits non-zero if there is one.
set -euo pipefail
SRC=${1:-$(cd "$(dirname "$0")/.." && pwd)/src}

rank() {
    case $1 in
    base) echo 0 ;;
    fontdata) echo 1 ;;
    win) echo 2 ;;
    fontcheck) echo 3 ;;
    controls) echo 4 ;;
    window) echo 5 ;;
    catalogue | preview | docking | fontfiles | fontinfo) echo 6 ;;
    app) echo 7 ;;
    *) echo -1 ;;
    esac
}

status=0
checked=0
while IFS= read -r file; do
    own=${file#"$SRC"/}
    own=${own%%/*}
    own_rank=$(rank "$own")
    if [ "$own_rank" -lt 0 ]; then
        echo "$file: folder '$own' is not a layer"
        status=1
        continue
    fi
    while IFS= read -r line; do
        target=$(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"/]*\)\/.*".*/\1/p' <<<"$line")
        [ -n "$target" ] || continue
        checked=$((checked + 1))
        [ "$target" = "$own" ] && continue
        target_rank=$(rank "$target")
        if [ "$target_rank" -lt 0 ] || [ "$target_rank" -ge "$own_rank" ]; then
            echo "$file: $line  ($own may not include $target)"
            status=1
        fi
    done < <(grep -E '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" || true)
done < <(find "$SRC" -type f \( -name '*.h' -o -name '*.cpp' \) | sort)

if [ $status -eq 0 ]; then
    echo "layers: $checked includes between and within folders, all pointing down"
fi
exit $status
