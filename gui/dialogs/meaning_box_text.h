#pragma once
// The meaning's markup in the editor's multi-line box. The editing text ends its lines with
// CR LF, or with CR CR LF where the stored text had CR LF; the box holds paragraphs. A CR or LF
// that is not part of such a line end is shown as the visible symbol U+240D or U+240A.

#include <QString>
#include <string>
#include <string_view>

class QTextDocument;

namespace lexora {

inline constexpr char16_t kLoneCrSymbol = u'\u240D';
inline constexpr char16_t kLoneLfSymbol = u'\u240A';

// Editing text → text for QPlainTextEdit::setPlainText: CR CR LF and CR LF become '\n', any
// other CR U+240D, any other LF U+240A.
QString meaningToBoxText(std::u16string_view meaning);

// The box's paragraphs, joined by '\n', exactly as the document holds them (no replacement of
// no-break spaces or other characters, unlike QTextDocument::toPlainText).
QString boxRawText(const QTextDocument& document);

// Text of boxRawText → meaning text: each paragraph or line break ('\n', U+2029, U+2028)
// becomes CR LF, U+240D a CR and U+240A an LF.
std::u16string boxTextToMeaning(const QString& boxText);

}  // namespace lexora
