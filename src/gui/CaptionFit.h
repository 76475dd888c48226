#pragma once

#include <QWidget>

namespace kavoro {

// Fits the captions of the labels, check boxes and radio buttons under `root` (a window or a
// part of one) to their controls, after the texts of a language have been set or the part has
// been laid out anew: a control whose caption is wider than it grows into the free room of its
// parent, to the right and then to the left; where that is not enough its font gets smaller. A
// control gets its own place and font back before it is fitted again.
void FitCaptions(QWidget* root);

}  // namespace kavoro
