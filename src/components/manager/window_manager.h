#pragma once
#include <Evas.h>

#include <map>
#include <string>

struct WinmapProjectItem {
    Evas_Object* window = nullptr; // not owned: the destroy command deletes it
    std::string projectPath;
    std::string elmProfile;
};

// Window id to window, and which project is current: only the current
// project's windows report their frames.
class WindowManager {
public:
    static WindowManager* getInstance();

    void add(int id, Evas_Object* window, const std::string& projectPath, const std::string& elmProfile);
    Evas_Object* find(int id) const;
    void remove(int id);
    int setCurrentProjectPath(int id);
    std::string getCurrentProjectPath(int id) const;
    std::string getElmProfileName(int id) const;
    bool isCurrentProject(int id) const;
    const std::string& currentProjectPath() const { return m_currentProjectPath; }

private:
    WindowManager() = default;
    const WinmapProjectItem* item(int id) const;

    std::map<int, WinmapProjectItem> m_windows;
    std::string m_currentProjectPath;
};
