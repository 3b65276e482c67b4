#ifndef NORVEXT_NORVEXT_H
#define NORVEXT_NORVEXT_H

// Every public header of NorvExt: the persisted classes through their list,
// then the classes that are not persisted themselves.
#include <norvext/Export.h>
#include <norvext/PersistedClasses.h>

#include <norvext/common/VisitableBase.h>
#include <norvext/common/Visitor.h>
#include <norvext/common/VisitorBase.h>

#include <norvext/catalogue/DBInfo.h>
#include <norvext/query/DBTerm.h>
#include <norvext/params/Block.h>
#include <norvext/params/Tarvik.h>
#include <norvext/results/XBlastHit.h>
#include <norvext/results/XBlast.h>

#endif
