#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quvo {

// The value of "--name VALUE" or "--name=VALUE" at args[i], moving i onto the value; nullopt
// when args[i] is another argument. Throws std::invalid_argument when the value is missing.
std::optional<std::string> OptionValue(const std::vector<std::string>& args, std::size_t& i,
                                       const std::string& name);

}  // namespace quvo
