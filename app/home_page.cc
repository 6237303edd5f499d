#include "app/home_page.h"

#include "render/html_escape.h"

namespace lexora {

namespace {

// ASCII text as UTF-16.
std::u16string wide(const char* text) {
  std::u16string out;
  for (; *text != '\0'; ++text) out.push_back(static_cast<char16_t>(*text));
  return out;
}

std::u16string address() {
  return std::u16string(u"<a href=\"") + kDictionaryHelpLink + u"\"><b>" + kDictionaryHelpText +
         u"</b></a>";
}

constexpr const char16_t* kFooter = u"Lexora, a bilingual dictionary for the desktop";

}  // namespace

std::u16string buildHomePage(const std::vector<HomePageEntry>& entries) {
  std::u16string page = u"<HTML><TITLE>Homepage</TITLE><BODY><P>";
  if (!entries.empty()) {
    page += u"<p><b>You got:</b></p>";
    page += u"<OL START=1 TYPE=1>";
    for (const HomePageEntry& entry : entries) {
      page += u"<LI><p><font color=\"#FF0000\"><i>";
      page += htmlEscaped(entry.title);
      page += u"</i></font></p></LI><p><i>";
      // A dictionary without a description shows its word count alone.
      if (!entry.description.empty()) {
        page += htmlEscaped(entry.description);
        page += u". ";
      }
      page += wide(std::to_string(entry.wordCount).c_str());
      page += u" words</i></p>";
    }
    page += u"</OL>";
    page += u"<p>You can download more dictionaries and find other useful softwares in:</p>";
    page += u"<p align=\"center\">" + address() + u"</p>";
  } else {
    page +=
        u"<p align=\"center\"><font color=\"#FF0000\"><b>Thank you for using<br>Lexora</b>"
        u"</font></center></p><br>";
    page +=
        u"<p align=\"center\">Firstly, please install some dictionaries.<br>You can find and "
        u"download from:<br><br>";
    page += address();
    page += u"</center></p><br><br><br><br><br>";
  }
  page += u"<hr>";
  page += u"<center><p>";
  page += kFooter;
  page += u"</p></center>";
  page += u"</body></html>";
  return page;
}

}  // namespace lexora
