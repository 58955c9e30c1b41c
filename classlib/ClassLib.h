// The class library: include this one header.
#pragma once
#include "ClassLibDefs.h"
#include "Object.h"
#include "String.h"
#include "Exceptions.h"
#include "Collections.h"
#include "Types.h"
#include "File.h"
#include "Archive.h"
#include "App.h"
