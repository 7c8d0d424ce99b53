#include "settings/commandline.h"

#include <stdexcept>

namespace quvo {

std::optional<std::string> OptionValue(const std::vector<std::string>& args, std::size_t& i,
                                       const std::string& name) {
    const std::string& arg = args[i];
    if (arg.rfind(name + "=", 0) == 0) {
        return arg.substr(name.size() + 1);
    }
    if (arg != name) {
        return std::nullopt;
    }
    if (i + 1 >= args.size()) {
        throw std::invalid_argument(name + " needs a value");
    }
    return args[++i];
}

}  // namespace quvo
