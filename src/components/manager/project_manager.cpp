#include "components/manager/project_manager.h"

ProjectManager* ProjectManager::getInstance()
{
    static ProjectManager* instance = new ProjectManager;
    return instance;
}

Elm_Theme* ProjectManager::setTheme(const std::string& projectPath, const std::string& defaultThemePath)
{
    Elm_Theme*& theme = m_themes[projectPath];
    if (defaultThemePath.empty()) {
        theme = nullptr;
        return nullptr;
    }
    if (!theme) {
        theme = elm_theme_new();
        elm_theme_set(theme, defaultThemePath.c_str());
    }
    return theme;
}

Elm_Theme* ProjectManager::getTheme(const std::string& projectPath)
{
    return m_themes[projectPath];
}
