// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/window_fit.h"

#include <cstdio>

#include "core/test_support.h"

namespace tl::test {
namespace {

TEST(WindowFit, SizeAndPlaceCountTheFrame) {
    forEachRow("window_fit.tsv", [](const TableRow& row) {
        // Sizes are written "1022x575", corners "+0-20", areas as X geometries.
        const auto read = [&row](const char* column, const char* format, auto*... fields) {
            EXPECT_EQ(std::sscanf(row[column].c_str(), format, fields...),
                      static_cast<int>(sizeof...(fields)))
                << column;
        };
        WindowRequest r;
        read("designed", "%dx%d", &r.designed.width, &r.designed.height);
        read("minimum", "%dx%d", &r.minimum.width, &r.minimum.height);
        read("screen", "%dx%d%d%d", &r.available.width, &r.available.height, &r.available.x,
             &r.available.y);
        read("frame", "%d %d %d %d", &r.frame.left, &r.frame.top, &r.frame.right, &r.frame.bottom);
        read("at", "%d%d", &r.frameAt.x, &r.frameAt.y);
        WindowFit fit = fitWindow(r);
        if (!row["assumed"].empty()) {
            FrameMargins assumed;
            Extent client;
            read("assumed", "%d %d %d %d", &assumed.left, &assumed.top, &assumed.right,
                 &assumed.bottom);
            read("client", "%dx%d", &client.width, &client.height);
            fit = refitWindow(r, assumed, client);
        }
        char text[64];
        std::snprintf(text, sizeof text, "%dx%d%+d%+d", fit.client.width, fit.client.height,
                      fit.frameAt.x, fit.frameAt.y);
        EXPECT_EQ(text, row["fit"]);
    });
}

}  // namespace
}  // namespace tl::test
