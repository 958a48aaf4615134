#include "cli/Commands.h"

#include <algorithm>
#include <iostream>

#include "core/JsonText.h"

namespace mb::cli {

int usageError(const std::string& message) {
    std::cerr << "meterbench-cli: " << message << '\n';
    return kExitUsage;
}

int usageError(const std::string& message, const Args& args) {
    if (std::find(args.begin(), args.end(), "--json") != args.end())
        std::cout << "{\"check\":\"error\",\"reason\":" << jsonQuoted(message) << "}\n";
    return usageError(message);
}

}  // namespace mb::cli
