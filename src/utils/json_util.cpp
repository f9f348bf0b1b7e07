#include "utils/json_util.h"

#include <algorithm>
#include <exception>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

std::string json_util_styled(const Json::Value& value)
{
    Json::StyledWriter writer;
    return writer.write(value);
}

namespace {

// Index of the last character of the string or comment starting at `at`.
size_t skip_string(const std::string& text, size_t at)
{
    for (size_t i = at + 1; i < text.size(); ++i) {
        if (text[i] == '\\')
            ++i;
        else if (text[i] == '"')
            return i;
    }
    return text.size();
}

size_t skip_comment(const std::string& text, size_t at)
{
    if (at + 1 >= text.size())
        return at;
    if (text[at + 1] == '/') {
        size_t end = text.find('\n', at);
        return end == std::string::npos ? text.size() : end;
    }
    if (text[at + 1] == '*') {
        size_t end = text.find("*/", at + 2);
        return end == std::string::npos ? text.size() : end + 1;
    }
    return at;
}

} // namespace

JsonShape json_util_shape(const std::string& text, int depthLimit)
{
    JsonShape shape;
    int depth = 0;
    for (size_t i = 0; i < text.size() && shape.depth <= depthLimit; ++i) {
        char c = text[i];
        if (c == '"') {
            i = skip_string(text, i);
        } else if (c == '/') {
            i = skip_comment(text, i);
        } else if (c == '[' || c == '{') {
            shape.depth = std::max(shape.depth, ++depth);
            shape.objects += c == '{';
        } else if ((c == ']' || c == '}') && depth > 0) {
            --depth;
        }
    }
    return shape;
}

JsonRead json_util_read(const std::string& text, Json::Value& out)
{
    if (json_util_shape(text, JSON_MAX_DEPTH).depth > JSON_MAX_DEPTH)
        return JsonRead::TooDeep;
    try {
        Json::Reader reader;
        return reader.parse(text, out, true) ? JsonRead::Ok : JsonRead::NotJson;
    } catch (const std::exception&) {
        return JsonRead::Failed;
    }
}

const char* json_util_reason(JsonRead result)
{
    switch (result) {
    case JsonRead::Ok:
        return "was read";
    case JsonRead::NotJson:
        return "is not JSON";
    case JsonRead::TooDeep:
        return "nests arrays and objects deeper than the limit of " JSON_MAX_DEPTH_TEXT " levels";
    case JsonRead::Failed:
        break;
    }
    return "could not be read";
}

#pragma GCC diagnostic pop
