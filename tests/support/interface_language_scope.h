#pragma once

#include "texts/catalogue.h"

namespace amperlog::test {

// The interface language for the life of the object; as the first base of a fixture it is
// set before the windows are built.
class InterfaceLanguageScope {
public:
    explicit InterfaceLanguageScope(Language language) : m_before(InterfaceLanguage()) {
        SetInterfaceLanguage(language);
    }
    ~InterfaceLanguageScope() { SetInterfaceLanguage(m_before); }
    InterfaceLanguageScope(const InterfaceLanguageScope&) = delete;
    InterfaceLanguageScope& operator=(const InterfaceLanguageScope&) = delete;

private:
    Language m_before;
};

} // namespace amperlog::test
