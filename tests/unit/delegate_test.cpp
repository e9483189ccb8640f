#include "event_source.h"

#include <gtest/gtest.h>

#include <string>

using namespace SkinUI;

namespace {

// Listeners that record their calls and may change the event source they
// are called from.
class Listener {
public:
    Listener(std::string& log, char name) : m_log(log), m_name(name) {}

    bool Call(void*)
    {
        m_log += m_name;
        if (source && removeSelf) {
            *source -= CDelegate<Listener, Listener>(this, &Listener::Call);
        }
        if (source && removeOther) {
            *source -= CDelegate<Listener, Listener>(removeOther, &Listener::Call);
        }
        if (source && add) {
            *source += CDelegate<Listener, Listener>(add, &Listener::Call);
        }
        return result;
    }
    bool Other(void*) { return true; }

    CEventSource* source = nullptr;
    bool removeSelf = false;
    Listener* removeOther = nullptr;
    Listener* add = nullptr;
    bool result = true;

private:
    std::string& m_log;
    char m_name;
};

// Touches itself after its function returns, so that freeing it while it
// runs is caught by AddressSanitizer.
class CheckedDelegate : public CDelegate<Listener, Listener> {
public:
    using CDelegate::CDelegate;
    CDelegateBase* Copy() const override { return new CheckedDelegate(*this); }

protected:
    bool Invoke(void* param) override
    {
        const bool result = CDelegate::Invoke(param);
        ++m_calls;
        return result;
    }

private:
    int m_calls = 0;
};

int g_staticCalls = 0;

bool CountStatic(void*)
{
    ++g_staticCalls;
    return true;
}

bool Refuse(void*)
{
    return false;
}

CDelegate<Listener, Listener> Bind(Listener& listener)
{
    return CDelegate<Listener, Listener>(&listener, &Listener::Call);
}

} // namespace

TEST(Delegates, EqualWhenObjectAndFunctionMatch)
{
    std::string log;
    Listener a(log, 'a'), b(log, 'b');
    EXPECT_TRUE(Bind(a).Equals(Bind(a)));
    EXPECT_FALSE(Bind(a).Equals(Bind(b)));
    EXPECT_FALSE(Bind(a).Equals(CDelegate<Listener, Listener>(&a, &Listener::Other)));
    EXPECT_TRUE(CDelegateStatic(CountStatic).Equals(CDelegateStatic(CountStatic)));
    EXPECT_FALSE(CDelegateStatic(CountStatic).Equals(CDelegateStatic(Refuse)));
    EXPECT_FALSE(CDelegateStatic(CountStatic).Equals(Bind(a)));
}

TEST(Delegates, SourceCallsInOrderOnceEachAndStopsAtFalse)
{
    std::string log;
    Listener a(log, 'a'), b(log, 'b'), c(log, 'c');
    CEventSource source;
    EXPECT_FALSE(source);
    EXPECT_TRUE(source(nullptr)) << "empty sources agree";
    source += Bind(a);
    source += Bind(b);
    source += Bind(a);
    source += Bind(c);
    EXPECT_TRUE(source);
    EXPECT_TRUE(source(nullptr));
    EXPECT_EQ(log, "abc");
    b.result = false;
    EXPECT_FALSE(source(nullptr));
    EXPECT_EQ(log, "abcab");
    source -= Bind(b);
    EXPECT_TRUE(source(nullptr));
    EXPECT_EQ(log, "abcabac");
    g_staticCalls = 0;
    source.Clear();
    source += CountStatic;
    source += CountStatic;
    EXPECT_TRUE(source(nullptr));
    EXPECT_EQ(g_staticCalls, 1);
    source -= CountStatic;
    EXPECT_FALSE(source);
}

TEST(Delegates, ListenersMayChangeTheSourceWhileItCalls)
{
    std::string log;
    Listener a(log, 'a'), b(log, 'b'), c(log, 'c'), d(log, 'd');
    CEventSource source;
    for (Listener* l : {&a, &b, &c}) {
        l->source = &source;
    }
    source += CheckedDelegate(&a, &Listener::Call);
    source += CheckedDelegate(&b, &Listener::Call);
    source += CheckedDelegate(&c, &Listener::Call);
    b.removeSelf = true;
    b.add = &d;
    source(nullptr);
    EXPECT_EQ(log, "abc") << "removing the running one skips nobody; an added one waits";
    source(nullptr);
    EXPECT_EQ(log, "abcacd");

    a.removeOther = &c;
    source(nullptr);
    EXPECT_EQ(log, "abcacdad") << "a removed later listener is not called";
    a.removeOther = nullptr;
    a.removeSelf = true;
    d.source = &source;
    d.removeSelf = true;
    source(nullptr);
    EXPECT_EQ(log, "abcacdadad");
    EXPECT_FALSE(source);
}

TEST(Delegates, NestedDeliveryFreesRemovedListenersAfterTheOutermost)
{
    std::string log;
    Listener outer(log, 'o');
    CEventSource source;
    struct Reentrant {
        CEventSource* source;
        std::string* log;
        bool nested = false;
        bool Call(void*)
        {
            *log += 'r';
            if (!nested) {
                nested = true;
                (*source)(nullptr);
            }
            *source -= CDelegate<Reentrant, Reentrant>(this, &Reentrant::Call);
            return true;
        }
    } reentrant{&source, &log};
    source += CDelegate<Reentrant, Reentrant>(&reentrant, &Reentrant::Call);
    source += Bind(outer);
    source(nullptr);
    EXPECT_EQ(log, "rroo") << "the inner delivery removed the listener the outer one was running";
    EXPECT_TRUE(source);
    source(nullptr);
    EXPECT_EQ(log, "rrooo");
}
