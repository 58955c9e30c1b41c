// Brisko.exe: the program's entry.  Everything else lives in BriskoCore,
// which the test programs link as well; its application object is started
// here and its message loop run.
#include "brisko/shell/BriskoApp.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int)
{
    CWinApp* app = AfxGetApp();
    if (!app) return 1;
    if (!app->EnsureStarted()) {
        // A start that ends early (a second instance, a failed start-up)
        // leaves without the exit sequence: the running instance, not this
        // one, tells the suite when the program ends.
        if (app->m_pMainWnd) app->m_pMainWnd->DestroyWindow();
        return 0;
    }
    return app->Run();
}
