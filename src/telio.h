// telio: the data files and design-object model of a steel-structure
// analysis and design suite. Including this header gives the whole public
// interface.
#pragma once

#include "files/CFileBase.h"
#include "framework/CArrayEx.h"
#include "framework/CArrayExPointers.h"
#include "framework/CGGeometryLstBase.h"
#include "framework/CMapEx.h"
#include "framework/CSmartCollection.h"
#include "framework/CTreeNode.h"
#include "framework/Persist.h"
#include "framework/PtrStrong.h"
#include "framework/SystemTime.h"
#include "objects/data/CIJobData.h"
#include "objects/data/CILinkJobData.h"
#include "platform/Alloc.h"
#include "platform/CArray.h"
#include "platform/CCheckSum.h"
#include "platform/CException.h"
#include "platform/CMap.h"
#include "platform/CPathObj.h"
#include "platform/CString.h"
#include "platform/CTree.h"
#include "platform/Coding.h"
#include "platform/Export.h"
#include "platform/LastError.h"
#include "platform/Types.h"
