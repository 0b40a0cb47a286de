// platform/ui/helpservice.h: what F1 asks for. A control answers WM_HELP with a help context,
// and the help service shows the topic; replaceable, so tests record instead of showing.
#pragma once

#include "platform/rtl/geometry.h"
#include "platform/ui/wintypes.h"

#include <string>
#include <vector>

constexpr int HELPINFO_WINDOW = 1;
constexpr int HELPINFO_MENUITEM = 2;

// WM_HELP's LParam points at one.
struct THelpInfo {
    UINT cbSize = sizeof(THelpInfo);
    int iContextType = HELPINFO_WINDOW;
    int iCtrlId = 0;
    HWND hItemHandle = 0;
    int dwContextId = 0; // the help context asked for; 0 = none
    TPoint MousePos;
};

class IHelpService {
public:
    virtual ~IHelpService() = default;
    // Shows topic Context of HelpFile ("" = the program's own help); false when there is none.
    virtual bool ShowContext(const std::string& HelpFile, int Context) = 0;
};

// The service in use, never null.
IHelpService& HelpService();
// Installs Service (not owned; null restores the built-in one); returns the one it replaces.
IHelpService* SetHelpService(IHelpService* Service);

// The built-in service: the program has no help viewer yet, so nothing is shown.
class TNoHelp : public IHelpService {
public:
    bool ShowContext(const std::string& HelpFile, int Context) override;
};

// For tests: installed while it lives; records each context asked for and answers Result.
class THelpRecorder : public IHelpService {
public:
    THelpRecorder();
    ~THelpRecorder() override;
    THelpRecorder(const THelpRecorder&) = delete;
    THelpRecorder& operator=(const THelpRecorder&) = delete;

    bool ShowContext(const std::string& HelpFile, int Context) override;

    bool Result = true;
    const std::vector<int>& Contexts() const { return FContexts; }
    const std::vector<std::string>& HelpFiles() const { return FHelpFiles; }

private:
    IHelpService* FPrevious = nullptr;
    std::vector<int> FContexts;
    std::vector<std::string> FHelpFiles;
};
