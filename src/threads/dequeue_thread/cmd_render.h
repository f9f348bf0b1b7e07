#pragma once
#include <Elementary.h>
#include <json/json.h>

#include <string>

#include "components/adapters/widget_info.h"
#include "threads/dequeue_thread/cmd.h"
#include "utils/window_canvas.h"

// What one render may ask for. Real screens have a few hundred widgets a dozen
// levels deep. Measured on the toolkit: 490 nested boxes build and lay out in
// 0.4 s; 1,000 labels in one box take 0.3 s, 3,000 take 1.5 s and 10,000
// several minutes; the JSON parser throws past 1000 levels (2 per widget). Larger trees are
// refused before anything is parsed recursively or torn down.
inline constexpr int MAX_RENDER_DEPTH = 64;
inline constexpr int MAX_RENDER_NODES = 5000;
inline constexpr size_t MAX_RENDER_DATA_BYTES = 16u << 20;

class CmdRender : public virtual Cmd {
public:
    void deserialize(std::string data) override;
    void doCmd() override;

    double getScale() const { return m_dScale; }
    void setScale(double scale) { m_dScale = scale; }
    void setProjectPath(std::string path) { m_projectPath = std::move(path); }
    std::string getProjectPath() const { return m_projectPath; }
    void setRenderData(std::string data) { m_renderData = std::move(data); }
    void setSize(int width, int height) { m_iWidth = width; m_iHeight = height; }

    // The tree of the render data; null when it is not a JSON widget tree or
    // is refused (then refusal() says why).
    WidgetInfoPtr createWingetsInfo();
    const std::string& refusal() const { return m_refusal; }
    Eina_List* createSubWidgetInfo(_WidgetInfo* parent, const Json::Value& array);
    Evas_Object* createWidgets(Evas_Object* window, Evas_Object* parent, _WidgetInfo* node);

private:
    WidgetInfoPtr makeNode(const Json::Value& object, _WidgetInfo* parent, bool restoreEscapes, int depth);
    Eina_List* createSubWidgets(_WidgetInfo* parent, const Json::Value& array, int depth);
    bool refuse(std::string why);

    int m_iWidth = 0;
    int m_iHeight = 0;
    double m_dScale = 0.0;
    std::string m_renderData;
    std::string m_renderType;
    std::string m_projectPath;
    bool m_bValid = true;
    std::string m_refusal;
    int m_iNodes = 0;
};

double getScaleFromWinSize(int width, int height);
