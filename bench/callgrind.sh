# Sourced by the bench scripts that count instructions: instructions COMMAND... prints the
# instructions callgrind counts for one run of the command; standard input comes from the
# caller. The count does not depend on the machine's load.
instructions() {
    valgrind --tool=callgrind --callgrind-out-file=/dev/null "$@" 2>&1 >/dev/null |
        awk '/Collected :/ { print $NF }'
}
