#include "utils/json_util.h"

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

std::string json_util_styled(const Json::Value& value)
{
    Json::StyledWriter writer;
    return writer.write(value);
}

bool json_util_parse(const std::string& text, Json::Value& out)
{
    Json::Reader reader;
    return reader.parse(text, out, true);
}

#pragma GCC diagnostic pop
