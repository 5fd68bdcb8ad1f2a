#pragma once
// The empty view of the panes that show nothing at the current level.
#include "ui/Frame.h"

class CQuorvexView : public ui::View {};
