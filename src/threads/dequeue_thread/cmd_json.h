#pragma once
#include <json/json.h>

#include <string>

#include "components/messages/frame_limits.h"

// Reading command-data members with the conversions the protocol allows:
// integers accept null, booleans and in-range reals; texts accept null and
// booleans. Anything else is refused, with a diagnostic naming the key.
enum class Member { Absent, Ok, WrongType };

// Reads "width" and "height": both must be integers within 0..MAX_WINDOW_SIDE.
// Otherwise says why, followed by `consequence`, and returns false.
bool cmd_json_size(const Json::Value& object, int& width, int& height, const char* consequence);

Member cmd_json_int(const Json::Value& object, const char* key, int& out);
Member cmd_json_text(const Json::Value& object, const char* key, std::string& out);
