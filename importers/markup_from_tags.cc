#include "importers/markup_from_tags.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "importers/dictd_markup.h"
#include "importers/xml_library.h"

namespace lexora::importers {
namespace {

std::string_view nameOf(const xmlNode* node) {
  return node->name != nullptr ? std::string_view(reinterpret_cast<const char*>(node->name))
                               : std::string_view();
}

bool isOneOf(std::string_view name, std::initializer_list<std::string_view> names) {
  for (std::string_view n : names) {
    if (name == n) return true;
  }
  return false;
}

std::string textContent(const xmlNode* node) {
  const XmlLibrary& xml = *xmlLibrary();  // loaded: it made the node
  xmlChar* content = xml.nodeGetContent(node);
  std::string out = content != nullptr ? reinterpret_cast<const char*>(content) : "";
  xml.free(content);
  return out;
}

std::string attribute(const xmlNode* node, const char* name) {
  const XmlLibrary& xml = *xmlLibrary();  // loaded: it made the node
  xmlChar* value = xml.getProp(node, reinterpret_cast<const xmlChar*>(name));
  std::string out = value != nullptr ? reinterpret_cast<const char*>(value) : "";
  xml.free(value);
  return out;
}

// Elements read with nothing of theirs kept: the markup takes text, links and the breaks
// between paragraphs from the elements it knows and only the text of any other; these carry
// no text of the entry (scripts, looks, pictures and sounds, forms, frames, embedded
// documents) and are left out whole.
bool isSkipped(std::string_view name) {
  return isOneOf(
      name, {"script", "noscript", "style",  "head",  "title",    "meta",     "link",     "base",
             "img",    "rref",     "object", "embed", "applet",   "audio",    "video",    "source",
             "track",  "canvas",   "svg",    "map",   "form",     "input",    "button",   "select",
             "option", "textarea", "iframe", "frame", "frameset", "noframes", "template", "k"});
}

// Elements nested deeper than this are read as plain text.
constexpr int kMaxNesting = 32;

class Walker {
 public:
  Walker(TagDialect dialect, SourceOutline& outline) : dialect_(dialect), outline_(outline) {}

  void walk(const xmlNode* node) {
    for (; node != nullptr; node = node->next) visit(node);
  }

 private:
  void addText(std::string_view text) {
    if (dialect_ == TagDialect::Html) {
      outline_.text(text, link_ > 0, label_ > 0);
      return;
    }
    // Line ends break lines.
    size_t start = 0;
    while (start <= text.size()) {
      const size_t end = text.find('\n', start);
      outline_.text(
          text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start),
          link_ > 0, label_ > 0);
      if (end == std::string_view::npos) break;
      outline_.endParagraph();
      start = end + 1;
    }
  }

  // The text below `top`, read without recursion; elements stand for blanks.
  void addFlatText(const xmlNode* top) {
    const xmlNode* node = top->children;
    while (node != nullptr) {
      const bool element = node->type == XML_ELEMENT_NODE;
      if ((node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) &&
          node->content != nullptr) {
        addText(reinterpret_cast<const char*>(node->content));
      } else if (element) {
        addText(" ");
      }
      if (element && node->children != nullptr && !isSkipped(nameOf(node))) {
        node = node->children;
        continue;
      }
      while (node != top && node->next == nullptr) node = node->parent;
      node = node == top ? nullptr : node->next;
    }
  }

  // <pre> and its kin, or an element styled "white-space: pre".
  static bool isPreformatted(const xmlNode* node, std::string_view name) {
    if (isOneOf(name, {"pre", "listing", "xmp", "plaintext"})) return true;
    if (node->properties == nullptr) return false;
    std::string style = attribute(node, "style");
    style.erase(std::remove(style.begin(), style.end(), ' '), style.end());
    return style.find("white-space:pre") != std::string::npos &&
           style.find("white-space:pre-line") == std::string::npos;
  }

  // Text laid out by hand keeps its lines and blanks; the tags inside it only add their text
  // (and <br> a line end).
  void readPreformatted(const xmlNode* node) {
    outline_.endParagraph();
    preformattedText_.clear();
    ++preformatted_;
    walkDeeper(node);
    --preformatted_;
    std::string_view text = preformattedText_;
    if (text.find_first_not_of(" \t\r\n") == std::string_view::npos) return;
    // Blank lines at either end go (a line end right after the opening tag is no text).
    for (size_t end; (end = text.find('\n')) < text.find_first_not_of(" \t\r\n");)
      text.remove_prefix(end + 1);
    for (size_t end; (end = text.rfind('\n')) != std::string_view::npos &&
                     text.find_first_not_of(" \t\r", end + 1) == std::string_view::npos;)
      text.remove_suffix(text.size() - end);
    for (size_t start = 0; start < text.size();) {
      size_t end = std::min(text.find('\n', start), text.size());
      std::string_view line = text.substr(start, end - start);
      while (!line.empty() && std::string_view(" \t\r").find(line.back()) != std::string_view::npos)
        line.remove_suffix(1);
      outline_.preformattedLine(line);
      start = end + 1;
    }
  }

  void walkDeeper(const xmlNode* node) {
    if (depth_ >= kMaxNesting) {
      preformattedText_ += textContent(node);
      return;
    }
    ++depth_;
    walk(node->children);
    --depth_;
  }

  void visit(const xmlNode* node) {
    if (node->type == XML_TEXT_NODE || node->type == XML_CDATA_SECTION_NODE) {
      if (node->content == nullptr) return;
      if (preformatted_ > 0) {
        preformattedText_ += reinterpret_cast<const char*>(node->content);
      } else {
        addText(reinterpret_cast<const char*>(node->content));
      }
      return;
    }
    if (node->type != XML_ELEMENT_NODE) return;
    const std::string_view name = nameOf(node);
    // A picture or sound the dictionary brings is kept; one it cannot be had from is counted.
    if (name == "img") {
      if (!outline_.media(attribute(node, "src"))) outline_.skipResource();
      return;
    }
    if (name == "a" && attribute(node, "href").rfind("sound://", 0) == 0) {
      if (!outline_.media(attribute(node, "href").substr(8))) outline_.skipResource();
      return;
    }
    if (isOneOf(name, {"object", "audio", "video"})) {
      outline_.skipResource();  // a picture or sound that the entry markup cannot hold
      return;
    }
    if (isSkipped(name)) return;
    if (preformatted_ == 0 && isPreformatted(node, name)) {
      readPreformatted(node);
      return;
    }
    if (preformatted_ > 0) {
      if (name == "br") preformattedText_ += '\n';
      walkDeeper(node);
      return;
    }
    // Deeper than any real entry: the rest is read as running text.
    if (depth_ >= kMaxNesting) {
      addFlatText(node);
      return;
    }
    if (isOneOf(name, {"tr", "transcription"}) && dialect_ == TagDialect::Xdxf) {
      if (!outline_.hasPronunciation()) {
        outline_.setPronunciation(textContent(node));
      } else {
        outline_.text("[" + textContent(node) + "]");
      }
      return;
    }
    if (name == "br") {
      outline_.endParagraph();
      return;
    }
    const bool block =
        isOneOf(name, {"p",          "div", "li", "ul",  "ol", "dl",   "dt",  "dd",
                       "blockquote", "h1",  "h2", "h3",  "h4", "h5",   "h6",  "table",
                       "tr",         "td",  "hr", "def", "ar", "body", "html"});
    const bool example = isOneOf(name, {"ex", "example"});
    const bool item = name == "li" || (name == "def" && dialect_ == TagDialect::Xdxf);
    bool link = name == "kref";
    if (name == "a") {
      const std::string href = attribute(node, "href");
      link = href.rfind("bword://", 0) == 0 || href.rfind("entry://", 0) == 0;
    }
    const bool label = isOneOf(name, {"abr", "c", "gr", "pos"}) ||
                       (isOneOf(name, {"i", "em"}) && looksLikeWordClass(textContent(node)));
    if (block || example) outline_.endParagraph();
    if (item) outline_.markListItem();
    if (example) outline_.markExample();
    link_ += link ? 1 : 0;
    label_ += label ? 1 : 0;
    ++depth_;
    walk(node->children);
    --depth_;
    link_ -= link ? 1 : 0;
    label_ -= label ? 1 : 0;
    if (block || example) outline_.endParagraph();
  }

  TagDialect dialect_;
  SourceOutline& outline_;
  int link_ = 0;
  int label_ = 0;
  int depth_ = 0;
  int preformatted_ = 0;
  std::string preformattedText_;
};

void readHtml(std::string_view original, TagDialect dialect, SourceOutline& outline) {
  // The HTML parser drops text nodes that hold only blanks, line ends included; where line
  // ends break lines they become <br> first.
  std::string withBreaks;
  std::string_view text = original;
  if (dialect != TagDialect::Html) {
    for (char c : original) {
      if (c == '\n') {
        withBreaks += "<br>";
      } else {
        withBreaks += c;
      }
    }
    text = withBreaks;
  }
  // libxml2 takes an int length; entries are far smaller.
  const int length = static_cast<int>(std::min<size_t>(text.size(), 1u << 30));
  // One parser context per thread, reset for each entry: a new one per entry costs more than
  // the parse of a short entry.
  struct Context {
    const XmlLibrary* xml = xmlLibrary();
    htmlParserCtxtPtr html = xml != nullptr ? xml->newHtmlParserCtxt() : nullptr;
    ~Context() {
      if (html != nullptr) xml->freeHtmlParserCtxt(html);
    }
  };
  thread_local Context context;
  if (context.html == nullptr) {
    readPlainText(original, outline);
    return;
  }
  const XmlLibrary& xml = *context.xml;
  htmlDocPtr doc = xml.ctxtReadHtml(
      context.html, text.data(), length, nullptr, "UTF-8",
      HTML_PARSE_RECOVER | HTML_PARSE_NOERROR | HTML_PARSE_NOWARNING | HTML_PARSE_NONET);
  if (doc == nullptr) {
    readPlainText(text, outline);
    return;
  }
  Walker(dialect, outline).walk(doc->children);
  xml.freeDoc(doc);
}

}  // namespace

void readTagged(std::string_view text, TagDialect dialect, SourceOutline& outline) {
  const XmlLibrary* xml = xmlLibrary();
  if (dialect == TagDialect::Xdxf && xml != nullptr) {
    // One root around the article, so that several top-level elements are well-formed.
    std::string wrapped = "<ar>";
    wrapped.append(text);
    wrapped += "</ar>";
    xmlParserCtxtPtr context = xml->newParserCtxt();
    xmlDocPtr doc = context == nullptr
                        ? nullptr
                        : xml->ctxtReadMemory(
                              context, wrapped.data(), static_cast<int>(wrapped.size()), nullptr,
                              "UTF-8", XML_PARSE_NOERROR | XML_PARSE_NOWARNING | XML_PARSE_NONET);
    // A text that is not well-formed (an HTML entity, an unclosed tag) may still give a tree
    // with parts missing: the HTML parser reads it whole instead.
    if (doc != nullptr && context->wellFormed == 0) {
      xml->freeDoc(doc);
      doc = nullptr;
    }
    if (context != nullptr) xml->freeParserCtxt(context);
    if (doc != nullptr) {
      Walker(dialect, outline).walk(xml->docGetRootElement(doc));
      xml->freeDoc(doc);
      outline.endParagraph();
      return;
    }
  }
  readHtml(text, dialect, outline);
  outline.endParagraph();
}

// Text with "{word}" references: the braced words become links. `link` carries an open brace
// over a line end.
void addWithReferences(std::string_view text, SourceOutline& outline, bool& link) {
  size_t start = 0;
  for (size_t i = 0; i <= text.size(); ++i) {
    if (i == text.size() || text[i] == '{' || text[i] == '}') {
      outline.text(text.substr(start, i - start), link);
      if (i < text.size()) link = text[i] == '{';
      start = i + 1;
    }
  }
}

bool startsLikeSense(std::string_view t) {
  const char* wordClass = nullptr;
  if (wordNetSenseMark(t, wordClass) > 0) return true;
  size_t k = 0;
  while (k < t.size() && k < 3 && t[k] >= '0' && t[k] <= '9') ++k;
  if (k > 0 && k + 1 < t.size() && (t[k] == '.' || t[k] == ')' || t[k] == ':') && t[k + 1] == ' ')
    return true;
  return t.size() >= 4 && t[0] == '(' && t[1] >= 'a' && t[1] <= 'z' && t[2] == ')' && t[3] == ' ';
}

void readPlainText(std::string_view text, SourceOutline& outline) {
  // Text wrapped the way dictd databases wrap it (continuation lines indented at least as far
  // as the paragraph's first line) is joined back; unindented lines are paragraphs each.
  int paragraphIndent = -1;
  bool link = false;
  size_t start = 0;
  while (start <= text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(start, end - start);
    start = end + 1;
    int indent = 0;
    size_t k = 0;
    for (; k < line.size() && (line[k] == ' ' || line[k] == '\t'); ++k)
      indent += line[k] == '\t' ? 8 : 1;
    std::string_view body = line.substr(k);
    while (!body.empty() && (body.back() == ' ' || body.back() == '\r' || body.back() == '\t'))
      body.remove_suffix(1);
    if (body.empty()) {
      outline.endParagraph();
      paragraphIndent = -1;
      link = false;
    } else if (!isDictdSourceNote(body)) {
      const bool continuation =
          paragraphIndent >= 0 && indent > 0 && indent >= paragraphIndent && !startsLikeSense(body);
      if (!continuation) {
        outline.endParagraph();
        paragraphIndent = indent;
        link = false;
      }
      addWithReferences(body, outline, link);
      outline.text(" ", link);
    }
    if (end == text.size()) break;
  }
  outline.endParagraph();
}

}  // namespace lexora::importers
