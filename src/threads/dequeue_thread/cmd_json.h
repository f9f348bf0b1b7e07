#pragma once
#include <json/json.h>

#include <string>

// Reading command-data members with the conversions the protocol allows:
// integers accept null, booleans and in-range reals; texts accept null and
// booleans. Anything else is refused, with a diagnostic naming the key.
enum class Member { Absent, Ok, WrongType };

Member cmd_json_int(const Json::Value& object, const char* key, int& out);
Member cmd_json_text(const Json::Value& object, const char* key, std::string& out);
