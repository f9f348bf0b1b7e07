#include "threads/dequeue_thread/cmd_theme.h"

#include <initializer_list>

#include "components/manager/project_manager.h"
#include "components/manager/window_manager.h"
#include "components/msg_writer/msg_writer.h"
#include "threads/dequeue_thread/cmd_json.h"
#include "utils/efl_util.h"
#include "utils/json_util.h"
#include "utils/log_util.h"
#include "utils/theme_util.h"

namespace {

struct TextMember {
    const char* key;
    std::string* field;
    const char* fallback;
};

// Text that is not JSON leaves every field empty. Otherwise each field takes
// its member, or its fallback when the member is missing or not a text.
void read_members(const std::string& data, std::initializer_list<TextMember> members)
{
    Json::Value root;
    if (JsonRead r = json_util_read(data, root); r != JsonRead::Ok) {
        diag("command data %s; every field left empty", json_util_reason(r));
        return;
    }
    for (const TextMember& member : members) {
        *member.field = member.fallback;
        cmd_json_text(root, member.key, *member.field);
    }
}

bool has_window(int id)
{
    if (WindowManager::getInstance()->find(id))
        return true;
    diag("no window with this id; nothing sent");
    return false;
}

Elm_Theme* window_theme(int id)
{
    return ProjectManager::getInstance()->getTheme(WindowManager::getInstance()->getCurrentProjectPath(id));
}

} // namespace

void CmdGetGroupNames::deserialize(std::string data)
{
    read_members(data, { { "path", &m_path, "defaultValue" } });
}

void CmdGetGroupNames::doCmd()
{
    if (!has_window(getId()))
        return;
    const char* file = theme_file_usable(m_path.c_str(), "no group listed") ? m_path.c_str() : nullptr;
    std::string text = efl_util_get_group_names(file, m_path.c_str());
    MsgWriter::getInstance()->sendResponseEventMessage(getId(), "EVENT_GET_GROUP_NAMES", text);
}

void CmdGetStyleNames::deserialize(std::string data)
{
    read_members(data, { { "path", &m_path, "defaultValue" } });
}

void CmdGetStyleNames::doCmd()
{
    if (!has_window(getId()))
        return;
    const char* file = theme_file_usable(m_path.c_str(), "no style listed") ? m_path.c_str() : nullptr;
    std::string text = efl_util_get_style_names(file, m_path.c_str());
    MsgWriter::getInstance()->sendResponseEventMessage(getId(), "EVENT_GET_STYLE_NAMES", text);
}

void CmdRemoveStyleName::deserialize(std::string data)
{
    read_members(data, {
                           { "path", &m_path, "defaultValue" },
                           { "widgetType", &m_widgetType, "" },
                           { "style", &m_style, "" },
                           { "itemStyle", &m_itemStyle, "" },
                       });
}

void CmdRemoveStyleName::doCmd()
{
    if (!has_window(getId()))
        return;
    Elm_Theme* theme = window_theme(getId());
    int result = m_itemStyle.empty()
        ? efl_util_remove_style_name(m_path.c_str(), m_widgetType.c_str(), m_style.c_str(), theme)
        : efl_util_remove_item_style_name(m_path.c_str(), m_widgetType.c_str(), m_style.c_str(),
                                          m_itemStyle.c_str(), theme);
    MsgWriter::getInstance()->sendResponseEventMessage(getId(), "EVENT_REMOVE_STYLE_NAME", std::to_string(result));
}

void CmdOverlayTheme::deserialize(std::string data)
{
    read_members(data, { { "path", &m_path, "defaultValue" } });
}

void CmdOverlayTheme::doCmd()
{
    if (!has_window(getId()))
        return;
    if (theme_file_usable(m_path.c_str(), "no overlay added"))
        efl_util_overlay_theme(window_theme(getId()), m_path.c_str());
    MsgWriter::getInstance()->sendResponseEventMessage(getId(), "EVENT_OVERLAY_THEME", "");
}
