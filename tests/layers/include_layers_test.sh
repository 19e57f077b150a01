#!/usr/bin/env bash
# include_layers_test.sh [ROOT]: every include of a source under src/ or hook/ names a header
# of its own folder or of a lower layer. The layers, bottom to top (one line each; folders on
# one line are peers that may not include each other):
layers=(
    "text res"
    "framework"
    "theme hook"
    "settings"
    "items"
    "settings_ui"
    "launcher"
)
set -u
root=${1:-$(cd "$(dirname "$0")/../.." && pwd)}
cd "$root" || exit 1

declare -A rank
for i in "${!layers[@]}"; do
    for folder in ${layers[$i]}; do rank[$folder]=$i; done
done

failed=0
while IFS=: read -r file line included; do
    from=${file#src/}
    from=${from%%/*}
    to=${included%%/*}
    [ "$from" = "$to" ] && continue
    if [ -z "${rank[$from]+x}" ] || [ -z "${rank[$to]+x}" ]; then
        echo "not ok - $file:$line includes $included: folder not in the layer list"
        failed=1
    elif [ "${rank[$to]}" -ge "${rank[$from]}" ]; then
        echo "not ok - $file:$line includes $included: $to is not below $from"
        failed=1
    fi
done < <(git grep -n -E '^#include "[a-z_]+/' -- 'src/*' 'hook/*' | sed -E 's/^([^:]+):([0-9]+):#include "([^"]+)".*/\1:\2:\3/')
[ $failed = 0 ] && echo "ok - every include points down or within its folder"
exit $failed
