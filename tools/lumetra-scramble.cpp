// Scrambles or unscrambles music library files in place, for the scripts that
// build the library: lumetra-scramble FILE...
#include <cstdio>

#include "generator/XorScramble.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE...\n(scrambling twice gives back the original)\n",
                     argv[0]);
        return 2;
    }
    int status = 0;
    for (int i = 1; i < argc; ++i) {
        if (!lumetra::XorScrambleFile(argv[i])) {
            std::fprintf(stderr, "%s: cannot convert %s\n", argv[0], argv[i]);
            status = 1;
        }
    }
    return status;
}
