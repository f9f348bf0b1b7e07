#pragma once
#include <json/json.h>

#include <string>

// The protocol's JSON layout is the styled writer's (three-space indent,
// " : " separators, sorted keys); the reader accepts comments and any root.
std::string json_util_styled(const Json::Value& value);
bool json_util_parse(const std::string& text, Json::Value& out);
