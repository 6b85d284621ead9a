#include "platform/window_fit.h"

#include <algorithm>
#include <sstream>
#include <type_traits>

#include "core/test_support.h"

namespace tl::test {
namespace {

// A cell's numbers as the fields of T, in order: "1022x575", "+0-20" or "1 20 1 5";
// an area is written as X geometries are, "1024x600+0+0", its size first.
template <typename T>
T parsed(std::string text) {
    std::replace_if(
        text.begin(), text.end(), [](char c) { return c == 'x' || c == '+'; }, ' ');
    std::istringstream in(text);
    int n[4] = {};
    std::size_t count = 0;
    while (count < 4 && in >> n[count])
        ++count;
    EXPECT_TRUE((in >> std::ws).eof() && count * sizeof(int) == sizeof(T)) << text;
    if constexpr (std::is_same_v<T, Area>)
        return {n[2], n[3], n[0], n[1]};
    else if constexpr (sizeof(T) == 2 * sizeof(int))
        return {n[0], n[1]};
    else
        return {n[0], n[1], n[2], n[3]};
}

TEST(WindowFit, SizeAndPlaceCountTheFrame) {
    forEachRow("window_fit.tsv", [](const TableRow& row) {
        const WindowRequest request{parsed<Extent>(row["designed"]), parsed<Extent>(row["minimum"]),
                                    parsed<Area>(row["screen"]), parsed<FrameMargins>(row["frame"]),
                                    parsed<Spot>(row["at"])};
        const WindowFit fit = row["assumed"].empty()
                                  ? fitWindow(request)
                                  : refitWindow(request, parsed<FrameMargins>(row["assumed"]),
                                                parsed<Extent>(row["client"]));
        const Area expected = parsed<Area>(row["fit"]);
        EXPECT_EQ(std::vector({fit.client.width, fit.client.height, fit.frameAt.x, fit.frameAt.y}),
                  std::vector({expected.width, expected.height, expected.x, expected.y}));
    });
}

}  // namespace
}  // namespace tl::test
