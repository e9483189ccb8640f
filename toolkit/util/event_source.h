// The ordered list of delegates a control keeps per event.
#pragma once

#include "delegate.h"
#include "std_ptr_array.h"

namespace SkinUI {

// The listeners of one event, called in the order they were added.
// Listeners may add or remove listeners (themselves included) while the
// event is being delivered: a removed one is not called again and is freed
// when the outermost delivery ends.
class CEventSource {
public:
    using FnType = bool (*)(void*);

    CEventSource() = default;
    CEventSource(const CEventSource&) = delete;
    CEventSource& operator=(const CEventSource&) = delete;
    ~CEventSource();

    explicit operator bool() const;
    // Adds a copy unless an equal delegate is present.
    void operator+=(const CDelegateBase& d);
    void operator+=(FnType pFn);
    void operator-=(const CDelegateBase& d);
    void operator-=(FnType pFn);
    // Calls each listener present when the delivery starts; false as soon as
    // one returns false.
    bool operator()(void* param);
    void Clear();

private:
    // Frees a removed delegate now, or after the delivery that may be running it.
    void Retire(int index);
    void Compact();

    CStdPtrArray m_aDelegates;
    CStdPtrArray m_aRetired;
    int m_nInvoking = 0;
};

} // namespace SkinUI
