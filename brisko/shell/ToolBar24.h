// The main frame's tool bar with true-colour pictures in three looks
// (normal, hot, disabled), made from one bitmap by the tool-bar image
// processing, which adds the image lists, the bitmaps and
// LoadTrueColorImages here.
#pragma once
#include "classlib/ClassLib.h"

class CToolBar24 : public CToolBar
{
};
