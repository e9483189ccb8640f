#include "delegate.h"

namespace SkinUI {

bool CDelegateStatic::SameFunction(const CDelegateBase& other) const
{
    const auto* same = dynamic_cast<const CDelegateStatic*>(&other);
    return same && same->m_pFn == m_pFn;
}

} // namespace SkinUI
