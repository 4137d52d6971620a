/* The floor for streaming: a static C program that prompts, reads a line with fgets,
 * converts it with strtod and prints it, as fexpr's interactive mode does with a line.
 * bench/batch.sh builds it with `cc -O2 -static`. */
#include <stdio.h>
#include <stdlib.h>

int main(void) {
    char line[16384];
    for (;;) {
        fputs("> ", stdout);
        if (fgets(line, sizeof line, stdin) == NULL) break;
        printf("%.15g\n", strtod(line, NULL));
    }
    return 0;
}
