#include <gtest/gtest.h>

#include "core/app/MainWindowGeometry.h"

namespace kavoro {
namespace {

TEST(GeometryTest, MinimumWindow) {
  const MainWindowGeometry g = LayoutMainWindow(702, 480);
  EXPECT_EQ(g.views_notebook, (Box{222, 0, 472, 414}));
  EXPECT_EQ(g.grid_view, (Box{0, 4, 463, 285}));
  EXPECT_EQ(g.progress_bar, (Box{0, 417, 694, 17}));
  EXPECT_EQ(g.folder_notebook, (Box{0, 0, 217, 414}));
  EXPECT_EQ(g.text_view, (Box{0, 4, 463, 381}));
  EXPECT_EQ(g.html_view, (Box{0, 4, 463, 344}));
  EXPECT_EQ(g.width_group, (Box{0, 289, 463, 37}));
  EXPECT_EQ(g.sort_group, (Box{0, 326, 463, 59}));
  EXPECT_EQ(g.folder_tree.height, 290);
  EXPECT_EQ(g.subfolders.top, 301);
  EXPECT_EQ(g.folder_enter.top, 325);
  EXPECT_EQ(g.folder_export.top, 357);
  EXPECT_EQ(g.contents_view.height, 314);
  EXPECT_EQ(g.refresh_preview.left, 63);
  EXPECT_EQ(g.edit_source.left, 270);
}

TEST(GeometryTest, ResizedWindow) {
  const MainWindowGeometry g = LayoutMainWindow(900, 600);
  EXPECT_EQ(g.views_notebook, (Box{222, 0, 670, 534}));
  EXPECT_EQ(g.refresh_preview.left, 162);
  EXPECT_EQ(g.edit_source.left, 369);
  EXPECT_EQ(g.refresh_preview.top, 477);
  EXPECT_EQ(g.progress_bar.top, 537);
  // An odd notebook width truncates.
  EXPECT_EQ(LayoutMainWindow(901, 600).refresh_preview.left, 162);
  EXPECT_EQ(CentredOffset(100, 701, 332), 100 + 350 - 166);
}

TEST(GeometryTest, StoredWindowSizeFitsTheScreenAndTheMinimum) {
  const Box screen{0, 0, 1280, 1024};
  EXPECT_EQ(StartWindowBox(900, 600, screen), (Box{190, 212, 900, 600}));
  EXPECT_EQ(StartWindowBox(2147483647, 99999999, screen), (Box{0, 0, 1280, 1024}));
  EXPECT_EQ(StartWindowBox(-2147483647 - 1, -5, screen), (Box{289, 272, 702, 480}));
  EXPECT_EQ(StartWindowBox(500, 300, {1280, 24, 1920, 1056}), (Box{1889, 312, 702, 480}));
  // A screen smaller than the minimum: the minimum, from the screen's corner.
  EXPECT_EQ(StartWindowBox(1000, 1000, {0, 0, 640, 400}), (Box{0, 0, 702, 480}));
}

TEST(GeometryTest, PlacedWindowsStayWhollyOnTheScreen) {
  const Box screen{0, 0, 1280, 1024};
  // The find window beside a main window at the left edge would start at -49.
  EXPECT_EQ(KeptOnScreen({-49, 80, 320, 156}, screen), (Box{0, 80, 320, 156}));
  EXPECT_EQ(KeptOnScreen({1200, 900, 320, 156}, screen), (Box{960, 868, 320, 156}));
  EXPECT_EQ(KeptOnScreen({100, -20, 320, 156}, screen), (Box{100, 0, 320, 156}));
  EXPECT_EQ(KeptOnScreen({10, 20, 320, 156}, screen), (Box{10, 20, 320, 156}));
  // A second screen to the right, with a panel at its top.
  const Box right{1280, 30, 1920, 1050};
  EXPECT_EQ(KeptOnScreen({1200, 0, 300, 433}, right), (Box{1280, 30, 300, 433}));
  EXPECT_EQ(KeptOnScreen({3100, 900, 300, 433}, right), (Box{2900, 647, 300, 433}));
  // Larger than the screen: the top-left corner stays visible.
  EXPECT_EQ(KeptOnScreen({-5, -5, 2000, 2000}, screen), (Box{0, 0, 2000, 2000}));
  EXPECT_EQ(KeptOnScreen({300, 300, 2000, 2000}, screen), (Box{0, 0, 2000, 2000}));
}

}  // namespace
}  // namespace kavoro
