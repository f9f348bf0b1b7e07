#pragma once
#include <string>

#include "threads/dequeue_thread/cmd.h"

class CmdCreate : public virtual Cmd {
public:
    void deserialize(std::string data) override;
    void doCmd() override;
    int getWidth() const { return m_iWidth; }
    int getHeight() const { return m_iHeight; }
    std::string getProjectPath() const { return m_projectPath; }

private:
    int m_iWidth = 0;
    int m_iHeight = 0;
    std::string m_projectPath;
    std::string m_elmProfile;
    std::string m_defaultThemePath;
    std::string m_customThemePath;
    bool m_bValid = true;
};

class CmdDestroy : public virtual Cmd {
public:
    void doCmd() override;
};
