#ifndef NORVEXT_NORVEXT_H
#define NORVEXT_NORVEXT_H

// Every public header of NorvExt.
#include <norvext/Export.h>

#include <norvext/common/VisitableBase.h>
#include <norvext/common/Visitor.h>
#include <norvext/common/VisitorBase.h>

#include <norvext/catalogue/DBInfo.h>
#include <norvext/catalogue/DBField.h>
#include <norvext/catalogue/DBDatabase.h>
#include <norvext/catalogue/QueryDBInfo.h>
#include <norvext/catalogue/XBlastDBInfo.h>

#include <norvext/query/DBTerm.h>
#include <norvext/query/DBStringTerm.h>
#include <norvext/query/DBRangeTerm.h>
#include <norvext/query/DBBooleanTerm.h>
#include <norvext/query/Summary.h>
#include <norvext/query/DBQuery.h>

#include <norvext/params/Block.h>
#include <norvext/params/FastAParams.h>
#include <norvext/params/Tarvik.h>
#include <norvext/params/XBlastParams.h>

#include <norvext/results/XBlastHit.h>
#include <norvext/results/XBlast.h>

#endif
