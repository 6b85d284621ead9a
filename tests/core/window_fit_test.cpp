#include "platform/window_fit.h"

#include <cstdio>

#include "core/test_support.h"

namespace tl::test {
namespace {

// "1022x575+0+0": the client size and the frame's corner, as X geometries are written.
std::string geometry(const WindowFit& fit) {
    char text[64];
    std::snprintf(text, sizeof text, "%dx%d%+d%+d", fit.client.width, fit.client.height,
                  fit.frameAt.x, fit.frameAt.y);
    return text;
}

Extent extent(const std::string& text) {
    Extent e;
    EXPECT_EQ(std::sscanf(text.c_str(), "%dx%d", &e.width, &e.height), 2) << text;
    return e;
}

Spot spot(const std::string& text) {
    Spot s;
    EXPECT_EQ(std::sscanf(text.c_str(), "%d%d", &s.x, &s.y), 2) << text;
    return s;
}

Area area(const std::string& text) {
    Area a;
    EXPECT_EQ(std::sscanf(text.c_str(), "%dx%d%d%d", &a.width, &a.height, &a.x, &a.y), 4) << text;
    return a;
}

FrameMargins margins(const std::string& text) {
    FrameMargins m;
    EXPECT_EQ(std::sscanf(text.c_str(), "%d %d %d %d", &m.left, &m.top, &m.right, &m.bottom), 4)
        << text;
    return m;
}

TEST(WindowFit, SizeAndPlaceCountTheFrame) {
    forEachRow("window_fit.tsv", [](const TableRow& row) {
        const WindowRequest request{extent(row["designed"]), extent(row["minimum"]),
                                    area(row["screen"]), margins(row["frame"]), spot(row["at"])};
        const WindowFit fit = row["assumed"].empty() ? fitWindow(request)
                                                     : refitWindow(request, margins(row["assumed"]),
                                                                   extent(row["client"]));
        EXPECT_EQ(geometry(fit), row["fit"]);
    });
}

// On every screen to try, under every frame, from every corner: the title bar
// is on the screen, a window that can fit lies wholly within the free area, and
// the size is neither below the minimum nor above the designed size.
TEST(WindowFit, TitleBarAlwaysOnTheScreen) {
    const Area screens[] = {
        {0, 0, 1024, 600}, {0, 0, 1366, 768}, {0, 0, 1280, 720}, {1366, 28, 1920, 1052}};
    const FrameMargins frames[] = {{0, 0, 0, 0}, {1, 20, 1, 5}, {1, 13, 1, 3}, {0, 37, 0, 0}};
    const Extent sizes[] = {{320, 200}, {1000, 660}, {1320, 720}, {2400, 1400}};
    const Spot corners[] = {{-3000, -3000}, {-1, -20}, {0, 0}, {500, 300}, {5000, 5000}};
    for (const Area& free : screens) {
        for (const FrameMargins& m : frames) {
            for (const Extent& designed : sizes) {
                for (const Extent& minimum : sizes) {
                    for (const Spot& at : corners) {
                        const WindowFit fit = fitWindow({designed, minimum, free, m, at});
                        const int outerWidth = fit.client.width + m.left + m.right;
                        const int outerHeight = fit.client.height + m.top + m.bottom;
                        SCOPED_TRACE(geometry(fit) + " on " + std::to_string(free.width) + "x" +
                                     std::to_string(free.height));
                        EXPECT_GE(fit.frameAt.x, free.x);
                        EXPECT_GE(fit.frameAt.y, free.y);
                        EXPECT_LT(fit.frameAt.y + m.top, free.y + free.height);
                        EXPECT_TRUE(outerWidth > free.width ||
                                    fit.frameAt.x + outerWidth <= free.x + free.width);
                        EXPECT_TRUE(outerHeight > free.height ||
                                    fit.frameAt.y + outerHeight <= free.y + free.height);
                        EXPECT_GE(fit.client.width, minimum.width);
                        EXPECT_GE(fit.client.height, minimum.height);
                        EXPECT_TRUE(minimum.width > designed.width ||
                                    fit.client.width <= designed.width);
                        EXPECT_TRUE(minimum.height > designed.height ||
                                    fit.client.height <= designed.height);
                        // Only a minimum beyond the free area makes the frame larger.
                        EXPECT_TRUE(minimum.width > free.width - m.left - m.right ||
                                    outerWidth <= free.width);
                        EXPECT_TRUE(minimum.height > free.height - m.top - m.bottom ||
                                    outerHeight <= free.height);
                    }
                }
            }
        }
    }
}

}  // namespace
}  // namespace tl::test
