// JSON as the command line writes it: one line, ", " between members and
// ": " after each key, strings escaped the way the first JSON output of the
// program did, so that scripts reading it see the same bytes as before.
#pragma once

#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace cli {

// A string as a JSON string: '"', '\\' and control characters escaped,
// everything else (UTF-8 included) written as it is.
std::string JsonString(std::string_view text);

// The value on one line, without a line end.
std::string JsonText(const nlohmann::ordered_json &value);

} // namespace cli
