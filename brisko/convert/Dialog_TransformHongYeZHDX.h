// The 鸿业 ground-line converter: a BGHN file (one line per cross-section:
// station, centre elevation, then offset and elevation pairs, a "-" offset
// on the left) becomes the suite's profile ground line (.DMX) and
// cross-section ground line (.HDX, absolute layout) in one pass.
#pragma once
#include "brisko/convert/ToolDialog.h"

class CDialog_TransformHongYeZHDX : public CToolDialog
{
public:
    explicit CDialog_TransformHongYeZHDX(CWnd* parent = nullptr);

    tkxIconButton m_btnPickInput;  // 1018
    tkxIconButton m_btnViewInput;  // 1024
    tkxIconButton m_btnPickDMX;    // 1040
    tkxIconButton m_btnPickHDX;    // 1052
    CString m_SInFileName;
    CString m_SDMXFileName;
    CString m_SHDXFileName;

    // Section "Transform_HongYe_ZHDX": get = 1 reads, 0 writes.
    void SerializeSettings(int get);

    // m_SInFileName into m_SDMXFileName and m_SHDXFileName: the whole input
    // is read first, then both outputs are written; 1, or 0 after its
    // message with both outputs as they were.
    int TransformHongYeFile();

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    void OnPickInput();
    void OnPickDMX();
    void OnPickHDX();
    void OnViewInput();
    DECLARE_MESSAGE_MAP()
};
