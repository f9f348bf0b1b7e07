#pragma once
// The file selector, its button and its entry: the rows they share, the
// pickers' window size (applied once both halves are known) and their
// removal, which must not leave the toolkit's file jobs behind.
#include <Elementary.h>

#include <array>
#include <cstdlib>
#include <optional>
#include <string>

#include "components/adapters/property_walk.h"

// What a picker remembers during its walk: the window size halves.
struct PickerState {
    std::optional<int> width;
    std::optional<int> height;
};

// An empty size half reads as 0 and counts as given.
template <auto M>
void picker_keep_size(Evas_Object*, const std::string& v, PickerState& s)
{
    s.*M = atoi(v.c_str());
}

// Points a file selector, button or entry at a folder, as the toolkit's
// elm_fileselector_path_set does, without the reference that function keeps
// on the selector's folder model (see picker_shared.cpp).
void picker_path_set(Evas_Object* obj, const char* path);

// Rows every file picker kind knows, for any walk state.
template <class S>
constexpr std::array<Row<S>, 5> picker_file_rows()
{
    return { {
        { "path", row::set_text_null_if_empty<picker_path_set, S> },
        { "save", row::set_bool<elm_fileselector_is_save_set, S> },
        { "folder-only", row::set_bool<elm_fileselector_folder_only_set, S> },
        { "expandable", row::set_bool<elm_fileselector_expandable_set, S> },
        { "selected", row::set_text_null_if_empty<elm_fileselector_selected_set, S> },
    } };
}

// The button's and the entry's rows; the button leaves out the last one ("selected").
inline constexpr size_t PICKER_BUTTON_ROWS = 8;

template <auto TITLE_SET, auto INWIN_SET>
constexpr std::array<Row<PickerState>, PICKER_BUTTON_ROWS + 1> picker_rows()
{
    constexpr auto file = picker_file_rows<PickerState>();
    return { {
        file[0],
        { "window-title", row::set_text_null_if_empty<TITLE_SET, PickerState> },
        { "inwin-mode", row::set_bool<INWIN_SET, PickerState> },
        file[1],
        file[2],
        file[3],
        { "window-size-width", picker_keep_size<&PickerState::width> },
        { "window-size-height", picker_keep_size<&PickerState::height> },
        file[4],
    } };
}

// After the walk: the window size when both halves were given.
template <void (*SIZE_SET)(Evas_Object*, Evas_Coord, Evas_Coord)>
void picker_size_after(Evas_Object* obj, PickerState& s)
{
    if (s.width && s.height)
        SIZE_SET(obj, *s.width, *s.height);
}

// True when `obj` or a node built under it is a file selector, button or entry.
bool holds_file_picker(const Evas_Object* obj);

// Asked for its model, a file selector entry makes a new folder model for the
// path its text names, unless that is its button's folder; its layout asks
// once more while the entry is deleted, and that model then goes with the
// entry while its folder is still being read: the toolkit blocks the main
// loop for up to 0.1 s waiting for the read and leaves the folder watch's
// records behind. Naming the button's folder in the text makes the entry
// hand out the button's model instead. Anything but a file selector entry is
// left alone.
void fileselector_entry_settle(Evas_Object* obj);

// Removes a file selector, button or entry once the toolkit's file jobs
// (their folder model's stat and listing on worker threads) have ended.
bool remove_file_picker(Evas_Object* obj);
