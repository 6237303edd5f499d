#include "importers/xml_library.h"

#include "util/loaded_library.h"

namespace lexora::importers {

const XmlLibrary* xmlLibrary() {
  static const LoadedLibrary library(LEXORA_LIBXML2_SONAME);
  static const XmlLibrary* const loaded = []() -> const XmlLibrary* {
    static XmlLibrary x;
    xmlFreeFunc* freeFunction = nullptr;  // xmlFree is the library's variable
    const bool bound = library.bind("xmlInitParser", x.initParser) &&
                       library.bind("xmlReadMemory", x.readMemory) &&
                       library.bind("xmlNewParserCtxt", x.newParserCtxt) &&
                       library.bind("xmlCtxtReadMemory", x.ctxtReadMemory) &&
                       library.bind("xmlFreeParserCtxt", x.freeParserCtxt) &&
                       library.bind("htmlNewParserCtxt", x.newHtmlParserCtxt) &&
                       library.bind("htmlCtxtReadMemory", x.ctxtReadHtml) &&
                       library.bind("htmlFreeParserCtxt", x.freeHtmlParserCtxt) &&
                       library.bind("xmlFreeDoc", x.freeDoc) &&
                       library.bind("xmlDocGetRootElement", x.docGetRootElement) &&
                       library.bind("xmlGetProp", x.getProp) &&
                       library.bind("xmlNodeGetContent", x.nodeGetContent) &&
                       library.bind("xmlFree", freeFunction) && *freeFunction != nullptr;
    if (!bound) return nullptr;
    x.free = *freeFunction;
    // Sets up the parser's tables once, before any thread parses.
    x.initParser();
    return &x;
  }();
  return loaded;
}

}  // namespace lexora::importers
