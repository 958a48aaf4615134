#include "cli/Commands.h"

#include <iostream>

namespace mb::cli {

int usageError(const std::string& message) {
    std::cerr << "meterbench-cli: " << message << '\n';
    return kExitUsage;
}

}  // namespace mb::cli
