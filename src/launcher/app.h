// The application object: single instance, profile location, the launcher window.
#pragma once

#include "framework/application.h"

#include <memory>

class CKestrovarBodyWnd;

class CKestrovarApp : public Application {
public:
    CKestrovarApp();
    ~CKestrovarApp() override;

protected:
    bool InitInstance() override;
    int ExitInstance() override;

private:
    std::unique_ptr<CKestrovarBodyWnd> bodyWnd_;
};

constexpr char kCompanyKey[] = "Onri's tool";
constexpr char kInstanceMutexName[] = "Onri's Kestrovar";
