#ifndef NORVEXT_JSON_NORVJSON_H
#define NORVEXT_JSON_NORVJSON_H

// Every public header of the JSON library.
#include <norvext/json/Export.h>
#include <norvext/json/JsonError.h>
#include <norvext/json/JsonMapping.h>
#include <norvext/json/JsonText.h>
#include <norvext/json/SearchJson.h>

#endif
