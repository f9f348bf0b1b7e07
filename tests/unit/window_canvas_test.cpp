// Windows filled by a page whose minimum size may exceed any canvas.
#include <Ecore_Evas.h>

#include "render_fixture.h"
#include "utils/window_canvas.h"

namespace {

using tree_json::node;

class WindowCanvas : public RenderWindowTest {
protected:
    void canvasSize(int& w, int& h)
    {
        ecore_evas_geometry_get(ecore_evas_ecore_evas_get(evas_object_evas_get(win)), nullptr, nullptr, &w, &h);
    }
    Json::Value labelPage(const std::string& text)
    {
        Json::Value p;
        p["text"] = text;
        Json::Value kids(Json::arrayValue);
        kids.append(node("efl.label", "label", p));
        return node("efl.box", "root", Json::Value(), kids);
    }
};

TEST_F(WindowCanvas, APageLargerThanAnyCanvasIsClippedToIt)
{
    render(labelPage("<item size=99999x99999 vsize=full></item>"));
    renderOnce();
    int w, h;
    canvasSize(w, h);
    EXPECT_EQ(w, MAX_CANVAS_SIDE);
    EXPECT_EQ(h, MAX_CANVAS_SIDE);
    int pw, ph;
    evas_object_geometry_get(page(), nullptr, nullptr, &pw, &ph);
    EXPECT_EQ(pw, w);
    EXPECT_EQ(ph, h);
}

// Below the cap the toolkit grows the window to the page as before (sizes
// scale by 1.8 at 480x800).
TEST_F(WindowCanvas, APageALittleLargerThanTheWindowStillGrowsIt)
{
    render(labelPage("<item size=300x1000 vsize=full></item>"));
    renderOnce();
    int w, h;
    canvasSize(w, h);
    EXPECT_GE(w, 540);
    EXPECT_GE(h, 1800);
    EXPECT_LT(h, MAX_CANVAS_SIDE);
}

} // namespace
