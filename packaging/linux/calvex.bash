# bash completion for calvex: its verbs, each verb's options and the keys of
# `calvex set`, read from calvex's own --help texts when asked, so they are
# always the installed program's.

_calvex_verbs() {
    "$1" --help 2>/dev/null |
        awk '/^Verbs:$/ { on = 1; next } /^[^ ]/ || /^$/ { on = 0 } on && /^  [a-z]/ { print $1 }'
}

_calvex_options() {
    "$1" "$2" --help 2>/dev/null |
        awk '/^Options:$/ { on = 1; next } /^[^ ]/ { on = 0 }
             on && /^  -/ { n = split($1, names, ","); for (i = 1; i <= n; i++) print names[i] }'
}

# The keys `calvex set --help` lists, written out: "F1|F2" gives both, N the
# numbers the line allows (1 to 12 unless it says "(N a-b)"), and a name
# ending in -X every name its neighbours list for that place (SW-A ... SW-D).
_calvex_set_keys() {
    "$1" set --help 2>/dev/null | awk '
        /^Keys:$/ { on = 1; next }
        /^Examples?:$/ { on = 0 }
        on && /^  [a-zA-Z]/ {
            line = substr($0, 3)
            if (match(line, /  +/)) { key = substr(line, 1, RSTART - 1); what = substr(line, RSTART + RLENGTH) }
            else { key = substr(line, 1, index(line, " ") - 1); what = substr(line, index(line, " ") + 1) }
            keys[++count] = key; whats[count] = what
            n = split(key, seg, ".")
            prefix = ""
            for (i = 1; i <= n; i++) {
                if (seg[i] ~ /\|/) alts[prefix] = seg[i]
                prefix = prefix seg[i] "."
            }
        }
        function numbers(what,    part, lo, hi, a, b, rest) {
            lo = 1; hi = 12
            if (index(what, "(N ") > 0) {
                part = substr(what, index(what, "(N ") + 3)
                part = substr(part, 1, index(part, ")") - 1)
                lo = 0; hi = 0; rest = part
                while (match(rest, /[0-9]+-[0-9]+/)) {
                    a = substr(rest, RSTART, RLENGTH); b = a
                    sub(/-.*/, "", a); sub(/.*-/, "", b)
                    if (lo == 0 || a + 0 < lo) lo = a + 0
                    if (b + 0 > hi) hi = b + 0
                    rest = substr(rest, RSTART + RLENGTH)
                }
                if (lo == 0) { lo = 1; hi = 12 }
            }
            return lo " " hi
        }
        function expand(done, key, what,    n, seg, head, tail, prefix, opts, m, i, r, range) {
            n = index(key, ".")
            head = n ? substr(key, 1, n - 1) : key
            tail = n ? substr(key, n + 1) : ""
            if (head == "N") {
                split(numbers(what), range, " ")
                m = 0
                for (i = range[1]; i <= range[2]; i++) opts[++m] = i
            } else if (head ~ /-X$/ && (done in alts)) {
                m = split(alts[done], opts, "|")
            } else {
                m = split(head, opts, "|")
            }
            for (i = 1; i <= m; i++) {
                if (tail == "") print done opts[i]
                else expand(done opts[i] ".", tail, what)
            }
        }
        END { for (k = 1; k <= count; k++) expand("", keys[k], whats[k]) }'
}

_calvex() {
    local cur prev words cword
    if declare -F _init_completion >/dev/null; then
        _init_completion -n = || return
    else
        words=("${COMP_WORDS[@]}")
        cword=$COMP_CWORD
        cur=${words[cword]}
        prev=${words[cword - 1]}
    fi
    local prog=${words[0]}
    local IFS=$'\n'
    if [ "$cword" -eq 1 ]; then
        COMPREPLY=($(compgen -W "$(_calvex_verbs "$prog")"$'\n--help\n--version' -- "$cur"))
        return
    fi
    local verb=${words[1]}
    case $prev in
        --port)
            COMPREPLY=($(compgen -W "$(ls -d /dev/serial/by-id/* /dev/ttyUSB* /dev/ttyACM* 2>/dev/null; printf 'COM%d\n' {1..64})" -- "$cur"))
            return ;;
        --out)
            COMPREPLY=($(compgen -f -- "$cur"))
            return ;;
        --delay)
            return ;;
    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$(_calvex_options "$prog" "$verb")" -- "$cur"))
        return
    fi
    # After the file, set takes KEY=VALUE changes.
    if [ "$verb" = set ]; then
        local i files=0
        for ((i = 2; i < cword; i++)); do
            case ${words[i]} in
                --out) ((i++)) ;;
                -*) ;;
                *) ((files++)) ;;
            esac
        done
        if [ $files -ge 1 ]; then
            [[ $cur == *=* ]] && return
            COMPREPLY=($(compgen -W "$(_calvex_set_keys "$prog" | sed 's/$/=/')" -- "$cur"))
            compopt -o nospace 2>/dev/null
            return
        fi
    fi
    COMPREPLY=($(compgen -f -- "$cur"))
    compopt -o filenames 2>/dev/null
}
complete -F _calvex calvex
