# Sourced by the bench scripts that count instructions: instructions COMMAND... prints the
# instructions callgrind counts for one run of the command; standard input comes from the
# caller. The count does not depend on the machine's load. The command runs with an empty
# environment: the C library's start-up costs some 470 instructions for each variable, so a
# count taken under the caller's environment would move with the machine and the shell.
instructions() {
    env -i "$(command -v valgrind)" --tool=callgrind --callgrind-out-file=/dev/null "$@" 2>&1 >/dev/null |
        awk '/Collected :/ { print $NF }'
}
