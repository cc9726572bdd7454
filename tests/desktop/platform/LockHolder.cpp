#include <iostream>
#include <limits>

#include "desktop/platform/SingleInstance.h"

// Takes the single-instance lock in the folder given, says "locked" and keeps
// the lock until its standard input closes.
int main(int argc, char** argv) {
    if (argc != 2)
        return 2;
    zv::SingleInstance instance(QString::fromLocal8Bit(argv[1]));
    if (!instance.TryAcquire())
        return 1;
    std::cout << "locked" << std::endl;
    std::cin.ignore(std::numeric_limits<std::streamsize>::max());
    return 0;
}
