#ifndef NORVEXT_SEARCH_NORVSEARCH_H
#define NORVEXT_SEARCH_NORVSEARCH_H

// Every public header of the search-output library.
#include <norvext/search/EngineCommand.h>
#include <norvext/search/Export.h>
#include <norvext/search/FastEngineOption.h>
#include <norvext/search/QueryJson.h>
#include <norvext/search/QueryResult.h>
#include <norvext/search/SearchError.h>
#include <norvext/search/SearchFormat.h>
#include <norvext/search/SearchPicture.h>
#include <norvext/search/SearchProgram.h>
#include <norvext/search/SearchReader.h>

#endif
