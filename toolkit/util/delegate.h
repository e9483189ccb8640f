// Callbacks a control calls its listeners through: delegates wrapping a free
// function or an object's member function, each taking one untyped pointer
// and returning bool, and the ordered list of them a control keeps per event.
#pragma once

#include "std_ptr_array.h"

namespace SkinUI {

class CDelegateBase {
public:
    explicit CDelegateBase(void* pObject) : m_pObject(pObject) {}
    virtual ~CDelegateBase() = default;

    // A new heap copy of the concrete delegate.
    virtual CDelegateBase* Copy() const = 0;
    bool operator()(void* param) { return Invoke(param); }
    // Same object and same function, compared as their own types.
    bool Equals(const CDelegateBase& other) const { return m_pObject == other.m_pObject && SameFunction(other); }

protected:
    CDelegateBase(const CDelegateBase&) = default;
    CDelegateBase& operator=(const CDelegateBase&) = default;

    virtual bool Invoke(void* param) = 0;
    virtual bool SameFunction(const CDelegateBase& other) const = 0;
    void* GetTarget() const { return m_pObject; }

private:
    void* m_pObject;
};

class CDelegateStatic : public CDelegateBase {
public:
    using Fn = bool (*)(void*);

    explicit CDelegateStatic(Fn pFn) : CDelegateBase(nullptr), m_pFn(pFn) {}
    CDelegateBase* Copy() const override { return new CDelegateStatic(*this); }

protected:
    bool Invoke(void* param) override { return m_pFn(param); }
    bool SameFunction(const CDelegateBase& other) const override;

private:
    Fn m_pFn;
};

// pObject's member function pFn, declared in T (O itself or a base of it).
template <class O, class T> class CDelegate : public CDelegateBase {
public:
    using Fn = bool (T::*)(void*);

    CDelegate(O* pObject, Fn pFn) : CDelegateBase(pObject), m_pFn(pFn) {}
    CDelegateBase* Copy() const override { return new CDelegate(*this); }

protected:
    bool Invoke(void* param) override { return (static_cast<O*>(GetTarget())->*m_pFn)(param); }
    bool SameFunction(const CDelegateBase& other) const override
    {
        const auto* same = dynamic_cast<const CDelegate*>(&other);
        return same && same->m_pFn == m_pFn;
    }

private:
    Fn m_pFn;
};

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
