#pragma once
#include <Elementary.h>

#include <map>
#include <string>

// One theme per project path; a null handle stands for the toolkit's default theme.
class ProjectManager {
public:
    static ProjectManager* getInstance();

    Elm_Theme* setTheme(const std::string& projectPath, const std::string& defaultThemePath);
    Elm_Theme* getTheme(const std::string& projectPath);

private:
    ProjectManager() = default;
    std::map<std::string, Elm_Theme*> m_themes;
};
