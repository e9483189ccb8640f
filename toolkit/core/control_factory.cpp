#include "control_factory.h"

#include <mutex>

namespace SkinUI {

namespace {

std::mutex g_instanceLock;
CControlFactory* g_instance = nullptr;

CSkinString LowerCase(const wchar_t* text)
{
    CSkinString lower(text);
    lower.MakeLower();
    return lower;
}

} // namespace

CControlFactory::CControlFactory() = default;

CControlFactory::~CControlFactory() = default;

CControlFactory* CControlFactory::GetInstance()
{
    std::lock_guard<std::mutex> lock(g_instanceLock);
    if (!g_instance) {
        g_instance = new CControlFactory;
    }
    return g_instance;
}

void CControlFactory::Release()
{
    std::lock_guard<std::mutex> lock(g_instanceLock);
    delete g_instance;
    g_instance = nullptr;
}

CControlUI* CControlFactory::CreateControl(const wchar_t* pstrClassName) const
{
    if (!pstrClassName) {
        return nullptr;
    }
    const auto it = m_mapControl.find(LowerCase(pstrClassName));
    return it == m_mapControl.end() ? nullptr : it->second();
}

void CControlFactory::RegistControl(const wchar_t* pstrClassName, CreateClass pFunc)
{
    if (pstrClassName && pFunc) {
        m_mapControl.emplace(LowerCase(pstrClassName), pFunc);
    }
}

} // namespace SkinUI
