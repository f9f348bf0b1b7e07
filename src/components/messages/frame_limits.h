#pragma once

// Windows larger than this per side are refused by the create and render
// commands: the canvas is width x height x 4 bytes.
inline constexpr int MAX_WINDOW_SIDE = 8192;

// The largest frame body either side may send is the paint of the largest
// window: the 20-byte preamble and its pixels. Incoming frames above it are
// refused, so every window the engine accepts can also be sent.
inline constexpr int PAINT_PREAMBLE_SIZE = 20;
inline constexpr int MAX_FRAME_BODY = PAINT_PREAMBLE_SIZE + 4 * MAX_WINDOW_SIDE * MAX_WINDOW_SIDE;
static_assert(MAX_FRAME_BODY > 0, "the largest paint must fit the int32 body size field");
