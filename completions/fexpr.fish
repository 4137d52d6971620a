# fish completion for fexpr: the switches, the format suffixes, and file names for --sum.
# tests/check_completion.sh runs it and checks it against the switches of `fexpr --help`.

function __fexpr_suffixes
    printf '.%s\n' (seq 0 15)
    printf 'g%s\n' (seq 1 15)
    printf 'e%s\n' (seq 0 15)
    printf '%s\n' x x_ b o :
end

# The words before the cursor without the output switches, which may stand before everything
# else: after them the switches and the rest complete as without them.
function __fexpr_words
    set -l words (commandline -opc)
    while test (count $words) -ge 2
        and string match -qr -- '^--(all|exact|signed|unsigned|explain|bits=.*)$' $words[2]
        set -e words[2]
    end
    printf '%s\n' $words
end

# True when `count` words (the command's name included) stand before the cursor, output
# switches not counted, and the first other parameter matches `pattern`.
function __fexpr_at --argument-names count pattern
    set -l words (__fexpr_words)
    test (count $words) -eq $count; or return 1
    test -z "$pattern"; and return 0
    string match -q -- $pattern $words[2]
end

# Switches are offered for a word that begins with '-', as in the other shells (fish would
# otherwise offer --bits=16 for a number 1).
function __fexpr_switch_place
    __fexpr_at 1; and string match -q -- '-*' (commandline -ct)
end

function __fexpr_in_expression
    set -l words (__fexpr_words)
    test (count $words) -ge 2; and not string match -q -- '--*' $words[2]
end

complete -c fexpr -f
complete -c fexpr -n __fexpr_switch_place -a '--each' -d 'answer every line of standard input'
complete -c fexpr -n __fexpr_switch_place -a '--each=tsv' -d 'answer every line as status<TAB>text'
complete -c fexpr -n __fexpr_switch_place -a '--sum' -d 'add up the lines of a file or of standard input'
complete -c fexpr -n __fexpr_switch_place -a '--all' -d 'every layout at once'
complete -c fexpr -n __fexpr_switch_place -a '--exact' -d 'the double: shortest text, hex form, fields'
complete -c fexpr -n __fexpr_switch_place -a '--bits=8 --bits=16 --bits=32 --bits=64' -d 'word size of the integer layouts'
complete -c fexpr -n __fexpr_switch_place -a '--signed' -d 'general layout as a signed integer word'
complete -c fexpr -n __fexpr_switch_place -a '--unsigned' -d 'general layout as an unsigned integer word'
complete -c fexpr -n __fexpr_switch_place -a '--explain' -d 'how the expression was read, on standard error'
complete -c fexpr -n __fexpr_switch_place -a '--help' -d 'print the help'
complete -c fexpr -n __fexpr_switch_place -a '--version' -d 'print the version'
complete -c fexpr -n __fexpr_switch_place -a '--' -d 'end of the switches'
complete -c fexpr -n '__fexpr_at 2 "--each*"' -a '(__fexpr_suffixes)'
complete -c fexpr -n '__fexpr_at 2 --sum' -F -a '-'
complete -c fexpr -n '__fexpr_at 3 --sum' -a '(__fexpr_suffixes)'
complete -c fexpr -n __fexpr_in_expression -a '(__fexpr_suffixes)'
