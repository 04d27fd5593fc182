#include "cli/json_text.h"

#include <cstdio>

namespace cli {

std::string JsonString(std::string_view text)
{
    std::string quoted = "\"";
    for (char c : text) {
        switch (c) {
        case '"': quoted += "\\\""; break;
        case '\\': quoted += "\\\\"; break;
        case '\n': quoted += "\\n"; break;
        case '\r': quoted += "\\r"; break;
        case '\t': quoted += "\\t"; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escape[8];
                std::snprintf(escape, sizeof escape, "\\u%04x", static_cast<unsigned>(static_cast<unsigned char>(c)));
                quoted += escape;
            } else {
                quoted += c;
            }
        }
    }
    return quoted + '"';
}

namespace {

void Append(const nlohmann::ordered_json &value, std::string &out)
{
    if (value.is_object()) {
        out += '{';
        const char *separator = "";
        for (const auto &[key, member] : value.items()) {
            out += separator;
            out += JsonString(key);
            out += ": ";
            Append(member, out);
            separator = ", ";
        }
        out += '}';
    } else if (value.is_array()) {
        out += '[';
        const char *separator = "";
        for (const auto &element : value) {
            out += separator;
            Append(element, out);
            separator = ", ";
        }
        out += ']';
    } else if (value.is_string()) {
        out += JsonString(value.get_ref<const std::string &>());
    } else {
        out += value.dump(); // numbers, true, false, null
    }
}

} // namespace

std::string JsonText(const nlohmann::ordered_json &value)
{
    std::string out;
    Append(value, out);
    return out;
}

} // namespace cli
