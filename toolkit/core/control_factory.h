// Creates controls by class name ("CButtonUI"), for the dialog builder.
// One factory serves the process. It starts empty: RegisterBuiltinControls
// (toolkit/builtin) adds the toolkit's classes, and a program may add its own.
#pragma once

#include "skin_string.h"

#include <map>

namespace SkinUI {

class CControlUI;

// A class's static CreateControl.
using CreateClass = CControlUI* (*)();

class CControlFactory {
public:
    CControlFactory(const CControlFactory&) = delete;
    CControlFactory& operator=(const CControlFactory&) = delete;
    virtual ~CControlFactory();

    // Created on first use, from any thread; again after Release.
    static CControlFactory* GetInstance();
    // Deletes the factory with the classes added to it.
    static void Release();

    // Class names match ignoring case; null for a class not registered.
    CControlUI* CreateControl(const wchar_t* pstrClassName) const;
    // A class already registered keeps its first function.
    void RegistControl(const wchar_t* pstrClassName, CreateClass pFunc);

private:
    CControlFactory();

    struct Less {
        bool operator()(const CSkinString& a, const CSkinString& b) const { return a < b; }
    };
    // Lower-case class name -> creation function.
    std::map<CSkinString, CreateClass, Less> m_mapControl;
};

} // namespace SkinUI
