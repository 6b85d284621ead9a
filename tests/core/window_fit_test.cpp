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

}  // namespace
}  // namespace tl::test
