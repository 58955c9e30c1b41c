// Typed values in a private-profile (INI) file.  One object stands for one
// file and a current section; every type is stored as text in a fixed form so
// that a value written by one type reads back through the same type:
//
//   CString                      the text itself
//   double                       "%.15f"
//   float                        "%g"
//   integers and Booleans        "%d"
//   CPoint                       "(x,y)"
//   CRect                        "(top,left,bottom,right)"
//   COLORREF                     "RGB(red,green,blue)"
//
// Arrays take one key per element: K_0, K_1, ...  A section argument that is
// not null becomes the current section before the access and stays so.
// An unreadable file gives the defaults, and a write the system fails is
// ignored.  What would not read back is not written, and the last-error text
// tells why: a line break in a value, a section name that holds a line
// break or "]", a key that holds a line break or "=" or starts with "[" or
// ";", and a double or float that is infinite or NaN.  A stored number
// beyond the range of its type (a double or float that would read as
// infinity) reads as the default.
#pragma once
#include "corvane/CorvaneDefs.h"

class CORVANE_API tkxIni
{
public:
    // choice: how a file name without drive is completed; non-zero = the
    // running program's folder, 0 = the current directory.
    explicit tkxIni(int choice = 1);
    tkxIni(const CString& file, int choice = 1);
    tkxIni(const CString& file, const CString& section, int choice = 1);
    // Takes file, section and path choice of the other object.
    tkxIni(const tkxIni& other, int unused = 1);
    tkxIni& operator=(const tkxIni& other);
    virtual ~tkxIni();

    // The name is completed in the program's folder.
    void SetFileName(const CString& file);
    void SetSection(const CString& section);
    CString GetFileName() const { return m_SFileName; }
    CString GetSection() const { return m_SSection; }

    // "<program title>.ini" in the program's folder (choice non-zero) or in
    // the current directory (choice 0).
    static CString GetDefaultIniFile(int choice);
    // The application's name.
    static CString GetDefaultSection();
    // Prefixes a name without drive with the program's folder or the
    // current directory.
    static void AddModulPath(CString& file, int choice);

    // -- reading --------------------------------------------------------------
    CString GetString(CString key, const wchar_t* def = nullptr, const wchar_t* section = nullptr);
    double GetDouble(CString key, double def, const wchar_t* section = nullptr);
    float GetFloat(CString key, float def, const wchar_t* section = nullptr);
    int GetInt(CString key, int def, const wchar_t* section = nullptr);
    unsigned char GetUInt8(CString key, unsigned char def, const wchar_t* section = nullptr);
    unsigned short GetUInt16(CString key, unsigned short def, const wchar_t* section = nullptr);
    unsigned long GetDWORD(CString key, unsigned long def, const wchar_t* section = nullptr);
    int GetBool(CString key, int def, const wchar_t* section = nullptr);
    bool GetBool(CString key, bool def, const wchar_t* section = nullptr);
    CPoint GetPoint(CString key, CPoint def, const wchar_t* section = nullptr);
    CRect GetRect(CString key, CRect def, const wchar_t* section = nullptr);
    unsigned long GetColRef(CString key, unsigned long def, const wchar_t* section = nullptr);

    // -- writing --------------------------------------------------------------
    void WriteString(CString key, CString value, const wchar_t* section = nullptr);
    void WriteDouble(CString key, double value, const wchar_t* section = nullptr);
    void WriteFloat(CString key, float value, const wchar_t* section = nullptr);
    void WriteInt(CString key, int value, const wchar_t* section = nullptr);
    void WriteUInt8(CString key, unsigned char value, const wchar_t* section = nullptr);
    void WriteUInt16(CString key, unsigned short value, const wchar_t* section = nullptr);
    void WriteDWORD(CString key, unsigned long value, const wchar_t* section = nullptr);
    void WriteBool(CString key, int value, const wchar_t* section = nullptr);
    void WriteBool(CString key, bool value, const wchar_t* section = nullptr);
    void WritePoint(CString key, CPoint value, const wchar_t* section = nullptr);
    void WriteRect(CString key, CRect value, const wchar_t* section = nullptr);
    void WriteColRef(CString key, unsigned long value, const wchar_t* section = nullptr);

    // -- load or store: get non-zero reads the entry into value, 0 writes it --
    void SerGetString(int get, CString& value, CString key, const wchar_t* section, CString def);
    void SerGetDouble(int get, double& value, CString key, const wchar_t* section, double def);
    void SerGetFloat(int get, float& value, CString key, const wchar_t* section, float def);
    void SerGetInt(int get, int& value, CString key, const wchar_t* section, int def);
    void SerGetUInt8(int get, unsigned char& value, CString key, const wchar_t* section, unsigned char def);
    void SerGetUInt16(int get, unsigned short& value, CString key, const wchar_t* section,
                      unsigned short def);
    void SerGetDWORD(int get, unsigned long& value, CString key, const wchar_t* section, unsigned long def);
    void SerGetBool(int get, int& value, CString key, const wchar_t* section, int def);
    void SerGetBool(int get, bool& value, CString key, const wchar_t* section, bool def);
    void SerGetPoint(int get, CPoint& value, CString key, const wchar_t* section, CPoint def);
    void SerGetRect(int get, CRect& value, CString key, const wchar_t* section, CRect def);
    void SerGetColRef(int get, unsigned long& value, CString key, const wchar_t* section, unsigned long def);

    void SerGet(int get, CString& value, CString key, const wchar_t* section, CString def);
    void SerGet(int get, double& value, CString key, const wchar_t* section, double def);
    void SerGet(int get, float& value, CString key, const wchar_t* section, float def);
    void SerGet(int get, int& value, CString key, const wchar_t* section, int def);
    void SerGet(int get, bool& value, CString key, const wchar_t* section, bool def);
    void SerGet(int get, unsigned char& value, CString key, const wchar_t* section, unsigned char def);
    void SerGet(int get, unsigned short& value, CString key, const wchar_t* section, unsigned short def);
    void SerGet(int get, unsigned long& value, CString key, const wchar_t* section, unsigned long def);
    void SerGet(int get, CPoint& value, CString key, const wchar_t* section, CPoint def);
    void SerGet(int get, CRect& value, CString key, const wchar_t* section, CRect def);
    // Through an int and an unsigned long respectively, cut back to 16 bits.
    void SerGet(int get, short& value, CString key, const wchar_t* section, int def);
    void SerGet(int get, unsigned short& value, CString key, const wchar_t* section, unsigned long def);

    // Arrays: element i under the key K_i.
    void SerGet(int get, CString* values, int count, CString key, const wchar_t* section, const wchar_t* def);
    void SerGet(int get, double* values, int count, CString key, const wchar_t* section, double def);
    void SerGet(int get, float* values, int count, CString key, const wchar_t* section, float def);
    void SerGet(int get, short* values, int count, CString key, const wchar_t* section, int def);
    void SerGet(int get, unsigned long* values, int count, CString key, const wchar_t* section,
                unsigned long def);
    void SerGet(int get, unsigned short* values, int count, CString key, const wchar_t* section,
                unsigned long def);
    void SerGet(int get, CPoint* values, int count, CString key, const wchar_t* section, CPoint def);
    void SerGet(int get, CRect* values, int count, CString key, const wchar_t* section, CRect def);

    // The 8-bit private-profile functions; texts are converted through the
    // system's ANSI code page both ways.  Read gives the whole value.
    static CString Read(const CString& file, const CString& section, const CString& key,
                        const CString& def);
    // 0 when refused (see above) or failed.
    static int Write(const CString& file, const CString& section, const CString& key,
                     const CString& value);

private:
    void UseSection(const wchar_t* section);
    // Looks the key up (default text when missing) into the value buffer.
    const wchar_t* ReadValue(const CString& key, const CString& defText, const wchar_t* section);
    void WriteWide(const CString& key, const CString& value, const wchar_t* section);
    void Write8(const CString& key, const CString& value, const wchar_t* section);

    int m_iPathChoice;
    wchar_t m_szValue[256];
    CString m_SFileName;
    CString m_SSection;
};
