// Callbacks a control calls its listeners through: delegates wrapping a free
// function or an object's member function, each taking one untyped pointer
// and returning bool. The base and its two small implementations (one a
// template) stay together: a reader of one needs the others.
#pragma once

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

} // namespace SkinUI
