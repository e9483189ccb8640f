// The classes every skin may name, registered with the control factory.
// Static libraries drop an object that only registers itself, so a program
// calls this at start, beside CPaintManagerUI::SetInstance, and again after
// CPaintManagerUI::Term if it builds skins once more.
#pragma once

namespace SkinUI {

// CControlUI, CContainerUI, the vertical and horizontal layouts, the label,
// the button and the progress bar, and how assistive technology sees them
// (builtin_accessible.h). Calling it again changes nothing.
void RegisterBuiltinControls();

} // namespace SkinUI
