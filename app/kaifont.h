#pragma once

#include <QString>

namespace quvo {

// The face name the program asks for whenever it writes in KaiTi.
inline constexpr char16_t kKaiFaceName[] = u"楷体_GB2312";

// Makes the face name resolve to the stroke font of the program folder, backed by Debian's
// Kai font for glyphs the stroke font lacks (pinyin letters, punctuation). Returns the
// stroke font's family name, or an empty string when the font file could not be loaded.
QString RegisterKaiFont(const QString& fontFile);

}  // namespace quvo
