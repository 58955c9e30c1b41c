// The program's working form of one road of a project (the library's
// sRoadInfo) with the file work that belongs to one road: the break chain of
// a DL file as text, the start and end stations of a ground line, the copy of
// another road's files into the road's folder, the road's lists of user data
// files and user drawings, a new data file of the road, and the import of a
// road designed in HintCAD.
//
// The user lists are stored as file names each followed by ";".  An entry is
// one whole name between separators, compared without regard to case (as
// file names are); a name that holds ";" cannot be kept in such a list and is
// refused.
//
// The operations that read break chains and ground lines use the
// application's break chain and profile (CurRoadBreakChain, CurRoadProfile):
// they reset and refill them, so after such an operation the caller has the
// current road's data loaded again (WM_PROJECTCHANGED).
#pragma once
#include "classlib/ClassLib.h"
#include "corvane/project/Project.h"

class tkxBreakChain;
class tkxZDMInfo;

class CRoadInfo
{
public:
    CRoadInfo();
    explicit CRoadInfo(const Tavix4::sRoadInfo& road);
    CRoadInfo(const CRoadInfo& other) = default;
    CRoadInfo& operator=(const CRoadInfo& other) = default;
    virtual ~CRoadInfo();

    // The library's record with the same eight values.
    Tavix4::sRoadInfo ToRoadInfo() const;

    // Loads the ground line into the application's profile; its first and
    // last stations become the start and end texts (with the chain suffix).
    // 0 when the file cannot be read or holds no point.
    int LoadStationsFromDMX(const wchar_t* path);

    // 1 when the list holds the name as one of its entries.
    int ContainsUserData(const wchar_t* name) const;
    int ContainsUserDrawing(const wchar_t* name) const;
    // Appends the trimmed name; an empty name, a folder (ending in "\"), a
    // name holding ";" and one the list holds already are ignored.  1 when
    // it was added.
    int AddUserData(CString name);
    int AddUserDrawing(CString name);
    // Removes the entry of the trimmed name (every copy of it); other
    // entries stay as written.  1 when one was removed.
    int RemoveUserData(CString name);
    int RemoveUserDrawing(CString name);
    // The entries in order, each once; the count.
    int GetUserDataList(CStringArray& names) const;
    int GetUserDrawingList(CStringArray& names) const;

    // The break chain of a DL file as "back=ahead, " pairs; empty (after a
    // message naming the file, and the line when one is bad) when the file
    // cannot be read.  Comment lines ("//", and "\\") and lines of one
    // character are passed over.  A text that is no break chain (a field
    // that is no station, breaks in falling order) is still returned, after
    // a message naming the file with the break-chain parser's reason.
    CString ReadDLText(const wchar_t* path);
    // Sets the application's break chain from the text and gives it to the
    // application's profile; an empty text changes nothing.  0 when the text
    // is no break chain.
    int SetBreakChainText(const CString& text);

    // Copies the files of a road in another folder into this road's folder
    // "<project folder>\<road name>": the files titled sourceTitle take the
    // road's name (extension upper-cased), the others keep theirs.  The files
    // are copied as one set: all of them, each printed in the information
    // window, or, when any one cannot be copied (its path too long, a
    // read-only target, a failed copy or replacement), none, with that file
    // printed as a failure and the road's folder left as it was.  0 when the
    // road has no name, its folder was not made, or the copy failed.
    int CopyRoadFiles(const CString& sourceFolder, const CString& sourceTitle, const CString& projectFolder);

    // Writes a new data file of the road: the type's description comment
    // (when the setting AUTOCOMMENT is on), and for a ".ZSJ" file the list
    // of the road's files.  The file appears only when it was written whole.
    // 1, or 0 after a message.
    int CreateDataFile(const CString& path);
    // The road's name, then one line per standard file of the road.
    void WriteRoadFileList(CStdioFile& file);

    // Writes the road's files from HintCAD data (the road-import tool):
    // plane file kind (0 JDX, 1 coordinate JD, 2 PM), break-chain text, the
    // plane, ZDM, DMX and HDM files, and the project folder.  true when the
    // run reached its end.
    bool ImportHintCADRoad(int kind, CString breakChain, CString planeFile, CString zdmFile, CString dmxFile,
                           CString hdmFile, CString projectFolder);

    CString m_SRoadName;        // "M"
    int m_iRoadLevel;           // the road-grade number, 0
    double m_rDesignSpeed;      // km/h, 120
    CString m_SStartZH;         // start station text, ""
    CString m_SEndZH;           // end station text, "0"
    CString m_SBreakChain;      // "back=ahead, " pairs, ""
    CString m_SUserData;        // user data files, each + ";"
    CString m_SUserDrawing;     // user drawings, each + ";"
    tkxBreakChain* m_pBreakChain; // the application's break chain (not owned)
    tkxZDMInfo* m_pProfile;       // the application's profile (not owned)
};
