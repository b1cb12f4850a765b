#pragma once
// Text between the window's boxes and the build. The build composes and reads
// lines ending in CR LF; Qt's text widgets keep a bare LF (or a paragraph
// separator) between lines.
#include <QString>
#include <string>

class QPlainTextEdit;

namespace chmbook {

// The text of a multi-line box with every line break as CR LF. Non-breaking
// spaces stay as they are (QPlainTextEdit::toPlainText would turn them into
// plain blanks, and a snippet may rely on them).
std::u16string MultiLineText(const QPlainTextEdit* box);

// Puts `text` (lines ending in CR LF, LF or CR) into a multi-line box.
void SetMultiLineText(QPlainTextEdit* box, const std::u16string& text);

// UTF-16 in memory on both sides: a copy, no conversion.
inline QString ToQString(const std::u16string& text) { return QString::fromStdU16String(text); }
inline std::u16string ToU16(const QString& text) { return text.toStdU16String(); }

}  // namespace chmbook
