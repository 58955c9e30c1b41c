// The main frame's MDI client, subclassed to paint its background: grey,
// with the program's name and version embossed near the lower right corner.
#pragma once
#include "classlib/ClassLib.h"

class CMdiMainClient : public CWnd
{
public:
    CMdiMainClient() = default;

    // The two texts of the background (the second with the program's
    // version).
    static CString NameText();
    static CString VersionText(const CString& version);

protected:
    BOOL OnEraseBkgnd(CDC* dc);
    void OnSize(UINT type, int cx, int cy);
    DECLARE_MESSAGE_MAP()

private:
    int m_nLastWidth = 0;
    int m_nLastHeight = 0;
    bool m_bSized = false;
};
