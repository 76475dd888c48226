#pragma once

// An include up the layers: the layer check must refuse it.
#include "core/app/AppState.h"
