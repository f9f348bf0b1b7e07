#pragma once
#include <json/json.h>

#include <string>

// The protocol's JSON layout is the styled writer's (three-space indent,
// " : " separators, sorted keys); the reader accepts comments and any root.
std::string json_util_styled(const Json::Value& value);

// Deepest nesting of arrays and objects read from any JSON text. The parser
// itself gives up at 1000 levels by throwing; the deepest widget tree the
// engine builds (MAX_RENDER_DEPTH) needs 2 levels per widget.
inline constexpr int JSON_MAX_DEPTH = 256;
#define JSON_MAX_DEPTH_TEXT "256"

enum class JsonRead { Ok, NotJson, TooDeep, Failed };

// Reads `text`. Nesting deeper than JSON_MAX_DEPTH is refused before the
// recursive parser sees it; nothing the parser throws escapes.
JsonRead json_util_read(const std::string& text, Json::Value& out);
// Why a read failed, worded to follow "the text": "is not JSON", ...
const char* json_util_reason(JsonRead result);
inline bool json_util_parse(const std::string& text, Json::Value& out)
{
    return json_util_read(text, out) == JsonRead::Ok;
}

// What a text holds outside strings and comments, found without parsing it:
// its deepest nesting of arrays and objects (counted no further than
// `depthLimit` + 1) and how many objects it opens.
struct JsonShape {
    int depth = 0;
    size_t objects = 0;
};
JsonShape json_util_shape(const std::string& text, int depthLimit);
