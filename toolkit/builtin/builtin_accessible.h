// How assistive technology sees the built-in classes: buttons as push
// buttons, progress bars with their percentage, labels as static text and
// a plain control that shows an image as a graphic. Layouts, and controls
// that show nothing, are not elements.
#pragma once

#include "accessible_info.h"

namespace SkinUI {

bool DescribeBuiltinAccessible(CControlUI& control, tagTAccessibleInfo& info);

} // namespace SkinUI
