// SPDX-License-Identifier: MIT
#include "driver/mcommandline.h"

int main(int argc, char** argv) {
    return MCommandLine::run(argc, argv);
}
