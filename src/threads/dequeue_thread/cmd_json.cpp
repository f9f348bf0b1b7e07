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

bool cmd_json_size(const Json::Value& object, int& width, int& height, const char* consequence)
{
    Member w = cmd_json_int(object, "width", width);
    Member h = cmd_json_int(object, "height", height);
    if (w != Member::Ok || h != Member::Ok) {
        diag("\"width\" and \"height\" must both be given as integers; %s", consequence);
        return false;
    }
    if (width < 0 || height < 0 || width > MAX_WINDOW_SIDE || height > MAX_WINDOW_SIDE) {
        diag("size %dx%d out of range 0..%d; %s", width, height, MAX_WINDOW_SIDE, consequence);
        return false;
    }
    return true;
}
