// The data-file extensions the program associates with itself.
#pragma once
#include "classlib/ClassLib.h"

struct FileAssociation {
    const wchar_t* extension;    // with its dot, upper case
    const wchar_t* typeId;       // the programmatic identifier
    const wchar_t* description;
    int icon;                    // icon resource id in the program file
};

const int kFileAssociationCount = 30;
extern const FileAssociation kFileAssociations[kFileAssociationCount];

// The open command of an association: the program and the file, each
// quoted.
CString FileOpenCommand(const CString& program);
