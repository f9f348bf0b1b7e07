#include "components/adapters/container_adapter/scroller_shared.h"

#include <optional>

#include "components/adapters/container_adapter/container_shared.h"
#include "components/adapters/property_walk.h"

namespace {

// Halves of the paired setters seen so far in one node's walk. A pair is
// set with the other half's start value until that half arrives.
struct ScrollerState {
    std::string minLimitW = "false";
    std::string minLimitH = "false";
    std::string bounceH;
    std::string bounceV;
    std::string snapH = "false";
    std::string snapV = "false";
    int policyH = 0;
    int policyV = 0;
    int pageW = 0;
    int pageH = 0;
    int limitH = 0;
    int limitV = 0;
    double relH = 0.0;
    double relV = 0.0;
    std::optional<double> gravityX;
    std::optional<double> gravityY;
};

using PairApply = void (*)(Evas_Object*, const ScrollerState&);

// Both texts exactly "true" or "false".
bool bool_pair(const std::string& a, const std::string& b, bool& x, bool& y)
{
    return prop_bool(a, x) && prop_bool(b, y);
}

void apply_min_limit(Evas_Object* sc, const ScrollerState& s)
{
    bool w, h;
    if (bool_pair(s.minLimitW, s.minLimitH, w, h))
        elm_scroller_content_min_limit(sc, w, h);
}

void apply_page_snap(Evas_Object* sc, const ScrollerState& s)
{
    bool h, v;
    if (bool_pair(s.snapH, s.snapV, h, v))
        elm_scroller_page_snap_set(sc, h, v);
}

void apply_policy(Evas_Object* sc, const ScrollerState& s)
{
    elm_scroller_policy_set(sc, Elm_Scroller_Policy(s.policyH), Elm_Scroller_Policy(s.policyV));
}

void apply_page_size(Evas_Object* sc, const ScrollerState& s) { elm_scroller_page_size_set(sc, s.pageW, s.pageH); }

void apply_page_relative(Evas_Object* sc, const ScrollerState& s)
{
    elm_scroller_page_relative_set(sc, s.relH, s.relV);
}

void apply_page_limit(Evas_Object* sc, const ScrollerState& s)
{
    elm_scroller_page_scroll_limit_set(sc, s.limitH, s.limitV);
}

template <auto M, PairApply Apply>
void text_half(Evas_Object* sc, const std::string& v, ScrollerState& s)
{
    s.*M = v;
    Apply(sc, s);
}

template <auto M, PairApply Apply>
void int_half(Evas_Object* sc, const std::string& v, ScrollerState& s)
{
    int i;
    if (!prop_int(v, i))
        return;
    s.*M = i;
    Apply(sc, s);
}

template <auto M, PairApply Apply>
void real_half(Evas_Object* sc, const std::string& v, ScrollerState& s)
{
    double d;
    if (!prop_finite(sc, v, d))
        return;
    s.*M = d;
    Apply(sc, s);
}

constexpr char POLICY_H[] = "policy-h";
constexpr char POLICY_V[] = "policy-v";

// The toolkit drops a whole policy pair when either half is out of range,
// so a bad half is refused alone and the other half still applies.
template <auto M, const char* Name>
void policy_half(Evas_Object* sc, const std::string& v, ScrollerState& s)
{
    int i;
    if (!prop_int_in(sc, Name, v, ELM_SCROLLER_POLICY_AUTO, ELM_SCROLLER_POLICY_LAST, i))
        return;
    s.*M = i;
    apply_policy(sc, s);
}

const Row<ScrollerState> SCROLLER_ROWS[] = {
    { "min-limit-w", text_half<&ScrollerState::minLimitW, apply_min_limit> },
    { "min-limit-h", text_half<&ScrollerState::minLimitH, apply_min_limit> },
    { "policy-h", policy_half<&ScrollerState::policyH, POLICY_H> },
    { "policy-v", policy_half<&ScrollerState::policyV, POLICY_V> },
    { "single-direction", row::set_int<elm_scroller_single_direction_set, ScrollerState> },
    { "h-bounce", row::keep_text<&ScrollerState::bounceH, ScrollerState> },
    { "v-bounce", row::keep_text<&ScrollerState::bounceV, ScrollerState> },
    { "propagate-events", row::set_bool<elm_scroller_propagate_events_set, ScrollerState> },
    { "gravity-x", row::keep_real<&ScrollerState::gravityX, ScrollerState> },
    { "gravity-y", row::keep_real<&ScrollerState::gravityY, ScrollerState> },
    { "movement-block", row::set_int<elm_scroller_movement_block_set, ScrollerState> },
    { "page-size-h", int_half<&ScrollerState::pageW, apply_page_size> },
    { "page-size-v", int_half<&ScrollerState::pageH, apply_page_size> },
    // Snapping to pages is what the two names ask for; the pair behaves like
    // the minimum-limit pair (both halves start "false").
    { "page-h-snap", text_half<&ScrollerState::snapH, apply_page_snap> },
    { "page-v-snap", text_half<&ScrollerState::snapV, apply_page_snap> },
    { "h-pagerel", real_half<&ScrollerState::relH, apply_page_relative> },
    { "v-pagerel", real_half<&ScrollerState::relV, apply_page_relative> },
    { "page-limit-h", int_half<&ScrollerState::limitH, apply_page_limit> },
    { "page-limit-v", int_half<&ScrollerState::limitV, apply_page_limit> },
};

// Bounce and gravity wait for the end of the walk and need both halves.
void scroller_after(Evas_Object* sc, ScrollerState& s)
{
    bool h, v;
    if (bool_pair(s.bounceH, s.bounceV, h, v))
        elm_scroller_bounce_set(sc, h, v);
    if (s.gravityX && s.gravityY)
        elm_scroller_gravity_set(sc, *s.gravityX, *s.gravityY);
}

constexpr auto SCROLLER_TABLE = property_table(SCROLLER_ROWS, { .after = scroller_after });

} // namespace

bool scroller_kind_set_property(Evas_Object* scroller, _WidgetInfo* node, std::string)
{
    return set_properties(scroller, node, SCROLLER_TABLE);
}
