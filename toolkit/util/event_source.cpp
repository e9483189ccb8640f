#include "event_source.h"

namespace SkinUI {

CEventSource::~CEventSource()
{
    Clear();
}

CEventSource::operator bool() const
{
    for (int i = 0; i < m_aDelegates.GetSize(); ++i) {
        if (m_aDelegates[i]) {
            return true;
        }
    }
    return false;
}

void CEventSource::operator+=(const CDelegateBase& d)
{
    for (int i = 0; i < m_aDelegates.GetSize(); ++i) {
        const auto* present = static_cast<const CDelegateBase*>(m_aDelegates[i]);
        if (present && present->Equals(d)) {
            return;
        }
    }
    CDelegateBase* copy = d.Copy();
    if (!m_aDelegates.Add(copy)) {
        delete copy;
    }
}

void CEventSource::operator+=(FnType pFn)
{
    *this += CDelegateStatic(pFn);
}

void CEventSource::operator-=(const CDelegateBase& d)
{
    for (int i = 0; i < m_aDelegates.GetSize(); ++i) {
        const auto* present = static_cast<const CDelegateBase*>(m_aDelegates[i]);
        if (present && present->Equals(d)) {
            Retire(i);
            break;
        }
    }
    if (m_nInvoking == 0) {
        Compact();
    }
}

void CEventSource::operator-=(FnType pFn)
{
    *this -= CDelegateStatic(pFn);
}

bool CEventSource::operator()(void* param)
{
    ++m_nInvoking;
    bool result = true;
    const int count = m_aDelegates.GetSize();
    for (int i = 0; i < count && result; ++i) {
        if (auto* d = static_cast<CDelegateBase*>(m_aDelegates[i])) {
            result = (*d)(param);
        }
    }
    if (--m_nInvoking == 0) {
        Compact();
    }
    return result;
}

void CEventSource::Clear()
{
    for (int i = 0; i < m_aDelegates.GetSize(); ++i) {
        if (m_aDelegates[i]) {
            Retire(i);
        }
    }
    if (m_nInvoking == 0) {
        Compact();
    }
}

void CEventSource::Retire(int index)
{
    auto* d = static_cast<CDelegateBase*>(m_aDelegates[index]);
    if (m_nInvoking > 0) {
        // It may be running: freed once the delivery is over. Without room
        // to remember it, it stays in place rather than be freed now.
        if (m_aRetired.Add(d)) {
            m_aDelegates.SetAt(index, nullptr);
        }
        return;
    }
    m_aDelegates.SetAt(index, nullptr);
    delete d;
}

void CEventSource::Compact()
{
    for (int i = 0; i < m_aRetired.GetSize(); ++i) {
        delete static_cast<CDelegateBase*>(m_aRetired[i]);
    }
    m_aRetired.Empty();
    for (int i = m_aDelegates.GetSize() - 1; i >= 0; --i) {
        if (!m_aDelegates[i]) {
            m_aDelegates.Remove(i);
        }
    }
}

} // namespace SkinUI
