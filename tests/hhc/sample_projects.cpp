#include "sample_projects.h"

#include <cstdio>

#include "test_support/test_files.h"

namespace hhc::testing {
namespace fs = std::filesystem;
using test_support::WriteBytes;
namespace {

const std::string kCrLf = "\r\n";

// Text into paragraphs, markup characters escaped.
std::string TextToHtml(const std::string& text) {
    std::string html = "<p>";
    for (char c : text) {
        switch (c) {
            case '<': html += "&lt;"; break;
            case '>': html += "&gt;"; break;
            case '&': html += "&amp;"; break;
            case '\r': break;
            case '\n': html += "</P>" + kCrLf + "<p>"; break;
            default: html.push_back(c);
        }
    }
    return html + "</P>" + kCrLf;
}

std::string NumberWithZeros(std::size_t number) {
    char digits[32];
    std::snprintf(digits, sizeof digits, "%03zu", number);
    return digits;
}

}  // namespace

std::string BuildContentsFile() {
    return "<html><head></head><body>" + kCrLf +
           "<OBJECT type=\"text/site properties\"><param name=\"Window Styles\" value=\"0x227\"></OBJECT>" + kCrLf +
           "<UL></UL></body></html>";
}

std::string BuildIndexFile() {
    return "<HTML><HEAD>" + kCrLf + "</HEAD><BODY><UL>" + kCrLf + "</UL></BODY></HTML>" + kCrLf;
}

std::string BuildProjectFile(const std::string& title) {
    const std::string q = "\"";
    return "[OPTIONS]" + kCrLf + "Compatibility=1.1 Or later" + kCrLf + "Default Window=Main" + kCrLf +
           "Default topic=index.htm" + kCrLf + "Default font=Tahoma,8,1" + kCrLf + "Contents file=Temp.hhc" + kCrLf +
           "Index file=Temp.hhk" + kCrLf + "Display compile progress=Yes" + kCrLf + "Full-text search=Yes" + kCrLf +
           "Language=0x804 \xD6\xD0\xCE\xC4(\xD6\xD0\xB9\xFA)" + kCrLf + kCrLf + "[WINDOWS]" + kCrLf + "Main=" + q +
           title + q + "," + q + "Temp.hhc" + q + "," + q + "Temp.hhk" + q + "," + q + "index.htm" + q + "," + q +
           "index.htm" + q + ",,,,,0x20,180,0x10387C,[80,60,720,540],0x0,0x0,,1,,,0" + kCrLf + kCrLf + "[FILES]" +
           kCrLf + "index.htm";
}

std::string BuildPage(const std::string& title, const std::string& body, bool listPage) {
    std::string page = "<HTML>" + kCrLf +
                       "<HEAD><META http-equiv='Content-Type' content='text/html; charset=gb2312'>" + kCrLf +
                       "<TITLE>" + title + "</TITLE>" + kCrLf + kCrLf + "</HEAD>" + kCrLf + "<BODY>" + kCrLf +
                       "<p class='ad'><font color='#FF0000'>" + kGbkTest + "</font></p><p>&nbsp;</p><p><h1>" + title +
                       "</h1></p><p>&nbsp;</p>" + kCrLf;
    if (listPage) {
        page += "<table border='0' width='100%' cellspacing='0' cellpadding='0'>" + kCrLf + "<tr>" + kCrLf +
                "<td width='100%' class='TitleDemo'></td>" + kCrLf + "</tr>" + kCrLf + "</table><p>&nbsp;</p>" + kCrLf;
    }
    page += body;
    if (listPage) {
        page += "<table border='0' width='100%' cellspacing='0' cellpadding='0'>" + kCrLf + "<tr>" + kCrLf +
                "<td width='100%' height='100' class='FootDemo'></td>" + kCrLf + "</tr>" + kCrLf + "</table>" + kCrLf;
    }
    return page + "</body>" + kCrLf + "</html>" + kCrLf;
}

fs::path WriteBuildProject(const fs::path& folder, const std::string& title, const std::vector<SourceText>& texts) {
    std::string table = "<table border='0' width='100%' cellspacing='0' cellpadding='0'>";
    for (std::size_t i = 0; i < texts.size(); ++i) {
        table += "<tr>" + kCrLf + "<td width='100%' height='40'><p>" + NumberWithZeros(i) + ". <a href='" +
                 std::to_string(i) + ".htm'>" + texts[i].name +
                 "</a></p><p class='bewrite'>&nbsp;&nbsp;&nbsp;&nbsp;" + texts[i].text.substr(0, 200) + "</p></td>" +
                 kCrLf + "</tr>" + kCrLf + "<tr><td width='100%' height='30'></td></tr>" + kCrLf;
    }
    table += "</table>" + kCrLf;
    WriteBytes(folder / "index.htm", BuildPage(title, table, true));
    for (std::size_t i = 0; i < texts.size(); ++i) {
        WriteBytes(folder / (std::to_string(i) + ".htm"), BuildPage(texts[i].name, TextToHtml(texts[i].text), false));
    }
    WriteBytes(folder / "Temp.hhc", BuildContentsFile());
    WriteBytes(folder / "Temp.hhk", BuildIndexFile());
    WriteBytes(folder / "Temp.hhp", BuildProjectFile(title));
    return folder / "Temp.hhp";
}

}  // namespace hhc::testing
