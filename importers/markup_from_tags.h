#pragma once
// Reads tagged entry texts into an SourceOutline with libxml2: HTML and Pango markup through its
// HTML parser, XDXF through its XML parser (falling back to the HTML parser for a text that is
// not well-formed XML). Entities come out decoded. Only text, links and the breaks between
// paragraphs reach the entry markup: tags that carry no meaning for it (fonts, colours,
// emphasis, tables) are dropped with their looks, and what holds no text of the entry
// (scripts, styles, pictures, forms, frames) is dropped whole; nesting deeper than real
// entries go is read as plain text.

#include <string_view>

#include "importers/source_outline.h"

namespace lexora::importers {

enum class TagDialect {
  Html,   // line ends are blanks; <br>, <p>, <div>, <li> ... break lines
  Pango,  // line ends break lines
  Xdxf,   // line ends break lines; <tr> <abr> <c> <ex> <kref> <k> ...
};

void readTagged(std::string_view text, TagDialect dialect, SourceOutline& outline);

// Plain text: one paragraph per line.
void readPlainText(std::string_view text, SourceOutline& outline);

}  // namespace lexora::importers
