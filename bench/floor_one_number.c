/* The floor for one expression per process: a static C program that reads one number from
 * its first parameter and prints it. bench/batch.sh builds it with `cc -O2 -static`. */
#include <stdio.h>
#include <stdlib.h>

int main(int argc, char** argv) {
    if (argc < 2) return 1;
    printf("%.15g\n", strtod(argv[1], NULL));
    return 0;
}
