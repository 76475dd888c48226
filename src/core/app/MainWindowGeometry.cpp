#include "core/app/MainWindowGeometry.h"

#include <algorithm>

namespace kavoro {
namespace {

constexpr int kButtonWidth = 193;
constexpr int kButtonHeight = 25;
constexpr int kHtmlButtonWidth = 185;

}  // namespace

MainWindowGeometry LayoutMainWindow(int w, int h) {
  MainWindowGeometry g;
  const int n1w = w - 230;
  const int n1h = h - 66;
  const int n2h = h - 66;
  g.views_notebook = {222, 0, n1w, n1h};
  g.folder_notebook = {0, 0, 217, n2h};
  g.progress_bar = {0, h - 63, w - 8, 17};
  g.text_view = {0, 4, n1w - 9, n1h - 33};
  g.grid_view = {0, 4, n1w - 9, n1h - 129};
  g.html_view = {0, 4, n1w - 9, n1h - 70};
  g.width_group = {0, n1h - 125, g.grid_view.width, 37};
  // Two rows of sort buttons: the columns of the detail form, then the media columns.
  g.sort_group = {0, n1h - 88, g.grid_view.width, 59};
  g.refresh_preview = {n1w / 2 - 173, n1h - 57, kHtmlButtonWidth, kButtonHeight};
  g.edit_source = {g.refresh_preview.left + 207, n1h - 57, kHtmlButtonWidth, kButtonHeight};
  g.folder_export = {8, n2h - 57, kButtonWidth, kButtonHeight};
  g.folder_enter = {8, n2h - 89, kButtonWidth, kButtonHeight};
  g.subfolders = {8, n2h - 113, 200, 17};
  g.folder_tree = {0, 4, 208, n2h - 124};
  g.contents_export = {8, n2h - 57, kButtonWidth, kButtonHeight};
  g.contents_enter = {8, n2h - 89, kButtonWidth, kButtonHeight};
  g.contents_view = {0, 4, 208, n2h - 100};
  return g;
}

int CentredOffset(int owner_start, int owner_size, int own_size) {
  return owner_start + owner_size / 2 - own_size / 2;
}

Box StartWindowBox(int stored_width, int stored_height, const Box& area) {
  // A screen smaller than the minimum still gets the minimum.
  const int width =
      std::clamp(stored_width, kMinWindowWidth, std::max(kMinWindowWidth, area.width));
  const int height =
      std::clamp(stored_height, kMinWindowHeight, std::max(kMinWindowHeight, area.height));
  return KeptOnScreen({CentredOffset(area.left, area.width, width),
                       CentredOffset(area.top, area.height, height), width, height},
                      area);
}

Box KeptOnScreen(Box window, const Box& area) {
  auto keep = [](int start, int size, int area_start, int area_size) {
    return std::max(area_start, std::min(start, area_start + area_size - size));
  };
  window.left = keep(window.left, window.width, area.left, area.width);
  window.top = keep(window.top, window.height, area.top, area.height);
  return window;
}

}  // namespace kavoro
