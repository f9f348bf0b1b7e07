#include "threads/dequeue_thread/cmd_json.h"

#include "utils/log_util.h"

Member cmd_json_int(const Json::Value& object, const char* key, int& out)
{
    if (!object.isObject() || !object.isMember(key))
        return Member::Absent;
    const Json::Value& v = object[key];
    if (!v.isConvertibleTo(Json::intValue)) {
        diag("\"%s\" is not an integer", key);
        return Member::WrongType;
    }
    out = v.asInt();
    return Member::Ok;
}

Member cmd_json_text(const Json::Value& object, const char* key, std::string& out)
{
    if (!object.isObject() || !object.isMember(key))
        return Member::Absent;
    const Json::Value& v = object[key];
    if (!(v.isString() || v.isNull() || v.isBool())) {
        diag("\"%s\" is not a string", key);
        return Member::WrongType;
    }
    out = v.asString();
    return Member::Ok;
}
