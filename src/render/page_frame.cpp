// The head and foot that frame every page of the book.
#include "common/mod_public.h"
#include "platform/platform.h"
#include "render/render.h"

namespace chmbook {
namespace {

constexpr std::u16string_view kCrLf = u"\r\n";
constexpr std::u16string_view kStyleSheetName = u"Hha.css";

constexpr std::u16string_view kBlockOpen =
    u"<table border='0' width='100%' cellspacing='0' cellpadding='0'>\r\n"
    u"<tr>\r\n";
constexpr std::u16string_view kHeadCellOpen = u"<td width='100%' class='TitleDemo'>";
constexpr std::u16string_view kFootCellOpen = u"<td width='100%' height='100' class='FootDemo'>";
constexpr std::u16string_view kCellClose =
    u"</td>\r\n"
    u"</tr>\r\n";
constexpr std::u16string_view kHeadBlockClose = u"</table><p>&nbsp;</p>\r\n";
constexpr std::u16string_view kFootBlockClose = u"</table>\r\n";

void AppendBlock(std::u16string& out, std::u16string_view cellOpen, const std::u16string& snippet,
                 std::u16string_view blockClose) {
    out += kBlockOpen;
    out += cellOpen;
    out += snippet;
    out += kCellClose;
    out += blockClose;
}

// The stylesheet's text followed by CR LF, read from the program's folder.
// Without a file of that name the line is left out altogether, so pages carry
// no empty line where no stylesheet was ever meant to be. A file that exists
// but cannot be read gives an empty line.
void AppendStyleSheet(std::u16string& out, const WindowState& frm) {
    const std::u16string path = FixPath(frm.AppPath()) + std::u16string(kStyleSheetName);
    if (platform::LookUp(path) != platform::EntryKind::kFile) return;
    out += GetContent(path);
    out += kCrLf;
}

}  // namespace

std::u16string HtmlTitle(const WindowState& frm, std::u16string strTitle, int intDemo) {
    std::u16string head;
    head += u"<HTML>\r\n";
    head += u"<HEAD><META http-equiv='Content-Type' content='text/html; charset=gb2312'>\r\n";
    const std::u16string title = EscapeHtmlText(strTitle);
    head += u"<TITLE>";
    head += title;
    head += u"</TITLE>\r\n";
    AppendStyleSheet(head, frm);
    head += u"</HEAD>\r\n";
    head += u"<BODY>\r\n";
    head += u"<p class='ad'><font color='#FF0000'>";
    head += frm.txtAd();
    head += u"</font></p><p>&nbsp;</p><p><h1>";
    head += title;
    head += u"</h1></p><p>&nbsp;</p>\r\n";
    if (intDemo == kListPage) {
        AppendBlock(head, kHeadCellOpen, frm.txtTitleDemo(), kHeadBlockClose);
    } else if (const std::u16string snippet = frm.txtPaperTop(); !snippet.empty()) {
        AppendBlock(head, kHeadCellOpen, snippet, kHeadBlockClose);
    }
    return head;
}

std::u16string HtmlFoot(const WindowState& frm, int intDemo) {
    std::u16string foot;
    if (intDemo == kListPage) {
        AppendBlock(foot, kFootCellOpen, frm.txtFootDemo(), kFootBlockClose);
    } else if (const std::u16string snippet = frm.txtPaperFoot(); !snippet.empty()) {
        AppendBlock(foot, kFootCellOpen, snippet, kFootBlockClose);
    }
    foot += u"</body>\r\n";
    foot += u"</html>\r\n";
    return foot;
}

}  // namespace chmbook
