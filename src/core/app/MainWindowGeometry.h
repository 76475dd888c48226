#pragma once

namespace kavoro {

struct Box {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const Box&) const = default;
};

// Where the main window's controls go for an outer window size W x H. Positions inside a tab
// page are relative to that page.
struct MainWindowGeometry {
  Box views_notebook;   // TabbedNotebook1
  Box folder_notebook;  // TabbedNotebook2
  Box progress_bar;     // ProgressBar1
  Box text_view;        // Memo1
  Box grid_view;        // StringGrid1
  Box html_view;        // Memo2
  Box width_group;      // GroupBox2
  Box sort_group;       // GroupBox4
  Box edit_source;      // Button3
  Box refresh_preview;  // Button4
  Box folder_export;    // Button6
  Box folder_enter;     // Button1
  Box subfolders;       // CheckBox1
  Box folder_tree;      // ShellTreeView1
  Box contents_export;  // Button2
  Box contents_enter;   // Button5
  Box contents_view;    // ShellListView1
};

constexpr int kMinWindowWidth = 702;
constexpr int kMinWindowHeight = 480;

// The layout's numbers are outer sizes of a classic desktop frame: 8 pixels of border across,
// and border, title bar and menu bar 46 pixels down. The controls follow the real area under
// the menu bar, taken as if it had that frame, whatever frame the window manager draws.
constexpr int kClassicFrameWidth = 8;
constexpr int kClassicFrameHeight = 46;

MainWindowGeometry LayoutMainWindow(int width, int height);

// Centre of a child window over its owner, with truncating integer division.
int CentredOffset(int owner_start, int owner_size, int own_size);

// The main window at start: its stored outer size kept within `area` (the screen's free area)
// and at least the minimum size, centred on the area.
Box StartWindowBox(int stored_width, int stored_height, const Box& area);

// `window` moved as little as needed to lie wholly in `area` (a screen's free area); one larger
// than the area keeps its top-left corner in it.
Box KeptOnScreen(Box window, const Box& area);

}  // namespace kavoro
