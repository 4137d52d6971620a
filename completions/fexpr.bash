# bash completion for fexpr: the switches, the format suffixes, and file names for --sum.
# Installed as bash-completion/completions/fexpr; also works when sourced on its own.
# tests/check_completion.sh runs it and checks it against the switches of `fexpr --help`.

_fexpr_suffixes() {
    printf '%s\n' .{0..15} g{1..15} e{0..15} x x_ b o :
}

# The words are taken from the line itself rather than from COMP_WORDS, which bash splits at
# '=' and ':' (as in --each=tsv and the suffix ':'). Candidates are then cut back to the part
# after the last such break, which is the part bash replaces.
_fexpr() {
    local line=${COMP_LINE:0:COMP_POINT}
    local -a words
    read -ra words <<<"$line"
    [[ $line == *[[:space:]] || ${#words[@]} -eq 0 ]] && words+=("")
    # The output switches may stand before everything else; the rest completes as without
    # them.
    while ((${#words[@]} > 2)) && [[ ${words[1]} =~ ^--(all|exact|signed|unsigned|explain|bits=.*)$ ]]; do
        words=("${words[0]}" "${words[@]:2}")
    done
    local position=$((${#words[@]} - 1))
    local cur=${words[position]}
    local -a candidates=()
    if ((position == 1)); then
        [[ $cur == -* ]] && candidates=(--each --each=tsv --sum --all --exact --bits={8,16,32,64}
            --signed --unsigned --explain --help --version --)
    else
        case ${words[1]} in
        --each | --each=tsv)
            ((position == 2)) && mapfile -t candidates < <(_fexpr_suffixes)
            ;;
        --sum)
            if ((position == 2)); then
                compopt -o filenames 2>/dev/null
                mapfile -t candidates < <(compgen -f -- "$cur")
                candidates+=(-)
            elif ((position == 3)); then
                mapfile -t candidates < <(_fexpr_suffixes)
            fi
            ;;
        --help | --version) ;;
        *) mapfile -t candidates < <(_fexpr_suffixes) ;;
        esac
    fi
    local broken=${cur%"${cur##*[=:]}"}
    COMPREPLY=()
    local candidate
    for candidate in "${candidates[@]}"; do
        [[ $candidate == "$cur"* ]] && COMPREPLY+=("${candidate#"$broken"}")
    done
}

complete -F _fexpr fexpr
