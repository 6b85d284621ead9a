// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

// Where a window goes on the screen and how large it is, without the window
// toolkit. Pixels are the toolkit's logical pixels; y grows downwards.
namespace tl {

struct Extent {
    int width = 0;
    int height = 0;
};

struct Spot {
    int x = 0;
    int y = 0;
};

struct Area {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// What the window manager adds around a window's client area: the borders and,
// at the top, the title bar.
struct FrameMargins {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const FrameMargins&) const = default;
};

struct WindowRequest {
    Extent designed;     // the client size the window is made for
    Extent minimum;      // the client size below which its controls do not fit
    Area available;      // the screen's free area (without panels and docks)
    FrameMargins frame;  // the frame the window has or will get
    Spot frameAt;        // where the frame's top-left corner is or is meant to be
};

struct WindowFit {
    Extent client;  // the client size to give the window
    Spot frameAt;   // the frame's top-left corner
};

// The designed size, or less where the free area less the frame is smaller,
// but never below the minimum; the frame moved as little as needed to lie
// within the free area. A window larger than the free area keeps its left and
// top edges, and so its title bar, on the screen: what does not fit goes off
// the right and the bottom.
WindowFit fitWindow(const WindowRequest& request);

// The same window once its real frame is known, after it was fitted for the
// frame `assumed` and given the client size `client`. A side that filled the
// free area under the assumed frame fills it under the real one.
WindowFit refitWindow(const WindowRequest& request, const FrameMargins& assumed, Extent client);

}  // namespace tl
