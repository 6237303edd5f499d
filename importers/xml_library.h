#pragma once
// libxml2, opened on the first XML or HTML text an importer reads (util/loaded_library.h):
// the functions the importers call, named after libxml2's.

#include <libxml/HTMLparser.h>
#include <libxml/parser.h>
#include <libxml/tree.h>

namespace lexora::importers {

struct XmlLibrary {
  decltype(&xmlInitParser) initParser = nullptr;
  decltype(&xmlReadMemory) readMemory = nullptr;
  decltype(&xmlNewParserCtxt) newParserCtxt = nullptr;
  decltype(&xmlCtxtReadMemory) ctxtReadMemory = nullptr;
  decltype(&xmlFreeParserCtxt) freeParserCtxt = nullptr;
  decltype(&htmlNewParserCtxt) newHtmlParserCtxt = nullptr;
  decltype(&htmlCtxtReadMemory) ctxtReadHtml = nullptr;
  decltype(&htmlFreeParserCtxt) freeHtmlParserCtxt = nullptr;
  decltype(&xmlFreeDoc) freeDoc = nullptr;
  decltype(&xmlDocGetRootElement) docGetRootElement = nullptr;
  decltype(&xmlGetProp) getProp = nullptr;
  decltype(&xmlNodeGetContent) nodeGetContent = nullptr;
  xmlFreeFunc free = nullptr;  // what xmlFree names: frees what the library returned
};

// The library, its parser set up; null when libxml2 cannot be loaded.
const XmlLibrary* xmlLibrary();

}  // namespace lexora::importers
