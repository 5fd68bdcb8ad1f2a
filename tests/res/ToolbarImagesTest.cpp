#include "res/ToolbarImages.h"

#include <gtest/gtest.h>

namespace {

TEST(ToolbarImages, EveryUsedCellHasAPictureOnTheMask) {
    for (int id : {res::IDB_TOOLBAR, res::IDB_TOOLBAR_HOT}) {
        auto b = res::ToolbarBitmap(id);
        ASSERT_EQ(b->width, res::kToolbarCell * res::kToolbarImages);
        ASSERT_EQ(b->height, res::kToolbarImageHeight);
        for (int image : {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 15, 16}) {
            int drawn = 0, mask = 0;
            for (int y = 0; y < b->height; ++y)
                for (int x = 0; x < res::kToolbarCell; ++x)
                    (b->At(image * res::kToolbarCell + x, y) == res::kToolbarMask ? mask : drawn)++;
            EXPECT_GT(drawn, 40) << "image " << image;
            EXPECT_GT(mask, 40) << "image " << image;
        }
    }
    EXPECT_NE(res::ToolbarBitmap(res::IDB_TOOLBAR)->pixels, res::ToolbarBitmap(res::IDB_TOOLBAR_HOT)->pixels);
}

}  // namespace
