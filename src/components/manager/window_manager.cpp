#include "components/manager/window_manager.h"

WindowManager* WindowManager::getInstance()
{
    static WindowManager* instance = new WindowManager;
    return instance;
}

const WinmapProjectItem* WindowManager::item(int id) const
{
    auto it = m_windows.find(id);
    return it == m_windows.end() ? nullptr : &it->second;
}

void WindowManager::add(int id, Evas_Object* window, const std::string& projectPath, const std::string& elmProfile)
{
    m_windows.try_emplace(id, WinmapProjectItem { window, projectPath, elmProfile });
}

Evas_Object* WindowManager::find(int id) const
{
    const WinmapProjectItem* it = item(id);
    return it ? it->window : nullptr;
}

void WindowManager::remove(int id)
{
    m_windows.erase(id);
}

int WindowManager::setCurrentProjectPath(int id)
{
    const WinmapProjectItem* it = item(id);
    if (!it)
        return -1;
    m_currentProjectPath = it->projectPath;
    return 0;
}

std::string WindowManager::getCurrentProjectPath(int id) const
{
    const WinmapProjectItem* it = item(id);
    return it ? it->projectPath : std::string();
}

std::string WindowManager::getElmProfileName(int id) const
{
    const WinmapProjectItem* it = item(id);
    return it ? it->elmProfile : std::string();
}

bool WindowManager::isCurrentProject(int id) const
{
    const WinmapProjectItem* it = item(id);
    return it && it->projectPath == m_currentProjectPath;
}
