// Entry point of the fexpr program.
#include "driver/modes.h"

int main(int argc, char** argv) {
    fexpr::driver::run(argc, argv);
}
