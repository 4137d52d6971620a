# fish completion for fexpr: the switches, the format suffixes, and file names for --sum.

function __fexpr_suffixes
    printf '.%s\n' (seq 0 15)
    printf 'g%s\n' (seq 1 15)
    printf 'e%s\n' (seq 0 15)
    printf '%s\n' x x_ b o :
end

# True when `count` words (the command's name included) stand before the cursor and the
# first parameter matches `pattern`.
function __fexpr_at --argument-names count pattern
    set -l words (commandline -opc)
    test (count $words) -eq $count; or return 1
    test -z "$pattern"; and return 0
    string match -q -- $pattern $words[2]
end

function __fexpr_in_expression
    set -l words (commandline -opc)
    test (count $words) -ge 2; and not string match -q -- '--*' $words[2]
end

complete -c fexpr -f
complete -c fexpr -n '__fexpr_at 1' -a '--each' -d 'answer every line of standard input'
complete -c fexpr -n '__fexpr_at 1' -a '--each=tsv' -d 'answer every line as status<TAB>text'
complete -c fexpr -n '__fexpr_at 1' -a '--sum' -d 'add up the lines of a file or of standard input'
complete -c fexpr -n '__fexpr_at 1' -a '--all' -d 'every layout at once'
complete -c fexpr -n '__fexpr_at 1' -a '--exact' -d 'the double: shortest text, hex form, fields'
complete -c fexpr -n '__fexpr_at 1' -a '--bits=8 --bits=16 --bits=32 --bits=64' -d 'word size of the integer layouts'
complete -c fexpr -n '__fexpr_at 1' -a '--signed' -d 'general layout as a signed integer word'
complete -c fexpr -n '__fexpr_at 1' -a '--unsigned' -d 'general layout as an unsigned integer word'
complete -c fexpr -n '__fexpr_at 1' -a '--help' -d 'print the help'
complete -c fexpr -n '__fexpr_at 1' -a '--version' -d 'print the version'
complete -c fexpr -n '__fexpr_at 1' -a '--' -d 'end of the switches'
complete -c fexpr -n '__fexpr_at 2 "--each*"' -a '(__fexpr_suffixes)'
complete -c fexpr -n '__fexpr_at 2 --sum' -F -a '-'
complete -c fexpr -n '__fexpr_at 3 --sum' -a '(__fexpr_suffixes)'
complete -c fexpr -n __fexpr_in_expression -a '(__fexpr_suffixes)'
