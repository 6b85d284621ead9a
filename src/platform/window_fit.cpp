// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/window_fit.h"

#include <algorithm>

namespace tl {

namespace {

FrameMargins nonNegative(const FrameMargins& m) {
    return {std::max(0, m.left), std::max(0, m.top), std::max(0, m.right), std::max(0, m.bottom)};
}

// The client area the free area leaves inside the frame.
Extent room(const Area& available, const FrameMargins& frame) {
    const FrameMargins m = nonNegative(frame);
    return {available.width - m.left - m.right, available.height - m.top - m.bottom};
}

// The frame's edge along one side: back inside the free area's far end, then
// its near end, so that the near end wins when the frame is the larger.
int placeEdge(int at, int outer, int freeStart, int freeLength) {
    at = std::min(at, freeStart + freeLength - outer);
    return std::max(at, freeStart);
}

}  // namespace

WindowFit fitWindow(const WindowRequest& request) {
    const Extent space = room(request.available, request.frame);
    const Extent client{
        std::max({std::min(request.designed.width, space.width), request.minimum.width, 1}),
        std::max({std::min(request.designed.height, space.height), request.minimum.height, 1})};
    const FrameMargins m = nonNegative(request.frame);
    const Area& free = request.available;
    return {client,
            {placeEdge(request.frameAt.x, client.width + m.left + m.right, free.x, free.width),
             placeEdge(request.frameAt.y, client.height + m.top + m.bottom, free.y, free.height)}};
}

WindowFit refitWindow(const WindowRequest& request, const FrameMargins& assumed, Extent client) {
    WindowRequest real = request;
    const Extent before = room(request.available, assumed);
    const Extent after = room(request.available, request.frame);
    if (client.width >= before.width)
        real.designed.width = std::max(real.designed.width, after.width);
    if (client.height >= before.height)
        real.designed.height = std::max(real.designed.height, after.height);
    return fitWindow(real);
}

}  // namespace tl
