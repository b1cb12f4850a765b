#include "ui/box_text.h"

#include <QPlainTextEdit>
#include <QTextDocument>

namespace chmbook {

std::u16string MultiLineText(const QPlainTextEdit* box) {
    const QString raw = box->document()->toRawText();
    std::u16string text;
    text.reserve(static_cast<std::size_t>(raw.size()) + 16);
    for (const QChar c : raw) {
        // A paragraph separator ends a block (Enter); a line separator comes
        // from Shift+Enter. Both are one line break to the build.
        if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator || c == u'\n') {
            text += u"\r\n";
        } else {
            text += c.unicode();
        }
    }
    return text;
}

void SetMultiLineText(QPlainTextEdit* box, const std::u16string& text) {
    QString plain = ToQString(text);
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    plain.replace(u'\r', u'\n');
    box->setPlainText(plain);
}

}  // namespace chmbook
