#include <climits>
#include <optional>

#include "components/adapters/Adapter.h"
#include "components/adapters/pack_properties.h"
#include "components/adapters/property_walk.h"
#include "utils/efl_util.h"

namespace {

struct TableState {
    std::optional<int> cols, rows, padH, padV;
};

const char* const KEY_COLUMNS = "table-columns";

// One placeholder per cell, and each placeholder is an object the toolkit
// lays out and an entry in every frame's placeholder document: 40,000 cells
// took 4.8 s to build. Real tables have tens of cells.
const long long MAX_TABLE_CELLS = 2500;
// Padding past the largest canvas cannot be laid out.
const int MAX_TABLE_PADDING = 8192;

const Row<TableState> TABLE_ROWS[] = {
    { "col_count", row::keep_int<&TableState::cols> },
    { "row_count", row::keep_int<&TableState::rows> },
    { "padding_h", row::keep_int<&TableState::padH> },
    { "padding_v", row::keep_int<&TableState::padV> },
    { "homogeneous", row::set_bool<elm_table_homogeneous_set> },
};

// One placeholder per cell, row-major, so cell (left, top) is entry left + top * columns.
void make_cell_placeholders(Evas_Object* table, int cols, int rows)
{
    elm_table_clear(table, EINA_TRUE);
    for (int i = 0; i < rows; ++i) {
        for (int j = 0; j < cols; ++j) {
            Evas_Object* ph = makePlaceHolder(table);
            elm_table_pack(table, ph, j, i, 1, 1);
            efl_util_list_append(table, KEY_PLACEHOLDER, ph);
        }
    }
    evas_object_data_set(table, KEY_COLUMNS, reinterpret_cast<void*>(intptr_t(cols)));
}

void table_cells(Evas_Object* table, int cols, int rows)
{
    if (cols < 0 || rows < 0 || (long long)cols * rows > MAX_TABLE_CELLS)
        node_diag(table, "%d x %d cells is outside 0..%lld cells; no cell placeholders", cols, rows, MAX_TABLE_CELLS);
    else
        make_cell_placeholders(table, cols, rows);
}

void table_padding(Evas_Object* table, int h, int v)
{
    if (h < 0 || v < 0 || h > MAX_TABLE_PADDING || v > MAX_TABLE_PADDING)
        node_diag(table, "padding %d x %d is outside 0..%d; ignored", h, v, MAX_TABLE_PADDING);
    else
        elm_table_padding_set(table, h, v);
}

void table_after(Evas_Object* table, TableState& s)
{
    if (s.cols && s.rows)
        table_cells(table, *s.cols, *s.rows);
    if (s.padH && s.padV)
        table_padding(table, *s.padH, *s.padV);
}

constexpr auto TABLE_PROPERTY_TABLE = property_table(TABLE_ROWS, { .after = table_after });
constexpr auto table_set_property = set_property_by<TABLE_PROPERTY_TABLE>;

// Marks the placeholder of the child's top-left cell with the child's id.
void mark_cell(Evas_Object* table, Evas_Object* child, int left, int top)
{
    int cols = int(reinterpret_cast<intptr_t>(evas_object_data_get(table, KEY_COLUMNS)));
    if (cols == 0 || left < 0 || top < 0)
        return;
    long index = long(left) + long(top) * cols;
    if (index > INT_MAX)
        return;
    auto* ph = static_cast<Evas_Object*>(eina_list_nth(efl_util_list_get(table, KEY_PLACEHOLDER), unsigned(index)));
    if (ph)
        efl_util_tag_text(ph, KEY_WID, static_cast<const char*>(evas_object_data_get(child, KEY_WID)));
}

bool table_pack(Evas_Object* table, Evas_Object* child, _WidgetInfo* childNode)
{
    if (!table || !child)
        return false;
    PackArea a = read_pack_area(childNode, -1, -1);
    if (a.left == -1 || a.top == -1 || a.width == -1 || a.height == -1)
        return true;
    elm_table_pack(table, child, a.left, a.top, a.width, a.height);
    mark_cell(table, child, a.left, a.top);
    return true;
}

bool table_unpack(Evas_Object* table, Evas_Object* child, _WidgetInfo*)
{
    if (!table)
        return false;
    elm_table_unpack(table, child);
    return true;
}

Evas_Object* table_add(Evas_Object* parent)
{
    return elm_table_add(parent);
}

} // namespace

extern const WidgetAdapter table_adapter = {
    .add = table_add,
    .remove = remove_widget,
    .set_property = table_set_property,
    .pack = table_pack,
    .unpack = table_unpack,
};
