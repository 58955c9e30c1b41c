// A slope-template file (".TYP") in a library folder: saving and loading a
// list of slope lines, one text line per slope line (CSlopeLine), and the
// check that every line can be written before anything is.  Every
// operation reports with a text and throws nothing.
#pragma once
#include "brisko/templates/SlopeLine.h"

extern const wchar_t kTemplateLoaded[]; // "文件结束": Load read the whole file

class CTvTemplate
{
public:
    CTvTemplate() = default;
    explicit CTvTemplate(const CString& fileName) : m_sFileName(fileName) {}
    virtual ~CTvTemplate();

    // Empty when every line writes, else the numbered message of the first
    // that does not.
    CString Validate(const CSlopeLineArray& lines) const;
    // Writes the lines to the file in the folder: "保存成功" or the reason.
    // The file is written whole beside the old one and then takes its place;
    // a failure leaves the old file as it was.
    CString Save(const CSlopeLineArray& lines, const CString& folder) const;
    // Appends the file's lines to the list (the caller empties it first),
    // each sketched from where the one before ends: "文件结束" when the
    // whole file was read, else the reason (the lines read so far stay).
    // Lines beginning with "//" or with two backslashes, and lines shorter
    // than two characters, are passed over.
    CString Load(CSlopeLineArray& lines, const CString& folder) const;

    CString m_sFileName; // the file's name, without folder
};
